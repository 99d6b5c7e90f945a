// Draw modes, clipping, cell layout and sprites on memory surfaces.
#include <gtest/gtest.h>

#include "gfx/dx_blit.h"
#include "gfx/dx_screen.h"
#include "gfx/dx_sprite.h"
#include "gfx/image_writer.h"
#include "gfx_test_images.h"
#include "platform/headless_platform.h"

namespace spellcrypt {
namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kBackground = 0x204060;

// A surface filled with the test pattern.
void FillPattern(CDXSurface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) s.WritePixel(x, y, testimg::Pattern(x, y));
  }
}

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(back.CreateBlank(nullptr, 640, 480), 1);
    back.Fill(kBackground);
  }
  CDXSurface back;
};

TEST_F(DrawTest, OpaqueDrawClipsAtTheLeftEdgeAndTrimsTheSource) {
  CDXSurface cell;
  ASSERT_EQ(cell.CreateBlank(nullptr, 64, 32), 1);
  FillPattern(cell);
  EXPECT_EQ(cell.Draw(&back, -10, 5, DXRect{0, 0, 64, 32}, kDrawOpaque), 1);
  // Only source columns 10.. arrive, starting at x 0.
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 54; ++x)
      ASSERT_EQ(back.ReadPixel(x, y + 5), testimg::Pattern(x + 10, y)) << x << "," << y;
  }
  EXPECT_EQ(back.ReadPixel(54, 5), kBackground);
  EXPECT_EQ(back.ReadPixel(0, 4), kBackground);
  EXPECT_EQ(back.ReadPixel(0, 37), kBackground);
  EXPECT_EQ(back.ReadPixel(639, 5), kBackground);  // nothing wrapped around to the right edge

  // Bottom-right corner and completely outside.
  EXPECT_EQ(cell.Draw(&back, 620, 470, DXRect{0, 0, 64, 32}, kDrawOpaque), 1);
  EXPECT_EQ(back.ReadPixel(639, 479), testimg::Pattern(19, 9));
  EXPECT_EQ(cell.Draw(&back, 640, 0, DXRect{0, 0, 64, 32}, kDrawOpaque), 0);
  EXPECT_EQ(cell.Draw(&back, -64, 0, DXRect{0, 0, 64, 32}, kDrawOpaque), 0);
  EXPECT_EQ(cell.Draw(&back, 0, -1000000, DXRect{0, 0, 64, 32}, kDrawOpaque), 0);
  // Rectangles and positions at the ends of the integer range neither overflow nor draw.
  EXPECT_EQ(
      cell.Draw(&back, INT32_MAX, INT32_MAX, DXRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, kDrawOpaque),
      0);
  EXPECT_EQ(back.ReadPixel(639, 479), testimg::Pattern(19, 9));  // unchanged: the draw landed far away
  EXPECT_EQ(cell.Draw(&back, INT32_MIN, 0, DXRect{0, 0, 64, 32}, kDrawScaled, 0, 3.0f), 0);
}

TEST_F(DrawTest, ClipRectanglesOfBothSurfacesLimitTheDraw) {
  CDXSurface cell;
  ASSERT_EQ(cell.CreateBlank(nullptr, 16, 16), 1);
  FillPattern(cell);
  back.SetClipRect(DXRect{100, 100, 104, 103});
  EXPECT_EQ(cell.Draw(&back, 98, 98, DXRect{0, 0, 16, 16}, kDrawOpaque), 1);
  EXPECT_EQ(back.ReadPixel(100, 100), testimg::Pattern(2, 2));
  EXPECT_EQ(back.ReadPixel(103, 102), testimg::Pattern(5, 4));
  EXPECT_EQ(back.ReadPixel(104, 102), kBackground);
  EXPECT_EQ(back.ReadPixel(103, 103), kBackground);
  EXPECT_EQ(back.ReadPixel(99, 100), kBackground);

  // A clip rectangle reaching outside the surface is cut to it; an inverted one draws nothing.
  back.SetClipRect(DXRect{-50, -50, 5000, 5000});
  EXPECT_EQ(back.ClipRect().left, 0);
  EXPECT_EQ(back.ClipRect().bottom, 480);
  back.SetClipRect(DXRect{50, 50, 10, 10});
  EXPECT_EQ(cell.Draw(&back, 0, 0, DXRect{0, 0, 640, 480}, kDrawOpaque), 0);
  back.ResetClipRect();

  // A source rectangle reaching outside its surface is cut; the destination moves with its left edge.
  back.Fill(kBackground);
  EXPECT_EQ(cell.Draw(&back, 0, 0, DXRect{-4, 0, 20, 16}, kDrawOpaque), 1);
  EXPECT_EQ(back.ReadPixel(3, 0), kBackground);
  EXPECT_EQ(back.ReadPixel(4, 0), testimg::Pattern(0, 0));
  EXPECT_EQ(back.ReadPixel(19, 15), testimg::Pattern(15, 15));
  EXPECT_EQ(back.ReadPixel(20, 15), kBackground);
}

