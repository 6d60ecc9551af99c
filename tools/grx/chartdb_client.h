// grx's connection to the chart database: the API library loaded by name, every API function of
// the declaration table bound, and the stand-in's control calls.
#pragma once

#include <string>

#include "chartdb/q3jdbmox_api.h"
#include "chartdb/q3sim_control.h"
#include "platform/dynamic_library.h"

namespace grx::cli {

class ChartDbClient {
public:
  // Loads Q3JDBMOX.DLL on first use; throws GrxError when it or one of its functions is missing.
  static ChartDbClient& Instance();

#define GRX_API_FUNCTION(result, name, params, args) chartdb::fn::name name = nullptr;
#define GRX_API_OVERLOAD(result, name, decorated, params, args) chartdb::fn::name name = nullptr;
#define GRX_API_SPECIAL(kind, result, name, params, args) chartdb::fn::name name = nullptr;
#include "chartdb/q3jdbmox_functions.def"

  decltype(&q3sim_OpenProject) OpenProject = nullptr;
  decltype(&q3sim_CloseProject) CloseProject = nullptr;
  decltype(&q3sim_LastError) LastError = nullptr;
  decltype(&q3sim_ImportDescription) ImportDescription = nullptr;
  decltype(&q3sim_ExportDescription) ExportDescription = nullptr;
  decltype(&q3sim_Controllers) Controllers = nullptr;
  decltype(&q3sim_ResolvePath) ResolvePath = nullptr;
  decltype(&q3sim_PathOf) PathOf = nullptr;
  decltype(&q3sim_InjectFault) InjectFault = nullptr;
  decltype(&q3sim_ClearFaults) ClearFaults = nullptr;
  decltype(&q3sim_CallCount) CallCount = nullptr;
  decltype(&q3sim_ResetCallCounts) ResetCallCounts = nullptr;
  decltype(&q3sim_ErrorHandlerCalls) ErrorHandlerCalls = nullptr;
  decltype(&q3sim_ObjectSetContents) ObjectSetContents = nullptr;
  decltype(&q3sim_SetSoftwareVersion) SetSoftwareVersion = nullptr;

  // Opens an existing project; GrxError with the reason when it cannot.
  void Open(const std::string& path);
  // Imports a description file's text into a new project file.
  void Import(const std::string& json, const std::string& path);
  std::string Export();
  std::vector<GlObjectId> ControllerIds();
  GlObjectId Resolve(const std::string& path);
  std::string Path(GlObjectId id);
  std::uint32_t ErrorId(GlResult result) {
    return gl_ErrorIdGet(result);
  }

private:
  friend void CloseChartDatabase();
  static ChartDbClient*& Loaded();
  ChartDbClient();
  void* module_ = nullptr;
};

// Closes the open project when the chart database was loaded; does nothing otherwise.
void CloseChartDatabase();

} // namespace grx::cli
