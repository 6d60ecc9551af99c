#include "export_call.h"

#include "grx/w5lhlpax.h"
#include "grx_error.h"

namespace grx::cli {

CallContext::CallContext(ChartDbClient& db, const std::vector<std::string>& arguments, std::uintptr_t defaultWindow)
    : db_(db), defaultWindow_(defaultWindow) {
  for (const std::string& argument : arguments) {
    const auto equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) {
      throw GrxError("arguments are name=value, not \"" + argument + "\"", kExitUsage);
    }
    arguments_[argument.substr(0, equals)] = argument.substr(equals + 1);
  }
}

const std::string* CallContext::Find(const std::string& name) {
  const auto it = arguments_.find(name);
  if (it == arguments_.end()) return nullptr;
  used_[name] = true;
  return &it->second;
}

GlObjectId CallContext::Id(const std::string& name) {
  const std::string* value = Find(name);
  if (!value) throw GrxError("missing argument " + name + "=OBJECT", kExitUsage);
  return db_.Resolve(*value);
}

GlObjectId CallContext::Id(const std::string& name, GlObjectId fallback) {
  const std::string* value = Find(name);
  return value ? db_.Resolve(*value) : fallback;
}

std::string CallContext::Text(const std::string& name) {
  const std::string* value = Find(name);
  if (!value) throw GrxError("missing argument " + name + "=TEXT", kExitUsage);
  return *value;
}

std::string CallContext::Text(const std::string& name, const std::string& fallback) {
  const std::string* value = Find(name);
  return value ? *value : fallback;
}

