// The project description is UTF-8 JSON; the project's texts are in the ANSI code page. Every
// text and key is converted on the way in and on the way out.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace q3 {

// Descriptions nest charts in charts; deeper JSON than this is refused before it is read.
inline constexpr int kMaxDescriptionDepth = 10000;

// Members of this name hold what an exchange format kept of an object (docs/plcopen.md): JSON that
// the chart database stores as it is, UTF-8 inside and out, never converted.
inline constexpr const char* kInterchangeKey = "plcopen";

// The description text parsed; DescriptionError for a syntax error, a number out of range or
// nesting deeper than kMaxDescriptionDepth.
nlohmann::json ParseDescriptionText(std::string_view text);

// The document with its texts and keys converted in place (kInterchangeKey members aside), in time
// linear in its size and without recursion: into the code page (DescriptionError with the JSON path of the first text
// that the code page cannot hold), or from it into UTF-8.
nlohmann::json DescriptionToCodePage(nlohmann::json doc);
nlohmann::json DescriptionToUtf8(nlohmann::json doc);

// The document as nlohmann::json::dump(2) writes it, except that nesting deeper than
// kMaxIndentLevels is indented no further: the text stays linear in the document's size however
// deeply charts are nested.
inline constexpr std::size_t kMaxIndentLevels = 64;
std::string DescriptionText(const nlohmann::json& doc);

} // namespace q3
