// The bodies of grx's commands; their rows are in command_table.cpp. Those that work on a project
// find it opened by the command frame (command_frame.h).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace grx::cli {

struct Options {
  bool json = false;
  std::string project;              // --project: the project file exports work on
  std::vector<std::string> answers; // --answer: answers to message boxes, in order
  std::vector<std::string> windows; // --window: titles of a chain of windows
  std::string callTrace;            // --call-trace: file of the call trace
  std::string trace;                // --trace: file of the module and object traces
  int traceLevel = 4;               // --trace-level: highest level written
};

int RunImport(const Options& options, const std::string& description, const std::string& project, bool force,
              std::ostream& out);
struct ProjectShape;
// A project of a known shape (project_generator.h), written to a new project file.
int RunGenerate(const Options& options, const std::string& project, const ProjectShape& shape, bool force,
                std::ostream& out);
// The open project as a description, printed or written to a new file (an existing one only
// with force; never the project file itself).
int RunExport(const Options& options, const std::string& outputFile, bool plcopen, bool force, std::ostream& out);
// The open project's controllers, chart tree (depth levels deep; -1 all) and schedule.
int RunInfo(const Options& options, int depth, std::ostream& out);
int RunDemo(const Options& options, bool keep, std::ostream& out);
int RunCall(const Options& options, const std::string& exportName, const std::vector<std::string>& arguments,
            std::ostream& out);
// The exports of the library: one line each, a JSON list, or the Markdown reference.
// Shows a message of the language library (its "%s" filled from args) and prints the answer.
int RunMsgBox(const Options& options, std::uint32_t messageId, const std::vector<std::string>& args,
              std::uint32_t style, std::uint32_t buttons, std::ostream& out);
int RunExports(const Options& options, const std::string& format, std::ostream& out);
// A chart as SVG, or a controller as one HTML page of all its charts, printed or written to a file.
int RunDraw(const Options& options, const std::string& path, const std::string& outputFile, bool check,
            std::ostream& out);
int RunPlans(const Options& options, const std::string& controller, std::ostream& out);
int RunShow(const Options& options, const std::string& path, int depth, std::ostream& out);
int RunChart(const Options& options, const std::string& controller, const std::string& path, std::ostream& out);
int RunSubcharts(const Options& options, const std::string& chartPath, std::ostream& out);
int RunCheckName(const Options& options, const std::string& kind, const std::string& name, std::ostream& out);
int RunInterface(const Options& options, const std::string& chartPath, std::ostream& out);
int RunTaskOf(const Options& options, const std::string& object, const std::string& task, std::ostream& out);
int RunCleanGroups(const Options& options, const std::string& controller, const std::vector<std::string>& keep,
                   bool dryRun, std::ostream& out);
int RunCleanTasks(const Options& options, const std::string& controller, bool dryRun, std::ostream& out);
int RunSettings(const Options& options, std::ostream& out);
// An elementary type by name (exit 1 when it is none); the cast relation of two types or its table.
int RunType(const Options& options, const std::string& name, std::ostream& out);
int RunCast(const Options& options, const std::string& from, const std::string& to, bool table, std::ostream& out);
// The process-image check of a text; whether a source may feed a sink; the block parameter behind a
// chain of chart interface variables. Each exits 1 when the answer is no.
int RunAddress(const Options& options, const std::string& text, std::ostream& out);
int RunCompatible(const Options& options, const std::string& source, const std::string& sink, std::ostream& out);
int RunConnected(const Options& options, const std::string& var, std::ostream& out);
// Every use of every global variable of a controller whose name contains pattern (--whole: the
// whole name, --case: with case); exits 1 when there is none.
int RunFindGlobal(const Options& options, const std::string& controller, const std::string& pattern, bool whole,
                  bool matchCase, std::ostream& out);
// Moves every connection of a global variable to the one named newName (created when there is
// none); onto an existing global of another data type only with merge. --dry-run lists them only.
int RunRenameGlobal(const Options& options, const std::string& controller, const std::string& oldName,
                    const std::string& newName, bool dryRun, bool merge, std::ostream& out);
