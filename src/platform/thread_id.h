// The identifier of the calling thread (GetCurrentThreadId of a Win32 build).
#pragma once

#include <cstdint>

namespace grx::platform {

std::uint32_t CurrentThreadId();
// Writes a line for a debugger to show (OutputDebugStringA); here it goes to standard error.
void OutputDebugText(const char* text);

} // namespace grx::platform
