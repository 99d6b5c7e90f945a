// Shared screen pieces: a figure shaded near the picture's edge stays whole and clear of it, and a
// stone slab never has a mortar joint running through it.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/art/image_write.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {
namespace {

// A fat crescent whose tips come within three pixels of the picture's edges, as FitIcon leaves
// them, with a notch the closing fills.
Mask Crescent(int w, int h) {
  Mask m(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double a = std::hypot(x - w / 2.0, y - h / 2.0), b = std::hypot(x - w * 0.8, y - h * 0.3);
      if (a < std::min(w, h) / 2.0 - 3 && b > h * 0.3 && std::abs(x - w / 2.0) > 1.5) m.at(x, y) = 1;
    }
  return m;
}

int OpaqueOnEdges(const Canvas& c) {
  int n = 0;
  for (int x = 0; x < c.width(); ++x) n += (c.Get(x, 0).a >= 0.5) + (c.Get(x, c.height() - 1).a >= 0.5);
  for (int y = 0; y < c.height(); ++y) n += (c.Get(0, y).a >= 0.5) + (c.Get(c.width() - 1, y).a >= 0.5);
  return n;
}

TEST(ShadedFigures, ClosingGapsNeverGluesTheFigureToTheEdges) {
  const Mask shape = Crescent(48, 44);
  FigureStyle style;
  style.base = Rgb(0xF0C020);
  style.close = 5;
  // The cause of the bars: ShadeFigure's closing takes the picture's edge for more figure.
  EXPECT_GT(OpaqueOnEdges(ShadeFigure(shape, style)), 0);
  PixelBox bounds;
  const Canvas clear = ShadeFigureClear(shape, style, &bounds);
  EXPECT_EQ(OpaqueOnEdges(clear), 0);
  EXPECT_EQ(bounds, MaskBounds(shape, 0.5f).Grown(1));
  // The figure is still there, closed, outlined, and all of it within its bounds.
  const DXImage keyed = Keyed(clear, pal::kKeyMagenta);
  EXPECT_TRUE(CheckKeyedPicture(keyed, pal::kKeyMagenta, 1, {{bounds}}).empty());
  EXPECT_GE(clear.Get(24, 22).a, 0.5) << "the notch is closed";
  EXPECT_LT(clear.Get(1, 1).a, 0.5);
}

// Columns (or rows) inside a rectangle whose mean brightness drops well below that of the lines
// a few pixels to either side: a mortar joint.
int Joints(const Canvas& c, const Rect& r, bool columns) {
  const int n = static_cast<int>(columns ? r.w : r.h);
  const int m = static_cast<int>(columns ? r.h : r.w);
  std::vector<double> mean(n, 0);
  for (int i = 0; i < n; ++i) {
    for (int j = 6; j < m - 6; ++j) {
      const Color p = columns ? c.Get(static_cast<int>(r.x) + i, static_cast<int>(r.y) + j)
                              : c.Get(static_cast<int>(r.x) + j, static_cast<int>(r.y) + i);
      mean[i] += (p.r + p.g + p.b) / 3;
    }
    mean[i] /= m - 12;
  }
  int joints = 0;
  for (int i = 8; i < n - 8; ++i)
    if (mean[i] < 0.75 * std::min(mean[i - 4], mean[i + 4])) ++joints;
  return joints;
}

TEST(StoneSlabs, NoMortarJointRunsThroughASlab) {
  // The detector sees a joint in a wall whose blocks are narrower than the area.
  Canvas wall(400, 180);
  StoneWall(wall, {0, 0, 400, 180}, 55, 150, 400, {{100, -60, 400, 1.0}}, 0.4);
  EXPECT_GT(Joints(wall, {0, 0, 400, 180}, true), 0);
  // Slabs of the sizes the screens use, over many seeds, at whole and half-pixel positions.
  const Rect sizes[] = {{0, 0, 400, 180}, {73, 383, 118, 24}, {3.5, 2, 140, 40}, {10, 10, 200, 210}};
  for (const Rect& r : sizes)
    for (std::uint32_t seed = 40; seed < 70; ++seed) {
      SCOPED_TRACE(std::to_string(seed) + " " + std::to_string(r.w) + "x" + std::to_string(r.h));
      Canvas c(static_cast<int>(r.x + r.w) + 2, static_cast<int>(r.y + r.h) + 2);
      StoneSlab(c, r, seed, seed % 2 == 0);
      const Rect inside{std::ceil(r.x), std::ceil(r.y), std::floor(r.w), std::floor(r.h)};
      EXPECT_EQ(Joints(c, inside, true), 0);
      EXPECT_EQ(Joints(c, inside, false), 0);
      EXPECT_GE(c.Get(static_cast<int>(r.x + r.w / 2), static_cast<int>(r.y + r.h / 2)).a, 0.99);
    }
}

}  // namespace
}  // namespace spellcrypt::art
