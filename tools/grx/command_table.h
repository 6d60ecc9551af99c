// grx's commands, one row each: name, summary, arguments with their kinds, what the command does
// to a project and its exit codes. The command line's registration, usage texts, the man page, the
// bash completion and docs/cli.md are all made from this table; the command frame
// (command_frame.h) types every argument and opens the project as the row says before the
// command's body runs.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "chartdb/q3jdbmox_types.h"
#include "commands.h"

namespace grx::cli {

// What an argument holds. Texts reach the body in the code page; files stay as the file system
// names them; numbers are parsed whole within their range; object paths are resolved and their
// kind checked once the project is open.
enum class ArgKind {
  Flag,       // --name, no value
  Text,       // a text of the code page
  File,       // a file name
  Number,     // a whole number within [min, max]
  Choice,     // one of the words listed in choices
  Controller, // object paths by kind
  RootChart,
  Chart,
  Block,
  Variable, // a block parameter, a chart interface variable, a global variable or an element
  Task,
  Group,
  Object, // an object of any kind
};

// What a command does to the project.
enum class Access {
  None,    // opens no project
  Reads,   // opens the project read-only
  Writes,  // one session of the project: committed when the body succeeds, else rolled back
  Creates, // makes a new project file, replaced only when complete
};

struct ArgSpec {
  const char* name; // NAME: positional; --name or -o,--name: an option
  ArgKind kind;
  bool required = false;
  bool repeatable = false;
  const char* help = "";
  const char* choices = ""; // Choice: the words, separated by |
  std::int64_t min = 0;     // Number: the range
  std::int64_t max = 0;
};

class Invocation;
using CommandBody = int (*)(const Invocation&, std::ostream&);

struct CommandSpec {
  const char* name; // "trace decode": a command below another
  const char* summary;
  Access access;
  std::vector<ArgSpec> args;
  const char* exits; // what exit codes 0 and 1 mean for this command
  CommandBody body;
  const char* example = "";    // arguments of an example run on the demo project
  const char* writesWith = ""; // Writes: the options without which the command only reads
  bool long_ = false;          // may work for seconds: a notice on a terminal says it is working
};

const std::vector<CommandSpec>& Commands();
const CommandSpec* FindCommand(const std::string& name);

// The options before the command, for every command.
struct GlobalOption {
  const char* name;
  const char* value; // "" for a flag
  const char* help;
};
const std::vector<GlobalOption>& GlobalOptions();

// The arguments of one run, typed as the command's row says.
class Invocation {
public:
  Invocation(const CommandSpec& spec, const Options& options) : spec_(spec), options_(options) {}

  const CommandSpec& spec() const { return spec_; }
  const Options& options() const { return options_; }
  // Whether a flag was given, or an option or positional argument has a value.
  bool Has(const std::string& name) const;
  // The value of an argument ("" when it was not given) and every value of a repeatable one.
  const std::string& Text(const std::string& name) const;
  const std::vector<std::string>& Texts(const std::string& name) const;
  std::int64_t Number(const std::string& name, std::int64_t fallback = 0) const;
  bool DryRun() const { return Has("--dry-run"); }
  // Whether this run changes the project (a writing command, unless it only reads this time).
  bool Writes() const;

  void Set(const std::string& name, std::vector<std::string> values) { values_[name] = std::move(values); }
  void SetNumber(const std::string& name, std::int64_t value) { numbers_[name] = value; }

private:
  const CommandSpec& spec_;
  const Options& options_;
  std::map<std::string, std::vector<std::string>> values_;
  std::map<std::string, std::int64_t> numbers_;
};

// Words of the documentation made from the table.
const char* KindWord(ArgKind kind); // "controller", "root chart", ...
std::string ManPage();              // grx.1, in man(7) form
std::string BashCompletion();       // the completion script
std::string CliReference();         // docs/cli.md

} // namespace grx::cli
