// Drawing surfaces for the picture generator: a Cairo canvas with straight pixel access, and
// grey-level masks for shapes, shading and glows.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/art/palette.h"

namespace spellcrypt::art {

// A grey-level image of floats (coverage, height or light), 0..1 unless said otherwise.
struct Mask {
  int w = 0;
  int h = 0;
  std::vector<float> v;

  Mask() = default;
  Mask(int width, int height, float fill = 0.0f)
      : w(width), h(height), v(static_cast<size_t>(width) * height, fill) {}
  float& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
  float at(int x, int y) const { return v[static_cast<size_t>(y) * w + x]; }
  // Clamped read, so filters need no border cases.
  float get(int x, int y) const;
  float Sample(double x, double y) const;  // bilinear
};

Mask Blur(const Mask& m, int radius, int passes = 3);
Mask Dilate(const Mask& m, int radius);
Mask Threshold(const Mask& m, float level);
// Shrinks a shape (the opposite of Dilate); Erode(Dilate(m, r), r) closes gaps narrower than 2r.
Mask Erode(const Mask& m, int radius);
// Marks every pixel not reachable from the border through pixels below `level`: the shape with
// its holes filled.
Mask FillHoles(const Mask& m, float level);
Mask Shifted(const Mask& m, int dx, int dy);

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas& other);
  Canvas& operator=(const Canvas& other);
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }

  // Straight (not premultiplied) pixel access; Cairo drawing and pixel access may be mixed.
  Color Get(int x, int y) const;
  void Set(int x, int y, const Color& c);
  void Blend(int x, int y, const Color& c, double alpha);

  // Per-pixel rewrite: f(x, y, current) returns the new colour.
  void Apply(const std::function<Color(int, int, const Color&)>& f);
  Mask Alpha() const;

  void Fill(const Color& c);
  void Clear();
  Canvas Crop(int x, int y, int w, int h) const;
  // Draws `src` at (x, y) with an overall opacity.
  void Draw(const Canvas& src, double x, double y, double opacity = 1.0);
  void DrawScaled(const Canvas& src, double x, double y, double w, double h, double opacity = 1.0);
  // Paints a colour through a mask placed at (x, y).
  void PaintMask(const Mask& m, const Color& c, int x = 0, int y = 0, double opacity = 1.0);

 private:
  void Reset(int width, int height);
  int width_ = 0;
  int height_ = 0;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

// Deterministic noise: value noise and its fractal sum, about -1..1 / 0..1.
double Hash01(int x, int y, std::uint32_t seed);
double ValueNoise(double x, double y, std::uint32_t seed);
double Fbm(double x, double y, int octaves, std::uint32_t seed);

// Small random source for layout decisions, independent of any library's generator.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  std::uint32_t Next();
  double Uniform();                    // 0..1
  double Range(double lo, double hi);  // lo..hi
  int Int(int lo, int hi);             // lo..hi inclusive
 private:
  std::uint32_t state_;
};

inline double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
double SmoothStep(double e0, double e1, double x);

// Cairo helpers.
void SetColor(cairo_t* cr, const Color& c);
void SetColor(cairo_t* cr, const Color& c, double alpha);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

}  // namespace spellcrypt::art
