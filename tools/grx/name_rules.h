// The rules of the library's name checks as grx prints them: each code's enumerator and text.
#pragma once

#include <iterator>

#include "grx/w5lhlpax.h"

namespace grx::cli {

struct RuleText {
  Syntax_Err_TypeEnum code;
  const char* enumerator;
  const char* text;
};

inline constexpr RuleText kRules[] = {
    {SYNTAX_ERR_NONE, "SYNTAX_ERR_NONE", "the name is accepted"},
    {SYNTAX_ERR_INVALID_CHAR, "SYNTAX_ERR_INVALID_CHAR", "only letters, digits and _ are allowed"},
    {SYNTAX_ERR_DOUBLE_UNDERSCORE, "SYNTAX_ERR_DOUBLE_UNDERSCORE", "two underscores follow each other"},
    {SYNTAX_ERR_LEADING_UNDERSCORE, "SYNTAX_ERR_LEADING_UNDERSCORE", "the name begins with _"},
    {SYNTAX_ERR_TRAILING_UNDERSCORE, "SYNTAX_ERR_TRAILING_UNDERSCORE", "the name ends with _"},
    {SYNTAX_ERR_UNDERSCORE, "SYNTAX_ERR_UNDERSCORE", "the name contains _"},
    {SYNTAX_ERR_FIRST_NOT_LETTER, "SYNTAX_ERR_FIRST_NOT_LETTER", "the first character is not a letter"},
    {SYNTAX_ERR_UNDERSCORE_LETTER, "SYNTAX_ERR_UNDERSCORE_LETTER", "a letter follows an underscore"},
    {SYNTAX_ERR_FIRST_DIGIT, "SYNTAX_ERR_FIRST_DIGIT", "the name begins with a digit"},
    {SYNTAX_ERR_KEYWORD, "SYNTAX_ERR_KEYWORD", "the name is a reserved word of the language"},
    {SYNTAX_ERR_TOO_LONG, "SYNTAX_ERR_TOO_LONG", "a root chart's name has at most 22 characters"},
};

constexpr bool RulesInEnumOrder() {
  for (std::size_t i = 0; i < std::size(kRules); ++i) {
    if (static_cast<std::size_t>(kRules[i].code) != i) return false;
  }
  return true;
}
static_assert(RulesInEnumOrder(), "kRules is indexed by Syntax_Err_TypeEnum");

// The text of a rule code (the codes of the table; "unknown rule" for any other).
inline const RuleText& Rule(Syntax_Err_TypeEnum code) {
  static constexpr RuleText kUnknown{SYNTAX_ERR_NONE, "?", "unknown rule"};
  const auto index = static_cast<std::size_t>(code);
  return index < std::size(kRules) ? kRules[index] : kUnknown;
}

} // namespace grx::cli
