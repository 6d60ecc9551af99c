// Programs started by the library (CreateProcessA, GetExitCodeProcess, TerminateProcess,
// CloseHandle). A ChildProcess owns the handle of one started program; letting it go closes the
// handle and leaves the program running, as closing a process handle does.
//
// Programs are started without inherited handles: on this platform the child shares the
// terminal of its starter (as a console program shares the console) and gets /dev/null for any
// standard stream that is not a terminal, so it never holds a starter's pipe open.
#pragma once

#include <cstdint>
#include <string>

namespace grx::platform {

// The exit code of a program that is still running.
inline constexpr std::uint32_t STILL_ACTIVE = 259;

class ChildProcess {
public:
  ChildProcess() = default;
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Starts the program file (backslashes are mapped to the OS's separator; "X.exe" starts "X"
  // where only that exists) with a command line of blank-separated arguments ("quoted" ones may
  // hold blanks). An invalid ChildProcess when the program cannot be started.
  static ChildProcess Start(const std::string& program, const std::string& commandLine);

  bool Valid() const { return id_ != 0; }
  explicit operator bool() const { return Valid(); }
  std::uint32_t Id() const { return id_; }
  // STILL_ACTIVE while the program runs, afterwards its exit code (the signal number plus 128 for
  // a program ended by a signal); STILL_ACTIVE for an invalid process as well.
  std::uint32_t ExitCode();
  // Ends the program with that exit code; false when it had already ended.
  bool Terminate(std::uint32_t exitCode);
  // Waits up to the given time for the program to end; true when it has ended.
  bool Wait(std::uint32_t milliseconds);
  // Closes the handle; the program goes on running.
  void Close();

private:
  std::uint32_t id_ = 0;
  void* handle_ = nullptr; // the process handle where the OS has one
  bool ended_ = false;
  std::uint32_t exitCode_ = STILL_ACTIVE;
};

// Whether a program of that process identifier is running (an ended program whose starter has
// not yet collected it counts as ended).
bool ProcessIsRunning(std::uint32_t processId);
// The identifier of the process that started this one through ChildProcess::Start (its parent
// for a process started otherwise), also when that process has ended since.
std::uint32_t StarterProcessId();

} // namespace grx::platform
