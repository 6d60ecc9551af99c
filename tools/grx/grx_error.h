// Failures that end a grx command with a message and an exit code.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace grx::cli {

// grx's exit codes: 0 done, 1 a negative answer or findings, 2 a usage error, 3 the command failed
// (and changed nothing).
enum ExitCode : int { kExitOk = 0, kExitNo = 1, kExitUsage = 2, kExitFailed = 3 };

// what: what failed, naming the object or file; function and errorId: the chart-database call
// that failed and its error id, when one did.
class GrxError : public std::runtime_error {
public:
  explicit GrxError(const std::string& what, int exitCode = kExitFailed)
      : std::runtime_error(what), exitCode_(exitCode) {}
  GrxError(const std::string& what, std::string function, std::uint32_t errorId)
      : std::runtime_error(what), exitCode_(kExitFailed), function_(std::move(function)), errorId_(errorId) {}
  int exitCode() const { return exitCode_; }
  const std::string& function() const { return function_; }
  std::uint32_t errorId() const { return errorId_; }

private:
  int exitCode_;
  std::string function_;
  std::uint32_t errorId_ = 0;
};

} // namespace grx::cli
