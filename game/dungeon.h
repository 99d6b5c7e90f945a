// The dungeons around the fights: each dungeon's background and fires, the 25 lines of the
// progress map, and the book's pages with what each grants.
#pragma once

#include <string>

#include "base/random.h"

namespace spellcrypt {

struct RunRecord;

struct FirePlace {
  int x, y;  // relative to the background's top left
};

struct DungeonScenery {
  int background = 5;  // "graphics\dungeon\dungeon%d.bmp"
  std::string image;
  std::string fireImage;  // empty: no fires
  FirePlace fires[2] = {};
  int fireCount = 0;
};

// The background of dungeon D, with its fires.
DungeonScenery SceneryFor(int dungeon);

struct MapPiece {
  int x, y;            // where "graphics\map\map_line_%02d.bmp" (index + 1) stands
  int arrowX, arrowY;  // the point the hovering arrow marks
};
constexpr int kMapPieces = 25;
const MapPiece& MapPieceAt(int index);
std::string MapPieceImage(int index);

enum BookPage : int { kPageLife = 0, kPagePower = 1, kPageBonus = 2, kPageLuck = 3, kPageCurse = 4 };
constexpr int kBookPages = 5;
// "graphics/book/page_life.jpg" and so on.
std::string BookPageImage(int page);

// Two different pages (left, right) from a scrambled walk of 0..5 whose 0 comes last.
void ChooseBookPages(SimpleGenerator& random, int& left, int& right);

// Grants the page and answers the text the message box shows.
std::string ApplyPage(RunRecord& run, int page);

}  // namespace spellcrypt
