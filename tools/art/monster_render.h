// The monsters' own way of drawing: a creature is built from parts (head, jaw, arm, wing...), each a
// shape with a material, laid back to front. Every part is rounded from its outline, textured (fur,
// scales, stone, bone, skin, cloth) and lit by the dungeon's torches on the upper left, with a cold
// rim light on the far edges, shadows cast by the parts in front onto those behind and a hard dark
// outline around the whole creature, so it cuts cleanly out of the colour key.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tools/art/canvas.h"

namespace spellcrypt::art::monster {

enum class Grain { kSmooth, kSkin, kFur, kScales, kStone, kBone, kCloth, kShell, kMetal };

struct Surface {
  Color base;
  Color groove{0, 0, 0, 0};  // colour of cut-in lines; clear means a darker base
  Grain grain = Grain::kSmooth;
  double grainAmount = 0.5;
  double grainSize = 6;           // pixels: a scale, a stone block, a length of fur
  double furAngle = M_PI / 2;     // direction the fur lies (pi/2: straight down)
  double furCx = -1, furCy = -1;  // when set, the fur lies outward from this point
  double round = 10;              // radius of the rounded rim, pixels
  double shine = 0.12;
  double gloss = 16;
  double rim = 1.0;    // strength of the cold rim light on the far edges
  double line = 0.75;  // darkness of the line where this part lies over others
  int close = 0;       // gaps narrower than twice this are closed and come out as cut-in lines
  std::uint32_t seed = 1;
};

// Coverage of a path filled by `draw` (which builds the path; the caller does not fill it).
Mask PathMask(int w, int h, const std::function<void(cairo_t*)>& draw);
// Coverage of a stroked path, `width` pixels wide with round ends.
Mask StrokeMask(int w, int h, double width, const std::function<void(cairo_t*)>& draw);
Mask Union(const Mask& a, const Mask& b);
Mask Minus(const Mask& a, const Mask& b);
Mask Intersect(const Mask& a, const Mask& b);
// Ellipse coverage, for quick round parts.
Mask Ellipse(int w, int h, double cx, double cy, double rx, double ry, double angle = 0);
// A filled rectangle from (x0, y0) to (x1, y1).
Mask BoxMask(int w, int h, double x0, double y0, double x1, double y1);
// A mask moved to (x, y) on a w x h mask.
Mask Place(const Mask& m, int w, int h, int x, int y);
// The thin spikes of a shape inside a zone (teeth, claws): what an opening of radius r removes.
Mask Thin(const Mask& shape, int r, const Mask& zone);
// The cut-in detail of an icon: its holes, as 0..1.
Mask Holes(const Mask& icon);

struct Pt {
  double x, y;
};
// A smooth closed outline through the points (a Catmull-Rom curve), added to the path.
void SmoothOutline(cairo_t* cr, const std::vector<Pt>& pts);
// Coverage of a smooth closed outline through the points.
Mask Blob(int w, int h, const std::vector<Pt>& pts);
// A horn, finger, tail or strand: a smooth body along the points, `from` wide at the first and
// `to` wide at the last.
Mask Taper(int w, int h, const std::vector<Pt>& spine, double from, double to);
// The same shape mirrored left to right about x = axis.
std::vector<Pt> Mirror(const std::vector<Pt>& pts, double axis);

class Sculpture {
 public:
  Sculpture(int w, int h);
  int w() const { return w_; }
  int h() const { return h_; }
  // Adds a part on top of those so far; its holes (if any) become cut-in lines. Returns its index.
  int Add(const Mask& shape, const Surface& s);
  // Cuts lines (wrinkles, stitches, seams) into a part.
  void Carve(int part, const Mask& lines, double depth = 1.0);
  // Recolours a zone of a part without giving it an edge of its own (a belly, a patch of moss).
  void Tint(int part, const Mask& zone, const Color& c, double amount = 1.0);
  // Raises (or, negative, sinks) a soft zone of a part: brows, cheekbones, sockets.
  void Raise(int part, const Mask& zone, double height);
  Canvas Render() const;
  // Where the rendered figure is opaque: the parts and their outline.
  Mask Figure() const;

 private:
  struct Part {
    Mask shape;
    Surface s;
    Mask grooves;
    Mask raise;
    std::vector<std::pair<Mask, Color>> tints;
  };
  int w_, h_;
  std::vector<Part> parts_;
};

enum class Pupil { kRound, kSlit, kNone };

struct EyeLook {
  Color iris;
  Pupil pupil = Pupil::kRound;
  double lid = 0.0;       // how far the upper lid comes down, 0..1
  double tilt = 0.0;      // slant of the lid, radians (positive: the inner corner lower, an angry look)
  double glow = 0.6;      // light the eye throws on the face around it
  bool white = false;     // a white eyeball around the iris (humanlike eyes)
  double irisSize = 0.8;  // iris radius as a share of the eye's
};

// An eye that catches the torchlight: socket shadow, lit iris, pupil, lid and a bright catchlight.
// `ry` is the vertical radius (0: round).
void Eye(Canvas& c, double x, double y, double r, const EyeLook& look, double ry = 0);
// Adds light on the figure only (pixels already opaque), for glowing eyes, orbs and embers.
void GlowOn(Canvas& c, double x, double y, double radius, const Color& color, double strength);
// A tooth or claw: a curved cone from its root (x0, y0) to its tip (x1, y1), ivory, lit from the
// upper left, with a thin dark edge.
void Fang(Canvas& c, double x0, double y0, double x1, double y1, double width, const Color& color,
          double bend = 0.0);
// A soft dark shape painted on the figure (mouth insides, nostrils, deep sockets).
void Shadow(Canvas& c, const Mask& m, const Color& color, double opacity);
// A dark opening (mouth, nostril) with a slightly softened edge.
void Hollow(Canvas& c, const Mask& m, std::uint32_t rgb = 0x140808, double opacity = 0.95);
// Clears everything outside `figure` and makes what is inside fully opaque: hard edges against the
// colour key.
void Harden(Canvas& c, const Mask& figure);

}  // namespace spellcrypt::art::monster
