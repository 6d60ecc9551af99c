#include "platform/code_page.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/code_page_system.h"
#include "platform/settings_store.h"

namespace grx::platform {
namespace {

constexpr unsigned kDefaultCodePage = 1252;
constexpr char kDefaultChar = '?';
constexpr char32_t kReplacement = U'\uFFFD';

// What a code page's single bytes stand for, their cases and the lead bytes of its two-byte
// characters; made once per code page from the system's conversion.
struct Tables {
  unsigned number = 0;
  bool multiByte = false;
  std::array<bool, 256> lead{};
  std::array<char32_t, 256> single{};
  std::unordered_map<char32_t, std::uint8_t> byteOf;
  std::array<std::int16_t, 0x180> byteOfLow{}; // byteOf for the first code points, -1 for none
  std::array<std::uint8_t, 256> upper{};
  std::array<std::uint8_t, 256> lower{};
};

std::unique_ptr<Tables> Build(unsigned number) {
  if (number == 0 || !system::CanConvert(number)) return nullptr;
  auto t = std::make_unique<Tables>();
  t->number = number;
  std::u32string decoded;
  for (unsigned b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    const auto outcome = system::Decode(number, std::string_view(&byte, 1), decoded);
    if (outcome == system::DecodeOutcome::Incomplete) {
      t->lead[b] = true;
      t->multiByte = true;
      t->single[b] = static_cast<char32_t>(b);
    } else if (outcome == system::DecodeOutcome::Ok && decoded.size() == 1) {
      t->single[b] = decoded[0];
    } else {
      t->single[b] = static_cast<char32_t>(b); // undefined: the control character of that number
    }
  }
  for (unsigned b = 0; b < 256; ++b) {
    if (!t->lead[b]) t->byteOf.emplace(t->single[b], static_cast<std::uint8_t>(b));
  }
  t->byteOfLow.fill(-1);
  for (const auto& [c, b] : t->byteOf) {
    if (c < t->byteOfLow.size()) t->byteOfLow[c] = b;
  }
  for (unsigned b = 0; b < 256; ++b) {
    t->upper[b] = t->lower[b] = static_cast<std::uint8_t>(b);
    if (t->lead[b]) continue;
    const auto up = t->byteOf.find(system::UpperOf(t->single[b]));
    if (up != t->byteOf.end()) t->upper[b] = up->second;
    const auto low = t->byteOf.find(system::LowerOf(t->single[b]));
    if (low != t->byteOf.end()) t->lower[b] = low->second;
  }
  return t;
}

// The tables of every code page this module has used; never freed.
const Tables* TablesOf(unsigned number) {
  static std::mutex mutex;
  static std::map<unsigned, std::unique_ptr<Tables>> made;
  static std::atomic<const Tables*> last{nullptr};
  const Tables* recent = last.load(std::memory_order_acquire);
  if (recent && recent->number == number) return recent;
  std::lock_guard lock(mutex);
  auto it = made.find(number);
  if (it == made.end()) it = made.emplace(number, Build(number)).first;
  if (it->second) last.store(it->second.get(), std::memory_order_release);
  return it->second.get();
}

unsigned FromSettings() {
  const auto acp = ReadSettingText(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP");
  if (!acp) return kDefaultCodePage;
  const unsigned number = static_cast<unsigned>(std::strtoul(acp->c_str(), nullptr, 10));
  return TablesOf(number) ? number : kDefaultCodePage;
}

const Tables& Current() {
  std::atomic<unsigned>& shared = system::ProcessCodePage();
  unsigned number = shared.load(std::memory_order_acquire);
  if (number == 0) {
    unsigned chosen = FromSettings();
    if (!shared.compare_exchange_strong(number, chosen)) chosen = number;
    number = chosen;
  }
  const Tables* t = TablesOf(number);
  if (!t) t = TablesOf(kDefaultCodePage);
  return *t;
}

bool IsLead(const Tables& t, std::string_view text, std::size_t at) {
  return t.lead[static_cast<unsigned char>(text[at])] && at + 1 < text.size();
}

// A lead byte and the byte after it are one character, also where the pair stands for nothing.
char32_t DecodeChar(const Tables& t, std::string_view text, std::size_t at, std::size_t& length) {
  if (IsLead(t, text, at)) {
    length = 2;
    std::u32string decoded;
    if (system::Decode(t.number, text.substr(at, 2), decoded) == system::DecodeOutcome::Ok && decoded.size() == 1) {
      return decoded[0];
    }
    return kReplacement;
  }
  length = 1;
  return t.single[static_cast<unsigned char>(text[at])];
}

// The bytes of one character, or nothing when the code page cannot hold it.
bool EncodeChar(const Tables& t, char32_t c, std::string& out) {
  if (c < t.byteOfLow.size() && t.byteOfLow[c] >= 0) {
    out.push_back(static_cast<char>(t.byteOfLow[c]));
    return true;
  }
  const auto it = t.byteOf.find(c);
  if (it != t.byteOf.end()) {
    out.push_back(static_cast<char>(it->second));
    return true;
  }
  if (!t.multiByte) return false;
  const auto bytes = system::Encode(t.number, std::u32string_view(&c, 1));
  if (!bytes || bytes->empty()) return false;
  out += *bytes;
  return true;
}

template <class Map>
std::string MapCase(const Tables& t, std::string_view text, const std::array<std::uint8_t, 256>& table, Map map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (!IsLead(t, text, at)) {
      out.push_back(static_cast<char>(table[static_cast<unsigned char>(text[at])]));
      ++at;
      continue;
    }
    std::size_t length = 1;
    const char32_t c = DecodeChar(t, text, at, length);
    std::string mapped;
    if (c != kReplacement && EncodeChar(t, map(c), mapped)) {
      out += mapped;
    } else {
      out.append(text.substr(at, length));
    }
    at += length;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes UTF-8; nullopt on a malformed sequence, an overlong form, a surrogate or a value
// beyond U+10FFFF.
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t n = 0;
    char32_t c = 0;
    if (b < 0x80) {
      n = 1;
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      n = 2;
      c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      n = 3;
      c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      n = 4;
      c = b & 0x07;
    } else {
      return std::nullopt;
    }
    if (i + n > text.size()) return std::nullopt;
    for (std::size_t k = 1; k < n; ++k) {
      const auto cont = static_cast<unsigned char>(text[i + k]);
      if ((cont & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (cont & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out.push_back(c);
    i += n;
  }
  return out;
}

} // namespace

unsigned AnsiCodePage() {
  return Current().number;
}

bool SelectAnsiCodePage(unsigned codePage) {
  if (!TablesOf(codePage)) return false;
  system::ProcessCodePage().store(codePage, std::memory_order_release);
  return true;
}

bool AnsiIsMultiByte() {
  return Current().multiByte;
}

bool AnsiIsLeadByte(char byte) {
  return Current().lead[static_cast<unsigned char>(byte)];
}

std::size_t AnsiCharLength(std::string_view text, std::size_t at) {
  return at < text.size() && IsLead(Current(), text, at) ? 2 : 1;
}

std::u32string AnsiToUtf32(std::string_view text) {
  const Tables& t = Current();
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = 1;
    out.push_back(DecodeChar(t, text, at, length));
    at += length;
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
  const Tables& t = Current();
  if (!t.multiByte) { // one unit per byte
    std::u16string out(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
      out[i] = static_cast<char16_t>(t.single[static_cast<unsigned char>(text[i])]);
    return out;
  }
  std::u16string out;
  out.reserve(text.size());
  for (char32_t c : AnsiToUtf32(text)) {
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
    }
  }
  return out;
}

std::string AnsiToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : AnsiToUtf32(text)) AppendUtf8(out, c);
  return out;
}

std::string Utf32ToAnsi(std::u32string_view text) {
  const Tables& t = Current();
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (!EncodeChar(t, c, out)) out.push_back(kDefaultChar);
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  const Tables& t = Current();
  if (!t.multiByte) {
    std::string out;
    out.reserve(text.size());
    bool plain = true;
    for (char16_t u : text) {
      if (u >= 0xD800 && u <= 0xDFFF) {
        plain = false;
        break;
      }
      if (!EncodeChar(t, u, out)) out.push_back(kDefaultChar);
    }
    if (plain) return out;
  }
  std::u32string wide;
  wide.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      wide.push_back(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      wide.push_back(kReplacement); // a lone surrogate
    } else {
      wide.push_back(u);
    }
  }
  return Utf32ToAnsi(wide);
}

std::optional<std::string> Utf8ToAnsi(std::string_view text) {
  const auto wide = DecodeUtf8(text);
  if (!wide) return std::nullopt;
  const Tables& t = Current();
  std::string out;
  out.reserve(text.size());
  for (char32_t c : *wide) {
    if (!EncodeChar(t, c, out)) return std::nullopt;
  }
  return out;
}

std::string Utf8ToAnsiLossy(std::string_view text) {
  if (auto strict = Utf8ToAnsi(text)) return *strict;
  if (const auto wide = DecodeUtf8(text)) return Utf32ToAnsi(*wide);
  // Not UTF-8 at all: the basic Latin bytes stay, the rest is the default character.
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) c = kDefaultChar;
  }
  return out;
}

