// The windows of the operating system that are not the library's own: a host hands the library
// its windows (a chart editor's frame, say), whose titles and parents the library reads as a
// Win32 build does with GetWindowTextA and GetParent. Where the OS has no windows there are none.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "grx/window_handle.h"

namespace grx::platform::system {

// Whether the handle names a window of the OS (IsWindow).
bool IsSystemWindow(WindowHandle window);
// The window's parent (GetParent); kNoWindow for top-level windows and for handles that name none.
WindowHandle SystemParentWindow(WindowHandle window);
// The title cut to maxLength characters (GetWindowTextA); nullopt for handles that name no window.
std::optional<std::string> SystemWindowTitle(WindowHandle window, std::size_t maxLength);
// Enables or disables input to the window (EnableWindow): true when it was disabled before.
bool EnableSystemWindow(WindowHandle window, bool enable);
bool IsSystemWindowEnabled(WindowHandle window);
// The desktop window of the OS (GetDesktopWindow); kNoWindow where there is none.
WindowHandle SystemDesktopWindow();

} // namespace grx::platform::system
