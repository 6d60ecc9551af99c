// Reading a TC6 XML 2.01 project into a project description (docs/plcopen.md): resources become
// controllers, program instances root charts, FBD bodies blocks and connections; what the chart
// model cannot hold is kept verbatim in the description's "plcopen" members.
#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <set>

#include "iec_literals.h"
#include "iec_standard_types.h"
#include "plcopen.h"
#include "xml_fragments.h"

namespace grx::plcopen {
namespace {

using Json = nlohmann::ordered_json;

// Function blocks inside function blocks are charts inside charts; deeper nesting is refused.
constexpr int kMaxTypeDepth = 64;
// The most charts one file may make (function-block instances unfold into sub-charts).
constexpr std::size_t kMaxCharts = 1000000;

struct BodyElement {
  pugi::xml_node node;
  std::string kind; // local name: block, inVariable, ...
};

// A block type a controller's blocks use, with the parameters in their order.
struct TypeUse {
  std::string name;
  bool function = false;
  std::vector<FormalParameter> parameters;
  std::map<std::string, Json> elements; // of structured parameters, by parameter name
  bool fromFile = false;
  bool known = true;
};

// Where a pin is fed from, once connectors and continuations are followed.
struct Source {
  enum Kind { None, Pin, Literal, Expression } kind = None;
  std::string path;       // Pin: the relative path of the source pin
  std::string expression; // Literal / Expression: the text
};

struct ControllerState {
  std::string name;
  std::map<std::string, bool> globals; // name -> present
  std::map<std::string, TypeUse> types;
  std::vector<std::string> typeOrder;
  Json connections = Json::array();
  std::vector<pugi::xml_node> connectionNodes; // where each connection comes from
};

// What a chart is built from, and what the run sequence takes from it.
struct ChartResult {
  Json chart;
  std::vector<std::pair<long long, std::string>> runOrder; // executionOrderId -> relative member path
};

class Reader {
public:
  Reader(std::string xml, const std::string& file, const std::string& locate)
      : xml_(std::move(xml)), file_(file), locate_(locate) {
    if (xml_.size() >= UINT32_MAX) throw PlcOpenError(file_, 1, 1, "the file is larger than 4 GB");
    lineStarts_.push_back(0);
    for (std::size_t i = 0; i < xml_.size(); ++i) {
      if (xml_[i] == '\n') lineStarts_.push_back(static_cast<std::uint32_t>(i + 1));
    }
  }

  ReadResult Run() {
    // Parsed in place: the document's texts stay in the file's own bytes.
    const pugi::xml_parse_result parsed =
        doc_.load_buffer_inplace(xml_.data(), xml_.size(), pugi::parse_default | pugi::parse_declaration);
    if (!parsed) FailAt(parsed.offset, std::string("malformed XML: ") + parsed.description());
    pugi::xml_node root = doc_.document_element();
    if (!root) FailAt(0, "no root element");
    ReadRoot(root);
    return std::move(result_);
  }

private:
  // ---- places and faults ----------------------------------------------------------------

  std::pair<int, int> LineColumn(std::ptrdiff_t offset) const {
    if (offset < 0) offset = 0;
    const auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), static_cast<std::uint32_t>(offset));
    const std::size_t line = static_cast<std::size_t>(it - lineStarts_.begin());
    return {static_cast<int>(line), static_cast<int>(static_cast<std::size_t>(offset) - lineStarts_[line - 1] + 1)};
  }
  // An element's place is its "<" (pugixml's offset is its name's).
  std::pair<int, int> LineColumn(const pugi::xml_node& node) const {
    const std::ptrdiff_t offset = node.offset_debug();
    return LineColumn(node.type() == pugi::node_element && offset > 0 ? offset - 1 : offset);
  }
  int Line(const pugi::xml_node& node) const { return LineColumn(node).first; }

  [[noreturn]] void FailAt(std::ptrdiff_t offset, const std::string& what) const {
    const auto [line, column] = LineColumn(offset);
    throw PlcOpenError(file_, line, column, what);
  }
  [[noreturn]] void Fail(const pugi::xml_node& node, const std::string& what) const {
    const auto [line, column] = LineColumn(node);
    throw PlcOpenError(file_, line, column, what);
  }
  void Warn(const pugi::xml_node& node, const std::string& what) {
    result_.warnings.push_back(Warning{file_, Line(node), what});
  }
  // The place of a node of the description, kept only when it leads to the path asked for.
  void Place(const std::string& path, const pugi::xml_node& node) {
    if (locate_.compare(0, path.size(), path) != 0 || (locate_.size() > path.size() && locate_[path.size()] != '/')) {
      return;
    }
    const auto [line, column] = LineColumn(node);
    result_.places.push_back(SourcePlace{path, line, column});
  }

  // ---- elements -------------------------------------------------------------------------

