#include "xml_fragments.h"

#include <cstring>
#include <sstream>
#include <stdexcept>

namespace grx::plcopen {
namespace {

class PrefixStripper : public pugi::xml_tree_walker {
public:
  explicit PrefixStripper(const std::string& prefix) : prefix_(prefix) {}
  bool for_each(pugi::xml_node& node) override {
    Strip(node);
    return true;
  }
  void Strip(pugi::xml_node& node) const {
    if (node.type() != pugi::node_element || std::strncmp(node.name(), prefix_.c_str(), prefix_.size()) != 0) return;
    // Only where what is left is a name of its own ("ppx:5x" keeps its prefix).
    const unsigned char first = static_cast<unsigned char>(node.name()[prefix_.size()]);
    if ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '_' || first >= 0x80) {
      // set_name copies; a pointer into the node's own name must not be its source.
      const std::string local = node.name() + prefix_.size();
      node.set_name(local.c_str());
    }
  }

private:
  const std::string& prefix_;
};

pugi::xml_node ParsedFragment(pugi::xml_document& doc, const std::string& text) {
  const pugi::xml_parse_result parsed =
      doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed || !doc.first_child() || doc.first_child().type() != pugi::node_element ||
      doc.first_child().next_sibling()) {
    throw std::runtime_error("a kept TC6 element is damaged: " + std::string(parsed.description()));
  }
  return doc.first_child();
}

} // namespace

std::string FragmentText(const pugi::xml_node& element, const std::string& prefix) {
  std::ostringstream out;
  if (prefix.empty()) {
    element.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
  }
  pugi::xml_document copy;
  pugi::xml_node root = copy.append_copy(element);
  PrefixStripper stripper(prefix);
  stripper.Strip(root);
  root.traverse(stripper);
  root.print(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

pugi::xml_node AppendFragment(pugi::xml_node parent, const std::string& text) {
  pugi::xml_document doc;
  return parent.append_copy(ParsedFragment(doc, text));
}

pugi::xml_node InsertFragmentBefore(pugi::xml_node parent, const pugi::xml_node& before, const std::string& text) {
  pugi::xml_document doc;
  return parent.insert_copy_before(ParsedFragment(doc, text), before);
}

namespace {

pugi::xml_node FirstOf(const pugi::xml_node& parent, std::initializer_list<const char*> later) {
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    for (const char* l : later) {
      if (std::strcmp(c.name(), l) == 0) return c;
    }
  }
  return {};
}

} // namespace

pugi::xml_node AddChild(pugi::xml_node parent, const char* name, std::initializer_list<const char*> later) {
  const pugi::xml_node before = FirstOf(parent, later);
  return before ? parent.insert_child_before(name, before) : parent.append_child(name);
}

pugi::xml_node AddFragment(pugi::xml_node parent, const std::string& text, std::initializer_list<const char*> later) {
  const pugi::xml_node before = FirstOf(parent, later);
  return before ? InsertFragmentBefore(parent, before, text) : AppendFragment(parent, text);
}

std::string DocumentationText(const pugi::xml_node& documentation) {
  std::string text;
  for (pugi::xml_node d = documentation.first_child(); d;) {
    if (d.type() == pugi::node_pcdata || d.type() == pugi::node_cdata) text += d.value();
    if (d.first_child()) {
      d = d.first_child();
      continue;
    }
    while (d && d != documentation && !d.next_sibling()) d = d.parent();
    if (!d || d == documentation) break;
    d = d.next_sibling();
  }
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
  return text.size() > 256 ? text.substr(0, 256) : text;
}

std::string LocalName(const pugi::xml_node& element, const std::string& prefix) {
  const char* name = element.name();
  if (prefix.empty()) return std::strchr(name, ':') == nullptr ? name : "";
  if (std::strncmp(name, prefix.c_str(), prefix.size()) == 0 && std::strchr(name + prefix.size(), ':') == nullptr) {
    return name + prefix.size();
  }
  return "";
}

} // namespace grx::plcopen
