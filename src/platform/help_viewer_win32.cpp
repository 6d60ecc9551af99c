// The help viewers on Win32: WinHelpA of the system, and HtmlHelpA of the HTML Help control
// (hhctrl.ocx), loaded on first use and kept for the process. Every answer is the system's own:
// a file that cannot be shown is reported as such.
#include "platform/help_viewer.h"

#include "platform/com_lite.h"
#include "platform/system_windows.h"

// After the platform's headers: windows.h defines macros that clash with their names.
#include <windows.h>
#include <oleauto.h>

namespace grx::platform {
namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// What HH_GET_LAST_ERROR fills in, as the control lays it out.
struct SystemLastError {
  int cbStruct;
  HRESULT hr;
  ::BSTR description;
};

HWND Native(WindowHandle window) {
  return window != kNoWindow && system::IsSystemWindow(window) ? reinterpret_cast<HWND>(window) : nullptr;
}

// The control's HtmlHelpA; null when it cannot be loaded (the calls then do nothing). Loaded once,
// by the first thread that asks; the control stays loaded, as the system's help keeps it.
HtmlHelpFunction HtmlHelpEntry() {
  static const HtmlHelpFunction entry = [] {
    HMODULE control = LoadLibraryA("hhctrl.ocx");
    return control ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(control, "HtmlHelpA")))
                   : nullptr;
  }();
  return entry;
}

} // namespace

bool WinHelpA(WindowHandle owner, const char* file, std::uint32_t command, std::uintptr_t data) {
  return ::WinHelpA(Native(owner), file, command, data) != FALSE;
}

WindowHandle HtmlHelpA(WindowHandle caller, const char* file, std::uint32_t command, std::uintptr_t data) {
  const HtmlHelpFunction htmlHelp = HtmlHelpEntry();
  if (command == HH_GET_LAST_ERROR) {
    auto* record = reinterpret_cast<HH_LAST_ERROR*>(data);
    if (!record) return kNoWindow;
    record->hr = S_OK;
    record->description = nullptr;
    if (!htmlHelp) return kNoWindow;
    SystemLastError error{static_cast<int>(sizeof(SystemLastError)), S_OK, nullptr};
    htmlHelp(nullptr, nullptr, HH_GET_LAST_ERROR, reinterpret_cast<DWORD_PTR>(&error));
    record->hr = error.hr;
    if (error.description) {
      // The control's text is the system's string; the caller frees the platform's copy.
      record->description = SysAllocString(error.description);
      ::SysFreeString(error.description);
    }
    return kNoWindow;
  }
  if (!htmlHelp) return kNoWindow;
  return reinterpret_cast<WindowHandle>(htmlHelp(Native(caller), file, command, data));
}

} // namespace grx::platform
