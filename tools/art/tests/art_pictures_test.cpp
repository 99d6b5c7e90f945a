// Whole pictures: the same drawing gives the same bytes every time (the build is reproducible),
// strips that do not split into their frames are refused, the manifest comes out sorted with the
// game's key notation, and the game's font code sets the message font's words at their natural
// spacing.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gfx/bitmap_font.h"
#include "tools/art/icons.h"
#include "tools/art/picture_set.h"
#include "tools/art/text.h"

namespace spellcrypt::art {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadFaces());
    ASSERT_TRUE(LoadIcons(ART_ICONS));
    // One folder per test and process: ctest runs the tests of this fixture side by side.
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    root_ = fs::temp_directory_path() / ("art_pictures_test-" + test + "-" + std::to_string(::getpid()));
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(Pictures, DrawingTwiceGivesTheSameBytes) {
  for (const char* run : {"a", "b"}) {
    PictureSet set((root_ / run).string());
    MakeFonts(set);
    MakeTiles(set);
    MakeMap(set);
    EXPECT_EQ(set.Failures(), 0);
    ASSERT_TRUE(set.WriteManifest((root_ / run / "pictures.tsv").string()));
  }
  int files = 0;
  for (const auto& f : fs::recursive_directory_iterator(root_ / "a")) {
    if (!f.is_regular_file()) continue;
    const fs::path rel = fs::relative(f.path(), root_ / "a");
    EXPECT_EQ(ReadAll(f.path()), ReadAll(root_ / "b" / rel)) << rel;
    ++files;
  }
  EXPECT_EQ(files, 4 + 1 + 28 + 1);  // fonts, tiles, map pieces and pictures, manifest
}

TEST_F(Pictures, StripsMustSplitIntoTheirFramesAndTheManifestIsSorted) {
  PictureSet set((root_ / "c").string());
  set.Emit("graphics/z_last.bmp", Canvas(10, 4), 3, pal::kKeyMagenta, "nowhere", "nobody");
  EXPECT_EQ(set.Failures(), 1) << "10 pixels do not make 3 frames";
  set.Emit("graphics/a_first.jpg", Canvas(12, 4), 3, kNoKey, "somewhere", "somebody");
  EXPECT_EQ(set.Failures(), 1);
  ASSERT_TRUE(set.WriteManifest((root_ / "c.tsv").string()));
  EXPECT_EQ(ReadAll(root_ / "c.tsv"),
            "name\tformat\tsize\tframes\tkey\twhere\tby\n"
            "graphics/a_first.jpg\tJPEG\t12x4\t3\t-\tsomewhere\tsomebody\n"
            "graphics/z_last.bmp\tBMP\t10x4\t3\t0xFF00FF\tnowhere\tnobody\n");
}

// The game spaces a bitmap font's glyphs by their ink (ink width + 1), so anything drawn round a
// glyph (a halo, faint coverage kept as ink) pushes every letter apart: "Y o u  c a s t".
TEST_F(Pictures, TheMessageFontSetsWordsAtTheirNaturalWidth) {
  PictureSet set(root_.string());
  MakeFonts(set);
  ASSERT_EQ(set.Failures(), 0);
  BitmapFont font;
  ASSERT_EQ(font.Load(nullptr, (root_ / "graphics/font/font_grey2.bmp").c_str(), 32, 32), 0);
  // The face and size the font is drawn from: capitals 14 pixels tall.
  Canvas probe(8, 8);
  UseFace(probe.cr(), Face::kSans, 100);
  cairo_text_extents_t h;
  cairo_text_extents(probe.cr(), "H", &h);
  UseFace(probe.cr(), Face::kSans, 100 * 14 / -h.y_bearing);
  for (const char* text : {"You cast the spell", "Anything more than eight letters would be too",
                           "You are attacked by a Horror Squirrel!"}) {
    const double natural = TextWidth(probe.cr(), text);
    const int set = font.TextWidth(text);
    EXPECT_LT(set, natural * 1.08) << text << ": " << set << " pixels, " << natural << " set naturally";
    EXPECT_GT(set, natural * 0.9) << text;
  }
}

}  // namespace
}  // namespace spellcrypt::art
