// A ranking as the high-score screen shows it: numbered rows of name, dungeon, bosses and score.
#pragma once

#include "scores/ranking.h"

namespace spellcrypt {

class BitmapFont;
class CDXSurface;

class CWordRank : public CRanking {
 public:
  // The place number is centred in a 300-pixel box from columnX, so on x = 57.
  const int columnX = -93;
  const int firstRowY = 107;
  const int rowHeight = 19;

  // Sorts, then draws the first maxRows records with the small font, one row each from firstRowY.
  void DrawRows(CDXSurface* dest, BitmapFont& smallFont, int maxRows);
  // Whether (x, y) lies on one of the rows drawn (at most kTablePlaces): its 0-based index and the
  // top left of its highlight. A y on the line between two rows belongs to the upper one.
  bool RowAt(int x, int y, int& index, int& highlightX, int& highlightY) const;

  static constexpr int kHighlightLeft = 47;
  static constexpr int kHighlightRight = 547;
};

}  // namespace spellcrypt
