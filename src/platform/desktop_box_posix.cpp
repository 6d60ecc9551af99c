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

} // namespace grx::platform
