// Writing a project description as a TC6 XML 2.01 file (docs/plcopen.md). What the model holds is
// written from the model; what a TC6 import kept ("plcopen" members) fills in the rest, so that
// a file read and written again is the same file. POUs are written one at a time.
#include <pugixml.hpp>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "iec_literals.h"
#include "iec_standard_types.h"
#include "plcopen.h"
#include "xml_fragments.h"

namespace grx::plcopen {
namespace {

using Json = nlohmann::json;

constexpr const char* kPousMark = "grx:pous";

std::string Text(const Json& j, const char* key, const std::string& fallback = {}) {
  const auto it = j.find(key);
  return it != j.end() && it->is_string() ? it->get<std::string>() : fallback;
}
long long Integer(const Json& j, const char* key, long long fallback) {
  const auto it = j.find(key);
  if (it == j.end()) return fallback;
  if (it->is_number_integer()) return it->get<long long>();
  if (it->is_string()) return std::strtoll(it->get<std::string>().c_str(), nullptr, 0);
  return fallback;
}
const Json& Member(const Json& j, const char* key) {
  static const Json none;
  const auto it = j.find(key);
  return it != j.end() ? *it : none;
}
const Json& Keep(const Json& j) {
  return Member(j, "plcopen");
}
const Json& Array(const Json& j, const char* key) {
  static const Json empty = Json::array();
  const auto it = j.find(key);
  return it != j.end() && it->is_array() ? *it : empty;
}

void SetText(pugi::xml_node node, const std::string& text) {
  node.text().set(text.c_str());
}

// The kept element (keep[key], a fragment) or a new one, in its place in parent, named from the model.
pugi::xml_node KeptOrNew(pugi::xml_node parent, const Json& keep, const char* key, const char* element,
                         std::initializer_list<const char*> later, const std::string& name) {
  pugi::xml_node node = keep.is_object() && keep.contains(key)
                            ? AddFragment(parent, keep[key].get<std::string>(), later)
                            : AddChild(parent, element, later);
  if (!node.attribute("name")) node.append_attribute("name");
  node.attribute("name") = name.c_str();
  return node;
}

void SetDocumentation(pugi::xml_node owner, const std::string& comment, std::initializer_list<const char*> later) {
  pugi::xml_node doc = owner.child("documentation");
  if (doc ? DocumentationText(doc) == comment : comment.empty()) return;
  if (doc) owner.remove_child(doc);
  if (comment.empty()) return;
  doc = AddChild(owner, "documentation", later);
  pugi::xml_node p = doc.append_child("xhtml:p");
  p.append_attribute("xmlns:xhtml") = "http://www.w3.org/1999/xhtml";
  SetText(p, comment);
}

// Data type names as the chart database writes them (STR for STRING).
std::string CanonicalType(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name == "STRING" ? "STR" : name;
}

// The TC6 type element for a data type of the description; a structure with elements is written
// as an anonymous <struct> of them (their values as initial values).
void WriteType(pugi::xml_node type, const std::string& name, const Json& elements = Json()) {
  if (elements.is_array() && !elements.empty()) {
    pugi::xml_node structure = type.append_child("struct");
    for (const auto& e : elements) {
      pugi::xml_node v = structure.append_child("variable");
      v.append_attribute("name") = Text(e, "name").c_str();
      WriteType(v.append_child("type"), Text(e, "type"), Member(e, "elements"));
      const std::string value = Text(e, "value", Text(e, "default"));
      if (!value.empty())
        v.append_child("initialValue").append_child("simpleValue").append_attribute("value") = value.c_str();
    }
    return;
  }
  if (name.empty() || name == "ANY" || name == "STRUCT" || name == "ARRAY" || name == "UDTYPE") {
    // The model's generic types have no TC6 element of their own: a derived type of that name.
    type.append_child("derived").append_attribute("name") = name.empty() ? "ANY" : name.c_str();
    return;
  }
  if (name == "STRING" || name == "STR") {
    type.append_child("string");
    return;
  }
  type.append_child(name.c_str());
}

// What a variable element says in the model's terms.
std::string InitialValueOf(const pugi::xml_node& v) {
  return v.child("initialValue").child("simpleValue").attribute("value").value();
}

// A variable element of an interface or a global list from the model, on its kept element. The
// initial value is the model's for inputs; globals and outputs keep the file's (the model has none).
void WriteVariable(pugi::xml_node list, const Json& var, bool valueFromModel) {
  const Json& keep = Keep(var);
  pugi::xml_node v;
  if (keep.is_object() && keep.contains("xml")) {
    v = AddFragment(list, keep["xml"].get<std::string>(), {"addData", "documentation"});
  } else {
    v = AddChild(list, "variable", {"addData", "documentation"});
  }
  const std::string name = Text(var, "name");
  if (v.attribute("name")) {
    v.attribute("name") = name.c_str();
  } else {
    v.append_attribute("name") = name.c_str();
  }
  const std::string type = Text(var, "type", Member(var, "elements").is_array() ? "STRUCT" : "");
  const bool keptType = v.child("type") && keep.is_object() && keep.contains("type") &&
                        CanonicalType(Text(keep, "type")) == CanonicalType(type);
  if (!keptType) {
    if (pugi::xml_node old = v.child("type")) v.remove_child(old);
    pugi::xml_node t = v.first_child() ? v.insert_child_before("type", v.first_child()) : v.append_child("type");
    WriteType(t, type, Member(var, "elements"));
  }
  const std::string value = Text(var, "value");
  if (valueFromModel && InitialValueOf(v) != value) {
    if (pugi::xml_node old = v.child("initialValue")) v.remove_child(old);
    if (!value.empty()) {
      pugi::xml_node initial = AddChild(v, "initialValue", {"addData", "documentation"});
      initial.append_child("simpleValue").append_attribute("value") = value.c_str();
    }
  }
  SetDocumentation(v, Text(var, "comment"), {});
}

// ---- the project ----------------------------------------------------------------------

struct ChartRef {
  const Json* chart;
  std::string relative; // object path relative to the controller
  std::string pou;      // the POU it is written as
  bool root;
};

class Writer {
public:
  explicit Writer(const Json& description) : d_(description) {}

