// Whole numbers as grx reads them from the command line: decimal or 0x hexadecimal, a minus
// sign in front for negative ones, nothing before or after.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

namespace grx::cli {

inline std::optional<std::int64_t> ParseWholeNumber(std::string text) {
  bool negative = false;
  if (!text.empty() && text[0] == '-') {
    negative = true;
    text.erase(0, 1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.erase(0, 2);
  }
  std::uint64_t magnitude = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, magnitude, base);
  if (text.empty() || error != std::errc() || stop != end || magnitude > (std::uint64_t{1} << 62)) return std::nullopt;
  return negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
}

} // namespace grx::cli
