// The tile board of the game screen, the thing named "board": it shows the rules' tiles as tile
// things, steps the board's rules each frame, and takes the keys and the reward and book messages.
#pragma once

#include <map>

#include "game/board_tile.h"
#include "game/game_events.h"
#include "ui/framework/thing.h"

namespace spellcrypt {

class CTile;

class CTileBoard : public CThing {
 public:
  CTileBoard();
  // Its tiles go with it.
  ~CTileBoard() override;

  void Update() override;
  void HandleInput(int type, const InputEvent* event) override;
  // MsgRewardTile and MsgBookFound.
  void HandleMessage(const Message& message) override;

  // The rules' tile events.
  void AddTile(const BoardTile& tile, TileArrival arrival);
  void MoveTile(const BoardTile& tile, float speed);
  void RetireTile(int tileId, const TileExit& exit);
  void DropTile(int tileId);
  CTile* TileFor(int tileId) const;
  const std::map<int, CTile*>& Tiles() const { return tiles_; }

 private:
  bool Playing() const;
  std::map<int, CTile*> tiles_;
};

// The thing named "board"; null (and "Couldn't find tile board object" in the log) without one.
CTileBoard* FindTileBoard();

}  // namespace spellcrypt
