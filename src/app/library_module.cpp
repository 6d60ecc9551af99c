// The helper library module. Its exports arrive family by family; this unit ties the module
// together with the chart-database declaration table it binds against.
#include "chartdb/q3jdbmox_api.h"
#include "dbaccess/api_function_names.h"

static_assert(chartdb::kApiFunctionCount == 81, "the declaration table lists the API functions the library calls");
