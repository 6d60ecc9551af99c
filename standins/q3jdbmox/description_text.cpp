#include "description_text.h"

#include "description.h"
#include "platform/code_page.h"

namespace q3 {
namespace {

using json = nlohmann::json;

template <class Fn>
json ConvertTexts(const json& node, const std::string& path, Fn convert) {
  if (node.is_string()) return convert(node.get<std::string>(), path);
  if (node.is_array()) {
    json out = json::array();
    for (std::size_t i = 0; i < node.size(); ++i)
      out.push_back(ConvertTexts(node[i], path + "/" + std::to_string(i), convert));
    return out;
  }
  if (node.is_object()) {
    json out = json::object();
    for (const auto& [key, value] : node.items()) {
      const std::string converted = convert(key, path + "/" + key);
      out[converted] = ConvertTexts(value, path + "/" + key, convert);
    }
    return out;
  }
  return node;
}

} // namespace

json DescriptionToCodePage(const json& doc) {
  return ConvertTexts(doc, "", [](const std::string& text, const std::string& path) {
    auto converted = grx::platform::Utf8ToAnsi(text);
    if (!converted) {
      throw DescriptionError((path.empty() ? std::string("/") : grx::platform::Utf8ToAnsiLossy(path)) +
                             ": a character that code page " + std::to_string(grx::platform::AnsiCodePage()) +
                             " cannot hold");
    }
    return *converted;
  });
}

json DescriptionToUtf8(const json& doc) {
  return ConvertTexts(doc, "",
                      [](const std::string& text, const std::string&) { return grx::platform::AnsiToUtf8(text); });
}

} // namespace q3
