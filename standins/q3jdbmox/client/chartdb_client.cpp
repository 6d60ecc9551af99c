#include "chartdb_client.h"

#include <algorithm>

#include "platform/dynamic_library.h"

namespace grx::dbclient {

namespace {
template <class Fn>
void Bind(void* module, Fn& slot, const char* name) {
  slot = reinterpret_cast<Fn>(platform::FindInHandle(module, name));
  if (!slot) {
    throw ChartDbError(std::string("the chart database does not export ") + name);
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
    throw ChartDbError(error);
  }
  // Kept loaded for the rest of the process, as the library's binding keeps it: its functions
  // stay callable from static destructors, and its thread-local data is never torn down early.
  module_ = module.Detach();
#define GRX_API(kind, result, name, ...) Bind(module_, name, #name);
#define GRX_API_OVERLOAD(result, name, decorated, ...) Bind(module_, name, decorated);
#include "chartdb/q3jdbmox_functions.def"
#define GRX_SIM_FUNCTION(member, result, name, params) Bind(module_, member, #name);
#include "chartdb/q3sim_functions.def"
}

void ChartDbClient::Open(const std::string& path, int mode) {
  if (OpenProject(path.c_str(), mode) != 0) {
    throw ChartDbError(LastError());
  }
}

void ChartDbClient::Import(const std::string& json, const std::string& path) {
  if (ImportDescription(json.c_str(), path.c_str()) != 0) {
    throw ChartDbError(LastError());
  }
}

std::string ChartDbClient::Export() {
  const char* text = nullptr;
  if (ExportDescription(&text) != 0) {
    throw ChartDbError(LastError());
  }
  return text;
}

std::vector<GlObjectId> ChartDbClient::ControllerIds() {
  std::size_t count = 0;
  if (Controllers(nullptr, 0, &count) != 0) throw ChartDbError(LastError());
  std::vector<GlObjectId> ids(count);
  if (Controllers(ids.data(), ids.size(), &count) != 0) throw ChartDbError(LastError());
  ids.resize(std::min(count, ids.size()));
  return ids;
}

GlObjectId ChartDbClient::Resolve(const std::string& path) {
  GlObjectId id = 0;
  if (ResolvePath(path.c_str(), &id) != 0) {
    throw ChartDbError(LastError());
  }
  return id;
}

std::string ChartDbClient::Path(GlObjectId id) {
  const char* text = nullptr;
  if (PathOf(id, &text) != 0) {
    throw ChartDbError(LastError());
  }
  return text;
}

} // namespace grx::dbclient
