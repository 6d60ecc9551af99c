// Texts of the current resource module (the language library the module state names), and the
// carriage-return parts of a message string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ZEB {

// The string of that identifier; nullopt when the module has none (or there is no module).
std::optional<std::string> ResourceString(std::uint32_t id);

// The parts of a message string: a leading carriage return gives no part, later empty parts
// count, a trailing one adds nothing.
std::vector<std::string> MessageParts(const std::string& text);

} // namespace ZEB
