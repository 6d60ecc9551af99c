// A client of the chart database for grx, the tests and the benchmarks: the API library loaded by
// name, every API function of its declaration table bound, and the stand-in's control calls bound
// from theirs.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "chartdb/q3jdbmox_api.h"
#include "chartdb/q3sim_control.h"

namespace grx::dbclient {

// The chart database could not be loaded, lacks a function, or refused a control call; the text
// says why.
class ChartDbError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class ChartDbClient {
public:
  // Loads Q3JDBMOX.DLL on first use; throws ChartDbError when it or one of its functions is missing.
  static ChartDbClient& Instance();

#define GRX_API(kind, result, name, ...) ::chartdb::fn::name name = nullptr;
#define GRX_API_OVERLOAD(result, name, decorated, ...) ::chartdb::fn::name name = nullptr;
#include "chartdb/q3jdbmox_functions.def"

#define GRX_SIM_FUNCTION(member, result, name, params) decltype(&::name) member = nullptr;
#include "chartdb/q3sim_functions.def"

  // Opens an existing project (mode as q3sim_OpenProject); ChartDbError with the reason when it
  // cannot.
  void Open(const std::string& path, int mode = Q3SIM_OPEN_EXISTING);
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

} // namespace grx::dbclient
