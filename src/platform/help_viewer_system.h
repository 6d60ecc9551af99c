// What the help viewers need of the OS: an argument quoted for its shell, and a command line
// started without waiting for it.
#pragma once

#include <string>

namespace grx::platform::system {

std::string QuotedArgument(const std::string& text);
// False when the command cannot be started.
bool StartInBackground(const std::string& commandLine);

} // namespace grx::platform::system
