// Whole games played by the bot through the real program on the headless platform: how many games
// a minute and how many casts a second the machine gets through, with the virtual clock running as
// fast as the frames are made.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "tests/bot/bot.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

void BM_BotGame(benchmark::State& state, int difficulty) {
  const fs::path folder = fs::temp_directory_path() / "spellcrypt-bot-bench";
  std::uint32_t seed = 1;
  int casts = 0;
  int frames = 0;
  double virtualSeconds = 0;
  double wallSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(folder);
    fs::create_directories(folder);
    if (!LinkGameData(folder.string())) {
      state.SkipWithError("the generated pictures and data are not built");
      return;
    }
    BotPlan plan;
    plan.difficulty = difficulty;
    plan.thinkMs = 1000;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const BotGame game = PlayBotGame(plan, folder.string(), seed++);
    wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    casts += game.record.casts;
    frames += game.frames;
    virtualSeconds += game.virtualMs / 1000.0;
    if (!game.record.done) state.SkipWithError("the bot did not finish its game");
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  if (wallSeconds <= 0) return;
  state.counters["games_per_min"] = static_cast<double>(state.iterations()) * 60 / wallSeconds;
  state.counters["casts_per_s"] = casts / wallSeconds;
  state.counters["frames_per_s"] = frames / wallSeconds;
  // How much faster than a player's own time the virtual clock runs.
  state.counters["virtual_x"] = virtualSeconds / wallSeconds;
}

BENCHMARK_CAPTURE(BM_BotGame, Kidmode, 0)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();
BENCHMARK_CAPTURE(BM_BotGame, Wizard, 2)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace spellcrypt
