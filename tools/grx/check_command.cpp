// grx check RES: the library's checks over a whole controller, one line per finding with the
// object's path, as a compiler prints them. Exit 0 without findings, 1 with.
#include <nlohmann/json.hpp>

#include <iostream>

#include "commands.h"
#include "grx_error.h"
#include "project_check.h"
#include "terminal_text.h"

namespace grx::cli {

int RunCheck(const Options& options, const std::string& controller, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const std::vector<Finding> findings = CheckController(db, db.Resolve(controller));
  if (options.json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Finding& f : findings) {
      list.push_back({{"kind", f.kind}, {"path", f.path}, {"message", f.message}, {"details", f.details}});
    }
    out << JsonText(nlohmann::ordered_json{{"controller", controller}, {"findings", list}}) << "\n";
  } else {
    for (const Finding& f : findings) out << f.path << ": " << f.kind << ": " << f.message << "\n";
    out << controller << ": " << findings.size() << " finding(s)\n";
  }
  return findings.empty() ? kExitOk : kExitNo;
}

} // namespace grx::cli
