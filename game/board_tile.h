// A tile as the rules see it: its letter, type and slots, and where it stands (or is gliding to).
#pragma once

namespace spellcrypt {

struct BoardTile {
  int id = 0;  // unique for the life of the game; the screen's tile thing is found by it
  char letter = 'A';
  int lowerSlot = -1;
  int homeSlot = -1;  // the rack slot it came from when it last moved up
  int upperSlot = -1;
  int type = 0;
  float x = 0.0f;  // its place on screen, or the place it glides to
  float y = 0.0f;

  // The label drawn on the tile: the letter, or nothing for an action tile.
  char Label() const;
};

}  // namespace spellcrypt
