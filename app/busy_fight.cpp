// The busiest fight.
#include "app/busy_fight.h"

#include "app/app.h"
#include "app/globals.h"
#include "game/board.h"
#include "game/game.h"
#include "ui/framework/screen.h"
#include "ui/game/game_screen.h"
#include "ui/game/game_view.h"

namespace spellcrypt {

namespace {

constexpr int kWarmUpFrames = 60;

void Stir(int frame) {
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

}  // namespace

bool BusyFight::Step() {
  if (!GlobalsExist() || GetApp() == nullptr || GetApp()->game == nullptr) return false;
  CGlobals& g = GetGlobals();
  if (!started_) {
    if (g.TopScreen() == nullptr) return false;
    GetApp()->game->NewRun(1);
    BuildGameScreen(nullptr);
    started_ = true;
    return false;
  }
  Game& game = *GetApp()->game;
  if (!game.monster.IsActive() || game.board.pendingDeal > 0 || game.busy) return false;
  for (Screen* s : g.screens) s->Close();  // no quick tips in the way
  g.inputLevel = 0;
  Stir(busyFrames_);
  return ++busyFrames_ > kWarmUpFrames;
}

}  // namespace spellcrypt
