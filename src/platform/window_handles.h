// Window handles: windows with titles and parents, and the desktop window. A host creates the
// windows it hands to the library; the library walks parents and reads titles, as a Win32
// build does with GetParent and GetWindowTextA.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "grx/window_handle.h"

namespace grx::platform {

// The desktop window. As with GetParent, a top-level window has no parent; only a window created
// as a child of the desktop has the desktop as its parent.
WindowHandle DesktopWindow();
// Creates a window; a parent of kNoWindow makes it a top-level window.
WindowHandle CreateWindowHandle(const std::string& title, WindowHandle parent = kNoWindow);
void DestroyWindowHandle(WindowHandle window);
bool IsWindowHandle(WindowHandle window);
// The parent of a window; kNoWindow for top-level windows, for the desktop and for handles that
// name no window.
WindowHandle ParentWindow(WindowHandle window);
// Enables or disables input to a window (EnableWindow): true when it was disabled before.
bool EnableWindowHandle(WindowHandle window, bool enable);
// Whether a window takes input; false for handles that name no window.
bool IsWindowHandleEnabled(WindowHandle window);
// The title cut to maxLength characters; nullopt for handles that name no window.
std::optional<std::string> WindowTitle(WindowHandle window, std::size_t maxLength = 511);

} // namespace grx::platform