std::vector<std::string> CallContext::List(const std::string& name) {
  std::vector<std::string> items;
  const std::string* value = Find(name);
  if (!value || value->empty()) return items;
  std::size_t start = 0;
  for (;;) {
    const auto comma = value->find(',', start);
    items.push_back(value->substr(start, comma - start));
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

GlTransactionId CallContext::Transaction() {
  const std::string* value = Find("prevTransactionId");
  if (!value) return kNoTransaction;
  try {
    const unsigned long number = std::stoul(*value, nullptr, 0);
    if (number > 0xFFFF) throw std::out_of_range(*value);
    return static_cast<GlTransactionId>(number);
  } catch (const std::exception&) {
    throw GrxError("prevTransactionId takes a number from 0 to 65535", kExitUsage);
  }
}

std::uintptr_t CallContext::Window(const std::string& name) {
  const std::string* value = Find(name);
  if (!value) return defaultWindow_;
  try {
    return static_cast<std::uintptr_t>(std::stoull(*value, nullptr, 0));
  } catch (const std::exception&) {
    throw GrxError(name + " takes a window handle (a number; --window builds one)", kExitUsage);
  }
}

void CallContext::Out(const std::string& name, const nlohmann::ordered_json& value) {
  outs_[name] = value;
}

void CallContext::OutId(const std::string& name, GlObjectId id) {
  outs_[name] = PathText(id);
}

void CallContext::OutIds(const std::string& name, const std::vector<GlObjectId>& ids) {
  auto list = nlohmann::ordered_json::array();
  for (GlObjectId id : ids) list.push_back(PathText(id));
  outs_[name] = list;
}

void CallContext::CheckAllUsed() const {
  for (const auto& [name, value] : arguments_) {
    if (!used_.count(name)) throw GrxError("the export has no parameter " + name, kExitUsage);
  }
}

namespace {

std::vector<CString> CStrings(const std::vector<std::string>& texts) {
  return std::vector<CString>(texts.begin(), texts.end());
}

nlohmann::ordered_json CheckName(CallContext& c, Syntax_Err_TypeEnum (*check)(std::string, std::int32_t&)) {
  std::int32_t position = -1;
  const Syntax_Err_TypeEnum result = check(c.Text("name"), position);
  c.Out("position", position);
  return nlohmann::ordered_json(static_cast<int>(result));
}

} // namespace

std::string CallContext::PathText(GlObjectId id) {
  return id == 0 ? "0" : db_.Path(id);
}

const std::vector<ExportEntry>& Exports() {
  static const std::vector<ExportEntry> exports = {
      {"W5GRX_RootPlanFromName", "cpuId=RES name=TEXT [prevTransactionId=N]",
       [](CallContext& c) {
         std::string name = c.Text("name");
         name.resize(std::max<std::size_t>(name.size(), 52) + 1, '\0');
         GlObjectId chart = c.Id("chartId", 0);
         const GlObjectId cpu = c.Id("cpuId");
         const bool result = W5GRX_RootPlanFromName(cpu, name.data(), chart, c.Transaction());
         c.Out("name", name.c_str());
         c.OutId("chartId", chart);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_RootPlanFromVarOrBlock", "objectId=OBJECT [prevTransactionId=N]",
       [](CallContext& c) {
         GlObjectId chart = 0;
         const bool result = W5GRX_RootPlanFromVarOrBlock(c.Id("objectId"), chart, c.Transaction());
         c.OutId("chartId", chart);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_ActivePlanFromTitle", "[window=HANDLE] cpuId=RES [prevTransactionId=N]",
       [](CallContext& c) {
         GlObjectId chart = 0;
         std::string name;
         const HWND window = c.Window("window");
         const bool result = W5GRX_ActivePlanFromTitle(window, c.Id("cpuId"), chart, name, c.Transaction());
         c.OutId("chartId", chart);
         c.Out("name", name);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_RootPlansFromCPU", "cpuId=RES [names=A,B] [prevTransactionId=N]",
       [](CallContext& c) {
         std::vector<std::string> names = c.List("names");
         const bool result = W5GRX_RootPlansFromCPU(c.Id("cpuId"), names, c.Transaction());
         c.Out("names", names);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_RootPlanIDsFromCPU", "cpuId=RES [prevTransactionId=N]",
       [](CallContext& c) {
         std::vector<GlObjectId> ids;
         const bool result = W5GRX_RootPlanIDsFromCPU(c.Id("cpuId"), ids, c.Transaction());
         c.OutIds("ids", ids);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_IsRootPlan", "chartId=CHART [prevTransactionId=N]",
       [](CallContext& c) {
         const GlObjectId chart = c.Id("chartId");
         return nlohmann::ordered_json(W5GRX_IsRootPlan(chart, c.Transaction()));
       }},
      {"W5GRX_GetChart", "path=ROOT\\SUB cpuId=RES [prevTransactionId=N]",
       [](CallContext& c) {
         GlObjectId chart = c.Id("chartId", 0);
         const bool result = W5GRX_GetChart(CString(c.Text("path")), c.Id("cpuId"), chart, c.Transaction());
         c.OutId("chartId", chart);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_GetSubChart", "chartId=CHART path=SUB\\SUB [prevTransactionId=N]",
       [](CallContext& c) {
         GlObjectId sub = c.Id("subChartId", 0);
         const bool result = W5GRX_GetSubChart(c.Id("chartId"), CString(c.Text("path")), sub, c.Transaction());
         c.OutId("subChartId", sub);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_GetSubPlansByPlanID", "chartId=CHART [prevTransactionId=N]",
       [](CallContext& c) {
         std::vector<GlObjectId> ids;
         const GlObjectId chart = c.Id("chartId");
         const int count = W5GRX_GetSubPlansByPlanID(chart, c.Transaction(), ids);
         c.OutIds("ids", ids);
         return nlohmann::ordered_json(count);
       }},
      {"W5GRX_CheckRootPlanName", "name=TEXT", [](CallContext& c) { return CheckName(c, W5GRX_CheckRootPlanName); }},
      {"W5GRX_CheckSubPlanName", "name=TEXT", [](CallContext& c) { return CheckName(c, W5GRX_CheckSubPlanName); }},
      {"W5GRX_CheckBlockName", "name=TEXT", [](CallContext& c) { return CheckName(c, W5GRX_CheckBlockName); }},
      {"W5GRX_CheckVarName", "name=TEXT", [](CallContext& c) { return CheckName(c, W5GRX_CheckVarName); }},
      {"W5GRX_GetPlanInterface", "chartId=CHART [prevTransactionId=N]",
       [](CallContext& c) {
         GlObjectId chart = c.Id("chartId");
         std::vector<BLOCK> blocks;
         const bool result = W5GRX_GetPlanInterface(chart, blocks, c.Transaction());
         auto list = nlohmann::ordered_json::array();
         for (const BLOCK& b : blocks)
           list.push_back(nlohmann::ordered_json{{"name", b.name}, {"id", c.PathText(b.id)}});
         c.Out("blocks", list);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_GetPlanInterfaceParam", "chartId=CHART",
       [](CallContext& c) {
         GlObjectId chart = c.Id("chartId");
         std::vector<PARAM> params;
         const bool result = W5GRX_GetPlanInterfaceParam(chart, params);
         auto list = nlohmann::ordered_json::array();
         for (const PARAM& p : params) {
           list.push_back(nlohmann::ordered_json{{"name", p.name}, {"itemText", p.itemText}, {"id", c.PathText(p.id)}});
         }
         c.Out("params", list);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_GetPlanInterfaceParentidAndLoc", "chartId=CHART name=TEXT",
       [](CallContext& c) {
         std::string name = c.Text("name");
         GlObjectId parent = 0, location = 0;
         const bool result = W5GRX_GetPlanInterfaceParentidAndLoc(c.Id("chartId"), name, parent, location);
         c.OutId("parentId", parent);
         c.OutId("locId", location);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_GetTaskNamebyObjectId", "taskId=TASK objectId=OBJECT",
       [](CallContext& c) {
         std::string name;
         const bool result = W5GRX_GetTaskNamebyObjectId(c.Id("taskId"), c.Id("objectId"), name);
         c.Out("taskName", name);
         return nlohmann::ordered_json(result);
       }},
      {"W5GRX_TaskDelete", "cpuId=RES [prevTransactionId=N]",
       [](CallContext& c) {
         const GlObjectId cpu = c.Id("cpuId");
         return nlohmann::ordered_json(W5GRX_TaskDelete(cpu, c.Transaction()));
       }},
      {"W5GRX_TaskElementsDelete", "taskId=TASK [prevTransactionId=N]",
       [](CallContext& c) {
         const GlObjectId task = c.Id("taskId");
         return nlohmann::ordered_json(W5GRX_TaskElementsDelete(task, c.Transaction()));
       }},
      {"W5GRX_ProcessingGroupDeleteEmpty", "taskId=TASK [names=A,B] [prevTransactionId=N]",
       [](CallContext& c) {
         const GlObjectId task = c.Id("taskId");
         return nlohmann::ordered_json(
             W5GRX_ProcessingGroupDeleteEmpty(task, CStrings(c.List("names")), c.Transaction()));
       }},
      {"W5GRX_GetTaskId", "cpuId=RES [names=A,B]",
       [](CallContext& c) {
         return nlohmann::ordered_json(W5GRX_GetTaskId(c.Id("cpuId"), CStrings(c.List("names"))));
       }},
      {"ExistPlan", "objectId=OBJECT names=A,B,...",
       [](CallContext& c) { return nlohmann::ordered_json(ExistPlan(c.Id("objectId"), CStrings(c.List("names")))); }},
  };
  return exports;
}

const ExportEntry* FindExport(const std::string& name) {
  for (const ExportEntry& e : Exports()) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

} // namespace grx::cli
