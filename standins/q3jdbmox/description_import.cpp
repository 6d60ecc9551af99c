// Import of a JSON project description into an empty store. Objects are created in the order
// the description lists them, so identifiers are the same for the same description.
#include <cctype>
#include <cstdio>
#include <deque>
#include <map>
#include <set>

#include "api_result.h"
#include "connection_rules.h"
#include "data_type_names.h"
#include "description.h"
#include "description_reader.h"
#include "description_text.h"
#include "names.h"
#include "object_paths.h"

namespace q3 {
namespace {

using nlohmann::json;

constexpr std::size_t kTextLimit = kGlTextSize - 1;
constexpr const char* kDefaultCreated = "2026-01-01T00:00:00Z";
// Name of the system type whose enable input stands for processing groups as sinks.
constexpr const char* kGroupEnableType = "RUNTIME_GROUP";

struct ParamSpec {
  GlObjectId id = 0;
  std::string name;
  GlObjectType instanceType = IEC_OBJ_IN_VAR;
  GlDataType dataType = IEC_NDEF;
  std::string defaultValue;
  struct Element {
    GlObjectId id = 0;
    std::string name;
    GlDataType dataType = IEC_NDEF;
    std::string defaultValue;
    std::vector<Element> nested;
  };
  std::vector<Element> elements;
};

struct BlockTypeSpec {
  GlObjectId id = 0;
  GlObjectType instanceType = IEC_OBJ_FUNCTION_BLOCK;
  std::vector<ParamSpec> params;
};

struct PendingMembers {
  GlObjectId container = 0;
  DescriptionReader list;
};

class Importer {
public:
  explicit Importer(ProjectStore& store) : store_(store) {}

  void Run(const json& doc) {
    DescriptionReader root(doc, "");
    root.RequireObject({"format", "project", "controllers"});
    const std::string format = root.Text("format", kDescriptionFormat);
    if (format != kDescriptionFormat) {
      root.Fail("format", "unknown format \"" + format + "\" (expected \"" + kDescriptionFormat + "\")");
    }
    ReadProject(root);
    std::set<std::string> names;
    const auto controllers = root.Array("controllers");
    if (controllers.size() > 0xFFFF) root.Fail("controllers", "too many controllers");
    for (std::size_t i = 0; i < controllers.size(); ++i) {
      ReadController(controllers[i], static_cast<std::int64_t>(i + 1), names);
    }
  }

private:
  void ReadProject(const DescriptionReader& root) {
    std::string created = kDefaultCreated;
    if (root.Has("project")) {
      const DescriptionReader p = root.Object("project");
      p.RequireObject(
          {"name", "path", "file", "author", "dataVersion", "suppressDataVersionUpdate", "created", "plcopen"});
      store_.SetMeta("project_name", p.Text("name"));
      store_.SetMeta("project_path", p.Text("path"));
      store_.SetMeta("project_file", p.Text("file"));
      store_.SetMeta("author", p.Text("author"));
      store_.SetMeta("data_version", p.Text("dataVersion", store_.softwareVersion(), kGlVersionSize - 1));
      store_.SetMeta("suppress_data_version_update", p.Boolean("suppressDataVersionUpdate", false) ? "1" : "0");
      created = p.Text("created", kDefaultCreated);
      if (const auto kept = Interchange(p)) store_.SetMeta("plcopen", *kept);
      try {
        store_.SetFixedTime(ParseIsoTime(created));
      } catch (const std::invalid_argument&) {
        p.Fail("created", "expected a time such as 2026-01-01T08:00:00Z");
      }
    } else {
      store_.SetMeta("data_version", store_.softwareVersion());
      store_.SetFixedTime(ParseIsoTime(created));
    }
    store_.SetMeta("created", created);
  }

  void CheckNameAt(const DescriptionReader& node, GlObjectType type, const std::string& name) {
    if (std::string problem = NameProblem(type, name); !problem.empty()) node.Fail("name", problem);
  }

  void CheckUnique(std::set<std::string>& seen, const DescriptionReader& node, const std::string& name,
                   const char* what) {
    if (!seen.insert(name).second)
      node.Fail("name", std::string("a ") + what + " named \"" + name + "\" exists already here");
  }

