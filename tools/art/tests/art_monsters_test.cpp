// The monster pictures as the game reads them: each fits the fight window where the table puts it,
// is one creature cut cleanly out of the key (dark outline at every edge, no stray block), the
// hand's frames close into a grab, the sculpting lights parts from the torches' side, and the
// monster sheet shows every type.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "game/monster_table.h"
#include "gfx/dx_image.h"
#include "tools/art/icons.h"
#include "tools/art/monster_render.h"
#include "tools/art/monster_sheet.h"
#include "tools/art/picture_set.h"
#include "tools/art/text.h"

namespace spellcrypt::art {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kKey = 0xFF00FF;

struct Picture {
  int w = 0, h = 0;
  std::vector<std::uint32_t> px;
  std::uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x] & 0xFFFFFF; }
};

std::string Slashes(std::string s) {
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

class Monsters : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadFaces());
    ASSERT_TRUE(LoadIcons(ART_ICONS));
    root_ = new fs::path(fs::temp_directory_path() / ("art_monsters_test-" + std::to_string(::getpid())));
    fs::remove_all(*root_);
    set_ = new PictureSet(root_->string());
    MakeMonsters(*set_);
  }
  static void TearDownTestSuite() {
    fs::remove_all(*root_);
    delete set_;
    delete root_;
  }
  static Picture Read(const std::string& name) {
    DXImage image;
    if (ReadImageFile((*root_ / name).string().c_str(), kImageRecognise, image) != 1) return {};
    return {image.width, image.height, std::move(image.pixels)};
  }
  static fs::path* root_;
  static PictureSet* set_;
};

fs::path* Monsters::root_ = nullptr;
PictureSet* Monsters::set_ = nullptr;

TEST_F(Monsters, DrawnWithoutFaultsAndEveryTypeHasItsPicture) {
  // The picture set's own checks (fringes near the key, bars along the edges, pixels outside the
  // drawing) count as failures.
  EXPECT_EQ(set_->Failures(), 0);
  std::map<std::string, const PictureEntry*> byName;
  for (const PictureEntry& e : set_->Entries()) byName[e.name] = &e;
  for (const MonsterRecord& m : MonsterTable()) {
    const std::string name = Slashes(m.image);
    ASSERT_TRUE(byName.count(name)) << name;
    const PictureEntry& e = *byName[name];
    EXPECT_EQ(e.frames, std::max(1, static_cast<int>(m.frames))) << name;
    EXPECT_EQ(e.key, static_cast<std::int64_t>(kKey)) << name;
    // Placed as the game places it, the picture stays inside the fight window (19, 19, 180 x 190).
    const int fw = e.width / e.frames;
    int x = m.x, y = m.y;
    if (x == 0 && y == 0) {
      x = 109 - fw / 2;
      y = 187 - e.height;
    }
    EXPECT_GE(x, 19) << name;
    EXPECT_GE(y, 19) << name;
    EXPECT_LE(x + fw, 199) << name;
    EXPECT_LE(y + e.height, 209) << name;
  }
}

