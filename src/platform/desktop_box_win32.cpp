// Message boxes on the desktop on Win32: the library's own modal dialog, made from a template in
// memory and run with DialogBoxIndirectParamA, for processes of a visible window station without
// standard streams.
#include "platform/desktop_box.h"

#include <string>
#include <vector>

#include "platform/com_lite.h"
#include "platform/system_windows.h"

// After the platform's headers: windows.h defines macros that clash with their names.
#include <windows.h>

namespace grx::platform {
namespace {

// The items of the box.
constexpr int kIconItem = 6625, kTextItem = 6601, kSecondTextItem = 6602;
constexpr int kOkYesItem = 1, kCancelItem = 2, kRetryItem = 4, kNoItem = 7, kHelpItem = 9;

// The layout in dialog units: the icon and the two texts above a row of four button places (OK
// or Yes, No, Cancel, Help).
constexpr short kWidth = 264, kHeight = 92, kTextLeft = 36, kTextWidth = 220, kTextHeight = 26;
constexpr short kButtonTop = 70, kButtonWidth = 50, kButtonHeight = 14;
constexpr short kButtonPlaces[4] = {36, 92, 148, 204};

bool NoStream(DWORD which) {
  const HANDLE stream = GetStdHandle(which);
  return stream == nullptr || stream == INVALID_HANDLE_VALUE;
}

// A dialog template in memory: the header, then each item on a four-byte boundary.
class DialogTemplate {
public:
  DialogTemplate(const std::string& caption, WORD items) {
    Long(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    Long(0);
    words_.push_back(items);
    Rectangle(0, 0, kWidth, kHeight);
    words_.push_back(0); // no menu
    words_.push_back(0); // the standard dialog class
    Text(caption);
    words_.push_back(8);
    Text("MS Shell Dlg");
  }
  void Item(DWORD style, short x, short y, short cx, short cy, int id, WORD windowClass, const std::string& text) {
    if (words_.size() % 2) words_.push_back(0);
    Long(style | WS_CHILD | WS_VISIBLE);
    Long(0);
    Rectangle(x, y, cx, cy);
    words_.push_back(static_cast<WORD>(id));
    words_.push_back(0xFFFF);
    words_.push_back(windowClass);
    Text(text);
    words_.push_back(0); // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
  void Long(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void Rectangle(short x, short y, short cx, short cy) {
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
  }
  void Text(const std::string& text) {
    for (wchar_t c : Widen(text)) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }
  // Kept four-byte aligned: the dialog manager reads the header as DWORDs.
  std::vector<WORD> words_;
};

constexpr WORD kButtonClass = 0x0080, kEditClass = 0x0081, kStaticClass = 0x0082;

struct Choice {
  int item;
  BoxAnswer answer;
  std::string label;
};

// The buttons of the request in the order of its choices: the first on item 1 (item 4 for Retry),
// No on item 7, Cancel on item 2.
std::vector<Choice> ChoicesOf(const MessageBoxRequest& request) {
  std::vector<Choice> choices;
  const std::vector<BoxChoice> standard = BoxChoices(request.buttons);
  for (std::size_t i = 0; i < standard.size(); ++i) {
    const BoxAnswer answer = standard[i].answer;
    const int item = answer == BoxAnswer::No       ? kNoItem
                     : answer == BoxAnswer::Cancel ? kCancelItem
                     : answer == BoxAnswer::Retry  ? kRetryItem
                                                   : kOkYesItem;
    const std::string label = i < request.buttonLabels.size() && !request.buttonLabels[i].empty()
                                  ? request.buttonLabels[i]
                                  : standard[i].label;
    choices.push_back({item, answer, label});
  }
  return choices;
}

struct BoxState {
  const MessageBoxRequest* request;
  std::vector<Choice> choices;
};

LPCSTR IconOf(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Stop:
      return IDI_HAND;
    case BoxIcon::Exclamation:
      return IDI_EXCLAMATION;
    case BoxIcon::Information:
      return IDI_ASTERISK;
    default:
      return IDI_QUESTION;
  }
}

// A text shorter than its control is centred in it vertically; a longer one keeps the control's
// size and gets a vertical scroll bar. Measured word-wrapped in the box's font.
void FitText(HWND box, int item) {
  const HWND control = GetDlgItem(box, item);
  // The box itself is not shown yet: the item's own style says whether it will be.
  if (!control || !(GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE)) return;
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&place), 2);
  const int width = place.right - place.left, height = place.bottom - place.top;
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  const HDC context = GetDC(control);
  const HGDIOBJ previous = SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT needed{0, 0, width, 0};
  DrawTextA(context, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  SelectObject(context, previous);
  ReleaseDC(control, context);
  const int textHeight = needed.bottom - needed.top;
  if (textHeight < height) {
    MoveWindow(control, place.left, place.top + (height - textHeight) / 2, width, textHeight, FALSE);
  } else if (textHeight > height) {
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | WS_VSCROLL);
    SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
}

INT_PTR CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(box, DWLP_USER, lParam);
      state = reinterpret_cast<BoxState*>(lParam);
      const MessageBoxRequest& request = *state->request;
      SendDlgItemMessageA(box, kIconItem, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconA(nullptr, IconOf(request.icon))), 0);
      SetDlgItemTextA(box, kTextItem, request.text.c_str());
      SetDlgItemTextA(box, kSecondTextItem, request.secondText.c_str());
      if (request.secondText.empty()) {
        // The first text takes the room of both.
        RECT both{kTextLeft, 7, kTextLeft + kTextWidth, 7 + 2 * kTextHeight + 1};
        MapDialogRect(box, &both);
        MoveWindow(GetDlgItem(box, kTextItem), both.left, both.top, both.right - both.left, both.bottom - both.top,
                   FALSE);
        ShowWindow(GetDlgItem(box, kSecondTextItem), SW_HIDE);
      }
      const bool help = request.helpContext != 0;
      if (!help) ShowWindow(GetDlgItem(box, kHelpItem), SW_HIDE);
      for (int item : {kOkYesItem, kRetryItem, kNoItem, kCancelItem}) ShowWindow(GetDlgItem(box, item), SW_HIDE);
      for (const Choice& choice : state->choices) {
        const HWND button = GetDlgItem(box, choice.item);
        SetWindowTextA(button, choice.label.c_str());
        ShowWindow(button, SW_SHOW);
        if (choice.item == kCancelItem && !help) {
          // Cancel takes the place of the help button that is not there.
          RECT place{kButtonPlaces[3], kButtonTop, kButtonPlaces[3] + kButtonWidth, kButtonTop + kButtonHeight};
          MapDialogRect(box, &place);
          MoveWindow(button, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
        }
      }
      FitText(box, kTextItem);
      FitText(box, kSecondTextItem);
      SetForegroundWindow(box);
      return TRUE;
    }
    case WM_COMMAND: {
      const int item = LOWORD(wParam);
      if (item == kHelpItem) {
        // Nothing may leave through the system's frames: help that fails leaves the box as it is.
        try {
          if (state && state->request->onHelp) state->request->onHelp();
        } catch (...) {
        }
        return TRUE;
      }
      if (!state) return FALSE;
      for (const Choice& choice : state->choices) {
        if (choice.item == item) {
          EndDialog(box, static_cast<INT_PTR>(choice.answer));
          return TRUE;
        }
      }
      // Closing the box is Cancel, whatever buttons it has.
      if (item == IDCANCEL) EndDialog(box, static_cast<INT_PTR>(BoxAnswer::Cancel));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// The top-level owner of a window of the system; none for the library's own windows.
HWND TopLevelOwner(WindowHandle window) {
  if (window == kNoWindow || !system::IsSystemWindow(window)) return nullptr;
  return GetAncestor(reinterpret_cast<HWND>(window), GA_ROOTOWNER);
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
  BoxState state{&request, ChoicesOf(request)};
  DialogTemplate box(request.caption, 8);
  box.Item(SS_ICON, 7, 7, 21, 20, kIconItem, kStaticClass, "");
  // The texts are read-only edit controls: a text longer than its control scrolls.
  constexpr DWORD kTextStyle = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
  box.Item(kTextStyle, kTextLeft, 7, kTextWidth, kTextHeight, kTextItem, kEditClass, "");
  box.Item(kTextStyle, kTextLeft, 8 + kTextHeight, kTextWidth, kTextHeight, kSecondTextItem, kEditClass, "");
  box.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, kButtonPlaces[0], kButtonTop, kButtonWidth, kButtonHeight, kOkYesItem,
           kButtonClass, "OK");
  box.Item(BS_PUSHBUTTON | WS_TABSTOP, kButtonPlaces[0], kButtonTop, kButtonWidth, kButtonHeight, kRetryItem,
           kButtonClass, "Retry");
  box.Item(BS_PUSHBUTTON | WS_TABSTOP, kButtonPlaces[1], kButtonTop, kButtonWidth, kButtonHeight, kNoItem, kButtonClass,
           "No");
  box.Item(BS_PUSHBUTTON | WS_TABSTOP, kButtonPlaces[2], kButtonTop, kButtonWidth, kButtonHeight, kCancelItem,
           kButtonClass, "Cancel");
  box.Item(BS_PUSHBUTTON | WS_TABSTOP, kButtonPlaces[3], kButtonTop, kButtonWidth, kButtonHeight, kHelpItem,
           kButtonClass, "Help");
  const INT_PTR answer = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), box.Get(), TopLevelOwner(request.owner),
                                                 BoxProcedure, reinterpret_cast<LPARAM>(&state));
  if (answer <= 0) return DefaultAnswer(request.buttons); // no box could be shown
  return static_cast<BoxAnswer>(answer);
}

