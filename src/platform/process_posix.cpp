// The running process on POSIX systems.
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/process.h"

namespace grx::platform {

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

std::uint64_t PeakResidentBytes() {
  rusage usage{};
  if (::getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024; // kilobytes on Linux
}

std::string ExecutableFile() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

void SetEnvironmentValue(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void RemoveEnvironmentValue(const std::string& name) {
  ::unsetenv(name.c_str());
}

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) != 0;
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) != 0;
}

void WriteStandardError(const std::string& text) {
  std::cerr.flush();
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data() + written, text.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
}

bool TypedLineWaiting() {
  if (std::cin.rdbuf()->in_avail() > 0) return true;
  pollfd input{STDIN_FILENO, POLLIN, 0};
  return ::poll(&input, 1, 0) == 1 && (input.revents & POLLIN) != 0;
}

CommandResult RunCommand(const std::string& commandLine, bool withErrors) {
  CommandResult result;
  FILE* pipe = ::popen((withErrors ? commandLine + " 2>&1" : commandLine).c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = ::pclose(pipe);
  result.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

namespace {

// One word for the shell, taken as it stands.
std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (const char c : text) {
    if (c == '\'') {
      word += "'\\''";
    } else {
      word += c;
    }
  }
  return word + "'";
}

} // namespace

CommandResult RunProgram(const std::string& program, const std::vector<std::string>& arguments, bool withErrors) {
  std::string line = ShellWord(program);
  for (const std::string& argument : arguments) line += " " + ShellWord(argument);
  return RunCommand(line, withErrors);
}

} // namespace grx::platform
