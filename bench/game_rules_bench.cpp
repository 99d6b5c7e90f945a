// The rules of a game on the generated word list: a full dungeon of seeded casts in the model (the
// deal, the casts found with the oracle's search, reward tiles, kills, the next monster, the clear),
// reported per cast.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "tests/game_test_support.h"

namespace {

using spellcrypt::testing::GameRig;

void BM_GameDungeonPerCast(benchmark::State& state) {
  spellcrypt::Dictionary* words = spellcrypt::testing::GameWordList();
  if (words == nullptr) {
    state.SkipWithError("the generated word list has not been built");
    return;
  }
  std::uint32_t seed = 1;
  std::int64_t casts = 0;
  std::int64_t dungeons = 0;
  for (auto _ : state) {
    GameRig rig(*words, seed++);
    rig.followMap = false;
    rig.StartGame(1);
    rig.PlayUntil([&] { return !rig.events.left.empty(); }, 600000);
    casts += rig.casts;
    dungeons += rig.events.left.empty() ? 0 : 1;
  }
  state.counters["casts_per_dungeon"] =
      benchmark::Counter(static_cast<double>(casts) / static_cast<double>(state.iterations()));
  state.counters["cleared"] =
      benchmark::Counter(static_cast<double>(dungeons) / static_cast<double>(state.iterations()));
  state.counters["per_cast"] = benchmark::Counter(static_cast<double>(casts),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GameDungeonPerCast)->Unit(benchmark::kMillisecond);

}  // namespace
