// Code-page conversion through iconv and Unicode case through the C.UTF-8 locale's tables, used
// through a locale object of its own so that the process's locale plays no part.
#include <errno.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <string>

#include "platform/code_page_system.h"

namespace grx::platform::system {
namespace {

std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case 936:
      return "GBK";
    case 949:
      return "UHC";
    case 950:
      return "BIG5";
    default:
      return "CP" + std::to_string(codePage);
  }
}

class Converter {
public:
  Converter(const std::string& to, const std::string& from) : handle_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

private:
  iconv_t handle_;
};

locale_t UnicodeLocale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return l ? l : newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
  }();
  return locale;
}

} // namespace

bool CanConvert(unsigned codePage) {
  return Converter("UTF-32LE", IconvName(codePage)).ok();
}

DecodeOutcome Decode(unsigned codePage, std::string_view bytes, std::u32string& out) {
  out.clear();
  Converter c("UTF-32LE", IconvName(codePage));
  if (!c.ok()) return DecodeOutcome::Invalid;
  std::string input(bytes);
  std::string output(input.size() * 4 + 4, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* to = output.data();
  std::size_t toLeft = output.size();
  if (iconv(c.get(), &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
    return errno == EINVAL ? DecodeOutcome::Incomplete : DecodeOutcome::Invalid;
  }
  const std::size_t produced = (output.size() - toLeft) / 4;
  out.resize(produced);
  for (std::size_t i = 0; i < produced; ++i) {
    const auto* b = reinterpret_cast<const unsigned char*>(output.data() + 4 * i);
    out[i] = static_cast<char32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
  }
  return DecodeOutcome::Ok;
}

std::optional<std::string> Encode(unsigned codePage, std::u32string_view text) {
  Converter c(IconvName(codePage), "UTF-32LE");
  if (!c.ok()) return std::nullopt;
  std::string input(text.size() * 4, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    for (int k = 0; k < 4; ++k)
      input[4 * i + k] = static_cast<char>((static_cast<std::uint32_t>(text[i]) >> (8 * k)) & 0xFF);
  }
  std::string output(text.size() * 4 + 4, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* to = output.data();
  std::size_t toLeft = output.size();
  if (iconv(c.get(), &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  // The shift state back to the initial one (stateful code pages).
  if (iconv(c.get(), nullptr, nullptr, &to, &toLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  output.resize(output.size() - toLeft);
  return output;
}

// Without the Unicode locale only the basic Latin letters have a case.
char32_t UpperOf(char32_t c) {
  if (const locale_t l = UnicodeLocale()) return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), l));
  return c >= U'a' && c <= U'z' ? c - 32 : c;
}

char32_t LowerOf(char32_t c) {
  if (const locale_t l = UnicodeLocale()) return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), l));
  return c >= U'A' && c <= U'Z' ? c + 32 : c;
}

} // namespace grx::platform::system
