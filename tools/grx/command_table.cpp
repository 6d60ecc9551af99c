// The table of grx's commands. A new command is one row here and its body.
#include "command_table.h"

#include <algorithm>

#include "project_generator.h"

namespace grx::cli {
namespace {

using K = ArgKind;

constexpr std::int64_t kU32 = 0xFFFFFFFFll;

ArgSpec Positional(const char* name, ArgKind kind, const char* help, bool required = true) {
  return ArgSpec{name, kind, required, false, help};
}
ArgSpec Flag(const char* name, const char* help) {
  return ArgSpec{name, K::Flag, false, false, help};
}
ArgSpec Option(const char* name, ArgKind kind, const char* help) {
  return ArgSpec{name, kind, false, false, help};
}
ArgSpec Repeatable(const char* name, ArgKind kind, const char* help) {
  return ArgSpec{name, kind, false, true, help};
}
ArgSpec Number(const char* name, const char* help, std::int64_t min, std::int64_t max, bool required = false) {
  return ArgSpec{name, K::Number, required, false, help, "", min, max};
}
ArgSpec DryRun(const char* help = "show the outcome, then roll it back: the project is not changed") {
  return Flag("--dry-run", help);
}

int Import(const Invocation& i, std::ostream& out) {
  return RunImport(i.options(), i.Text("DESCRIPTION"), i.Text("PROJECT"), i.Has("--force"), out);
}

int Generate(const Invocation& i, std::ostream& out) {
  ProjectShape shape;
  shape.charts = static_cast<int>(i.Number("--charts", shape.charts));
  shape.depth = static_cast<int>(i.Number("--depth", shape.depth));
  shape.blocks = static_cast<int>(i.Number("--blocks", shape.blocks));
  shape.globals = static_cast<int>(i.Number("--globals", shape.globals));
  return RunGenerate(i.options(), i.Text("PROJECT"), shape, i.Has("--force"), out);
}

int Blob(const Invocation& i, std::ostream& out) {
  BlobActions actions;
  actions.hex = i.Has("--hex");
  actions.set = i.Texts("--set");
  actions.dryRun = i.DryRun();
  actions.remove = i.Has("--delete");
  return RunBlob(i.options(), i.Text("OBJECT"), actions, out);
}

int Progress(const Invocation& i, std::ostream& out) {
  ProgressRun run;
  run.steps = static_cast<int>(i.Number("--steps", run.steps));
  run.delayMs = static_cast<int>(i.Number("--delay", run.delayMs));
  if (i.Has("--title")) run.title = i.Text("--title");
  if (i.Has("--text")) run.text = i.Text("--text");
  return RunProgress(i.options(), run, out);
}

} // namespace

const std::vector<CommandSpec>& Commands() {
  static const std::vector<CommandSpec> commands = {
      {"import",
       "import a project description or a PLCopen TC6 XML project into a new project file",
       Access::Creates,
       {Positional("DESCRIPTION", K::File, "project description (JSON) or TC6 XML 2.01 project, told apart by content"),
        Positional("PROJECT", K::File, "project file to create"), Flag("--force", "replace an existing project file")},
       "0 imported",
       Import,
       "examples/demo.json d.db",
       "",
       true},
      {"generate",
       "make a project of a known shape and size",
       Access::Creates,
       {Positional("PROJECT", K::File, "project file to create"),
        Number("--charts", "root charts (default 10)", 0, 1000000),
        Number("--depth", "sub-chart levels below each root chart (default 1)", 0, 64),
        Number("--blocks", "blocks of every chart (default 10)", 0, 1000000),
        Number("--globals", "global variables (default 100)", 0, 10000000),
        Flag("--force", "replace an existing project file")},
       "0 generated",
       Generate,
       "big.db --charts 500 --depth 1 --blocks 25 --globals 1000",
       "",
       true},
      {"export",
       "print a project as a description (JSON) or as a PLCopen TC6 XML project",
       Access::Reads,
       {Positional("PROJECT", K::File, "project file (default: the one of --project)", false),
        Option("-o,--output", K::File, "write the description to this file (never the project itself)"),
        ArgSpec{"--format", K::Choice, false, false, "json (the default) or plcopen (TC6 XML 2.01)", "json|plcopen"},
        Flag("--force", "replace an existing output file")},
       "0 exported",
       [](const Invocation& i, std::ostream& out) {
         return RunExport(i.options(), i.Text("--output"), i.Text("--format") == "plcopen", i.Has("--force"), out);
       },
       "d.db --format plcopen -o d.xml",
       "",
       true},
      {"info",
       "controllers, charts as a tree, tasks and groups, counts",
       Access::Reads,
       {Positional("PROJECT", K::File, "project file (default: the one of --project)", false),
        Number("--depth", "chart levels shown in the tree (default: all)", 0, 1000000)},
       "0 shown",
       [](const Invocation& i, std::ostream& out) {
         return RunInfo(i.options(), static_cast<int>(i.Number("--depth", -1)), out);
       },
       "d.db --depth 1"},
      {"demo",
       "build the demo project in a temporary folder and tour it",
       Access::None,
       {Flag("--keep", "keep the temporary folder")},
       "0 every step answered as expected",
       [](const Invocation& i, std::ostream& out) { return RunDemo(i.options(), i.Has("--keep"), out); }},
      {"call",
       "call an export: grx call EXPORT name=value ...",
       Access::Writes,
       {Positional("EXPORT", K::Text, "name of the export"),
        Repeatable("ARGUMENTS", K::Text, "name=value; objects as paths")},
       "0 the export answered; its changes are committed",
       [](const Invocation& i, std::ostream& out) {
         return RunCall(i.options(), i.Text("EXPORT"), i.Texts("ARGUMENTS"), out);
       },
       "W5GRX_RootPlanFromName cpuId=D445_AXES name=axis1"},
      {"exports",
       "list the exports of the library, from its export table",
       Access::None,
       {Flag("--markdown", "the reference of every export, as docs/exports.md holds it"),
        Flag("--policies", "which exports raise and which answer neutrally, by family, as docs/hosting.md holds it"),
        Flag("--c-header", "the C interface's header, as include/grx/w5lhlpax_c.h holds it"),
        Flag("--c-source", "the C functions of the exports, as src/app/c_exports.cpp holds them"),
        Flag("--python", "the table of the C functions, as the Python package's grx/_exports.py holds it")},
       "0 listed",
       [](const Invocation& i, std::ostream& out) {
         for (const char* format : {"--markdown", "--policies", "--c-header", "--c-source", "--python"}) {
           if (i.Has(format)) return RunExports(i.options(), format, out);
         }
         return RunExports(i.options(), "", out);
       }},
      {"plans",
       "list the root charts of a controller",
       Access::Reads,
       {Positional("CONTROLLER", K::Controller, "controller path")},
       "0 listed",
       [](const Invocation& i, std::ostream& out) { return RunPlans(i.options(), i.Text("CONTROLLER"), out); },
       "D445_AXES"},
      {"show",
       "one object through the object model: what it is and what it is connected to",
       Access::Reads,
       {Positional("OBJECT", K::Object, "object path"),
        Number("--depth", "describe children this many levels deep", 0, 1000)},
       "0 shown",
       [](const Invocation& i, std::ostream& out) {
         return RunShow(i.options(), i.Text("OBJECT"), static_cast<int>(i.Number("--depth")), out);
       },
       "D445_AXES/Axis1/Move1 --depth 1"},
      {"chart",
       "a chart by its path below a controller",
       Access::Reads,
       {Positional("CONTROLLER", K::Controller, "controller path"),
        Positional("PATH", K::Text, "root chart and sub-charts, separated by / or \\")},
       "0 found",
       [](const Invocation& i, std::ostream& out) {
         return RunChart(i.options(), i.Text("CONTROLLER"), i.Text("PATH"), out);
       },
       "D445_AXES Axis1/Homing"},
      {"subcharts",
       "the sub-charts of a chart at every depth",
       Access::Reads,
       {Positional("CHART", K::Chart, "chart path")},
       "0 listed",
       [](const Invocation& i, std::ostream& out) { return RunSubcharts(i.options(), i.Text("CHART"), out); },
       "D445_AXES/Axis1"},
      {"check-name",
       "check a name against the naming rules",
       Access::None,
       {ArgSpec{"KIND", K::Choice, true, false, "what the name is for", "root|sub|block|var"},
        Positional("NAME", K::Text, "the name")},
       "0 the name is accepted; 1 it is rejected, with the failing character",
       [](const Invocation& i, std::ostream& out) {
         return RunCheckName(i.options(), i.Text("KIND"), i.Text("NAME"), out);
       },
       "root Motor_A"},
      {"interface",
       "the interface items of a chart",
       Access::Reads,
       {Positional("CHART", K::Chart, "chart path")},
       "0 listed",
       [](const Invocation& i, std::ostream& out) { return RunInterface(i.options(), i.Text("CHART"), out); },
       "D445_AXES/Axis1"},
      {"task-of",
       "whether an object runs in a task",
       Access::Reads,
       {Positional("OBJECT", K::Object, "object path"), Positional("TASK", K::Task, "task path")},
       "0 it runs in the task; 1 it does not",
       [](const Invocation& i, std::ostream& out) {
         return RunTaskOf(i.options(), i.Text("OBJECT"), i.Text("TASK"), out);
       },
       "D445_AXES/Axis1/Move1 D445_AXES/#T1"},
      {"clean-groups",
       "delete the empty processing groups of a controller",
       Access::Writes,
       {Positional("CONTROLLER", K::Controller, "controller path"),
        Repeatable("--keep", K::Text, "name of a group to keep (repeatable)"), DryRun()},
       "0 every empty group deleted",
       [](const Invocation& i, std::ostream& out) {
         return RunCleanGroups(i.options(), i.Text("CONTROLLER"), i.Texts("--keep"), i.DryRun(), out);
       },
       "D445_AXES --keep G_Spare"},
      {"clean-tasks",
       "delete the tasks other than T1-T5 whose groups are all empty",
       Access::Writes,
       {Positional("CONTROLLER", K::Controller, "controller path"), DryRun()},
       "0 every such task deleted",
       [](const Invocation& i, std::ostream& out) {
         return RunCleanTasks(i.options(), i.Text("CONTROLLER"), i.DryRun(), out);
       },
       "D445_AXES"},
      {"type",
       "an elementary type by name: its ES type code and IEC data type",
       Access::None,
       {Positional("NAME", K::Text, "type name")},
       "0 an elementary type; 1 none",
       [](const Invocation& i, std::ostream& out) { return RunType(i.options(), i.Text("NAME"), out); },
       "TIME_OF_DAY"},
      {"cast",
       "whether a type may be connected to another",
       Access::None,
       {Positional("FROM", K::Text, "source type (name or IEC data type number)", false),
        Positional("TO", K::Text, "target type", false), Flag("--table", "the whole relation of the elementary types")},
       "0 it may; 1 it may not",
       [](const Invocation& i, std::ostream& out) {
         return RunCast(i.options(), i.Text("FROM"), i.Text("TO"), i.Has("--table"), out);
       },
       "BYTE SINT"},
      {"address",
       "whether a text is a process-image address, and of which type",
       Access::None,
       {Positional("TEXT", K::Text, "the address, such as %IW4")},
       "0 an address; 1 none",
       [](const Invocation& i, std::ostream& out) { return RunAddress(i.options(), i.Text("TEXT"), out); },
       "%IW4"},
      {"compatible",
       "whether a source may feed a sink",
       Access::Reads,
       {Positional("SOURCE", K::Variable, "source variable path"),
        Positional("SINK", K::Variable, "sink variable path")},
       "0 compatible; 1 not",
       [](const Invocation& i, std::ostream& out) {
         return RunCompatible(i.options(), i.Text("SOURCE"), i.Text("SINK"), out);
       },
       "D445_AXES/Axis1/Pos1.POS D445_AXES/Axis1/Lim1.IN"},
      {"connected",
       "the block parameter behind a chain of chart interface variables",
       Access::Reads,
       {Positional("VAR", K::Variable, "variable path")},
       "0 found; 1 none",
       [](const Invocation& i, std::ostream& out) { return RunConnected(i.options(), i.Text("VAR"), out); },
       "D445_AXES/Axis1.ActPos"},
      {"find-global",
       "every use of the global variables whose name contains PATTERN",
       Access::Reads,
       {Positional("CONTROLLER", K::Controller, "controller path"),
        Positional("PATTERN", K::Text, "part of the name (without regard to case)"),
        Flag("--whole", "the name must be as long as the pattern"),
        Flag("--case", "the name must contain the pattern with its case")},
       "0 uses found; 1 none",
       [](const Invocation& i, std::ostream& out) {
         return RunFindGlobal(i.options(), i.Text("CONTROLLER"), i.Text("PATTERN"), i.Has("--whole"), i.Has("--case"),
                              out);
       },
       "D445_AXES genable"},
      {"rename-global",
       "move every connection of a global variable to another one",
       Access::Writes,
       {Positional("CONTROLLER", K::Controller, "controller path"),
        Positional("OLD", K::Text, "name of the global variable (without regard to case)"),
        Positional("NEW", K::Text, "name of the global variable that takes the connections"),
        Flag("--merge", "allow moving onto an existing global variable of another data type"), DryRun()},
       "0 every connection moved",
       [](const Invocation& i, std::ostream& out) {
         return RunRenameGlobal(i.options(), i.Text("CONTROLLER"), i.Text("OLD"), i.Text("NEW"), i.DryRun(),
                                i.Has("--merge"), out);
       },
       "D445_AXES gEnable gPowerOn",
       "",
       true},
      {"run-sequence",
       "the blocks of a chart and its sub-charts in run order, with their places",
       Access::Reads,
       {Positional("CHART", K::Chart, "chart path")},
       "0 listed",
       [](const Invocation& i, std::ostream& out) { return RunRunSequence(i.options(), i.Text("CHART"), out); },
       "D445_AXES/Axis2"},
      {"move-blocks",
       "move the blocks of a chart and its sub-charts into a processing group, in run order",
       Access::Writes,
       {Positional("CHART", K::Chart, "chart path"),
        ArgSpec{"--to", K::Group, true, false, "the processing group, as RES/#TASK/GROUP"}, DryRun()},
       "0 every block moved, in the order shown",
       [](const Invocation& i, std::ostream& out) {
         return RunMoveBlocks(i.options(), i.Text("CHART"), i.Text("--to"), i.DryRun(), out);
       },
       "D445_AXES/Axis2 --to D445_AXES/#T1/G_Axis1"},
      {"msgbox",
       "show a message of the language library and print the answer",
       Access::None,
       {Number("ID", "message number", 0, kU32, true),
        Repeatable("ARGS", K::Text, "texts for the message's %s placeholders, in turn"),
        Number("--style", "16 stop, 48 exclamation, 64 information (default), others question", 0, kU32),
        Number("--buttons", "0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No; +16384 help", 0, kU32)},
       "0 answered",
       [](const Invocation& i, std::ostream& out) {
         return RunMsgBox(i.options(), static_cast<std::uint32_t>(i.Number("ID")), i.Texts("ARGS"),
                          static_cast<std::uint32_t>(i.Number("--style", 64)),
                          static_cast<std::uint32_t>(i.Number("--buttons", 0)), out);
       },
       "1032 'the tasks' --style 48 --buttons 3"},
      {"stamp",
       "stamp a controller (and a root chart) with this release's version",
       Access::Writes,
       {Positional("CONTROLLER", K::Controller, "controller path"),
        Positional("CHART", K::RootChart, "root chart path", false), DryRun()},
       "0 stamped",
       [](const Invocation& i, std::ostream& out) {
         return RunStamp(i.options(), i.Text("CONTROLLER"), i.Text("CHART"), i.DryRun(), out);
       },
       "D445_AXES D445_AXES/Axis1"},
      {"check-stamp",
       "whether a controller (and a root chart) carry this release's stamp",
       Access::Reads,
       {Positional("CONTROLLER", K::Controller, "controller path"),
        Positional("CHART", K::RootChart, "root chart path", false)},
       "0 current; 1 not current",
       [](const Invocation& i, std::ostream& out) {
         return RunCheckStamp(i.options(), i.Text("CONTROLLER"), i.Text("CHART"), out);
       },
       "D445_AXES D445_AXES/Axis1"},
      {"data-version",
       "an object's data version against the installed software",
       Access::Writes,
       {Positional("OBJECT", K::Object, "object path"),
        Flag("--update", "bring the data version up by writing the object"), DryRun()},
       "0 they agree (after --update: brought up); 1 they differ",
       [](const Invocation& i, std::ostream& out) {
         return RunDataVersion(i.options(), i.Text("OBJECT"), i.Has("--update"), out);
       },
       "D445_AXES/Axis1 --update",
       "--update"},
      {"check-resource",
       "whether a controller is of the kind the library serves",
       Access::Reads,
       {Positional("CONTROLLER", K::Controller, "controller path")},
       "0 of the served kind; 1 not",
       [](const Invocation& i, std::ostream& out) { return RunCheckResource(i.options(), i.Text("CONTROLLER"), out); },
       "CX32_LINE"},
      {"help",
       "open the help file of the user's language at a context",
       Access::None,
       {Number("CONTEXT", "help context (0x2xxxx: a dialog's)", 0, kU32),
        Option("--base", K::Text, "base name of the help file (default w5grxmhx)")},
       "0 shown; 1 it cannot be shown",
       [](const Invocation& i, std::ostream& out) {
         return RunHelp(i.options(), i.Text("--base"), static_cast<std::uint32_t>(i.Number("CONTEXT")), out);
       },
       "0x20123"},
      {"fb-help",
       "start the block help viewer for a block type",
       Access::Reads,
       {Positional("TYPE", K::Text, "block type: a name in the object's controller, or a path RES/%TYPE"),
        Positional("OBJECT", K::Object, "the object whose controller tells the library's language"),
        Repeatable("--then", K::Text, "further block types, each replacing the viewer before (repeatable)")},
       "0 the viewer was started; 1 it could not be",
       [](const Invocation& i, std::ostream& out) {
         return RunFbHelp(i.options(), i.Text("TYPE"), i.Text("OBJECT"), i.Texts("--then"), out);
       },
       "PID D445_AXES"},
      {"locate",
       "the object a compiler message names",
       Access::Reads,
       {Positional("OBJECT", K::Object, "the chart or controller the message belongs to"),
        Positional("LOCATION", K::Text, "the message's text")},
       "0 found; 1 none",
       [](const Invocation& i, std::ostream& out) {
         return RunLocate(i.options(), i.Text("OBJECT"), i.Text("LOCATION"), out);
       },
       "D445_AXES/Axis1 'E123 \".HomeTimer.PT\": time too short'"},
      {"import-tasks",
       "create the tasks T1-T5 of a controller with their records",
       Access::Writes,
       {Positional("RES", K::Controller, "the controller"), DryRun()},
       "0 imported; 1 not imported",
       [](const Invocation& i, std::ostream& out) {
         return RunImportTasks(i.options(), i.Text("RES"), i.DryRun(), out);
       },
       "CX32_LINE"},
      {"import-types",
       "import the block types of the catalogue into a controller",
       Access::Writes,
       {Positional("RES", K::Controller, "the controller"),
        Flag("--quiet", "do not show the log when it holds errors or warnings"),
        Option("--catalogue", K::File, "the block-type catalogue (default: the one set up)"), DryRun()},
       "0 imported, or nothing to import; 1 not imported",
       [](const Invocation& i, std::ostream& out) {
         return RunImportTypes(i.options(), i.Text("RES"), i.Has("--quiet"), i.Text("--catalogue"), i.DryRun(), out);
       },
       "CX32_LINE --quiet"},
      {"copy-types",
       "copy the technology packages of a controller to another and import them there",
       Access::Writes,
       {Positional("SOURCE", K::Controller, "the controller whose packages are copied"),
        Positional("TARGET", K::Controller, "the controller they are copied to"), DryRun()},
       "0 copied; 1 not copied",
       [](const Invocation& i, std::ostream& out) {
         return RunCopyTypes(i.options(), i.Text("SOURCE"), i.Text("TARGET"), i.DryRun(), out);
       },
       "D445_AXES CX32_LINE"},
      {"check",
       "the library's checks over a controller: names, connections, unused globals, stamps, data version",
       Access::Reads,
       {Positional("RES", K::Controller, "the controller")},
       "0 no findings; 1 findings",
       [](const Invocation& i, std::ostream& out) { return RunCheck(i.options(), i.Text("RES"), out); },
       "D445_AXES",
       "",
       true},
      {"draw",
       "draw a chart as SVG, or a controller as one HTML page of all its charts",
       Access::Reads,
       {Positional("PATH", K::Object, "a chart (RES/CHART/...) or a controller (RES: an HTML page)"),
        Option("-o,--output", K::File, "write the drawing to this file"),
        Flag("--check", "mark the findings of grx check on their objects (the page always does)")},
       "0 drawn",
       [](const Invocation& i, std::ostream& out) {
         return RunDraw(i.options(), i.Text("PATH"), i.Text("--output"), i.Has("--check"), out);
       },
       "D445_AXES/Axis1 --check",
       "",
       true},
      {"log",
       "print a saved log",
       Access::None,
       {Positional("FILE", K::File, "the log file")},
       "0 printed; 1 it holds errors",
       [](const Invocation& i, std::ostream& out) { return RunLog(i.options(), i.Text("FILE"), out); }},
      {"progress",
       "the library's progress dialog through a number of steps",
       Access::None,
       {Number("--steps", "number of steps (default 20)", 0, 100000),
        Number("--delay", "milliseconds per step (default 100)", 0, 60000), Option("--title", K::Text, "caption"),
        Option("--text", K::Text, "text lines (a carriage return separates the second)")},
       "0 ran to the end; 1 cancelled",
       Progress,
       "--steps 50 --title Import"},
      {"editor",
       "the installed chart editor, its technology version and the software's",
       Access::None,
       {},
       "0 installed and sufficient; 1 not",
       [](const Invocation& i, std::ostream& out) { return RunEditor(i.options(), out); }},
      {"blob",
       "the blob record of an object, field by field",
       Access::Writes,
       {Positional("OBJECT", K::Object, "object path"), Flag("--hex", "the stored bytes with what they are"),
        Repeatable("--set", K::Text, "set a text, number or boolean field: KEY=VALUE (repeatable)"),
        Flag("--delete", "delete the object's blob"),
        DryRun("show what would be written or deleted, changing nothing")},
       "0 shown, written or deleted",
       Blob,
       "D445_AXES/#T1 --set name=T1",
       "--set|--delete"},
      {"settings",
       "the settings the library reads, and where each came from",
       Access::None,
       {},
       "0 shown",
       [](const Invocation& i, std::ostream& out) { return RunSettings(i.options(), out); }},
      {"docs",
       "grx's own documentation, made from its command table: the man page, the bash completion or the reference",
       Access::None,
       {ArgSpec{"FORMAT", K::Choice, true, false, "what to write", "man|completion|markdown"},
        Option("-o,--output", K::File, "write it to this file")},
       "0 written",
       [](const Invocation& i, std::ostream& out) { return RunDocs(i.Text("FORMAT"), i.Text("--output"), out); },
       "man -o grx.1"},
      {"trace decode",
       "turn a scrambled call-trace file back into readable lines",
       Access::None,
       {Positional("FILE", K::File, "call-trace file")},
       "0 decoded",
       [](const Invocation& i, std::ostream& out) { return RunTraceDecode(i.options(), i.Text("FILE"), out); }},
  };
  return commands;
}

const CommandSpec* FindCommand(const std::string& name) {
  const auto& commands = Commands();
  const auto it = std::find_if(commands.begin(), commands.end(), [&](const CommandSpec& c) { return c.name == name; });
  return it == commands.end() ? nullptr : &*it;
}

const std::vector<GlobalOption>& GlobalOptions() {
  static const std::vector<GlobalOption> options = {
      {"--json", "", "print results as JSON"},
      {"--project", "FILE", "project file that commands work on (default: the demo project, not saved)"},
      {"--answer", "LIST", "answers to message boxes, in order (ok, cancel, retry, yes, no), comma-separated"},
      {"--window", "TITLE", "build a window with this title (repeat for a chain of children)"},
      {"--call-trace", "FILE", "write the call trace of the chart-database API to FILE"},
      {"--trace", "FILE", "write the module and object traces of the library to FILE"},
      {"--trace-level", "N", "highest trace level written (default 4)"},
      {"--append", "", "add to the files of --call-trace and --trace instead of starting them anew"},
      {"--version", "", "the versions of grx, the library and the chart database"},
  };
  return options;
}

bool Invocation::Has(const std::string& name) const {
  const auto it = values_.find(name);
  return (it != values_.end() && !it->second.empty()) || numbers_.count(name) > 0;
}

const std::string& Invocation::Text(const std::string& name) const {
  static const std::string empty;
  const auto it = values_.find(name);
  return it == values_.end() || it->second.empty() ? empty : it->second.front();
}

const std::vector<std::string>& Invocation::Texts(const std::string& name) const {
  static const std::vector<std::string> none;
  const auto it = values_.find(name);
  return it == values_.end() ? none : it->second;
}

std::int64_t Invocation::Number(const std::string& name, std::int64_t fallback) const {
  const auto it = numbers_.find(name);
  return it == numbers_.end() ? fallback : it->second;
}

bool Invocation::Writes() const {
  if (spec_.access != Access::Writes) return false;
  const std::string with = spec_.writesWith;
  if (with.empty()) return true;
  std::size_t start = 0;
  for (;;) {
    const auto bar = with.find('|', start);
    if (Has(with.substr(start, bar - start))) return true;
    if (bar == std::string::npos) return false;
    start = bar + 1;
  }
}

} // namespace grx::cli