  void Run(std::ostream& out) {
    const Json& project = Member(d_, "project");
    const Json& keep = Keep(project);
    pugi::xml_document doc;
    doc.append_child(pugi::node_declaration).append_attribute("version") = "1.0";
    doc.child("xml").append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = doc.append_child("project");
    root.append_attribute("xmlns") = kNamespace;
    const Json& rootAttributes = Member(keep, "rootAttributes");
    if (rootAttributes.is_object()) {
      for (const auto& [name, value] : rootAttributes.items()) {
        if (value.is_string()) root.append_attribute(name.c_str()) = value.get<std::string>().c_str();
      }
    }
    if (keep.contains("fileHeader")) {
      AppendFragment(root, keep["fileHeader"].get<std::string>());
    } else {
      pugi::xml_node header = root.append_child("fileHeader");
      header.append_attribute("companyName") = "grx";
      header.append_attribute("productName") = "grx";
      header.append_attribute("productVersion") = "1";
      header.append_attribute("creationDateTime") =
          Text(project, "created", "2026-01-01T00:00:00Z").substr(0, 19).c_str();
    }
    pugi::xml_node content;
    if (keep.contains("contentHeader")) {
      content = AppendFragment(root, keep["contentHeader"].get<std::string>());
    } else {
      content = root.append_child("contentHeader");
      content.append_attribute("name");
      pugi::xml_node info = content.append_child("coordinateInfo");
      for (const char* language : {"fbd", "ld", "sfc"}) {
        pugi::xml_node scaling = info.append_child(language).append_child("scaling");
        scaling.append_attribute("x") = "1";
        scaling.append_attribute("y") = "1";
      }
    }
    if (!content.attribute("name")) content.append_attribute("name");
    content.attribute("name") = Text(project, "name").c_str();

    pugi::xml_node types = root.append_child("types");
    if (keep.contains("dataTypes")) {
      AppendFragment(types, keep["dataTypes"].get<std::string>());
    } else {
      types.append_child("dataTypes");
    }
    types.append_child("pous").append_child(pugi::node_comment).set_value(kPousMark);
    CollectCharts();
    pugi::xml_node configurations = root.append_child("instances").append_child("configurations");
    WriteConfigurations(configurations, keep);
    for (const auto& t : Array(keep, "tail")) AppendFragment(root, t.get<std::string>());

    // The document around the POUs, and the POUs one by one in between.
    std::ostringstream frame;
    doc.save(frame, "  ", pugi::format_indent, pugi::encoding_utf8);
    const std::string text = frame.str();
    const std::string mark = std::string("<!--") + kPousMark + "-->";
    const std::size_t at = text.find(mark);
    std::size_t lineStart = text.rfind('\n', at);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    out << text.substr(0, lineStart);
    WritePous(out, keep);
    std::size_t after = text.find('\n', at);
    out << text.substr(after == std::string::npos ? text.size() : after + 1);
  }

private:
  // ---- charts and their POUs ---------------------------------------------------------

  void CollectCharts() {
    std::set<std::string> used;
    for (const auto& p : Array(Keep(Member(d_, "project")), "pous")) used.insert(Text(p, "name"));
    for (const auto& c : Array(d_, "controllers")) {
      for (const auto& t : Array(c, "blockTypes")) used.insert(Text(t, "name"));
    }
    const auto unique = [&](std::string name) {
      std::string candidate = name;
      for (int n = 2; used.count(candidate); ++n) candidate = name + "_" + std::to_string(n);
      used.insert(candidate);
      return candidate;
    };
    for (const auto& c : Array(d_, "controllers")) {
      std::vector<std::pair<const Json*, std::string>> stack;
      const Json& roots = Array(c, "charts");
      for (auto it = roots.rbegin(); it != roots.rend(); ++it) stack.emplace_back(&*it, Text(*it, "name"));
      while (!stack.empty()) {
        auto [chart, relative] = stack.back();
        stack.pop_back();
        const bool root = relative.find('/') == std::string::npos;
        std::string pou = Text(Keep(*chart), "pou");
        if (pou.empty()) {
          std::string generated = relative;
          std::replace(generated.begin(), generated.end(), '/', '_');
          pou = unique(generated);
        }
        charts_[chart] = ChartRef{chart, relative, pou, root};
        const Json& subs = Array(*chart, "charts");
        for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
          stack.emplace_back(&*it, relative + "/" + Text(*it, "name"));
        }
        if (!pouCharts_.count(pou)) {
          pouCharts_[pou] = std::make_pair(chart, &c);
          pouOrder_.push_back(pou);
        }
      }
    }
  }