  // The object type for a "direction" member: in (the default), out or inout.
  GlObjectType Direction(const DescriptionReader& node, GlObjectType in, GlObjectType out, GlObjectType inOut) {
    const std::string direction = node.Text("direction", "in");
    if (direction == "in") return in;
    if (direction == "out") return out;
    if (direction != "inout") {
      node.Fail("direction", "expected \"in\", \"out\" or \"inout\", not \"" + direction + "\"");
    }
    return inOut;
  }

  GlDataType DataType(const DescriptionReader& node, const std::string& key, GlDataType fallback) {
    if (!node.Has(key)) return fallback;
    const std::string name = node.Text(key);
    const auto type = DataTypeByName(name);
    if (!type) node.Fail(key, "unknown data type \"" + name + "\"");
    return *type;
  }

  // What an exchange format kept: any JSON object (UTF-8, never converted), stored as its text.
  std::optional<std::string> Interchange(const DescriptionReader& node) {
    if (!node.Has(kInterchangeKey)) return std::nullopt;
    const json& kept = node.node().at(kInterchangeKey);
    if (!kept.is_object()) node.Fail(kInterchangeKey, "expected an object");
    return kept.dump();
  }

  void ReadExtras(const DescriptionReader& node, GlObjectId id) {
    if (const auto kept = Interchange(node)) store_.SetInterchange(id, *kept);
    if (node.Has("udas")) {
      const json& udas = node.node().at("udas");
      if (!udas.is_object()) node.Fail("udas", "expected an object of name/value texts");
      for (const auto& [name, value] : udas.items()) {
        const std::string where = node.PathOf("udas") + "/" + name;
        if (name.empty() || name.size() >= sizeof(Gl_Uda::name)) {
          throw DescriptionError(where + ": attribute names have 1 to " + std::to_string(sizeof(Gl_Uda::name) - 1) +
                                 " characters");
        }
        if (!value.is_string()) throw DescriptionError(where + ": expected a text");
        const std::string text = value.get<std::string>();
        if (text.size() >= sizeof(Gl_Uda::value)) {
          throw DescriptionError(where + ": value longer than " + std::to_string(sizeof(Gl_Uda::value) - 1) +
                                 " characters");
        }
        store_.SetUda(id, name, text);
      }
    }
    if (node.Has("blob")) {
      const std::string hex = node.Text("blob", {}, std::string::npos);
      if (hex.size() % 2 != 0) node.Fail("blob", "hexadecimal text of odd length");
      std::vector<unsigned char> bytes(hex.size() / 2);
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned value = 0;
        for (int k = 0; k < 2; ++k) {
          const char c = hex[2 * i + k];
          const unsigned digit = c >= '0' && c <= '9'   ? c - '0'
                                 : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                 : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : 16;
          if (digit > 15) node.Fail("blob", "not a hexadecimal text");
          value = value * 16 + digit;
        }
        bytes[i] = static_cast<unsigned char>(value);
      }
      store_.SetBlob(id, bytes.data(), bytes.size());
    }
  }

  GlObjectId Insert(ObjectRow row) {
    const Category category = CategoryOf(row.type);
    try {
      return store_.Insert(std::move(row), category);
    } catch (const ApiError& e) {
      throw DescriptionError(std::string("/: ") + e.what());
    }
  }

  void ReadController(const DescriptionReader& c, std::int64_t number, std::set<std::string>& names) {
    c.RequireObject({"name", "type", "family", "comment", "udas", "blob", "blockTypes", "globals", "charts", "tasks",
                     "connections", "plcopen"});
    ObjectRow row;
    row.type = IEC_OBJ_RESOURCE;
    row.name = c.RequiredText("name");
    CheckNameAt(c, row.type, row.name);
    CheckUnique(names, c, row.name, "controller");
    row.text2 = c.Text("type", {}, sizeof(Iec_Resource::typeName) - 1);
    row.num1 = c.Integer("family", 0, 0, 0xFFFFFFFF);
    row.num2 = number;
    row.comment = c.Text("comment", {}, sizeof(Iec_Resource::comment) - 1);
    const GlObjectId cpu = Insert(row);
    ReadExtras(c, cpu);
    controller_ = cpu;
    controllerName_ = row.name;
    blockTypes_.clear();
    groupEnable_ = CreateGroupEnableType();

    std::set<std::string> typeNames;
    for (const auto& t : c.Array("blockTypes")) ReadBlockType(t, typeNames);
    std::set<std::string> globalNames;
    for (const auto& g : c.Array("globals")) ReadGlobal(g, globalNames);
    ReadCharts(c, cpu);
    std::vector<PendingMembers> pending;
    std::set<std::string> taskNames;
    for (const auto& t : c.Array("tasks")) ReadTask(t, taskNames, pending);
    for (const auto& p : pending) ReadMembers(p);
    for (const auto& conn : c.Array("connections")) ReadConnection(conn);
  }