// The blocks of a chart hierarchy with task, group and places, in run order.
int RunRunSequence(const Options& options, const std::string& chart, std::ostream& out);
// Moves the blocks of a chart hierarchy into a processing group, group by group in run order, in
// one transaction (--dry-run: rolled back after showing the outcome).
int RunMoveBlocks(const Options& options, const std::string& chart, const std::string& group, bool dryRun,
                  std::ostream& out);
// Stamps a controller (and a root chart) with this release's library-data version, in one
// transaction; checks the stamps (exit 1 when they are not current, with the message shown).
int RunStamp(const Options& options, const std::string& controller, const std::string& chart, bool dryRun,
             std::ostream& out);
int RunCheckStamp(const Options& options, const std::string& controller, const std::string& chart, std::ostream& out);
// An object's data version against the installed software (--update brings it up).
int RunDataVersion(const Options& options, const std::string& object, bool update, std::ostream& out);
// Whether a controller is of the kind the library serves (exit 1 when not), with the message.
int RunCheckResource(const Options& options, const std::string& controller, std::ostream& out);
// Opens the help file of the user's language (base name, default w5grxmhx) at a context.
int RunHelp(const Options& options, const std::string& base, std::uint32_t context, std::ostream& out);
// Starts the block help viewer for a block type (a name is looked for in the object's controller)
// and then for each further one, every start closing the viewer before; in a terminal it asks for
// more. Exit 1 when a viewer could not be started.
int RunFbHelp(const Options& options, const std::string& type, const std::string& object,
              const std::vector<std::string>& more, std::ostream& out);
// The library's progress dialog through a number of steps (owned by the --window chain); exit 1
// when it was cancelled.
struct ProgressRun {
  int steps = 20;
  int delayMs = 100;
  std::string title = "Progress";
  std::string text = "Working";
};
int RunProgress(const Options& options, const ProgressRun& run, std::ostream& out);
// The object a compiler message's location text names (exit 1 when none).
int RunLocate(const Options& options, const std::string& object, const std::string& location, std::ostream& out);
// The task import of a controller (T1-T5 with their task records); --dry-run rolls it back.
int RunImportTasks(const Options& options, const std::string& controller, bool dryRun, std::ostream& out);
// The block-type import of a controller from the catalogue (or the one given), its log and the
// boxes it showed; exit 1 when it was not imported. --dry-run rolls it back.
int RunImportTypes(const Options& options, const std::string& controller, bool quiet, const std::string& catalogue,
                   bool dryRun, std::ostream& out);
// The technology packages of one controller copied to another and imported there, in one
// transaction (--dry-run: rolled back).
int RunCopyTypes(const Options& options, const std::string& source, const std::string& target, bool dryRun,
                 std::ostream& out);
// The library's checks over a whole controller: names, connections, unused global variables,
// stamps and the data version; exit 0 without findings, 1 with, 2 when it could not run.
int RunCheck(const Options& options, const std::string& controller, std::ostream& out);
// A saved log (of the log component or the import host); exit 1 when it holds errors.
int RunLog(const Options& options, const std::string& file, std::ostream& out);
// The installed chart editor, its technology version and whether it is sufficient.
int RunEditor(const Options& options, std::ostream& out);
struct BlobActions {
  bool hex = false;
  std::vector<std::string> set; // KEY=VALUE
  bool dryRun = false;
  bool remove = false;
};
// The blob record of an object; --hex, --set, --dry-run and --delete as BlobActions say.
int RunBlob(const Options& options, const std::string& path, const BlobActions& actions, std::ostream& out);
// grx's man page, bash completion or command reference (format man, completion or markdown),
// to out or to a file.
int RunDocs(const std::string& format, const std::string& file, std::ostream& out);
int RunTraceDecode(const Options& options, const std::string& file, std::ostream& out);

} // namespace grx::cli
namespace grx::dbclient {
class ChartDbClient;
} // namespace grx::dbclient
namespace grx::cli {
using dbclient::ChartDbClient;

// The demo project's description, built into grx.
const std::string& DemoDescription();

} // namespace grx::cli
