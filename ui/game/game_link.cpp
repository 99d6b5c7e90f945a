// Links from the widgets to the game's rules, each through the tile board when one is needed.
#include "ui/game/game_link.h"

#include "game/game.h"
#include "ui/game/game_view.h"
#include "ui/game/tile.h"
#include "ui/game/tile_board.h"

namespace spellcrypt {

namespace {

// The rules, when a board is on screen to act on.
Game* GameOnBoard() {
  if (FindTileBoard() == nullptr) return nullptr;
  return TheGame();
}

}  // namespace

void BoardTileClicked(CTile* tile) {
  if (Game* game = GameOnBoard()) game->ClickTile(tile->tileId);
}

void BoardSubmitWord() {
  if (Game* game = GameOnBoard()) game->CastWord();
}

void BoardJumble() {
  if (Game* game = GameOnBoard()) game->JumbleTiles();
}

void BoardRecallLastWord() {
  if (Game* game = GameOnBoard()) game->RecallLastWord();
}

bool BoardCanLeave() {
  Game* game = GameOnBoard();
  return game != nullptr && game->CanLeave();
}

bool PlayerTotalScore(long long& score) {
  Game* game = TheGame();
  score = game != nullptr ? game->player.record.score : 0;
  return game != nullptr;
}

}  // namespace spellcrypt
