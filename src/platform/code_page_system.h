// What the operating system contributes to the code-page facility: converting one code page's
// bytes to Unicode and back, the case of a Unicode character, and the process's choice. Used by
// code_page.cpp only.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

namespace grx::platform::system {

enum class DecodeOutcome { Ok, Invalid, Incomplete };

// Whether the system can convert the code page.
bool CanConvert(unsigned codePage);
// Decodes bytes of the code page to UTF-32.
DecodeOutcome Decode(unsigned codePage, std::string_view bytes, std::u32string& out);
// Encodes UTF-32 to the code page; nullopt when a character has no encoding.
std::optional<std::string> Encode(unsigned codePage, std::u32string_view text);
char32_t UpperOf(char32_t c);
// The process's code page number, one for every module (0 until it is first chosen).
std::atomic<unsigned>& ProcessCodePage();
char32_t LowerOf(char32_t c);

} // namespace grx::platform::system