  std::string Local(const pugi::xml_node& node) const { return LocalName(node, prefix_); }
  pugi::xml_node Child(const pugi::xml_node& node, const char* local) const {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
      if (c.type() == pugi::node_element && Local(c) == local) return c;
    }
    return {};
  }
  std::vector<pugi::xml_node> Children(const pugi::xml_node& node, const char* local) const {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
      if (c.type() == pugi::node_element && Local(c) == local) found.push_back(c);
    }
    return found;
  }
  std::string Required(const pugi::xml_node& node, const char* attribute) const {
    const pugi::xml_attribute a = node.attribute(attribute);
    if (!a) Fail(node, "<" + Local(node) + "> has no " + attribute + " attribute");
    return a.value();
  }
  long long Number(const pugi::xml_node& node, const char* attribute, long long fallback) const {
    const pugi::xml_attribute a = node.attribute(attribute);
    if (!a) return fallback;
    const std::string text = a.value();
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != 0) Fail(node, std::string(attribute) + " is no whole number: \"" + text + "\"");
    return value;
  }
  std::string Fragment(const pugi::xml_node& node) const { return FragmentText(node, prefix_); }
  // A copy of the element as text without the children the predicate picks.
  template <class Drop>
  std::string Skeleton(const pugi::xml_node& node, Drop drop) const {
    pugi::xml_document copy;
    pugi::xml_node root = copy.append_copy(node);
    for (pugi::xml_node c = root.first_child(); c;) {
      pugi::xml_node next = c.next_sibling();
      if (c.type() == pugi::node_element && drop(c)) root.remove_child(c);
      c = next;
    }
    return FragmentText(root, prefix_);
  }
  // The text of a <documentation> child, for comments.
  std::string Documentation(const pugi::xml_node& node) const {
    const pugi::xml_node doc = Child(node, "documentation");
    return doc ? DocumentationText(doc) : std::string();
  }

  // ---- the document ---------------------------------------------------------------------

  void ReadRoot(const pugi::xml_node& root) {
    const std::string name = root.name();
    const std::size_t colon = name.find(':');
    prefix_ = colon == std::string::npos ? "" : name.substr(0, colon + 1);
    const std::string local = colon == std::string::npos ? name : name.substr(colon + 1);
    const std::string xmlns = prefix_.empty() ? "xmlns" : "xmlns:" + prefix_.substr(0, prefix_.size() - 1);
    const std::string ns = root.attribute(xmlns.c_str()).value();
    if (ns != kNamespace) {
      Fail(root,
           "<" + name + "> is in the namespace \"" + ns + "\"; grx reads PLCopen TC6 XML 2.01 (" + kNamespace + ")");
    }
    if (local != "project") Fail(root, "the root element is <" + name + ">, not a TC6 <project>");

    Json keep = Json::object();
    Json rootAttributes = Json::object();
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
      if (xmlns != a.name()) rootAttributes[a.name()] = a.value();
    }
    if (!rootAttributes.empty()) keep["rootAttributes"] = std::move(rootAttributes);

    const pugi::xml_node fileHeader = Child(root, "fileHeader");
    const pugi::xml_node contentHeader = Child(root, "contentHeader");
    if (!fileHeader) Fail(root, "the project has no <fileHeader>");
    if (!contentHeader) Fail(root, "the project has no <contentHeader>");
    keep["fileHeader"] = Fragment(fileHeader);
    keep["contentHeader"] = Fragment(contentHeader);
    Json project = Json::object();
    project["name"] = Required(contentHeader, "name");

    const pugi::xml_node types = Child(root, "types");
    if (!types) Fail(root, "the project has no <types>");
    if (const pugi::xml_node dataTypes = Child(types, "dataTypes")) {
      keep["dataTypes"] = Fragment(dataTypes);
      ReadDataTypes(dataTypes);
    }
    const pugi::xml_node pous = Child(types, "pous");
    if (!pous) Fail(types, "<types> has no <pous>");
    for (const pugi::xml_node& pou : Children(pous, "pou")) {
      const std::string pouName = Required(pou, "name");
      Required(pou, "pouType");
      if (!pous_.emplace(pouName, pou).second) {
        Fail(pou, "a second POU is named \"" + pouName + "\" (the first is at line " +
                      std::to_string(Line(pous_[pouName])) + ")");
      }
      pouOrder_.push_back(pouName);
    }

    Json controllers = Json::array();
    Json configurations = Json::array();
    const pugi::xml_node instances = Child(root, "instances");
    if (!instances) Fail(root, "the project has no <instances>");
    const pugi::xml_node configs = Child(instances, "configurations");
    if (!configs) Fail(instances, "<instances> has no <configurations>");
    CountUnfolding(configs);
    std::map<std::string, pugi::xml_node> resourceNames;
    for (const pugi::xml_node& config : Children(configs, "configuration")) {
      const std::string configName = Required(config, "name");
      const auto resources = Children(config, "resource");
      const bool hasResources = !resources.empty();
      configurations.push_back(Json{{"name", configName}, {"xml", Skeleton(config, [&](const pugi::xml_node& c) {
                                                             const std::string l = Local(c);
                                                             return l == "resource" ||
                                                                    (hasResources && l == "globalVars");
                                                           })}});
      for (const pugi::xml_node& resource : resources) {
        const std::string resourceName = Required(resource, "name");
        if (const auto [it, added] = resourceNames.emplace(resourceName, resource); !added) {
          Fail(resource, "two resources are named \"" + resourceName + "\": at line " +
                             std::to_string(Line(it->second)) + " and at line " + std::to_string(Line(resource)));
        }
        const std::string path = "/controllers/" + std::to_string(controllers.size());
        controllers.push_back(ReadResource(config, resource, path));
      }
    }
    keep["configurations"] = std::move(configurations);

    // POUs in file order: the ones charts are made from are written again from their charts.
    Json pouList = Json::array();
    for (const std::string& pouName : pouOrder_) {
      if (chartPous_.count(pouName)) {
        pouList.push_back(Json{{"name", pouName}, {"chart", true}});
      } else {
        pouList.push_back(Json{{"name", pouName}, {"xml", Fragment(pous_[pouName])}});
      }
    }
    keep["pous"] = std::move(pouList);
    Json tail = Json::array();
    bool afterInstances = false;
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      if (c == instances) {
        afterInstances = true;
      } else if (afterInstances) {
        tail.push_back(Fragment(c));
      }
    }
    if (!tail.empty()) keep["tail"] = std::move(tail);
    project["plcopen"] = std::move(keep);

    Json& d = result_.description;
    d["format"] = "grx-project/1";
    d["project"] = std::move(project);
    d["controllers"] = std::move(controllers);
  }

  // ---- data types -----------------------------------------------------------------------

  void ReadDataTypes(const pugi::xml_node& dataTypes) {
    for (const pugi::xml_node& t : Children(dataTypes, "dataType")) {
      const std::string name = Required(t, "name");
      if (dataTypes_.count(name)) Fail(t, "a second data type is named \"" + name + "\"");
      dataTypes_[name] = t;
    }
  }

  // The description's data type of a TC6 <type> (or <baseType>) element, with the elements of a
  // structure; an empty name when the model has no such type.
  std::string TypeName(const pugi::xml_node& type, Json* elements, int depth = 0) {
    if (!type || depth > kMaxTypeDepth) return {};
    pugi::xml_node t = type.first_child();
    while (t && t.type() != pugi::node_element) t = t.next_sibling();
    if (!t) return {};
    const std::string kind = Local(t);
    static const std::set<std::string> elementary = {"BOOL",  "BYTE", "WORD",  "DWORD", "LWORD", "SINT",  "INT",
                                                     "DINT",  "LINT", "USINT", "UINT",  "UDINT", "ULINT", "REAL",
                                                     "LREAL", "TIME", "DATE",  "DT",    "TOD",   "CHAR"};
    if (elementary.count(kind)) return kind;
    if (kind == "string") return "STRING";
    if (kind == "array") return "ARRAY";
    if (kind == "enum") return "UDTYPE";
    if (kind == "struct") {
      if (elements) StructElements(t, *elements, depth);
      return "STRUCT";
    }
    if (kind == "subrangeSigned" || kind == "subrangeUnsigned")
      return TypeName(Child(t, "baseType"), elements, depth + 1);
    if (kind == "derived") {
      const std::string name = t.attribute("name").value();
      const auto it = dataTypes_.find(name);
      if (it == dataTypes_.end()) return {};
      return TypeName(Child(it->second, "baseType"), elements, depth + 1);
    }
    return {};
  }

  void StructElements(const pugi::xml_node& structure, Json& elements, int depth) {
    for (const pugi::xml_node& v : Children(structure, "variable")) {
      Json e = Json::object();
      e["name"] = Required(v, "name");
      Json nested = Json::array();
      const std::string type = TypeName(Child(v, "type"), &nested, depth + 1);
      e["type"] = type.empty() ? "ANY" : type;
      if (const std::string value = InitialValue(v, *this); !value.empty()) e["value"] = value;
      if (!nested.empty()) e["elements"] = std::move(nested);
      elements.push_back(std::move(e));
    }
  }

  static std::string InitialValue(const pugi::xml_node& variable, const Reader& r) {
    const pugi::xml_node initial = r.Child(variable, "initialValue");
    if (!initial) return {};
    const pugi::xml_node simple = r.Child(initial, "simpleValue");
    return simple ? simple.attribute("value").value() : std::string();
  }

  // ---- resources ------------------------------------------------------------------------

  Json ReadResource(const pugi::xml_node& config, const pugi::xml_node& resource, const std::string& path) {
    ControllerState state;
    state.name = resource.attribute("name").value();
    controller_ = &state;
    Json c = Json::object();
    c["name"] = state.name;
    Place(path, resource);
    Json keep = Json::object();
    keep["configuration"] = config.attribute("name").value();
    keep["resource"] = Skeleton(resource, [&](const pugi::xml_node& n) {
      const std::string l = Local(n);
      return l == "task" || l == "globalVars" || l == "pouInstance";
    });

    Json globals = Json::array();
    Json lists = Json::array();
    const auto readLists = [&](const pugi::xml_node& owner, const char* scope) {
      for (const pugi::xml_node& list : Children(owner, "globalVars")) {
        const std::size_t index = lists.size();
        lists.push_back(Json{{"scope", scope},
                             {"xml", Skeleton(list, [&](const pugi::xml_node& n) { return Local(n) == "variable"; })}});
        for (const pugi::xml_node& v : Children(list, "variable")) {
          Json g = Json::object();
          g["name"] = Required(v, "name");
          Json elements = Json::array();
          const std::string type = TypeName(Child(v, "type"), &elements);
          if (!type.empty()) g["type"] = type;
          if (const std::string comment = Documentation(v); !comment.empty()) g["comment"] = comment;
          if (!elements.empty()) g["elements"] = std::move(elements);
          g["plcopen"] = Json{{"list", index}, {"type", type}, {"xml", Fragment(v)}};
          state.globals[g["name"].get<std::string>()] = true;
          Place(path + "/globals/" + std::to_string(globals.size()), v);
          globals.push_back(std::move(g));
        }
      }
    };
    readLists(config, "configuration");
    readLists(resource, "resource");
    keep["globalVars"] = std::move(lists);

    Json charts = Json::array();
    Json tasks = Json::array();
    const auto addInstance = [&](const pugi::xml_node& instance, const std::string& taskName, Json* groups) {
      const std::string name = Required(instance, "name");
      const std::string typeName = Required(instance, "typeName");
      const auto pou = pous_.find(typeName);
      if (pou == pous_.end())
        Fail(instance, "the instance " + name + " names no POU of the file: \"" + typeName + "\"");
      const std::string chartPath = path + "/charts/" + std::to_string(charts.size());
      ChartResult built = BuildChart(pou->second, name, name, chartPath, 0);
      Json& chartKeep = built.chart["plcopen"];
      chartKeep["instance"] = Fragment(instance);
      if (!taskName.empty()) chartKeep["task"] = taskName;
      Place(chartPath, instance);
      charts.push_back(std::move(built.chart));
      if (groups == nullptr) return;
      std::stable_sort(built.runOrder.begin(), built.runOrder.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      Json members = Json::array();
      for (const auto& m : built.runOrder) members.push_back(m.second);
      Json group = Json::object();
      group["name"] = name;
      if (!members.empty()) group["members"] = std::move(members);
      Place(path + "/tasks/" + std::to_string(tasks.size()) + "/groups/" + std::to_string(groups->size()), instance);
      groups->push_back(std::move(group));
    };
    for (const pugi::xml_node& task : Children(resource, "task")) {
      Json t = Json::object();
      t["name"] = Required(task, "name");
      Json taskKeep = Json::object();
      taskKeep["xml"] = Skeleton(task, [&](const pugi::xml_node& n) { return Local(n) == "pouInstance"; });
      if (const pugi::xml_attribute interval = task.attribute("interval")) {
        const auto ms = ParseDuration(interval.value());
        if (!ms || *ms < 0 || *ms > INT32_MAX) {
          Fail(task, std::string("the interval \"") + interval.value() + "\" of task " + t["name"].get<std::string>() +
                         " is no duration such as T#20ms");
        }
        t["cycleMs"] = *ms;
      }
      if (task.attribute("single")) t["kind"] = 1;
      t["priority"] = Number(task, "priority", 0);
      t["plcopen"] = std::move(taskKeep);
      Place(path + "/tasks/" + std::to_string(tasks.size()), task);
      Json groups = Json::array();
      for (const pugi::xml_node& instance : Children(task, "pouInstance")) {
        addInstance(instance, t["name"].get<std::string>(), &groups);
      }
      if (!groups.empty()) t["groups"] = std::move(groups);
      tasks.push_back(std::move(t));
    }
    for (const pugi::xml_node& instance : Children(resource, "pouInstance")) addInstance(instance, "", nullptr);

    Json blockTypes = Json::array();
    for (const std::string& typeName : state.typeOrder) blockTypes.push_back(BlockType(state.types[typeName]));
    if (!blockTypes.empty()) c["blockTypes"] = std::move(blockTypes);
    if (!globals.empty()) c["globals"] = std::move(globals);
    if (!charts.empty()) c["charts"] = std::move(charts);
    if (!tasks.empty()) c["tasks"] = std::move(tasks);
    if (!state.connections.empty()) {
      if (locate_.compare(0, path.size() + 13, path + "/connections/") == 0) {
        for (std::size_t i = 0; i < state.connectionNodes.size(); ++i) {
          Place(path + "/connections/" + std::to_string(i), state.connectionNodes[i]);
        }
      }
      c["connections"] = std::move(state.connections);
    }
    c["plcopen"] = std::move(keep);
    controller_ = nullptr;
    return c;
  }

  // Elements of a structured variable as elements of a parameter type: their values are defaults.
  static Json TypeElements(Json elements) {
    std::vector<Json*> stack{&elements};
    while (!stack.empty()) {
      Json* list = stack.back();
      stack.pop_back();
      for (auto& e : *list) {
        if (const auto value = e.find("value"); value != e.end()) {
          Json text = std::move(*value);
          e.erase("value");
          e["default"] = std::move(text);
        }
        if (const auto nested = e.find("elements"); nested != e.end()) stack.push_back(&*nested);
      }
    }
    return elements;
  }

  static Json BlockType(const TypeUse& use) {
    Json t = Json::object();
    t["name"] = use.name;
    if (use.function) t["kind"] = "function";
    if (!use.fromFile) t["library"] = use.known ? "IEC 61131-3" : "";
    Json params = Json::array();
    for (const FormalParameter& p : use.parameters) {
      Json j = Json::object();
      j["name"] = p.name;
      if (p.direction != "in") j["direction"] = p.direction;
      j["type"] = p.type;
      if (const auto e = use.elements.find(p.name); e != use.elements.end()) j["elements"] = TypeElements(e->second);
      params.push_back(std::move(j));
    }
    t["parameters"] = std::move(params);
    // Where the type comes from: the writer writes no POU for it (the file's own POUs are kept).
    t["plcopen"] = Json{{"origin", use.fromFile ? "file" : use.known ? "standard" : "unknown"}};
    return t;
  }

  // ---- POU interfaces -------------------------------------------------------------------

  struct InterfaceVar {
    std::string name;
    std::string direction;
  };

  static const char* DirectionOfList(const std::string& list) {
    if (list == "inputVars") return "in";
    if (list == "outputVars") return "out";
    if (list == "inOutVars") return "inout";
    return nullptr;
  }

  // The interface of a POU: the chart interface variables (inputs, outputs, in-outs) with their
  // list index in the kept interface, and the other variable lists.
  Json InterfaceOf(const pugi::xml_node& pou, std::map<std::string, InterfaceVar>& vars) {
    Json interface = Json::array();
    const pugi::xml_node in = Child(pou, "interface");
    if (!in) return interface;
    int index = 0;
    for (pugi::xml_node list = in.first_child(); list; list = list.next_sibling()) {
      if (list.type() != pugi::node_element) continue;
      const char* direction = DirectionOfList(Local(list));
      if (direction != nullptr) {
        for (const pugi::xml_node& v : Children(list, "variable")) {
          Json j = Json::object();
          j["name"] = Required(v, "name");
          if (std::strcmp(direction, "in") != 0) j["direction"] = direction;
          Json elements = Json::array();
          const std::string type = TypeName(Child(v, "type"), &elements);
          if (!type.empty()) j["type"] = type;
          if (const std::string value = InitialValue(v, *this); !value.empty() && std::strcmp(direction, "out") != 0) {
            j["value"] = value;
          }
          if (const std::string comment = Documentation(v); !comment.empty()) j["comment"] = comment;
          if (!elements.empty()) j["elements"] = std::move(elements);
          j["plcopen"] = Json{{"list", index}, {"type", type}, {"xml", Fragment(v)}};
          vars[j["name"].get<std::string>()] = InterfaceVar{j["name"].get<std::string>(), direction};
          interface.push_back(std::move(j));
        }
      }
      ++index;
    }
    return interface;
  }

  // The kept POU: everything but the chart interface variables and the elements of its FBD body.
  std::string PouSkeleton(const pugi::xml_node& pou) const {
    pugi::xml_document copy;
    pugi::xml_node root = copy.append_copy(pou);
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      const std::string local = Local(c);
      if (local == "interface") {
        for (pugi::xml_node list = c.first_child(); list; list = list.next_sibling()) {
          if (list.type() != pugi::node_element || DirectionOfList(Local(list)) == nullptr) continue;
          for (pugi::xml_node v = list.first_child(); v;) {
            pugi::xml_node next = v.next_sibling();
            if (v.type() == pugi::node_element && Local(v) == "variable") list.remove_child(v);
            v = next;
          }
        }
      } else if (local == "body") {
        if (pugi::xml_node fbd = Child(c, "FBD")) {
          while (fbd.first_child()) fbd.remove_child(fbd.first_child());
        }
      }
    }
    return FragmentText(root, prefix_);
  }

  // ---- charts ---------------------------------------------------------------------------

  // The body language of a POU: FBD, ST, IL, LD, SFC or "" (no body).
  std::string BodyKind(const pugi::xml_node& pou) const {
    const pugi::xml_node body = Child(pou, "body");
    if (!body) return {};
    for (pugi::xml_node c = body.first_child(); c; c = c.next_sibling()) {
      if (c.type() == pugi::node_element && !Local(c).empty() && Local(c) != "addData" && Local(c) != "documentation") {
        return Local(c);
      }
    }
    return {};
  }

  // A chart made from a POU: a root chart of a program instance or a sub-chart of a function-block
  // instance. chartPath is the description's path of the chart, relative its object path.
  ChartResult BuildChart(const pugi::xml_node& pou, const std::string& name, const std::string& relative,
                         const std::string& chartPath, int depth) {
    if (++chartCount_ > kMaxCharts) Fail(pou, "the file unfolds into more than 1000000 charts");
    const std::string pouName = pou.attribute("name").value();
    ChartResult result;
    Json& chart = result.chart;
    chart["name"] = name;
    if (const std::string comment = Documentation(pou); !comment.empty()) chart["comment"] = comment;
    std::map<std::string, InterfaceVar> vars;
    Json interface = InterfaceOf(pou, vars);
    for (std::size_t i = 0; i < interface.size(); ++i) {
      Place(chartPath + "/interface/" + std::to_string(i), pou);
    }
    if (!interface.empty()) chart["interface"] = std::move(interface);
    chartPous_.insert(pouName);
    Json keep = Json::object();
    keep["pou"] = pouName;
    keep["pouXml"] = PouSkeleton(pou);
    const std::string kind = BodyKind(pou);
    if (kind != "FBD") {
      const std::string pouType = pou.attribute("pouType").value();
      if (!kind.empty()) Warn(pou, "the " + kind + " body of " + pouType + " " + pouName + " is kept as text");
      chart["plcopen"] = std::move(keep);
      return result;
    }
    stack_.push_back(pouName);
    ReadFbd(Child(Child(pou, "body"), "FBD"), chart, keep, vars, relative, chartPath, depth, result.runOrder);
    stack_.pop_back();
    chart["plcopen"] = std::move(keep);
    Release(pouName);
    return result;
  }

  // How many charts each POU with an FBD body unfolds into: its instances and, for a function
  // block, the blocks of its type in the bodies of the others times their own count. Once the last
  // of them is built the POU's elements are freed, so that a file is not held whole while the
  // description made of it grows. Types that contain each other free nothing (the file is refused).
  void CountUnfolding(const pugi::xml_node& configs) {
    constexpr long long kMany = 1LL << 40;
    std::map<std::string, long long> count;
    for (pugi::xpath_node i : configs.select_nodes(".//*[local-name()='pouInstance']")) {
      ++count[i.node().attribute("typeName").value()];
    }
    std::map<std::string, std::map<std::string, long long>> uses;
    std::map<std::string, int> users;
    for (const auto& [name, pou] : pous_) {
      if (BodyKind(pou) != "FBD") continue;
      users.emplace(name, 0);
      for (const pugi::xml_node& block : Children(Child(Child(pou, "body"), "FBD"), "block")) {
        const std::string type = block.attribute("typeName").value();
        const auto f = pous_.find(type);
        if (f == pous_.end() || BodyKind(f->second) != "FBD" ||
            std::string(f->second.attribute("pouType").value()) != "functionBlock") {
          continue;
        }
        if (uses[name][type]++ == 0) ++users[type];
      }
    }
    // In an order where every POU comes before the ones its body uses.
    std::vector<std::string> ready;
    for (const auto& [name, n] : users) {
      if (n == 0) ready.push_back(name);
    }
    std::size_t done = 0;
    while (!ready.empty()) {
      const std::string name = ready.back();
      ready.pop_back();
      ++done;
      for (const auto& [type, n] : uses[name]) {
        count[type] = std::min(kMany, count[type] + std::min(kMany, count[name]) * n);
        if (--users[type] == 0) ready.push_back(type);
      }
    }
    if (done != users.size()) return;
    for (const auto& [name, n] : users) {
      if (count[name] < kMany) remaining_[name] = count[name];
    }
  }

  void Release(const std::string& pouName) {
    const auto it = remaining_.find(pouName);
    if (it == remaining_.end() || --it->second > 0) return;
    remaining_.erase(it);
    pugi::xml_node& pou = pous_[pouName];
    pou.parent().remove_child(pou);
    pou = pugi::xml_node();
  }

  void ReadFbd(const pugi::xml_node& fbd, Json& chart, Json& keep, const std::map<std::string, InterfaceVar>& vars,
               const std::string& relative, const std::string& chartPath, int depth,
               std::vector<std::pair<long long, std::string>>& runOrder) {
    // Every element by its localId, in document order.
    std::map<long long, BodyElement> byId;
    std::vector<BodyElement> elements;
    std::map<std::string, pugi::xml_node> connectors;
    for (pugi::xml_node e = fbd.first_child(); e; e = e.next_sibling()) {
      if (e.type() != pugi::node_element) continue;
      BodyElement element{e, Local(e)};
      if (!e.attribute("localId")) Fail(e, "<" + element.kind + "> has no localId attribute");
      const long long id = Number(e, "localId", 0);
      if (const auto [it, added] = byId.emplace(id, element); !added) {
        Fail(e, "a second element has localId " + std::to_string(id) + " (the first is at line " +
                    std::to_string(Line(it->second.node)) + ")");
      }
      if (element.kind == "connector") {
        const std::string connectorName = Required(e, "name");
        if (!connectors.emplace(connectorName, e).second)
          Fail(e, "a second connector is named \"" + connectorName + "\"");
      }
      elements.push_back(element);
    }

    // Blocks first: their names and what they are (blocks or sub-charts).
    struct BlockInfo {
      std::string name;
      bool subChart = false;
      Json* object = nullptr;
    };
    std::map<long long, BlockInfo> blocks;
    std::set<std::string> names;
    Json blockList = Json::array();
    Json subCharts = Json::array();
    std::vector<std::pair<long long, ChartResult>> pendingSubs;
    Json elementList = Json::array();
    for (const BodyElement& e : elements) {
      const long long id = Number(e.node, "localId", 0);
      if (e.kind != "block") {
        elementList.push_back(Json{{"localId", id}, {"xml", Fragment(e.node)}});
        continue;
      }
      const std::string typeName = Required(e.node, "typeName");
      const std::string instance = e.node.attribute("instanceName").value();
      const std::string blockName = instance.empty() ? typeName + std::to_string(id) : instance;
      if (!names.insert(blockName).second) {
        Fail(e.node, "a second block of " + relative + " is named \"" + blockName + "\"");
      }
      elementList.push_back(Json{{"block", blockName}});
      Json blockKeep = Json::object();
      blockKeep["localId"] = id;
      blockKeep["xml"] = Fragment(e.node);
      if (instance.empty()) blockKeep["unnamed"] = true;
      const auto pou = pous_.find(typeName);
      if (pou != pous_.end() && std::string(pou->second.attribute("pouType").value()) == "functionBlock" &&
          BodyKind(pou->second) == "FBD") {
        if (std::find(stack_.begin(), stack_.end(), typeName) != stack_.end() || depth + 1 > kMaxTypeDepth) {
          std::string cycle;
          const auto first = std::find(stack_.begin(), stack_.end(), typeName);
          for (auto it = first == stack_.end() ? stack_.begin() : first; it != stack_.end(); ++it)
            cycle += *it + " -> ";
          Fail(e.node, "the function block " + typeName + " contains itself: " + cycle + typeName);
        }
        const std::string subPath = chartPath + "/charts/" + std::to_string(pendingSubs.size());
        ChartResult sub = BuildChart(pou->second, blockName, relative + "/" + blockName, subPath, depth + 1);
        sub.chart["plcopen"]["block"] = std::move(blockKeep);
        Place(subPath, e.node);
        pendingSubs.emplace_back(id, std::move(sub));
        blocks[id] = BlockInfo{blockName, true, nullptr};
        runOrder.emplace_back(Number(e.node, "executionOrderId", 0), relative + "/" + blockName);
        continue;
      }
      Json block = Json::object();
      block["name"] = blockName;
      block["type"] = UseType(typeName, e.node);
      if (const std::string comment = Documentation(e.node); !comment.empty()) block["comment"] = comment;
      block["plcopen"] = std::move(blockKeep);
      Place(chartPath + "/blocks/" + std::to_string(blockList.size()), e.node);
      blockList.push_back(std::move(block));
      blocks[id] = BlockInfo{blockName, false, nullptr};
      runOrder.emplace_back(Number(e.node, "executionOrderId", 0), relative + "/" + blockName);
    }
    // Execution order 0 or missing: document order after the numbered ones.
    for (auto& r : runOrder) {
      if (r.first <= 0) r.first = std::numeric_limits<long long>::max();
    }
    for (std::size_t i = 0; i < blockList.size(); ++i) {
      blocks[blockList[i]["plcopen"]["localId"].get<long long>()].object = &blockList[i];
    }
    for (auto& [id, sub] : pendingSubs) subCharts.push_back(std::move(sub.chart));
    for (std::size_t i = 0; i < subCharts.size(); ++i) {
      blocks[pendingSubs[i].first].object = &subCharts[i];
    }

    // The path of a block's pin: BLOCK.PIN for a block, SUB.PIN (its interface) for a sub-chart.
    const auto pinPath = [&](long long id, const std::string& pin) {
      return relative + "/" + blocks[id].name + "." + pin;
    };
    const auto checkPin = [&](const pugi::xml_node& at, long long id, const std::string& pin) {
      if (pin.empty()) Fail(at, "a connection to block " + blocks[id].name + " names no formalParameter");
    };

    // What feeds a connectionPointIn, connectors and continuations followed.
    const auto sourceOf = [&](const pugi::xml_node& connection) {
      Source source;
      pugi::xml_node at = connection;
      std::set<long long> seen;
      for (;;) {
        const long long ref = Number(at, "refLocalId", -1);
        if (!at.attribute("refLocalId")) Fail(at, "<connection> has no refLocalId attribute");
        const auto it = byId.find(ref);
        if (it == byId.end()) Fail(at, "refLocalId " + std::to_string(ref) + " names no element of the body");
        if (!seen.insert(ref).second)
          Fail(at, "connectors and continuations go round at localId " + std::to_string(ref));
        const BodyElement& from = it->second;
        if (from.kind == "block") {
          const std::string pin = at.attribute("formalParameter").value();
          checkPin(at, ref, pin);
          source.kind = Source::Pin;
          source.path = pinPath(ref, pin);
          return source;
        }
        if (from.kind == "inVariable" || from.kind == "inOutVariable") {
          const std::string expression = Child(from.node, "expression").text().get();
          if (expression.empty()) return source; // names nothing: kept, no connection
          source.kind = IsLiteral(expression) ? Source::Literal : Source::Expression;
          source.expression = expression;
          return source;
        }
        if (from.kind == "continuation") {
          const std::string connectorName = from.node.attribute("name").value();
          const auto connector = connectors.find(connectorName);
          if (connector == connectors.end()) {
            Fail(from.node, "the continuation \"" + connectorName + "\" has no connector of that name");
          }
          const pugi::xml_node next = Child(Child(connector->second, "connectionPointIn"), "connection");
          if (!next) return source;
          at = next;
          continue;
        }
        Fail(at, "refLocalId " + std::to_string(ref) + " names a <" + from.kind + ">, which feeds no pin");
      }
    };

    const auto addConnection = [&](const pugi::xml_node& at, Json connection) {
      controller_->connections.push_back(std::move(connection));
      controller_->connectionNodes.push_back(at);
    };
    // The relative path of a variable an expression names: a chart interface variable, a global or none.
    const auto variablePath = [&](const std::string& expression) -> std::string {
      if (vars.count(expression)) return relative + "." + expression;
      if (controller_->globals.count(expression)) return "@" + expression;
      return {};
    };

    // Inputs of blocks and sub-charts.
    for (const BodyElement& e : elements) {
      if (e.kind != "block") continue;
      const long long id = Number(e.node, "localId", 0);
      BlockInfo& info = blocks[id];
      for (const char* listName : {"inputVariables", "inOutVariables"}) {
        for (const pugi::xml_node& pin : Children(Child(e.node, listName), "variable")) {
          const std::string formal = Required(pin, "formalParameter");
          const auto connections = Children(Child(pin, "connectionPointIn"), "connection");
          if (connections.size() > 1)
            Warn(pin, "input " + formal + " of " + info.name + " takes its first connection only");
          if (connections.empty()) continue;
          const Source source = sourceOf(connections.front());
          const std::string sink = pinPath(id, formal);
          if (source.kind == Source::Pin) {
            addConnection(connections.front(), Json{{"from", source.path}, {"to", sink}});
          } else if (source.kind == Source::Literal) {
            if (info.subChart) {
              const auto interface = info.object->find("interface");
              if (interface == info.object->end()) continue;
              for (auto& v : *interface) {
                if (v["name"] == formal) v["value"] = source.expression;
              }
            } else {
              (*info.object)["values"][formal] = source.expression;
            }
          } else if (source.kind == Source::Expression) {
            const std::string from = IsIdentifier(source.expression) ? variablePath(source.expression) : std::string();
            if (!from.empty()) {
              addConnection(connections.front(), Json{{"from", from}, {"to", sink}});
            } else {
              addConnection(connections.front(), Json{{"text", source.expression}, {"to", sink}});
            }
          }
        }
      }
    }
    // Outputs into variables.
    for (const BodyElement& e : elements) {
      if (e.kind != "outVariable" && e.kind != "inOutVariable") continue;
      const std::string expression = Child(e.node, "expression").text().get();
      const pugi::xml_node connection = Child(Child(e.node, "connectionPointIn"), "connection");
      if (!connection) continue;
      const Source source = sourceOf(connection);
      if (source.kind != Source::Pin || !IsIdentifier(expression)) continue;
      const std::string to = variablePath(expression);
      if (!to.empty()) addConnection(connection, Json{{"from", source.path}, {"to", to}});
    }

    if (!blockList.empty()) chart["blocks"] = std::move(blockList);
    if (!subCharts.empty()) chart["charts"] = std::move(subCharts);
    keep["elements"] = std::move(elementList);
  }

  // The name of the controller's block type for a block of the given type, made when first used.
  std::string UseType(const std::string& typeName, const pugi::xml_node& block) {
    ControllerState& state = *controller_;
    auto it = state.types.find(typeName);
    if (it == state.types.end()) {
      TypeUse use;
      use.name = typeName;
      if (const auto pou = pous_.find(typeName); pou != pous_.end()) {
        const std::string pouType = pou->second.attribute("pouType").value();
        if (pouType == "program") Fail(block, "a block cannot be of the program " + typeName);
        use.fromFile = true;
        use.function = pouType == "function";
        const pugi::xml_node in = Child(pou->second, "interface");
        for (pugi::xml_node list = in.first_child(); list; list = list.next_sibling()) {
          if (list.type() != pugi::node_element) continue;
          const char* direction = DirectionOfList(Local(list));
          if (direction == nullptr) continue;
          for (const pugi::xml_node& v : Children(list, "variable")) {
            Json elements = Json::array();
            const std::string type = TypeName(Child(v, "type"), &elements);
            use.parameters.push_back({Required(v, "name"), direction, type.empty() ? "ANY" : type});
            if (!elements.empty()) use.elements[use.parameters.back().name] = std::move(elements);
          }
        }
        if (use.function) {
          const std::string type = TypeName(Child(in, "returnType"), nullptr);
          use.parameters.push_back({"OUT", "out", type.empty() ? "ANY" : type});
        }
      } else if (const auto standard = FindStandardType(typeName)) {
        use.function = !standard->functionBlock;
        use.parameters = standard->parameters;
      } else {
        use.known = false;
        Warn(block, "the block type " + typeName +
                        " is neither a POU of the file nor a standard one: its parameters are typed ANY");
      }
      it = state.types.emplace(typeName, std::move(use)).first;
      state.typeOrder.push_back(typeName);
    }
    // Parameters the block lists that the type lacks (extensible inputs, unknown types).
    TypeUse& use = it->second;
    const std::pair<const char*, const char*> lists[] = {
        {"inputVariables", "in"}, {"inOutVariables", "inout"}, {"outputVariables", "out"}};
    for (const auto& [listName, direction] : lists) {
      for (const pugi::xml_node& pin : Children(Child(block, listName), "variable")) {
        const std::string formal = Required(pin, "formalParameter");
        const bool known = std::any_of(use.parameters.begin(), use.parameters.end(),
                                       [&](const FormalParameter& p) { return p.name == formal; });
        if (known) continue;
        if (use.known && !(FindStandardType(typeName) && FindStandardType(typeName)->extensible)) {
          Warn(pin, "the block type " + typeName + " has no parameter " + formal + ": it is added, typed ANY");
        }
        // Outputs stay after the inputs.
        auto at = use.parameters.end();
        if (std::string(direction) != "out") {
          at = std::find_if(use.parameters.begin(), use.parameters.end(),
                            [](const FormalParameter& p) { return p.direction == "out"; });
        }
        use.parameters.insert(at, FormalParameter{formal, direction, "ANY"});
      }
    }
    return typeName;
  }

  std::string xml_; // before doc_, which points into it
  const std::string& file_;
  const std::string& locate_;
  std::vector<std::uint32_t> lineStarts_;
  pugi::xml_document doc_;
  ReadResult result_;
  std::string prefix_;
  std::map<std::string, pugi::xml_node> pous_;
  std::vector<std::string> pouOrder_;
  std::map<std::string, pugi::xml_node> dataTypes_;
  std::set<std::string> chartPous_;
  std::map<std::string, long long> remaining_; // charts still to be built of each POU
  std::vector<std::string> stack_;
  std::size_t chartCount_ = 0;
  ControllerState* controller_ = nullptr;
};

} // namespace

SourcePlace ReadResult::PlaceOf(const std::string& jsonPath) const {
  SourcePlace best{"", 1, 1};
  for (const SourcePlace& p : places) {
    const bool prefix = jsonPath.compare(0, p.path.size(), p.path) == 0 &&
                        (jsonPath.size() == p.path.size() || jsonPath[p.path.size()] == '/');
    if (prefix && p.path.size() >= best.path.size()) best = p;
  }
  return best;
}

bool LooksLikeXml(const std::string& text) {
  std::size_t i = 0;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  return i < text.size() && text[i] == '<';
}

ReadResult ReadProject(std::string xml, const std::string& fileName, const std::string& locate) {
  return Reader(std::move(xml), fileName, locate).Run();
}

} // namespace grx::plcopen
