// Export of a project as a JSON description. Members that hold their default are left out, so
// that an exported description imports into the same project and exports unchanged.
#include <nlohmann/json.hpp>

#include <cstdio>

#include "data_type_names.h"
#include "description.h"
#include "description_text.h"
#include "object_paths.h"

namespace q3 {
namespace {

// Members in the order of their keys, as the description is written.
using Json = nlohmann::json;

constexpr TypeMask Only(GlObjectType type) {
  return TypeMask{1} << type;
}

class Exporter {
public:
  explicit Exporter(ProjectStore& store) : store_(store) {}

  Json Run() {
    Json doc;
    doc["format"] = kDescriptionFormat;
    Json project = Json::object();
    PutText(project, "name", store_.Meta("project_name"));
    PutText(project, "path", store_.Meta("project_path"));
    PutText(project, "file", store_.Meta("project_file"));
    PutText(project, "author", store_.Meta("author"));
    project["dataVersion"] = store_.Meta("data_version");
    if (store_.Meta("suppress_data_version_update") == "1") project["suppressDataVersionUpdate"] = true;
    project["created"] = store_.Meta("created", "2026-01-01T00:00:00Z");
    PutInterchange(project, store_.Meta("plcopen"));
    doc["project"] = project;
    Json controllers = Json::array();
    for (const ObjectRow& cpu : store_.ObjectsOfType(IEC_OBJ_RESOURCE)) controllers.push_back(Controller(cpu));
    doc["controllers"] = std::move(controllers);
    return doc;
  }

private:
  std::vector<ObjectRow> Children(GlObjectId parent, TypeMask types) {
    std::vector<ObjectRow> rows;
    std::int64_t after = 0;
    for (;;) {
      const auto listed = store_.Children(parent, types, after, 512);
      for (const auto& l : listed) rows.push_back(store_.Get(l.id));
      if (listed.size() < 512) return rows;
      after = listed.back().order;
    }
  }

  std::vector<ObjectRow> Members(GlObjectId container, TypeMask types) {
    std::vector<ObjectRow> rows;
    std::int64_t after = 0;
    for (;;) {
      const auto listed = store_.Members(container, types, after, 512);
      for (const auto& m : listed) rows.push_back(store_.Get(m.member));
      if (listed.size() < 512) return rows;
      after = listed.back().position;
    }
  }

  static void PutText(Json& j, const char* key, const std::string& text) {
    if (!text.empty()) j[key] = text;
  }

  std::string Relative(GlObjectId id) {
    const std::string path = PathOf(store_, id);
    return path.compare(0, controllerPrefix_.size(), controllerPrefix_) == 0 ? path.substr(controllerPrefix_.size())
                                                                             : path;
  }

  // What an exchange format kept, as it was given (UTF-8 JSON, which no conversion touches).
  static void PutInterchange(Json& j, const std::string& text) {
    if (text.empty()) return;
    Json kept = Json::parse(text, nullptr, false);
    if (kept.is_object()) j[kInterchangeKey] = std::move(kept);
  }

  void PutExtras(Json& j, GlObjectId id) {
    if (const auto kept = store_.Interchange(id)) PutInterchange(j, *kept);
    Json udas = Json::object();
    std::int64_t after = 0;
    for (;;) {
      const auto rows = store_.Udas(id, after, 512);
      for (const auto& u : rows) udas[u.name] = u.value;
      if (rows.size() < 512) break;
      after = rows.back().order;
    }
    if (!udas.empty()) j["udas"] = std::move(udas);
    if (const auto blob = store_.Blob(id)) {
      std::string hex;
      hex.reserve(blob->size() * 2);
      char digits[3];
      for (unsigned char b : *blob) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        hex += digits;
      }
      j["blob"] = hex;
    }
  }

  void PutDataType(Json& j, GlDataType type, bool structured) {
    if (type == IEC_NDEF || (structured && type == IEC_STRUCT)) return;
    const std::string name = DataTypeName(type);
    j["type"] = name.empty() ? std::to_string(type) : name;
  }

