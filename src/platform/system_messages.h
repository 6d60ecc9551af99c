// The system's texts for error codes: what FormatMessageA answers for Win32 error codes and
// HRESULTs, from a table of our own wording. Texts end in a carriage return and line feed, as
// the system's do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grx::platform {

std::optional<std::string> SystemMessage(std::uint32_t code);

} // namespace grx::platform
