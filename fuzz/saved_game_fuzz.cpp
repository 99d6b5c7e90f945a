// Saved games: any bytes are read without reading outside them, and are refused whole or loaded.
// A loaded game writes itself out again as a save that loads to the same bytes; put on the board
// and played for a few seconds, every save it could then make loads too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/keys.h"
#include "base/random.h"
#include "fuzz/fuzz_support.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "words/dictionary.h"
#include "words/letter_table.h"

using namespace spellcrypt;

namespace {

class StillClock : public IClock {
 public:
  std::int64_t Counter() override { return static_cast<std::int64_t>(ms) * 1000; }
  std::int64_t CounterFrequency() override { return 1000000; }
  std::uint32_t TickCount() override { return ms; }
  void Sleep(std::uint32_t n) override { ms += n; }
  LocalTime Now() override { return LocalTime{}; }
  std::int64_t UnixTime() override { return 0; }
  std::uint32_t ms = 1000;
};

class QuietEvents : public IgnoredGameEvents {
 public:
  void Post(GameMessage message, std::uint32_t, int) override {
    if (message == GameMessage::RewardTile) ++rewards;
    if (message == GameMessage::PlayerEvent || message == GameMessage::BookFound) ++encounters;
  }
  int rewards = 0;
  int encounters = 0;
};

Dictionary& Words() {
  static Dictionary* words = [] {
    auto* d = new Dictionary();
    d->LoadText(
        "aelst least\naelst slate\naelst stale\naenost atones\naet ate\naet eat\naet tea\nenost notes\n"
        "enost stone\nenot note\nenot tone\n",
        "fuzz words");
    return d;
  }();
  return *words;
}

void CheckSaveLoads(const Game& game) {
  SavedGame read;
  std::string why;
  if (DecodeSavedGame(EncodeSavedGame(game.Snapshot()), read, why) != SaveCheck::Ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  const std::vector<std::uint8_t> bytes(data, data + size);
  SavedGame saved;
  std::string why;
  if (DecodeSavedGame(bytes, saved, why) != SaveCheck::Ok) return 0;
  const std::vector<std::uint8_t> again = EncodeSavedGame(saved);
  SavedGame reread;
  if (DecodeSavedGame(again, reread, why) != SaveCheck::Ok || EncodeSavedGame(reread) != again)
    __builtin_trap();

  StillClock clock;
  MersenneTwister mersenne;
  SimpleGenerator simple;
  mersenne.Seed(static_cast<std::uint32_t>(size));
  simple.Seed(static_cast<std::uint32_t>(size));
  QuietEvents events;
  static const LetterTable letters = [] {
    LetterTable t;
    for (int i = 0; i < 26; ++i) t.SetWeight(i, 10 + i);
    return t;
  }();
  Game game(GameServices{clock, mersenne, simple, Words(), letters, events});
  game.NewRun(1);
  game.Restore(saved);
  if (game.CanLeave()) CheckSaveLoads(game);

  // A few seconds of play: keys typed, reward tiles and encounters as they are asked for.
  const char keys[] = "stoneSTONE\r\b\b note\r\t2 ~eat\r8\x1b";
  for (int frame = 0; frame < 200; ++frame) {
    clock.ms += 40;
    game.UpdateBoard();
    game.UpdateMonster(3.0f);
    game.UpdatePlayer(3.0f);
    if (frame % 4 == 0) {
      const char c = keys[(frame / 4) % (sizeof keys - 1)];
      if (c == '\x1b') {
        game.HandleKeyDown(vk::Escape);
      } else {
        game.HandleChar(static_cast<unsigned char>(c));
      }
    }
    if (events.rewards > 0) {
      --events.rewards;
      game.AddRewardTile();
    }
    if (events.encounters > 0 && frame % 10 == 0) {
      --events.encounters;
      game.NextEncounter();
    }
    if (game.CanLeave()) CheckSaveLoads(game);
  }
  return 0;
}