TEST_F(Monsters, EveryEdgeIsDarkAndNoPartIsAStrayBlock) {
  for (const PictureEntry& e : set_->Entries()) {
    const Picture p = Read(e.name);
    ASSERT_GT(p.w, 0) << e.name;
    const int fw = p.w / e.frames;
    // Where the figure meets the key its edge is the dark outline, never a light or pinkish pixel.
    int lightEdges = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) {
        const std::uint32_t v = p.at(x, y);
        if (v == kKey) continue;
        const bool edge = (x % fw > 0 && p.at(x - 1, y) == kKey) ||
                          (x % fw < fw - 1 && p.at(x + 1, y) == kKey) || (y > 0 && p.at(x, y - 1) == kKey) ||
                          (y < p.h - 1 && p.at(x, y + 1) == kKey);
        const int brightest = std::max({(v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
        if (edge && brightest > 0x70) ++lightEdges;
      }
    EXPECT_EQ(lightEdges, 0) << e.name;
    // Every connected piece of the figure is a body part, not a filled block (the old hood had a
    // dark rectangle behind it) nor a crumb.
    std::vector<int> label(static_cast<size_t>(p.w) * p.h, -1);
    int total = 0, largest = 0;
    for (int sy = 0; sy < p.h; ++sy)
      for (int sx = 0; sx < p.w; ++sx) {
        if (p.at(sx, sy) == kKey || label[static_cast<size_t>(sy) * p.w + sx] >= 0) continue;
        int count = 0, x0 = sx, x1 = sx, y0 = sy, y1 = sy;
        std::vector<std::pair<int, int>> stack = {{sx, sy}};
        label[static_cast<size_t>(sy) * p.w + sx] = 1;
        while (!stack.empty()) {
          const auto [x, y] = stack.back();
          stack.pop_back();
          ++count;
          x0 = std::min(x0, x);
          x1 = std::max(x1, x);
          y0 = std::min(y0, y);
          y1 = std::max(y1, y);
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
              const int nx = x + dx, ny = y + dy;
              if (nx < 0 || ny < 0 || nx >= p.w || ny >= p.h || nx / fw != x / fw) continue;
              int& l = label[static_cast<size_t>(ny) * p.w + nx];
              if (l >= 0 || p.at(nx, ny) == kKey) continue;
              l = 1;
              stack.push_back({nx, ny});
            }
        }
        total += count;
        largest = std::max(largest, count);
        const double fill = static_cast<double>(count) / ((x1 - x0 + 1) * (y1 - y0 + 1));
        EXPECT_FALSE(count >= 40 && fill > 0.9) << e.name << ": a solid block at (" << x0 << "," << y0 << ")";
        EXPECT_GE(count, 12) << e.name << ": a crumb at (" << sx << "," << sy << ")";
      }
    // One creature per frame: its body holds most of it (legs and spikes may stand apart).
    EXPECT_GE(largest * e.frames, total / 2) << e.name;
  }
}

TEST_F(Monsters, TheHandClosesAsItGrabs) {
  const Picture p = Read("graphics/character/hand_ani.bmp");
  ASSERT_EQ(p.w % 3, 0);
  const int fw = p.w / 3;
  // The fingertips come down as the fingers curl, so each frame's top is lower than the last.
  int top[3] = {p.h, p.h, p.h};
  for (int f = 0; f < 3; ++f)
    for (int y = 0; y < p.h && top[f] == p.h; ++y)
      for (int x = 0; x < fw; ++x)
        if (p.at(f * fw + x, y) != kKey) {
          top[f] = y;
          break;
        }
  EXPECT_LT(top[0], top[1]);
  EXPECT_LT(top[1], top[2]);
  int changed = 0;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < fw; ++x) changed += p.at(x, y) != p.at(2 * fw + x, y);
  EXPECT_GT(changed, fw * p.h / 10);
}

TEST_F(Monsters, EveryCreatureHasEyesThatCatchTheLight) {
  // A catchlight is a near-white pixel; no monster's body or teeth are that light.
  for (const PictureEntry& e : set_->Entries()) {
    const Picture p = Read(e.name);
    const int fw = p.w / e.frames;
    for (int f = 0; f < e.frames; ++f) {
      if (e.name.find("hand_ani") != std::string::npos) continue;  // a hand has no eyes
      int glints = 0;
      for (int y = 0; y < p.h; ++y)
        for (int x = f * fw; x < (f + 1) * fw; ++x) {
          const std::uint32_t v = p.at(x, y);
          glints += v != kKey && ((v >> 16) & 0xFF) > 0xE8 && ((v >> 8) & 0xFF) > 0xE0 && (v & 0xFF) > 0xC8;
        }
      EXPECT_GT(glints, 0) << e.name << " frame " << f;
    }
  }
}

TEST(MonsterShapes, TapersMirrorsAndThinParts) {
  using namespace monster;
  // A taper is as wide as asked at each end.
  const Mask t = Taper(100, 40, {{10, 20}, {50, 20}, {90, 20}}, 20, 4);
  auto height = [&](int x) {
    int n = 0;
    for (int y = 0; y < 40; ++y) n += t.at(x, y) > 0.5f;
    return n;
  };
  EXPECT_NEAR(height(12), 20, 2);
  EXPECT_NEAR(height(50), 12, 2);
  EXPECT_NEAR(height(88), 4, 2);
  EXPECT_EQ(height(99), 0);
  // A mirrored outline covers the mirrored pixels.
  const std::vector<Pt> wing = {{10, 10}, {40, 14}, {30, 34}, {12, 30}};
  const Mask a = Blob(80, 40, wing), b = Blob(80, 40, Mirror(wing, 40));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x) ASSERT_NEAR(a.at(x, y), b.at(79 - x, y), 0.02f) << x << "," << y;
  // Thin finds a spike standing on a body, and nothing of the body itself.
  const Mask body = Union(BoxMask(60, 60, 10, 30, 50, 56), BoxMask(60, 60, 28, 6, 32, 30));
  const Mask spike = Thin(body, 3, Mask(60, 60, 1.0f));
  EXPECT_GT(spike.at(30, 15), 0.5f);
  EXPECT_LT(spike.at(30, 45), 0.1f);
  EXPECT_LT(Thin(body, 3, BoxMask(60, 60, 0, 30, 60, 60)).at(30, 15), 0.1f) << "outside the zone";
}

