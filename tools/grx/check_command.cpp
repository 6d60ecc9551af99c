// grx check RES: the library's checks over a whole controller, one line per finding with the
// object's path, as a compiler prints them. Exit 0 without findings, 1 with, 2 when the check
// could not run.
#include <nlohmann/json.hpp>

#include <iostream>

#include "commands.h"
#include "grx_error.h"
#include "project_check.h"
#include "terminal_text.h"

namespace grx::cli {

int RunCheck(const Options& options, const std::string& controller, std::ostream& out) {
  std::vector<Finding> findings;
  try {
    ChartDbClient& db = ChartDbClient::Instance();
    OpenProjectForExports(options, db);
    findings = CheckController(db, db.Resolve(controller));
  } catch (const std::exception& e) {
    std::cerr << "grx check: the check could not run: " << e.what() << "\n";
    return kExitCheckFailed;
  }
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
  return findings.empty() ? kExitOk : kExitFailure;
}

} // namespace grx::cli
