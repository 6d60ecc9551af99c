// The system's texts for error codes: what FormatMessageA answers for Win32 error codes and
// HRESULTs. The codes the library reports itself have a table of the system's English wording,
// the same on every platform; others are the OS's own (FormatMessageA). Texts end in a carriage
// return and line feed, as the system's do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grx::platform {

std::optional<std::string> SystemMessage(std::uint32_t code);

} // namespace grx::platform
