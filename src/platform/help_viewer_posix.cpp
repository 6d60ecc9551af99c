// The help viewers on POSIX systems: the viewer command of the settings ("ViewerCommand" under
// Software\Halvorn\ORBIX\2.0\General\Help), started through the shell without waiting for it.
#include "platform/help_viewer.h"

#include <string>

#include "platform/com_lite.h"
#include "platform/file_search.h"
#include "platform/process.h"
#include "platform/settings_store.h"
#include "platform/thread_id.h"

namespace grx::platform {
namespace {

// The file quoted for the shell.
std::string QuotedArgument(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// False when the command cannot be started; it is not waited for.
bool StartInBackground(const std::string& commandLine) {
  return RunCommand("(" + commandLine + ") >/dev/null 2>&1 &").exitCode == 0;
}

// Why the last HTML Help call of the thread failed; empty when it did not.
thread_local std::string lastHtmlHelpError;

// Shows the file with the viewer command, or says where it is. Empty on success, else why not.
std::string Show(const char* file, std::uintptr_t context) {
  if (!file || !*file) return "No help file was named.";
  const std::string path = NativePath(file);
  if (!FindFirstFile(path)) return "The help file " + path + " cannot be found.";
  const auto command =
      ReadSettingText(Hive::LocalMachine, "Software\\Halvorn\\ORBIX\\2.0\\General\\Help", "ViewerCommand");
  if (!command || command->empty()) {
    OutputDebugText(("help: " + path + " (context " + std::to_string(context) + ")\n").c_str());
    return {};
  }
  std::string line = *command;
  for (std::size_t at; (at = line.find("%1")) != std::string::npos;) line.replace(at, 2, QuotedArgument(path));
  for (std::size_t at; (at = line.find("%2")) != std::string::npos;) line.replace(at, 2, std::to_string(context));
  if (!StartInBackground(line)) return "The help viewer cannot be started.";
  return {};
}

} // namespace

bool WinHelpA(WindowHandle, const char* file, std::uint32_t, std::uintptr_t data) {
  return Show(file, data).empty();
}

WindowHandle HtmlHelpA(WindowHandle caller, const char* file, std::uint32_t command, std::uintptr_t data) {
  if (command == HH_GET_LAST_ERROR) {
    auto* record = reinterpret_cast<HH_LAST_ERROR*>(data);
    if (!record) return kNoWindow;
    record->hr = lastHtmlHelpError.empty() ? S_OK : E_FAIL;
    record->description = lastHtmlHelpError.empty() ? nullptr : SysAllocString(Widen(lastHtmlHelpError).c_str());
    return kNoWindow;
  }
  lastHtmlHelpError = Show(file, command == HH_HELP_CONTEXT ? data : 0);
  return lastHtmlHelpError.empty() ? caller : kNoWindow;
}

} // namespace grx::platform
