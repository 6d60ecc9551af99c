#include "description_text.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "description.h"
#include "platform/code_page.h"

namespace q3 {
namespace {

using json = nlohmann::json;
using PathOf = std::function<std::string()>;

// Converts every text and key of a document in place, breadth first: each node is visited once,
// except what an exchange format kept (kInterchangeKey members), which stays UTF-8 throughout;
// and the JSON path of a node is put together only when convert asks for it (to report a failure).
template <class Fn>
void ConvertTexts(json& root, Fn convert) {
  struct Node {
    json* value;
    std::size_t parent; // index in nodes; the root has none
    std::string step;   // the key or index below the parent
  };
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<Node> nodes{{&root, kNone, {}}};
  const auto pathOf = [&](std::size_t index, const std::string& last) {
    std::vector<const std::string*> steps;
    if (!last.empty()) steps.push_back(&last);
    for (std::size_t i = index; i != kNone && nodes[i].parent != kNone; i = nodes[i].parent) {
      steps.push_back(&nodes[i].step);
    }
    std::string path;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) path += "/" + **it;
    return path;
  };
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    json& node = *nodes[i].value;
    if (node.is_string()) {
      node = convert(node.get_ref<const std::string&>(), PathOf([&] { return pathOf(i, {}); }));
    } else if (node.is_array()) {
      for (std::size_t k = 0; k < node.size(); ++k) nodes.push_back({&node[k], i, std::to_string(k)});
    } else if (node.is_object()) {
      // Keys cannot be changed in place: the members move to an object under the converted keys.
      json converted = json::object();
      for (auto& [key, value] : node.items()) {
        converted[convert(key, PathOf([&, k = key] { return pathOf(i, k); }))] = std::move(value);
      }
      node = std::move(converted);
      for (auto& [key, value] : node.items()) {
        if (key != kInterchangeKey) nodes.push_back({&value, i, key});
      }
    }
  }
}

} // namespace

json ParseDescriptionText(std::string_view text) {
  try {
    return json::parse(text, [](int depth, json::parse_event_t, json&) {
      if (depth > kMaxDescriptionDepth) {
        throw DescriptionError("/: nested deeper than " + std::to_string(kMaxDescriptionDepth) + " levels");
      }
      return true;
    });
  } catch (const json::exception& e) { // a syntax error, or a number out of range
    throw DescriptionError("/: not valid JSON (" + std::string(e.what()) + ")");
  }
}

std::string DescriptionText(const json& doc) {
  struct Open {
    const json* node;
    json::const_iterator next;
    std::size_t level;
  };
  std::string text;
  const auto indent = [&](std::size_t level) { text.append(2 * std::min(level, kMaxIndentLevels), ' '); };
  std::vector<Open> open;
  // Writes a value, or opens it when it is a non-empty object or array.
  const auto write = [&](const json& value, std::size_t level) {
    if ((value.is_object() || value.is_array()) && !value.empty()) {
      text += value.is_object() ? "{\n" : "[\n";
      open.push_back({&value, value.cbegin(), level});
    } else {
      text += value.dump();
    }
  };
  write(doc, 0);
  while (!open.empty()) {
    Open& top = open.back();
    if (top.next == top.node->cend()) {
      text += "\n";
      indent(top.level);
      text += top.node->is_object() ? "}" : "]";
      open.pop_back();
      continue;
    }
    if (top.next != top.node->cbegin()) text += ",\n";
    indent(top.level + 1);
    if (top.node->is_object()) text += json(top.next.key()).dump() + ": ";
    const json& value = *top.next;
    const std::size_t level = top.level + 1;
    ++top.next;
    write(value, level); // may grow open: top is not used after this
  }
  return text;
}

json DescriptionToCodePage(json doc) {
  ConvertTexts(doc, [](const std::string& text, const PathOf& path) {
    auto converted = grx::platform::Utf8ToAnsi(text);
    if (!converted) {
      const std::string where = path();
      throw DescriptionError((where.empty() ? std::string("/") : grx::platform::Utf8ToAnsiLossy(where)) +
                             ": a character that code page " + std::to_string(grx::platform::AnsiCodePage()) +
                             " cannot hold");
    }
    return std::move(*converted);
  });
  return doc;
}

json DescriptionToUtf8(json doc) {
  ConvertTexts(doc, [](const std::string& text, const PathOf&) { return grx::platform::AnsiToUtf8(text); });
  return doc;
}

} // namespace q3