  void WritePous(std::ostream& out, const Json& keep) {
    std::set<std::string> written;
    const auto print = [&](const pugi::xml_node& pou) {
      pou.print(out, "  ", pugi::format_indent, pugi::encoding_utf8, 3);
    };
    for (const auto& p : Array(keep, "pous")) {
      const std::string name = Text(p, "name");
      if (p.contains("xml")) {
        pugi::xml_document doc;
        print(AppendFragment(doc, p["xml"].get<std::string>()));
        written.insert(name);
      } else if (pouCharts_.count(name)) {
        pugi::xml_document doc;
        print(ChartPou(doc, name));
        written.insert(name);
      }
    }
    for (const std::string& name : pouOrder_) {
      if (written.count(name)) continue;
      pugi::xml_document doc;
      print(ChartPou(doc, name));
      written.insert(name);
    }
    // Block types of the controllers that no POU of the file stands for.
    for (const auto& c : Array(d_, "controllers")) {
      for (const auto& t : Array(c, "blockTypes")) {
        const std::string name = Text(t, "name");
        if (written.count(name) || Keep(t).is_object() || FindStandardType(name)) continue;
        pugi::xml_document doc;
        print(BlockTypePou(doc, t));
        written.insert(name);
      }
    }
  }

  pugi::xml_node BlockTypePou(pugi::xml_document& doc, const Json& type) {
    pugi::xml_node pou = doc.append_child("pou");
    pou.append_attribute("name") = Text(type, "name").c_str();
    const bool function = Text(type, "kind") == "function";
    pou.append_attribute("pouType") = function ? "function" : "functionBlock";
    pugi::xml_node interface = pou.append_child("interface");
    const Json* result = nullptr;
    std::map<std::string, pugi::xml_node> lists;
    for (const auto& p : Array(type, "parameters")) {
      const std::string direction = Text(p, "direction", "in");
      if (function && direction == "out" && result == nullptr && Text(p, "name") == "OUT") {
        result = &p;
        continue;
      }
      const char* listName = direction == "out" ? "outputVars" : direction == "inout" ? "inOutVars" : "inputVars";
      pugi::xml_node& list = lists[listName];
      if (!list) list = interface.append_child(listName);
      Json var = p;
      if (p.contains("default")) var["value"] = p["default"];
      var.erase("plcopen");
      WriteVariable(list, var, direction != "out");
    }
    if (result != nullptr) WriteType(interface.prepend_child("returnType"), Text(*result, "type"));
    SetDocumentation(pou, Text(type, "comment"), {});
    return pou;
  }

  pugi::xml_node ChartPou(pugi::xml_document& doc, const std::string& pouName) {
    const auto [chart, controller] = pouCharts_[pouName];
    const ChartRef& ref = charts_[chart];
    const Json& keep = Keep(*chart);
    pugi::xml_node pou;
    if (keep.is_object() && keep.contains("pouXml")) {
      pou = AppendFragment(doc, keep["pouXml"].get<std::string>());
    } else {
      pou = doc.append_child("pou");
      pou.append_attribute("name");
      pou.append_attribute("pouType") = ref.root ? "program" : "functionBlock";
      pou.append_child("interface");
      pou.append_child("body").append_child("FBD");
    }
    pou.attribute("name") = pouName.c_str();
    WriteInterface(pou, *chart);
    if (!keep.contains("pouXml")) SetDocumentation(pou, Text(*chart, "comment"), {});
    if (pugi::xml_node fbd = pou.child("body").child("FBD")) WriteBody(fbd, ref, *controller);
    return pou;
  }

  void WriteInterface(pugi::xml_node pou, const Json& chart) {
    pugi::xml_node interface = pou.child("interface");
    if (!interface)
      interface = AddChild(pou, "interface", {"actions", "transitions", "body", "addData", "documentation"});
    std::vector<pugi::xml_node> lists;
    for (pugi::xml_node l = interface.first_child(); l; l = l.next_sibling()) {
      if (l.type() == pugi::node_element) lists.push_back(l);
    }
    std::map<std::string, pugi::xml_node> added;
    for (const auto& var : Array(chart, "interface")) {
      const std::string direction = Text(var, "direction", "in");
      const char* listName = direction == "out" ? "outputVars" : direction == "inout" ? "inOutVars" : "inputVars";
      const long long index = Integer(Keep(var), "list", -1);
      pugi::xml_node list;
      if (index >= 0 && static_cast<std::size_t>(index) < lists.size() &&
          std::string(lists[index].name()) == listName) {
        list = lists[static_cast<std::size_t>(index)];
      } else {
        list = added[listName];
        if (!list) list = added[listName] = AddChild(interface, listName, {"addData", "documentation"});
      }
      WriteVariable(list, var, direction != "out");
    }
  }

  // ---- FBD bodies ----------------------------------------------------------------------

  struct Feed {
    enum Kind { None, Pin, Expression } kind = None;
    std::string block; // Pin: the block or sub-chart name in this chart
    std::string pin;
    std::string text; // Expression: variable name, literal or text
  };

  struct Placed {
    pugi::xml_node node;
    long long localId = 0;
  };

  // What the bodies of one controller look up: made once per controller, not once per chart.
  struct ControllerIndex {
    std::set<std::string> globals;
    std::map<std::string, std::vector<const Json*>> feeds;    // sink path -> connections
    std::map<std::string, std::vector<const Json*>> outgoing; // source path -> connections
    std::map<std::string, const Json*> types;
    std::map<std::string, long long> runRank; // member path -> first place in the run sequence
  };

  const ControllerIndex& IndexOf(const Json& controller) {
    auto it = indexes_.find(&controller);
    if (it != indexes_.end()) return it->second;
    ControllerIndex& index = indexes_[&controller];
    for (const auto& g : Array(controller, "globals")) index.globals.insert(Text(g, "name"));
    for (const auto& c : Array(controller, "connections")) {
      if (Text(c, "kind", "connection") == "no-connection") continue;
      index.feeds[Text(c, "to")].push_back(&c);
      if (c.contains("from")) index.outgoing[Text(c, "from")].push_back(&c);
    }
    for (const auto& block : Array(controller, "blockTypes")) index.types[Text(block, "name")] = &block;
    long long rank = 0;
    for (const auto& t : Array(controller, "tasks")) {
      for (const auto& g : Array(t, "groups")) {
        for (const auto& m : Array(g, "members")) {
          if (m.is_string()) index.runRank.emplace(m.get<std::string>(), ++rank);
        }
      }
    }
    return index;
  }

