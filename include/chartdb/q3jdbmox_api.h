// Declarations of the chart-database API functions, made from the declaration table.
// The helper library never links these: it loads Q3JDBMOX.DLL by name and binds each function
// on its first call. The chart-database stand-in defines them.
#pragma once

#include "chartdb/q3jdbmox_types.h"

#define GRX_API_FUNCTION(result, name, params, args) extern "C" result name params;
#define GRX_API_OVERLOAD(result, name, decorated, params, args) result name params;
#define GRX_API_SPECIAL(kind, result, name, params, args) extern "C" result name params;
#include "chartdb/q3jdbmox_functions.def"

namespace chartdb {

// One entry per function of the table: its exported name (decorated for overloads).
struct ApiFunctionName {
  const char* name;
  const char* exportedName;
};

inline constexpr ApiFunctionName kApiFunctions[] = {
#define GRX_API_FUNCTION(result, name, params, args) {#name, #name},
#define GRX_API_OVERLOAD(result, name, decorated, params, args) {#name, decorated},
#define GRX_API_SPECIAL(kind, result, name, params, args) {#name, #name},
#include "chartdb/q3jdbmox_functions.def"
};

inline constexpr std::size_t kApiFunctionCount = sizeof(kApiFunctions) / sizeof(kApiFunctions[0]);

// Function pointer types, one per function: chartdb::fn::iec_TaskRead and so on.
namespace fn {
#define GRX_API_FUNCTION(result, name, params, args) using name = result(*) params;
#define GRX_API_OVERLOAD(result, name, decorated, params, args) using name = result(*) params;
#define GRX_API_SPECIAL(kind, result, name, params, args) using name = result(*) params;
#include "chartdb/q3jdbmox_functions.def"
} // namespace fn

} // namespace chartdb
