// The running process on Win32.
#include <windows.h>
#include <io.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/process.h"

namespace grx::platform {

std::uint32_t CurrentProcessId() {
  return GetCurrentProcessId();
}

std::uint64_t PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

std::string ExecutableFile() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

void SetEnvironmentValue(const std::string& name, const std::string& value) {
  _putenv_s(name.c_str(), value.c_str());
  SetEnvironmentVariableA(name.c_str(), value.c_str());
}

void RemoveEnvironmentValue(const std::string& name) {
  _putenv_s(name.c_str(), "");
  SetEnvironmentVariableA(name.c_str(), nullptr);
}

bool StandardInputIsTerminal() {
  // Where a pipe stands for a terminal with typed text (ScopedStandardInput), it says so.
  return _isatty(_fileno(stdin)) != 0 || EnvironmentValue("GRX_TYPED_TERMINAL") == std::optional<std::string>("1");
}

bool StandardErrorIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}

void WriteStandardError(const std::string& text) {
  std::cerr.flush();
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool TypedLineWaiting() {
  if (std::cin.rdbuf()->in_avail() > 0) return true;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD available = 0;
  if (PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) return available > 0;
  return WaitForSingleObject(input, 0) == WAIT_OBJECT_0 && GetFileType(input) != FILE_TYPE_CHAR;
}

CommandResult RunCommand(const std::string& commandLine, bool withErrors) {
  CommandResult result;
  FILE* pipe = _popen((withErrors ? commandLine + " 2>&1" : commandLine).c_str(), "rb");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  result.exitCode = _pclose(pipe);
  return result;
}

namespace {

// One argument of a command line as the C runtime splits it again: quoted when it holds blanks or
// quotes (or is empty), with the backslashes before a quote doubled.
std::string CommandLineWord(const std::string& text) {
  if (!text.empty() && text.find_first_of(" \t\n\v\"") == std::string::npos) return text;
  std::string word = "\"";
  std::size_t backslashes = 0;
  for (const char c : text) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    word.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    word += c;
  }
  word.append(backslashes * 2, '\\');
  return word + "\"";
}

// A handle closed when it goes.
struct OwnedHandle {
  HANDLE handle = nullptr;
  OwnedHandle() = default;
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { Reset(); }
  void Reset() {
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = nullptr;
  }
};

} // namespace

CommandResult RunProgram(const std::string& program, const std::vector<std::string>& arguments, bool withErrors) {
  CommandResult result;
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  OwnedHandle reading, writing, input, errors;
  if (!CreatePipe(&reading.handle, &writing.handle, &inherited, 0)) return result;
  SetHandleInformation(reading.handle, HANDLE_FLAG_INHERIT, 0);
  // The standard streams of the runtime (which a test may have put elsewhere), as handles the
  // program inherits; the null device where there is none.
  const auto inheritable = [](int stream, OwnedHandle& copy) {
    const auto own = reinterpret_cast<HANDLE>(_get_osfhandle(stream));
    if (own == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy.handle, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
      SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
      copy.handle = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, 0, nullptr);
    }
  };
  inheritable(_fileno(stdin), input);
  if (!withErrors) inheritable(_fileno(stderr), errors);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.handle;
  startup.hStdOutput = writing.handle;
  startup.hStdError = withErrors ? writing.handle : errors.handle;
  std::string line = CommandLineWord(program);
  for (const std::string& argument : arguments) line += " " + CommandLineWord(argument);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
    return result;
  }
  OwnedHandle process, thread;
  process.handle = started.hProcess;
  thread.handle = started.hThread;
  writing.Reset(); // the pipe ends when the program (and what it started) lets its end go
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(reading.handle, buffer, sizeof buffer, &n, nullptr) && n > 0) result.output.append(buffer, n);
  WaitForSingleObject(process.handle, INFINITE);
  DWORD exitCode = 0;
  if (GetExitCodeProcess(process.handle, &exitCode)) result.exitCode = static_cast<int>(exitCode);
  return result;
}

} // namespace grx::platform
