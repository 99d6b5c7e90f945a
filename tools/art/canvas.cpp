// Cairo canvas with straight pixel access, grey-level masks and deterministic noise.
#include "tools/art/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <deque>
#include <utility>

namespace spellcrypt::art {

Color Mix(const Color& a, const Color& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color Scale(const Color& c, double f) { return {c.r * f, c.g * f, c.b * f, c.a}; }

double SmoothStep(double e0, double e1, double x) {
  const double t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// ---- Mask ----------------------------------------------------------------------------------

float Mask::get(int x, int y) const {
  x = std::clamp(x, 0, w - 1);
  y = std::clamp(y, 0, h - 1);
  return at(x, y);
}

float Mask::Sample(double x, double y) const {
  const int x0 = static_cast<int>(std::floor(x));
  const int y0 = static_cast<int>(std::floor(y));
  const float fx = static_cast<float>(x - x0);
  const float fy = static_cast<float>(y - y0);
  const float a = get(x0, y0) * (1 - fx) + get(x0 + 1, y0) * fx;
  const float b = get(x0, y0 + 1) * (1 - fx) + get(x0 + 1, y0 + 1) * fx;
  return a * (1 - fy) + b * fy;
}

namespace {

// One box-blur pass along rows (horizontal) or columns, with edges extended.
void BoxPass(const Mask& in, Mask& out, int r, bool horizontal) {
  const int n = horizontal ? in.w : in.h;
  const int lines = horizontal ? in.h : in.w;
  const float scale = 1.0f / static_cast<float>(2 * r + 1);
  for (int line = 0; line < lines; ++line) {
    auto read = [&](int i) {
      i = std::clamp(i, 0, n - 1);
      return horizontal ? in.at(i, line) : in.at(line, i);
    };
    float sum = 0;
    for (int i = -r; i <= r; ++i) sum += read(i);
    for (int i = 0; i < n; ++i) {
      (horizontal ? out.at(i, line) : out.at(line, i)) = sum * scale;
      sum += read(i + r + 1) - read(i - r);
    }
  }
}

}  // namespace

Mask Blur(const Mask& m, int radius, int passes) {
  if (radius <= 0 || m.w == 0) return m;
  Mask a = m;
  Mask b(m.w, m.h);
  for (int p = 0; p < passes; ++p) {
    BoxPass(a, b, radius, true);
    BoxPass(b, a, radius, false);
  }
  return a;
}

Mask Dilate(const Mask& m, int radius) {
  Mask tmp(m.w, m.h);
  Mask out(m.w, m.h);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float best = 0;
      for (int d = -radius; d <= radius; ++d) best = std::max(best, m.get(x + d, y));
      tmp.at(x, y) = best;
    }
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float best = 0;
      for (int d = -radius; d <= radius; ++d) best = std::max(best, tmp.get(x, y + d));
      out.at(x, y) = best;
    }
  return out;
}

Mask Erode(const Mask& m, int radius) {
  Mask inv(m.w, m.h);
  for (size_t i = 0; i < m.v.size(); ++i) inv.v[i] = 1.0f - m.v[i];
  Mask grown = Dilate(inv, radius);
  for (float& v : grown.v) v = 1.0f - v;
  return grown;
}

Mask Threshold(const Mask& m, float level) {
  Mask out(m.w, m.h);
  for (size_t i = 0; i < m.v.size(); ++i) out.v[i] = m.v[i] >= level ? 1.0f : 0.0f;
  return out;
}

Mask FillHoles(const Mask& m, float level) {
  Mask outside(m.w, m.h, 0.0f);
  std::deque<std::pair<int, int>> queue;
  auto seed = [&](int x, int y) {
    if (m.at(x, y) < level && outside.at(x, y) == 0.0f) {
      outside.at(x, y) = 1.0f;
      queue.emplace_back(x, y);
    }
  };
  for (int x = 0; x < m.w; ++x) {
    seed(x, 0);
    seed(x, m.h - 1);
  }
  for (int y = 0; y < m.h; ++y) {
    seed(0, y);
    seed(m.w - 1, y);
  }
  while (!queue.empty()) {
    auto [x, y] = queue.front();
    queue.pop_front();
    if (x > 0) seed(x - 1, y);
    if (x + 1 < m.w) seed(x + 1, y);
    if (y > 0) seed(x, y - 1);
    if (y + 1 < m.h) seed(x, y + 1);
  }
  Mask out(m.w, m.h);
  for (size_t i = 0; i < m.v.size(); ++i) out.v[i] = outside.v[i] > 0 ? m.v[i] : 1.0f;
  return out;
}

Mask Shifted(const Mask& m, int dx, int dy) {
  Mask out(m.w, m.h);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      const int sx = x - dx;
      const int sy = y - dy;
      out.at(x, y) = (sx >= 0 && sy >= 0 && sx < m.w && sy < m.h) ? m.at(sx, sy) : 0.0f;
    }
  return out;
}

// ---- Canvas --------------------------------------------------------------------------------

Canvas::Canvas(int width, int height) { Reset(width, height); }

Canvas::~Canvas() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

void Canvas::Reset(int width, int height) {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
  width_ = width;
  height_ = height;
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
}

Canvas::Canvas(const Canvas& other) {
  Reset(other.width_, other.height_);
  Draw(other, 0, 0);
}

Canvas& Canvas::operator=(const Canvas& other) {
  if (this != &other) {
    Reset(other.width_, other.height_);
    Draw(other, 0, 0);
  }
  return *this;
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_), height_(other.height_), surface_(other.surface_), cr_(other.cr_) {
  other.surface_ = nullptr;
  other.cr_ = nullptr;
}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(surface_, other.surface_);
  std::swap(cr_, other.cr_);
  return *this;
}