TEST(MonsterSculpture, GapsAreClosedIntoCutLinesWithoutLeavingHoles) {
  using namespace monster;
  // Four plates with narrow gaps between them meeting in a wider square in the middle, as an
  // icon's shell plates do: closed, they make one shape with dark lines and no hole.
  Mask plates(60, 60);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{8, 8}, {33, 8}, {8, 33}, {33, 33}})
    plates = Union(plates, BoxMask(60, 60, x, y, x + 19, y + 19));
  const Mask centre = BoxMask(60, 60, 26, 26, 34, 34);
  plates = Minus(plates, centre);
  Surface s;
  s.base = Rgb(0xA0A0A0);
  s.close = 3;
  s.rim = 0;
  Sculpture sc(60, 60);
  sc.Add(plates, s);
  const Mask figure = sc.Figure();
  EXPECT_GT(figure.at(30, 30), 0.5f) << "the square where the gaps meet is filled";
  EXPECT_GT(figure.at(30, 15), 0.5f) << "the gap between two plates is filled";
  const Canvas c = sc.Render();
  const Color line = c.Get(30, 15), plate = c.Get(18, 15);
  EXPECT_LT(line.r + line.g + line.b, (plate.r + plate.g + plate.b) * 0.7)
      << "the gap comes out as a dark line";
}

TEST(MonsterSculpture, EyesGlintUpperLeftAndHardeningKeepsTheRimDark) {
  using namespace monster;
  Sculpture sc(40, 40);
  Surface s;
  s.base = Rgb(0x606060);
  sc.Add(Ellipse(40, 40, 20, 20, 14, 14), s);
  Canvas c = sc.Render();
  // An eye hanging over the edge of the figure: its glint and glow must not light the outline.
  Eye(c, 10, 20, 7, {Rgb(0xFFC020), Pupil::kRound, 0, 0, 1.0});
  auto lum = [&](int x, int y) {
    const Color p = c.Get(x, y);
    return p.r + p.g + p.b;
  };
  EXPECT_GT(lum(7, 17), 2.7) << "the catchlight sits up and to the left of the eye's middle";
  EXPECT_LT(lum(10, 21), 0.5) << "the pupil is dark";
  EXPECT_EQ(c.Get(2, 38).a, 0) << "the glow does not spill onto the clear background";
  Harden(c, sc.Figure());
  const Mask figure = sc.Figure();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      if (figure.at(x, y) <= 0.5f) continue;
      const bool rim = x == 0 || figure.at(x - 1, y) <= 0.5f || x == 39 || figure.at(x + 1, y) <= 0.5f ||
                       y == 0 || figure.at(x, y - 1) <= 0.5f || y == 39 || figure.at(x, y + 1) <= 0.5f;
      if (rim) EXPECT_LT(lum(x, y), 0.75) << x << "," << y;
    }
}

TEST(MonsterSculpture, FurLiesAlongItsDirectionAndStoneCracksIntoBlocks) {
  using namespace monster;
  auto render = [](Grain grain, double angle) {
    Surface s;
    s.base = Rgb(0x909090);
    s.grain = grain;
    s.grainAmount = 0.8;
    s.grainSize = 8;
    s.furAngle = angle;
    s.round = 2;
    s.rim = 0;
    Sculpture sc(90, 90);
    sc.Add(BoxMask(90, 90, 2, 2, 88, 88), s);
    return sc.Render();
  };
  // Strands lying left to right change little along a row and much down a column, and the
  // other way round when they hang down.
  auto change = [](const Canvas& c, int dx, int dy) {
    double sum = 0;
    for (int y = 20; y < 70; ++y)
      for (int x = 20; x < 70; ++x) {
        const Color a = c.Get(x, y), b = c.Get(x + dx, y + dy);
        sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
      }
    return sum;
  };
  const Canvas across = render(Grain::kFur, 0), down = render(Grain::kFur, M_PI / 2);
  EXPECT_LT(change(across, 1, 0) * 1.5, change(across, 0, 1));
  EXPECT_LT(change(down, 0, 1) * 1.5, change(down, 1, 0));
  // Stone has cracks well darker than the blocks between them.
  const Canvas stone = render(Grain::kStone, 0);
  std::vector<double> lum;
  for (int y = 10; y < 80; ++y)
    for (int x = 10; x < 80; ++x) {
      const Color p = stone.Get(x, y);
      lum.push_back(p.r + p.g + p.b);
    }
  std::sort(lum.begin(), lum.end());
  const double median = lum[lum.size() / 2];
  EXPECT_LT(lum[lum.size() / 25], median * 0.7) << "the darkest twenty-fifth lies in the cracks";
}

