// The exports of the helper library w5lhlpax. A host loads the library and calls these; every
// export runs in the library's own module state for the whole call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chartdb/q3jdbmox_types.h"
#include "platform/cstring.h"

#define W5GRX_API __attribute__((visibility("default")))

// A window handle as the host passes it (created through the platform's window handles).
using HWND = std::uintptr_t;

// ---- Plan navigation ---------------------------------------------------------------------------

// Finds the root chart of a controller whose name equals name without regard to case; on success
// chartId is the chart and name (at least 52 bytes) takes the name as stored.
W5GRX_API bool W5GRX_RootPlanFromName(GlObjectId cpuId, char* name, GlObjectId& chartId,
                                      GlTransactionId prevTransactionId);
// The root chart above a block, a chart or a parameter (its owner is asked first); chartId is
// set to 0 first.
W5GRX_API bool W5GRX_RootPlanFromVarOrBlock(GlObjectId objectId, GlObjectId& chartId, GlTransactionId prevTransactionId);
// The root chart named by the title of the window or of a window above it ("R1 -- ...").
W5GRX_API bool W5GRX_ActivePlanFromTitle(HWND window, GlObjectId cpuId, GlObjectId& chartId, std::string& name,
                                         GlTransactionId prevTransactionId);
// Appends the names of the controller's root charts.
W5GRX_API bool W5GRX_RootPlansFromCPU(GlObjectId cpuId, std::vector<std::string>& names,
                                      GlTransactionId prevTransactionId);
// Appends the identifiers of the controller's root charts.
W5GRX_API bool W5GRX_RootPlanIDsFromCPU(GlObjectId cpuId, std::vector<GlObjectId>& ids,
                                        GlTransactionId prevTransactionId);
// Whether the chart lies in no other chart.
W5GRX_API bool W5GRX_IsRootPlan(GlObjectId chartId, GlTransactionId prevTransactionId);
// Whether the object's name is one of names (exact comparison); false when it cannot be read.
W5GRX_API bool ExistPlan(GlObjectId objectId, std::vector<CString> names);
