// The window handle that a host passes to the exports; made and read through the platform's
// window handles.
#pragma once

#include <cstdint>

namespace grx::platform {

using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kNoWindow = 0;

} // namespace grx::platform
