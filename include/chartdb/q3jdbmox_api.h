// Declarations of the chart-database API functions, made from the declaration table.
// The helper library never links these: it loads Q3JDBMOX.DLL by name and binds each function
// on its first call. The chart-database stand-in defines them.
#pragma once

#include "chartdb/q3jdbmox_types.h"

#define GRX_API_FUNCTION(result, name, params) extern "C" result name params;
#define GRX_API_OVERLOAD(result, name, decorated, params) result name params;
#include "chartdb/q3jdbmox_functions.def"

namespace chartdb {

// One entry per function of the table: its exported name (decorated for overloads).
struct ApiFunctionName {
  const char* name;
  const char* exportedName;
};

inline constexpr ApiFunctionName kApiFunctions[] = {
#define GRX_API_FUNCTION(result, name, params) {#name, #name},
#define GRX_API_OVERLOAD(result, name, decorated, params) {#name, decorated},
#include "chartdb/q3jdbmox_functions.def"
};

inline constexpr std::size_t kApiFunctionCount = sizeof(kApiFunctions) / sizeof(kApiFunctions[0]);

// Function pointer types, one per function: chartdb::fn::iec_TaskRead and so on.
namespace fn {
#define GRX_API_FUNCTION(result, name, params) using name = result(*) params;
#define GRX_API_OVERLOAD(result, name, decorated, params) using name = result(*) params;
#include "chartdb/q3jdbmox_functions.def"
} // namespace fn

} // namespace chartdb