WindowHandle FindDesktopBox(const std::string& caption) {
  // A box is shown once it has its items and has laid them out; before, it is not yet open.
  const HWND box = FindWindowA(MAKEINTATOM(32770), caption.c_str());
  return box && IsWindowVisible(box) ? reinterpret_cast<WindowHandle>(box) : kNoWindow;
}

DesktopBoxItem DesktopBoxItemOf(WindowHandle box, int item) {
  DesktopBoxItem shown;
  const HWND control = GetDlgItem(reinterpret_cast<HWND>(box), item);
  if (!control) return shown;
  shown.shown = IsWindowVisible(control) != FALSE;
  char text[256] = {0};
  GetWindowTextA(control, text, sizeof text);
  shown.text = text;
  RECT place{};
  GetWindowRect(control, &place);
  shown.left = place.left;
  shown.top = place.top;
  shown.height = place.bottom - place.top;
  shown.scrolls = (GetWindowLongPtrA(control, GWL_STYLE) & WS_VSCROLL) != 0;
  return shown;
}

bool PressDesktopBoxItem(WindowHandle box, int item) {
  const HWND control = GetDlgItem(reinterpret_cast<HWND>(box), item);
  if (!control || !IsWindowVisible(control)) return false;
  return PostMessageA(reinterpret_cast<HWND>(box), WM_COMMAND, MAKEWPARAM(item, BN_CLICKED),
                      reinterpret_cast<LPARAM>(control)) != FALSE;
}

} // namespace grx::platform
