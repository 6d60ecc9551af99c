// The whole-controller check behind grx check: the library's own checks run over every object of
// a controller, one finding per problem with the object's path. One pass over the controller's
// charts, blocks, variables and connections: its cost grows with the project linearly.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "project_client.h"

namespace grx::cli {

struct Finding {
  std::string kind; // "name", "connection", "unused-global", "stamp", "data-version"
  std::string path; // the object
  std::string message;
  nlohmann::ordered_json details; // what the message says, for scripts
};

// The findings of a controller, in the order the objects are met. GrxError when the chart
// database fails.
std::vector<Finding> CheckController(ChartDbClient& db, GlObjectId controller);

} // namespace grx::cli