TEST_F(DrawTest, KeyedDrawsSkipKeyPixelsAndWithoutAKeyDrawAll) {
  CDXSurface cell;
  ASSERT_EQ(cell.CreateBlank(nullptr, 4, 1), 1);
  const std::uint32_t row[4] = {kMagenta, 0x112233, kMagenta, 0x000000};
  for (int x = 0; x < 4; ++x) cell.WritePixel(x, 0, row[x]);
  const DXRect all{0, 0, 4, 1};
  EXPECT_EQ(cell.Draw(&back, 10, 10, all, kDrawKeyed), 1);  // no key set yet: everything
  EXPECT_EQ(back.ReadPixel(10, 10), kMagenta);

  back.Fill(kBackground);
  cell.SetColorKey(0xFFFF00FF);  // only the colour bits count
  EXPECT_EQ(cell.ColorKey(), kMagenta);
  EXPECT_EQ(cell.Draw(&back, 10, 10, all, kDrawKeyed), 1);
  EXPECT_EQ(back.ReadPixel(10, 10), kBackground);
  EXPECT_EQ(back.ReadPixel(11, 10), 0x112233u);
  EXPECT_EQ(back.ReadPixel(12, 10), kBackground);
  EXPECT_EQ(back.ReadPixel(13, 10), 0u);

  // The key from the corner pixel.
  cell.WritePixel(0, 0, 0x112233);
  cell.SetColorKeyFromCorner();
  back.Fill(kBackground);
  cell.Draw(&back, 0, 0, all, kDrawKeyed);
  EXPECT_EQ(back.ReadPixel(1, 0), kBackground);
  EXPECT_EQ(back.ReadPixel(2, 0), kMagenta);

  // Keyed translucent and keyed scaled skip the key too.
  back.Fill(kBackground);
  cell.SetColorKey(kMagenta);
  cell.Draw(&back, 0, 0, all, kDrawKeyedTranslucent, 128);
  EXPECT_EQ(back.ReadPixel(2, 0), kBackground);
  EXPECT_EQ(back.ReadPixel(3, 0), BlendPixel(0, kBackground, 128));
  back.Fill(kBackground);
  cell.Draw(&back, 0, 0, all, kDrawKeyedScaled, 0, 2.0f);  // covers x -2..5, y 0 (clipped)
  EXPECT_EQ(back.ReadPixel(0, 0), 0x112233u);
  EXPECT_EQ(back.ReadPixel(1, 0), 0x112233u);
  EXPECT_EQ(back.ReadPixel(2, 0), kBackground);
  EXPECT_EQ(back.ReadPixel(4, 0), 0u);
}

