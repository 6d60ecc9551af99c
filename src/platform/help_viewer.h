// WinHelp and HTML Help. A Win32 build calls the system's WinHelpA and the HtmlHelpA of the HTML
// Help control (hhctrl.ocx, loaded at run time); their answers are the system's. Elsewhere both hand
// the file to the viewer command of the settings (the text value "ViewerCommand" under
// Software\Halvorn\ORBIX\2.0\General\Help; "%1" stands for the file, "%2" for the context),
// started in the background; without one they report on the debug output where the file is.
// Paths may be written with backslashes; they are mapped to the OS's separator there.
#pragma once

#include <cstdint>

#include "grx/com_types.h"
#include "grx/window_handle.h"

namespace grx::platform {

inline constexpr std::uint32_t HELP_CONTEXT = 1;
inline constexpr std::uint32_t HH_DISPLAY_TOC = 1;
inline constexpr std::uint32_t HH_HELP_CONTEXT = 15;
inline constexpr std::uint32_t HH_GET_LAST_ERROR = 20;

// What HH_GET_LAST_ERROR fills in (the record's size goes into cbStruct).
struct HH_LAST_ERROR {
  std::int32_t cbStruct = 0;
  HRESULT hr = 0;
  BSTR description = nullptr; // allocated with SysAllocString; the caller frees it
};

// Opens a WinHelp file at a context; false when the file cannot be shown.
bool WinHelpA(WindowHandle owner, const char* file, std::uint32_t command, std::uintptr_t data);
// HTML Help: opens the file (HH_DISPLAY_TOC, HH_HELP_CONTEXT) or, with HH_GET_LAST_ERROR and data
// pointing at an HH_LAST_ERROR, tells why the last call of this thread failed (no description
// when it did not). Answers the viewer's window, kNoWindow when nothing was opened.
WindowHandle HtmlHelpA(WindowHandle caller, const char* file, std::uint32_t command, std::uintptr_t data);

} // namespace grx::platform
