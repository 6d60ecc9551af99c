// grx show OBJECT: one object through the object model: what it is and what it is connected to.
#include <nlohmann/json.hpp>

#include <memory>

#include "project_client.h"
#include "commands.h"
#include "data_type_text.h"
#include "grx_error.h"
#include "terminal_text.h"
#include "opendata/iec_block.h"
#include "opendata/iec_connection.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_processing_group.h"
#include "opendata/iec_var_base.h"
#include "platform/type_names.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;
using namespace OpenData;

// The class without its namespace ("CIecFunctionBlock").
std::string ClassName(const CIecObject& object) {
  const std::string text = platform::ReadableTypeName(typeid(object));
  const auto colon = text.rfind("::");
  return colon == std::string::npos ? text : text.substr(colon + 2);
}

class Describer {
public:
  explicit Describer(ChartDbClient& db) : db_(db) {}

  Json Describe(CIecObject& object, int depth) {
    Json j;
    j["path"] = db_.Path(object.GetId());
    j["class"] = ClassName(object);
    j["type"] = object.GetType();
    j["name"] = object.GetName();
    Optional(j, "comment", [&] { return object.GetComment(); });
    Optional(j, "controller", [&] { return db_.Path(object.GetCpuId()); });
    Optional(j, "logicalPath", [&] { return object.GetLogicalPath(0, false)->GetPath(); });
    Json udas = Json::object();
    const auto udaList = object.GetUdas();
    for (CUda* uda : *udaList) udas[uda->GetName()] = uda->GetValue();
    if (!udas.empty()) j["udas"] = udas;

    if (auto* block = dynamic_cast<CIecBlock*>(&object)) j["blockType"] = db_.Path(block->GetBlockTypeId());
    if (auto* group = dynamic_cast<CIecProcessingGroup*>(&object)) {
      j["task"] = db_.Path(group->GetTaskId());
      j["reduction"] = group->GetReduction();
      j["phase"] = group->GetPhase();
      j["sources"] = Connections(*group->GetSourceConnections(), true);
    }
    if (auto* var = dynamic_cast<CIecVarBase*>(&object)) {
      j["dataType"] = DataTypeText(var->GetDataType());
      try {
        j["value"] = var->GetValue();
      } catch (const ZEB::CIllegalStateException&) {
        // chart outputs and global variables have no value
      }
      const Json sources = Connections(*var->GetSourceConnections(), true);
      const Json sinks = Connections(*var->GetSinkConnections(), false);
      if (!sources.empty()) j["sources"] = sources;
      if (!sinks.empty()) j["sinks"] = sinks;
    }
    std::unique_ptr<std::vector<CIecObject*>> children;
    try {
      children = object.GetChildren(nullptr);
    } catch (const ZEB::CInvalidArgException&) {
    }
    if (children && !children->empty()) {
      Json list = Json::array();
      for (CIecObject* child : *children) {
        if (!child) {
          list.push_back(Json{{"path", "(no IEC object)"}});
        } else if (depth > 0) {
          list.push_back(Describe(*child, depth - 1));
        } else {
          list.push_back(Summary(*child));
        }
      }
      j["children"] = list;
    }
    return j;
  }

private:
  template <class Fn>
  static void Optional(Json& j, const char* key, Fn&& fn) {
    try {
      const std::string value = fn();
      if (!value.empty()) j[key] = value;
    } catch (const ZEB::CException&) {
    }
  }

  Json Summary(CIecObject& object) {
    Json j{{"path", db_.Path(object.GetId())}, {"class", ClassName(object)}};
    if (auto* var = dynamic_cast<CIecVarBase*>(&object)) {
      j["dataType"] = DataTypeText(var->GetDataType());
      try {
        j["value"] = var->GetValue();
      } catch (const ZEB::CIllegalStateException&) {
      }
    }
    return j;
  }

  Json Connections(const std::vector<CIecConnection*>& connections, bool sources) {
    Json list = Json::array();
    for (CIecConnection* c : connections) {
      static const char* const kKinds[] = {"", "connection", "no connection", "textual reference"};
      Json j;
      if (sources && c->GetConnectionType() == IEC_TEXTUAL_REF_TYPE) {
        j["text"] = c->GetTextualRef();
      } else {
        j["path"] = db_.Path((sources ? c->GetSourceId() : c->GetSinkId()).id.GetId());
      }
      j["kind"] = c->GetConnectionType() <= 3 ? kKinds[c->GetConnectionType()] : "?";
      list.push_back(j);
    }
    return list;
  }

  ChartDbClient& db_;
};

void Print(const Json& j, std::ostream& out, int indent) {
  const std::string pad(static_cast<std::size_t>(indent), ' ');
  out << pad << j["path"].get<std::string>() << "  (" << j["class"].get<std::string>();
  if (j.contains("type")) out << ", type " << j["type"];
  out << ")\n";
  for (const char* key : {"name", "comment", "controller", "logicalPath", "blockType", "task", "dataType", "value"}) {
    if (j.contains(key)) {
      out << pad << "  " << key << ": " << (j[key].is_string() ? j[key].get<std::string>() : JsonText(j[key], -1))
          << "\n";
    }
  }
  if (j.contains("udas")) {
    for (const auto& [name, value] : j["udas"].items())
      out << pad << "  uda " << name << " = " << value.get<std::string>() << "\n";
  }
  for (const char* key : {"sources", "sinks"}) {
    if (!j.contains(key)) continue;
    for (const auto& c : j[key]) {
      out << pad << "  " << (std::string(key) == "sources" ? "<- " : "-> ")
          << (c.contains("text") ? "\"" + c["text"].get<std::string>() + "\"" : c["path"].get<std::string>()) << "  ("
          << c["kind"].get<std::string>() << ")\n";
    }
  }
  if (j.contains("children")) {
    out << pad << "  children:\n";
    for (const auto& child : j["children"]) {
      if (child.contains("name")) {
        Print(child, out, indent + 4);
      } else {
        out << pad << "    " << child["path"].get<std::string>();
        if (child.contains("class")) out << "  (" << child["class"].get<std::string>() << ")";
        if (child.contains("dataType")) out << "  " << child["dataType"].get<std::string>();
        if (child.contains("value")) out << " = " << child["value"].get<std::string>();
        out << "\n";
      }
    }
  }
}

} // namespace

int RunShow(const Options& options, const std::string& path, int depth, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId id = db.Resolve(path);
  CIecObjManager* manager = CIecObjManager::GetInstance();
  manager->Clear_i();
  Json description;
  try {
    CIecObject* object = manager->FindIecObject(CIecObjId(id));
    description = Describer(db).Describe(*object, depth);
  } catch (const ZEB::CException& e) {
    manager->Clear_i();
    throw GrxError("exception " + e.GetMessage() + " (" + e.GetFile() + ")");
  }
  manager->Clear_i();
  if (options.json) {
    out << JsonText(description) << "\n";
  } else {
    Print(description, out, 0);
  }
  return kExitOk;
}

} // namespace grx::cli
