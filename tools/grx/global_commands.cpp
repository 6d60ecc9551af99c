// grx find-global (every use of the matching global variables, with location, direction and root
// chart) and grx run-sequence (the blocks of a chart hierarchy in run order).
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

namespace grx::cli {

// The blocks of a chart hierarchy in run order: by task name, then group place, then block place
// (each sort is stable, so the last one decides first).
int RunRunSequence(const Options& options, const std::string& chart, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
  std::vector<MoveBlockInfoT> blocks;
  W5GRX_SearchMoveBlocks(db.Resolve(chart), blocks, kNoTransaction);
  W5GRX_SortBlock(blocks);
  W5GRX_SortGrPos(blocks);
  W5GRX_SortTpName(blocks);
  if (options.json) {
    auto list = nlohmann::ordered_json::array();
    for (const MoveBlockInfoT& b : blocks) {
      list.push_back(nlohmann::ordered_json{{"block", db.Path(b.blockId)},
                                            {"task", b.tpName},
                                            {"group", b.procGroupId ? db.Path(b.procGroupId) : std::string()},
                                            {"grPos", b.grPos},
                                            {"blockPos", b.blockPos}});
    }
    out << JsonText(list) << "\n";
    return kExitOk;
  }
  if (blocks.empty()) out << "no block of " << chart << " runs in a task\n";
  for (const MoveBlockInfoT& b : blocks) {
    out << std::left << std::setw(8) << b.tpName << " " << std::right << std::setw(3) << b.grPos << "." << std::left
        << std::setw(4) << b.blockPos << " " << db.Path(b.blockId) << "  ("
        << (b.procGroupId ? db.Path(b.procGroupId) : std::string("the task itself")) << ")\n";
  }
  return kExitOk;
}

} // namespace grx::cli