  GlObjectId CreateGroupEnableType() {
    ObjectRow type;
    type.type = IEC_OBJ_FUNCTION_BLOCK_TYPE;
    type.parent = controller_;
    type.cpu = controller_;
    type.name = kGroupEnableType;
    type.text2 = "SYSTEM";
    type.num3 = 1;
    const GlObjectId typeId = Insert(type);
    ObjectRow enable;
    enable.type = IEC_OBJ_IN_VAR_TYPE;
    enable.parent = typeId;
    enable.cpu = controller_;
    enable.name = "EN";
    enable.dataType = IEC_BOOL;
    enable.value = "TRUE";
    return Insert(enable);
  }

  void ReadTypeElements(const DescriptionReader& node, GlObjectId parent, std::vector<ParamSpec::Element>& out) {
    std::set<std::string> seen;
    for (const auto& e : node.Array("elements")) {
      e.RequireObject({"name", "type", "default", "comment", "blob", "elements"});
      ParamSpec::Element element;
      element.name = e.RequiredText("name");
      CheckNameAt(e, IEC_OBJ_VAR_TYPE_ELEMENT, element.name);
      CheckUnique(seen, e, element.name, "structure element");
      element.dataType = DataType(e, "type", e.Has("elements") ? IEC_STRUCT : IEC_NDEF);
      element.defaultValue = e.Text("default", {}, kTextLimit);
      ObjectRow row;
      row.type = IEC_OBJ_VAR_TYPE_ELEMENT;
      row.parent = parent;
      row.cpu = controller_;
      row.name = element.name;
      row.dataType = element.dataType;
      row.value = element.defaultValue;
      row.comment = e.Text("comment", {}, kTextLimit);
      element.id = Insert(row);
      ReadExtras(e, element.id);
      ReadTypeElements(e, element.id, element.nested);
      out.push_back(std::move(element));
    }
  }

  // The row of a block type as the description gives it (not yet inserted).
  ObjectRow BlockTypeRow(const DescriptionReader& t) {
    t.RequireObject({"name", "kind", "library", "version", "fbTypeFlag", "family", "comment", "udas", "blob",
                     "parameters", "plcopen"});
    ObjectRow row;
    const std::string kind = t.Text("kind", "functionBlock");
    if (kind == "functionBlock") {
      row.type = IEC_OBJ_FUNCTION_BLOCK_TYPE;
    } else if (kind == "function") {
      row.type = IEC_OBJ_FUNCTION_TYPE;
    } else {
      t.Fail("kind", "expected \"functionBlock\" or \"function\", not \"" + kind + "\"");
    }
    row.name = t.RequiredText("name");
    CheckNameAt(t, row.type, row.name);
    if (row.name == kGroupEnableType) t.Fail("name", std::string(kGroupEnableType) + " is a reserved type name");
    row.parent = controller_;
    row.cpu = controller_;
    row.text2 = t.Text("library", {}, sizeof(Iec_FunctionBlockType::library) - 1);
    row.text3 = t.Text("family", {}, sizeof(Iec_FunctionType::family) - 1);
    row.num1 = row.type == IEC_OBJ_FUNCTION_BLOCK_TYPE ? t.Integer("fbTypeFlag", 0, INT32_MIN, INT32_MAX) : 0;
    if (row.type == IEC_OBJ_FUNCTION_TYPE && t.Has("fbTypeFlag"))
      t.Fail("fbTypeFlag", "only function-block types carry it");
    row.num2 = t.Integer("version", 1, 0, INT32_MAX);
    row.comment = t.Text("comment", {}, kTextLimit);
    return row;
  }

