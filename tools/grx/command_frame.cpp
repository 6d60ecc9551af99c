#include "command_frame.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "command_table.h"
#include "foundation/object_trace.h"
#include "grx_error.h"
#include "number_text.h"
#include "opendata/open_data_exception.h"
#include "platform/code_page.h"
#include "platform/dynamic_library.h"
#include "platform/file_version.h"
#include "platform/process.h"
#include "project_client.h"
#include "terminal_text.h"
#include "work_notice.h"

namespace grx::cli {

std::string EscapeControls(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\n') || byte == 0x7F) {
      char cell[8];
      std::snprintf(cell, sizeof cell, "\\x%02X", byte);
      escaped += cell;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

namespace {

// The name an argument is known by: NAME, or the long name of "-o,--output".
std::string KeyOf(const ArgSpec& arg) {
  const std::string name = arg.name;
  const auto comma = name.rfind(',');
  return comma == std::string::npos ? name : name.substr(comma + 1);
}

bool IsPositional(const ArgSpec& arg) {
  return arg.name[0] != '-';
}

bool IsObject(ArgKind kind) {
  return kind >= ArgKind::Controller;
}

// What the command line left in each argument's storage.
struct Parsed {
  std::vector<std::string> values;
  std::size_t flagCount = 0;
};

std::string WordsOf(const char* choices) {
  std::string words = choices;
  for (char& c : words) c = c == '|' ? ',' : c;
  return words;
}

std::int64_t ParseNumber(const std::string& key, const std::string& text, const ArgSpec& arg) {
  const auto usage = [&] {
    return GrxError(key + " takes a whole number from " + std::to_string(arg.min) + " to " + std::to_string(arg.max) +
                        ", not \"" + EscapeControls(text) + "\"",
                    kExitUsage);
  };
  const auto number = ParseWholeNumber(text);
  if (!number) throw usage();
  const std::int64_t value = *number;
  if (value < arg.min || value > arg.max) throw usage();
  return value;
}

// Whether an object of this type at this path is of the kind.
bool OfKind(ArgKind kind, GlObjectType type, const std::string& path) {
  switch (kind) {
    case ArgKind::Controller:
      return type == IEC_OBJ_RESOURCE;
    case ArgKind::RootChart:
      return type == IEC_OBJ_CFC && std::count(path.begin(), path.end(), '/') == 1;
    case ArgKind::Chart:
      return type == IEC_OBJ_CFC;
    case ArgKind::Block:
      return type == IEC_OBJ_FUNCTION_BLOCK || type == IEC_OBJ_FUNCTION;
    case ArgKind::Variable:
      return type == IEC_OBJ_GLOBAL_VAR || (type >= IEC_OBJ_IN_VAR && type <= IEC_OBJ_IN_OUT_VAR) ||
             (type >= IEC_OBJ_CFC_IN_VAR && type <= IEC_OBJ_VAR_ELEMENT);
    case ArgKind::Task:
      return type == IEC_OBJ_TASK;
    case ArgKind::Group:
      return type == IEC_OBJ_PROCESSING_GROUP;
    default:
      return true;
  }
}

// What an object of this type is, in the words the kinds use.
std::string WhatIs(GlObjectType type, const std::string& path) {
  switch (type) {
    case IEC_OBJ_RESOURCE:
      return "a controller";
    case IEC_OBJ_CFC:
      return std::count(path.begin(), path.end(), '/') == 1 ? "a root chart" : "a sub-chart";
    case IEC_OBJ_FUNCTION_BLOCK:
    case IEC_OBJ_FUNCTION:
      return "a block";
    case IEC_OBJ_IN_VAR:
    case IEC_OBJ_OUT_VAR:
    case IEC_OBJ_IN_OUT_VAR:
      return "a block parameter";
    case IEC_OBJ_CFC_IN_VAR:
    case IEC_OBJ_CFC_OUT_VAR:
    case IEC_OBJ_CFC_IN_OUT_VAR:
      return "a chart interface variable";
    case IEC_OBJ_GLOBAL_VAR:
      return "a global variable";
    case IEC_OBJ_TASK:
      return "a task";
    case IEC_OBJ_PROCESSING_GROUP:
      return "a processing group";
    case IEC_OBJ_FUNCTION_BLOCK_TYPE:
    case IEC_OBJ_FUNCTION_TYPE:
      return "a block type";
    case IEC_OBJ_IN_VAR_TYPE:
    case IEC_OBJ_OUT_VAR_TYPE:
    case IEC_OBJ_IN_OUT_VAR_TYPE:
      return "a parameter type";
    default:
      return "an object of type " + std::to_string(type);
  }
}

// How the frame runs one command: the arguments typed, the project opened, the body run, the
// outcome committed or rolled back, and every failure turned into one line.
class Frame {
public:
  Frame(const CommandSpec& spec, Options& options, std::map<std::string, Parsed>& parsed)
      : spec_(spec), options_(options), parsed_(parsed), invocation_(spec, options) {}

  int Run() {
    try {
      TypeArguments();
      return RunBody();
    } catch (...) {
      return Fail(std::current_exception());
    }
  }

private:
  void TypeArguments() {
    for (const ArgSpec& arg : spec_.args) {
      const std::string key = KeyOf(arg);
      const Parsed& p = parsed_[key];
      if (arg.kind == ArgKind::Flag) {
        if (p.flagCount > 1) throw GrxError(key + " is given more than once", kExitUsage);
        if (p.flagCount) invocation_.Set(key, {"true"});
        continue;
      }
      if (!arg.repeatable && p.values.size() > 1) {
        throw GrxError(key + " is given more than once", kExitUsage);
      }
      std::vector<std::string> values;
      for (const std::string& raw : p.values) {
        switch (arg.kind) {
          case ArgKind::File:
            values.push_back(raw);
            break;
          case ArgKind::Number:
            invocation_.SetNumber(key, ParseNumber(key, raw, arg));
            values.push_back(raw);
            break;
          default: {
            auto text = platform::Utf8ToAnsi(raw);
            if (!text) {
              throw GrxError(key + " holds a character that code page " + std::to_string(platform::AnsiCodePage()) +
                                 " cannot hold: \"" + EscapeControls(platform::Utf8ToAnsiLossy(raw)) + "\"",
                             kExitUsage);
            }
            if (arg.kind == ArgKind::Choice &&
                ("|" + std::string(arg.choices) + "|").find("|" + *text + "|") == std::string::npos) {
              throw GrxError(key + " takes one of " + WordsOf(arg.choices) + ", not \"" + EscapeControls(*text) + "\"",
                             kExitUsage);
            }
            if (IsObject(arg.kind) && text->empty()) throw GrxError(key + " is an empty object path", kExitUsage);
            values.push_back(std::move(*text));
          }
        }
      }
      invocation_.Set(key, std::move(values));
    }
    // Options of the frame's own that name objects or carry texts.
    for (auto* list : {&options_.windows, &options_.answers}) FromTerminal(*list);
    if (options_.project.empty() && (spec_.name == std::string("export") || spec_.name == std::string("info"))) {
      options_.project = invocation_.Text("PROJECT");
      if (options_.project.empty()) {
        throw GrxError("a project file is required (as an argument or with --project)", kExitUsage);
      }
    }
  }

  void OpenProject() {
    ChartDbClient& db = ChartDbClient::Instance();
    const bool writes = invocation_.Writes();
    if (!options_.project.empty()) {
      if (!std::filesystem::exists(options_.project)) throw GrxError("no such project file");
      db.Open(options_.project, writes ? Q3SIM_OPEN_EXISTING : Q3SIM_OPEN_READ_ONLY);
    } else if (const char* named = std::getenv("Q3JDBMOX_PROJECT"); named && *named) {
      options_.project = named;
      if (!std::filesystem::exists(options_.project)) throw GrxError("no such project file");
      db.Open(options_.project, writes ? Q3SIM_OPEN_EXISTING : Q3SIM_OPEN_READ_ONLY);
    } else {
      db.Import(DemoDescription(), ":memory:");
      demo_ = true;
    }
    if (writes) {
      if (db.BeginSession() != 0) throw ChartDbError(db.LastError());
      session_ = true;
    }
  }

  void ResolveObjects() {
    ChartDbClient& db = ChartDbClient::Instance();
    for (const ArgSpec& arg : spec_.args) {
      if (!IsObject(arg.kind)) continue;
      const std::string key = KeyOf(arg);
      const std::string& path = invocation_.Text(key);
      if (path.empty()) continue;
      GlObjectId id = 0;
      if (db.ResolvePath(path.c_str(), &id) != 0) throw GrxError(db.LastError());
      objects_.push_back(path);
      GlObjectType type = IEC_OBJ_NULL;
      const GlResult result = db.iec_ObjectTypeGet(id, type, kNoTransaction);
      if (const std::uint32_t errorId = db.ErrorId(result); errorId != 0) {
        throw GrxError("the kind of " + path + " cannot be read", "iec_ObjectTypeGet", errorId);
      }
      const std::string canonical = db.Path(id);
      if (!OfKind(arg.kind, type, canonical)) {
        throw GrxError(
            key + " takes " + std::string(KindWord(arg.kind)) + "; " + path + " is " + WhatIs(type, canonical),
            kExitUsage);
      }
    }
  }

  int RunBody() {
    const bool opens = spec_.access == Access::Reads || spec_.access == Access::Writes;
    if (opens) {
      OpenProject();
      ResolveObjects();
    }
    const bool notice = spec_.long_ && !options_.json && platform::StandardErrorIsTerminal();
    if (!session_ && !notice) return spec_.body(invocation_, std::cout);
    // The output waits: for the notice to be cleared, so that the two do not mix on the terminal,
    // and for a writing command's outcome to be committed (or, dry run, rolled back).
    std::ostringstream out;
    int code = kExitFailed;
    {
      const WorkNotice working(spec_.name, notice);
      code = spec_.body(invocation_, out);
    }
    if (!session_) {
      std::cout << out.str();
      return code;
    }
    // Only a writing command that did what it was asked keeps its changes: a negative answer (the
    // import was not done) or a failure the body has described in its output is rolled back.
    const bool commit = !invocation_.DryRun() && code == kExitOk;
    const bool changed = EndSession(commit);
    std::cout << out.str();
    if (demo_ && commit && changed && !options_.json)
      std::cerr << "grx " << spec_.name << ": (demo project: not saved)\n";
    return code;
  }

  // Commits or rolls back the session; answers whether it changed the project.
  bool EndSession(bool commit) {
    ChartDbClient& db = ChartDbClient::Instance();
    session_ = false;
    int changed = 0;
    if (db.EndSession(commit ? 1 : 0, &changed) != 0) {
      const std::string reason = db.LastError();
      db.EndSession(0, nullptr);
      throw GrxError(std::string(commit ? "the changes could not be saved" : "the changes could not be rolled back") +
                     ": " + reason);
    }
    return changed != 0;
  }

  // Where a failure happened: the objects the command was given, and the file.
  std::string Where() const {
    std::string where;
    for (const std::string& object : objects_) where += (where.empty() ? "" : ", ") + object;
    const std::string file = demo_ ? std::string("the demo project") : options_.project;
    if (file.empty()) return where;
    return where.empty() ? file : where + " in " + file;
  }

  int Fail(std::exception_ptr failure) {
    if (session_) {
      ChartDbClient& db = ChartDbClient::Instance();
      session_ = false;
      db.EndSession(0, nullptr);
    }
    int code = kExitFailed;
    std::string cause, function;
    std::uint32_t errorId = 0;
    try {
      std::rethrow_exception(failure);
    } catch (const GrxError& e) {
      code = e.exitCode();
      cause = e.what();
      function = e.function();
      errorId = e.errorId();
    } catch (const ChartDbError& e) {
      cause = e.what();
    } catch (const OpenData::COpenDataException& e) {
      ZEB::CObject::TraceException(e, 3);
      cause = e.GetMessage();
      const auto failed = cause.rfind(" failed");
      const auto start = cause.rfind(' ', failed == std::string::npos ? 0 : failed - 1);
      if (failed != std::string::npos && start != std::string::npos)
        function = cause.substr(start + 1, failed - start - 1);
      try {
        errorId = ChartDbClient::Instance().ErrorId(e.GetApiResult());
      } catch (const ChartDbError&) {
      }
    } catch (const ZEB::CException& e) {
      ZEB::CObject::TraceException(e, 3);
      cause = e.GetMessage();
    } catch (const std::exception& e) {
      cause = e.what();
    }
    std::string line = "grx " + std::string(spec_.name) + ": ";
    const std::string where = code == kExitUsage ? std::string() : Where();
    if (!where.empty()) line += where + ": ";
    line += cause;
    if (!function.empty() || errorId != 0) {
      char id[32];
      std::snprintf(id, sizeof id, "0x%05X", errorId);
      line += " (" + (function.empty() ? std::string() : function + ", ") + "error id " + id + ")";
    }
    std::cerr << EscapeControls(line) << "\n";
    return code;
  }

  const CommandSpec& spec_;
  Options& options_;
  std::map<std::string, Parsed>& parsed_;
  Invocation invocation_;
  std::vector<std::string> objects_;
  bool demo_ = false;
  bool session_ = false;
};

// The library as loaded, with the version its file carries.
std::string LibraryVersion() {
  std::string why;
  const platform::Module library = platform::Module::Load("w5lhlpax", &why);
  if (!library) return "w5lhlpax: not loaded (" + why + ")";
  const auto version = platform::ReadFileVersion(library.path(), &why);
  if (!version) return "w5lhlpax: no version (" + why + ")";
  const std::string file = std::filesystem::path(library.path()).filename().string();
  std::string text = "w5lhlpax " + version->version + " (" + file;
  if (!version->originalName.empty() && version->originalName != file) text += ", " + version->originalName;
  if (!version->description.empty()) text += ": " + version->description;
  return text + ")";
}

std::string Versions() {
  std::string text = "grx " GRX_VERSION "\nlibrary: " + LibraryVersion() + "\n";
  try {
    ChartDbClient& db = ChartDbClient::Instance();
    char software[kGlVersionSize] = {0};
    db.gl_SoftwareVersionGet(software);
    text += "chart database: Q3JDBMOX (the stand-in of grx " GRX_VERSION "), chart software " + std::string(software) +
            "\n";
  } catch (const ChartDbError& e) {
    text += "chart database: not loaded (" + std::string(e.what()) + ")\n";
  }
  return text;
}

} // namespace

int RunGrx(int argc, char** argv) {
  CLI::App app{"grx - the chart-engineering helper library from the command line"};
  app.require_subcommand(0, 1);
  Options options;
  bool append = false, version = false;
  for (const GlobalOption& g : GlobalOptions()) {
    const std::string name = g.name;
    if (name == "--json") app.add_flag(name, options.json, g.help);
    if (name == "--project") app.add_option(name, options.project, g.help);
    if (name == "--answer") app.add_option(name, options.answers, g.help)->delimiter(',');
    if (name == "--window") app.add_option(name, options.windows, g.help);
    if (name == "--call-trace") app.add_option(name, options.callTrace, g.help);
    if (name == "--trace") app.add_option(name, options.trace, g.help);
    if (name == "--trace-level") app.add_option(name, options.traceLevel, g.help)->check(CLI::Range(0, 9));
    if (name == "--append") app.add_flag(name, append, g.help);
    if (name == "--version") app.add_flag(name, version, g.help);
  }
  std::map<const CommandSpec*, std::map<std::string, Parsed>> parsed;
  std::map<const CommandSpec*, CLI::App*> registered;
  std::map<std::string, CLI::App*> parents;
  for (const CommandSpec& spec : Commands()) {
    std::string name = spec.name;
    CLI::App* parent = &app;
    if (const auto blank = name.find(' '); blank != std::string::npos) {
      const std::string group = name.substr(0, blank);
      if (!parents.count(group)) {
        parents[group] = app.add_subcommand(group, "work with " + group + " files");
        parents[group]->require_subcommand(1);
      }
      parent = parents[group];
      name = name.substr(blank + 1);
    }
    CLI::App* command = parent->add_subcommand(name, spec.summary);
    registered[&spec] = command;
    auto& storage = parsed[&spec];
    for (const ArgSpec& arg : spec.args) {
      Parsed& p = storage[KeyOf(arg)];
      const std::string help =
          arg.kind == ArgKind::Choice ? std::string(arg.help) + ": " + WordsOf(arg.choices) : std::string(arg.help);
      if (arg.kind == ArgKind::Flag) {
        command->add_flag(arg.name, p.flagCount, help);
        continue;
      }
      CLI::Option* option = command->add_option(arg.name, p.values, help);
      option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
      if (!arg.repeatable || !IsPositional(arg)) option->expected(1)->allow_extra_args(false);
      if (arg.required) option->required();
    }
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help answers 0; any other parse failure is a usage error.
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }
  if (version) {
    std::cout << Versions();
    CloseChartDatabase();
    return kExitOk;
  }
  const CommandSpec* chosen = nullptr;
  for (const auto& [spec, command] : registered) {
    if (command->parsed()) chosen = spec;
  }
  if (!chosen) {
    std::cerr << app.help();
    return kExitUsage;
  }
  // Each run starts its trace files anew unless told to add to them.
  for (const std::string* file : {&options.callTrace, &options.trace}) {
    std::error_code ignored;
    if (!file->empty() && !append) std::filesystem::remove(*file, ignored);
  }
  if (!options.callTrace.empty()) {
    // The logging library reads where to write before the first traced call.
    platform::SetEnvironmentValue("ES_LOG_FILE", options.callTrace.c_str());
  }
  // The object trace goes to the trace library once a sink is installed.
  std::unique_ptr<ZEB::CTrace> objectTrace;
  if (!options.trace.empty()) {
    platform::SetEnvironmentValue("W5TRACE_FILE", options.trace.c_str());
    platform::SetEnvironmentValue("W5TRACE_LEVEL", std::to_string(options.traceLevel).c_str());
    objectTrace = std::make_unique<ZEB::CTrace>(22, 7, "grx");
    ZEB::CObject::SetTrace(objectTrace.get());
    std::string command;
    for (int i = 1; i < argc; ++i) command += std::string(i > 1 ? " " : "") + argv[i];
    ZEB::CObject::Trace(1, "grx", "run: grx %s", platform::Utf8ToAnsiLossy(command).c_str());
  }
  const int code = Frame(*chosen, options, parsed[chosen]).Run();
  // The project is closed before the program ends, not left to the chart database's teardown.
  CloseChartDatabase();
  if (objectTrace) ZEB::CObject::ResetTrace();
  return code;
}

} // namespace grx::cli
