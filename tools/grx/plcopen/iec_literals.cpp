#include "iec_literals.h"

#include <cmath>
#include <limits>

namespace grx::plcopen {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool StartsWithNoCase(const std::string& text, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i] != 0; ++i) {
    if (i >= text.size() || Lower(text[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

// Digits with single underscores between them, from pos; answers the end.
std::size_t Digits(const std::string& text, std::size_t pos, bool (*digit)(char)) {
  const std::size_t start = pos;
  while (pos < text.size() && (digit(text[pos]) || (text[pos] == '_' && pos > start && digit(text[pos - 1])))) ++pos;
  if (pos > start && text[pos - 1] == '_') --pos;
  return pos;
}

bool IsHexDigit(char c) {
  return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'f');
}
bool IsOctDigit(char c) {
  return c >= '0' && c <= '7';
}
bool IsBinDigit(char c) {
  return c == '0' || c == '1';
}

// A decimal number with optional sign, fraction and exponent covering the whole text.
bool IsNumber(const std::string& text) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const std::size_t intEnd = Digits(text, pos, IsDigit);
  if (intEnd == pos) return false;
  pos = intEnd;
  if (pos < text.size() && text[pos] == '.') {
    const std::size_t fracEnd = Digits(text, pos + 1, IsDigit);
    if (fracEnd == pos + 1) return false;
    pos = fracEnd;
  }
  if (pos < text.size() && Lower(text[pos]) == 'e') {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    const std::size_t expEnd = Digits(text, pos, IsDigit);
    if (expEnd == pos) return false;
    pos = expEnd;
  }
  return pos == text.size();
}

bool IsBasedNumber(const std::string& text) {
  const std::size_t hash = text.find('#');
  if (hash == std::string::npos) return false;
  const std::string base = text.substr(0, hash);
  bool (*digit)(char) = base == "16" ? IsHexDigit : base == "8" ? IsOctDigit : base == "2" ? IsBinDigit : nullptr;
  if (digit == nullptr) return false;
  const std::size_t end = Digits(text, hash + 1, digit);
  return end > hash + 1 && end == text.size();
}

bool IsQuoted(const std::string& text) {
  return text.size() >= 2 && (text.front() == '\'' || text.front() == '"') && text.back() == text.front();
}

} // namespace

std::optional<std::int64_t> ParseDuration(const std::string& text) {
  std::size_t pos = 0;
  if (StartsWithNoCase(text, "T#")) {
    pos = 2;
  } else if (StartsWithNoCase(text, "TIME#")) {
    pos = 5;
  } else {
    return std::nullopt;
  }
  bool negative = false;
  if (pos < text.size() && text[pos] == '-') {
    negative = true;
    ++pos;
  }
  double total = 0;
  bool any = false;
  while (pos < text.size()) {
    if (text[pos] == '_' && any) {
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    while (pos < text.size() && (IsDigit(text[pos]) || text[pos] == '.')) ++pos;
    if (pos == start) return std::nullopt;
    const std::string number = text.substr(start, pos - start);
    if (number.find('.') != number.rfind('.') || number.front() == '.' || number.back() == '.') return std::nullopt;
    double value = 0;
    for (char c : number) {
      if (c != '.') value = value * 10 + (c - '0');
    }
    if (const std::size_t dot = number.find('.'); dot != std::string::npos) {
      value /= std::pow(10.0, static_cast<double>(number.size() - dot - 1));
    }
    double unit = 0;
    if (StartsWithNoCase(text.substr(pos), "ms")) {
      unit = 1, pos += 2;
    } else if (StartsWithNoCase(text.substr(pos), "us")) {
      unit = 0.001, pos += 2;
    } else if (StartsWithNoCase(text.substr(pos), "ns")) {
      unit = 0.000001, pos += 2;
    } else if (pos < text.size() && Lower(text[pos]) == 'd') {
      unit = 86400000, ++pos;
    } else if (pos < text.size() && Lower(text[pos]) == 'h') {
      unit = 3600000, ++pos;
    } else if (pos < text.size() && Lower(text[pos]) == 'm') {
      unit = 60000, ++pos;
    } else if (pos < text.size() && Lower(text[pos]) == 's') {
      unit = 1000, ++pos;
    } else {
      return std::nullopt;
    }
    total += value * unit;
    any = true;
  }
  if (!any || !(total < 9.2e15)) return std::nullopt;
  const auto ms = static_cast<std::int64_t>(std::llround(total));
  return negative ? -ms : ms;
}

std::string FormatDuration(std::int64_t ms) {
  if (ms == 0) return "T#0ms";
  std::string text = "T#";
  if (ms < 0) {
    text += '-';
    ms = ms == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max() : -ms;
  }
  const struct {
    std::int64_t size;
    const char* unit;
  } units[] = {{86400000, "d"}, {3600000, "h"}, {60000, "m"}, {1000, "s"}, {1, "ms"}};
  for (const auto& u : units) {
    if (ms >= u.size) {
      text += std::to_string(ms / u.size) + u.unit;
      ms %= u.size;
    }
  }
  return text;
}

bool IsIdentifier(const std::string& text) {
  if (text.empty() || !IsLetter(text[0])) return false;
  for (char c : text) {
    if (!IsLetter(c) && !IsDigit(c)) return false;
  }
  return true;
}

bool IsLiteral(const std::string& expression) {
  const std::string& t = expression;
  if (t.empty()) return false;
  std::string upper;
  for (char c : t) upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  if (upper == "TRUE" || upper == "FALSE") return true;
  if (IsNumber(t) || IsBasedNumber(t) || IsQuoted(t)) return true;
  if (ParseDuration(t)) return true;
  const std::size_t hash = t.find('#');
  if (hash != std::string::npos && hash > 0 && IsIdentifier(t.substr(0, hash))) {
    // A typed literal: INT#5, BOOL#TRUE, DINT#16#FF, D#2026-01-01, TOD#08:00:00.
    const std::string prefix = upper.substr(0, hash);
    if (prefix == "D" || prefix == "DATE" || prefix == "TOD" || prefix == "TIME_OF_DAY" || prefix == "DT" ||
        prefix == "DATE_AND_TIME") {
      return hash + 1 < t.size();
    }
    return IsLiteral(t.substr(hash + 1));
  }
  return false;
}

} // namespace grx::plcopen