namespace {

// Cairo's pixels are premultiplied ARGB words in the machine's own byte order.
std::uint32_t Pack(const Color& c) {
  const double a = Clamp01(c.a);
  auto ch = [a](double v) { return static_cast<std::uint32_t>(std::lround(Clamp01(v) * a * 255.0)); };
  return (static_cast<std::uint32_t>(std::lround(a * 255.0)) << 24) | (ch(c.r) << 16) | (ch(c.g) << 8) |
         ch(c.b);
}

Color Unpack(std::uint32_t p) {
  const double a = ((p >> 24) & 0xFF) / 255.0;
  if (a <= 0) return {0, 0, 0, 0};
  return {((p >> 16) & 0xFF) / 255.0 / a, ((p >> 8) & 0xFF) / 255.0 / a, (p & 0xFF) / 255.0 / a, a};
}

}  // namespace

Color Canvas::Get(int x, int y) const {
  cairo_surface_flush(surface_);
  const auto* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  return Unpack(reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride)[x]);
}

void Canvas::Set(int x, int y, const Color& c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  cairo_surface_flush(surface_);
  auto* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride)[x] = Pack(c);
  cairo_surface_mark_dirty(surface_);
}

void Canvas::Blend(int x, int y, const Color& c, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const Color d = Get(x, y);
  const double sa = Clamp01(alpha * c.a);
  const double oa = sa + d.a * (1 - sa);
  if (oa <= 0) return;
  Color o{(c.r * sa + d.r * d.a * (1 - sa)) / oa, (c.g * sa + d.g * d.a * (1 - sa)) / oa,
          (c.b * sa + d.b * d.a * (1 - sa)) / oa, oa};
  Set(x, y, o);
}

void Canvas::Apply(const std::function<Color(int, int, const Color&)>& f) {
  cairo_surface_flush(surface_);
  auto* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x) row[x] = Pack(f(x, y, Unpack(row[x])));
  }
  cairo_surface_mark_dirty(surface_);
}

Mask Canvas::Alpha() const {
  cairo_surface_flush(surface_);
  const auto* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  Mask m(width_, height_);
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x) m.at(x, y) = static_cast<float>(((row[x] >> 24) & 0xFF) / 255.0);
  }
  return m;
}

void Canvas::Fill(const Color& c) {
  cairo_save(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  SetColor(cr_, c);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void Canvas::Clear() { Fill({0, 0, 0, 0}); }

Canvas Canvas::Crop(int x, int y, int w, int h) const {
  Canvas out(w, h);
  out.Draw(*this, -x, -y);
  return out;
}

void Canvas::Draw(const Canvas& src, double x, double y, double opacity) {
  cairo_surface_flush(src.surface_);
  cairo_save(cr_);
  cairo_set_source_surface(cr_, src.surface_, x, y);
  cairo_paint_with_alpha(cr_, opacity);
  cairo_restore(cr_);
}

void Canvas::DrawScaled(const Canvas& src, double x, double y, double w, double h, double opacity) {
  cairo_surface_flush(src.surface_);
  cairo_save(cr_);
  cairo_translate(cr_, x, y);
  cairo_scale(cr_, w / src.width_, h / src.height_);
  cairo_set_source_surface(cr_, src.surface_, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(cr_, opacity);
  cairo_restore(cr_);
}

void Canvas::PaintMask(const Mask& m, const Color& c, int x, int y, double opacity) {
  Apply([&](int px, int py, const Color& d) {
    const int mx = px - x;
    const int my = py - y;
    if (mx < 0 || my < 0 || mx >= m.w || my >= m.h) return d;
    const double sa = Clamp01(static_cast<double>(m.at(mx, my)) * opacity * c.a);
    if (sa <= 0.002) return d;
    const double oa = sa + d.a * (1 - sa);
    return Color{(c.r * sa + d.r * d.a * (1 - sa)) / oa, (c.g * sa + d.g * d.a * (1 - sa)) / oa,
                 (c.b * sa + d.b * d.a * (1 - sa)) / oa, oa};
  });
}

// ---- noise ---------------------------------------------------------------------------------

double Hash01(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}

double ValueNoise(double x, double y, std::uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x));
  const int y0 = static_cast<int>(std::floor(y));
  const double fx = x - x0;
  const double fy = y - y0;
  const double sx = fx * fx * (3 - 2 * fx);
  const double sy = fy * fy * (3 - 2 * fy);
  const double a = Hash01(x0, y0, seed) + (Hash01(x0 + 1, y0, seed) - Hash01(x0, y0, seed)) * sx;
  const double b = Hash01(x0, y0 + 1, seed) + (Hash01(x0 + 1, y0 + 1, seed) - Hash01(x0, y0 + 1, seed)) * sx;
  return a + (b - a) * sy;
}

double Fbm(double x, double y, int octaves, std::uint32_t seed) {
  double sum = 0;
  double amp = 0.5;
  double norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101u) * amp;
    norm += amp;
    x *= 2.03;
    y *= 2.03;
    amp *= 0.5;
  }
  return sum / norm;
}

std::uint32_t Rng::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Rng::Uniform() { return (Next() & 0xFFFFFF) / static_cast<double>(0x1000000); }
double Rng::Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
int Rng::Int(int lo, int hi) {
  return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1));
}

// ---- Cairo helpers ------------------------------------------------------------------------

void SetColor(cairo_t* cr, const Color& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }
void SetColor(cairo_t* cr, const Color& c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

}  // namespace spellcrypt::art
