// Failures that end a grx command with a message and an exit code.
#pragma once

#include <stdexcept>
#include <string>

namespace grx::cli {

// kExitCheckFailed: grx check could not run (the value of a usage error, as compilers have it).
enum ExitCode : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitCheckFailed = 2 };

class GrxError : public std::runtime_error {
public:
  explicit GrxError(const std::string& what, int exitCode = kExitFailure)
      : std::runtime_error(what), exitCode_(exitCode) {}
  int exitCode() const { return exitCode_; }

private:
  int exitCode_;
};

} // namespace grx::cli
