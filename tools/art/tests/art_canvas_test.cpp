// Masks, canvas pixels and noise: the operations every picture is shaded with.
#include <gtest/gtest.h>

#include "tools/art/canvas.h"

namespace spellcrypt::art {
namespace {

Mask Ring(int n, int inner, int outer, bool open) {
  Mask m(n, n);
  const int c = n / 2;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const int d = std::max(std::abs(x - c), std::abs(y - c));
      if (d >= inner && d <= outer && !(open && x > c && std::abs(y - c) <= 1)) m.at(x, y) = 1;
    }
  return m;
}

TEST(ArtMasks, FillHolesClosesOnlyEnclosedHoles) {
  const Mask closed = FillHoles(Ring(21, 4, 6, false), 0.5f);
  EXPECT_EQ(closed.at(10, 10), 1.0f) << "the middle of a closed ring is filled";
  EXPECT_EQ(closed.at(0, 0), 0.0f);
  const Mask open = FillHoles(Ring(21, 4, 6, true), 0.5f);
  EXPECT_EQ(open.at(10, 10), 0.0f) << "a ring with a gap stays open";
}

TEST(ArtMasks, DilateErodeAndClosing) {
  Mask dot(9, 9);
  dot.at(4, 4) = 1;
  const Mask grown = Dilate(dot, 2);
  int count = 0;
  for (float v : grown.v) count += v > 0 ? 1 : 0;
  EXPECT_EQ(count, 25);
  EXPECT_EQ(Erode(grown, 2).at(4, 4), 1.0f);
  EXPECT_EQ(Erode(grown, 2).at(3, 4), 0.0f);
  // Two bars with a 3-pixel gap close at radius 2 but not at radius 1.
  Mask bars(20, 9);
  for (int y = 2; y < 7; ++y)
    for (int x = 0; x < 20; ++x)
      if (x < 8 || x > 10) bars.at(x, y) = 1;
  EXPECT_EQ(Erode(Dilate(bars, 2), 2).at(9, 4), 1.0f);
  EXPECT_EQ(Erode(Dilate(bars, 1), 1).at(9, 4), 0.0f);
}

TEST(ArtMasks, BlurKeepsLevelsAndMass) {
  Mask flat(16, 16, 0.7f);
  for (float v : Blur(flat, 3).v) EXPECT_NEAR(v, 0.7f, 1e-5f);
  Mask impulse(41, 41);
  impulse.at(20, 20) = 1;
  float sum = 0;
  for (float v : Blur(impulse, 2).v) sum += v;
  EXPECT_NEAR(sum, 1.0f, 1e-4f);
}

TEST(ArtCanvas, StraightColoursSurviveThePremultipliedSurface) {
  Canvas c(3, 1);
  c.Set(0, 0, {0.25, 0.5, 0.75, 1});
  c.Set(1, 0, {1, 0, 1, 0.5});
  const Color a = c.Get(0, 0), b = c.Get(1, 0), empty = c.Get(2, 0);
  EXPECT_NEAR(a.r, 0.25, 1.0 / 255);
  EXPECT_NEAR(a.b, 0.75, 1.0 / 255);
  EXPECT_NEAR(b.r, 1.0, 2.0 / 255);
  EXPECT_NEAR(b.a, 0.5, 1.0 / 255);
  EXPECT_EQ(empty.a, 0);
  const Canvas part = c.Crop(1, 0, 2, 1);
  EXPECT_NEAR(part.Get(0, 0).a, 0.5, 1.0 / 255);
}

TEST(ArtNoise, DeterministicAndInRange) {
  for (int i = 0; i < 200; ++i) {
    const double x = i * 0.37, y = i * 0.11;
    const double v = Fbm(x, y, 4, 9);
    EXPECT_EQ(v, Fbm(x, y, 4, 9));
    EXPECT_GE(v, 0.0);
    EXPECT_LE(v, 1.0);
  }
  EXPECT_NE(Fbm(1.5, 2.5, 3, 1), Fbm(1.5, 2.5, 3, 2));
  Rng a(7), b(7);
  for (int i = 0; i < 50; ++i) {
    const int v = a.Int(3, 5);
    EXPECT_EQ(v, b.Int(3, 5));
    EXPECT_GE(v, 3);
    EXPECT_LE(v, 5);
  }
}

}  // namespace
}  // namespace spellcrypt::art
