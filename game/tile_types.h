// The tile types: what a tile adds to and multiplies a spell's damage by, whether casting uses it
// up, and which picture of the tile strip it shows.
#pragma once

#include <cstdint>

namespace spellcrypt {

struct TileType {
  std::uint8_t add;
  std::uint8_t mult;
  std::uint8_t consumed;  // 1: a special tile, used up when cast, kept at a dungeon's end
  std::uint8_t frame;     // picture in "graphics\tiles_new.jpg"
};

enum TileTypeIndex : int {
  kTileNormal = 0,       // a dealt letter
  kTileBonus = 1,        // a reward letter without effect
  kTilePlus10 = 2,       // +10
  kTileOracle = 3,       // action: spells the longest word the rack allows
  kTileDouble = 4,       // x2
  kTilePotion = 5,       // action: heals 5
  kTileRefresh = 6,      // action: deals a fresh set of letters
  kTileTriple = 7,       // x3
  kTilePlus20 = 8,       // +20
  kTileDealtDouble = 9,  // a dealt X
  kTileDealtTriple = 10  // a dealt Q or Z
};

constexpr int kTileTypeCount = 11;

// The type's entry; type 0's for a type outside the table.
const TileType& TileTypeOf(int type);
constexpr bool IsTileType(int type) { return type >= 0 && type < kTileTypeCount; }
// Oracle, potion and refresh: tiles without a letter.
constexpr bool IsActionTile(int type) {
  return type == kTileOracle || type == kTilePotion || type == kTileRefresh;
}
constexpr bool IsLetterTile(int type) { return !IsActionTile(type); }
bool IsSpecialTile(int type);

}  // namespace spellcrypt
