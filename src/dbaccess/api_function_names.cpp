#include "dbaccess/api_function_names.h"

#include "chartdb/q3jdbmox_api.h"

namespace grx::dbaccess {

std::string_view ExportedNameOf(std::string_view apiName) {
  for (const auto& f : chartdb::kApiFunctions) {
    if (apiName == f.name) return f.exportedName;
  }
  return {};
}

std::size_t ApiFunctionCount() {
  return chartdb::kApiFunctionCount;
}

} // namespace grx::dbaccess