  Json Controller(const ObjectRow& cpu) {
    controllerPrefix_ = cpu.name + "/";
    Json c;
    c["name"] = cpu.name;
    PutText(c, "type", cpu.text2);
    if (cpu.num1 != 0) {
      char family[24];
      std::snprintf(family, sizeof family, "0x%llx", static_cast<unsigned long long>(cpu.num1));
      c["family"] = family;
    }
    PutText(c, "comment", cpu.comment);
    PutExtras(c, cpu.id);

    Json types = Json::array();
    for (const ObjectRow& t : Children(cpu.id, MaskOf({IEC_OBJ_FUNCTION_BLOCK_TYPE, IEC_OBJ_FUNCTION_TYPE}))) {
      if (t.num3 == 0) types.push_back(BlockType(t));
    }
    if (!types.empty()) c["blockTypes"] = std::move(types);

    Json globals = Json::array();
    for (const ObjectRow& g : Children(cpu.id, Only(IEC_OBJ_GLOBAL_VAR))) {
      Json j;
      j["name"] = g.name;
      PutDataType(j, g.dataType, HasElements(g.id));
      PutText(j, "text", g.text2);
      if (g.num1 != 0) j["attributes"] = g.num1;
      PutText(j, "comment", g.comment);
      PutExtras(j, g.id);
      PutVarElements(j, g.id);
      globals.push_back(std::move(j));
    }
    if (!globals.empty()) c["globals"] = std::move(globals);

    Json charts = Charts(cpu.id);
    if (!charts.empty()) c["charts"] = std::move(charts);

    Json tasks = Json::array();
    for (const ObjectRow& t : Children(cpu.id, Only(IEC_OBJ_TASK))) tasks.push_back(Task(t));
    if (!tasks.empty()) c["tasks"] = std::move(tasks);

    Json connections = Json::array();
    for (const ConnectionRow& row : store_.AllConnections(cpu.id)) {
      Json j;
      if (row.kind == IEC_TEXTUAL_REF) {
        j["text"] = row.text;
      } else {
        j["from"] = Relative(row.source);
      }
      j["to"] = Relative(row.sink);
      if (row.kind == IEC_NO_CONNECTION) j["kind"] = "no-connection";
      if (row.flag) j["flag"] = true;
      connections.push_back(std::move(j));
    }
    if (!connections.empty()) c["connections"] = std::move(connections);
    return c;
  }

  bool HasElements(GlObjectId id) {
    return !store_.Children(id, MaskOf({IEC_OBJ_VAR_ELEMENT, IEC_OBJ_VAR_TYPE_ELEMENT}), 0, 1).empty();
  }

  void PutTypeElements(Json& j, GlObjectId parent) {
    Json elements = Json::array();
    for (const ObjectRow& e : Children(parent, Only(IEC_OBJ_VAR_TYPE_ELEMENT))) {
      Json k;
      k["name"] = e.name;
      PutDataType(k, e.dataType, HasElements(e.id));
      PutText(k, "default", e.value);
      PutText(k, "comment", e.comment);
      PutExtras(k, e.id);
      PutTypeElements(k, e.id);
      elements.push_back(std::move(k));
    }
    if (!elements.empty()) j["elements"] = std::move(elements);
  }

  void PutVarElements(Json& j, GlObjectId parent) {
    Json elements = Json::array();
    for (const ObjectRow& e : Children(parent, Only(IEC_OBJ_VAR_ELEMENT))) {
      Json k;
      k["name"] = e.name;
      PutDataType(k, e.dataType, HasElements(e.id));
      PutText(k, "value", e.value);
      PutText(k, "comment", e.comment);
      PutVarElements(k, e.id);
      elements.push_back(std::move(k));
    }
    if (!elements.empty()) j["elements"] = std::move(elements);
  }

  Json BlockType(const ObjectRow& t) {
    Json j;
    j["name"] = t.name;
    j["kind"] = t.type == IEC_OBJ_FUNCTION_BLOCK_TYPE ? "functionBlock" : "function";
    PutText(j, "library", t.text2);
    if (t.num2 != 1) j["version"] = t.num2;
    if (t.num1 != 0) j["fbTypeFlag"] = t.num1;
    PutText(j, "family", t.text3);
    PutText(j, "comment", t.comment);
    PutExtras(j, t.id);
    Json params = Json::array();
    for (const ObjectRow& p :
         Children(t.id, MaskOf({IEC_OBJ_IN_VAR_TYPE, IEC_OBJ_OUT_VAR_TYPE, IEC_OBJ_IN_OUT_VAR_TYPE}))) {
      Json k;
      k["name"] = p.name;
      if (p.type == IEC_OBJ_OUT_VAR_TYPE) k["direction"] = "out";
      if (p.type == IEC_OBJ_IN_OUT_VAR_TYPE) k["direction"] = "inout";
      PutDataType(k, p.dataType, HasElements(p.id));
      PutText(k, "default", p.value);
      PutText(k, "comment", p.comment);
      PutText(k, "ident", p.text2);
      PutExtras(k, p.id);
      PutTypeElements(k, p.id);
      params.push_back(std::move(k));
    }
    if (!params.empty()) j["parameters"] = std::move(params);
    return j;
  }

  // Values of a block's parameters and elements that differ from their type's defaults.
  void CollectValues(Json& values, GlObjectId parent, const std::string& prefix) {
    for (const ObjectRow& v :
         Children(parent, MaskOf({IEC_OBJ_IN_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_VAR_ELEMENT}))) {
      const std::string key = prefix.empty() ? v.name : prefix + "." + v.name;
      const auto type = store_.Find(v.typeRef);
      if (!type || type->value != v.value) values[key] = v.value;
      CollectValues(values, v.id, key);
    }
  }

