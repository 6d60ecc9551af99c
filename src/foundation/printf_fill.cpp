#include "foundation/printf_fill.h"

#include <algorithm>
#include <cstddef>

namespace ZEB {
namespace {

struct Conversion {
  bool left = false, plus = false, space = false, alternate = false, zero = false;
  std::size_t width = 0;
  bool hasPrecision = false;
  std::size_t precision = 0;
  int bits = 32; // of the number, for u, x and X
  char kind = 0;
  std::size_t length = 0; // of the conversion's text, "%" included
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Widths and precisions above this are taken as this: a resource text cannot make a line grow
// without bounds, nor a long run of digits overflow.
constexpr std::size_t kMaxWidth = 4096;

std::size_t Digits(const std::string& text, std::size_t& at) {
  std::size_t value = 0;
  while (at < text.size() && IsDigit(text[at])) {
    value = std::min(kMaxWidth, value * 10 + static_cast<std::size_t>(text[at] - '0'));
    ++at;
  }
  return value;
}

// The conversion that starts at the "%" at that place; kind 0 when it is not one understood here.
Conversion Read(const std::string& text, std::size_t start) {
  Conversion c;
  std::size_t at = start + 1;
  for (; at < text.size(); ++at) {
    const char f = text[at];
    if (f == '-')
      c.left = true;
    else if (f == '+')
      c.plus = true;
    else if (f == ' ')
      c.space = true;
    else if (f == '#')
      c.alternate = true;
    else if (f == '0')
      c.zero = true;
    else
      break;
  }
  c.width = Digits(text, at);
  if (at < text.size() && text[at] == '.') {
    ++at;
    c.hasPrecision = true;
    c.precision = Digits(text, at);
  }
  auto follows = [&](const char* modifier) {
    return text.compare(at, std::char_traits<char>::length(modifier), modifier) == 0;
  };
  if (follows("hh"))
    c.bits = 8, at += 2;
  else if (follows("ll") || follows("I64"))
    c.bits = 64, at += follows("ll") ? 2 : 3;
  else if (follows("I32"))
    at += 3;
  else if (follows("h"))
    c.bits = 16, at += 1;
  else if (follows("j") || follows("z") || follows("t") || follows("I"))
    c.bits = 64, at += 1;
  else if (follows("l") || follows("L"))
    at += 1; // long is 32 bits where these texts come from
  if (at >= text.size()) return Conversion{};
  switch (text[at]) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'c':
    case 's':
      c.kind = text[at];
      c.length = at + 1 - start;
      return c;
    default:
      return Conversion{};
  }
}

std::string Pad(const Conversion& c, std::string prefix, std::string body) {
  const std::size_t used = prefix.size() + body.size();
  if (c.width <= used) return prefix + body;
  const std::size_t fill = c.width - used;
  if (c.left) return prefix + body + std::string(fill, ' ');
  const bool number = c.kind != 's' && c.kind != 'c';
  if (c.zero && number && !c.hasPrecision) return prefix + std::string(fill, '0') + body;
  return std::string(fill, ' ') + prefix + body;
}

std::string Number(const Conversion& c, std::int64_t value) {
  const bool isSigned = c.kind == 'd' || c.kind == 'i';
  std::uint64_t magnitude = 0;
  std::string prefix;
  if (isSigned) {
    std::int64_t v = value;
    if (c.bits == 8)
      v = static_cast<std::int8_t>(value);
    else if (c.bits == 16)
      v = static_cast<std::int16_t>(value);
    else if (c.bits == 32)
      v = static_cast<std::int32_t>(value);
    magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    if (v < 0)
      prefix = "-";
    else if (c.plus)
      prefix = "+";
    else if (c.space)
      prefix = " ";
  } else {
    magnitude = static_cast<std::uint64_t>(value);
    if (c.bits < 64) magnitude &= (std::uint64_t{1} << c.bits) - 1;
  }
  const unsigned base = c.kind == 'x' || c.kind == 'X' ? 16 : 10;
  const char* digits = c.kind == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string body;
  for (std::uint64_t rest = magnitude; rest != 0; rest /= base) body.insert(body.begin(), digits[rest % base]);
  const std::size_t minimum = c.hasPrecision ? c.precision : 1;
  if (body.size() < minimum) body.insert(0, minimum - body.size(), '0');
  if (c.alternate && base == 16 && magnitude != 0) prefix = c.kind == 'X' ? "0X" : "0x";
  return Pad(c, prefix, body);
}

std::string Filled(const Conversion& c, const FillArgument& argument) {
  if (const auto* value = std::get_if<std::int64_t>(&argument)) {
    if (c.kind == 's') return Pad(c, {}, std::to_string(*value));
    if (c.kind == 'c') return Pad(c, {}, std::string(1, static_cast<char>(*value)));
    return Number(c, *value);
  }
  const std::string& text = std::get<std::string>(argument);
  if (c.kind == 'c') return Pad(c, {}, text.substr(0, 1));
  if (c.kind == 's' && c.hasPrecision) return Pad(c, {}, text.substr(0, c.precision));
  return Pad(c, {}, text);
}

} // namespace

std::string FillPrintf(const std::string& text, const std::vector<FillArgument>& arguments) {
  std::string filled;
  std::size_t next = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      filled += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '%') {
      filled += '%';
      ++i;
      continue;
    }
    const Conversion c = Read(text, i);
    if (c.kind == 0 || next >= arguments.size()) {
      filled += text[i];
      continue;
    }
    filled += Filled(c, arguments[next++]);
    i += c.length - 1;
  }
  return filled;
}

} // namespace ZEB
