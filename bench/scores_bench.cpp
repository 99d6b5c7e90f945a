// The end of a game's bookkeeping: building a summary, and loading and saving a full score table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "game/player_run.h"
#include "scores/game_summary.h"
#include "scores/ranking.h"

namespace spellcrypt {
namespace {

// Counts the lines as a text box would take them, without drawing or wrapping them.
class LineCounter : public ISummaryLines {
 public:
  void AddLine(const std::string& text) override { bytes += text.size() + 2; }
  void AddText(const std::string& text) override { bytes += text.size() + 2; }
  std::size_t bytes = 0;
};

PlayerRun LongRun() {
  PlayerRun run;
  run.NewRun(1);
  run.record.score = 12345678;
  run.record.totalWords = 600;
  run.record.totalLetters = 3100;
  for (int d = 1; d <= 25; ++d)
    run.treasures.Add("Dungeon " + std::to_string(d) + " cleared.\r\nYou find a shiny goblet.");
  for (int i = 0; i < 300; ++i) run.strongWords.Add("wizardry" + std::to_string(i));
  return run;
}

void BM_SummaryOfAWonGame(benchmark::State& state) {
  const PlayerRun run = LongRun();
  for (auto _ : state) {
    LineCounter lines;
    AppendGameSummary(lines, run, "Normal", "Monday, December 07 2026", false);
    benchmark::DoNotOptimize(lines.bytes);
  }
}
BENCHMARK(BM_SummaryOfAWonGame)->Unit(benchmark::kMicrosecond);

// A full table of twelve entries, each with a stored summary of a long game, saved then loaded.
void BM_ScoreTableSaveAndLoad(benchmark::State& state) {
  const std::string summary(4000, 'x');
  CRanking table;
  for (int i = 0; i < 12; ++i) table.AddScore(1000 * i, 25, "Merlin", 5, summary);
  const std::string path = (std::filesystem::temp_directory_path() / "spellcrypt_bench_scores.dat").string();
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.Save(path, CRanking::kTablePlaces));
    CRanking loaded;
    benchmark::DoNotOptimize(loaded.Load(path));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ScoreTableSaveAndLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace spellcrypt
