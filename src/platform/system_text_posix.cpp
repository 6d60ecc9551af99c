// The OS's error texts on POSIX systems: none for Win32 error codes and HRESULTs.
#include "platform/system_text.h"

namespace grx::platform::system {

std::optional<std::string> FormattedMessage(std::uint32_t) {
  return std::nullopt;
}

} // namespace grx::platform::system