  // The charts of a controller with their sub-charts at every depth, in the order of the project,
  // without recursion: charts nest as deep as the project has them.
  Json Charts(GlObjectId cpu) {
    struct Node {
      Json json;
      std::vector<std::size_t> subCharts;
    };
    std::vector<Node> nodes;
    std::vector<std::size_t> roots;
    std::vector<std::pair<ObjectRow, std::size_t>> pending; // a chart and the node it lies in
    constexpr std::size_t kController = static_cast<std::size_t>(-1);
    const auto push = [&](const std::vector<ObjectRow>& rows, std::size_t parent) {
      for (auto it = rows.rbegin(); it != rows.rend(); ++it) pending.emplace_back(*it, parent);
    };
    push(Children(cpu, Only(IEC_OBJ_CFC)), kController);
    while (!pending.empty()) {
      const auto [row, parent] = pending.back();
      pending.pop_back();
      std::vector<ObjectRow> subCharts;
      const std::size_t index = nodes.size();
      nodes.push_back({Chart(row, subCharts), {}});
      (parent == kController ? roots : nodes[parent].subCharts).push_back(index);
      push(subCharts, index);
    }
    // Every sub-chart comes after its chart: from the last to the first, each takes its finished ones.
    for (std::size_t i = nodes.size(); i-- > 0;) {
      if (nodes[i].subCharts.empty()) continue;
      Json list = Json::array();
      for (std::size_t sub : nodes[i].subCharts) list.push_back(std::move(nodes[sub].json));
      nodes[i].json["charts"] = std::move(list);
    }
    Json charts = Json::array();
    for (std::size_t root : roots) charts.push_back(std::move(nodes[root].json));
    return charts;
  }

  // One chart without its sub-charts, which it hands out in their order.
  Json Chart(const ObjectRow& ch, std::vector<ObjectRow>& subCharts) {
    Json j;
    j["name"] = ch.name;
    PutText(j, "comment", ch.comment);
    PutExtras(j, ch.id);
    Json interface = Json::array();
    for (const ObjectRow& v :
         Children(ch.id, MaskOf({IEC_OBJ_CFC_IN_VAR, IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR}))) {
      Json k;
      k["name"] = v.name;
      if (v.type == IEC_OBJ_CFC_OUT_VAR) k["direction"] = "out";
      if (v.type == IEC_OBJ_CFC_IN_OUT_VAR) k["direction"] = "inout";
      PutDataType(k, v.dataType, HasElements(v.id));
      PutText(k, "value", v.value);
      PutText(k, "comment", v.comment);
      PutText(k, "itemName", v.text2);
      PutText(k, "itemText", v.text3);
      PutExtras(k, v.id);
      PutVarElements(k, v.id);
      interface.push_back(std::move(k));
    }
    if (!interface.empty()) j["interface"] = std::move(interface);
    Json blocks = Json::array();
    for (const ObjectRow& b : Children(ch.id, MaskOf({IEC_OBJ_CFC, IEC_OBJ_FUNCTION_BLOCK, IEC_OBJ_FUNCTION}))) {
      if (b.type == IEC_OBJ_CFC) {
        subCharts.push_back(b);
        continue;
      }
      Json k;
      k["name"] = b.name;
      const auto type = store_.Find(b.typeRef);
      k["type"] = type ? type->name : std::string();
      PutText(k, "comment", b.comment);
      Json values = Json::object();
      CollectValues(values, b.id, {});
      if (!values.empty()) k["values"] = std::move(values);
      PutExtras(k, b.id);
      blocks.push_back(std::move(k));
    }
    if (!blocks.empty()) j["blocks"] = std::move(blocks);
    return j;
  }

  Json MemberList(const std::vector<ObjectRow>& members) {
    Json list = Json::array();
    for (const ObjectRow& m : members) {
      if (m.type == IEC_OBJ_NULL) {
        list.push_back(Json{{"marker", m.name}});
      } else {
        list.push_back(Relative(m.id));
      }
    }
    return list;
  }

  Json Task(const ObjectRow& t) {
    Json j;
    j["name"] = t.name;
    if (t.num1 != 0) j["kind"] = t.num1;
    if (t.num2 != 0) j["cycleMs"] = t.num2;
    if (t.num3 != 0) j["priority"] = t.num3;
    PutText(j, "comment", t.comment);
    PutExtras(j, t.id);
    Json groups = Json::array();
    for (const ObjectRow& g : Members(t.id, Only(IEC_OBJ_PROCESSING_GROUP))) {
      Json k;
      k["name"] = g.name;
      PutText(k, "comment", g.comment);
      if (g.num1 != 1) k["reduction"] = g.num1;
      if (g.num2 != 0) k["phase"] = g.num2;
      PutExtras(k, g.id);
      const Json members = MemberList(Members(g.id, kAnyType));
      if (!members.empty()) k["members"] = std::move(members);
      groups.push_back(std::move(k));
    }
    if (!groups.empty()) j["groups"] = std::move(groups);
    const Json members = MemberList(Members(t.id, kAnyType & ~Only(IEC_OBJ_PROCESSING_GROUP)));
    if (!members.empty()) j["members"] = std::move(members);
    return j;
  }

  ProjectStore& store_;
  std::string controllerPrefix_;
};

} // namespace

std::string ExportDescription(ProjectStore& store) {
  return DescriptionText(DescriptionToUtf8(Exporter(store).Run())) + "\n";
}

} // namespace q3