  // The row of a parameter type of the type parent (not yet inserted); fills what instances take.
  ObjectRow ParamTypeRow(const DescriptionReader& p, GlObjectId parent, ParamSpec& param) {
    p.RequireObject({"name", "direction", "type", "default", "comment", "ident", "blob", "elements"});
    ObjectRow prow;
    prow.type = Direction(p, IEC_OBJ_IN_VAR_TYPE, IEC_OBJ_OUT_VAR_TYPE, IEC_OBJ_IN_OUT_VAR_TYPE);
    param.instanceType = Direction(p, IEC_OBJ_IN_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_IN_OUT_VAR);
    param.name = p.RequiredText("name");
    CheckNameAt(p, prow.type, param.name);
    param.dataType = DataType(p, "type", p.Has("elements") ? IEC_STRUCT : IEC_NDEF);
    param.defaultValue = p.Text("default", {}, kTextLimit);
    prow.parent = parent;
    prow.cpu = controller_;
    prow.name = param.name;
    prow.dataType = param.dataType;
    prow.value = param.defaultValue;
    prow.comment = p.Text("comment", {}, sizeof(Iec_InVarType::comment) - 1);
    prow.text2 = p.Text("ident", {}, sizeof(Iec_VarIdent::text) - 1);
    return prow;
  }

  GlObjectId InsertParamType(const DescriptionReader& p, ObjectRow prow, ParamSpec& param) {
    param.id = Insert(std::move(prow));
    ReadExtras(p, param.id);
    ReadTypeElements(p, param.id, param.elements);
    return param.id;
  }

  void ReadBlockType(const DescriptionReader& t, std::set<std::string>& typeNames) {
    ObjectRow row = BlockTypeRow(t);
    CheckUnique(typeNames, t, row.name, "block type");
    BlockTypeSpec spec;
    spec.instanceType = row.type == IEC_OBJ_FUNCTION_BLOCK_TYPE ? IEC_OBJ_FUNCTION_BLOCK : IEC_OBJ_FUNCTION;
    const std::string name = row.name;
    spec.id = Insert(std::move(row));
    ReadExtras(t, spec.id);
    std::set<std::string> paramNames;
    for (const auto& p : t.Array("parameters")) {
      ParamSpec param;
      ObjectRow prow = ParamTypeRow(p, spec.id, param);
      CheckUnique(paramNames, p, param.name, "parameter");
      InsertParamType(p, std::move(prow), param);
      spec.params.push_back(std::move(param));
    }
    blockTypes_[name] = std::move(spec);
  }

public:
  // Creates the block type of a description in the controller, or brings the one of that name up
  // to it: its own fields, changed parameter types and new ones. Parameter types the description
  // does not name stay, as blocks may use them.
  BlockTypeWriteResult WriteBlockType(const DescriptionReader& t, GlObjectId controller) {
    controller_ = controller;
    BlockTypeWriteResult result;
    ObjectRow row = BlockTypeRow(t);
    const TypeMask typeKinds = (TypeMask{1} << IEC_OBJ_FUNCTION_BLOCK_TYPE) | (TypeMask{1} << IEC_OBJ_FUNCTION_TYPE);
    const auto existing = store_.ChildByName(controller, row.name, typeKinds);
    if (!existing) {
      std::set<std::string> names;
      ReadBlockType(t, names);
      result.typeId = blockTypes_[row.name].id;
      result.created = true;
      result.changes = 1 + static_cast<std::uint32_t>(blockTypes_[row.name].params.size());
      store_.Touch(result.typeId, true);
      return result;
    }
    if (existing->type != row.type) t.Fail("kind", "a block type of the other kind has this name");
    result.typeId = existing->id;
    ObjectRow updated = *existing;
    updated.text2 = row.text2;
    updated.text3 = row.text3;
    updated.num1 = row.num1;
    updated.num2 = row.num2;
    updated.comment = row.comment;
    if (updated.text2 != existing->text2 || updated.text3 != existing->text3 || updated.num1 != existing->num1 ||
        updated.num2 != existing->num2 || updated.comment != existing->comment) {
      store_.Update(updated);
      ++result.changes;
    }
    ReadExtras(t, result.typeId);
    const TypeMask paramKinds = (TypeMask{1} << IEC_OBJ_IN_VAR_TYPE) | (TypeMask{1} << IEC_OBJ_OUT_VAR_TYPE) |
                                (TypeMask{1} << IEC_OBJ_IN_OUT_VAR_TYPE);
    std::set<std::string> paramNames;
    for (const auto& p : t.Array("parameters")) {
      ParamSpec param;
      ObjectRow prow = ParamTypeRow(p, result.typeId, param);
      CheckUnique(paramNames, p, param.name, "parameter");
      const auto old = store_.ChildByName(result.typeId, param.name, paramKinds);
      if (!old) {
        InsertParamType(p, std::move(prow), param);
        ++result.changes;
        continue;
      }
      if (old->type != prow.type || old->dataType != prow.dataType || old->value != prow.value ||
          old->comment != prow.comment || old->text2 != prow.text2) {
        ObjectRow changed = *old;
        changed.type = prow.type;
        changed.dataType = prow.dataType;
        changed.value = prow.value;
        changed.comment = prow.comment;
        changed.text2 = prow.text2;
        store_.Update(changed);
        ++result.changes;
      }
      ReadExtras(p, old->id);
    }
    store_.Touch(result.typeId, result.changes > 0);
    return result;
  }

private:
  // Elements of a chart interface variable or a global variable, declared with the variable.
  void ReadVarElements(const DescriptionReader& node, GlObjectId parent) {
    std::set<std::string> seen;
    for (const auto& e : node.Array("elements")) {
      e.RequireObject({"name", "type", "value", "comment", "elements"});
      ObjectRow row;
      row.type = IEC_OBJ_VAR_ELEMENT;
      row.parent = parent;
      row.cpu = controller_;
      row.name = e.RequiredText("name");
      CheckNameAt(e, row.type, row.name);
      CheckUnique(seen, e, row.name, "structure element");
      row.dataType = DataType(e, "type", e.Has("elements") ? IEC_STRUCT : IEC_NDEF);
      row.value = e.Text("value", {}, kTextLimit);
      row.comment = e.Text("comment", {}, kTextLimit);
      ReadVarElements(e, Insert(row));
    }
  }