TEST(MonsterSculpture, LitFromTheUpperLeftInsideADarkOutline) {
  using namespace monster;
  Sculpture sc(60, 60);
  Surface s;
  s.base = Rgb(0x808080);
  s.round = 20;
  s.rim = 0;
  sc.Add(Ellipse(60, 60, 30, 30, 22, 22), s);
  Canvas c = sc.Render();
  const Mask figure = sc.Figure();
  Harden(c, figure);
  auto lum = [&](int x, int y) {
    const Color p = c.Get(x, y);
    return p.r + p.g + p.b;
  };
  EXPECT_GT(lum(20, 20), lum(40, 40) + 0.3) << "the torches are on the upper left";
  EXPECT_GT(lum(30, 30), lum(44, 44));
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const Color p = c.Get(x, y);
      ASSERT_TRUE(p.a == 0 || p.a == 1) << x << "," << y;
      EXPECT_EQ(p.a == 1, figure.at(x, y) > 0.5f) << x << "," << y;
    }
  // The rim of the disc is the outline: dark all the way round.
  for (int k = 0; k < 16; ++k) {
    const double a = k * M_PI / 8;
    const Color p = c.Get(static_cast<int>(std::lround(30 + std::cos(a) * 22.6)),
                          static_cast<int>(std::lround(30 + std::sin(a) * 22.6)));
    EXPECT_LT(std::max({p.r, p.g, p.b}), 0.3) << "angle " << a;
  }
}

TEST(MonsterSculpture, APartInFrontShadowsThePartBehindIt) {
  using namespace monster;
  Surface s;
  s.base = Rgb(0x909090);
  s.round = 6;
  s.rim = 0;
  Sculpture alone(80, 60), covered(80, 60);
  const Mask back = BoxMask(80, 60, 4, 4, 76, 56);
  alone.Add(back, s);
  covered.Add(back, s);
  covered.Add(Ellipse(80, 60, 30, 28, 12, 12), s);
  const Canvas a = alone.Render(), b = covered.Render();
  // Down and to the right of the front part, away from the torches, the back part is darker.
  const Color pa = a.Get(40, 40), pb = b.Get(40, 40);
  EXPECT_LT(pb.r + pb.g + pb.b, (pa.r + pa.g + pa.b) * 0.85);
  const Color qa = a.Get(60, 14), qb = b.Get(60, 14);
  EXPECT_NEAR(qb.r + qb.g + qb.b, qa.r + qa.g + qa.b, 0.05) << "far from the front part nothing changes";
}

TEST(MonsterSheet, ShowsEveryTypeAtOneAndTwiceTheSize) {
  ASSERT_TRUE(LoadFaces());
  ASSERT_TRUE(LoadIcons(ART_ICONS));
  const fs::path root = fs::temp_directory_path() / ("art_monster_sheet_test-" + std::to_string(::getpid()));
  fs::remove_all(root);
  PictureSet set((root / "runtime").string());
  MakeGameScreen(set);
  MakeDungeons(set);
  MakeMonsters(set);
  ASSERT_TRUE(WriteMonsterSheet((root / "runtime").string(), (root / "sheet").string()));
  cairo_surface_t* one = cairo_image_surface_create_from_png((root / "sheet_1x.png").c_str());
  cairo_surface_t* two = cairo_image_surface_create_from_png((root / "sheet_2x.png").c_str());
  ASSERT_EQ(cairo_surface_status(one), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_surface_status(two), CAIRO_STATUS_SUCCESS);
  const int w = cairo_image_surface_get_width(one), h = cairo_image_surface_get_height(one);
  EXPECT_EQ(cairo_image_surface_get_width(two), 2 * w);
  EXPECT_EQ(cairo_image_surface_get_height(two), 2 * h);
  // 24 types and the hand's two grabbing frames, six to a row.
  EXPECT_EQ(w, 6 * 204);
  EXPECT_EQ(h, 5 * (214 + 16));
  // Doubled pixel for pixel, not smoothed.
  const auto* p1 = cairo_image_surface_get_data(one);
  const auto* p2 = cairo_image_surface_get_data(two);
  const int s1 = cairo_image_surface_get_stride(one), s2 = cairo_image_surface_get_stride(two);
  for (int y = 0; y < h; y += 7)
    for (int x = 0; x < w; x += 5)
      for (int k = 0; k < 4; ++k)
        ASSERT_EQ(p1[y * s1 + x * 4 + k], p2[(2 * y + 1) * s2 + (2 * x + 1) * 4 + k]) << x << "," << y;
  cairo_surface_destroy(one);
  cairo_surface_destroy(two);
  fs::remove_all(root);
}

}  // namespace
}  // namespace spellcrypt::art
