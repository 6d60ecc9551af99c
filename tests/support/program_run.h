// Programs of the build run as a person or a host starts them: the arguments written as a shell
// reads them ('single' and "double" quotes), environment values for the one run,
// the output with the line ends of a POSIX program on every platform.
#pragma once

#include <string>
#include <vector>

namespace grx::testing {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
};

// The words of a text as a POSIX shell splits them (no expansions), except that a backslash
// outside quotes escapes only a quote or a blank, so that Windows paths pass as they stand.
std::vector<std::string> ShellWords(const std::string& text);

// Runs the program (a path; ".exe" is added where the OS needs it) with the arguments split as
// above. environment holds NAME=value words set for the run, unset the names removed for it; its
// standard error goes with its output unless withErrors is false.
ProgramRun RunBuiltProgram(const std::string& program, const std::string& arguments,
                           const std::string& environment = {}, const std::vector<std::string>& unset = {},
                           bool withErrors = true);

// The folder of the running test program (where the build puts its programs).
std::string ProgramFolder();

} // namespace grx::testing
