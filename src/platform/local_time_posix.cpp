// The local time on POSIX systems.
#include <sys/time.h>

#include <ctime>

#include "platform/local_time.h"

namespace grx::platform {

LocalTime LocalTimeNow() {
  timeval now{};
  ::gettimeofday(&now, nullptr);
  std::tm parts{};
  ::localtime_r(&now.tv_sec, &parts);
  LocalTime time;
  time.year = parts.tm_year + 1900;
  time.month = parts.tm_mon + 1;
  time.day = parts.tm_mday;
  time.hour = parts.tm_hour;
  time.minute = parts.tm_min;
  time.second = parts.tm_sec;
  time.millisecond = static_cast<int>(now.tv_usec / 1000);
  return time;
}

} // namespace grx::platform
