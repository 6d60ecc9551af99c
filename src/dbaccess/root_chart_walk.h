// The one walk from an object up to its root chart: iec_BlockCfcGet followed until an object lies
// in no chart. The charts of a damaged project may contain each other; the walk stops when it
// comes back to an object it has passed, instead of going round for ever.
#pragma once

#include <unordered_set>

#include "chartdb/q3jdbmox_types.h"
#include "dbaccess/chartdb_functions.h"

namespace grx::dbaccess {

struct RootChartWalk {
  GlObjectId root = 0;  // the object that lies in no chart
  GlResult failure = 0; // the answer of a call that failed, 0 when none did
  GlObjectId cycle = 0; // the object met a second time, 0 when the walk met none
  bool Reached() const { return failure == 0 && cycle == 0; }
};

inline RootChartWalk WalkToRootChart(GlObjectId start, GlTransactionId tr) {
  RootChartWalk walk;
  std::unordered_set<GlObjectId> passed;
  GlObjectId chart = 0; // one out-value for every step: each call is handed the chart the last one gave
  for (GlObjectId current = start;;) {
    if (!passed.insert(current).second) {
      walk.cycle = current;
      return walk;
    }
    const GlResult result = iec_BlockCfcGet(current, chart, tr);
    const std::uint32_t errorId = gl_ErrorIdGet(result);
    if (errorId == GL_ERR_NOT_IN_CHART) {
      walk.root = current;
      return walk;
    }
    if (errorId != 0) {
      walk.failure = result;
      return walk;
    }
    current = chart;
  }
}

} // namespace grx::dbaccess
