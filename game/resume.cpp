// A game in progress as a saved game, and a saved game put back on the board.
#include "base/log.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "platform/files.h"

namespace spellcrypt {

SavedGame Game::Snapshot() const {
  SavedGame saved;
  for (const BoardTile* t : board.TilesInSaveOrder()) saved.tiles.push_back(*t);
  saved.weights = player.weights;
  saved.usedWords = player.usedWords;
  saved.treasures = player.treasures;
  saved.strongWords = player.strongWords;
  saved.run = player.record;
  saved.run.mode = mode_;
  saved.monster = monster.record;
  saved.monster.savedState = monster.state;
  return saved;
}

void Game::Restore(const SavedGame& saved) {
  busy = entering = cleared = false;
  board.Clear();
  player.carried.clear();
  for (BoardTile tile : saved.tiles) {
    tile.id = 0;  // a fresh id for this game
    board.PlaceTile(tile, TileArrival::Placed);
  }
  player.weights = saved.weights;
  player.usedWords = saved.usedWords;
  player.treasures = saved.treasures;
  player.strongWords = saved.strongWords;
  player.record = saved.run;
  player.dead = false;
  player.warning = false;
  mode_ = saved.run.mode;
  monster.Reset();
  monster.record = saved.monster;
  monster.state = saved.monster.savedState;
  // A fight whose monster picture is gone cannot be shown: the next monster comes instead.
  if (monster.state == kMonsterFighting && !FileExists(monster.record.image)) monster.state = kMonsterNone;

  player.bar.Show(static_cast<float>(player.record.life) / static_cast<float>(player.record.maxLife));
  events_.PlayerBars(true);
  if (monster.state == kMonsterFighting) {
    ShowMonster(true);
  } else {
    SpawnNext();
  }
  UpdateSubmitButton();
  CheckLowLife();
  busy = false;
  board.pendingDeal = 0;
}

}  // namespace spellcrypt
