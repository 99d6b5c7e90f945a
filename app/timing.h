// Frame timing: the millisecond clock, the per-frame delta and the interval timer.
#pragma once

#include <cstdint>

namespace spellcrypt {

// Sets up the clock once; later calls do nothing.
void InitClock();
// Milliseconds since InitClock, 32-bit and wrapping.
std::uint32_t ClockMs();
// The platform's millisecond tick count (what interval timers measure against).
std::uint32_t TickCount();
// The first step of every frame: now, delta (13.3 ms units, capped at 8), fps.
void UpdateFrameTiming();
// Makes the next frame's delta 0, after slow work or a pause.
void ResetDelta();

// Every-N-milliseconds and after-N-milliseconds decisions, against the tick count.
class IntervalTimer {
 public:
  IntervalTimer();
  explicit IntervalTimer(std::uint32_t intervalMs);
  void SetInterval(std::uint32_t ms);
  void Restart();
  // False until the interval has passed; then true, and the next interval begins now.
  bool IsReady();
  std::uint32_t Interval() const { return interval_; }

 private:
  std::uint32_t start_;
  std::uint32_t interval_ = 0xFFFFFFFFu;
};

}  // namespace spellcrypt
