// The running process on Win32.
#include <windows.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/process.h"

namespace grx::platform {

std::uint32_t CurrentProcessId() {
  return GetCurrentProcessId();
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
  return _isatty(_fileno(stdin)) != 0;
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

} // namespace grx::platform
