// Drawing a ranking's rows and finding the row under the mouse.
#include "scores/word_rank.h"

#include <string>

#include "base/text_util.h"
#include "gfx/bitmap_font.h"

namespace spellcrypt {

namespace {

constexpr int kBoxWidth = 300;
constexpr int kAlignCentre = 1;
constexpr int kAlignRight = 3;
constexpr int kNameX = 100;
constexpr int kDungeonX = 143;
constexpr int kBossesX = 271;
constexpr int kScoreX = 287;  // right-aligned, so the score ends at x = 587

}  // namespace

void CWordRank::DrawRows(CDXSurface* dest, BitmapFont& smallFont, int maxRows) {
  Sort();
  for (int k = 1; k <= maxRows && k <= Count(); ++k) {
    const CScoreObject& entry = *EntryAt(k - 1);
    const int y = firstRowY + (k - 1) * rowHeight;
    smallFont.DrawInBox(columnX, y, kBoxWidth, std::to_string(k).c_str(), dest, kAlignCentre);
    smallFont.DrawAt(kNameX, y, entry.name.c_str(), dest);
    smallFont.DrawInBox(kDungeonX, y, kBoxWidth, std::to_string(entry.dungeon).c_str(), dest, kAlignCentre);
    smallFont.DrawInBox(kBossesX, y, kBoxWidth, std::to_string(entry.bosses).c_str(), dest, kAlignCentre);
    smallFont.DrawInBox(kScoreX, y, kBoxWidth, FormatThousands(entry.score, 0).c_str(), dest, kAlignRight);
  }
}

bool CWordRank::RowAt(int x, int y, int& index, int& highlightX, int& highlightY) const {
  if (x < kHighlightLeft || x > kHighlightRight) return false;
  for (int i = 0; i < Count() && i < kTablePlaces; ++i) {
    const int top = firstRowY - 1 + i * rowHeight;
    if (y >= top && y <= top + rowHeight) {
      index = i;
      highlightX = kHighlightLeft;
      highlightY = top;
      return true;
    }
  }
  return false;
}

}  // namespace spellcrypt
