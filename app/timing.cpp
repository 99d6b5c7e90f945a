// Frame timing over the platform's clocks.
#include "app/timing.h"

#include "app/globals.h"
#include "platform/platform.h"

namespace spellcrypt {

void InitClock() {
  ClockState& clock = GetGlobals().clock;
  if (clock.clockReady) return;
  IPlatform& platform = *GetGlobals().platform;
  const std::int64_t frequency = platform.CounterFrequency();
  if (frequency > 0) {
    clock.useCounter = true;
    clock.counterFrequency = frequency;
    clock.counterBase = platform.Counter();
  } else {
    clock.tickBase = platform.TickCount();
  }
  clock.clockReady = true;
}

std::uint32_t ClockMs() {
  CGlobals& g = GetGlobals();
  if (!g.clock.clockReady) InitClock();
  if (g.clock.useCounter) {
    const std::int64_t elapsed = g.platform->Counter() - g.clock.counterBase;
    return static_cast<std::uint32_t>(elapsed * 1000 / g.clock.counterFrequency);
  }
  return g.platform->TickCount() - g.clock.tickBase;
}

std::uint32_t TickCount() {
  if (!GlobalsExist()) return 0;
  return GetGlobals().platform->TickCount();
}

void UpdateFrameTiming() {
  CGlobals& g = GetGlobals();
  g.lastTime = g.now;
  for (;;) {
    g.now = ClockMs();
    if (g.lastTime == 0) g.lastTime = g.now;
    if (g.now - g.lastTime >= 1) break;
    g.platform->Sleep(0);
  }
  g.delta = static_cast<float>(g.now - g.lastTime) / 13.3f;
  if (g.delta > 8.0f) g.delta = 8.0f;
  if (g.resetDelta) {
    g.resetDelta = false;
    g.delta = 0.0f;
  }
  g.framesThisSecond += 1;
  if (g.nextFpsTime < g.now) {
    g.fps = static_cast<float>(g.framesThisSecond);
    g.framesThisSecond = 0;
    g.nextFpsTime = g.now + 1000;
  }
}

void ResetDelta() { GetGlobals().resetDelta = true; }

IntervalTimer::IntervalTimer() : start_(TickCount()) {}

IntervalTimer::IntervalTimer(std::uint32_t intervalMs) : start_(TickCount()), interval_(intervalMs) {}

void IntervalTimer::SetInterval(std::uint32_t ms) {
  interval_ = ms;
  start_ = TickCount();
}

void IntervalTimer::Restart() { start_ = TickCount(); }

bool IntervalTimer::IsReady() {
  if (start_ + interval_ > TickCount()) return false;
  start_ = TickCount();
  return true;
}

}  // namespace spellcrypt