  void ReadGlobal(const DescriptionReader& g, std::set<std::string>& names) {
    g.RequireObject({"name", "type", "text", "attributes", "comment", "udas", "blob", "elements", "plcopen"});
    ObjectRow row;
    row.type = IEC_OBJ_GLOBAL_VAR;
    row.name = g.RequiredText("name");
    CheckNameAt(g, row.type, row.name);
    CheckUnique(names, g, row.name, "global variable");
    row.parent = controller_;
    row.cpu = controller_;
    row.dataType = DataType(g, "type", g.Has("elements") ? IEC_STRUCT : IEC_NDEF);
    row.text2 = g.Text("text", {}, sizeof(Iec_GlobalVar::text) - 1);
    row.num1 = g.Integer("attributes", 0, 0, 0xFFFFFFFF);
    row.comment = g.Text("comment", {}, kTextLimit);
    const GlObjectId id = Insert(row);
    ReadExtras(g, id);
    ReadVarElements(g, id);
  }

  // The charts of a controller and their sub-charts, depth first in the order of the description
  // (as a recursion would take them), without recursion: charts nest as deep as descriptions do.
  void ReadCharts(const DescriptionReader& controller, GlObjectId cpu) {
    struct Pending {
      DescriptionReader chart;
      GlObjectId parent;
      std::set<std::string>* siblings; // the names of the charts and blocks beside it
    };
    std::deque<std::set<std::string>> names(1); // stable addresses
    std::vector<Pending> stack;
    const auto pushChartsOf = [&](const DescriptionReader& owner, GlObjectId parent, std::set<std::string>& siblings) {
      const std::vector<DescriptionReader> charts = owner.Array("charts");
      for (auto it = charts.rbegin(); it != charts.rend(); ++it) stack.push_back({*it, parent, &siblings});
    };
    pushChartsOf(controller, cpu, names.front());
    while (!stack.empty()) {
      const Pending next = stack.back();
      stack.pop_back();
      std::set<std::string>& placed = names.emplace_back();
      const GlObjectId chart = ReadChart(next.chart, next.parent, *next.siblings, placed);
      pushChartsOf(next.chart, chart, placed);
    }
  }

