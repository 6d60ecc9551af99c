// The windows of the OS on Win32: IsWindow, GetParent, GetWindowTextA, EnableWindow.
#include "platform/system_windows.h"

// After the platform's headers: windows.h defines macros that clash with their names.
#include <windows.h>

#include <vector>

namespace grx::platform::system {
namespace {

HWND Native(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

} // namespace

bool IsSystemWindow(WindowHandle window) {
  return window != kNoWindow && IsWindow(Native(window)) != FALSE;
}

WindowHandle SystemParentWindow(WindowHandle window) {
  if (!IsSystemWindow(window)) return kNoWindow;
  return reinterpret_cast<WindowHandle>(GetParent(Native(window)));
}

std::optional<std::string> SystemWindowTitle(WindowHandle window, std::size_t maxLength) {
  if (!IsSystemWindow(window)) return std::nullopt;
  std::vector<char> buffer(maxLength + 1, '\0');
  const int length = GetWindowTextA(Native(window), buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool EnableSystemWindow(WindowHandle window, bool enable) {
  if (!IsSystemWindow(window)) return false;
  return EnableWindow(Native(window), enable ? TRUE : FALSE) != FALSE;
}

bool IsSystemWindowEnabled(WindowHandle window) {
  return IsSystemWindow(window) && IsWindowEnabled(Native(window)) != FALSE;
}

WindowHandle SystemDesktopWindow() {
  return reinterpret_cast<WindowHandle>(GetDesktopWindow());
}

} // namespace grx::platform::system
