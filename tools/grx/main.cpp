// grx: runs the helper library against a project (a chart database file).
#include <CLI/CLI.hpp>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "project_client.h"
#include "foundation/object_trace.h"
#include "commands.h"
#include "grx_error.h"
#include "project_generator.h"
#include "terminal_text.h"
#include "platform/process.h"

namespace {

// export and info name their project as an argument or take the one of --project.
std::string ProjectOf(const grx::cli::Options& options, const std::string& argument) {
  if (!argument.empty()) return argument;
  if (!options.project.empty()) return options.project;
  throw grx::cli::GrxError("a project file is required (as an argument or with --project)", grx::cli::kExitUsage);
}

} // namespace

int main(int argc, char** argv) {
  using namespace grx::cli;
  const TerminalOutput terminal;
  CLI::App app{"grx - the chart-engineering helper library from the command line"};
  app.require_subcommand(1);
  Options options;
  app.add_flag("--json", options.json, "print results as JSON");
  app.add_option("--project", options.project, "project file that exports work on (default: the demo project)");
  app.add_option("--answer", options.answers, "answers to message boxes, in order (ok, cancel, retry, yes, no)")
      ->delimiter(',');
  app.add_option("--window", options.windows, "build a window with this title (repeat for a chain of children)");
  app.add_option("--call-trace", options.callTrace, "write the call trace of the chart-database API to FILE");
  app.add_option("--trace", options.trace, "write the module and object traces of the library to FILE");
  app.add_option("--trace-level", options.traceLevel, "highest trace level written (default 4)");
  bool append = false;
  app.add_flag("--append", append, "add to the files of --call-trace and --trace instead of starting them anew");

  std::string description, project, output;
  bool force = false, keep = false;
  auto* import = app.add_subcommand("import", "import a project description into a new project file");
  import->add_option("DESCRIPTION", description, "project description (JSON)")->required();
  import->add_option("PROJECT", project, "project file to create")->required();
  import->add_flag("--force", force, "replace an existing project file");

  std::string generated;
  ProjectShape shape;
  bool generateForce = false;
  auto* generate = app.add_subcommand("generate", "make a project of a known shape and size: OUT.db");
  generate->add_option("PROJECT", generated, "project file to create")->required();
  generate->add_option("--charts", shape.charts, "root charts")->capture_default_str();
  generate->add_option("--depth", shape.depth, "sub-chart levels below each root chart")->capture_default_str();
  generate->add_option("--blocks", shape.blocks, "blocks of every chart")->capture_default_str();
  generate->add_option("--globals", shape.globals, "global variables")->capture_default_str();
  generate->add_flag("--force", generateForce, "replace an existing project file");

  auto* exportCommand = app.add_subcommand("export", "print a project as a description (JSON)");
  exportCommand->add_option("PROJECT", project, "project file (default: the one of --project)");
  exportCommand->add_option("-o,--output", output, "write the description to this file");

  auto* info = app.add_subcommand("info", "controllers, charts as a tree, tasks and groups, counts");
  info->add_option("PROJECT", project, "project file (default: the one of --project)");

  auto* demo = app.add_subcommand("demo", "build the demo project in a temporary folder and tour it");
  demo->add_flag("--keep", keep, "keep the temporary folder");

  std::string exportName, controller, traceFile;
  std::vector<std::string> callArguments;
  auto* call = app.add_subcommand("call", "call an export: grx call EXPORT name=value ...");
  call->add_option("EXPORT", exportName, "name of the export")->required();
  call->add_option("ARGUMENTS", callArguments, "name=value; objects as paths");

  bool markdown = false;
  auto* exportsCommand = app.add_subcommand("exports", "list the exports of the library, from its export table");
  exportsCommand->add_flag("--markdown", markdown, "the reference of every export, as docs/exports.md holds it");

  auto* plans = app.add_subcommand("plans", "list the root charts of a controller");
  plans->add_option("CONTROLLER", controller, "controller path")->required();

  std::string showPath;
  int showDepth = 0;
  auto* show =
      app.add_subcommand("show", "one object through the object model: what it is and what it is connected to");
  show->add_option("OBJECT", showPath, "object path")->required();
  show->add_option("--depth", showDepth, "describe children this many levels deep");

  std::string argument1, argument2;
  std::vector<std::string> keepGroups;
  bool dryRun = false;
  auto* chart = app.add_subcommand("chart", "a chart by its path: grx chart RES ROOT/SUB/SUB");
  chart->add_option("CONTROLLER", argument1, "controller path")->required();
  chart->add_option("PATH", argument2, "root chart and sub-charts, separated by / or \\")->required();
  auto* subcharts = app.add_subcommand("subcharts", "the sub-charts of a chart at every depth");
  subcharts->add_option("CHART", argument1, "chart path")->required();
  auto* checkName = app.add_subcommand("check-name", "check a name: grx check-name root|sub|block|var NAME");
  checkName->add_option("KIND", argument1, "root, sub, block or var")->required();
  checkName->add_option("NAME", argument2, "the name")->required();
  auto* interface = app.add_subcommand("interface", "the interface items of a chart");
  interface->add_option("CHART", argument1, "chart path")->required();
  auto* taskOf = app.add_subcommand("task-of", "whether an object runs in a task: grx task-of OBJECT TASK");
  taskOf->add_option("OBJECT", argument1, "object path")->required();
  taskOf->add_option("TASK", argument2, "task path")->required();
  auto* cleanGroups = app.add_subcommand("clean-groups", "delete the empty processing groups of a controller");
  cleanGroups->add_option("CONTROLLER", argument1, "controller path")->required();
  cleanGroups->add_option("--keep", keepGroups, "names of groups to keep");
  cleanGroups->add_flag("--dry-run", dryRun, "say what would be deleted, changing nothing");
  auto* cleanTasks = app.add_subcommand("clean-tasks", "delete the tasks other than T1-T5 whose groups are all empty");
  cleanTasks->add_option("CONTROLLER", argument1, "controller path")->required();
  cleanTasks->add_flag("--dry-run", dryRun, "say what would be deleted, changing nothing");

  std::string typeName, castFrom, castTo;
  bool castTable = false;
  auto* type = app.add_subcommand("type", "an elementary type by name: its ES type code and IEC data type");
  type->add_option("NAME", typeName, "type name")->required();
  auto* cast = app.add_subcommand("cast", "whether a type may be connected to another: grx cast FROM TO");
  cast->add_option("FROM", castFrom, "source type (name or IEC data type number)");
  cast->add_option("TO", castTo, "target type");
  cast->add_flag("--table", castTable, "the whole relation of the elementary types");

  std::string addressText, sourcePath, sinkPath, connectedPath;
  auto* address = app.add_subcommand("address", "whether a text is a process-image address, and of which type");
  address->add_option("TEXT", addressText, "the address, such as %IW4")->required();
  auto* compatible = app.add_subcommand("compatible", "whether a source may feed a sink: grx compatible SOURCE SINK");
  compatible->add_option("SOURCE", sourcePath, "source object path")->required();
  compatible->add_option("SINK", sinkPath, "sink object path")->required();
  auto* connected = app.add_subcommand("connected", "the block parameter behind a chain of chart interface variables");
  connected->add_option("VAR", connectedPath, "variable path")->required();

  std::string findController, findPattern;
  bool findWhole = false, findCase = false;
  auto* findGlobal =
      app.add_subcommand("find-global", "every use of the global variables whose name contains PATTERN: RES PATTERN");
  findGlobal->add_option("CONTROLLER", findController, "controller path")->required();
  findGlobal->add_option("PATTERN", findPattern, "part of the name (without regard to case)")->required();
  findGlobal->add_flag("--whole", findWhole, "the name must be as long as the pattern");
  findGlobal->add_flag("--case", findCase, "the name must contain the pattern with its case");

  std::string renameController, renameOld, renameNew;
  bool renameDryRun = false;
  auto* renameGlobal = app.add_subcommand(
      "rename-global", "move every connection of a global variable to another one, in one transaction: RES OLD NEW");
  renameGlobal->add_option("CONTROLLER", renameController, "controller path")->required();
  renameGlobal->add_option("OLD", renameOld, "name of the global variable (without regard to case)")->required();
  renameGlobal->add_option("NEW", renameNew, "name of the global variable that takes the connections")->required();
  renameGlobal->add_flag("--dry-run", renameDryRun, "list the connections that would move, changing nothing");

  std::string runSequenceChart;
  auto* runSequence =
      app.add_subcommand("run-sequence", "the blocks of a chart and its sub-charts in run order, with their places");
  runSequence->add_option("CHART", runSequenceChart, "chart path")->required();

  std::string moveChart, moveGroup;
  bool moveDryRun = false;
  auto* moveBlocks = app.add_subcommand(
      "move-blocks", "move the blocks of a chart and its sub-charts into a processing group, in run order: CHART");
  moveBlocks->add_option("CHART", moveChart, "chart path")->required();
  moveBlocks->add_option("--to", moveGroup, "the processing group, as RES/#TASK/GROUP")->required();
  moveBlocks->add_flag("--dry-run", moveDryRun, "show the run sequence the move would give, changing nothing");

  std::uint32_t msgboxId = 0, msgboxStyle = 64, msgboxButtons = 0;
  std::vector<std::string> msgboxArgs;
  auto* msgbox =
      app.add_subcommand("msgbox", "show a message of the language library and print the answer: ID [ARG ...]");
  msgbox->add_option("ID", msgboxId, "message number")->required();
  msgbox->add_option("ARGS", msgboxArgs, "texts for the message's %s placeholders, in turn");
  msgbox->add_option("--style", msgboxStyle, "16 stop, 48 exclamation, 64 information, others question")
      ->capture_default_str();
  msgbox->add_option("--buttons", msgboxButtons, "0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No; +16384 help")
      ->capture_default_str();

  std::string stampController, stampChart;
  auto* stamp =
      app.add_subcommand("stamp", "stamp a controller (and a root chart) with this release's version: RES [CHART]");
  stamp->add_option("CONTROLLER", stampController, "controller path")->required();
  stamp->add_option("CHART", stampChart, "root chart path");
  auto* checkStamp =
      app.add_subcommand("check-stamp", "whether a controller (and a root chart) carry this release's stamp");
  checkStamp->add_option("CONTROLLER", stampController, "controller path")->required();
  checkStamp->add_option("CHART", stampChart, "root chart path");
  std::string dataVersionObject;
  bool dataVersionUpdate = false;
  auto* dataVersion = app.add_subcommand("data-version", "an object's data version against the installed software");
  dataVersion->add_option("OBJECT", dataVersionObject, "object path")->required();
  dataVersion->add_flag("--update", dataVersionUpdate, "bring the data version up by writing the object");
  std::string checkResourceController;
  auto* checkResource = app.add_subcommand("check-resource", "whether a controller is of the kind the library serves");
  checkResource->add_option("CONTROLLER", checkResourceController, "controller path")->required();
  std::uint32_t helpContext = 0;
  std::string helpBase;
  auto* help = app.add_subcommand("help", "open the help file of the user's language at a context: [CONTEXT]");
  help->add_option("CONTEXT", helpContext, "help context (0x2xxxx: a dialog's)");
  help->add_option("--base", helpBase, "base name of the help file (default w5grxmhx)");
  std::string fbHelpType, fbHelpObject;
  std::vector<std::string> fbHelpMore;
  auto* fbHelp = app.add_subcommand("fb-help", "start the block help viewer for a block type: TYPE OBJECT");
  fbHelp->add_option("TYPE", fbHelpType, "block type: a name in the object's controller, or a path RES/%TYPE")
      ->required();
  fbHelp->add_option("OBJECT", fbHelpObject, "the object whose controller tells the library's language")->required();
  fbHelp->add_option("--then", fbHelpMore, "further block types, each replacing the viewer before (repeatable)");
  std::string locateObject, locateText;
  auto* locate = app.add_subcommand("locate", "the object a compiler message names: OBJECT \"LOCATION TEXT\"");
  locate->add_option("OBJECT", locateObject, "the chart or controller the message belongs to")->required();
  locate->add_option("LOCATION", locateText, "the message's text")->required();
  std::string importController, importCatalogue, copySource, copyTarget, logFile;
  bool importQuiet = false, importDryRun = false;
  auto* importTasks =
      app.add_subcommand("import-tasks", "create the tasks T1-T5 of a controller with their records: RES");
  importTasks->add_option("RES", importController, "the controller")->required();
  importTasks->add_flag("--dry-run", importDryRun, "show the outcome, then roll it back");
  auto* importTypes =
      app.add_subcommand("import-types", "import the block types of the catalogue into a controller: RES");
  importTypes->add_option("RES", importController, "the controller")->required();
  importTypes->add_flag("--quiet", importQuiet, "do not show the log when it holds errors or warnings");
  importTypes->add_option("--catalogue", importCatalogue, "the block-type catalogue (default: the one set up)");
  importTypes->add_flag("--dry-run", importDryRun, "show the outcome, then roll it back");
  auto* copyTypes = app.add_subcommand(
      "copy-types", "copy the technology packages of a controller to another and import them there: SOURCE TARGET");
  copyTypes->add_option("SOURCE", copySource, "the controller whose packages are copied")->required();
  copyTypes->add_option("TARGET", copyTarget, "the controller they are copied to")->required();
  copyTypes->add_flag("--dry-run", importDryRun, "show the outcome, then roll it back");
  std::string checkController;
  auto* check = app.add_subcommand(
      "check", "the library's checks over a controller: names, connections, unused globals, stamps, data version: RES");
  check->add_option("RES", checkController, "the controller")->required();
  auto* log = app.add_subcommand("log", "print a saved log: FILE");
  log->add_option("FILE", logFile, "the log file")->required();
  ProgressRun progressRun;
  auto* progress = app.add_subcommand("progress", "the library's progress dialog through a number of steps");
  progress->add_option("--steps", progressRun.steps, "number of steps (default 20)")->check(CLI::Range(0, 100000));
  progress->add_option("--delay", progressRun.delayMs, "milliseconds per step (default 100)")
      ->check(CLI::Range(0, 60000));
  progress->add_option("--title", progressRun.title, "caption");
  progress->add_option("--text", progressRun.text, "text lines (a carriage return separates the second)");
  auto* editor = app.add_subcommand("editor", "the installed chart editor, its technology version and the software's");

  std::string blobPath;
  BlobActions blobActions;
  auto* blob = app.add_subcommand("blob", "the blob record of an object, field by field");
  blob->add_option("OBJECT", blobPath, "object path")->required();
  blob->add_flag("--hex", blobActions.hex, "the stored bytes with what they are");
  blob->add_option("--set", blobActions.set, "set a text, number or boolean field: KEY=VALUE (repeatable)");
  blob->add_flag("--dry-run", blobActions.dryRun, "show what would be written or deleted, changing nothing");
  blob->add_flag("--delete", blobActions.remove, "delete the object's blob");

  auto* settings = app.add_subcommand("settings", "the settings the library reads, and where each came from");

  auto* trace = app.add_subcommand("trace", "work with call-trace files");
  trace->require_subcommand(1);
  auto* decode = trace->add_subcommand("decode", "turn a scrambled call-trace file back into readable lines");
  decode->add_option("FILE", traceFile, "call-trace file")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help answers 0; any other parse failure is a usage error.
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }
  // Each run starts its trace files anew unless told to add to them.
  for (const std::string* file : {&options.callTrace, &options.trace}) {
    std::error_code ignored;
    if (!file->empty() && !append) std::filesystem::remove(*file, ignored);
  }
  if (!options.callTrace.empty()) {
    // The logging library reads where to write before the first traced call.
    grx::platform::SetEnvironmentValue("ES_LOG_FILE", options.callTrace.c_str());
  }
  // The object trace goes to the trace library once a sink is installed.
  std::unique_ptr<ZEB::CTrace> objectTrace;
  if (!options.trace.empty()) {
    grx::platform::SetEnvironmentValue("W5TRACE_FILE", options.trace.c_str());
    grx::platform::SetEnvironmentValue("W5TRACE_LEVEL", std::to_string(options.traceLevel).c_str());
    objectTrace = std::make_unique<ZEB::CTrace>(22, 7, "grx");
    ZEB::CObject::SetTrace(objectTrace.get());
    std::string command;
    for (int i = 1; i < argc; ++i) command += std::string(i > 1 ? " " : "") + argv[i];
    ZEB::CObject::Trace(1, "grx", "run: grx %s", command.c_str());
  }
  auto runCommand = [&]() -> int {
    // Names, paths of objects and texts reach the library in its code page; file names stay as
    // the file system has them.
    for (std::string* text :
         {&exportName,    &controller,       &showPath,     &argument1,         &argument2,        &blobPath,
          &typeName,      &castFrom,         &castTo,       &addressText,       &sourcePath,       &sinkPath,
          &connectedPath, &fbHelpType,       &fbHelpObject, &progressRun.title, &progressRun.text, &locateObject,
          &locateText,    &importController, &copySource,   &copyTarget}) {
      *text = FromTerminal(*text);
    }
    for (auto* list :
         {&options.windows, &options.answers, &callArguments, &keepGroups, &blobActions.set, &fbHelpMore}) {
      FromTerminal(*list);
    }
    if (*settings) return RunSettings(options, std::cout);
    if (*blob) return RunBlob(options, blobPath, blobActions, std::cout);
    if (*type) return RunType(options, typeName, std::cout);
    if (*address) return RunAddress(options, addressText, std::cout);
    if (*compatible) return RunCompatible(options, sourcePath, sinkPath, std::cout);
    if (*connected) return RunConnected(options, connectedPath, std::cout);
    if (*stamp) return RunStamp(options, stampController, stampChart, std::cout);
    if (*checkStamp) return RunCheckStamp(options, stampController, stampChart, std::cout);
    if (*dataVersion) return RunDataVersion(options, dataVersionObject, dataVersionUpdate, std::cout);
    if (*checkResource) return RunCheckResource(options, checkResourceController, std::cout);
    if (*help) return RunHelp(options, helpBase, helpContext, std::cout);
    if (*editor) return RunEditor(options, std::cout);
    if (*locate) return RunLocate(options, locateObject, locateText, std::cout);
    if (*importTasks) return RunImportTasks(options, importController, importDryRun, std::cout);
    if (*importTypes) {
      return RunImportTypes(options, importController, importQuiet, importCatalogue, importDryRun, std::cout);
    }
    if (*copyTypes) return RunCopyTypes(options, copySource, copyTarget, importDryRun, std::cout);
    if (*log) return RunLog(options, logFile, std::cout);
    if (*check) return RunCheck(options, checkController, std::cout);
    if (*progress) return RunProgress(options, progressRun, std::cout);
    if (*fbHelp) return RunFbHelp(options, fbHelpType, fbHelpObject, fbHelpMore, std::cout);
    if (*msgbox) return RunMsgBox(options, msgboxId, msgboxArgs, msgboxStyle, msgboxButtons, std::cout);
    if (*moveBlocks) return RunMoveBlocks(options, moveChart, moveGroup, moveDryRun, std::cout);
    if (*runSequence) return RunRunSequence(options, runSequenceChart, std::cout);
    if (*renameGlobal) return RunRenameGlobal(options, renameController, renameOld, renameNew, renameDryRun, std::cout);
    if (*findGlobal) return RunFindGlobal(options, findController, findPattern, findWhole, findCase, std::cout);
    if (*cast) return RunCast(options, castFrom, castTo, castTable, std::cout);
    if (*chart) return RunChart(options, argument1, argument2, std::cout);
    if (*subcharts) return RunSubcharts(options, argument1, std::cout);
    if (*checkName) return RunCheckName(options, argument1, argument2, std::cout);
    if (*interface) return RunInterface(options, argument1, std::cout);
    if (*taskOf) return RunTaskOf(options, argument1, argument2, std::cout);
    if (*cleanGroups) return RunCleanGroups(options, argument1, keepGroups, dryRun, std::cout);
    if (*cleanTasks) return RunCleanTasks(options, argument1, dryRun, std::cout);
    if (*show) return RunShow(options, showPath, showDepth, std::cout);
    if (*call) return RunCall(options, exportName, callArguments, std::cout);
    if (*exportsCommand) return RunExports(options, markdown, std::cout);
    if (*plans) return RunPlans(options, controller, std::cout);
    if (*decode) return RunTraceDecode(options, traceFile, std::cout);
    if (*generate) return RunGenerate(options, generated, shape, generateForce, std::cout);
    if (*import) return RunImport(options, description, project, force, std::cout);
    if (*exportCommand) return RunExport(options, ProjectOf(options, project), output, std::cout);
    if (*info) return RunInfo(options, ProjectOf(options, project), std::cout);
    if (*demo) return RunDemo(options, keep, std::cout);
    return kExitUsage;
  };
  int exitCode = kExitUsage;
  try {
    exitCode = runCommand();
  } catch (const GrxError& e) {
    std::cerr << "grx: " << e.what() << "\n";
    exitCode = e.exitCode();
  } catch (const ChartDbError& e) {
    std::cerr << "grx: " << e.what() << "\n";
    exitCode = kExitFailure;
  } catch (const std::exception& e) {
    std::cerr << "grx: unexpected failure: " << e.what() << "\n";
    exitCode = kExitFailure;
  }
  // The project is closed before the program ends, not left to the chart database's teardown.
  CloseChartDatabase();
  if (objectTrace) ZEB::CObject::ResetTrace();
  return exitCode;
}
