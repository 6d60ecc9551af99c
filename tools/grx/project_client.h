// grx reaches the chart database through the stand-in's client; its failures end a command with
// exit code 1 and the client's reason.
#pragma once

#include "chartdb_client.h"

namespace grx::cli {
using dbclient::ChartDbClient;
using dbclient::ChartDbError;
using dbclient::CloseChartDatabase;
} // namespace grx::cli
