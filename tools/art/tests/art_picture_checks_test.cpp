// The check of the keyed pictures: fringes near the key, opaque pixels outside the figure's bounds
// and bars along a frame's edge are found and placed; figures meant to reach an edge, plain
// rectangles are let through; and the picture set fails a build on them.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tools/art/picture_set.h"
#include "tools/art/text.h"

namespace spellcrypt::art {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kKey = 0xFF00FF;
constexpr std::uint32_t kInk = 0x402010;

// A keyed picture of `frames` frames, all key, with `fill` opaque in every frame's rectangle.
DXImage Picture(int w, int h, int frames = 1, PixelBox fill = {}) {
  DXImage img{w * frames, h, std::vector<std::uint32_t>(static_cast<size_t>(w) * frames * h, kKey)};
  for (int f = 0; f < frames; ++f)
    for (int y = fill.y0; y < fill.y1; ++y)
      for (int x = fill.x0; x < fill.x1; ++x)
        img.pixels[static_cast<size_t>(y) * w * frames + f * w + x] = kInk;
  return img;
}

void Put(DXImage& img, int x, int y, std::uint32_t rgb) {
  img.pixels[static_cast<size_t>(y) * img.width + x] = rgb;
}

std::string All(const std::vector<PictureFault>& faults) {
  std::string s;
  for (const PictureFault& f : faults) s += f.what + "\n";
  return s;
}

TEST(PictureChecks, FringesNearTheKeyAreFoundAndPlaced) {
  DXImage img = Picture(20, 10, 1, {5, 3, 15, 8});
  Put(img, 2, 1, 0xA03070);   // a dark pink, far enough from magenta
  Put(img, 17, 9, 0xFF00FF);  // the key itself
  EXPECT_TRUE(CheckKeyedPicture(img, kKey, 1, {}).empty()) << All(CheckKeyedPicture(img, kKey, 1, {}));

  Put(img, 6, 4, 0xF010E8);
  Put(img, 7, 4, 0xD838D0);
  const auto faults = CheckKeyedPicture(img, kKey, 1, {});
  ASSERT_EQ(faults.size(), 1u) << All(faults);
  EXPECT_EQ(faults[0].x, 6);
  EXPECT_EQ(faults[0].y, 4);
  EXPECT_NE(faults[0].what.find("(6,4)"), std::string::npos) << faults[0].what;
  EXPECT_NE(faults[0].what.find("2 such"), std::string::npos) << faults[0].what;

  // The white key of the tile strip: its lightest parchment stays legal, near-white does not.
  DXImage tiles{2, 1, {0xFFF2E3, 0xFFFFFF}};
  EXPECT_TRUE(CheckKeyedPicture(tiles, 0xFFFFFF, 1, {}).empty());
  tiles.pixels[0] = 0xFAFAF6;
  EXPECT_EQ(CheckKeyedPicture(tiles, 0xFFFFFF, 1, {}).size(), 1u);
}

TEST(PictureChecks, OpaquePixelsOutsideTheFigureAreFoundPerFrame) {
  // Three frames with the figure at (4,4)-(12,12); frame 1 has a stray pixel.
  DXImage img = Picture(16, 16, 3, {4, 4, 12, 12});
  Silhouette s{{{4, 4, 12, 12}}};
  EXPECT_TRUE(CheckKeyedPicture(img, kKey, 3, s).empty());
  Put(img, 16 + 13, 2, kInk);
  auto faults = CheckKeyedPicture(img, kKey, 3, s);
  ASSERT_EQ(faults.size(), 1u) << All(faults);
  EXPECT_EQ(faults[0].x, 29);
  EXPECT_EQ(faults[0].y, 2);
  EXPECT_NE(faults[0].what.find("frame 1"), std::string::npos) << faults[0].what;
  // One box per frame: frame 1's figure may reach further.
  s.frames = {{4, 4, 12, 12}, {4, 0, 16, 12}, {4, 4, 12, 12}};
  EXPECT_TRUE(CheckKeyedPicture(img, kKey, 3, s).empty()) << All(CheckKeyedPicture(img, kKey, 3, s));
  // No bounds given: nothing is outside (the picture set always fills them in).
  EXPECT_TRUE(CheckKeyedPicture(img, kKey, 3, {}).empty());
}

TEST(PictureChecks, BarsAlongTheEdgesAreFaultsUnlessTheFigureIsMeantToReachThem) {
  // A figure standing on a rounded foot touches the bottom edge for a few pixels only.
  DXImage foot = Picture(48, 44, 1, {10, 5, 38, 40});
  for (int y = 40; y < 44; ++y)
    for (int x = 21; x < 27; ++x) Put(foot, x, y, kInk);
  EXPECT_TRUE(CheckKeyedPicture(foot, kKey, 1, {}).empty());

  // The same figure glued to the bottom and cut off on the left: two bars.
  DXImage glued = Picture(48, 44, 1, {0, 20, 38, 44});
  auto faults = CheckKeyedPicture(glued, kKey, 1, {});
  ASSERT_EQ(faults.size(), 2u) << All(faults);
  EXPECT_NE(faults[0].what.find("24 pixels along the left edge"), std::string::npos) << faults[0].what;
  EXPECT_EQ(faults[0].x, 0);
  EXPECT_EQ(faults[0].y, 20);
  EXPECT_NE(faults[1].what.find("38 pixels along the bottom edge"), std::string::npos) << faults[1].what;
  // A run one pixel under the bar length is not a bar; at the length it is.
  EXPECT_EQ(BarLength(44), 16);
  EXPECT_EQ(BarLength(150), 50);
  DXImage run = Picture(48, 44, 1, {10, 20, 30, 43});
  for (int x = 10; x < 25; ++x) Put(run, x, 43, kInk);
  EXPECT_TRUE(CheckKeyedPicture(run, kKey, 1, {}).empty()) << All(CheckKeyedPicture(run, kKey, 1, {}));
  Put(run, 25, 43, kInk);
  EXPECT_EQ(CheckKeyedPicture(run, kKey, 1, {}).size(), 1u);

  // Meant to reach those edges: no fault.
  EXPECT_TRUE(CheckKeyedPicture(glued, kKey, 1, {{}, kLeftEdge | kBottomEdge}).empty());
  EXPECT_EQ(CheckKeyedPicture(glued, kKey, 1, {{}, kBottomEdge}).size(), 1u);

  // A frame with no see-through pixel is a plain rectangle; a strip reports the frame and the
  // position in the whole picture.
  DXImage strip = Picture(20, 30, 3, {5, 5, 15, 25});
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x) Put(strip, x, y, kInk);
  for (int y = 0; y < 30; ++y) Put(strip, 59, y, kInk);
  faults = CheckKeyedPicture(strip, kKey, 3, {});
  ASSERT_EQ(faults.size(), 1u) << All(faults);
  EXPECT_EQ(faults[0].x, 59);
  EXPECT_NE(faults[0].what.find("right edge of frame 2"), std::string::npos) << faults[0].what;
}

