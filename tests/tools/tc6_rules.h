// The rules of the TC6 XML 2.01 schema that readers of a file rely on, checked on a document
// without prefixes (as grx writes it): the order of children, required attributes, and one
// localId per body that every connection of the body names.
#pragma once

#include <pugixml.hpp>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace grx::testing {

namespace tc6 {

// Children of an element in their groups: a later child may not belong to an earlier group.
struct Order {
  const char* element;
  std::vector<std::vector<const char*>> groups;
};

inline const std::vector<Order>& Orders() {
  static const std::vector<const char*> lists = {"localVars", "tempVars",     "inputVars",  "outputVars",
                                                 "inOutVars", "externalVars", "globalVars", "accessVars"};
  static const std::vector<Order> orders = {
      {"project", {{"fileHeader"}, {"contentHeader"}, {"types"}, {"instances"}, {"addData"}, {"documentation"}}},
      {"contentHeader", {{"Comment"}, {"coordinateInfo"}, {"addDataInfo"}, {"addData"}}},
      {"types", {{"dataTypes"}, {"pous"}}},
      {"pou", {{"interface"}, {"actions"}, {"transitions"}, {"body"}, {"addData"}, {"documentation"}}},
      {"interface", {{"returnType"}, lists, {"addData"}, {"documentation"}}},
      {"block",
       {{"position"}, {"inputVariables"}, {"inOutVariables"}, {"outputVariables"}, {"addData"}, {"documentation"}}},
      {"inVariable", {{"position"}, {"connectionPointOut"}, {"expression"}, {"addData"}, {"documentation"}}},
      {"outVariable", {{"position"}, {"connectionPointIn"}, {"expression"}, {"addData"}, {"documentation"}}},
      {"connector", {{"position"}, {"connectionPointIn"}, {"addData"}, {"documentation"}}},
      {"continuation", {{"position"}, {"connectionPointOut"}, {"addData"}, {"documentation"}}},
      {"configurations", {{"configuration"}}},
      {"configuration", {{"resource"}, {"globalVars"}, {"accessVars"}, {"configVars"}, {"addData"}, {"documentation"}}},
      {"resource", {{"task"}, {"globalVars"}, {"pouInstance"}, {"addData"}, {"documentation"}}},
      {"task", {{"pouInstance"}, {"addData"}, {"documentation"}}},
      {"connectionPointIn", {{"relPosition"}, {"connection", "expression"}, {"addData"}}},
      {"connection", {{"position"}, {"addData"}}},
  };
  return orders;
}

inline const std::map<std::string, std::vector<const char*>>& Required() {
  static const std::map<std::string, std::vector<const char*>> required = {
      {"fileHeader", {"companyName", "productName", "productVersion", "creationDateTime"}},
      {"contentHeader", {"name"}},
      {"pou", {"name", "pouType"}},
      {"dataType", {"name"}},
      {"block", {"localId", "typeName"}},
      {"inVariable", {"localId"}},
      {"outVariable", {"localId"}},
      {"inOutVariable", {"localId"}},
      {"connector", {"localId", "name"}},
      {"continuation", {"localId", "name"}},
      {"comment", {"localId"}},
      {"configuration", {"name"}},
      {"resource", {"name"}},
      {"task", {"name", "priority"}},
      {"pouInstance", {"name", "typeName"}},
      {"position", {"x", "y"}},
      {"relPosition", {"x", "y"}},
      {"connection", {"refLocalId"}},
  };
  return required;
}

} // namespace tc6

// Every violation as "ELEMENT-PATH: what"; none for a readable file.
inline std::vector<std::string> Tc6RuleViolations(const pugi::xml_document& doc) {
  std::vector<std::string> found;
  const pugi::xml_node root = doc.document_element();
  if (std::strcmp(root.name(), "project") != 0) found.push_back("/: the root is not <project>");
  for (pugi::xpath_node x : doc.select_nodes("//*")) {
    const pugi::xml_node e = x.node();
    const std::string name = e.name();
    const std::string where = e.path();
    if (name == "variable" && e.parent() &&
        (std::strcmp(e.parent().name(), "inputVariables") == 0 ||
         std::strcmp(e.parent().name(), "outputVariables") == 0 ||
         std::strcmp(e.parent().name(), "inOutVariables") == 0)) {
      if (!e.attribute("formalParameter")) found.push_back(where + ": no formalParameter");
    } else if (name == "variable" && !e.attribute("name") && std::strcmp(e.parent().name(), "contact") != 0 &&
               std::strcmp(e.parent().name(), "coil") != 0) {
      found.push_back(where + ": no name");
    }
    if (const auto r = tc6::Required().find(name); r != tc6::Required().end()) {
      for (const char* attribute : r->second) {
        if (!e.attribute(attribute)) found.push_back(where + ": no " + attribute);
      }
    }
    for (const tc6::Order& order : tc6::Orders()) {
      if (name != order.element) continue;
      std::size_t group = 0;
      for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        std::size_t at = order.groups.size();
        for (std::size_t g = 0; g < order.groups.size() && at == order.groups.size(); ++g) {
          for (const char* n : order.groups[g]) {
            if (std::strcmp(c.name(), n) == 0) at = g;
          }
        }
        if (at == order.groups.size()) {
          found.push_back(where + ": <" + c.name() + "> has no place in <" + name + ">");
        } else if (at < group) {
          found.push_back(where + ": <" + c.name() + "> stands after a later child");
        } else {
          group = at;
        }
      }
    }
  }
  // One localId per body, and every connection of a body names one of them.
  for (pugi::xpath_node x : doc.select_nodes("//body/*[self::FBD or self::LD or self::SFC]")) {
    const pugi::xml_node body = x.node();
    std::set<std::string> ids;
    for (pugi::xml_node e = body.first_child(); e; e = e.next_sibling()) {
      if (!ids.insert(e.attribute("localId").value()).second) {
        found.push_back(std::string(body.path()) + ": localId " + e.attribute("localId").value() + " twice");
      }
    }
    for (pugi::xpath_node c : body.select_nodes(".//connection")) {
      if (!ids.count(c.node().attribute("refLocalId").value())) {
        found.push_back(std::string(c.node().path()) + ": refLocalId " + c.node().attribute("refLocalId").value() +
                        " names no element");
      }
    }
  }
  return found;
}

} // namespace grx::testing
