// Window handles: windows with titles and parents, and the desktop window. A host creates the
// windows it hands to the library; the library walks parents and reads titles, as a Win32
// build does with GetParent and GetWindowTextA.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "grx/window_handle.h"

namespace grx::platform {

// The desktop window: the parent of every top-level window.
WindowHandle DesktopWindow();
// Creates a window; a parent of kNoWindow makes it a top-level window (child of the desktop).
WindowHandle CreateWindowHandle(const std::string& title, WindowHandle parent = kNoWindow);
void DestroyWindowHandle(WindowHandle window);
bool IsWindowHandle(WindowHandle window);
// The parent of a window (the desktop for top-level windows), kNoWindow for the desktop and for
// handles that name no window.
WindowHandle ParentWindow(WindowHandle window);
// The title cut to maxLength characters; nullopt for handles that name no window.
std::optional<std::string> WindowTitle(WindowHandle window, std::size_t maxLength = 511);

} // namespace grx::platform
