// Chart paths and the sub-chart hierarchy: charts by their backslash path, and every sub-chart of
// a chart at every depth.
#include "app/export_bodies.h"
#include "dbaccess/chartdb_functions.h"
#include "foundation/module_trace.h"
#include "grx/w5lhlpax.h"
#include "dbaccess/listing.h"
#include "helpfuncs/sub_chart_listing.h"
#include "opendata/open_data_exception.h"

namespace {

constexpr const char* kFile = ".\\HelpFunc";
constexpr std::size_t kNameBuffer = 52;

using grx::dbaccess::ForEachListed;
using grx::dbaccess::kPresetElementType;
using grx::dbaccess::ListingStep;

// Splits at the first backslash: the part before it, and the rest (empty when there is none).
std::pair<std::string, std::string> SplitFirst(const std::string& path) {
  const auto slash = path.find('\\');
  if (slash == std::string::npos) return {path, std::string()};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

// The bodies of the exports; the frame (module state, exception policy) comes from the export table.
namespace grx::body {

bool W5GRX_GetChart(CString path, GlObjectId cpuId, GlObjectId& chartId, GlTransactionId prevTransactionId) {
  const auto [root, rest] = SplitFirst(path.str());
  GlObjectId chart = 0;
  GlObjectType type = IEC_OBJ_NULL;
  // A name that cannot be read ends the search; a failed listing ends it too.
  ForEachListed([&](MODE mode) { return iec_ChartsGet(mode, IEC_SELECT_ALL, cpuId, chart, type, prevTransactionId); },
                [&] {
                  char name[kNameBuffer] = {};
                  if (gl_ErrorIdGet(gl_ObjectNameGet(chart, name, prevTransactionId)) != 0) return ListingStep::Stop;
                  if (root == name) body::W5GRX_GetSubChart(chart, CString(rest), chartId, prevTransactionId);
                  return ListingStep::Next;
                });
  return true;
}

bool W5GRX_GetSubChart(GlObjectId chartId, CString path, GlObjectId& subChartId, GlTransactionId prevTransactionId) {
  const std::string text = path.str();
  const bool last = text.find('\\') == std::string::npos;
  const auto [head, rest] = SplitFirst(text);
  const auto outcome =
      helpfuncs::ForEachSubChartListed(chartId, prevTransactionId, [&](GlObjectId block, GlObjectType type) {
        if (type != IEC_OBJ_CFC) return ListingStep::Next;
        // For a sub-chart the identifier that counts is the one of its name: a name that cannot be
        // read ends the search, and after a last sub-chart (166) one more M_NEXT call follows.
        char name[kNameBuffer] = {};
        if (gl_ErrorIdGet(gl_ObjectNameGet(block, name, prevTransactionId)) != 0) return ListingStep::Stop;
        if (head == name) {
          if (last) {
            subChartId = block;
          } else {
            body::W5GRX_GetSubChart(block, CString(rest), subChartId, prevTransactionId);
          }
        }
        return ListingStep::NextAfterLast;
      });
  if (outcome.failed()) throw OpenData::COpenDataException("iec_CfcBlocksGet failed.", outcome.result, kFile, 3558);
  return true;
}

int W5GRX_GetSubPlansByPlanID(GlObjectId chartId, GlTransactionId prevTransactionId, std::vector<GlObjectId>& ids) {
  TraceContext context(kFile, "W5GRX_GetSubPlansByPlanID");
  if (chartId == 0) {
    context.level = 4;
    context.line = 4042;
    TraceWrite(context, "Plan ID is NULL!");
    return -1;
  }
  int count = 0;
  bool failedBelow = false;
  const auto outcome =
      helpfuncs::ForEachSubChartListed(chartId, prevTransactionId, [&](GlObjectId block, GlObjectType type) {
        if (block == 0 || type != IEC_OBJ_CFC) return ListingStep::Next;
        ids.push_back(block);
        const int below = body::W5GRX_GetSubPlansByPlanID(block, prevTransactionId, ids);
        if (below == -1) {
          failedBelow = true;
          return ListingStep::Stop;
        }
        count += below + 1;
        return ListingStep::Next;
      });
  if (outcome.failed()) {
    context.level = 4;
    context.line = 4087;
    TraceWrite(context, "OpenData error: iec_CfcBlocksGet failed. result = %x.", static_cast<unsigned>(outcome.result));
    return -1;
  }
  return failedBelow ? -1 : count;
}

} // namespace grx::body
