// grx find-global (every use of the matching global variables, with location, direction and root
// chart), grx rename-global (every connection moved to another global in one transaction), grx
// run-sequence and grx move-blocks (the blocks of a chart hierarchy in run order, and moved into a
// processing group).
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iomanip>
#include <map>
#include <optional>
#include <set>

#include "api_iteration.h"
#include "data_type_text.h"
#include "commands.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "platform/code_page.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {

int RunFindGlobal(const Options& options, const std::string& controller, const std::string& pattern, bool whole,
                  bool matchCase, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const std::uint16_t flags = static_cast<std::uint16_t>((whole ? 1 : 0) | (matchCase ? 2 : 0));
  std::vector<FIND> results;
  if (!FindGlobalVar(db.Resolve(controller), pattern, flags, results, kNoTransaction)) {
    throw GrxError("the global variables of " + controller + " cannot be listed");
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
  return results.empty() ? kExitNo : kExitOk;
}

namespace {

// One connection of a global variable: the partner reads the global (a sink of it) or writes it.
struct Connection {
  GlObjectId partner = 0;
  bool writes = false;
  bool operator<(const Connection& other) const {
    return std::tie(writes, partner) < std::tie(other.writes, other.partner);
  }
};

// The real connections of a global variable, as the chart database lists them.
std::vector<Connection> ConnectionsOf(ChartDbClient& db, GlObjectId global, GlTransactionId tr) {
  std::vector<Connection> connections;
  for (const bool writes : {false, true}) {
    GlObjectId partner = 0;
    GlObjectType type = 0;
    GlBool isConnection = 0;
    Iec_Connection connection{};
    const auto call = [&](MODE mode) {
      return writes ? db.iec_SourcesGet(mode, global, partner, type, isConnection, connection, tr)
                    : db.iec_SinksGet(mode, global, partner, type, isConnection, connection, tr);
    };
    ForEachElement(db, writes ? "iec_SourcesGet" : "iec_SinksGet", call, [&] {
      if (isConnection) connections.push_back({partner, writes});
    });
  }
  return connections;
}

struct Global {
  GlObjectId id = 0;
  std::string name;
  std::int32_t dataType = 0;
};

// The global variables of a controller whose name is name without regard to case: the one of the
// same case when there is one, else every one that matches.
std::vector<Global> GlobalsNamed(ChartDbClient& db, GlObjectId cpu, const std::string& name, GlTransactionId tr) {
  std::vector<Global> matches;
  GlObjectId global = 0;
  std::vector<GlObjectId> ids;
  ForEachElement(
      db, "iec_GlobalVarsGet", [&](MODE mode) { return db.iec_GlobalVarsGet(mode, cpu, global, tr); },
      [&] { ids.push_back(global); });
  for (GlObjectId id : ids) {
    Iec_GlobalVar record{};
    Check(db, "iec_GlobalVarRead", db.iec_GlobalVarRead(id, record, tr));
    const std::string stored(record.name, strnlen(record.name, sizeof record.name));
    if (stored == name) return {Global{id, stored, record.dataType}};
    if (platform::AnsiEqualNoCase(stored, name)) matches.push_back(Global{id, stored, record.dataType});
  }
  return matches;
}

// The one global variable named name, or none; several that differ only in case are an error.
std::optional<Global> GlobalNamed(ChartDbClient& db, GlObjectId cpu, const std::string& controller,
                                  const std::string& name, GlTransactionId tr) {
  const std::vector<Global> matches = GlobalsNamed(db, cpu, name, tr);
  if (matches.size() > 1) {
    std::string list;
    for (const Global& g : matches) list += (list.empty() ? "" : ", ") + db.Path(g.id);
    throw GrxError("\"" + name + "\" names " + std::to_string(matches.size()) + " global variables of " + controller +
                       " that differ only in case: " + list + "; give the name with its case",
                   kExitUsage);
  }
  if (matches.empty()) return std::nullopt;
  return matches.front();
}

} // namespace

int RunRenameGlobal(const Options& options, const std::string& controller, const std::string& oldName,
                    const std::string& newName, bool dryRun, bool merge, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId cpu = db.Resolve(controller);
  if (newName.empty()) throw GrxError("NEW is empty: a global variable needs a name", kExitUsage);
  const auto old = GlobalNamed(db, cpu, controller, oldName, kNoTransaction);
  if (!old) throw GrxError(controller + " has no global variable \"" + oldName + "\"");
  const GlObjectId oldId = old->id;
  const std::string stored = old->name;
  GlObjectId newId = 0;
  if (const auto existing = GlobalNamed(db, cpu, controller, newName, kNoTransaction)) {
    if (existing->id == oldId) {
      throw GrxError("\"" + newName + "\" names " + db.Path(oldId) + " itself: there is nothing to move", kExitUsage);
    }
    if (existing->dataType != old->dataType && !merge) {
      throw GrxError(db.Path(existing->id) + " exists with another data type (" + DataTypeText(existing->dataType) +
                         ", " + db.Path(oldId) + " is " + DataTypeText(old->dataType) +
                         "): the moved connections would not fit; --merge moves them all the same",
                     kExitUsage);
    }
  }
  // Where each connected variable sits, as find-global shows it.
  std::map<GlObjectId, std::string> locations;
  std::vector<FIND> uses;
  if (!FindGlobalVar(cpu, stored, 3, uses, kNoTransaction)) {
    throw GrxError("the global variables of " + controller + " cannot be listed");
  }
  for (const FIND& f : uses) {
    if (f.globalVarId == oldId) locations[f.varId] = f.location.str();
  }
  const std::vector<Connection> connections = ConnectionsOf(db, oldId, kNoTransaction);
  const auto locationOf = [&](GlObjectId partner) {
    const auto it = locations.find(partner);
    return it != locations.end() ? it->second : db.Path(partner);
  };
  if (!dryRun) {
    InTransaction(db, [&](GlTransactionId tr) {
      W5GRX_ReplaceGlobVar(cpu, stored, newName, tr);
      // The export tells its failures to the chart database's error handler only: the outcome is
      // read back, and anything short of every connection on the new variable rolls it all back.
      const auto created = GlobalNamed(db, cpu, controller, newName, tr);
      if (!created) throw GrxError("the global variable " + newName + " was not created");
      const GlObjectId target = created->id;
      const auto left = ConnectionsOf(db, oldId, tr);
      const auto moved = ConnectionsOf(db, target, tr);
      const std::set<Connection> arrived(moved.begin(), moved.end());
      std::size_t missing = 0;
      for (const Connection& c : connections) missing += arrived.count(c) ? 0 : 1;
      if (missing) {
        throw GrxError(std::to_string(missing) + " of " + std::to_string(connections.size()) +
                       " connection(s) could not be moved; the project is as it was");
      }
      if (!left.empty()) {
        throw GrxError(std::to_string(left.size()) + " connection(s) stayed on " + db.Path(oldId) +
                       "; the project is as it was");
      }
      newId = target;
    });
  }
  if (options.json) {
    auto list = nlohmann::ordered_json::array();
    for (const Connection& c : connections) {
      list.push_back(nlohmann::ordered_json{{"direction", c.writes ? "writes" : "reads"},
                                            {"location", locationOf(c.partner)},
                                            {"variable", db.Path(c.partner)}});
    }
    nlohmann::ordered_json answer{{"dryRun", dryRun}, {"from", db.Path(oldId)}};
    answer["to"] = dryRun ? newName : db.Path(newId);
    answer[dryRun ? "wouldMove" : "moved"] = list;
    out << JsonText(answer) << "\n";
    return kExitOk;
  }
  out << (dryRun ? "would move " : "moved ") << connections.size() << " connection(s) of " << db.Path(oldId) << " to "
      << (dryRun ? newName : db.Path(newId)) << "\n";
  for (const Connection& c : connections) {
    out << "  " << std::left << std::setw(6) << (c.writes ? "writes" : "reads") << "  " << locationOf(c.partner)
        << "\n";
  }
  return kExitOk;
}

} // namespace grx::cli

