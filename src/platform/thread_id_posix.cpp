#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>

#include "platform/thread_id.h"

namespace grx::platform {

std::uint32_t CurrentThreadId() {
  return static_cast<std::uint32_t>(::syscall(SYS_gettid));
}

void OutputDebugText(const char* text) {
  if (text) std::fputs(text, stderr);
}

} // namespace grx::platform
