// The running process: its identifier, its environment, and commands run through the shell with
// their output (for the front end and the tests, which start programs of their own).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace grx::platform {

std::uint32_t CurrentProcessId();
// The full path of the program file of the running process (GetModuleFileName of no module).
std::string ExecutableFile();

// The most memory the process has held resident so far, in bytes (its peak working set).
std::uint64_t PeakResidentBytes();

// The environment of the process (SetEnvironmentVariableA).
std::optional<std::string> EnvironmentValue(const std::string& name);
void SetEnvironmentValue(const std::string& name, const std::string& value);
void RemoveEnvironmentValue(const std::string& name);

// An environment value set (or, for no value, removed) while it lives; the value before (or its
// absence) comes back after.
class ScopedEnvironmentValue {
public:
  ScopedEnvironmentValue(std::string name, const std::optional<std::string>& value)
      : name_(std::move(name)), previous_(EnvironmentValue(name_)) {
    if (value) {
      SetEnvironmentValue(name_, *value);
    } else {
      RemoveEnvironmentValue(name_);
    }
  }
  ~ScopedEnvironmentValue() {
    if (previous_) {
      SetEnvironmentValue(name_, *previous_);
    } else {
      RemoveEnvironmentValue(name_);
    }
  }
  ScopedEnvironmentValue(const ScopedEnvironmentValue&) = delete;
  ScopedEnvironmentValue& operator=(const ScopedEnvironmentValue&) = delete;

private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Whether the process's standard input, standard error is a terminal.
bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();
// Writes a text (UTF-8, for the terminal) to standard error at once, after what the process's
// standard error stream holds: past any conversion a program has put on that stream.
void WriteStandardError(const std::string& text);
// Whether a whole line has been typed on standard input and waits to be read (never blocks).
bool TypedLineWaiting();

struct CommandResult {
  int exitCode = -1; // -1 when the command could not be run or did not exit normally
  std::string output;
};
// Runs a command line through the shell; its standard output, and its standard error with it
// unless withErrors is false (then it goes where the caller's goes).
CommandResult RunCommand(const std::string& commandLine, bool withErrors = true);
// Runs a program file with its arguments, each handed over as it stands (whatever runs it: no
// word splitting, quoting or redirection); it shares the caller's standard input and inherits the
// environment. Its output as RunCommand gives it, byte for byte.
CommandResult RunProgram(const std::string& program, const std::vector<std::string>& arguments, bool withErrors = true);

} // namespace grx::platform
