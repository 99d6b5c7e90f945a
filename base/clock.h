// The clocks the game reads: a high-resolution counter, a millisecond tick count and the local
// calendar time. The platform back ends implement this; tests drive a virtual one.
#pragma once

#include <cstdint>

namespace spellcrypt {

// Local calendar time, broken down (for the log's time stamps and the summary's date).
struct LocalTime {
  int year = 2000;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 0;  // 0 = Sunday
  int hour = 0;     // 0..23
  int minute = 0;
  int second = 0;
};

class IClock {
 public:
  virtual ~IClock() = default;
  // High-resolution counter and its frequency (counts per second); frequency 0 means none.
  virtual std::int64_t Counter() = 0;
  virtual std::int64_t CounterFrequency() = 0;
  // Millisecond tick count, 32-bit and wrapping.
  virtual std::uint32_t TickCount() = 0;
  // Sleep for ms milliseconds; 0 yields the processor.
  virtual void Sleep(std::uint32_t ms) = 0;
  virtual LocalTime Now() = 0;
  // Seconds since 1970.
  virtual std::int64_t UnixTime() = 0;
};

}  // namespace spellcrypt
