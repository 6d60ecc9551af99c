// grx chart, subcharts, check-name, interface, task-of, clean-groups and clean-tasks.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <set>

#include "terminal_text.h"
#include "api_iteration.h"
#include "name_rules.h"
#include "project_client.h"
#include "commands.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "platform/process.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;
constexpr GlTransactionId kTr = kNoTransaction;

// Tasks and processing groups of a controller, as paths.
std::set<std::string> Schedule(ChartDbClient& db, GlObjectId cpu) {
  std::set<std::string> paths;
  GlObjectId task = 0, group = 0;
  GlObjectType type = IEC_OBJ_NULL;
  std::vector<GlObjectId> tasks;
  ForEachElement(
      db, "iec_TasksGet", [&](MODE m) { return db.iec_TasksGet(m, cpu, task, kTr); }, [&] { tasks.push_back(task); });
  for (GlObjectId t : tasks) {
    paths.insert(db.Path(t));
    ForEachElement(
        db, "iec_TaskElementsGet",
        [&](MODE m) { return db.iec_TaskElementsGet(m, IEC_SELECT_TASK_ELEMENTS, t, group, type, kTr); },
        [&] { paths.insert(db.Path(group)); });
  }
  return paths;
}

// Runs a clean-up on the project, or with dry run on a copy of it, and tells what went.
int RunCleanUp(const Options& options, const std::string& controller, bool dryRun, const std::string& what,
               const std::function<void(GlObjectId)>& cleanUp, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
  std::string snapshot;
  std::filesystem::path copy;
  if (dryRun) {
    if (!options.project.empty()) {
      copy = std::filesystem::temp_directory_path() /
             ("grx-dry-run-" + std::to_string(grx::platform::CurrentProcessId()) + ".db");
      std::filesystem::copy_file(options.project, copy, std::filesystem::copy_options::overwrite_existing);
      db.Open(copy.string());
    } else {
      snapshot = db.Export();
    }
  }
  // After a dry run the project is the one it was, also when the clean-up fails.
  const auto restore = [&] {
    if (!dryRun) return;
    if (!copy.empty()) {
      db.Open(options.project);
      std::filesystem::remove(copy);
    } else {
      db.Import(snapshot, ":memory:");
    }
  };
  std::vector<std::string> gone;
  try {
    const GlObjectId cpu = db.Resolve(controller);
    const std::set<std::string> before = Schedule(db, cpu);
    cleanUp(cpu);
    const std::set<std::string> after = Schedule(db, cpu);
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(gone));
  } catch (...) {
    restore();
    throw;
  }
  restore();
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
  OpenProjectForExports(options, db);
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
  OpenProjectForExports(options, db);
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
  return result == SYNTAX_ERR_NONE ? kExitOk : kExitFailure;
}

int RunInterface(const Options& options, const std::string& chartPath, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  OpenProjectForExports(options, db);
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
  OpenProjectForExports(options, db);
  std::string name;
  const bool found = W5GRX_GetTaskNamebyObjectId(db.Resolve(task), db.Resolve(object), name);
  if (options.json) {
    out << JsonText(Json{{"found", found}, {"taskName", name}}) << "\n";
  } else {
    out << (found ? object + " runs in task " + name : object + " runs in no processing group of " + task) << "\n";
  }
  return found ? kExitOk : kExitFailure;
}

int RunCleanGroups(const Options& options, const std::string& controller, const std::vector<std::string>& keep,
                   bool dryRun, std::ostream& out) {
  const std::vector<CString> names(keep.begin(), keep.end());
  return RunCleanUp(
      options, controller, dryRun, "empty processing group(s)", [&](GlObjectId cpu) { W5GRX_GetTaskId(cpu, names); },
      out);
}

int RunCleanTasks(const Options& options, const std::string& controller, bool dryRun, std::ostream& out) {
  return RunCleanUp(
      options, controller, dryRun, "task(s) and processing group(s)",
      [&](GlObjectId cpu) { W5GRX_TaskDelete(cpu, kTr); }, out);
}

} // namespace grx::cli
