// Control interface of the chart-database stand-in. The real chart database has no such calls:
// a host that knows nothing of the stand-in names its project in the environment variable
// Q3JDBMOX_PROJECT instead. Tools and tests use these calls to create, open and inspect projects
// and to inject faults. Every call returns 0 on success; on failure q3sim_LastError tells why.
#pragma once

#include <cstddef>
#include <cstdint>

#include "chartdb/q3jdbmox_types.h"

// The modes of q3sim_OpenProject.
enum : int { Q3SIM_OPEN_EXISTING = 0, Q3SIM_OPEN_CREATE = 1, Q3SIM_OPEN_READ_ONLY = 2 };

// The calls, declared from their table.
extern "C" {
#define GRX_SIM_FUNCTION(member, result, name, params) result name params;
#include "chartdb/q3sim_functions.def"
}