  void WriteBody(pugi::xml_node fbd, const ChartRef& ref, const Json& controller) {
    Body body(*this, fbd, ref, IndexOf(controller));
    body.Write();
  }

  class Body {
  public:
    Body(Writer& w, pugi::xml_node fbd, const ChartRef& ref, const ControllerIndex& index)
        : w_(w),
          fbd_(fbd),
          ref_(ref),
          chart_(*ref.chart),
          globals_(index.globals),
          feeds_(index.feeds),
          outgoing_(index.outgoing),
          types_(index.types) {
      // The run sequence: members of the controller's groups that are blocks of this chart.
      const std::string prefix = ref_.relative + "/";
      for (const auto& b : Array(chart_, "blocks")) AddRank(index, prefix + Text(b, "name"), Text(b, "name"));
      for (const auto& c : Array(chart_, "charts")) AddRank(index, prefix + Text(c, "name"), Text(c, "name"));
    }

    void Write() {
      IndexModel();
      PlaceElements();
      WirePins();
      WireOutputs();
      DropUnused();
      CleanConnections();
    }

  private:
    void AddRank(const ControllerIndex& index, const std::string& path, const std::string& name) {
      if (const auto it = index.runRank.find(path); it != index.runRank.end()) runRank_[name] = it->second;
    }

    // The model's blocks and sub-charts of the chart by name.
    void IndexModel() {
      for (const auto& b : Array(chart_, "blocks")) members_.emplace_back(Text(b, "name"), &b);
      for (const auto& s : Array(chart_, "charts")) {
        members_.emplace_back(Text(s, "name"), &s);
        subs_.insert(Text(s, "name"));
      }
      for (const auto& [name, object] : members_) byName_[name] = object;
      for (const auto& v : Array(chart_, "interface")) interfaceVars_.insert(Text(v, "name"));
    }

    std::string Relative(const std::string& name) const { return ref_.relative + "/" + name; }

    // The element list in document order: kept elements and blocks, then blocks the file lacked.
    void PlaceElements() {
      const Json& keep = Keep(chart_);
      const Json& elements = Array(keep, "elements");
      for (const auto& e : elements) {
        if (e.contains("localId")) nextId_ = std::max(nextId_, Integer(e, "localId", 0) + 1);
      }
      for (const auto& [name, object] : members_) {
        const Json& blockKeep = subs_.count(name) ? Member(Keep(*object), "block") : Keep(*object);
        nextId_ = std::max(nextId_, Integer(blockKeep, "localId", 0) + 1);
      }
      std::set<std::string> placed;
      for (const auto& e : elements) {
        if (e.contains("block")) {
          const std::string name = Text(e, "block");
          if (byName_.count(name) && placed.insert(name).second) PlaceBlock(name);
        } else if (e.contains("xml")) {
          pugi::xml_node node = AppendFragment(fbd_, e["xml"].get<std::string>());
          const long long id = node.attribute("localId").as_llong();
          if (!usedIds_.insert(id).second) {
            fbd_.remove_child(node);
            continue;
          }
          kept_[id] = node;
          if (std::string(node.name()) == "connector") connectors_[node.attribute("name").value()] = node;
        }
      }
      for (const auto& [name, object] : members_) {
        if (placed.insert(name).second) PlaceBlock(name);
      }
      // Elements the kept file referred to: the ones nothing refers to any more go (DropUnused).
      for (pugi::xml_node e = fbd_.first_child(); e; e = e.next_sibling()) {
        for (pugi::xpath_node c : e.select_nodes(".//connection")) {
          referencedBefore_.insert(c.node().attribute("refLocalId").as_llong());
        }
      }
      for (const auto& [id, node] : kept_) {
        if (std::string(node.name()) == "continuation") continuationsBefore_.insert(node.attribute("name").value());
      }
      // Blocks in the run sequence's order where it differs from the document's.
      WriteRunOrder();
    }

    const Json& BlockKeep(const std::string& name) const {
      const Json& object = *byName_.at(name);
      return subs_.count(name) ? Member(Keep(object), "block") : Keep(object);
    }

    // The parameters of a block or sub-chart: name and direction, in order.
    std::vector<std::pair<std::string, std::string>> Parameters(const std::string& name) const {
      std::vector<std::pair<std::string, std::string>> params;
      const Json& object = *byName_.at(name);
      if (subs_.count(name)) {
        for (const auto& v : Array(object, "interface"))
          params.emplace_back(Text(v, "name"), Text(v, "direction", "in"));
      } else if (const auto t = types_.find(Text(object, "type")); t != types_.end()) {
        for (const auto& p : Array(*t->second, "parameters")) {
          params.emplace_back(Text(p, "name"), Text(p, "direction", "in"));
        }
      }
      return params;
    }

    std::string TypeNameOf(const std::string& name) const {
      if (subs_.count(name)) return w_.charts_.at(byName_.at(name)).pou;
      return Text(*byName_.at(name), "type");
    }

