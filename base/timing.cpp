// Frame timing over a clock source.
#include "base/timing.h"

namespace spellcrypt {

MillisecondClock::MillisecondClock(IClock& source) : source_(&source) {
  const std::int64_t frequency = source.CounterFrequency();
  if (frequency > 0) {
    useCounter_ = true;
    counterFrequency_ = frequency;
    counterBase_ = source.Counter();
  } else {
    tickBase_ = source.TickCount();
  }
}

std::uint32_t MillisecondClock::Ms() const {
  if (useCounter_) {
    const std::int64_t elapsed = source_->Counter() - counterBase_;
    return static_cast<std::uint32_t>(elapsed * 1000 / counterFrequency_);
  }
  return source_->TickCount() - tickBase_;
}

void FrameTiming::UpdateFrameTiming(const MillisecondClock& clock) {
  lastTime = now;
  for (;;) {
    now = clock.Ms();
    if (lastTime == 0) lastTime = now;
    if (now - lastTime >= 1) break;
    clock.Source().Sleep(0);
  }
  delta = static_cast<float>(now - lastTime) / 13.3f;
  if (delta > 8.0f) delta = 8.0f;
  if (resetDelta) {
    resetDelta = false;
    delta = 0.0f;
  }
  framesThisSecond += 1;
  if (nextFpsTime < now) {
    fps = static_cast<float>(framesThisSecond);
    framesThisSecond = 0;
    nextFpsTime = now + 1000;
  }
}

IntervalTimer::IntervalTimer(IClock& clock) : clock_(&clock), start_(clock.TickCount()) {}

IntervalTimer::IntervalTimer(IClock& clock, std::uint32_t intervalMs)
    : clock_(&clock), start_(clock.TickCount()), interval_(intervalMs) {}

void IntervalTimer::SetInterval(std::uint32_t ms) {
  interval_ = ms;
  start_ = clock_->TickCount();
}

void IntervalTimer::Restart() { start_ = clock_->TickCount(); }

bool IntervalTimer::IsReady() {
  if (start_ + interval_ > clock_->TickCount()) return false;
  start_ = clock_->TickCount();
  return true;
}

}  // namespace spellcrypt
