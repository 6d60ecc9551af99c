#include "work_notice.h"

#include <chrono>
#include <cstdio>

namespace grx::cli {

WorkNotice::WorkNotice(std::string command, bool shown) : command_(std::move(command)) {
  if (shown) thread_ = std::thread([this] { Run(); });
}

WorkNotice::~WorkNotice() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard guard(lock_);
    finished_ = true;
  }
  done_.notify_all();
  thread_.join();
}

void WorkNotice::Run() {
  using namespace std::chrono_literals;
  std::unique_lock guard(lock_);
  int seconds = 0;
  // Written through the C stream: the terminal's own, beside the command's converted output.
  while (!done_.wait_for(guard, 1s, [this] { return finished_; })) {
    std::fprintf(stderr, "\rgrx %s: working ... %d s", command_.c_str(), ++seconds);
    std::fflush(stderr);
  }
  if (seconds > 0) {
    std::fprintf(stderr, "\r\x1b[K");
    std::fflush(stderr);
  }
}

} // namespace grx::cli
