// Message boxes on the desktop on POSIX systems: there is none here, boxes are answered on the
// terminal or by default.
#include "platform/desktop_box.h"

namespace grx::platform {

bool DesktopBoxesShown() {
  return false;
}

BoxAnswer ShowDesktopMessageBox(const MessageBoxRequest& request) {
  return DefaultAnswer(request.buttons);
}

WindowHandle FindDesktopBox(const std::string&) {
  return kNoWindow;
}

DesktopBoxItem DesktopBoxItemOf(WindowHandle, int) {
  return {};
}

bool PressDesktopBoxItem(WindowHandle, int) {
  return false;
}

} // namespace grx::platform
