// grx import-tasks, import-types and copy-types: the task and block-type imports of the library
// run on a controller, with the import's log and the boxes it showed; grx log prints a saved log.
#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>

#include "api_iteration.h"
#include "blob/blob_resource.h"
#include "blob/blob_task.h"
#include "commands.h"
#include "dialog_report.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "log_object.h"
#include "platform/process.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

// Runs an import in the export's own transaction, or (dry run) in one of grx's rolled back after
// inspect has looked at the outcome.
template <class Import, class Inspect>
void RunImport(ChartDbClient& db, bool dryRun, Import&& import, Inspect&& inspect) {
  if (!dryRun) {
    import(kNoTransaction);
    inspect(kNoTransaction);
    return;
  }
  InTransaction(
      db,
      [&](GlTransactionId tr) {
        import(tr);
        inspect(tr);
      },
      false);
}

const char* ResponseText(RESPONSE response) {
  return response == RESPONSE_OK      ? "imported"
         : response == RESPONSE_OTHER ? "nothing to import: the controller is up to date"
                                      : "not imported";
}

// The block-type catalogue for the import runner while it lives (none: the one set up).
std::unique_ptr<platform::ScopedEnvironmentValue> ChooseCatalogue(const std::string& file) {
  if (file.empty()) return nullptr;
  if (!std::filesystem::exists(file)) throw GrxError("no catalogue " + file);
  return std::make_unique<platform::ScopedEnvironmentValue>("W5IMCMPX_CATALOGUE",
                                                            std::filesystem::absolute(file).string());
}

void PrintOutcome(const Options& options, Json j, const Json& dialogs, const Json& log, std::ostream& out) {
  if (!log.is_null()) j["log"] = log;
  if (!dialogs.empty()) j["dialogs"] = dialogs;
  if (options.json) {
    out << JsonText(j) << "\n";
    return;
  }
  PrintDialogs(dialogs, out);
  if (!log.is_null()) out << LogJsonText(log);
}

} // namespace

int RunImportTasks(const Options& options, const std::string& controller, bool dryRun, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId cpu = db.Resolve(controller);
  const auto boxes = ScriptedAnswers(options);
  RESPONSE response = RESPONSE_FAILED;
  Json tasks = Json::array();
  RunImport(
      db, dryRun, [&](GlTransactionId tr) { response = W5GRX_ASTaskImport(BuildWindows(options), cpu, false, tr); },
      [&](GlTransactionId tr) {
        std::uint32_t expected = 1;
        std::string missing;
        for (const char* name : {"T1", "T2", "T3", "T4", "T5"}) {
          const std::string path = controller + "/#" + name;
          GlObjectId task = 0;
          if (db.ResolvePath(path.c_str(), &task) != 0) {
            missing += std::string(missing.empty() ? "" : ", ") + name + " is missing";
          } else {
            const std::uint32_t taskId = CBlobTask(task, tr).GetTaskId();
            tasks.push_back({{"task", path}, {"taskId", taskId}});
            if (taskId != expected) {
              missing += std::string(missing.empty() ? "" : ", ") + name + " has task id " + std::to_string(taskId) +
                         " instead of " + std::to_string(expected);
            }
          }
          expected <<= 1;
        }
        // Read back: an import that answers "imported" has made every task with its record.
        if (response == RESPONSE_OK && !missing.empty()) {
          throw GrxError("the task import answered \"imported\", but " + missing);
        }
      });
  Json j{{"result", response}, {"dryRun", dryRun}, {"tasks", tasks}};
  if (!options.json) {
    out << "task import of " << controller << ": " << ResponseText(response) << (dryRun ? " (dry run)" : "") << "\n";
    for (const auto& t : tasks) {
      out << "  " << t["task"].get<std::string>() << "  task id " << t["taskId"].get<std::uint32_t>() << "\n";
    }
  }
  PrintOutcome(options, j, DialogsJson(boxes.get()), nullptr, out);
  return response == RESPONSE_OK ? kExitOk : kExitNo;
}

int RunImportTypes(const Options& options, const std::string& controller, bool quiet, const std::string& catalogue,
                   bool dryRun, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId cpu = db.Resolve(controller);
  const auto choice = ChooseCatalogue(catalogue);
  const auto boxes = ScriptedAnswers(options);
  ImportLogCapture capture;
  RESPONSE response = RESPONSE_FAILED;
  RunImport(
      db, dryRun,
      [&](GlTransactionId tr) {
        int started = 0;
        response = W5GRX_ASBlockTypeImport(BuildWindows(options), cpu, quiet, &started, tr);
      },
      [](GlTransactionId) {});
  if (!options.json) {
    out << "block-type import of " << controller << ": " << ResponseText(response) << (dryRun ? " (dry run)" : "")
        << "\n";
  }
  PrintOutcome(options, Json{{"result", response}, {"dryRun", dryRun}}, DialogsJson(boxes.get()), capture.Take(), out);
  return response == RESPONSE_FAILED ? kExitNo : kExitOk;
}

int RunCopyTypes(const Options& options, const std::string& source, const std::string& target, bool dryRun,
                 std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId sourceId = db.Resolve(source), targetId = db.Resolve(target);
  const auto boxes = ScriptedAnswers(options);
  ImportLogCapture capture;
  bool copied = false;
  std::vector<std::string> before, after;
  // The package list and the import in one transaction: a failure leaves the target as it was.
  InTransaction(
      db,
      [&](GlTransactionId tr) {
        before = CBlobResource(targetId, tr).GetNames();
        copied = W5GRX_CopyBlockTypeImport(BuildWindows(options), 0, targetId, sourceId, tr);
        after = CBlobResource(targetId, tr).GetNames();
      },
      !dryRun);
  Json added = Json::array();
  for (std::size_t i = before.size(); i < after.size(); ++i) added.push_back(after[i]);
  if (!options.json) {
    out << "copy of the technology packages of " << source << " to " << target << ": " << (copied ? "done" : "failed")
        << (dryRun ? " (dry run)" : "") << "\n";
    out << "  added: " << (added.empty() ? std::string("none (every package has a partner)") : JsonText(added, -1))
        << "\n";
  }
  const Json log = capture.Take();
  PrintOutcome(options, Json{{"result", copied}, {"dryRun", dryRun}, {"added", added}}, DialogsJson(boxes.get()), log,
               out);
  return copied ? kExitOk : kExitNo;
}

int RunLog(const Options& options, const std::string& file, std::ostream& out) {
  const auto log = ReadSavedLog(file);
  if (options.json) {
    out << JsonText(LogJson(log.get())) << "\n";
  } else {
    out << LogText(log.get());
  }
  std::int32_t errors = 0, warnings = 0;
  log->GetCounts(&errors, &warnings);
  return errors > 0 ? kExitNo : kExitOk;
}

} // namespace grx::cli
