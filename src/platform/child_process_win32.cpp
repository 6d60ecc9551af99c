// Started programs on Win32: CreateProcessA without inherited handles and with the default error
// mode, GetExitCodeProcess, TerminateProcess, CloseHandle.
#include "platform/child_process.h"
#include "platform/file_search.h"

// After the platform's header: windows.h names STILL_ACTIVE a macro (of the same value).
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace grx::platform {
namespace {

// Tells a started program who started it: its starter may end before the program looks.
constexpr const char* kStarterVariable = "GRX_STARTER_PID";

// The environment of the process with the starter's identifier in it, as CreateProcessA takes it.
std::vector<char> EnvironmentBlock() {
  std::vector<char> block;
  const std::string prefix = std::string(kStarterVariable) + "=";
  if (char* strings = GetEnvironmentStringsA()) {
    for (const char* entry = strings; *entry; entry += std::char_traits<char>::length(entry) + 1) {
      const std::string text = entry;
      if (text.rfind(prefix, 0) == 0) continue;
      block.insert(block.end(), text.begin(), text.end());
      block.push_back('\0');
    }
    FreeEnvironmentStringsA(strings);
  }
  const std::string starter = prefix + std::to_string(GetCurrentProcessId());
  block.insert(block.end(), starter.begin(), starter.end());
  block.push_back('\0');
  block.push_back('\0');
  return block;
}

// The standard streams of a started program. It inherits no handle of ours: a program that shares
// our console finds the console by itself. When one of our streams is no console (a file, a pipe),
// the program is told the null device for it instead, so that no one reading our output waits for
// it; the system hands a started program the standard handles it is told, inheritance or not.
class StartStreams {
public:
  StartStreams() {
    const DWORD which[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (int i = 0; i < 3; ++i) {
      HANDLE own = GetStdHandle(which[i]);
      DWORD mode = 0;
      if (own && own != INVALID_HANDLE_VALUE && GetConsoleMode(own, &mode)) {
        streams_[i] = own;
        continue;
      }
      if (null_ == INVALID_HANDLE_VALUE) {
        null_ = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
      }
      streams_[i] = null_;
      redirected_ = true;
    }
  }
  StartStreams(const StartStreams&) = delete;
  StartStreams& operator=(const StartStreams&) = delete;
  ~StartStreams() {
    if (null_ != INVALID_HANDLE_VALUE) CloseHandle(null_);
  }
  void Into(STARTUPINFOA& startup) const {
    if (!redirected_) return; // consoles all: the program shares ours
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = streams_[0];
    startup.hStdOutput = streams_[1];
    startup.hStdError = streams_[2];
  }

private:
  HANDLE null_ = INVALID_HANDLE_VALUE;
  HANDLE streams_[3] = {nullptr, nullptr, nullptr};
  bool redirected_ = false;
};

} // namespace

ChildProcess::ChildProcess(ChildProcess&& other) noexcept {
  *this = std::move(other);
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Close();
    id_ = other.id_;
    handle_ = other.handle_;
    ended_ = other.ended_;
    exitCode_ = other.exitCode_;
    other.id_ = 0;
    other.handle_ = nullptr;
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  Close();
}

ChildProcess ChildProcess::Start(const std::string& program, const std::string& commandLine) {
  ChildProcess child;
  const std::string file = NativePath(program);
  std::string line = "\"" + file + "\"" + (commandLine.empty() ? "" : " " + commandLine);
  std::vector<char> environment = EnvironmentBlock();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  const StartStreams streams;
  streams.Into(startup);
  PROCESS_INFORMATION info{};
  // No handle is inherited, and the program gets the system's default error mode, not ours.
  if (!CreateProcessA(file.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, environment.data(),
                      nullptr, &startup, &info)) {
    return child;
  }
  CloseHandle(info.hThread);
  child.id_ = info.dwProcessId;
  child.handle_ = info.hProcess;
  return child;
}

std::uint32_t ChildProcess::ExitCode() {
  if (!Valid() || !handle_) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  if (!GetExitCodeProcess(static_cast<HANDLE>(handle_), &code)) return STILL_ACTIVE;
  return code;
}

bool ChildProcess::Terminate(std::uint32_t exitCode) {
  if (!Valid() || ExitCode() != STILL_ACTIVE) return false;
  if (!TerminateProcess(static_cast<HANDLE>(handle_), exitCode)) return false;
  WaitForSingleObject(static_cast<HANDLE>(handle_), INFINITE);
  return true;
}

bool ChildProcess::Wait(std::uint32_t milliseconds) {
  return Valid() && WaitForSingleObject(static_cast<HANDLE>(handle_), milliseconds) == WAIT_OBJECT_0;
}

void ChildProcess::Close() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  id_ = 0;
  ended_ = false;
  exitCode_ = STILL_ACTIVE;
}

bool ProcessIsRunning(std::uint32_t processId) {
  if (processId == 0) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

std::uint32_t StarterProcessId() {
  if (const char* starter = std::getenv(kStarterVariable); starter && *starter) {
    return static_cast<std::uint32_t>(std::strtoul(starter, nullptr, 10));
  }
  const DWORD self = GetCurrentProcessId();
  DWORD parent = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == self) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return parent;
}

} // namespace grx::platform