    void PlaceBlock(const std::string& name) {
      const Json& keep = BlockKeep(name);
      pugi::xml_node block;
      long long id = Integer(keep, "localId", 0);
      if (keep.is_object() && keep.contains("xml")) {
        block = AppendFragment(fbd_, keep["xml"].get<std::string>());
      } else {
        block = fbd_.append_child("block");
        block.append_attribute("localId");
        generated_.insert(name);
      }
      if (id <= 0 || usedIds_.count(id)) id = nextId_++;
      usedIds_.insert(id);
      block.attribute("localId") = id;
      blocks_[name] = Placed{block, id};
      const std::string type = TypeNameOf(name);
      if (!block.attribute("typeName")) block.append_attribute("typeName");
      block.attribute("typeName") = type.c_str();
      const bool unnamed =
          Member(keep, "unnamed").is_boolean() && keep["unnamed"].get<bool>() && name == type + std::to_string(id);
      if (unnamed) {
        block.remove_attribute("instanceName");
      } else {
        if (!block.attribute("instanceName")) block.append_attribute("instanceName");
        block.attribute("instanceName") = name.c_str();
      }
      if (generated_.count(name)) {
        const auto params = Parameters(name);
        std::size_t ins = 0, outs = 0;
        for (const auto& p : params) (p.second == "out" ? outs : ins)++;
        const std::size_t index = blocks_.size() - 1;
        block.append_attribute("width") = 120;
        block.append_attribute("height") = static_cast<long long>(40 + 20 * std::max(ins, outs));
        pugi::xml_node position = block.append_child("position");
        position.append_attribute("x") = static_cast<long long>(300 + (index % 6) * 320);
        position.append_attribute("y") = static_cast<long long>(60 + (index / 6) * 260);
        pugi::xml_node inputs = block.append_child("inputVariables");
        pugi::xml_node inOuts = block.append_child("inOutVariables");
        pugi::xml_node outputs = block.append_child("outputVariables");
        std::size_t in = 0, out = 0;
        for (const auto& [param, direction] : params) {
          pugi::xml_node list = direction == "out" ? outputs : direction == "inout" ? inOuts : inputs;
          pugi::xml_node v = list.append_child("variable");
          v.append_attribute("formalParameter") = param.c_str();
          if (direction != "out") {
            pugi::xml_node rel = v.append_child("connectionPointIn").append_child("relPosition");
            rel.append_attribute("x") = 0;
            rel.append_attribute("y") = static_cast<long long>(30 + 20 * in++);
          }
          if (direction != "in") {
            pugi::xml_node rel = v.append_child("connectionPointOut").append_child("relPosition");
            rel.append_attribute("x") = 120;
            rel.append_attribute("y") = static_cast<long long>(30 + 20 * (direction == "out" ? out++ : in - 1));
          }
        }
        if (!Text(*byName_.at(name), "comment").empty() && !subs_.count(name)) {
          SetDocumentation(block, Text(*byName_.at(name), "comment"), {});
        }
      } else if (!subs_.count(name)) {
        SetDocumentation(block, Text(*byName_.at(name), "comment"), {});
      }
    }

    void WriteRunOrder() {
      if (!ref_.root) {
        // Function-block bodies keep their own order; new blocks follow.
        long long highest = 0;
        for (const auto& [name, placed] : blocks_)
          highest = std::max(highest, placed.node.attribute("executionOrderId").as_llong());
        for (const auto& [name, object] : members_) {
          pugi::xml_node b = blocks_[name].node;
          if (!b.attribute("executionOrderId")) {
            if (generated_.count(name)) b.append_attribute("executionOrderId") = ++highest;
          }
        }
        return;
      }
      // Rank in the run sequence; blocks outside it follow in document order.
      long long position = 0;
      std::vector<std::string> names;
      for (pugi::xml_node e = fbd_.first_child(); e; e = e.next_sibling()) {
        for (const auto& [name, placed] : blocks_) {
          if (placed.node == e) names.push_back(name);
        }
      }
      std::vector<std::string> ranked = names;
      std::stable_sort(ranked.begin(), ranked.end(), [&](const std::string& a, const std::string& b) {
        const long long ra = runRank_.count(a) ? runRank_.at(a) : std::numeric_limits<long long>::max();
        const long long rb = runRank_.count(b) ? runRank_.at(b) : std::numeric_limits<long long>::max();
        return ra < rb;
      });
      bool anyKept = false;
      for (const auto& name : names) anyKept = anyKept || blocks_[name].node.attribute("executionOrderId");
      const bool write = anyKept || ranked != names || !generated_.empty();
      if (!write) return;
      for (const std::string& name : ranked) {
        pugi::xml_node b = blocks_[name].node;
        if (!b.attribute("executionOrderId")) b.append_attribute("executionOrderId");
        b.attribute("executionOrderId") = ++position;
      }
    }

    // What feeds the sink of the given path in the model.
    Feed FeedOf(const std::string& sink, const std::string& value) const {
      Feed feed;
      const auto it = feeds_.find(sink);
      if (it != feeds_.end()) {
        for (const Json* c : it->second) {
          if (!c->contains("from")) {
            feed.kind = Feed::Expression;
            feed.text = Text(*c, "text");
            return feed;
          }
          const std::string from = Text(*c, "from");
          const std::string prefix = ref_.relative + "/";
          if (from.compare(0, prefix.size(), prefix) == 0) {
            const std::string rest = from.substr(prefix.size());
            const std::size_t dot = rest.find('.');
            if (dot != std::string::npos && rest.find('/') == std::string::npos && byName_.count(rest.substr(0, dot))) {
              feed.kind = Feed::Pin;
              feed.block = rest.substr(0, dot);
              feed.pin = rest.substr(dot + 1);
              return feed;
            }
          }
          feed.kind = Feed::Expression;
          if (from.compare(0, 1, "@") == 0) {
            feed.text = from.substr(1);
          } else if (from.compare(0, ref_.relative.size() + 1, ref_.relative + ".") == 0) {
            feed.text = from.substr(ref_.relative.size() + 1);
          } else {
            feed.text = from; // a pin of another chart: TC6 names it by its path only
          }
          return feed;
        }
      }
      if (!value.empty()) {
        feed.kind = Feed::Expression;
        feed.text = value;
      }
      return feed;
    }

