// The windows of the OS on POSIX systems: there are none the library could be handed.
#include "platform/system_windows.h"

namespace grx::platform::system {

bool IsSystemWindow(WindowHandle) {
  return false;
}

WindowHandle SystemParentWindow(WindowHandle) {
  return kNoWindow;
}

std::optional<std::string> SystemWindowTitle(WindowHandle, std::size_t) {
  return std::nullopt;
}

bool EnableSystemWindow(WindowHandle, bool) {
  return false;
}

bool IsSystemWindowEnabled(WindowHandle) {
  return false;
}

WindowHandle SystemDesktopWindow() {
  return kNoWindow;
}

} // namespace grx::platform::system
