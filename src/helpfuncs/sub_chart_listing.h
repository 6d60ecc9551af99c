// The listing of a chart's sub-charts with iec_CfcBlocksGet (select value "is a chart"), the out
// values reset before every call, as the chart exports walk them.
#pragma once

#include "dbaccess/chartdb_functions.h"
#include "dbaccess/listing.h"

namespace grx::helpfuncs {

// onItem(block, type) answers how the listing goes on.
template <class OnItem>
dbaccess::ListingOutcome ForEachSubChartListed(GlObjectId chartId, GlTransactionId tr, OnItem&& onItem) {
  GlObjectId iter = 0;
  GlObjectId block = 0;
  GlObjectType type = dbaccess::kPresetElementType;
  return dbaccess::ForEachListed(
      [&](MODE mode) {
        block = 0;
        type = dbaccess::kPresetElementType;
        return iec_CfcBlocksGet(mode, IEC_SELECT_IS_CFC, chartId, iter, block, type, tr);
      },
      [&] { return onItem(block, type); });
}

} // namespace grx::helpfuncs
