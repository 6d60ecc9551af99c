// The help viewer's command on POSIX systems: through the shell, in the background.
#include "platform/help_viewer_system.h"
#include "platform/process.h"

namespace grx::platform::system {

std::string QuotedArgument(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool StartInBackground(const std::string& commandLine) {
  return RunCommand("(" + commandLine + ") >/dev/null 2>&1 &").exitCode == 0;
}

} // namespace grx::platform::system
