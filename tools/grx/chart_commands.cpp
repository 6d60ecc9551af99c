// grx chart, subcharts, check-name, interface, task-of, clean-groups and clean-tasks.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <set>

#include "terminal_text.h"
#include "api_iteration.h"
#include "name_rules.h"
#include "project_client.h"
#include "commands.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;
constexpr GlTransactionId kTr = kNoTransaction;

// The tasks of a controller with their processing groups and how many members each group has.
struct ScheduleGroup {
  GlObjectId id = 0;
  std::string path;
  std::size_t members = 0;
};
struct ScheduleTask {
  GlObjectId id = 0;
  std::string path, name;
  std::vector<ScheduleGroup> groups;
  std::size_t members = 0; // objects installed in the task itself
};

std::vector<ScheduleTask> Schedule(ChartDbClient& db, GlObjectId cpu) {
  std::vector<ScheduleTask> tasks;
  GlObjectId task = 0, member = 0;
  GlObjectType type = IEC_OBJ_NULL;
  ForEachElement(
      db, "iec_TasksGet", [&](MODE m) { return db.iec_TasksGet(m, cpu, task, kTr); },
      [&] {
        tasks.push_back(ScheduleTask{task, db.Path(task), {}, {}, 0});
      });
  for (ScheduleTask& t : tasks) {
    char name[kGlNameSize] = {};
    Check(db, "gl_ObjectNameGet", db.gl_ObjectNameGet(t.id, name, kTr));
    t.name = name;
    GlObjectId group = 0;
    ForEachElement(
        db, "iec_TaskElementsGet",
        [&](MODE m) { return db.iec_TaskElementsGet(m, IEC_SELECT_TASK_ELEMENTS, t.id, group, type, kTr); },
        [&] {
          t.groups.push_back(ScheduleGroup{group, db.Path(group), 0});
        });
    ForEachElement(
        db, "iec_TaskElementsGet",
        [&](MODE m) { return db.iec_TaskElementsGet(m, IEC_SELECT_ALL, t.id, member, type, kTr); },
        [&] { t.members += type == IEC_OBJ_PROCESSING_GROUP ? 0 : 1; });
    for (ScheduleGroup& g : t.groups) {
      ForEachElement(
          db, "iec_ProcessingGroupBlocksGet",
          [&](MODE m) { return db.iec_ProcessingGroupBlocksGet(m, IEC_SELECT_ALL, g.id, member, type, kTr); },
          [&] { ++g.members; });
    }
  }
  return tasks;
}

std::set<std::string> PathsOf(const std::vector<ScheduleTask>& tasks) {
  std::set<std::string> paths;
  for (const ScheduleTask& t : tasks) {
    paths.insert(t.path);
    for (const ScheduleGroup& g : t.groups) paths.insert(g.path);
  }
  return paths;
}

// Runs a clean-up and reads its outcome back: what was to go (expected, from the schedule before)
// must be gone, and nothing else may be. A dry run is rolled back by the frame.
int RunCleanUp(const Options& options, const std::string& controller, bool dryRun, const std::string& what,
               const std::function<std::set<std::string>(const std::vector<ScheduleTask>&)>& expected,
               const std::function<void(GlObjectId)>& cleanUp, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId cpu = db.Resolve(controller);
  const std::vector<ScheduleTask> before = Schedule(db, cpu);
  const std::set<std::string> doomed = expected(before);
  cleanUp(cpu);
  const std::set<std::string> remaining = PathsOf(Schedule(db, cpu)), existing = PathsOf(before);
  std::vector<std::string> gone, refused, lost;
  std::set_difference(existing.begin(), existing.end(), remaining.begin(), remaining.end(), std::back_inserter(gone));
  for (const std::string& path : doomed) {
    if (remaining.count(path)) refused.push_back(path);
  }
  for (const std::string& path : gone) {
    if (!doomed.count(path)) lost.push_back(path);
  }
  if (!refused.empty() || !lost.empty()) {
    std::string text;
    for (const std::string& path : refused) text += "\n  not deleted: " + path;
    for (const std::string& path : lost) text += "\n  deleted though it is not to be: " + path;
    throw GrxError(std::to_string(refused.size() + lost.size()) + " of the " + what +
                   " did not go as they should; nothing is changed:" + text);
  }
  if (options.json) {
    out << JsonText(Json{{"dryRun", dryRun}, {dryRun ? "wouldDelete" : "deleted", gone}}) << "\n";
  } else {
    out << (dryRun ? "would delete " : "deleted ") << gone.size() << " " << what << "\n";
    for (const auto& path : gone) out << "  " << path << "\n";
  }
  return kExitOk;
}

} // namespace

int RunChart(const Options& options, const std::string& controller, const std::string& path, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  std::string backslashed = path;
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  GlObjectId chart = 0;
  W5GRX_GetChart(CString(backslashed), db.Resolve(controller), chart, kTr);
  if (chart == 0) throw GrxError("no chart " + path + " in " + controller);
  if (options.json) {
    out << JsonText(Json{{"chart", db.Path(chart)}}) << "\n";
  } else {
    out << db.Path(chart) << "\n";
  }
  return kExitOk;
}

