// The file format of the logging library stand-in: one event per line, the client name, a tab,
// and the text with backslash, tab, carriage return and line feed written as \\, \t, \r and \n.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace eslog {

inline std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

inline std::string UnescapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char e = text[++i];
      out += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
    } else {
      out += text[i];
    }
  }
  return out;
}

struct Event {
  std::string client;
  std::string text;
};

// One line of the file; a line without a tab is a text without client.
inline Event ParseLine(std::string_view line) {
  const auto tab = line.find('\t');
  if (tab == std::string_view::npos) return {{}, UnescapeText(line)};
  return {std::string(line.substr(0, tab)), UnescapeText(line.substr(tab + 1))};
}

} // namespace eslog
