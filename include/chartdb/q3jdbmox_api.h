// Declarations of the chart-database API functions, made from the declaration table.
// The helper library never links these: it loads Q3JDBMOX.DLL by name and binds each function
// on its first call. The chart-database stand-in defines them.
#pragma once

#include "chartdb/q3jdbmox_types.h"
#include "grx/table_macros.h"

// The parts of one API parameter (type, name and, where the table names it, its printer).
#define GRX_API_PARAM_DECL(type, name, ...) type name
#define GRX_API_PARAM_TYPE(type, name, ...) type
#define GRX_API_PARAMS(...) GRX_PP_MAP(GRX_API_PARAM_DECL, GRX_PP_COMMA, __VA_ARGS__)
#define GRX_API_PARAM_TYPES(...) GRX_PP_MAP(GRX_API_PARAM_TYPE, GRX_PP_COMMA, __VA_ARGS__)

#define GRX_API(kind, result, name, ...) extern "C" result name(GRX_API_PARAMS(__VA_ARGS__));
#define GRX_API_OVERLOAD(result, name, decorated, ...) result name(GRX_API_PARAMS(__VA_ARGS__));
#include "chartdb/q3jdbmox_functions.def"

namespace chartdb {

// One entry per function of the table: its exported name (decorated for overloads).
struct ApiFunctionName {
  const char* name;
  const char* exportedName;
};

inline constexpr ApiFunctionName kApiFunctions[] = {
#define GRX_API(kind, result, name, ...) {#name, #name},
#define GRX_API_OVERLOAD(result, name, decorated, ...) {#name, decorated},
#include "chartdb/q3jdbmox_functions.def"
};

inline constexpr std::size_t kApiFunctionCount = sizeof(kApiFunctions) / sizeof(kApiFunctions[0]);

// Function pointer types, one per function: chartdb::fn::iec_TaskRead and so on.
namespace fn {
#define GRX_API(kind, result, name, ...) using name = result (*)(GRX_API_PARAM_TYPES(__VA_ARGS__));
#define GRX_API_OVERLOAD(result, name, decorated, ...) using name = result (*)(GRX_API_PARAM_TYPES(__VA_ARGS__));
#include "chartdb/q3jdbmox_functions.def"
} // namespace fn

} // namespace chartdb