    std::string ValueOf(const std::string& block, const std::string& pin) const {
      const Json& object = *byName_.at(block);
      if (subs_.count(block)) {
        for (const auto& v : Array(object, "interface")) {
          if (Text(v, "name") == pin) return Text(v, "value");
        }
        return {};
      }
      return Text(Member(object, "values"), pin.c_str());
    }

    pugi::xml_node NewVariable(const char* kind, const std::string& expression, pugi::xml_node near, long long dy) {
      pugi::xml_node v = fbd_.append_child(kind);
      const long long id = nextId_++;
      usedIds_.insert(id);
      v.append_attribute("localId") = id;
      v.append_attribute("width") = 100;
      v.append_attribute("height") = 20;
      pugi::xml_node position = v.append_child("position");
      const long long x = near.child("position").attribute("x").as_llong();
      const long long y = near.child("position").attribute("y").as_llong();
      const bool in = std::string(kind) == "inVariable";
      position.append_attribute("x") = in ? std::max(0LL, x - 160) : x + near.attribute("width").as_llong() + 60;
      position.append_attribute("y") = y + dy;
      if (in) {
        pugi::xml_node rel = v.append_child("connectionPointOut").append_child("relPosition");
        rel.append_attribute("x") = 100;
        rel.append_attribute("y") = 10;
      } else {
        pugi::xml_node rel = v.append_child("connectionPointIn").append_child("relPosition");
        rel.append_attribute("x") = 0;
        rel.append_attribute("y") = 10;
      }
      SetText(v.append_child("expression"), expression);
      kept_[id] = v;
      claims_[id] = expression;
      return v;
    }

    static void Connect(pugi::xml_node point, long long ref, const std::string& formal) {
      pugi::xml_node connection = point.child("connection");
      if (!connection) connection = point.append_child("connection");
      for (pugi::xml_node extra = connection.next_sibling("connection"); extra;
           extra = connection.next_sibling("connection")) {
        point.remove_child(extra);
      }
      if (!connection.attribute("refLocalId")) connection.append_attribute("refLocalId");
      connection.attribute("refLocalId") = ref;
      if (formal.empty()) {
        connection.remove_attribute("formalParameter");
      } else {
        if (!connection.attribute("formalParameter")) connection.append_attribute("formalParameter");
        connection.attribute("formalParameter") = formal.c_str();
      }
    }

    pugi::xml_node PinElement(const std::string& block, const std::string& pin, const std::string& direction) {
      pugi::xml_node node = blocks_[block].node;
      const char* listName = direction == "out"     ? "outputVariables"
                             : direction == "inout" ? "inOutVariables"
                                                    : "inputVariables";
      pugi::xml_node list = node.child(listName);
      for (pugi::xml_node v = list.child("variable"); v; v = v.next_sibling("variable")) {
        if (pin == v.attribute("formalParameter").value()) return v;
      }
      return {};
    }

    // Each input of each block: its connection from the model, on the kept elements where they fit.
    void WirePins() {
      for (const auto& [name, object] : members_) {
        long long row = 0;
        for (const auto& [pin, direction] : Parameters(name)) {
          ++row;
          if (direction == "out") continue;
          const Feed feed = FeedOf(Relative(name) + "." + pin, ValueOf(name, pin));
          pugi::xml_node v = PinElement(name, pin, direction);
          if (!v) {
            if (feed.kind == Feed::None) continue;
            pugi::xml_node node = blocks_[name].node;
            const char* listName = direction == "inout" ? "inOutVariables" : "inputVariables";
            pugi::xml_node list = node.child(listName);
            if (!list) list = AddChild(node, listName, {"outputVariables", "addData", "documentation"});
            v = list.append_child("variable");
            v.append_attribute("formalParameter") = pin.c_str();
          }
          pugi::xml_node point = v.child("connectionPointIn");
          if (feed.kind == Feed::None) {
            while (point && point.child("connection")) point.remove_child(point.child("connection"));
            continue;
          }
          if (!point) point = v.prepend_child("connectionPointIn");
          const long long keptRef = point.child("connection").attribute("refLocalId").as_llong();
          const auto kept = kept_.find(keptRef);
          const std::string keptKind = kept != kept_.end() ? kept->second.name() : "";
          if (feed.kind == Feed::Pin) {
            const long long source = blocks_[feed.block].localId;
            if (keptKind == "continuation" && Claim(keptRef, "pin:" + feed.block + "." + feed.pin)) {
              const auto connector = connectors_.find(kept->second.attribute("name").value());
              if (connector != connectors_.end() &&
                  Claim(connector->second.attribute("localId").as_llong(), "pin:" + feed.block + "." + feed.pin)) {
                Connect(connector->second.child("connectionPointIn"), source, feed.pin);
                Connect(point, keptRef, "");
                continue;
              }
            }
            Connect(point, source, feed.pin);
          } else {
            if ((keptKind == "inVariable" || keptKind == "inOutVariable") && Claim(keptRef, feed.text)) {
              SetText(kept->second.child("expression"), feed.text);
              Connect(point, keptRef, point.child("connection").attribute("formalParameter").value());
              continue;
            }
            pugi::xml_node variable = NewVariable("inVariable", feed.text, blocks_[name].node, row * 20);
            Connect(point, variable.attribute("localId").as_llong(), "");
          }
        }
      }
    }

