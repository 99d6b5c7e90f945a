// Checks of the keyed pictures as the game reads them: no pixel that is almost, but not quite, the
// colour key (it would show as a fringe around the sprite), and nothing opaque where the drawing
// did not mean the figure to be (outside its silhouette, or a straight bar along the frame's edge
// where a figure was cut off or glued to the border).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/dx_image.h"
#include "tools/art/canvas.h"

namespace spellcrypt::art {

// A pixel rectangle, right and bottom exclusive.
struct PixelBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Empty() const { return x1 <= x0 || y1 <= y0; }
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
  PixelBox Grown(int by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
  bool operator==(const PixelBox&) const = default;
};

// The edges of its frame a figure is meant to run into.
enum Edge : unsigned {
  kNoEdge = 0,
  kLeftEdge = 1,
  kRightEdge = 2,
  kTopEdge = 4,
  kBottomEdge = 8,
  kAllEdges = 15,
};

// Where a keyed picture's figure was meant to be, per frame in the frame's own coordinates.
struct Silhouette {
  // One box per frame, or one box for every frame. Left empty, the picture set fills in what was
  // drawn: the bounds of everything the canvas covers before it is flattened onto the key.
  std::vector<PixelBox> frames;
  // Panels, glyph cells and flames standing on the frame's bottom reach their edges on purpose;
  // any other straight run of opaque pixels along an edge is a fault.
  unsigned bleed = kNoEdge;
};

struct PictureFault {
  int x = 0, y = 0;  // in the whole picture
  std::string what;
};

// How far (in every channel) a kept pixel must stay from the key.
int FringeTolerance(std::uint32_t key);
// An opaque run along an edge at least this long is a bar.
int BarLength(int side);

// Every fault of one keyed picture, in reading order per rule.
std::vector<PictureFault> CheckKeyedPicture(const DXImage& image, std::uint32_t key, int frames,
                                            const Silhouette& silhouette);

// Per frame of `frames`, the bounds (in frame coordinates) of the pixels whose alpha is at least
// `level`; an empty box for a frame with none.
std::vector<PixelBox> FrameBounds(const Canvas& c, int frames, float level);
// The same for a mask.
PixelBox MaskBounds(const Mask& m, float level);

}  // namespace spellcrypt::art
