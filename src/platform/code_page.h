// Narrow text: the process's ANSI code page (Windows-1252 unless the settings choose another),
// conversion between it and UTF-16, UTF-32 and UTF-8, and case mapping and case-insensitive
// comparison in it. Every narrow text inside the library, the stand-ins and the records is in
// this code page; UTF-8 is met only at the edges (project descriptions, the terminal). Nothing
// here depends on the C library's locale.
//
// Like the operating system's, the code page is one per process, shared by every module.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace grx::platform {

// The number of the process's ANSI code page (1252, 932, ...). On first use it is taken from the
// settings ("ACP" under HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Nls\CodePage, as
// Windows keeps it); without that setting, or when the setting names a code page this system
// cannot convert, it is 1252.
unsigned AnsiCodePage();
// Makes codePage the process's ANSI code page; false (and nothing changed) when this system
// cannot convert it.
bool SelectAnsiCodePage(unsigned codePage);
// Whether the code page has characters of more than one byte (932, 936, 949, 950).
bool AnsiIsMultiByte();
// Whether the byte starts a two-byte character.
bool AnsiIsLeadByte(char byte);
// The number of bytes of the character that starts at text[at] (1 or 2; 1 for a lead byte at
// the end of the text).
std::size_t AnsiCharLength(std::string_view text, std::size_t at);

// The UTF-16LE bytes of a text in one step, written into out (2 bytes per unit), and back;
// the fast paths of texts stored as UTF-16. units: how many units out takes; the text's units
// come first, zero units pad the rest.
void AnsiToUtf16Le(std::string_view text, std::size_t units, std::uint8_t* out);
std::string Utf16LeToAnsi(const std::uint8_t* bytes, std::size_t units);

// Conversions. A byte the code page leaves undefined stands for the control character of the
// same number, so that every text of a single-byte code page converts to UTF-16 and back
// unchanged; a two-byte pair that stands for nothing converts to U+FFFD.
std::u16string AnsiToUtf16(std::string_view text);
std::u32string AnsiToUtf32(std::string_view text);
std::string AnsiToUtf8(std::string_view text);
// Characters the code page cannot hold become '?', as WideCharToMultiByte's default character.
std::string Utf16ToAnsi(std::u16string_view text);
std::string Utf32ToAnsi(std::u32string_view text);
// nullopt when the text is not UTF-8 or holds a character the code page cannot hold.
std::optional<std::string> Utf8ToAnsi(std::string_view text);
// The same with '?' for what cannot be converted.
std::string Utf8ToAnsiLossy(std::string_view text);
// Whether the code page can hold the character.
bool AnsiCanHold(char32_t c);

// Case mapping by character; a character whose other case the code page cannot hold stays.
std::string AnsiUpper(std::string_view text);
std::string AnsiLower(std::string_view text);
// Lower case in a given code page, for texts read before the process's code page is chosen (the
// settings that choose it).
std::string LowerInCodePage(unsigned codePage, std::string_view text);
// <0, 0 or >0 as the texts compare ignoring case (both lower-cased, then byte by byte).
int AnsiCompareNoCase(std::string_view a, std::string_view b);
inline bool AnsiEqualNoCase(std::string_view a, std::string_view b) {
  return AnsiCompareNoCase(a, b) == 0;
}

} // namespace grx::platform