TEST_F(DrawTest, TranslucencyBlendsEachChannelWithAnArithmeticShift) {
  // s + ((d - s) * t) >> 8, the shift rounding toward minus infinity when d < s.
  EXPECT_EQ(BlendPixel(0xC86432, 0x0A1E28, 0), 0xC86432u);
  EXPECT_EQ(BlendPixel(0xC86432, 0x0A1E28, 128), 0x69412Du);
  EXPECT_EQ(BlendPixel(0xC86432, 0x0A1E28, 255), 0x0A1E28u);  // floor(-189.3) is -190
  EXPECT_EQ(BlendPixel(0xC86432, 0x0A1E28, 256), 0x0A1E28u);
  EXPECT_EQ(BlendPixel(0x000000, 0xFFFFFF, 255), 0xFEFEFEu);
  EXPECT_EQ(BlendPixel(0xFFFFFF, 0x000000, 1), 0xFEFEFEu);
  // Against the formula itself over a spread of values.
  for (int s = 0; s < 256; s += 15) {
    for (int d = 0; d < 256; d += 17) {
      for (int t : {0, 1, 64, 128, 200, 255, 256}) {
        const std::uint32_t want = static_cast<std::uint32_t>(s + (((d - s) * t) >> 8));
        const std::uint32_t got =
            BlendPixel(static_cast<std::uint32_t>(s) << 8, static_cast<std::uint32_t>(d) << 8,
                       static_cast<std::uint32_t>(t));
        ASSERT_EQ(got, want << 8) << s << " " << d << " " << t;
      }
    }
  }

  CDXSurface cell;
  ASSERT_EQ(cell.CreateBlank(nullptr, 8, 8), 1);
  cell.Fill(0xC86432);
  cell.Draw(&back, 0, 0, DXRect{0, 0, 8, 8}, kDrawTranslucent, 128);
  EXPECT_EQ(back.ReadPixel(3, 3), BlendPixel(0xC86432, kBackground, 128));
  cell.Draw(&back, 8, 0, DXRect{0, 0, 8, 8}, kDrawTranslucent, 0);
  EXPECT_EQ(back.ReadPixel(9, 3), 0xC86432u);
  cell.Draw(&back, 16, 0, DXRect{0, 0, 8, 8}, kDrawTranslucent, 1000);  // above 256 counts as 256
  EXPECT_EQ(back.ReadPixel(17, 3), kBackground);
}

TEST(BlitRowsTest, EveryModeMatchesThePixelRuleAtEveryRowLength) {
  // The row loops work four pixels at a time and finish one by one; rows of every length from 1
  // to 13, at every start column, must give what the per-pixel rule gives.
  constexpr std::uint32_t kKey = 0x00FF00FF;
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    const std::uint32_t v = (seed >> 8) & 0xFFFFFF;
    return (v & 3) == 0 ? kKey : v;
  };
  for (int mode : {kDrawOpaque, kDrawKeyed, kDrawTranslucent, kDrawKeyedTranslucent}) {
    for (int t : {0, 77, 255, 256}) {
      for (int width = 1; width <= 13; ++width) {
        for (int x = 0; x < 3; ++x) {
          CDXSurface source;
          CDXSurface dest;
          ASSERT_EQ(source.CreateBlank(nullptr, 16, 2), 1);
          ASSERT_EQ(dest.CreateBlank(nullptr, 16, 2), 1);
          for (int i = 0; i < 32; ++i) {
            source.WritePixel(i % 16, i / 16, next());
            dest.WritePixel(i % 16, i / 16, next() & 0xFEFEFE);
          }
          source.SetColorKey(kKey);
          std::vector<std::uint32_t> want(32);
          for (int i = 0; i < 32; ++i) {
            const int px = i % 16;
            const int py = i / 16;
            const std::uint32_t sp = source.ReadPixel(px - x, py);
            const std::uint32_t dp = dest.ReadPixel(px, py);
            const bool inside = px >= x && px < x + width;
            const bool keyed = (mode == kDrawKeyed || mode == kDrawKeyedTranslucent) && sp == kKey;
            const bool blended = mode == kDrawTranslucent || mode == kDrawKeyedTranslucent;
            want[static_cast<std::size_t>(i)] = !inside || keyed ? dp
                                                : blended ? BlendPixel(sp, dp, static_cast<std::uint32_t>(t))
                                                          : sp;
          }
          source.Draw(&dest, x, 0, DXRect{0, 0, width, 2}, mode, t);
          for (int i = 0; i < 32; ++i) {
            ASSERT_EQ(dest.ReadPixel(i % 16, i / 16), want[static_cast<std::size_t>(i)])
                << "mode " << mode << " t " << t << " width " << width << " x " << x << " pixel " << i;
          }
        }
      }
    }
  }
}

