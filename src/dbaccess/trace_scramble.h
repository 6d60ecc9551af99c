// The transform of the call-trace clients: a trace line is scrambled before the logging library
// gets it, and grx decodes it again.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grx::dbaccess {

// "@3#C3" followed by the line's bytes rotated, reversed and substituted. An empty line gives an
// empty text.
std::string ScrambleTraceLine(std::string_view line);
// The line a scrambled text came from; nullopt for a text that is not a scrambled line.
std::optional<std::string> DecodeTraceLine(std::string_view text);

} // namespace grx::dbaccess
