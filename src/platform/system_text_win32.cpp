// The OS's error texts on Win32: FormatMessageA from the system's message tables.
#include "platform/system_text.h"

// After the platform's headers: windows.h defines macros that clash with their names.
#include <windows.h>

namespace grx::platform::system {

std::optional<std::string> FormattedMessage(std::uint32_t code) {
  char buffer[1024] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
  if (length == 0) return std::nullopt;
  std::string text(buffer, length);
  // Some message tables end their texts in more than one line end: one stays.
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text + "\r\n";
}

} // namespace grx::platform::system
