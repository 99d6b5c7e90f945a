// Bitmap fonts: measuring and packing the glyphs, advances, and the three ways to draw text.
#include <gtest/gtest.h>

#include <map>

#include "gfx/bitmap_font.h"
#include "gfx/image_writer.h"
#include "gfx_test_images.h"

namespace spellcrypt {
namespace {

constexpr std::uint32_t kKey = 0xFF00FF;
constexpr std::uint32_t kInk = 0xFFFFFF;
constexpr std::uint32_t kPaper = 0x102030;

// A glyph sheet of 128 cells, 320 pixels wide; ink[c] is the span of columns inked in the cell of
// character c (first character 32), over the cell's full height.
std::string WriteFontSheet(const testimg::TempDir& dir, const char* name, int cell,
                           const std::map<int, std::pair<int, int>>& ink) {
  const int columns = 320 / cell;
  const int rows = (128 + columns - 1) / columns;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(320 * rows * cell), kKey);
  for (const auto& [c, span] : ink) {
    const int index = c - 32;
    const int left = (index % columns) * cell;
    const int top = (index / columns) * cell;
    for (int y = top; y < top + cell; ++y) {
      for (int x = left + span.first; x <= left + span.second; ++x)
        px[static_cast<std::size_t>(y * 320 + x)] = kInk;
    }
  }
  const std::string path = dir.File(name);
  EXPECT_TRUE(SaveImageFile(path.c_str(), px.data(), 320, rows * cell, 320));
  return path;
}

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::map<int, std::pair<int, int>> ink = {{'A', {5, 20}}, {'B', {0, 14}}, {'|', {31, 31}}};
    for (int c = '0'; c <= '9'; ++c) ink[c] = {2, 13};
    ASSERT_EQ(
        big.Load(nullptr, WriteFontSheet(dir, "font3.bmp", 32, ink).c_str(), 32, 32, 32, 128, kPlacementAny),
        0);
    ASSERT_EQ(small.Load(nullptr, WriteFontSheet(dir, "font_small.bmp", 16, {{'0', {0, 9}}}).c_str(), 16, 16),
              0);
    ASSERT_EQ(back.CreateBlank(nullptr, 640, 480), 1);
    back.Fill(kPaper);
  }
  // Columns of row y that hold ink, from x0 to x1 exclusive.
  std::vector<int> InkColumns(int y, int x0 = 0, int x1 = 640) const {
    std::vector<int> out;
    for (int x = x0; x < x1; ++x) {
      if (back.ReadPixel(x, y) == kInk) out.push_back(x);
    }
    return out;
  }
  testimg::TempDir dir;
  BitmapFont big;
  BitmapFont small;
  CDXSurface back;
};

TEST_F(FontTest, AdvancesComeFromTheInkOfEachCell) {
  EXPECT_EQ(big.GlyphFor('A').advance, 17);  // ink in columns 5..20, plus one pixel of spacing
  EXPECT_EQ(big.GlyphFor('B').advance, 16);
  EXPECT_EQ(big.GlyphFor('|').advance, 2);  // a single column at the cell's right edge
  EXPECT_EQ(big.GlyphFor(' ').advance, 8);  // empty: a quarter of the cell
  EXPECT_EQ(small.GlyphFor(' ').advance, 4);
  EXPECT_EQ(small.GlyphFor('0').advance, 11);
  EXPECT_EQ(big.GlyphFor('\t').advance, 32);  // below the first character: the cell width
  EXPECT_EQ(big.GlyphFor(200).advance, 0);    // no glyph records past 127
  EXPECT_EQ(big.TextWidth("AB A"), 17 + 16 + 8 + 17);
  EXPECT_EQ(big.TextWidth(""), 0);
  EXPECT_EQ(big.GlyphHeight('A'), 32);
  EXPECT_EQ(small.GlyphHeight('A'), 16);
  EXPECT_EQ(big.GlyphHeight(static_cast<char>(0xE9)), 0);

  // Packing: nine 32-pixel slots a row, nineteen 16-pixel ones; codes below the first character
  // do not take a slot.
  EXPECT_EQ(big.GlyphFor(32).slot.left, 0);
  EXPECT_EQ(big.GlyphFor(40).slot.left, 256);
  EXPECT_EQ(big.GlyphFor(41).slot.left, 0);
  EXPECT_EQ(big.GlyphFor(41).slot.top, 32);
  EXPECT_EQ(small.GlyphFor(32 + 19).slot.top, 16);
  EXPECT_EQ(small.GlyphFor(32 + 18).slot.left, 288);
}

TEST_F(FontTest, DrawAtStartsEachGlyphAtItsInkAndHandlesLineFeeds) {
  EXPECT_EQ(big.DrawAt(100, 50,
                       "AB\nA\x01"
                       "A",
                       &back),
            0);
  // A: 16 ink columns from the pen; B follows 17 pixels on.
  std::vector<int> want;
  for (int x = 100; x < 116; ++x) want.push_back(x);
  for (int x = 117; x < 132; ++x) want.push_back(x);
  EXPECT_EQ(InkColumns(60), want);
  // The line feed returns to x 100, one cell height down; the control byte is not drawn but
  // moves the pen by the cell width.
  want.clear();
  for (int x = 100; x < 116; ++x) want.push_back(x);
  for (int x = 149; x < 165; ++x) want.push_back(x);
  EXPECT_EQ(InkColumns(90), want);

  // The character count limit, and bytes past 127 that draw nothing and take no room.
  back.Fill(kPaper);
  big.DrawAt(0, 0, "BBBB", &back, 2);
  EXPECT_EQ(InkColumns(5).size(), 30u);
  back.Fill(kPaper);
  big.DrawAt(0, 0,
             "B\xE9\xFF"
             "B",
             &back);
  EXPECT_EQ(InkColumns(5).back(), 16 + 14);
}

