// The process's code page choice lives in the module every other module shares, as the
// operating system's does.
#include "platform/code_page_system.h"

namespace grx::platform::system {

std::atomic<unsigned>& ProcessCodePage() {
  static std::atomic<unsigned> codePage{0};
  return codePage;
}

} // namespace grx::platform::system
