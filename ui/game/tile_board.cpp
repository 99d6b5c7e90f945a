// The tile board thing.
#include "ui/game/tile_board.h"

#include "app/globals.h"
#include "base/keys.h"
#include "base/log.h"
#include "game/game.h"
#include "game/tile_types.h"
#include "ui/framework/layers.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_view.h"
#include "ui/game/thing_book.h"
#include "ui/game/tile.h"
#include "ui/widgets/menu_button.h"

namespace spellcrypt {

namespace {

// Where a reward tile (and the book) comes from: the chest under the monster.
constexpr int kChestX = 106;
constexpr int kChestY = 159;
constexpr float kRewardStartScale = 0.2f;
constexpr float kRewardGrowRate = 0.01f;
constexpr float kRewardGlideSpeed = 0.08f;
constexpr float kFlyUpSpeed = 0.02f;

// A key presses one of the game screen's buttons as a click would: its command follows one click
// delay later, after the key's own character has passed (Escape would otherwise close the quit
// question in the same moment it opened).
void PressButton(const char* name) {
  if (auto* button = dynamic_cast<CMenuBut*>(GetGlobals().things->FindByName(name))) button->Press();
}

}  // namespace

CTileBoard* FindTileBoard() {
  auto* board = dynamic_cast<CTileBoard*>(GetGlobals().things->FindByName("board"));
  if (board == nullptr) Log("Couldn't find tile board object");
  return board;
}

CTileBoard::CTileBoard() {
  SetName("board");
  layer = layer::kBoard;
}

CTileBoard::~CTileBoard() {
  if (!GlobalsExist() || GetGlobals().things == nullptr) return;
  for (const auto& entry : tiles_) entry.second->dead = true;
}

bool CTileBoard::Playing() const { return !dead && level >= GetGlobals().inputLevel; }

void CTileBoard::Update() {
  Game* game = TheGame();
  if (game != nullptr && Playing()) game->UpdateBoard();
}

void CTileBoard::HandleInput(int type, const InputEvent* event) {
  Game* game = TheGame();
  if (game == nullptr || event == nullptr || !Playing()) return;
  if (type == InputChar) {
    game->HandleChar(event->key);
  } else if (type == InputKeyDown) {
    switch (game->HandleKeyDown(event->key)) {
      case BoardKey::PressHelp:
        PressButton("game_help");
        break;
      case BoardKey::PressQuit:
        PressButton("game_quit");
        break;
      case BoardKey::None:
        break;
    }
  }
}

void CTileBoard::HandleMessage(const Message& message) {
  Game* game = TheGame();
  if (game == nullptr) return;
  if (message.type == MsgRewardTile) {
    game->AddRewardTile();
  } else if (message.type == MsgBookFound) {
    GetGlobals().things->Add(new CThingBook());
  }
}

void CTileBoard::AddTile(const BoardTile& tile, TileArrival arrival) {
  auto* thing = new CTile();
  thing->tileId = tile.id;
  thing->letter = tile.letter;
  thing->label[0] = tile.Label();
  thing->type = tile.type;
  thing->lowerSlot = tile.lowerSlot;
  thing->upperSlot = tile.upperSlot;
  thing->homeSlot = tile.homeSlot;
  thing->SetFrame(TileTypeOf(tile.type).frame);
  if (arrival == TileArrival::Reward) {
    thing->SetPosition(kChestX, kChestY);
    thing->scale = kRewardStartScale;
    thing->ScaleTo(1.0f, kRewardGrowRate);
    thing->MoveTo(static_cast<int>(tile.x), static_cast<int>(tile.y), kRewardGlideSpeed, kMoveEase);
  } else {
    thing->SetPosition(tile.x, tile.y);
  }
  GetGlobals().things->Add(thing);
  tiles_[tile.id] = thing;
}

void CTileBoard::MoveTile(const BoardTile& tile, float speed) {
  CTile* thing = TileFor(tile.id);
  if (thing == nullptr) return;
  thing->lowerSlot = tile.lowerSlot;
  thing->upperSlot = tile.upperSlot;
  thing->homeSlot = tile.homeSlot;
  thing->MoveTo(static_cast<int>(tile.x), static_cast<int>(tile.y), speed > 0.0f ? speed : 0.09f, kMoveEase);
}

void CTileBoard::RetireTile(int tileId, const TileExit& exit) {
  CTile* thing = TileFor(tileId);
  if (thing == nullptr) return;
  tiles_.erase(tileId);
  thing->lowerSlot = thing->upperSlot = -1;
  if (exit.deleteAfterMs == 0) {
    thing->dead = true;
    return;
  }
  if (exit.flyUp) thing->MoveTo(static_cast<int>(thing->x), -50, kFlyUpSpeed, kMoveEase);
  if (exit.shrinkRate > 0.0f) thing->ScaleTo(exit.shrinkTo, exit.shrinkRate);
  thing->SetLife(exit.deleteAfterMs);
}

void CTileBoard::DropTile(int tileId) {
  if (CTile* thing = TileFor(tileId)) {
    thing->dead = true;
    tiles_.erase(tileId);
  }
}

CTile* CTileBoard::TileFor(int tileId) const {
  const auto it = tiles_.find(tileId);
  return it != tiles_.end() ? it->second : nullptr;
}

}  // namespace spellcrypt
