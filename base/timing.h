// Frame timing: the millisecond clock, the per-frame delta and the interval timer.
#pragma once

#include <cstdint>

#include "base/clock.h"

namespace spellcrypt {

// Milliseconds since the clock was set up, from the high-resolution counter when there is one
// (the tick count can advance in steps of 10 ms, which would give many frames a delta of 0).
class MillisecondClock {
 public:
  explicit MillisecondClock(IClock& source);
  // 32-bit and wrapping.
  std::uint32_t Ms() const;
  IClock& Source() const { return *source_; }

 private:
  IClock* source_;
  bool useCounter_ = false;
  std::int64_t counterFrequency_ = 0;
  std::int64_t counterBase_ = 0;
  std::uint32_t tickBase_ = 0;
};

// The per-frame timing fields: now and the previous frame's time, the delta in 13.3 ms steps
// (capped at 8) and the frames counted in the last second.
struct FrameTiming {
  std::uint32_t now = 0;
  std::uint32_t lastTime = 0;
  float delta = 0.0f;
  float fps = 0.0f;
  int framesThisSecond = 0;
  std::uint32_t nextFpsTime = 0;
  bool resetDelta = true;

  // The first step of every frame. Waits (yielding) until the clock has moved at least 1 ms, so a
  // frame never sees a zero interval.
  void UpdateFrameTiming(const MillisecondClock& clock);
  // Makes the next frame's delta 0, after slow work or a pause.
  void ResetDelta() { resetDelta = true; }
};

// Every-N-milliseconds and after-N-milliseconds decisions, against the clock's tick count.
class IntervalTimer {
 public:
  explicit IntervalTimer(IClock& clock);
  IntervalTimer(IClock& clock, std::uint32_t intervalMs);
  void SetInterval(std::uint32_t ms);
  void Restart();
  // False until the interval has passed; then true, and the next interval begins now.
  bool IsReady();
  std::uint32_t Interval() const { return interval_; }
  // How long the current interval has run.
  std::uint32_t Elapsed() const { return clock_->TickCount() - start_; }

 private:
  IClock* clock_;
  std::uint32_t start_;
  std::uint32_t interval_ = 0xFFFFFFFFu;
};

}  // namespace spellcrypt
