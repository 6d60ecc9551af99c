// The help viewer's command on Win32: through the command interpreter, started without waiting.
#include "platform/help_viewer_system.h"
#include "platform/process.h"

namespace grx::platform::system {

std::string QuotedArgument(const std::string& text) {
  return "\"" + text + "\"";
}

bool StartInBackground(const std::string& commandLine) {
  return RunCommand("start \"\" /b " + commandLine + " >NUL 2>&1").exitCode == 0;
}

} // namespace grx::platform::system
