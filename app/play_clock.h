// The clock of play: the game's timers (the monster's attacks, the deal, the pauses between a
// fight's moments) and its delayed messages (reward tiles, books, tips) read it. It stands still
// while the game is paused: a popup over the board (the pause, help, a question, a tip, the
// options) or the window in the background. So a pause neither costs the player a blow saved up
// meanwhile nor lets a reward land behind a popup; everything resumes where it stopped.
#pragma once

#include <cstdint>

#include "base/clock.h"

namespace spellcrypt {

class PlayClock : public IClock {
 public:
  // The milliseconds of play: the global game time (CGlobals::gameNow).
  std::uint32_t TickCount() override;
  // The rest is the platform's.
  std::int64_t Counter() override;
  std::int64_t CounterFrequency() override;
  void Sleep(std::uint32_t ms) override;
  LocalTime Now() override;
  std::int64_t UnixTime() override;
};

// A clock of play for timers that live outside the game's rules (the message line's display time).
IClock& PlayTime();

}  // namespace spellcrypt