TEST(PictureChecks, BoundsOfWhatWasDrawn) {
  Canvas c(30, 10);
  c.Set(3, 2, {1, 0, 0, 1});
  c.Set(24, 7, {1, 0, 0, 0.2});
  const auto boxes = FrameBounds(c, 3, 0.5f);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], (PixelBox{3, 2, 4, 3}));
  EXPECT_TRUE(boxes[1].Empty());
  EXPECT_TRUE(boxes[2].Empty()) << "faint pixels are below the level";
  EXPECT_EQ(FrameBounds(c, 3, 0.1f)[2], (PixelBox{4, 7, 5, 8}));
  Mask m(8, 8);
  m.at(1, 6) = 1;
  m.at(5, 2) = 0.6f;
  EXPECT_EQ(MaskBounds(m, 0.5f), (PixelBox{1, 2, 6, 7}));
  EXPECT_TRUE(MaskBounds(Mask(4, 4), 0.5f).Empty());
}

class CheckedPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadFaces());
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    root_ = fs::temp_directory_path() / ("art_checks_test-" + test + "-" + std::to_string(::getpid()));
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

// A sprite whose figure was cut off flat at the picture's bottom edge.
Canvas CutOff() {
  Canvas c(40, 40);
  cairo_arc(c.cr(), 20, 30, 16, 0, 2 * M_PI);
  SetColor(c.cr(), Rgb(0x806040));
  cairo_fill(c.cr());
  return c;
}

TEST_F(CheckedPictures, TheSetFailsOnFaultsAsWrittenAndSparesWhatIsMeant) {
  PictureSet set(root_.string());
  set.Emit("graphics/cut.bmp", CutOff(), 1, pal::kKeyMagenta, "here", "test");
  EXPECT_EQ(set.Failures(), 1);
  set.Emit("graphics/standing.bmp", CutOff(), 1, pal::kKeyMagenta, "here", "test", {{}, kBottomEdge});
  EXPECT_EQ(set.Failures(), 1) << "a figure meant to stand on the bottom edge";
  set.Emit("graphics/small.bmp", CutOff(), 1, pal::kKeyMagenta, "here", "test", {{{4, 4, 36, 36}}});
  EXPECT_EQ(set.Failures(), 2) << "drawn past the bounds its drawing gave";

  // A keyed JPEG is flattened onto black: any part left undrawn turns into an opaque black
  // margin round the figure, which lies outside what was drawn.
  Canvas margin(40, 40);
  cairo_rectangle(margin.cr(), 5, 5, 30, 30);
  SetColor(margin.cr(), Rgb(0x806040));
  cairo_fill(margin.cr());
  set.Emit("graphics/margin.jpg", margin, 1, pal::kKeyMagenta, "here", "test");
  EXPECT_EQ(set.Failures(), 3);
  Canvas full = margin;
  full.Fill(Rgb(0x806040));
  set.Emit("graphics/full.jpg", full, 1, pal::kKeyMagenta, "here", "test");
  EXPECT_EQ(set.Failures(), 3) << "a picture drawn all over is a plain rectangle";
}

}  // namespace
}  // namespace spellcrypt::art
