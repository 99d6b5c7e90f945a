// The title screen: from the start of the program to the first presented title frame, and the
// cost of one title frame with the spiders running. Both run the real start-up on the headless
// platform over the generated data.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/game_loop.h"
#include "app/state_report.h"
#include "platform/headless_platform.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A program folder with links to the generated data, so the runs leave the build folder alone.
class ProgramFolder {
 public:
  ProgramFolder() : saved_(fs::current_path()) {
    path_ = fs::temp_directory_path() / "spellcrypt-ui-bench";
    fs::remove_all(path_);
    fs::create_directories(path_);
    const fs::path bin = SPELLCRYPT_BIN_DIR;
    for (const char* folder : {"data", "graphics", "sound"}) {
      if (fs::exists(bin / folder)) fs::create_directory_symlink(bin / folder, path_ / folder);
    }
  }
  ~ProgramFolder() {
    std::error_code ec;
    fs::current_path(saved_, ec);
    fs::remove_all(path_, ec);
  }
  std::string Path() const { return path_.string(); }
  static bool DataBuilt() {
    return fs::exists(fs::path(SPELLCRYPT_BIN_DIR) / "graphics" / "title_screen.jpg");
  }

 private:
  fs::path saved_;
  fs::path path_;
};

void BM_StartToFirstTitleFrame(benchmark::State& state) {
  if (!ProgramFolder::DataBuilt()) {
    state.SkipWithError("the generated pictures are not built");
    return;
  }
  for (auto _ : state) {
    ProgramFolder folder;
    HeadlessPlatform platform;
    platform.SetProgramDir(folder.Path());
    double seconds = 0.0;
    const Clock::time_point start = Clock::now();
    platform.onPresent = [&](int) {
      if (seconds == 0.0 && TitleOnTop()) {
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        platform.PostQuit(0);
      }
    };
    platform.SetFrameLimit(1000);
    RunGame(platform, "-WINDOWED");
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_StartToFirstTitleFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// One frame of the title (update, draw, present) once the spiders crawl in numbers.
void BM_TitleFrameWithSpiders(benchmark::State& state) {
  if (!ProgramFolder::DataBuilt()) {
    state.SkipWithError("the generated pictures are not built");
    return;
  }
  ProgramFolder folder;
  HeadlessPlatform platform;
  platform.SetProgramDir(folder.Path());
  constexpr int kWarmUpFrames = 900;  // about 14 s of game time: the spiders reach their usual number
  platform.onPresent = [&](int frame) {
    if (frame > kWarmUpFrames && !state.KeepRunning()) platform.PostQuit(0);
  };
  RunGame(platform, "-WINDOWED");
}
BENCHMARK(BM_TitleFrameWithSpiders)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace spellcrypt
