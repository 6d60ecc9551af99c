#include "chartdb_client.h"

#include "grx_error.h"

namespace grx::cli {

namespace {
template <class Fn>
void Bind(void* module, Fn& slot, const char* name) {
  slot = reinterpret_cast<Fn>(platform::FindInHandle(module, name));
  if (!slot) {
    throw GrxError(std::string("the chart database does not export ") + name);
  }
}
} // namespace

ChartDbClient*& ChartDbClient::Loaded() {
  static ChartDbClient* loaded = nullptr;
  return loaded;
}

ChartDbClient& ChartDbClient::Instance() {
  static ChartDbClient client;
  Loaded() = &client;
  return client;
}

void CloseChartDatabase() {
  if (ChartDbClient* client = ChartDbClient::Loaded()) client->CloseProject();
}

ChartDbClient::ChartDbClient() {
  std::string error;
  platform::Module module = platform::Module::Load("Q3JDBMOX.DLL", &error);
  if (!module) {
    throw GrxError(error);
  }
  // Kept loaded for the rest of the process, as the library's binding keeps it: its functions
  // stay callable from static destructors, and its thread-local data is never torn down early.
  module_ = module.Detach();
#define GRX_API_FUNCTION(result, name, params, args) Bind(module_, name, #name);
#define GRX_API_OVERLOAD(result, name, decorated, params, args) Bind(module_, name, decorated);
#define GRX_API_SPECIAL(kind, result, name, params, args) Bind(module_, name, #name);
#include "chartdb/q3jdbmox_functions.def"
  Bind(module_, OpenProject, "q3sim_OpenProject");
  Bind(module_, CloseProject, "q3sim_CloseProject");
  Bind(module_, LastError, "q3sim_LastError");
  Bind(module_, ImportDescription, "q3sim_ImportDescription");
  Bind(module_, ExportDescription, "q3sim_ExportDescription");
  Bind(module_, Controllers, "q3sim_Controllers");
  Bind(module_, ResolvePath, "q3sim_ResolvePath");
  Bind(module_, PathOf, "q3sim_PathOf");
  Bind(module_, InjectFault, "q3sim_InjectFault");
  Bind(module_, ClearFaults, "q3sim_ClearFaults");
  Bind(module_, CallCount, "q3sim_CallCount");
  Bind(module_, ResetCallCounts, "q3sim_ResetCallCounts");
  Bind(module_, ErrorHandlerCalls, "q3sim_ErrorHandlerCalls");
  Bind(module_, ObjectSetContents, "q3sim_ObjectSetContents");
  Bind(module_, SetSoftwareVersion, "q3sim_SetSoftwareVersion");
}

void ChartDbClient::Open(const std::string& path) {
  if (OpenProject(path.c_str(), 0) != 0) {
    throw GrxError(LastError());
  }
}

void ChartDbClient::Import(const std::string& json, const std::string& path) {
  if (ImportDescription(json.c_str(), path.c_str()) != 0) {
    throw GrxError(LastError());
  }
}

std::string ChartDbClient::Export() {
  const char* text = nullptr;
  if (ExportDescription(&text) != 0) {
    throw GrxError(LastError());
  }
  return text;
}

std::vector<GlObjectId> ChartDbClient::ControllerIds() {
  std::vector<GlObjectId> ids(Controllers(nullptr, 0));
  ids.resize(Controllers(ids.data(), ids.size()));
  return ids;
}

GlObjectId ChartDbClient::Resolve(const std::string& path) {
  GlObjectId id = 0;
  if (ResolvePath(path.c_str(), &id) != 0) {
    throw GrxError(LastError());
  }
  return id;
}

std::string ChartDbClient::Path(GlObjectId id) {
  const char* text = nullptr;
  if (PathOf(id, &text) != 0) {
    throw GrxError(LastError());
  }
  return text;
}

} // namespace grx::cli
