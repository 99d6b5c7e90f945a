// Dungeon scenery, the map and the book.
#include "game/dungeon.h"

#include <algorithm>
#include <cstdio>

#include "base/text_util.h"
#include "game/run_record.h"
#include "game/spell.h"

namespace spellcrypt {

namespace {

constexpr MapPiece kPieces[kMapPieces] = {
    {515, 104, 520, 109}, {470, 113, 475, 131}, {425, 131, 430, 136}, {378, 131, 383, 136},
    {334, 135, 339, 146}, {292, 122, 297, 128}, {244, 100, 249, 105}, {236, 108, 242, 150},
    {189, 120, 194, 126}, {116, 93, 124, 121},  {119, 130, 164, 167}, {172, 169, 192, 209},
    {192, 217, 232, 239}, {241, 221, 300, 230}, {309, 227, 359, 279}, {362, 260, 443, 268},
    {448, 195, 481, 203}, {483, 175, 537, 185}, {542, 190, 550, 261}, {497, 268, 507, 332},
    {412, 318, 422, 328}, {325, 321, 335, 338}, {236, 340, 246, 361}, {165, 332, 175, 352},
    {118, 259, 130, 272},
};

constexpr const char* kPageNames[kBookPages] = {"life", "power", "bonus", "luck", "curse"};

}  // namespace

DungeonScenery SceneryFor(int dungeon) {
  const int n = ((dungeon % 28) + 28) % 28;
  DungeonScenery s;
  if (n <= 3) {
    s.background = 5;
  } else if (n <= 12) {
    s.background = 2 + (n - 4) / 3;  // 4..6 -> 2, 7..9 -> 3, 10..12 -> 4
  } else if (n <= 16) {
    s.background = 5;
  } else if (n <= 20) {
    s.background = 6;
  } else if (n <= 24) {
    s.background = 7;
  } else {
    s.background = 8;
  }
  char image[64];
  std::snprintf(image, sizeof image, "graphics\\dungeon\\dungeon%d.bmp", s.background);
  s.image = image;
  switch (s.background) {
    case 5:
      s.fireImage = "graphics\\dungeon\\dungeon5_fire.bmp";
      s.fires[0] = {7, 30};
      s.fires[1] = {135, 30};
      s.fireCount = 2;
      break;
    case 6:
      s.fireImage = "graphics\\dungeon\\dungeon6_fire.bmp";
      s.fires[0] = {117, 41};
      s.fireCount = 1;
      break;
    case 8:
      s.fireImage = "graphics\\dungeon\\dungeon5_fire.bmp";
      s.fires[0] = {102, 5};
      s.fireCount = 1;
      break;
    default:
      break;
  }
  return s;
}

const MapPiece& MapPieceAt(int index) { return kPieces[index >= 0 && index < kMapPieces ? index : 0]; }

std::string MapPieceImage(int index) {
  char image[64];
  std::snprintf(image, sizeof image, "graphics\\map\\map_line_%02d.bmp", index + 1);
  return image;
}

std::string BookPageImage(int page) {
  return std::string("graphics/book/page_") + kPageNames[page >= 0 && page < kBookPages ? page : 0] + ".jpg";
}

void ChooseBookPages(SimpleGenerator& random, int& left, int& right) {
  RandomSequence pages;
  pages.Start(kBookPages + 1, random);
  left = pages.Next() - 1;
  right = pages.Next() - 1;
}

std::string ApplyPage(RunRecord& run, int page) {
  char text[128];
  switch (page) {
    case kPageLife:
      run.maxLife = SaturatingAdd(run.maxLife, 5);
      run.life = SaturatingAdd(run.life, 5);
      std::snprintf(text, sizeof text, "Max life raised by 5.  (It's now %d.)", run.maxLife);
      break;
    case kPagePower:
      run.mindLevel = SaturatingAdd(run.mindLevel, 1);
      std::snprintf(text, sizeof text, "Your mind becomes stronger. (level %d)", run.mindLevel);
      break;
    case kPageBonus:
      run.bonusPages = SaturatingAdd(run.bonusPages, 1);
      run.score = std::max(0, SaturatingAdd(run.score, 25000));
      std::snprintf(text, sizeof text, "You receive 25,000 points!");
      break;
    case kPageLuck:
      run.luckLevel = SaturatingAdd(run.luckLevel, 1);
      std::snprintf(text, sizeof text, "You feel your luck improving. (level %d)", run.luckLevel);
      break;
    case kPageCurse:
      run.staffFraction += 0.05f;
      if (run.staffFraction >= 1.0f) run.staffFraction = 0.99f;
      std::snprintf(text, sizeof text, "Your staff glows crimson.\r\n(Enemy life now reduced by %d%%)",
                    static_cast<int>(run.staffFraction * 100.0f));
      break;
    default:
      return std::string();
  }
  return text;
}

}  // namespace spellcrypt
