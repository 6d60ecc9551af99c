// Plan navigation: root charts of a controller by name, window title or member object, lists of
// root charts, the root-chart test and ExistPlan.
#include <cstring>

#include "app/export_bodies.h"
#include "dbaccess/chartdb_functions.h"
#include "grx/w5lhlpax.h"
#include "dbaccess/listing.h"
#include "dbaccess/root_chart_walk.h"
#include "platform/code_page.h"
#include "platform/window_handles.h"

namespace {

constexpr std::size_t kNameBuffer = 52;

using grx::dbaccess::ForEachListed;
using grx::dbaccess::ListingStep;

// Iterates the root charts of a controller (filter IEC_SELECT_IS_CFC); onChart gets each
// delivered chart. True when the iteration ended (36 or the last chart), false on a failure.
template <class OnChart>
bool ForEachRootChart(GlObjectId cpuId, GlTransactionId tr, OnChart&& onChart) {
  GlObjectId chart = 0;
  GlObjectType type = IEC_OBJ_NULL;
  return !ForEachListed([&](MODE mode) { return iec_ChartsGet(mode, IEC_SELECT_IS_CFC, cpuId, chart, type, tr); },
                        [&] { onChart(chart); })
              .failed();
}

bool ReadName(GlObjectId id, char (&name)[kNameBuffer], GlTransactionId tr) {
  return gl_ErrorIdGet(gl_ObjectNameGet(id, name, tr)) == 0;
}

} // namespace

// The bodies of the exports; the frame (module state, exception policy) comes from the export table.
namespace grx::body {

bool W5GRX_RootPlanFromName(GlObjectId cpuId, char* name, GlObjectId& chartId, GlTransactionId prevTransactionId) {
  char stored[kNameBuffer] = {};
  GlObjectType type = IEC_OBJ_NULL;
  // The search ends only on a failure or a match: after the last chart one more M_NEXT call is
  // made, whose answer ends the search.
  bool found = false;
  ForEachListed(
      [&](MODE mode) { return iec_ChartsGet(mode, IEC_SELECT_IS_CFC, cpuId, chartId, type, prevTransactionId); },
      [&] {
        if (!ReadName(chartId, stored, prevTransactionId)) return ListingStep::Stop;
        if (name && grx::platform::AnsiEqualNoCase(stored, name)) {
          std::memcpy(name, stored, std::strlen(stored) + 1);
          found = true;
          return ListingStep::Stop;
        }
        return ListingStep::NextAfterLast;
      });
  return found;
}

bool W5GRX_RootPlanFromVarOrBlock(GlObjectId objectId, GlObjectId& chartId, GlTransactionId prevTransactionId) {
  chartId = 0;
  GlObjectId owner = 0;
  const GlObjectId start = gl_ErrorIdGet(iec_VarBlockGet(objectId, owner, prevTransactionId)) == 0 ? owner : objectId;
  // Charts that contain each other have no root: false, as for a failed call.
  const grx::dbaccess::RootChartWalk walk = grx::dbaccess::WalkToRootChart(start, prevTransactionId);
  if (!walk.Reached()) return false;
  chartId = walk.root;
  return true;
}

bool W5GRX_ActivePlanFromTitle(grx::platform::WindowHandle window, GlObjectId cpuId, GlObjectId& chartId,
                               std::string& name, GlTransactionId prevTransactionId) {
  namespace platform = grx::platform;
  if (window == 0) return false;
  std::string title;
  for (platform::WindowHandle current = window;;) {
    const platform::WindowHandle parent = platform::ParentWindow(current);
    if (parent == platform::DesktopWindow()) return false;
    title = platform::WindowTitle(current, 511).value_or("");
    if (title.find("--") != std::string::npos) break;
    if (parent == platform::kNoWindow) return false;
    current = parent;
  }
  for (char stop : {' ', '\\', '/', ':'}) {
    const auto at = title.find(stop);
    if (at != std::string::npos) title.resize(at);
  }
  std::string buffer = title;
  buffer.resize(std::max(title.size(), kNameBuffer) + 1, '\0');
  if (!body::W5GRX_RootPlanFromName(cpuId, buffer.data(), chartId, prevTransactionId)) return false;
  name = buffer.c_str();
  return true;
}

bool W5GRX_RootPlansFromCPU(GlObjectId cpuId, std::vector<std::string>& names, GlTransactionId prevTransactionId) {
  return ForEachRootChart(cpuId, prevTransactionId, [&](GlObjectId chart) {
    char name[kNameBuffer] = {};
    if (ReadName(chart, name, prevTransactionId)) names.emplace_back(name);
  });
}

bool W5GRX_RootPlanIDsFromCPU(GlObjectId cpuId, std::vector<GlObjectId>& ids, GlTransactionId prevTransactionId) {
  return ForEachRootChart(cpuId, prevTransactionId, [&](GlObjectId chart) { ids.push_back(chart); });
}

bool W5GRX_IsRootPlan(GlObjectId chartId, GlTransactionId prevTransactionId) {
  GlObjectId chart = 0;
  return gl_ErrorIdGet(iec_BlockCfcGet(chartId, chart, prevTransactionId)) == GL_ERR_NOT_IN_CHART;
}

bool ExistPlan(GlObjectId objectId, std::vector<CString> names) {
  char name[kNameBuffer] = {};
  if (!ReadName(objectId, name, kNoTransaction)) return false;
  for (const CString& candidate : names) {
    if (candidate == name) return true;
  }
  return false;
}

} // namespace grx::body
