// The wall clock.
#include "platform/wall_clock.h"

#include <ctime>

namespace spellcrypt {

LocalTime LocalNow() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalTime out;
  out.year = tm.tm_year + 1900;
  out.month = tm.tm_mon + 1;
  out.day = tm.tm_mday;
  out.weekday = tm.tm_wday;
  out.hour = tm.tm_hour;
  out.minute = tm.tm_min;
  out.second = tm.tm_sec;
  return out;
}

std::int64_t UnixNow() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace spellcrypt
