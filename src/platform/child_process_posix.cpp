// Started programs on POSIX systems: fork and exec, with a close-on-exec pipe that carries an
// exec failure back to the starter.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/child_process.h"
#include "platform/file_search.h"

extern char** environ;

namespace grx::platform {
namespace {

// Tells a started program who started it: its parent may end before the program looks.
constexpr const char* kStarterVariable = "GRX_STARTER_PID";

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

bool IsExecutable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string ProgramFile(const std::string& program) {
  const std::string native = NativePath(program);
  const std::string suffix = ".exe";
  if (!IsExecutable(native) && native.size() > suffix.size() &&
      native.compare(native.size() - suffix.size(), suffix.size(), suffix) == 0) {
    const std::string bare = native.substr(0, native.size() - suffix.size());
    if (IsExecutable(bare)) return bare;
  }
  return native;
}

// In the child: standard streams that are not terminals read from and write to /dev/null, every
// other descriptor but keep is closed.
void DetachStreams(int keep) {
  const int null = ::open("/dev/null", O_RDWR);
  for (int fd = 0; fd <= 2; ++fd) {
    if (!::isatty(fd) && null >= 0) ::dup2(null, fd);
  }
  const long limit = ::sysconf(_SC_OPEN_MAX);
  for (int fd = 3; fd < (limit > 0 ? limit : 1024); ++fd) {
    if (fd != keep) ::close(fd);
  }
}

std::uint32_t StatusCode(int status) {
  if (WIFEXITED(status)) return static_cast<std::uint32_t>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<std::uint32_t>(WTERMSIG(status));
  return 1;
}

} // namespace

ChildProcess::ChildProcess(ChildProcess&& other) noexcept {
  *this = std::move(other);
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Close();
    id_ = other.id_;
    ended_ = other.ended_;
    exitCode_ = other.exitCode_;
    other.id_ = 0;
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  Close();
}

ChildProcess ChildProcess::Start(const std::string& program, const std::string& commandLine) {
  ChildProcess child;
  const std::string file = ProgramFile(program);
  std::vector<std::string> arguments = SplitCommandLine(commandLine);
  arguments.insert(arguments.begin(), file);
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment;
  const std::string starterPrefix = std::string(kStarterVariable) + "=";
  for (char** e = environ; e && *e; ++e) {
    if (std::string(*e).rfind(starterPrefix, 0) != 0) environment.emplace_back(*e);
  }
  environment.push_back(starterPrefix + std::to_string(::getpid()));
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return child;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return child;
  }
  if (pid == 0) {
    ::close(report[0]);
    // Above the standard streams, which are replaced next.
    const int reportFd = report[1] > 2 ? report[1] : ::fcntl(report[1], F_DUPFD_CLOEXEC, 3);
    DetachStreams(reportFd);
    ::execve(file.c_str(), argv.data(), envp.data());
    const int error = errno;
    if (reportFd >= 0) (void)!::write(reportFd, &error, sizeof error);
    ::_exit(127);
  }
  ::close(report[1]);
  int error = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  if (got > 0) { // exec failed: collect the child
    int status = 0;
    ::waitpid(pid, &status, 0);
    return child;
  }
  child.id_ = static_cast<std::uint32_t>(pid);
  return child;
}

std::uint32_t ChildProcess::ExitCode() {
  if (!Valid()) return STILL_ACTIVE;
  if (!ended_) {
    int status = 0;
    const pid_t done = ::waitpid(static_cast<pid_t>(id_), &status, WNOHANG);
    if (done == static_cast<pid_t>(id_)) {
      ended_ = true;
      exitCode_ = StatusCode(status);
    } else if (done < 0) { // collected elsewhere: it has ended, its code is unknown
      ended_ = true;
      exitCode_ = 1;
    }
  }
  return ended_ ? exitCode_ : STILL_ACTIVE;
}

bool ChildProcess::Terminate(std::uint32_t exitCode) {
  if (!Valid() || ExitCode() != STILL_ACTIVE) return false;
  if (::kill(static_cast<pid_t>(id_), SIGKILL) != 0) return false;
  int status = 0;
  while (::waitpid(static_cast<pid_t>(id_), &status, 0) < 0 && errno == EINTR) {
  }
  ended_ = true;
  exitCode_ = exitCode;
  return true;
}

bool ChildProcess::Wait(std::uint32_t milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (ExitCode() == STILL_ACTIVE) {
    if (!Valid() || std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void ChildProcess::Close() {
  if (Valid()) ExitCode(); // collects a program that has ended
  id_ = 0;
  ended_ = false;
  exitCode_ = STILL_ACTIVE;
}

bool ProcessIsRunning(std::uint32_t processId) {
  if (processId == 0 || ::kill(static_cast<pid_t>(processId), 0) != 0) return errno == EPERM && processId != 0;
  std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}

std::uint32_t StarterProcessId() {
  if (const char* starter = std::getenv(kStarterVariable); starter && *starter) {
    return static_cast<std::uint32_t>(std::strtoul(starter, nullptr, 10));
  }
  return static_cast<std::uint32_t>(::getppid());
}

} // namespace grx::platform
