// The display on the headless back end: presenting, the frame counter, video-mode changes and
// screenshots that hold exactly the back surface.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/binary_io.h"
#include "gfx/dx_image.h"
#include "gfx/dx_screen.h"
#include "gfx/image_writer.h"
#include "gfx_test_images.h"
#include "platform/headless_platform.h"

namespace spellcrypt {
namespace {

testimg::Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return testimg::Bytes(std::istreambuf_iterator<char>(in), {});
}

// Reads back a PNG of the kind our writer makes (8-bit RGB, stored deflate blocks, filter 0).
bool ReadStoredPng(const testimg::Bytes& png, int& width, int& height, std::vector<std::uint32_t>& pixels) {
  ByteReader in(png);
  std::uint8_t signature[8];
  if (!in.Bytes(signature, 8) || signature[1] != 'P') return false;
  std::uint32_t w = 0, h = 0, length = 0;
  char type[4];
  testimg::Bytes idat;
  while (in.U32Be(length) && in.Bytes(type, 4) && length <= in.Remaining()) {
    const std::size_t body = in.Position();
    if (std::string(type, 4) == "IHDR") {
      in.U32Be(w);
      in.U32Be(h);
    } else if (std::string(type, 4) == "IDAT") {
      idat.insert(idat.end(), png.begin() + static_cast<std::ptrdiff_t>(body),
                  png.begin() + static_cast<std::ptrdiff_t>(body + length));
    }
    in.Skip(body + length + 4 - in.Position());  // the rest of the body and the CRC
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  ByteReader z(idat);
  testimg::Bytes raw;
  if (!z.Skip(2)) return false;  // the zlib header
  for (bool last = false; !last;) {
    std::uint8_t head = 0;
    std::uint16_t n = 0, notN = 0;
    if (!z.U8(head) || !z.U16(n) || !z.U16(notN) || (head & 6) != 0) return false;  // only stored blocks
    last = (head & 1) != 0;
    raw.resize(raw.size() + n);
    if (!z.Bytes(raw.data() + raw.size() - n, n)) return false;
  }
  pixels.clear();
  for (int y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * (static_cast<std::size_t>(width) * 3 + 1);
    if (raw.at(row) != 0) return false;
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + 1 + static_cast<std::size_t>(x) * 3;
      pixels.push_back(static_cast<std::uint32_t>(raw.at(at)) << 16 |
                       static_cast<std::uint32_t>(raw.at(at + 1)) << 8 | raw.at(at + 2));
    }
  }
  return true;
}

TEST(ScreenTest, FlipPresentsTheBackSurfaceAndScreenshotsMatchIt) {
  HeadlessPlatform platform;
  CDXScreen screen(platform);
  ASSERT_EQ(screen.CreateWindowed(640, 480), 0);
  CDXSurface* back = screen.GetBack();
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) back->WritePixel(x, y, testimg::Pattern(x, y));
  }
  back->TextXY(5, 5, 0xFF0000, "FPS: 60.00 - Delta: 1.00");
  EXPECT_FALSE(screen.Flip(0, 0, 0));
  ASSERT_EQ(platform.FramesPresented(), 1);
  ASSERT_EQ(platform.FrameWidth(), 640);
  EXPECT_TRUE(std::equal(platform.LastFrame().begin(), platform.LastFrame().end(), back->Pixels()));

  testimg::TempDir dir;
  const std::string png = dir.File("shot.png");
  const std::string bmp = dir.File("shot.bmp");
  ASSERT_TRUE(screen.SaveScreenshot(png.c_str()));
  ASSERT_TRUE(screen.SaveScreenshot(bmp.c_str()));
  int w = 0;
  int h = 0;
  std::vector<std::uint32_t> pixels;
  ASSERT_TRUE(ReadStoredPng(ReadFile(png), w, h, pixels));
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_EQ(pixels, platform.LastFrame());
  DXImage image;
  ASSERT_EQ(ReadImageFile(bmp.c_str(), kImageRecognise, image), 1);
  EXPECT_EQ(image.pixels, platform.LastFrame());

  CDXSurface empty;
  EXPECT_FALSE(SaveSurfaceImage(empty, dir.File("empty.png").c_str()));
}

TEST(ScreenTest, FramesAreCountedAndTheRateCanBeShown) {
  HeadlessPlatform platform;
  platform.SetFrameMs(20);  // every present moves the virtual clock 20 ms
  CDXScreen screen(platform);
  ASSERT_EQ(screen.CreateWindowed(640, 480), 0);
  for (int i = 0; i < 60; ++i) screen.Flip();
  EXPECT_EQ(screen.Fps(), 50);
  screen.GetBack()->Fill(0);
  screen.Flip(0, 0, 1);
  // "FPS = 50" at (10, 20) in the overlay colour.
  int lit = 0;
  for (int y = 20; y < 27; ++y) {
    for (int x = 10; x < 10 + 8 * 6; ++x)
      lit += platform.LastFrame()[static_cast<std::size_t>(y * 640 + x)] == 0xF0FF00u;
  }
  EXPECT_GT(lit, 40);
}

TEST(ScreenTest, VideoModeChangesKeepSurfacesAndReloadPictures) {
  HeadlessPlatform platform;
  platform.CreateMainWindow("test", 640, 480, false);
  testimg::TempDir dir;
  const std::vector<std::uint32_t> pixels = testimg::PatternPixels(16, 8);
  const std::string path = dir.Write("pic.bmp", EncodeBmp(pixels.data(), 16, 8, 16));
  {
    CDXScreen screen(platform);
    ASSERT_EQ(screen.CreateWindowed(640, 480), 0);
    CDXSurface picture;
    CDXSurface blank;
    ASSERT_EQ(picture.Create(&screen, path.c_str()), 1);
    ASSERT_EQ(blank.CreateBlank(&screen, 4, 4), 1);
    EXPECT_EQ(screen.Surfaces().size(), 2u);

    picture.Fill(0);  // drawn over, as the high-score screen does with its background
    ASSERT_EQ(screen.ChangeVideoMode(640, 480, 32), 0);
    EXPECT_TRUE(platform.Fullscreen());
    EXPECT_TRUE(screen.IsFullScreen());
    EXPECT_EQ(picture.ReadPixel(15, 7), testimg::Pattern(15, 7));
    ASSERT_EQ(screen.ChangeVideoMode(640, 480, 0), 0);
    EXPECT_FALSE(platform.Fullscreen());
    EXPECT_EQ(screen.GetBack()->Width(), 640);

    picture.Fill(0);
    EXPECT_EQ(picture.ReloadImage(), 1);
    EXPECT_EQ(picture.ReadPixel(3, 2), testimg::Pattern(3, 2));
    EXPECT_EQ(blank.ReloadImage(), -1);  // no file behind it
    EXPECT_EQ(screen.CreateFullScreen(640, 480, 16), -3);
  }
  // Surfaces leave the list when destroyed; one outliving its screen forgets it.
  CDXScreen screen(platform);
  auto surface = std::make_unique<CDXSurface>();
  ASSERT_EQ(surface->CreateBlank(&screen, 2, 2), 1);
  EXPECT_EQ(screen.Surfaces().size(), 1u);
  surface.reset();
  EXPECT_TRUE(screen.Surfaces().empty());
}

}  // namespace
}  // namespace spellcrypt
