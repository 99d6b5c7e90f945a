// The clock of play.
#include "app/play_clock.h"

#include "app/globals.h"
#include "platform/platform.h"

namespace spellcrypt {

std::uint32_t PlayClock::TickCount() { return GetGlobals().gameNow; }
std::int64_t PlayClock::Counter() { return GetGlobals().platform->Counter(); }
std::int64_t PlayClock::CounterFrequency() { return GetGlobals().platform->CounterFrequency(); }
void PlayClock::Sleep(std::uint32_t ms) { GetGlobals().platform->Sleep(ms); }
LocalTime PlayClock::Now() { return static_cast<IClock*>(GetGlobals().platform)->Now(); }
std::int64_t PlayClock::UnixTime() { return GetGlobals().platform->UnixTime(); }

IClock& PlayTime() {
  static PlayClock clock;
  return clock;
}

}  // namespace spellcrypt
