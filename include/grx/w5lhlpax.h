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
W5GRX_API bool W5GRX_RootPlanFromVarOrBlock(GlObjectId objectId, GlObjectId& chartId,
                                            GlTransactionId prevTransactionId);
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

// ---- Chart paths and sub-chart hierarchy -------------------------------------------------------

// The chart named by a path "ROOT\\SUB\\SUB" among the controller's root charts; chartId stays
// unchanged when nothing is found. Raises OpenData::COpenDataException when a block listing fails.
W5GRX_API bool W5GRX_GetChart(CString path, GlObjectId cpuId, GlObjectId& chartId, GlTransactionId prevTransactionId);
// The sub-chart named by a path "SUB\\SUB" below a chart; subChartId stays unchanged when nothing is
// found.
W5GRX_API bool W5GRX_GetSubChart(GlObjectId chartId, CString path, GlObjectId& subChartId,
                                 GlTransactionId prevTransactionId);
// Appends every sub-chart at every depth, each followed by its own; the count, -1 on failure.
W5GRX_API int W5GRX_GetSubPlansByPlanID(GlObjectId chartId, GlTransactionId prevTransactionId,
                                        std::vector<GlObjectId>& ids);

// ---- Name syntax checks ------------------------------------------------------------------------

enum Syntax_Err_TypeEnum : std::int32_t {
  SYNTAX_ERR_NONE = 0,
  SYNTAX_ERR_INVALID_CHAR = 1,
  SYNTAX_ERR_DOUBLE_UNDERSCORE = 2,
  SYNTAX_ERR_LEADING_UNDERSCORE = 3,
  SYNTAX_ERR_TRAILING_UNDERSCORE = 4,
  SYNTAX_ERR_UNDERSCORE = 5,
  SYNTAX_ERR_FIRST_NOT_LETTER = 6,
  SYNTAX_ERR_UNDERSCORE_LETTER = 7,
  SYNTAX_ERR_FIRST_DIGIT = 8,
  SYNTAX_ERR_KEYWORD = 9,
  SYNTAX_ERR_TOO_LONG = 10,
};

// The first rule a name breaks, with the position of the offending character.
W5GRX_API Syntax_Err_TypeEnum W5GRX_CheckRootPlanName(std::string name, std::int32_t& position);
W5GRX_API Syntax_Err_TypeEnum W5GRX_CheckSubPlanName(std::string name, std::int32_t& position);
W5GRX_API Syntax_Err_TypeEnum W5GRX_CheckBlockName(std::string name, std::int32_t& position);
W5GRX_API Syntax_Err_TypeEnum W5GRX_CheckVarName(std::string name, std::int32_t& position);

// ---- Tasks, processing groups and chart interfaces ---------------------------------------------

// An interface item of a chart (40 bytes on the platform of origin; the rest is not filled).
struct BLOCK {
  std::string name;
  GlObjectId id = 0;
  unsigned char rest[16] = {};
};

struct PARAM {
  std::string name;     // the item's name in its attribute record
  std::string itemText; // the second text of that record
  GlObjectId id = 0;
};

// Appends the chart's interface items (inputs and outputs); answers false.
W5GRX_API bool W5GRX_GetPlanInterface(GlObjectId& chartId, std::vector<BLOCK>& blocks,
                                      GlTransactionId prevTransactionId);
// Appends the interface items with their attribute texts; answers false.
W5GRX_API bool W5GRX_GetPlanInterfaceParam(GlObjectId& chartId, std::vector<PARAM>& params);
// Finds an interface item by its upper-case name in the chart or its sub-charts.
W5GRX_API bool W5GRX_GetPlanInterfaceParentidAndLoc(GlObjectId chartId, std::string& name, GlObjectId& parentId,
                                                    GlObjectId& locId);
// The name of the task if the object is a member of one of its processing groups.
W5GRX_API bool W5GRX_GetTaskNamebyObjectId(GlObjectId taskId, GlObjectId objectId, std::string& taskName);
// Deletes the controller's tasks other than T1 to T5 whose processing groups are all empty.
W5GRX_API bool W5GRX_TaskDelete(GlObjectId cpuId, GlTransactionId prevTransactionId);
// Deletes a task together with its processing groups when every group is empty.
W5GRX_API bool W5GRX_TaskElementsDelete(GlObjectId taskId, GlTransactionId prevTransactionId);
// Deletes the empty processing groups of a task whose names are not listed.
W5GRX_API bool W5GRX_ProcessingGroupDeleteEmpty(GlObjectId taskId, std::vector<CString> names,
                                                GlTransactionId prevTransactionId);
// Runs W5GRX_ProcessingGroupDeleteEmpty over every task of the controller.
W5GRX_API bool W5GRX_GetTaskId(GlObjectId cpuId, std::vector<CString> names);
