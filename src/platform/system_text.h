// What the OS itself says about an error code (FormatMessageA), for the codes the library's own
// table of texts does not hold; nothing where the OS has no such texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grx::platform::system {

// The text ends in a carriage return and line feed.
std::optional<std::string> FormattedMessage(std::uint32_t code);

} // namespace grx::platform::system
