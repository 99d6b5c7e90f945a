// A letter tile, as the player sees and clicks it. The board keeps its slots and type; the tile
// draws its letter and hands clicks to the board.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CTile : public CThingSprite {
 public:
  CTile();

  // Nothing at all while a popup is open, so the rack cannot be studied while paused.
  void Draw() override;
  void HandleInput(int type, const InputEvent* event) override;

  int tileId = 0;  // the rules' tile this thing shows
  char letter = 'A';
  char label[2] = {'A', '\0'};
  int lowerSlot = -1;
  int homeSlot = -1;
  int upperSlot = -1;
  int type = 0;
};

}  // namespace spellcrypt
