// Chart paths and the sub-chart hierarchy: charts by their backslash path, and every sub-chart of
// a chart at every depth.
#include "app/grx_help_app.h"
#include "dbaccess/api_wrappers.h"
#include "foundation/module_trace.h"
#include "grx/w5lhlpax.h"
#include "helpfuncs/listing_answers.h"
#include "opendata/open_data_exception.h"

namespace {

constexpr const char* kFile = ".\\HelpFunc";
constexpr std::size_t kNameBuffer = 52;

using grx::helpfuncs::Delivered;
using grx::helpfuncs::EndOrDelivered;

// Splits at the first backslash: the part before it, and the rest (empty when there is none).
std::pair<std::string, std::string> SplitFirst(const std::string& path) {
  const auto slash = path.find('\\');
  if (slash == std::string::npos) return {path, std::string()};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

bool W5GRX_GetChart(CString path, GlObjectId cpuId, GlObjectId& chartId, GlTransactionId prevTransactionId) {
  GRX_EXPORT_FRAME;
  const auto [root, rest] = SplitFirst(path.str());
  GlObjectId chart = 0;
  GlObjectType type = IEC_OBJ_NULL;
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    const std::uint32_t errorId =
        gl_ErrorIdGet(iec_ChartsGet(mode, IEC_SELECT_ALL, cpuId, chart, type, prevTransactionId));
    if (!Delivered(errorId)) break;
    char name[kNameBuffer] = {};
    if (gl_ErrorIdGet(gl_ObjectNameGet(chart, name, prevTransactionId)) != 0) break;
    if (root == name) W5GRX_GetSubChart(chart, CString(rest), chartId, prevTransactionId);
    if (errorId == GL_ERR_LAST_ELEMENT) break;
  }
  return true;
}

bool W5GRX_GetSubChart(GlObjectId chartId, CString path, GlObjectId& subChartId, GlTransactionId prevTransactionId) {
  GRX_EXPORT_FRAME;
  const std::string text = path.str();
  const bool last = text.find('\\') == std::string::npos;
  const auto [head, rest] = SplitFirst(text);
  GlObjectId iter = 0;
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    GlObjectId block = 0;
    GlObjectType type = 36;
    const GlResult result = iec_CfcBlocksGet(mode, IEC_SELECT_IS_CFC, chartId, iter, block, type, prevTransactionId);
    std::uint32_t errorId = gl_ErrorIdGet(result);
    if (!EndOrDelivered(errorId)) {
      throw OpenData::COpenDataException("iec_CfcBlocksGet failed.", result, kFile, 3558);
    }
    if (Delivered(errorId) && type == IEC_OBJ_CFC) {
      // For a sub-chart the identifier that counts is the one of its name: a name that cannot be
      // read ends the search, and after a last sub-chart (166) one more M_NEXT call follows.
      char name[kNameBuffer] = {};
      errorId = gl_ErrorIdGet(gl_ObjectNameGet(block, name, prevTransactionId));
      if (errorId == 0 && head == name) {
        if (last) {
          subChartId = block;
        } else {
          W5GRX_GetSubChart(block, CString(rest), subChartId, prevTransactionId);
        }
      }
    }
    if (errorId != 0) break;
  }
  return true;
}

int W5GRX_GetSubPlansByPlanID(GlObjectId chartId, GlTransactionId prevTransactionId, std::vector<GlObjectId>& ids) {
  GRX_EXPORT_FRAME;
  TraceContext context(kFile, "W5GRX_GetSubPlansByPlanID");
  if (chartId == 0) {
    context.level = 4;
    context.line = 4042;
    TraceWrite(context, "Plan ID is NULL!");
    return -1;
  }
  int count = 0;
  GlObjectId iter = 0;
  for (MODE mode = M_FIRST;; mode = M_NEXT) {
    GlObjectId block = 0;
    GlObjectType type = 36;
    const GlResult result = iec_CfcBlocksGet(mode, IEC_SELECT_IS_CFC, chartId, iter, block, type, prevTransactionId);
    const std::uint32_t errorId = gl_ErrorIdGet(result);
    if (!EndOrDelivered(errorId)) {
      context.level = 4;
      context.line = 4087;
      TraceWrite(context, "OpenData error: iec_CfcBlocksGet failed. result = %x.", static_cast<unsigned>(result));
      return -1;
    }
    if (Delivered(errorId) && block != 0 && type == IEC_OBJ_CFC) {
      ids.push_back(block);
      const int below = W5GRX_GetSubPlansByPlanID(block, prevTransactionId, ids);
      if (below == -1) return -1;
      count += below + 1;
    }
    if (errorId != 0) return count;
  }
}
