// Message boxes on the desktop on Win32: MessageBoxA, for processes of a visible window station
// without standard streams.
#include "platform/desktop_box.h"

// After the platform's headers: windows.h defines macros that clash with their names.
#include <windows.h>

namespace grx::platform {
namespace {

bool NoStream(DWORD which) {
  const HANDLE stream = GetStdHandle(which);
  return stream == nullptr || stream == INVALID_HANDLE_VALUE;
}

UINT Style(const MessageBoxRequest& request) {
  UINT style = MB_SETFOREGROUND;
  switch (request.buttons) {
    case BoxButtons::Ok:
      style |= MB_OK;
      break;
    case BoxButtons::OkCancel:
      style |= MB_OKCANCEL;
      break;
    case BoxButtons::YesNo:
      style |= MB_YESNO;
      break;
    case BoxButtons::YesNoCancel:
      style |= MB_YESNOCANCEL;
      break;
    case BoxButtons::RetryCancel:
      style |= MB_RETRYCANCEL;
      break;
  }
  switch (request.icon) {
    case BoxIcon::Stop:
      style |= MB_ICONSTOP;
      break;
    case BoxIcon::Question:
      style |= MB_ICONQUESTION;
      break;
    case BoxIcon::Exclamation:
      style |= MB_ICONEXCLAMATION;
      break;
    case BoxIcon::Information:
      style |= MB_ICONINFORMATION;
      break;
    case BoxIcon::None:
      break;
  }
  return style;
}

} // namespace

bool DesktopBoxesShown() {
  if (!NoStream(STD_INPUT_HANDLE) || !NoStream(STD_ERROR_HANDLE)) return false;
  HWINSTA station = GetProcessWindowStation();
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  return station && GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, &needed) &&
         (flags.dwFlags & WSF_VISIBLE) != 0;
}

BoxAnswer ShowDesktopMessageBox(const MessageBoxRequest& request) {
  const std::string text = request.secondText.empty() ? request.text : request.text + "\n\n" + request.secondText;
  switch (MessageBoxA(nullptr, text.c_str(), request.caption.c_str(), Style(request))) {
    case IDOK:
      return BoxAnswer::Ok;
    case IDCANCEL:
      return BoxAnswer::Cancel;
    case IDRETRY:
      return BoxAnswer::Retry;
    case IDYES:
      return BoxAnswer::Yes;
    case IDNO:
      return BoxAnswer::No;
    default:
      return DefaultAnswer(request.buttons); // no box could be shown
  }
}

} // namespace grx::platform