namespace grx::cli {

namespace {

// The blocks of a chart hierarchy in run order: by task name, then group place, then block place
// (each sort is stable, so the last one decides first).
std::vector<MoveBlockInfoT> RunSequence(GlObjectId chart, GlTransactionId tr) {
  std::vector<MoveBlockInfoT> blocks;
  W5GRX_SearchMoveBlocks(chart, blocks, tr);
  W5GRX_SortBlock(blocks);
  W5GRX_SortGrPos(blocks);
  W5GRX_SortTpName(blocks);
  return blocks;
}

nlohmann::ordered_json RunSequenceJson(ChartDbClient& db, const std::vector<MoveBlockInfoT>& blocks) {
  auto list = nlohmann::ordered_json::array();
  for (const MoveBlockInfoT& b : blocks) {
    list.push_back(nlohmann::ordered_json{{"block", db.Path(b.blockId)},
                                          {"task", b.tpName},
                                          {"group", b.procGroupId ? db.Path(b.procGroupId) : std::string()},
                                          {"grPos", b.grPos},
                                          {"blockPos", b.blockPos}});
  }
  return list;
}

void PrintRunSequence(ChartDbClient& db, const std::vector<MoveBlockInfoT>& blocks, std::ostream& out) {
  for (const MoveBlockInfoT& b : blocks) {
    out << std::left << std::setw(8) << b.tpName << " " << std::right << std::setw(3) << b.grPos << "." << std::left
        << std::setw(4) << b.blockPos << " " << db.Path(b.blockId) << "  ("
        << (b.procGroupId ? db.Path(b.procGroupId) : std::string("the task itself")) << ")\n";
  }
}

} // namespace

int RunRunSequence(const Options& options, const std::string& chart, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const std::vector<MoveBlockInfoT> blocks = RunSequence(db.Resolve(chart), kNoTransaction);
  if (options.json) {
    out << JsonText(RunSequenceJson(db, blocks)) << "\n";
    return kExitOk;
  }
  if (blocks.empty()) out << "no block of " << chart << " runs in a task\n";
  PrintRunSequence(db, blocks, out);
  return kExitOk;
}

// Whether a block has a run-sequence place of its own (a block without one runs at the place of a
// chart above it, and goes where that chart goes).
bool PlacedItself(ChartDbClient& db, GlObjectId block) {
  GlObjectId group = 0, task = 0;
  Gl_RunSeqRecord place{};
  const GlResult result = db.gl_ObjectAsTasksGet(M_FIRST, block, group, task, place, kNoTransaction);
  const std::uint32_t errorId = db.ErrorId(result);
  if (errorId == 0 || errorId == GL_ERR_LAST_ELEMENT) return true; // a place delivered
  if (errorId == GL_ERR_AS_TASK_INDIRECT || errorId == GL_ERR_NO_MORE_ELEMENTS) return false;
  Check(db, "gl_ObjectAsTasksGet", result);
  return false;
}

// The members of a processing group in their run order.
std::vector<GlObjectId> GroupMembers(ChartDbClient& db, GlObjectId group, GlTransactionId tr) {
  std::vector<GlObjectId> members;
  GlObjectId member = 0;
  GlObjectType type = IEC_OBJ_NULL;
  ForEachElement(
      db, "iec_ProcessingGroupBlocksGet",
      [&](MODE m) { return db.iec_ProcessingGroupBlocksGet(m, IEC_SELECT_ALL, group, member, type, tr); },
      [&] { members.push_back(member); });
  return members;
}

// The host's job: the blocks of a chart hierarchy, gathered with their places, go into one group
// group by group in run order. Blocks that run at the place of their chart are not moved (the
// chart database keeps them with their chart). All of it is one transaction; a dry run rolls it
// back after reading the outcome, and a move that leaves a block outside the group rolls it back
// too.
int RunMoveBlocks(const Options& options, const std::string& chart, const std::string& group, bool dryRun,
                  std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId chartId = db.Resolve(chart);
  const GlObjectId groupId = db.Resolve(group);
  std::vector<MoveBlockInfoT> found, blocks;
  W5GRX_SearchMoveBlocks(chartId, found, kNoTransaction);
  std::set<GlObjectId> staying;
  for (const MoveBlockInfoT& b : found) {
    if (PlacedItself(db, b.blockId)) {
      blocks.push_back(b);
    } else {
      staying.insert(b.blockId);
    }
  }
  if (blocks.empty()) {
    throw GrxError("no block of " + chart + " has a run-sequence place of its own: there is nothing to move");
  }
  std::vector<MoveBlockInfoT> after;
  std::set<GlObjectId> moving;
  for (const MoveBlockInfoT& b : blocks) moving.insert(b.blockId);
  std::vector<GlObjectId> staysFirst;
  for (GlObjectId member : GroupMembers(db, groupId, kNoTransaction)) {
    if (!moving.count(member)) staysFirst.push_back(member);
  }
  InTransaction(
      db,
      [&](GlTransactionId tr) {
        W5GRX_GetGroupPos(blocks, groupId, tr);
        after = RunSequence(chartId, tr);
        const auto outside = std::count_if(after.begin(), after.end(), [&](const MoveBlockInfoT& b) {
          return !staying.count(b.blockId) && b.procGroupId != groupId;
        });
        if (outside > 0) {
          throw GrxError(std::to_string(outside) + " block(s) could not be moved into " + group +
                         "; the project is as it was");
        }
        // Read back: the group's members before come first, in their order, then the moved blocks.
        const std::vector<GlObjectId> members = GroupMembers(db, groupId, tr);
        const bool membersFirst =
            members.size() >= staysFirst.size() && std::equal(staysFirst.begin(), staysFirst.end(), members.begin());
        const std::set<GlObjectId> appended(
            members.begin() + static_cast<std::ptrdiff_t>(std::min(staysFirst.size(), members.size())), members.end());
        if (!membersFirst || appended != moving) {
          throw GrxError("the blocks did not arrive behind the members of " + group + " as they should");
        }
      },
      !dryRun);
  if (options.json) {
    auto stay = nlohmann::ordered_json::array();
    for (const MoveBlockInfoT& b : found) {
      if (staying.count(b.blockId)) stay.push_back(db.Path(b.blockId));
    }
    out << JsonText(nlohmann::ordered_json{{"dryRun", dryRun},
                                           {"group", db.Path(groupId)},
                                           {dryRun ? "wouldMove" : "moved", blocks.size()},
                                           {"withTheirChart", stay},
                                           {"runSequence", RunSequenceJson(db, after)}})
        << "\n";
    return kExitOk;
  }
  out << (dryRun ? "would move " : "moved ") << blocks.size() << " block(s) of " << chart << " into "
      << db.Path(groupId);
  if (!staying.empty()) out << " (" << staying.size() << " run at the place of their chart and stay with it)";
  out << "; " << (dryRun ? "they would run" : "they run") << ":\n";
  PrintRunSequence(db, after, out);
  return kExitOk;
}

} // namespace grx::cli
