// The project description is UTF-8 JSON; the project's texts are in the ANSI code page. Every
// text and key is converted on the way in and on the way out.
#pragma once

#include <nlohmann/json.hpp>

namespace q3 {

// The same document with its texts and keys in the code page; DescriptionError with the JSON path
// of the first text that the code page cannot hold.
nlohmann::json DescriptionToCodePage(const nlohmann::json& doc);
// The same document with its texts and keys (code page) in UTF-8.
nlohmann::json DescriptionToUtf8(const nlohmann::json& doc);

} // namespace q3
