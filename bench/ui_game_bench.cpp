// One frame of the game screen at its busiest, drawn by the real things: sixteen tiles gliding, a
// word in the word row, a hit's sparks and number, the monster lunging, the fires, the message.
// The real program runs on the headless platform over the generated data.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/busy_fight.h"
#include "app/game_loop.h"
#include "platform/headless_platform.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

struct Folder {
  Folder() {
    path = fs::temp_directory_path() / "spellcrypt-game-bench";
    fs::remove_all(path);
    fs::create_directories(path);
    for (const char* folder : {"data", "graphics", "sound"}) {
      fs::create_directory_symlink(fs::path(SPELLCRYPT_BIN_DIR) / folder, path / folder);
    }
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  fs::path path;
};

void BM_GameFrameAtItsBusiest(benchmark::State& state) {
  if (!fs::exists(fs::path(SPELLCRYPT_BIN_DIR) / "graphics" / "game_screen.jpg")) {
    state.SkipWithError("the generated pictures are not built");
    return;
  }
  Folder folder;
  HeadlessPlatform platform;
  platform.SetProgramDir(folder.path.string());
  BusyFight fight;
  platform.onPresent = [&](int) {
    if (fight.Step() && !state.KeepRunning()) platform.PostQuit(0);
  };
  RunGame(platform, "-WINDOWED -NOSOUND");
}
BENCHMARK(BM_GameFrameAtItsBusiest)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace spellcrypt
