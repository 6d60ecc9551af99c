// The summary of a project that `grx info` prints: controllers, charts as a tree, tasks with
// their processing groups and members, and counts; gathered through the chart-database API.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>

#include "project_client.h"

namespace grx::cli {

// depth: the chart levels listed (-1 all); every chart is counted.
nlohmann::ordered_json SummarizeProject(ChartDbClient& db, int depth = -1);
void PrintSummary(const nlohmann::ordered_json& summary, std::ostream& out);

} // namespace grx::cli
