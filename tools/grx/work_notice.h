// A line on standard error while a command works for longer than about a second: the command and
// the seconds so far, redrawn in place once a second and cleared when the work ends. Only on a
// terminal, and never with --json; the command's own output is not touched.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace grx::cli {

class WorkNotice {
public:
  // Shows nothing unless shown is true (standard error a terminal, no --json).
  WorkNotice(std::string command, bool shown);
  ~WorkNotice();
  WorkNotice(const WorkNotice&) = delete;
  WorkNotice& operator=(const WorkNotice&) = delete;

private:
  void Run();

  std::string command_;
  std::mutex lock_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

} // namespace grx::cli