void AnsiToUtf16Le(std::string_view text, std::size_t units, std::uint8_t* out) {
  const Tables& t = Current();
  std::size_t written = 0;
  auto put = [&](char16_t u) {
    if (written == units) return;
    out[2 * written] = static_cast<std::uint8_t>(u);
    out[2 * written + 1] = static_cast<std::uint8_t>(u >> 8);
    ++written;
  };
  if (!t.multiByte) {
    for (char c : text) put(static_cast<char16_t>(t.single[static_cast<unsigned char>(c)]));
  } else {
    for (char16_t u : AnsiToUtf16(text)) put(u);
  }
  while (written < units) put(u'\0');
}

std::string Utf16LeToAnsi(const std::uint8_t* bytes, std::size_t units) {
  const Tables& t = Current();
  if (!t.multiByte) {
    std::string out;
    out.reserve(units);
    std::size_t i = 0;
    for (; i < units; ++i) {
      const auto u = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
      if (u >= 0xD800 && u <= 0xDFFF) break; // surrogates take the general way
      if (!EncodeChar(t, u, out)) out.push_back(kDefaultChar);
    }
    if (i == units) return out;
  }
  std::u16string text(units, u'\0');
  for (std::size_t i = 0; i < units; ++i) text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return Utf16ToAnsi(text);
}

bool AnsiCanHold(char32_t c) {
  std::string scratch;
  return EncodeChar(Current(), c, scratch);
}

std::string AnsiUpper(std::string_view text) {
  const Tables& t = Current();
  return MapCase(t, text, t.upper, system::UpperOf);
}

std::string AnsiLower(std::string_view text) {
  const Tables& t = Current();
  return MapCase(t, text, t.lower, system::LowerOf);
}

std::string LowerInCodePage(unsigned codePage, std::string_view text) {
  const Tables* t = TablesOf(codePage);
  if (!t) t = TablesOf(kDefaultCodePage);
  if (!t) return std::string(text);
  return MapCase(*t, text, t->lower, system::LowerOf);
}

int AnsiCompareNoCase(std::string_view a, std::string_view b) {
  const std::string la = AnsiLower(a);
  const std::string lb = AnsiLower(b);
  const std::size_t n = std::min(la.size(), lb.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(la[i]);
    const auto y = static_cast<unsigned char>(lb[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return la.size() == lb.size() ? 0 : (la.size() < lb.size() ? -1 : 1);
}

} // namespace grx::platform