    bool Claim(long long id, const std::string& what) {
      const auto [it, added] = claims_.emplace(id, what);
      return added || it->second == what;
    }

    // Outputs into globals and the chart's interface: on the kept outVariables where they fit.
    void WireOutputs() {
      std::vector<pugi::xml_node> outVariables;
      for (const auto& [id, node] : kept_) {
        if (std::string(node.name()) == "outVariable") outVariables.push_back(node);
      }
      std::set<const Json*> done;
      const auto isVariable = [&](const std::string& to, std::string& name) {
        if (to.compare(0, 1, "@") == 0) {
          name = to.substr(1);
          return true;
        }
        if (to.compare(0, ref_.relative.size() + 1, ref_.relative + ".") == 0 &&
            to.find('/', ref_.relative.size()) == std::string::npos) {
          name = to.substr(ref_.relative.size() + 1);
          return true;
        }
        return false;
      };
      for (pugi::xml_node o : outVariables) {
        pugi::xml_node connection = o.child("connectionPointIn").child("connection");
        const long long ref = connection.attribute("refLocalId").as_llong();
        const std::string formal = connection.attribute("formalParameter").value();
        std::string block;
        for (const auto& [name, placed] : blocks_) {
          if (placed.localId == ref) block = name;
        }
        bool claimed = false;
        if (!block.empty()) {
          const auto it = outgoing_.find(Relative(block) + "." + formal);
          if (it != outgoing_.end()) {
            for (const Json* c : it->second) {
              std::string variable;
              if (done.count(c) || !isVariable(Text(*c, "to"), variable)) continue;
              done.insert(c);
              SetText(o.child("expression"), variable);
              claims_[o.attribute("localId").as_llong()] = variable;
              claimed = true;
              break;
            }
          }
        }
        if (!claimed) {
          const std::string expression = o.child("expression").text().get();
          if (globals_.count(expression) || interfaceVars_.count(expression) || block.empty()) {
            kept_.erase(o.attribute("localId").as_llong()); // before the node is gone
            fbd_.remove_child(o);
          }
        }
      }
      for (const auto& [name, object] : members_) {
        long long row = 0;
        for (const auto& [pin, direction] : Parameters(name)) {
          if (direction == "in") continue;
          ++row;
          const auto it = outgoing_.find(Relative(name) + "." + pin);
          if (it == outgoing_.end()) continue;
          for (const Json* c : it->second) {
            std::string variable;
            if (done.count(c) || !isVariable(Text(*c, "to"), variable)) continue;
            done.insert(c);
            if (!PinElement(name, pin, direction)) {
              pugi::xml_node node = blocks_[name].node;
              pugi::xml_node list = node.child("outputVariables");
              if (!list) list = AddChild(node, "outputVariables", {"addData", "documentation"});
              list.append_child("variable").append_attribute("formalParameter") = pin.c_str();
            }
            pugi::xml_node o = NewVariable("outVariable", variable, blocks_[name].node, row * 20);
            Connect(o.child("connectionPointIn"), blocks_[name].localId, pin);
          }
        }
      }
    }

    // Kept variables, continuations and connectors that fed pins the model no longer feeds from them.
    void DropUnused() {
      std::set<std::string> liveContinuations;
      for (auto it = kept_.begin(); it != kept_.end();) {
        const std::string kind = it->second.name();
        const bool feeder = kind == "inVariable" || kind == "inOutVariable" || kind == "continuation";
        if (feeder && referencedBefore_.count(it->first) && !claims_.count(it->first)) {
          fbd_.remove_child(it->second);
          it = kept_.erase(it);
          continue;
        }
        if (kind == "continuation") liveContinuations.insert(it->second.attribute("name").value());
        ++it;
      }
      for (auto it = kept_.begin(); it != kept_.end();) {
        const std::string name = it->second.attribute("name").value();
        if (std::string(it->second.name()) == "connector" && continuationsBefore_.count(name) &&
            !liveContinuations.count(name)) {
          fbd_.remove_child(it->second);
          it = kept_.erase(it);
          continue;
        }
        ++it;
      }
    }

    // Connections to elements that are gone are taken out.
    void CleanConnections() {
      std::set<long long> ids;
      for (pugi::xml_node e = fbd_.first_child(); e; e = e.next_sibling())
        ids.insert(e.attribute("localId").as_llong());
      for (pugi::xml_node e = fbd_.first_child(); e; e = e.next_sibling()) {
        for (pugi::xpath_node c : e.select_nodes(".//connection")) {
          if (!ids.count(c.node().attribute("refLocalId").as_llong())) c.parent().remove_child(c.node());
        }
      }
    }

    Writer& w_;
    pugi::xml_node fbd_;
    const ChartRef& ref_;
    const Json& chart_;
    std::vector<std::pair<std::string, const Json*>> members_;
    std::map<std::string, const Json*> byName_;
    std::set<std::string> subs_;
    std::set<std::string> interfaceVars_;
    const std::set<std::string>& globals_;
    const std::map<std::string, std::vector<const Json*>>& feeds_;
    const std::map<std::string, std::vector<const Json*>>& outgoing_;
    const std::map<std::string, const Json*>& types_;
    std::map<std::string, long long> runRank_;
    std::map<std::string, Placed> blocks_;
    std::set<std::string> generated_;
    std::map<long long, pugi::xml_node> kept_;
    std::map<std::string, pugi::xml_node> connectors_;
    std::set<long long> usedIds_;
    std::set<long long> referencedBefore_;
    std::set<std::string> continuationsBefore_;
    std::map<long long, std::string> claims_;
    long long nextId_ = 1;
  };