TEST_F(DrawTest, ScaledDrawGrowsAndShrinksAboutTheCentre) {
  CDXSurface cell;
  ASSERT_EQ(cell.CreateBlank(nullptr, 64, 64), 1);
  FillPattern(cell);
  CDXSprite sprite;
  CDXTile sheet;
  ASSERT_EQ(sheet.CreateBlank(nullptr, 64, 64), 1);
  FillPattern(sheet);
  sheet.LayOutCells(0, 0, 1);
  ASSERT_EQ(sprite.Attach(&sheet), 1);
  sprite.SetPos(100, 100);
  sprite.SetScale(0.5f);
  EXPECT_EQ(sprite.Draw(&back, 0, 0, kDrawScaled), 1);
  // Exactly (116, 116) to (148, 148), every second source pixel.
  for (int y = 100; y < 164; ++y) {
    for (int x = 100; x < 164; ++x) {
      const bool inside = x >= 116 && x < 148 && y >= 116 && y < 148;
      ASSERT_EQ(back.ReadPixel(x, y) != kBackground, inside) << x << "," << y;
    }
  }
  EXPECT_EQ(back.ReadPixel(116, 116), testimg::Pattern(1, 1));
  EXPECT_EQ(back.ReadPixel(147, 147), testimg::Pattern(63, 63));

  // Scale 2 at the left edge: clipping keeps the mapping of the unclipped picture.
  back.Fill(kBackground);
  sprite.SetPos(0, 0);
  sprite.SetScale(2.0f);
  EXPECT_EQ(sprite.Draw(&back, 0, 0, kDrawScaled), 1);  // covers (-32, -32) to (96, 96)
  EXPECT_EQ(back.ReadPixel(0, 0), testimg::Pattern(16, 16));
  EXPECT_EQ(back.ReadPixel(1, 1), testimg::Pattern(16, 16));
  EXPECT_EQ(back.ReadPixel(2, 0), testimg::Pattern(17, 16));
  EXPECT_EQ(back.ReadPixel(95, 95), testimg::Pattern(63, 63));
  EXPECT_EQ(back.ReadPixel(96, 95), kBackground);

  // Zero, negative and absurd scales draw nothing or stay inside the surface.
  back.Fill(kBackground);
  sprite.SetPos(100, 100);
  for (float scale : {0.0f, -3.0f, 0.001f}) {
    sprite.SetScale(scale);
    EXPECT_EQ(sprite.Draw(&back, 0, 0, kDrawScaled), 0) << scale;
  }
  sprite.SetScale(1.0e9f);
  EXPECT_EQ(sprite.Draw(&back, 0, 0, kDrawScaled), 1);
  EXPECT_EQ(back.ReadPixel(0, 0), back.ReadPixel(639, 479));  // one source pixel covers all
}

TEST(TileTest, CellsAreLaidOutInReadingOrder) {
  CDXTile sheet;
  ASSERT_EQ(sheet.CreateBlank(nullptr, 320, 96), 1);
  sheet.LayOutCells(32, 32, 0);
  EXPECT_EQ(sheet.Columns(), 10);
  EXPECT_EQ(sheet.Rows(), 3);
  EXPECT_EQ(sheet.CellCount(), 30);
  const DXRect c9 = sheet.CellRect(9);
  EXPECT_EQ(c9.left, 288);
  EXPECT_EQ(c9.top, 0);
  const DXRect c10 = sheet.CellRect(10);
  EXPECT_EQ(c10.left, 0);
  EXPECT_EQ(c10.top, 32);
  EXPECT_EQ(c10.right, 32);
  EXPECT_EQ(c10.bottom, 64);
  EXPECT_TRUE(sheet.CellRect(30).Empty());
  EXPECT_TRUE(sheet.CellRect(-1).Empty());

  // A width that is not a multiple of the cell: the rest of each row is unused.
  sheet.LayOutCells(48, 32, 8);
  EXPECT_EQ(sheet.CellRect(5).left, 240);
  EXPECT_EQ(sheet.CellRect(6).left, 0);
  EXPECT_EQ(sheet.CellRect(6).top, 32);

  // Width and height 0: one strip of equal cells; count 0 counts as 1.
  sheet.LayOutCells(0, 0, 4);
  EXPECT_EQ(sheet.CellWidth(), 80);
  EXPECT_EQ(sheet.CellHeight(), 96);
  EXPECT_EQ(sheet.CellRect(3).left, 240);
  sheet.LayOutCells(0, 32, 0);
  EXPECT_EQ(sheet.CellCount(), 1);
  EXPECT_EQ(sheet.CellWidth(), 320);

  // More cells than the picture holds leaves none (no division by zero) or draws nothing.
  sheet.LayOutCells(0, 0, 1000);
  EXPECT_EQ(sheet.CellCount(), 0);
  CDXSurface back;
  back.CreateBlank(nullptr, 64, 64);
  EXPECT_EQ(sheet.DrawCell(&back, 0, 0, 0, kDrawOpaque), -1);
  sheet.LayOutCells(32, 32, 40);
  EXPECT_EQ(sheet.CellCount(), 40);
  EXPECT_EQ(sheet.CellRect(39).top, 96);
  EXPECT_EQ(sheet.DrawCell(&back, 0, 0, 39, kDrawOpaque), 0);
}

