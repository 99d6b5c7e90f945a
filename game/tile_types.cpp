// The tile type table.
#include "game/tile_types.h"

namespace spellcrypt {

namespace {
constexpr TileType kTypes[kTileTypeCount] = {
    {0, 1, 0, 2},   // normal letter
    {0, 1, 1, 1},   // bonus letter, no effect
    {10, 1, 1, 0},  // +10
    {0, 1, 1, 3},   // oracle
    {0, 2, 1, 4},   // x2
    {0, 1, 1, 5},   // health potion
    {0, 1, 1, 6},   // refresh
    {0, 3, 1, 7},   // x3
    {20, 1, 1, 8},  // +20
    {0, 2, 0, 9},   // dealt X, x2
    {0, 3, 0, 10},  // dealt Q or Z, x3
};
}  // namespace

const TileType& TileTypeOf(int type) { return kTypes[IsTileType(type) ? type : 0]; }

bool IsSpecialTile(int type) { return TileTypeOf(type).consumed != 0; }

}  // namespace spellcrypt