  // One chart with its interface and blocks; answers it. placed receives the names of its blocks.
  GlObjectId ReadChart(const DescriptionReader& ch, GlObjectId parent, std::set<std::string>& siblings,
                       std::set<std::string>& placed) {
    ch.RequireObject({"name", "comment", "udas", "blob", "interface", "blocks", "charts", "plcopen"});
    ObjectRow row;
    row.type = IEC_OBJ_CFC;
    row.name = ch.RequiredText("name");
    CheckNameAt(ch, row.type, row.name);
    CheckUnique(siblings, ch, row.name, "chart or block");
    row.parent = parent;
    row.cpu = controller_;
    row.comment = ch.Text("comment", {}, kTextLimit);
    const GlObjectId chart = Insert(row);
    ReadExtras(ch, chart);

    std::set<std::string> varNames;
    for (const auto& v : ch.Array("interface")) {
      v.RequireObject({"name", "direction", "type", "value", "comment", "itemName", "itemText", "udas", "blob",
                       "elements", "plcopen"});
      ObjectRow var;
      var.type = Direction(v, IEC_OBJ_CFC_IN_VAR, IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR);
      var.name = v.RequiredText("name");
      CheckNameAt(v, var.type, var.name);
      CheckUnique(varNames, v, var.name, "interface variable");
      var.parent = chart;
      var.cpu = controller_;
      var.dataType = DataType(v, "type", v.Has("elements") ? IEC_STRUCT : IEC_NDEF);
      var.value = v.Text("value", {}, kTextLimit);
      if (var.type == IEC_OBJ_CFC_OUT_VAR && !var.value.empty()) v.Fail("value", "a chart output has no value");
      var.comment = v.Text("comment", {}, sizeof(Iec_CfcInVar::comment) - 1);
      var.text2 = v.Text("itemName", {}, sizeof(Gl_InterfaceItemAttributes::name) - 1);
      var.text3 = v.Text("itemText", {}, sizeof(Gl_InterfaceItemAttributes::itemText) - 1);
      const GlObjectId id = Insert(var);
      ReadExtras(v, id);
      ReadVarElements(v, id);
    }

    for (const auto& b : ch.Array("blocks")) ReadBlock(b, chart, placed);
    return chart;
  }

  void CreateElementInstances(const std::vector<ParamSpec::Element>& elements, GlObjectId parent,
                              const std::string& prefix, std::map<std::string, std::string>& values) {
    for (const auto& e : elements) {
      const std::string key = prefix + "." + e.name;
      ObjectRow row;
      row.type = IEC_OBJ_VAR_ELEMENT;
      row.parent = parent;
      row.cpu = controller_;
      row.name = e.name;
      row.dataType = e.dataType;
      row.typeRef = e.id;
      auto value = values.find(key);
      row.value = value != values.end() ? value->second : e.defaultValue;
      if (value != values.end()) values.erase(value);
      CreateElementInstances(e.nested, Insert(row), key, values);
    }
  }

  void ReadBlock(const DescriptionReader& b, GlObjectId chart, std::set<std::string>& placed) {
    b.RequireObject({"name", "type", "comment", "values", "udas", "blob", "plcopen"});
    const std::string typeName = b.RequiredText("type");
    const auto type = blockTypes_.find(typeName);
    if (type == blockTypes_.end()) b.Fail("type", "unknown block type \"" + typeName + "\"");
    ObjectRow row;
    row.type = type->second.instanceType;
    row.name = b.RequiredText("name");
    CheckNameAt(b, row.type, row.name);
    CheckUnique(placed, b, row.name, "chart or block");
    row.parent = chart;
    row.cpu = controller_;
    row.typeRef = type->second.id;
    row.comment = b.Text("comment", {}, kTextLimit);
    const GlObjectId block = Insert(row);
    ReadExtras(b, block);

    std::map<std::string, std::string> values;
    if (b.Has("values")) {
      const json& given = b.node().at("values");
      if (!given.is_object()) b.Fail("values", "expected an object of parameter/value texts");
      for (const auto& [name, value] : given.items()) {
        if (!value.is_string()) throw DescriptionError(b.PathOf("values") + "/" + name + ": expected a text");
        if (value.get<std::string>().size() > kTextLimit) {
          throw DescriptionError(b.PathOf("values") + "/" + name + ": value longer than 256 characters");
        }
        values[name] = value.get<std::string>();
      }
    }
    for (const ParamSpec& p : type->second.params) {
      ObjectRow var;
      var.type = p.instanceType;
      var.parent = block;
      var.cpu = controller_;
      var.name = p.name;
      var.dataType = p.dataType;
      var.typeRef = p.id;
      auto value = values.find(p.name);
      var.value = value != values.end() ? value->second : p.defaultValue;
      if (value != values.end()) values.erase(value);
      CreateElementInstances(p.elements, Insert(var), p.name, values);
    }
    if (!values.empty()) {
      throw DescriptionError(b.PathOf("values") + "/" + values.begin()->first + ": block type \"" + typeName +
                             "\" has no such parameter");
    }
  }

