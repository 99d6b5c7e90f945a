// The generator's file writers, read back through the game's own decoders: bitmaps of every row
// padding, keyed bitmaps that never key a drawn pixel, and JFIF pictures close to what was drawn.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gfx/dx_screen.h"
#include "gfx/dx_surface.h"
#include "platform/headless_platform.h"
#include "tools/art/image_write.h"

namespace spellcrypt::art {
namespace {

namespace fs = std::filesystem;

class Writers : public ::testing::Test {
 protected:
  std::string Temp(const std::string& name) { return (fs::temp_directory_path() / ("art_" + name)).string(); }
  HeadlessPlatform platform_;
  CDXScreen screen_{platform_};
};

std::uint32_t Pattern(int x, int y) {
  return static_cast<std::uint32_t>(((x * 53 + y * 7) & 0xFF) << 16 | ((x * 11 + y * 97) & 0xFF) << 8 |
                                    ((x + y * 29) & 0xFF));
}

TEST_F(Writers, BitmapsOfEveryRowPaddingReadBackExactly) {
  for (int w : {1, 2, 3, 5, 64}) {
    for (int h : {1, 3}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
      Canvas c(w, h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) c.Set(x, y, Rgb(Pattern(x, y)));
      const std::string path = Temp("rows.bmp");
      ASSERT_TRUE(WriteBmp(path, Flatten(c, {0, 0, 0, 1})));
      EXPECT_EQ(fs::file_size(path), 54u + static_cast<std::uintmax_t>((w * 3 + 3) / 4 * 4 * h));
      CDXSurface s;
      ASSERT_EQ(s.Create(&screen_, path.c_str()), 1);
      ASSERT_EQ(s.Width(), w);
      ASSERT_EQ(s.Height(), h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(s.ReadPixel(x, y), Pattern(x, y)) << x << "," << y;
      fs::remove(path);
    }
  }
}

TEST_F(Writers, KeyedBitmapsKeyOnlyWhatIsNotDrawn) {
  Canvas c(4, 1);
  c.Set(0, 0, {0.2, 0.4, 0.6, 0.49});  // mostly uncovered: becomes the key
  c.Set(1, 0, {0.2, 0.4, 0.6, 0.5});   // half covered: keeps its colour
  c.Set(2, 0, {1.0, 0.0, 1.0, 1.0});   // drawn in the key's own colour: must not vanish
  // pixel 3 never drawn
  const DXImage img = Keyed(c, 0xFF00FF);
  auto px = [&](int x) { return img.pixels.at(static_cast<std::size_t>(x)); };
  EXPECT_EQ(px(0), 0xFF00FFu);
  // Half-covered pixels keep their colour, within the rounding of the premultiplied canvas.
  EXPECT_NEAR(static_cast<int>(px(1) >> 16), 0x33, 2);
  EXPECT_NEAR(static_cast<int>((px(1) >> 8) & 0xFF), 0x66, 2);
  EXPECT_NEAR(static_cast<int>(px(1) & 0xFF), 0x99, 2);
  EXPECT_NE(px(2), 0xFF00FFu);
  EXPECT_EQ(px(2) & 0xFFFF00u, 0xFF0000u) << "the drawn pixel stays magenta to the eye";
  EXPECT_EQ(px(3), 0xFF00FFu);
}

TEST_F(Writers, JpegPicturesCarryJfifAndKeepTheirColours) {
  Canvas c(48, 24);
  c.Fill(Rgb(0x8040C0));
  for (int x = 0; x < 48; ++x) c.Set(x, 12, Rgb(0xF0E0B0));  // a thin light line, as on gold trim
  const std::string path = Temp("flat.jpg");
  ASSERT_TRUE(WriteJpeg(path, Flatten(c, {0, 0, 0, 1}), 95));
  std::ifstream in(path, std::ios::binary);
  char head[10] = {};
  in.read(head, 10);
  EXPECT_EQ(std::string(head + 6, 4), "JFIF");
  CDXSurface s;
  ASSERT_EQ(s.Create(&screen_, path.c_str()), 1);
  ASSERT_EQ(s.Width(), 48);
  ASSERT_EQ(s.Height(), 24);
  auto near = [](std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
      if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
        return false;
    return true;
  };
  EXPECT_TRUE(near(s.ReadPixel(5, 3), 0x8040C0, 3));
  EXPECT_TRUE(near(s.ReadPixel(30, 12), 0xF0E0B0, 12)) << "full-resolution colour keeps thin lines";
  fs::remove(path);
}

}  // namespace
}  // namespace spellcrypt::art
