#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>

#include "platform/thread_id.h"

namespace grx::platform {

// The id is asked of the kernel once per thread: the object manager looks it up on nearly every
// call, and a system call each time costs more than the lookup itself.
std::uint32_t CurrentThreadId() {
  thread_local const auto id = static_cast<std::uint32_t>(::syscall(SYS_gettid));
  return id;
}

void OutputDebugText(const char* text) {
  if (text) std::fputs(text, stderr);
}

} // namespace grx::platform
