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

void CallContext::Out(const std::string& name, const nlohmann::ordered_json& value) { outs_[name] = value; }

void CallContext::OutId(const std::string& name, GlObjectId id) { outs_[name] = id == 0 ? "0" : db_.Path(id); }

void CallContext::OutIds(const std::string& name, const std::vector<GlObjectId>& ids) {
  auto list = nlohmann::ordered_json::array();
  for (GlObjectId id : ids) list.push_back(id == 0 ? "0" : db_.Path(id));
  outs_[name] = list;
}

void CallContext::CheckAllUsed() const {
  for (const auto& [name, value] : arguments_) {
    if (!used_.count(name)) throw GrxError("the export has no parameter " + name, kExitUsage);
  }
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
      {"ExistPlan", "objectId=OBJECT names=A,B,...",
       [](CallContext& c) {
         std::vector<CString> names;
         for (const std::string& n : c.List("names")) names.emplace_back(n);
         return nlohmann::ordered_json(ExistPlan(c.Id("objectId"), names));
       }},
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