TEST(SpriteTest, CreateAndAttachReportTheirFailures) {
  testimg::TempDir dir;
  const std::vector<std::uint32_t> pixels = testimg::PatternPixels(40, 10);
  const std::string strip = dir.Write("strip.bmp", EncodeBmp(pixels.data(), 40, 10, 40));

  CDXSprite sprite;
  EXPECT_EQ(sprite.Create(nullptr, nullptr, 4), -1);
  EXPECT_EQ(sprite.Create(nullptr, "", 4), -1);
  EXPECT_EQ(sprite.Create(nullptr, dir.File("missing.bmp").c_str(), 4), -3);
  EXPECT_EQ(sprite.Sheet(), nullptr);
  ASSERT_EQ(sprite.Create(nullptr, strip.c_str(), 4), 1);
  EXPECT_TRUE(sprite.OwnsSheet());
  EXPECT_EQ(sprite.Sheet()->CellWidth(), 10);
  EXPECT_EQ(sprite.Create(nullptr, strip.c_str(), 4), -2);

  CDXTile shared;
  ASSERT_EQ(shared.Create(nullptr, strip.c_str(), 0, 0, 2), 1);
  EXPECT_EQ(sprite.Attach(&shared), -2);
  sprite.Release();
  EXPECT_EQ(sprite.Attach(nullptr), -1);
  ASSERT_EQ(sprite.Attach(&shared), 1);
  EXPECT_FALSE(sprite.OwnsSheet());

  // The view offset moves the picture; the frame picks the cell.
  CDXSurface back;
  back.CreateBlank(nullptr, 64, 64);
  sprite.SetPos(10, 10);
  sprite.SetFrame(1);
  EXPECT_EQ(sprite.Draw(&back, 5, 5, kDrawOpaque), 1);
  EXPECT_EQ(back.ReadPixel(5, 5), testimg::Pattern(20, 0));
  sprite.Release();  // the shared sheet is not freed: it is used below
  EXPECT_EQ(shared.Width(), 40);
  EXPECT_EQ(sprite.Draw(&back, 0, 0, kDrawOpaque), -1);
}

TEST(SurfaceTest, EmptySurfacesDrawNothingAndDebugTextStaysInsideTheClip) {
  CDXSurface empty;
  CDXSurface back;
  back.CreateBlank(nullptr, 8, 8);
  EXPECT_EQ(empty.Draw(&back, 0, 0, DXRect{0, 0, 8, 8}, kDrawOpaque), -1);
  EXPECT_EQ(back.Draw(&empty, 0, 0, DXRect{0, 0, 8, 8}, kDrawOpaque), -1);
  EXPECT_EQ(back.Draw(&back, 0, 0, DXRect{0, 0, 8, 8}, 2), -1);  // no such mode
  EXPECT_EQ(empty.Fill(0), -1);

  // Debug text draws in its colour, inside the clip rectangle, on a transparent background.
  CDXSurface text;
  ASSERT_EQ(text.CreateBlank(nullptr, 40, 10), 1);
  text.SetClipRect(DXRect{0, 0, 6, 10});
  EXPECT_EQ(text.TextXY(0, 0, 0xFF0000, "HH"), 0);
  int red = 0;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 40; ++x) {
      const std::uint32_t p = text.ReadPixel(x, y);
      ASSERT_TRUE(p == 0 || (p == 0xFF0000 && x < 6)) << x << "," << y;
      red += p != 0;
    }
  }
  EXPECT_EQ(red, 17);  // one H: two columns of 7 and a bar of 3
  EXPECT_EQ(text.ReadPixel(0, 0), 0xFF0000u);
  EXPECT_EQ(text.ReadPixel(4, 6), 0xFF0000u);
}

}  // namespace
}  // namespace spellcrypt
