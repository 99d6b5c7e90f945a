// The high-score rows: where each column is drawn, how many rows, and which row a click hits.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gfx/bitmap_font.h"
#include "gfx/dx_surface.h"
#include "scores/word_rank.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

constexpr std::uint32_t kInk = 0xFFFFFF;
constexpr std::uint32_t kPaper = 0x000000;

// The inked runs [first, last] of one pixel row.
std::vector<std::pair<int, int>> InkRuns(const CDXSurface& surface, int y) {
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < 640; ++x) {
    if (surface.ReadPixel(x, y) != kInk) continue;
    if (!runs.empty() && runs.back().second == x - 1) {
      runs.back().second = x;
    } else {
      runs.emplace_back(x, x);
    }
  }
  return runs;
}

TEST(WordRankTest, DrawsEachColumnInItsBox) {
  testing::TempDir dir;
  // Every glyph of this font is 6 pixels of ink followed by 1 of space, in rows 4 to 11.
  testing::WriteBlockFont(dir.File("font_small.bmp"), 16, kInk);
  BitmapFont font;
  ASSERT_EQ(font.Load(nullptr, dir.File("font_small.bmp").c_str(), 16, 16), 0);
  CDXSurface back;
  ASSERT_EQ(back.CreateBlank(nullptr, 640, 480), 1);
  back.Fill(kPaper);

  CWordRank rank;
  rank.AddScore(999, 2, "Al", 0);
  rank.AddScore(1234, 3, "Bea", 12);
  rank.AddScore(5, 1, "Cy", 0);
  rank.DrawRows(&back, font, 2);

  // Best first: place 1 centred on x = 57, the name from 100, dungeon and bosses centred on 293
  // and 421, "1,234" right-aligned to end at 587 (its last glyph's space included).
  const std::vector<std::pair<int, int>> first = {{53, 58},   {100, 105}, {107, 112}, {114, 119},
                                                  {289, 294}, {414, 419}, {421, 426}, {552, 557},
                                                  {559, 564}, {566, 571}, {573, 578}, {580, 585}};
  EXPECT_EQ(InkRuns(back, 107 + 8), first);
  const std::vector<std::pair<int, int>> second = {{53, 58},   {100, 105}, {107, 112}, {289, 294},
                                                   {417, 422}, {566, 571}, {573, 578}, {580, 585}};
  EXPECT_EQ(InkRuns(back, 126 + 8), second);
  // Only two rows were asked for.
  EXPECT_TRUE(InkRuns(back, 145 + 8).empty());
}

TEST(WordRankTest, RowAtFindsTheRowUnderTheMouse) {
  CWordRank rank;
  int index = -1, hx = -1, hy = -1;
  EXPECT_FALSE(rank.RowAt(300, 110, index, hx, hy));  // no rows yet

  for (int i = 0; i < 14; ++i) rank.AddScore(100 - i, 1, "p", 0);
  // y = 125 lies on both row 0 (106..125) and row 1 (125..144): the upper row wins.
  ASSERT_TRUE(rank.RowAt(47, 125, index, hx, hy));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(hx, 47);
  EXPECT_EQ(hy, 106);
  ASSERT_TRUE(rank.RowAt(547, 126, index, hx, hy));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(hy, 125);
  EXPECT_FALSE(rank.RowAt(46, 125, index, hx, hy));
  EXPECT_FALSE(rank.RowAt(548, 125, index, hx, hy));
  EXPECT_FALSE(rank.RowAt(300, 105, index, hx, hy));
  // Twelve rows at most, whatever the table holds: the last ends at y = 334.
  ASSERT_TRUE(rank.RowAt(300, 334, index, hx, hy));
  EXPECT_EQ(index, 11);
  EXPECT_FALSE(rank.RowAt(300, 335, index, hx, hy));

  // With three records the fourth row is empty space.
  CWordRank few;
  for (int i = 0; i < 3; ++i) few.AddScore(10, 1, "p", 0);
  EXPECT_TRUE(few.RowAt(300, 163, index, hx, hy));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(few.RowAt(300, 164, index, hx, hy));
}

}  // namespace
}  // namespace spellcrypt
