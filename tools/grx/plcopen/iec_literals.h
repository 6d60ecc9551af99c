// IEC 61131-3 literals as TC6 files carry them: durations of task intervals and the literal
// values that stand in an FBD inVariable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grx::plcopen {

// A duration literal (T#20ms, t#1s500ms, TIME#1.5s, T#1h_2m) in whole milliseconds; nullopt when
// the text is none or does not fit.
std::optional<std::int64_t> ParseDuration(const std::string& text);
// The shortest T# literal of a duration: T#20ms, T#1s500ms, T#0ms.
std::string FormatDuration(std::int64_t ms);

// True for a literal value (TRUE, BOOL#TRUE, 0.0, -5, T#1s, 16#FF, 'text'), false for an
// expression that names a variable.
bool IsLiteral(const std::string& expression);

// True when the text is a plain identifier (a variable name that may be a global, a chart
// interface variable or a local variable).
bool IsIdentifier(const std::string& text);

} // namespace grx::plcopen