  void ReadTask(const DescriptionReader& t, std::set<std::string>& names, std::vector<PendingMembers>& pending) {
    t.RequireObject({"name", "kind", "cycleMs", "priority", "comment", "udas", "blob", "groups", "members", "plcopen"});
    ObjectRow row;
    row.type = IEC_OBJ_TASK;
    row.name = t.RequiredText("name");
    CheckNameAt(t, row.type, row.name);
    CheckUnique(names, t, row.name, "task");
    row.parent = controller_;
    row.cpu = controller_;
    row.num1 = t.Integer("kind", 0, INT32_MIN, INT32_MAX);
    row.num2 = t.Integer("cycleMs", 0, 0, INT32_MAX);
    row.num3 = t.Integer("priority", 0, INT32_MIN, INT32_MAX);
    row.comment = t.Text("comment", {}, sizeof(Iec_Task::description) - 1);
    const GlObjectId task = Insert(row);
    ReadExtras(t, task);
    std::set<std::string> groupNames;
    for (const auto& g : t.Array("groups")) {
      g.RequireObject({"name", "comment", "reduction", "phase", "udas", "blob", "members", "plcopen"});
      ObjectRow group;
      group.type = IEC_OBJ_PROCESSING_GROUP;
      group.name = g.RequiredText("name");
      CheckNameAt(g, group.type, group.name);
      CheckUnique(groupNames, g, group.name, "processing group");
      group.parent = task;
      group.cpu = controller_;
      group.typeRef = groupEnable_;
      group.comment = g.Text("comment", {}, sizeof(Iec_ProcessingGroup::comment) - 1);
      group.num1 = g.Integer("reduction", 1, 0, 0xFFFF);
      group.num2 = g.Integer("phase", 0, 0, 0xFFFF);
      const GlObjectId id = Insert(group);
      store_.AddMember(task, id);
      ReadExtras(g, id);
      if (g.Has("members")) pending.push_back({id, g});
    }
    if (t.Has("members")) pending.push_back({task, t});
  }

  GlObjectId Resolve(const DescriptionReader& node, const std::string& key, const std::string& relative) {
    try {
      return ResolvePath(store_, controllerName_ + "/" + relative);
    } catch (const ApiError& e) {
      if (key.empty()) node.Fail(e.what());
      node.Fail(key, e.what());
    }
  }

  void ReadMembers(const PendingMembers& pending) {
    const DescriptionReader& owner = pending.list;
    for (const auto& m : owner.Array("members")) {
      GlObjectId member = 0;
      if (m.node().is_string()) {
        const std::string path = m.node().get<std::string>();
        member = Resolve(m, "", path);
        const ObjectRow row = store_.Get(member);
        if (row.type != IEC_OBJ_CFC && row.type != IEC_OBJ_FUNCTION_BLOCK && row.type != IEC_OBJ_FUNCTION) {
          m.Fail("only charts and blocks run in a run sequence: \"" + path + "\"");
        }
        for (const auto& existing : store_.MembershipsOf(member, 0, 1'000'000)) {
          if (existing.container == pending.container) m.Fail("\"" + path + "\" is listed twice");
        }
      } else if (m.node().is_object()) {
        m.RequireObject({"marker"});
        const ObjectRow container = store_.Get(pending.container);
        if (container.type != IEC_OBJ_TASK) m.Fail("markers stand only in tasks");
        ObjectRow marker;
        marker.type = IEC_OBJ_NULL;
        marker.parent = pending.container;
        marker.cpu = controller_;
        marker.name = m.RequiredText("marker", kGlNameSize - 1);
        member = Insert(marker);
      } else {
        m.Fail("expected an object path or {\"marker\": NAME}");
      }
      store_.AddMember(pending.container, member);
    }
  }

