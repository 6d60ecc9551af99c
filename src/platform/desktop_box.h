// Message boxes on the desktop (MessageBoxA). A process that has a desktop and no standard streams
// (a windowed host) shows the boxes nobody else presents there; a program with standard streams
// asks on its terminal or answers by default.
#pragma once

#include "platform/dialog_presenter.h"

namespace grx::platform {

// Whether boxes go to the desktop: there is a visible desktop and no standard input or error.
bool DesktopBoxesShown();
// Shows the box on the desktop as a modal dialog owned by the top-level owner of the request's
// window (disabled while the box is open) and waits for the person's answer. Its items: the icon
// 6625, the texts 6601 and 6602 (the first stretched over both without a second; a text shorter
// than its control centred in it, a longer one scrolling), the buttons
// 1 (OK, Yes or Retry), 7 (No), 2 (Cancel; closing the box) and 9 (Help, shown with a help
// context, which calls the request's help and leaves the box open), labelled from the request
// (standard labels where it has none); Cancel takes the help button's place when there is no
// help. Without a desktop the box answers by default.
BoxAnswer ShowDesktopMessageBox(const MessageBoxRequest& request);

// What a desktop box shows, for tests that press its buttons from another thread: the open box of
// that caption once it is shown (kNoWindow before and when none), whether one of its items is shown, with which text,
// where and whether it scrolls, and pressing a button (false when the box has no such shown item).
WindowHandle FindDesktopBox(const std::string& caption);
struct DesktopBoxItem {
  bool shown = false;
  std::string text;
  int left = 0, top = 0, height = 0; // on the screen
  bool scrolls = false;              // a vertical scroll bar
};
DesktopBoxItem DesktopBoxItemOf(WindowHandle box, int item);
bool PressDesktopBoxItem(WindowHandle box, int item);

} // namespace grx::platform
