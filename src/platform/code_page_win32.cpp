// Code-page conversion through MultiByteToWideChar and WideCharToMultiByte, Unicode case through
// CharUpperBuffW and CharLowerBuffW (characters beyond the basic plane keep their case).
#include <windows.h>

#include <string>

#include "platform/code_page_system.h"

namespace grx::platform::system {
namespace {

std::u32string FromUtf16(const std::wstring& text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(text[i]);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size()) {
      const char32_t low = static_cast<char16_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        out.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    out.push_back(unit);
  }
  return out;
}

std::wstring ToUtf16(std::u32string_view text) {
  std::wstring out;
  for (char32_t c : text) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

char32_t CaseOf(char32_t c, bool upper) {
  if (c >= 0x10000) return c;
  wchar_t unit = static_cast<wchar_t>(c);
  upper ? CharUpperBuffW(&unit, 1) : CharLowerBuffW(&unit, 1);
  return static_cast<char16_t>(unit);
}

} // namespace

bool CanConvert(unsigned codePage) {
  CPINFO info{};
  return GetCPInfo(codePage, &info) != 0;
}

DecodeOutcome Decode(unsigned codePage, std::string_view bytes, std::u32string& out) {
  out.clear();
  if (bytes.empty()) return CanConvert(codePage) ? DecodeOutcome::Ok : DecodeOutcome::Invalid;
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (units <= 0) {
    // A lead byte at the end waits for its trail byte.
    const auto last = static_cast<BYTE>(bytes.back());
    return IsDBCSLeadByteEx(codePage, last) ? DecodeOutcome::Incomplete : DecodeOutcome::Invalid;
  }
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), units);
  out = FromUtf16(wide);
  return DecodeOutcome::Ok;
}

std::optional<std::string> Encode(unsigned codePage, std::u32string_view text) {
  if (text.empty()) return CanConvert(codePage) ? std::optional<std::string>(std::string()) : std::nullopt;
  const std::wstring wide = ToUtf16(text);
  BOOL lossy = FALSE;
  const int size = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lossy);
  if (bytes <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), bytes, nullptr, &lossy);
  if (lossy) return std::nullopt;
  return out;
}

char32_t UpperOf(char32_t c) {
  return CaseOf(c, true);
}

char32_t LowerOf(char32_t c) {
  return CaseOf(c, false);
}

} // namespace grx::platform::system
