// One frame of the game screen at its busiest, drawn by the real things: sixteen tiles gliding, a
// word in the word row, a hit's sparks and number, the monster lunging, the fires, the message.
// The real program runs on the headless platform over the generated data.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "game/game.h"
#include "platform/headless_platform.h"
#include "ui/game/game_screen.h"
#include "ui/menus/screen_title.h"

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

// Keeps the fight as busy as it gets: a full rack, glides, a word up, hits and lunges.
void StirTheFight(int frame) {
  Game& game = *GetApp()->game;
  game.monster.record.life = game.monster.record.maxLife = 100000;
  game.monster.record.attackDelayMin = game.monster.record.attackDelayMax = 300;
  game.player.record.life = game.player.record.maxLife = 100000;
  while (game.board.CountAll() < BoardModel::kSlots) game.AddRewardTile();
  if (frame % 12 == 0) {
    game.board.ReturnAllToLower();
    game.JumbleTiles();
    for (int slot = 0; slot < 4; ++slot) game.board.MoveTileToUpper(game.board.Lower(slot));
  }
  if (frame % 24 == 0) {
    // A hit with its number and a full shower of sparks, without spending the tiles.
    GetApp()->gameView.MonsterHit(120, Game::kMaxSparks);
    GetApp()->gameView.ShowMessage("You cast the spell \"wizardry\".\r\nYou hit the Skeleton for 120 damage.",
                                   MessageStyle::Highlighted, 0);
  }
}

void BM_GameFrameAtItsBusiest(benchmark::State& state) {
  if (!fs::exists(fs::path(SPELLCRYPT_BIN_DIR) / "graphics" / "game_screen.jpg")) {
    state.SkipWithError("the generated pictures are not built");
    return;
  }
  Folder folder;
  HeadlessPlatform platform;
  platform.SetProgramDir(folder.path.string());
  int started = 0;
  int busy = 0;
  platform.onPresent = [&](int frame) {
    if (started == 0 && GetGlobals().TopScreen() != nullptr) {
      GetApp()->game->NewRun(1);
      BuildGameScreen(nullptr);
      started = frame;
      return;
    }
    if (started == 0) return;
    Game& game = *GetApp()->game;
    if (!game.monster.IsActive() || game.board.pendingDeal > 0 || game.busy) return;
    for (Screen* s : GetGlobals().screens) s->Close();  // no quick tips in the way
    GetGlobals().inputLevel = 0;
    StirTheFight(busy);
    // Let the sparks and glides build up before measuring.
    if (++busy > 60 && !state.KeepRunning()) platform.PostQuit(0);
  };
  RunGame(platform, "-WINDOWED -NOSOUND");
}
BENCHMARK(BM_GameFrameAtItsBusiest)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace spellcrypt