  void ReadConnection(const DescriptionReader& c) {
    c.RequireObject({"from", "to", "kind", "flag", "text"});
    ConnectionRow row;
    const std::string kind = c.Text("kind", c.Has("text") && !c.Has("from") ? "textual" : "connection");
    if (kind == "connection") {
      row.kind = IEC_CONNECTION;
    } else if (kind == "no-connection") {
      row.kind = IEC_NO_CONNECTION;
    } else if (kind == "textual") {
      row.kind = IEC_TEXTUAL_REF;
    } else {
      c.Fail("kind", "expected \"connection\", \"no-connection\" or \"textual\", not \"" + kind + "\"");
    }
    row.sink = Resolve(c, "to", c.RequiredText("to", std::string::npos));
    if (row.kind == IEC_TEXTUAL_REF) {
      if (c.Has("from")) c.Fail("from", "a textual reference names its source by text only");
      row.text = c.RequiredText("text", sizeof(Iec_Connection::textualRef) - 1);
    } else {
      if (c.Has("text")) c.Fail("text", "only textual references carry a text");
      row.source = Resolve(c, "from", c.RequiredText("from", std::string::npos));
    }
    row.flag = c.Boolean("flag", false);
    try {
      AddCheckedConnection(store_, row);
    } catch (const ApiError& e) {
      c.Fail(e.what());
    }
  }

  ProjectStore& store_;
  GlObjectId controller_ = 0;
  std::string controllerName_;
  GlObjectId groupEnable_ = 0;
  std::map<std::string, BlockTypeSpec> blockTypes_;
};

} // namespace

std::int64_t ParseIsoTime(const std::string& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0, used = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second, &used) !=
      6) {
    throw std::invalid_argument(text);
  }
  std::string rest = text.substr(static_cast<std::size_t>(used));
  if (rest.size() >= 4 && rest[0] == '.') {
    if (std::sscanf(rest.c_str(), ".%3d", &millis) != 1 || !std::isdigit(static_cast<unsigned char>(rest[3]))) {
      throw std::invalid_argument(text);
    }
    rest = rest.substr(4);
  }
  if (!(rest.empty() || rest == "Z")) throw std::invalid_argument(text);
  GlSystemTime t{};
  t.wYear = static_cast<std::uint16_t>(year);
  t.wMonth = static_cast<std::uint16_t>(month);
  t.wDay = static_cast<std::uint16_t>(day);
  t.wHour = static_cast<std::uint16_t>(hour);
  t.wMinute = static_cast<std::uint16_t>(minute);
  t.wSecond = static_cast<std::uint16_t>(second);
  t.wMilliseconds = static_cast<std::uint16_t>(millis);
  const auto ms = FromSystemTime(t);
  if (!ms || year < 1984) throw std::invalid_argument(text);
  return *ms;
}

std::string FormatIsoTime(std::int64_t ms) {
  const GlSystemTime t = ToSystemTime(ms);
  char buffer[64];
  if (t.wMilliseconds != 0) {
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond, t.wMilliseconds);
  } else {
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
  }
  return buffer;
}

namespace {

json ParseDescription(std::string_view text) {
  return DescriptionToCodePage(ParseDescriptionText(text));
}

} // namespace

BlockTypeWriteResult WriteBlockType(ProjectStore& store, GlObjectId controller, const std::string& text) {
  const json doc = ParseDescription(text);
  return Importer(store).WriteBlockType(DescriptionReader(doc, ""), controller);
}

void ImportDescription(ProjectStore& store, std::string_view text) {
  const json doc = ParseDescription(text);
  store.db().Exec("BEGIN");
  try {
    Importer(store).Run(doc);
    store.SetFixedTime(0);
    store.db().Exec("COMMIT");
  } catch (...) {
    store.SetFixedTime(0);
    store.db().Exec("ROLLBACK");
    throw;
  }
}

} // namespace q3