int RunSubcharts(const Options& options, const std::string& chartPath, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  std::vector<GlObjectId> ids;
  const int count = W5GRX_GetSubPlansByPlanID(db.Resolve(chartPath), kTr, ids);
  if (count < 0) throw GrxError("the sub-charts of " + chartPath + " cannot be listed");
  std::vector<std::string> paths;
  for (GlObjectId id : ids) paths.push_back(db.Path(id));
  if (options.json) {
    out << JsonText(Json{{"chart", chartPath}, {"count", count}, {"subCharts", paths}}) << "\n";
    return kExitOk;
  }
  const std::string root = db.Path(db.Resolve(chartPath));
  out << root << "\n";
  for (const auto& p : paths) {
    const std::string below = p.substr(root.size() + 1);
    const auto depth = static_cast<std::size_t>(std::count(below.begin(), below.end(), '/'));
    out << std::string(2 * (depth + 1), ' ')
        << below.substr(below.rfind('/') == std::string::npos ? 0 : below.rfind('/') + 1) << "\n";
  }
  out << count << " sub-chart(s)\n";
  return kExitOk;
}

int RunCheckName(const Options& options, const std::string& kind, const std::string& name, std::ostream& out) {
  Syntax_Err_TypeEnum (*check)(std::string, std::int32_t&) = nullptr;
  if (kind == "root") check = W5GRX_CheckRootPlanName;
  if (kind == "sub") check = W5GRX_CheckSubPlanName;
  if (kind == "block") check = W5GRX_CheckBlockName;
  if (kind == "var") check = W5GRX_CheckVarName;
  if (!check) throw GrxError("check-name takes root, sub, block or var, not \"" + kind + "\"", kExitUsage);
  if (name.empty()) {
    // The rules say nothing of an empty text; no object can be named by one.
    if (options.json) {
      out << JsonText(Json{{"name", name}, {"result", -1}, {"rule", "EMPTY_NAME"}, {"position", 0}}) << "\n";
    } else {
      out << "EMPTY_NAME: a name cannot be empty\n";
    }
    return kExitNo;
  }
  std::int32_t position = -1;
  const Syntax_Err_TypeEnum result = check(name, position);
  const RuleText& rule = kRules[result];
  if (options.json) {
    out << JsonText(Json{
               {"name", name}, {"result", static_cast<int>(result)}, {"rule", rule.enumerator}, {"position", position}})
        << "\n";
  } else {
    out << name << "\n";
    if (result != SYNTAX_ERR_NONE && position >= 0 && static_cast<std::size_t>(position) <= name.size()) {
      out << std::string(static_cast<std::size_t>(position), ' ') << "^\n";
    }
    out << rule.enumerator << " (" << result << "): " << rule.text << ", position " << position << "\n";
  }
  return result == SYNTAX_ERR_NONE ? kExitOk : kExitNo;
}

int RunInterface(const Options& options, const std::string& chartPath, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  GlObjectId chart = db.Resolve(chartPath);
  std::vector<PARAM> params;
  W5GRX_GetPlanInterfaceParam(chart, params);
  Json list = Json::array();
  for (const PARAM& p : params)
    list.push_back(Json{{"path", db.Path(p.id)}, {"name", p.name}, {"itemText", p.itemText}});
  if (options.json) {
    out << JsonText(Json{{"chart", chartPath}, {"items", list}}) << "\n";
  } else {
    out << params.size() << " interface item(s) of " << chartPath << "\n";
    for (const auto& item : list) {
      out << "  " << item["path"].get<std::string>() << "  [" << item["name"].get<std::string>() << "]";
      if (!item["itemText"].get<std::string>().empty()) out << "  " << item["itemText"].get<std::string>();
      out << "\n";
    }
  }
  return kExitOk;
}

int RunTaskOf(const Options& options, const std::string& object, const std::string& task, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  std::string name;
  const bool found = W5GRX_GetTaskNamebyObjectId(db.Resolve(task), db.Resolve(object), name);
  if (options.json) {
    out << JsonText(Json{{"found", found}, {"taskName", name}}) << "\n";
  } else {
    out << (found ? object + " runs in task " + name : object + " runs in no processing group of " + task) << "\n";
  }
  return found ? kExitOk : kExitNo;
}

int RunCleanGroups(const Options& options, const std::string& controller, const std::vector<std::string>& keep,
                   bool dryRun, std::ostream& out) {
  const std::vector<CString> names(keep.begin(), keep.end());
  const auto expected = [&](const std::vector<ScheduleTask>& tasks) {
    std::set<std::string> doomed;
    for (const ScheduleTask& t : tasks) {
      for (const ScheduleGroup& g : t.groups) {
        if (g.members == 0 && !ExistPlan(g.id, names)) doomed.insert(g.path);
      }
    }
    return doomed;
  };
  return RunCleanUp(
      options, controller, dryRun, "empty processing group(s)", expected,
      [&](GlObjectId cpu) { W5GRX_GetTaskId(cpu, names); }, out);
}

int RunCleanTasks(const Options& options, const std::string& controller, bool dryRun, std::ostream& out) {
  const auto expected = [](const std::vector<ScheduleTask>& tasks) {
    std::set<std::string> doomed;
    for (const ScheduleTask& t : tasks) {
      if (std::set<std::string>{"T1", "T2", "T3", "T4", "T5"}.count(t.name)) continue;
      if (std::any_of(t.groups.begin(), t.groups.end(), [](const ScheduleGroup& g) { return g.members > 0; })) {
        continue;
      }
      // The chart database keeps a task that still has members of its own.
      if (t.members == 0) doomed.insert(t.path);
      for (const ScheduleGroup& g : t.groups) doomed.insert(g.path);
    }
    return doomed;
  };
  return RunCleanUp(
      options, controller, dryRun, "task(s) and processing group(s)", expected,
      [&](GlObjectId cpu) { W5GRX_TaskDelete(cpu, kTr); }, out);
}

} // namespace grx::cli
