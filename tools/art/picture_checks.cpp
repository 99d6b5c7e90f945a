// Checks of the keyed pictures; see picture_checks.h.
#include "tools/art/picture_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace spellcrypt::art {

namespace {

constexpr int kMinBar = 16;

std::string Hex(std::uint32_t rgb) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%06X", rgb & 0xFFFFFFu);
  return buf;
}

std::string At(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int d = 0;
  for (int shift : {16, 8, 0})
    d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return d;
}

const char* EdgeName(unsigned edge) {
  switch (edge) {
    case kLeftEdge:
      return "left";
    case kRightEdge:
      return "right";
    case kTopEdge:
      return "top";
    default:
      return "bottom";
  }
}

}  // namespace

int FringeTolerance(std::uint32_t key) {
  // A sprite's edge half mixed with magenta is plainly pink, so anything that magenta-ish is a
  // fringe. The white key belongs to the tile strip, whose lightest parchment is kept just clear of
  // white: only a near-white pixel there could be mistaken for it.
  return (key & 0xFFFFFFu) == 0xFF00FFu ? 56 : 20;
}

int BarLength(int side) { return std::max(kMinBar, (side + 2) / 3); }

std::vector<PictureFault> CheckKeyedPicture(const DXImage& image, std::uint32_t key, int frames,
                                            const Silhouette& silhouette) {
  std::vector<PictureFault> faults;
  key &= 0xFFFFFFu;
  const int w = image.width, h = image.height;
  if (frames < 1 || w % frames != 0 || image.pixels.size() != static_cast<size_t>(w) * h) {
    faults.push_back({0, 0, "the picture does not split into " + std::to_string(frames) + " frames"});
    return faults;
  }
  const int fw = w / frames;
  auto pixel = [&](int x, int y) { return image.pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFFu; };

  // Fringes: kept pixels the colour of the key, or nearly.
  const int tolerance = FringeTolerance(key);
  int fringes = 0;
  PictureFault first;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = pixel(x, y);
      if (p == key || ChannelDistance(p, key) > tolerance) continue;
      if (fringes++ == 0) first = {x, y, Hex(p)};
    }
  if (fringes > 0)
    faults.push_back({first.x, first.y,
                      "pixel " + At(first.x, first.y) + " is " + first.what + ", within " +
                          std::to_string(tolerance) + " of the key " + Hex(key) + " (a fringe); " +
                          std::to_string(fringes) + " such pixel(s)"});

  for (int f = 0; f < frames; ++f) {
    const int ox = f * fw;
    const std::string frame = frames > 1 ? " of frame " + std::to_string(f) : "";
    // Opaque pixels where the figure was not meant to be.
    if (!silhouette.frames.empty()) {
      const PixelBox& box = silhouette.frames[std::min<size_t>(f, silhouette.frames.size() - 1)];
      int outside = 0;
      int fx = 0, fy = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < fw; ++x)
          if (pixel(ox + x, y) != key && !box.Contains(x, y) && outside++ == 0) {
            fx = ox + x;
            fy = y;
          }
      if (outside > 0)
        faults.push_back({fx, fy,
                          "opaque pixel " + At(fx, fy) + " lies outside the figure's bounds " +
                              At(box.x0, box.y0) + "-" + At(box.x1, box.y1) + frame + "; " +
                              std::to_string(outside) + " such pixel(s)"});
    }
    // Straight opaque runs along the frame's edges. A frame with no keyed pixel at all is a plain
    // rectangle on purpose (the key never shows), so only frames with a see-through part count.
    bool anyKey = false;
    for (int y = 0; y < h && !anyKey; ++y)
      for (int x = 0; x < fw && !anyKey; ++x) anyKey = pixel(ox + x, y) == key;
    if (!anyKey) continue;
    for (unsigned edge : {kLeftEdge, kRightEdge, kTopEdge, kBottomEdge}) {
      if (silhouette.bleed & edge) continue;
      const bool vertical = edge == kLeftEdge || edge == kRightEdge;
      const int side = vertical ? h : fw;
      int run = 0, best = 0, bestEnd = 0;
      for (int i = 0; i <= side; ++i) {
        bool opaque = false;
        if (i < side) {
          const int x = vertical ? (edge == kLeftEdge ? 0 : fw - 1) : i;
          const int y = vertical ? i : (edge == kTopEdge ? 0 : h - 1);
          opaque = pixel(ox + x, y) != key;
        }
        if (opaque) {
          ++run;
        } else {
          if (run > best) {
            best = run;
            bestEnd = i;
          }
          run = 0;
        }
      }
      if (best < BarLength(side)) continue;
      const int start = bestEnd - best;
      const int x = ox + (vertical ? (edge == kLeftEdge ? 0 : fw - 1) : start);
      const int y = vertical ? start : (edge == kTopEdge ? 0 : h - 1);
      faults.push_back({x, y,
                        "opaque bar of " + std::to_string(best) + " pixels along the " + EdgeName(edge) +
                            " edge" + frame + " from " + At(x, y) +
                            " (a figure cut off or glued to the border)"});
    }
  }
  return faults;
}

std::vector<PixelBox> FrameBounds(const Canvas& c, int frames, float level) {
  frames = std::max(1, frames);
  const int fw = c.width() / frames;
  const Mask a = c.Alpha();
  std::vector<PixelBox> boxes;
  for (int f = 0; f < frames; ++f) {
    PixelBox b{fw, c.height(), 0, 0};
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < fw; ++x)
        if (a.at(f * fw + x, y) >= level) {
          b.x0 = std::min(b.x0, x);
          b.y0 = std::min(b.y0, y);
          b.x1 = std::max(b.x1, x + 1);
          b.y1 = std::max(b.y1, y + 1);
        }
    boxes.push_back(b.Empty() ? PixelBox{} : b);
  }
  return boxes;
}

PixelBox MaskBounds(const Mask& m, float level) {
  PixelBox b{m.w, m.h, 0, 0};
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      if (m.at(x, y) >= level) {
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x + 1);
        b.y1 = std::max(b.y1, y + 1);
      }
  return b.Empty() ? PixelBox{} : b;
}

}  // namespace spellcrypt::art
