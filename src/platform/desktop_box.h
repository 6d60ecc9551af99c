// Message boxes on the desktop (MessageBoxA). A process that has a desktop and no standard streams
// (a windowed host) shows the boxes nobody else presents there; a program with standard streams
// asks on its terminal or answers by default.
#pragma once

#include "platform/dialog_presenter.h"

namespace grx::platform {

// Whether boxes go to the desktop: there is a visible desktop and no standard input or error.
bool DesktopBoxesShown();
// Shows the box on the desktop and waits for the person's answer. The second text follows the
// first after an empty line; the standard labels stand for the buttons. Without a desktop the
// box answers by default.
BoxAnswer ShowDesktopMessageBox(const MessageBoxRequest& request);

} // namespace grx::platform