TEST_F(FontTest, DrawInBoxAlignsOrCutsTheText) {
  // Right-aligned: a 48-pixel text in a 300-pixel box at x 287 starts at 539.
  ASSERT_EQ(big.TextWidth("BBB"), 48);
  big.DrawInBox(287, 10, 300, "BBB", &back, 3);
  EXPECT_EQ(InkColumns(20).front(), 539);
  EXPECT_EQ(InkColumns(20).back(), 539 + 32 + 14);
  back.Fill(kPaper);
  big.DrawInBox(287, 10, 300, "BBB", &back, 1);  // centred: (300 - 48) / 2 = 126
  EXPECT_EQ(InkColumns(20).front(), 287 + 126);

  // A text exactly as wide as its box is drawn complete from the box's left edge.
  back.Fill(kPaper);
  big.DrawInBox(10, 10, 48, "BBB", &back, 1);
  EXPECT_EQ(InkColumns(20).front(), 10);
  EXPECT_EQ(InkColumns(20).size(), 45u);

  // Twelve digits (13 each) in a 100-pixel box: seven fit (91), the eighth would end at 104.
  back.Fill(kPaper);
  big.DrawInBox(0, 10, 100, "123456789012", &back, 1);
  EXPECT_EQ(InkColumns(20).size(), 7u * 12u);
  EXPECT_LE(InkColumns(20).back(), 100);

  // Narrow enough: line feeds are not interpreted (the byte takes a cell's width on the line).
  back.Fill(kPaper);
  big.DrawInBox(0, 100, 300, "B\nB", &back, 3);
  EXPECT_EQ(InkColumns(110).size(), 30u);
  EXPECT_TRUE(InkColumns(140).empty());
  // Too wide and right-aligned: line feeds break the line, the width count goes on.
  back.Fill(kPaper);
  big.DrawInBox(0, 100, 40, "BB\nBB", &back, 3);
  EXPECT_EQ(InkColumns(110).size(), 30u);  // "BB" is 32 wide, fits
  EXPECT_TRUE(InkColumns(140).empty());    // the count is already past 40 with the line feed
}

TEST_F(FontTest, DrawClippedKeepsInsideAndRestoresTheClip) {
  back.SetClipRect(DXRect{0, 0, 600, 400});
  EXPECT_EQ(big.DrawClipped(100, 0, "AA\nA", &back, DXRect{108, 0, 130, 480}), 0);
  const std::vector<int> columns = InkColumns(10);
  ASSERT_FALSE(columns.empty());
  EXPECT_EQ(columns.front(), 108);
  EXPECT_EQ(columns.back(), 129);
  EXPECT_TRUE(InkColumns(40).empty());  // no line feed handling
  EXPECT_EQ(back.ClipRect().right, 600);
  EXPECT_EQ(back.ClipRect().bottom, 400);
}

TEST(FontLoadTest, AFontWithoutASheetDrawsNothing) {
  testimg::TempDir dir;
  BitmapFont font;
  CDXSurface back;
  back.CreateBlank(nullptr, 64, 64);
  back.Fill(kPaper);
  EXPECT_FALSE(font.Loaded());
  EXPECT_EQ(font.TextWidth("abc"), -1);
  EXPECT_EQ(font.GlyphHeight('a'), -1);
  EXPECT_EQ(font.DrawAt(0, 0, "abc", &back), -1);
  EXPECT_EQ(font.DrawInBox(0, 0, 10, "abc", &back, 1), -1);
  EXPECT_EQ(font.DrawClipped(0, 0, "abc", &back, DXRect{0, 0, 10, 10}), -1);
  EXPECT_NE(font.Load(nullptr, dir.File("missing.bmp").c_str(), 32, 32), 0);
  EXPECT_FALSE(font.Loaded());

  // A sheet with fewer cells than characters: the missing ones are empty, nothing is read outside.
  std::vector<std::uint32_t> px(64 * 32, kKey);
  px[40] = kInk;
  const std::string path = dir.File("short.bmp");
  ASSERT_TRUE(SaveImageFile(path.c_str(), px.data(), 64, 32, 64));
  ASSERT_EQ(font.Load(nullptr, path.c_str(), 32, 32), 0);
  EXPECT_EQ(font.GlyphFor('!').advance, 2);
  EXPECT_EQ(font.GlyphFor('~').advance, 8);
  EXPECT_EQ(font.DrawAt(0, 0, "!~", &back), 0);

  // Ink in the top-left corner of the first glyph does not become the packed sheet's key.
  std::vector<std::uint32_t> corner(64 * 32, kKey);
  corner[1] = kInk;  // the sheet's corner stays the key; the glyph's first ink is beside it
  const std::string cornerPath = dir.File("corner.bmp");
  ASSERT_TRUE(SaveImageFile(cornerPath.c_str(), corner.data(), 64, 32, 64));
  ASSERT_EQ(font.Load(nullptr, cornerPath.c_str(), 32, 32, 33, 2), 0);  // '!' is the first glyph, at (0, 0)
  back.Fill(kPaper);
  font.DrawAt(10, 10, "!", &back);
  EXPECT_EQ(back.ReadPixel(10, 10), kInk);

  // Loading again replaces the sheet; a failed load leaves none.
  EXPECT_NE(font.Load(nullptr, dir.File("missing.bmp").c_str(), 32, 32), 0);
  EXPECT_FALSE(font.Loaded());
}

}  // namespace
}  // namespace spellcrypt
