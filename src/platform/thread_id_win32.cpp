// Thread identifiers and debugger output on Win32.
#include <windows.h>

#include "platform/thread_id.h"

namespace grx::platform {

std::uint32_t CurrentThreadId() {
  return GetCurrentThreadId();
}

void OutputDebugText(const char* text) {
  if (text) OutputDebugStringA(text);
}

} // namespace grx::platform
