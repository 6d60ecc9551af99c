// The local time of day, to the millisecond (GetLocalTime).
#pragma once

namespace grx::platform {

struct LocalTime {
  int year = 0;  // e.g. 2026
  int month = 0; // 1-12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

LocalTime LocalTimeNow();

} // namespace grx::platform
