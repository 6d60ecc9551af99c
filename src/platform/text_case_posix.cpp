// Case-insensitive comparison on POSIX systems.
#include <strings.h>

#include <string>

#include "platform/text_case.h"

namespace grx::platform {

int CompareTextNoCase(std::string_view a, std::string_view b) {
  return ::strcasecmp(std::string(a).c_str(), std::string(b).c_str());
}

} // namespace grx::platform
