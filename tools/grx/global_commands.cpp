// grx find-global RES PATTERN [--whole] [--case]: every use of every matching global variable,
// with its location text, root chart and direction.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iomanip>

#include "commands.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {

int RunFindGlobal(const Options& options, const std::string& controller, const std::string& pattern, bool whole,
                  bool matchCase, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
  const std::uint16_t flags = static_cast<std::uint16_t>((whole ? 1 : 0) | (matchCase ? 2 : 0));
  std::vector<FIND> results;
  if (!FindGlobalVar(db.Resolve(controller), pattern, flags, results, kNoTransaction)) {
    throw GrxError("the global variables of " + controller + " cannot be listed", kExitFailure);
  }
  auto direction = [](const FIND& f) { return f.kind == 0 ? "reads" : "writes"; };
  if (options.json) {
    auto list = nlohmann::ordered_json::array();
    for (const FIND& f : results) {
      list.push_back(nlohmann::ordered_json{{"global", f.globalVarName.str()},
                                            {"location", f.location.str()},
                                            {"rootChart", f.rootChartName.str()},
                                            {"direction", direction(f)},
                                            {"variable", f.varId ? db.Path(f.varId) : std::string()}});
    }
    out << JsonText(list) << "\n";
  } else if (results.empty()) {
    out << "no use of a global variable matching \"" << pattern << "\"\n";
  } else {
    std::size_t globalWidth = 6, locationWidth = 8;
    for (const FIND& f : results) {
      globalWidth = std::max<std::size_t>(globalWidth, f.globalVarName.str().size());
      locationWidth = std::max<std::size_t>(locationWidth, f.location.str().size());
    }
    out << std::left << std::setw(static_cast<int>(globalWidth)) << "global"
        << "  " << std::setw(6) << "uses"
        << "  " << std::setw(static_cast<int>(locationWidth)) << "location"
        << "  root chart\n";
    for (const FIND& f : results) {
      out << std::left << std::setw(static_cast<int>(globalWidth)) << f.globalVarName.str() << "  " << std::setw(6)
          << direction(f) << "  " << std::setw(static_cast<int>(locationWidth)) << f.location.str() << "  "
          << f.rootChartName.str() << "\n";
    }
  }
  return results.empty() ? kExitFailure : kExitOk;
}

} // namespace grx::cli