  // ---- instances -----------------------------------------------------------------------

  void WriteConfigurations(pugi::xml_node configurations, const Json& projectKeep) {
    std::map<std::string, pugi::xml_node> configs;
    for (const auto& c : Array(projectKeep, "configurations")) {
      pugi::xml_node config = AppendFragment(configurations, Text(c, "xml"));
      configs[Text(c, "name")] = config;
    }
    std::set<std::string> configGlobalsWritten;
    for (const auto& controller : Array(d_, "controllers")) {
      const Json& keep = Keep(controller);
      std::string configName = Text(keep, "configuration");
      if (configName.empty() || !configs.count(configName)) {
        configName = Text(Member(d_, "project"), "name", "Configuration");
        if (configName.empty()) configName = "Configuration";
        if (!configs.count(configName)) {
          pugi::xml_node config = configurations.append_child("configuration");
          config.append_attribute("name") = configName.c_str();
          configs[configName] = config;
        }
      }
      pugi::xml_node config = configs[configName];
      // Resources come first in a configuration, after the ones written before.
      const std::initializer_list<const char*> later = {"globalVars", "accessVars", "configVars", "addData",
                                                        "documentation"};
      const pugi::xml_node resource = KeptOrNew(config, keep, "resource", "resource", later, Text(controller, "name"));
      WriteResource(resource, config, controller, configGlobalsWritten.insert(configName).second);
    }
  }

  void WriteResource(pugi::xml_node resource, pugi::xml_node config, const Json& controller, bool configGlobals) {
    const Json& keep = Keep(controller);
    // Which task runs each root chart: the first group that holds the chart or one of its blocks.
    std::map<std::string, std::string> taskOf;
    std::vector<std::vector<std::string>> taskCharts;
    std::map<std::string, const Json*> roots;
    for (const auto& chart : Array(controller, "charts")) roots.emplace(Text(chart, "name"), &chart);
    for (const auto& t : Array(controller, "tasks")) {
      std::vector<std::string> charts;
      for (const auto& g : Array(t, "groups")) {
        std::vector<std::string> candidates;
        candidates.push_back(Text(g, "name"));
        for (const auto& m : Array(g, "members")) {
          if (m.is_string()) candidates.push_back(m.get<std::string>().substr(0, m.get<std::string>().find('/')));
        }
        for (const std::string& c : candidates) {
          if (roots.count(c) && !taskOf.count(c)) {
            taskOf[c] = Text(t, "name");
            charts.push_back(c);
          }
        }
      }
      taskCharts.push_back(charts);
    }
    // A pouInstance of a root chart: in a task before its addData and documentation.
    const auto instanceOf = [&](pugi::xml_node parent, const Json& chart, std::initializer_list<const char*> later) {
      pugi::xml_node instance = KeptOrNew(parent, Keep(chart), "instance", "pouInstance", later, Text(chart, "name"));
      if (!instance.attribute("typeName")) instance.append_attribute("typeName");
      instance.attribute("typeName") = charts_[&chart].pou.c_str();
    };
    const std::initializer_list<const char*> resourceTail = {"addData", "documentation"};
    std::size_t taskIndex = 0;
    for (const auto& t : Array(controller, "tasks")) {
      pugi::xml_node task = KeptOrNew(resource, Keep(t), "xml", "task", resourceTail, Text(t, "name"));
      const long long cycle = Integer(t, "cycleMs", 0);
      const auto keptInterval = ParseDuration(task.attribute("interval").value());
      if (!(keptInterval && *keptInterval == cycle) && (cycle > 0 || task.attribute("interval"))) {
        if (!task.attribute("interval")) task.append_attribute("interval");
        task.attribute("interval") = FormatDuration(cycle).c_str();
      }
      if (!task.attribute("priority")) task.append_attribute("priority");
      task.attribute("priority") = Integer(t, "priority", 0);
      for (const std::string& name : taskCharts[taskIndex])
        instanceOf(task, *roots[name], {"addData", "documentation"});
      ++taskIndex;
    }
    const Json& lists = Array(keep, "globalVars");
    std::map<long long, pugi::xml_node> written;
    pugi::xml_node fresh;
    for (const auto& g : Array(controller, "globals")) {
      const long long index = Integer(Keep(g), "list", -1);
      pugi::xml_node list;
      if (index >= 0 && static_cast<std::size_t>(index) < lists.size()) {
        const bool configurationList = Text(lists[index], "scope") == "configuration";
        if (configurationList && !configGlobals) continue;
        list = written[index];
        if (!list) {
          list = configurationList
                     ? AddFragment(config, Text(lists[index], "xml"),
                                   {"accessVars", "configVars", "addData", "documentation"})
                     : AddFragment(resource, Text(lists[index], "xml"), {"pouInstance", "addData", "documentation"});
          written[index] = list;
        }
      } else {
        if (!fresh) fresh = AddChild(resource, "globalVars", {"pouInstance", "addData", "documentation"});
        list = fresh;
      }
      WriteVariable(list, g, false);
    }
    for (const auto& chart : Array(controller, "charts")) {
      if (!taskOf.count(Text(chart, "name"))) instanceOf(resource, chart, resourceTail);
    }
  }

  const Json& d_;
  std::map<const Json*, ChartRef> charts_;
  std::map<const Json*, ControllerIndex> indexes_;
  std::map<std::string, std::pair<const Json*, const Json*>> pouCharts_;
  std::vector<std::string> pouOrder_;
};

} // namespace

void WriteProject(const nlohmann::json& description, std::ostream& out) {
  Writer(description).Run(out);
}

} // namespace grx::plcopen
