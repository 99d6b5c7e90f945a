// Parts, materials and light of the monster pictures; see monster_render.h.
#include "tools/art/monster_render.h"

#include <algorithm>
#include <cmath>

#include "tools/art/palette.h"

namespace spellcrypt::art::monster {

namespace {

// The outline every creature stands in, and the colours of its light.
constexpr Color kOutline = Rgb(0x0C0908);
constexpr Color kKeyLight = Rgb(0xFFE2B0);
constexpr Color kAmbient = Rgb(0x3A3E52);
constexpr Color kRimLight = Rgb(0x7890C8);

// Distance from each inside pixel to the nearest outside one (chamfer 1 / 1.414).
Mask DistanceInside(const Mask& inside) {
  const int w = inside.w, h = inside.h;
  const float big = 1e6f;
  Mask d(w, h);
  for (int i = 0; i < w * h; ++i)
    d.v[static_cast<size_t>(i)] = inside.v[static_cast<size_t>(i)] > 0.5f ? big : 0;
  const float s = 1.0f, q = 1.41421f;
  auto at = [&](int x, int y) { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : d.at(x, y); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float& v = d.at(x, y);
      if (v == 0) continue;
      v = std::min({v, at(x - 1, y) + s, at(x, y - 1) + s, at(x - 1, y - 1) + q, at(x + 1, y - 1) + q});
    }
  for (int y = h - 1; y >= 0; --y)
    for (int x = w - 1; x >= 0; --x) {
      float& v = d.at(x, y);
      if (v == 0) continue;
      v = std::min({v, at(x + 1, y) + s, at(x, y + 1) + s, at(x + 1, y + 1) + q, at(x - 1, y + 1) + q});
    }
  return d;
}

// Height (about -1..1) and brightness (about 0.6..1.3) of a surface grain at a point.
struct GrainSample {
  double height = 0;
  double tone = 1;
};

GrainSample Voronoi(double x, double y, double size, std::uint32_t seed) {
  const double px = x / size, py = y / size;
  const int cx = static_cast<int>(std::floor(px)), cy = static_cast<int>(std::floor(py));
  double f1 = 1e9, f2 = 1e9;
  int best = 0;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      const int gx = cx + i, gy = cy + j;
      const double fx = gx + 0.15 + 0.7 * Hash01(gx, gy, seed);
      const double fy = gy + 0.15 + 0.7 * Hash01(gx, gy, seed + 101);
      const double d = std::hypot(px - fx, py - fy);
      if (d < f1) {
        f2 = f1;
        f1 = d;
        best = gx * 7919 + gy;
      } else if (d < f2) {
        f2 = d;
      }
    }
  GrainSample g;
  const double crack = SmoothStep(0.0, 0.12, f2 - f1);
  g.height = crack * (0.7 + 0.3 * Hash01(best, 3, seed)) - 0.6;
  g.tone = (0.82 + 0.3 * Hash01(best, 5, seed)) * (0.4 + 0.6 * crack);
  return g;
}

GrainSample Scales(double x, double y, double size) {
  const double rowH = size * 0.55;
  const int row = static_cast<int>(std::floor(y / rowH));
  // Rows higher up lie over the ones below, so each scale shows its lower, rounded edge.
  for (int r = row - 2; r <= row + 1; ++r) {
    const double off = (r & 1) ? size * 0.5 : 0.0;
    const int col = static_cast<int>(std::floor((x - off) / size));
    for (int k = col; k <= col + 1; ++k) {
      const double cx = k * size + off + size * 0.5;
      const double cy = r * rowH;
      const double t = std::hypot((x - cx) / (size * 0.62), (y - cy) / (size * 0.62));
      if (t <= 1.0 && y >= cy - size * 0.1) {
        GrainSample g;
        g.height = 0.8 - t * t * 1.1 + (y - cy) / size * 0.4;
        g.tone = 0.78 + 0.36 * (1 - t) - SmoothStep(0.82, 1.0, t) * 0.35;
        return g;
      }
    }
  }
  return {-0.5, 0.6};
}

GrainSample SampleGrain(const Surface& s, double x, double y) {
  GrainSample g;
  const double k = 1.0 / std::max(1.0, s.grainSize);
  switch (s.grain) {
    case Grain::kSmooth:
      break;
    case Grain::kSkin: {
      const double mottle = Fbm(x * 0.07, y * 0.07, 3, s.seed);
      const double pore = Fbm(x * 0.45, y * 0.45, 2, s.seed + 9);
      g.height = (pore - 0.5) * 0.8;
      g.tone = 0.86 + 0.28 * mottle;
      break;
    }
    case Grain::kFur: {
      // Coordinates along and across the strands: straight for fur lying one way, polar for fur
      // growing outward from a point.
      double along, across;
      if (s.furCx >= 0) {
        along = std::hypot(x - s.furCx, y - s.furCy);
        across = std::atan2(y - s.furCy, x - s.furCx) * 40;
      } else {
        along = x * std::cos(s.furAngle) + y * std::sin(s.furAngle);
        across = -x * std::sin(s.furAngle) + y * std::cos(s.furAngle);
      }
      // Slightly wavy strands.
      across += (Fbm(x * 0.04, y * 0.04, 2, s.seed + 4) - 0.5) * 6;
      const double strand = Fbm(across * 0.75, along * 0.75 * k * 1.6, 2, s.seed);
      const double clump = Fbm(across * 0.12, along * 0.12 * k * 3, 2, s.seed + 7);
      g.height = (strand - 0.5) * 1.6 + (clump - 0.5) * 0.8;
      g.tone = 0.62 + 0.55 * strand * (0.6 + 0.6 * clump);
      break;
    }
    case Grain::kScales:
      g = Scales(x + (Fbm(x * 0.05, y * 0.05, 2, s.seed) - 0.5) * s.grainSize * 0.5, y, s.grainSize);
      break;
    case Grain::kStone: {
      g = Voronoi(x + (Fbm(x * 0.08, y * 0.08, 2, s.seed) - 0.5) * s.grainSize * 0.5, y, s.grainSize, s.seed);
      const double rough = Fbm(x * 0.35, y * 0.35, 3, s.seed + 3);
      g.height += (rough - 0.5) * 0.7;
      g.tone *= 0.85 + 0.3 * rough;
      break;
    }
    case Grain::kBone: {
      const double streak = Fbm(x * 0.5 * k * 6, y * 0.08, 2, s.seed);
      const double pits = Fbm(x * 0.6, y * 0.6, 2, s.seed + 5);
      g.height = (pits - 0.5) * 0.5 + (streak - 0.5) * 0.3;
      g.tone = 0.88 + 0.22 * streak - SmoothStep(0.7, 0.85, pits) * 0.2;
      break;
    }
    case Grain::kCloth: {
      const double fold = Fbm(x * 0.7 * k, y * 0.12 * k, 3, s.seed);
      const double weave = Fbm(x * 0.9, y * 0.9, 1, s.seed + 1);
      g.height = (fold - 0.5) * 3.0;
      g.tone = 0.78 + 0.4 * fold + (weave - 0.5) * 0.1;
      break;
    }
    case Grain::kShell: {
      const double ring = Fbm(x * 0.06, y * 0.5 * k * 4, 2, s.seed);
      g.height = (ring - 0.5) * 1.0;
      g.tone = 0.8 + 0.35 * ring;
      break;
    }
    case Grain::kMetal: {
      const double n = Fbm(x * 0.25, y * 0.25, 2, s.seed);
      g.height = (n - 0.5) * 0.2;
      g.tone = 0.92 + 0.12 * n;
      break;
    }
  }
  g.height *= s.grainAmount;
  g.tone = 1 + (g.tone - 1) * std::min(1.0, s.grainAmount * 1.4);
  return g;
}

}  // namespace

Mask PathMask(int w, int h, const std::function<void(cairo_t*)>& draw) {
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  draw(cr);
  SetColor(cr, {1, 1, 1, 1});
  cairo_fill(cr);
  return c.Alpha();
}

Mask StrokeMask(int w, int h, double width, const std::function<void(cairo_t*)>& draw) {
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  draw(cr);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColor(cr, {1, 1, 1, 1});
  cairo_stroke(cr);
  return c.Alpha();
}

Mask Union(const Mask& a, const Mask& b) {
  Mask o = a;
  for (size_t i = 0; i < o.v.size(); ++i) o.v[i] = std::max(a.v[i], b.v[i]);
  return o;
}

Mask Minus(const Mask& a, const Mask& b) {
  Mask o = a;
  for (size_t i = 0; i < o.v.size(); ++i) o.v[i] = std::min(a.v[i], 1.0f - b.v[i]);
  return o;
}

Mask Intersect(const Mask& a, const Mask& b) {
  Mask o = a;
  for (size_t i = 0; i < o.v.size(); ++i) o.v[i] = std::min(a.v[i], b.v[i]);
  return o;
}

Mask Ellipse(int w, int h, double cx, double cy, double rx, double ry, double angle) {
  return PathMask(w, h, [&](cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
  });
}

Mask BoxMask(int w, int h, double x0, double y0, double x1, double y1) {
  return PathMask(w, h, [&](cairo_t* cr) { cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0); });
}

Mask Place(const Mask& m, int w, int h, int x, int y) {
  Mask out(w, h);
  for (int py = 0; py < m.h; ++py)
    for (int px = 0; px < m.w; ++px) {
      const int tx = px + x, ty = py + y;
      if (tx >= 0 && ty >= 0 && tx < w && ty < h) out.at(tx, ty) = m.at(px, py);
    }
  return out;
}

Mask Thin(const Mask& shape, int r, const Mask& zone) {
  const Mask solid = Threshold(shape, 0.5f);
  const Mask opened = Dilate(Erode(solid, r), r);
  Mask out(shape.w, shape.h);
  for (size_t i = 0; i < out.v.size(); ++i)
    out.v[i] = std::min(zone.v[i], std::max(0.0f, solid.v[i] - opened.v[i]));
  return Blur(out, 1, 1);
}

Mask Holes(const Mask& icon) {
  Mask filled = FillHoles(icon, 0.5f);
  for (size_t i = 0; i < filled.v.size(); ++i) filled.v[i] = std::max(0.0f, filled.v[i] - icon.v[i]);
  return filled;
}

void SmoothOutline(cairo_t* cr, const std::vector<Pt>& p) {
  const size_t n = p.size();
  if (n < 3) return;
  cairo_move_to(cr, p[0].x, p[0].y);
  for (size_t i = 0; i < n; ++i) {
    const Pt& a = p[(i + n - 1) % n];
    const Pt& b = p[i];
    const Pt& c = p[(i + 1) % n];
    const Pt& d = p[(i + 2) % n];
    cairo_curve_to(cr, b.x + (c.x - a.x) / 6, b.y + (c.y - a.y) / 6, c.x - (d.x - b.x) / 6,
                   c.y - (d.y - b.y) / 6, c.x, c.y);
  }
  cairo_close_path(cr);
}

Mask Blob(int w, int h, const std::vector<Pt>& pts) {
  return PathMask(w, h, [&](cairo_t* cr) { SmoothOutline(cr, pts); });
}

Mask Taper(int w, int h, const std::vector<Pt>& spine, double from, double to) {
  const size_t n = spine.size();
  if (n < 2) return Mask(w, h);
  std::vector<Pt> left, right;
  for (size_t i = 0; i < n; ++i) {
    const Pt& a = spine[i == 0 ? 0 : i - 1];
    const Pt& b = spine[i == n - 1 ? n - 1 : i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::max(1e-6, std::hypot(dx, dy));
    const double half = (from + (to - from) * static_cast<double>(i) / static_cast<double>(n - 1)) / 2;
    left.push_back({spine[i].x - dy / len * half, spine[i].y + dx / len * half});
    right.push_back({spine[i].x + dy / len * half, spine[i].y - dx / len * half});
  }
  std::vector<Pt> outline = left;
  outline.push_back({spine[n - 1].x + (spine[n - 1].x - spine[n - 2].x) * 0.15,
                     spine[n - 1].y + (spine[n - 1].y - spine[n - 2].y) * 0.15});
  for (size_t i = n; i-- > 0;) outline.push_back(right[i]);
  return Blob(w, h, outline);
}

std::vector<Pt> Mirror(const std::vector<Pt>& pts, double axis) {
  std::vector<Pt> out;
  for (const Pt& p : pts) out.push_back({2 * axis - p.x, p.y});
  return out;
}

Sculpture::Sculpture(int w, int h) : w_(w), h_(h) {}

int Sculpture::Add(const Mask& shape, const Surface& s) {
  Part p;
  // The holes are filled (they come back as cut-in lines); the outer edge keeps its soft coverage.
  Mask filled = FillHoles(shape, 0.5f);
  // Closing the gaps may shut in a hole where several gaps met: fill that too.
  if (s.close > 0)
    filled = FillHoles(Union(filled, Erode(Dilate(Threshold(shape, 0.5f), s.close), s.close)), 0.5f);
  p.shape = shape;
  p.grooves = Mask(w_, h_);
  for (size_t i = 0; i < p.shape.v.size(); ++i)
    if (filled.v[i] > 0.5f) {
      p.grooves.v[i] = 1.0f - shape.v[i];
      p.shape.v[i] = std::max(shape.v[i], shape.v[i] < 0.5f ? 1.0f : 0.0f);
    }
  p.raise = Mask(w_, h_);
  p.s = s;
  parts_.push_back(std::move(p));
  return static_cast<int>(parts_.size()) - 1;
}

void Sculpture::Carve(int part, const Mask& lines, double depth) {
  Mask& g = parts_[static_cast<size_t>(part)].grooves;
  for (size_t i = 0; i < g.v.size(); ++i)
    g.v[i] = std::max(g.v[i], static_cast<float>(Clamp01(lines.v[i] * depth)));
}

void Sculpture::Tint(int part, const Mask& zone, const Color& c, double amount) {
  Mask z = zone;
  for (float& v : z.v) v = static_cast<float>(v * amount);
  parts_[static_cast<size_t>(part)].tints.emplace_back(std::move(z), c);
}

void Sculpture::Raise(int part, const Mask& zone, double height) {
  Mask& r = parts_[static_cast<size_t>(part)].raise;
  const Mask soft = Blur(zone, 3);
  for (size_t i = 0; i < r.v.size(); ++i) r.v[i] += static_cast<float>(soft.v[i] * height);
}

Mask Sculpture::Figure() const {
  Mask all(w_, h_);
  for (const Part& p : parts_) all = Union(all, p.shape);
  return Dilate(Threshold(all, 0.5f), 1);
}

Canvas Sculpture::Render() const {
  Canvas out(w_, h_);
  const Mask figure = Figure();
  out.Apply([&](int x, int y, const Color&) { return figure.at(x, y) > 0 ? kOutline : Color{0, 0, 0, 0}; });
  const double ll = std::sqrt(Light::kX * Light::kX + Light::kY * Light::kY + Light::kZ * Light::kZ);
  const double lx = Light::kX / ll, ly = Light::kY / ll, lz = Light::kZ / ll;
  const double hl = std::sqrt(lx * lx + ly * ly + (lz + 1) * (lz + 1));
  const double hx = lx / hl, hy = ly / hl, hz = (lz + 1) / hl;
  const double rl = std::hypot(lx, ly);
  for (size_t i = 0; i < parts_.size(); ++i) {
    const Part& p = parts_[i];
    const Surface& s = p.s;
    // What lies in front of this part throws its shadow down and to the right, away from the torches.
    Mask front(w_, h_);
    for (size_t j = i + 1; j < parts_.size(); ++j) front = Union(front, parts_[j].shape);
    const Mask cast = Blur(Shifted(front, 4, 5), 3);
    const Mask contact = Blur(front, 2);
    // The rounded body: a quarter circle of radius `round` in from the edge, softened.
    const Mask inside = Threshold(p.shape, 0.5f);
    const Mask dist = DistanceInside(inside);
    const Mask grooves = Blur(p.grooves, 1, 2);
    Mask height(w_, h_);
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        const double t = std::min(1.0, dist.at(x, y) / std::max(1.0, s.round));
        double hgt = s.round * std::sqrt(std::max(0.0, 1 - (1 - t) * (1 - t)));
        hgt -= grooves.at(x, y) * std::min(s.round, 6.0) * 0.7;
        hgt += p.raise.at(x, y);
        height.at(x, y) = static_cast<float>(hgt);
      }
    height = Blur(height, 1, 2);
    const Mask cavity = Blur(height, 4, 2);
    Canvas layer(w_, h_);
    const Color grooveColor = s.groove.a > 0 ? s.groove : Scale(s.base, 0.25);
    layer.Apply([&](int x, int y, const Color&) -> Color {
      const float cov = p.shape.at(x, y);
      if (cov <= 0.01f) return {0, 0, 0, 0};
      const GrainSample g = SampleGrain(s, x, y);
      const GrainSample gx1 = SampleGrain(s, x + 1, y), gy1 = SampleGrain(s, x, y + 1);
      const double dx = height.get(x + 1, y) - height.get(x - 1, y) + (gx1.height - g.height) * 1.2;
      const double dy = height.get(x, y + 1) - height.get(x, y - 1) + (gy1.height - g.height) * 1.2;
      const double nl = std::sqrt(dx * dx * 0.25 + dy * dy * 0.25 + 1);
      const double nx = -dx * 0.5 / nl, ny = -dy * 0.5 / nl, nz = 1 / nl;
      Color albedo = s.base;
      for (const auto& [zone, tint] : p.tints) albedo = Mix(albedo, tint, Clamp01(zone.at(x, y)));
      albedo = Scale(albedo, g.tone);
      albedo = Mix(albedo, grooveColor, Clamp01(grooves.at(x, y) * 1.3));
      const double wrap = 0.2;
      const double diffuse = std::max(0.0, (nx * lx + ny * ly + nz * lz + wrap) / (1 + wrap));
      const double specular = std::pow(std::max(0.0, nx * hx + ny * hy + nz * hz), s.gloss) * s.shine;
      // Cold light on the edges turned away from the torches.
      const double away = std::max(0.0, -(nx * lx + ny * ly) / rl);
      const double rim = std::pow(1 - nz, 1.5) * away * 0.55 * s.rim;
      const double crease = Clamp01((cavity.at(x, y) - height.at(x, y)) / 3.0);
      const double shade = (1 - 0.6 * cast.at(x, y)) * (1 - 0.3 * contact.at(x, y)) * (1 - 0.55 * crease);
      // The torches are above: the light fades toward the floor.
      const double fall = 1.08 - 0.3 * y / h_;
      Color c;
      c.r = albedo.r * (kAmbient.r + kKeyLight.r * 1.15 * diffuse * fall) * shade + specular * kKeyLight.r +
            rim * kRimLight.r;
      c.g = albedo.g * (kAmbient.g + kKeyLight.g * 1.15 * diffuse * fall) * shade + specular * kKeyLight.g +
            rim * kRimLight.g;
      c.b = albedo.b * (kAmbient.b + kKeyLight.b * 1.15 * diffuse * fall) * shade + specular * kKeyLight.b +
            rim * kRimLight.b;
      // A dark line where the part's edge lies over whatever is behind it.
      const double edge = 1 - SmoothStep(0.0, 1.6, dist.at(x, y));
      c = Mix(c, kOutline, edge * s.line);
      c.r = Clamp01(c.r);
      c.g = Clamp01(c.g);
      c.b = Clamp01(c.b);
      c.a = cov;
      return c;
    });
    out.Draw(layer, 0, 0);
  }
  return out;
}

void Eye(Canvas& c, double x, double y, double r, const EyeLook& look, double ry) {
  if (ry <= 0) ry = r;
  cairo_t* cr = c.cr();
  // The socket: a soft shadow around the eye.
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1, ry / r);
  cairo_pattern_t* sock = cairo_pattern_create_radial(0, 0, r * 0.8, 0, 0, r * 1.7);
  cairo_pattern_add_color_stop_rgba(sock, 0, 0.03, 0.02, 0.02, 0.75);
  cairo_pattern_add_color_stop_rgba(sock, 1, 0.03, 0.02, 0.02, 0);
  cairo_set_source(cr, sock);
  cairo_arc(cr, 0, 0, r * 1.7, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(sock);
  cairo_restore(cr);
  if (look.glow > 0) GlowOn(c, x, y, r * 3.2, look.iris, look.glow * 0.6);

  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1, ry / r);
  cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
  cairo_clip(cr);
  // Eyeball, then the iris lit from inside, brightest below the centre where the torchlight lands.
  if (look.white) {
    SetColor(cr, Rgb(0xE8E0CC));
    cairo_paint(cr);
  }
  const double ir = look.white ? r * look.irisSize : r;
  cairo_pattern_t* g = cairo_pattern_create_radial(r * 0.1, r * 0.25, 0, 0, 0, ir);
  const Color hot = Mix(look.iris, Rgb(0xFFF6D8), 0.65);
  const Color deep = Scale(look.iris, 0.45);
  cairo_pattern_add_color_stop_rgb(g, 0, hot.r, hot.g, hot.b);
  cairo_pattern_add_color_stop_rgb(g, 0.55, look.iris.r, look.iris.g, look.iris.b);
  cairo_pattern_add_color_stop_rgb(g, 1, deep.r, deep.g, deep.b);
  cairo_set_source(cr, g);
  cairo_arc(cr, 0, 0, ir, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, Rgb(0x0A0606));
  if (look.pupil == Pupil::kRound) {
    cairo_arc(cr, 0, 0, ir * 0.42, 0, 2 * M_PI);
    cairo_fill(cr);
  } else if (look.pupil == Pupil::kSlit) {
    cairo_save(cr);
    cairo_scale(cr, 0.22, 1);
    cairo_arc(cr, 0, 0, ir * 0.95, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
  }
  // Upper lid: its shadow falls on the top of the eye.
  cairo_pattern_t* top = cairo_pattern_create_linear(0, -r, 0, r * 0.2);
  cairo_pattern_add_color_stop_rgba(top, 0, 0, 0, 0, 0.55);
  cairo_pattern_add_color_stop_rgba(top, 1, 0, 0, 0, 0);
  cairo_set_source(cr, top);
  cairo_paint(cr);
  cairo_pattern_destroy(top);
  if (look.lid > 0) {
    cairo_save(cr);
    cairo_rotate(cr, look.tilt);
    const double edge = -r + 2 * r * look.lid;
    cairo_rectangle(cr, -r * 2, -r * 2, r * 4, edge + r * 2);
    SetColor(cr, Rgb(0x120C0A));
    cairo_fill(cr);
    cairo_restore(cr);
  }
  cairo_restore(cr);
  // Dark rim around the eye.
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1, ry / r);
  cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Rgb(0x0A0606), 0.9);
  cairo_set_line_width(cr, std::max(0.8, r * 0.18));
  cairo_stroke(cr);
  // Catchlight: the torch mirrored on the wet eye, upper left.
  const double lidTop = look.lid > 0 ? -ry + 2 * ry * look.lid : -ry;
  const double cy = std::max(-ry * 0.38, lidTop + r * 0.3);
  cairo_arc(cr, x - r * 0.34, y + cy, std::max(0.9, r * 0.26), 0, 2 * M_PI);
  SetColor(cr, Rgb(0xFFFCF0));
  cairo_fill(cr);
  // A small eye still gets one whole bright pixel, or its glint melts into the iris.
  if (r < 4) {
    const int gx = static_cast<int>(std::floor(x - r * 0.34)), gy = static_cast<int>(std::floor(y + cy));
    if (gx >= 0 && gy >= 0 && gx < c.width() && gy < c.height()) c.Set(gx, gy, Rgb(0xFFFCF0));
  }
  if (r > 4) {
    cairo_arc(cr, x + r * 0.32, y + ry * 0.34, r * 0.1, 0, 2 * M_PI);
    SetColor(cr, Rgb(0xFFFCF0), 0.7);
    cairo_fill(cr);
  }
}

void GlowOn(Canvas& c, double x, double y, double radius, const Color& color, double strength) {
  const int x0 = std::max(0, static_cast<int>(x - radius)),
            x1 = std::min(c.width() - 1, static_cast<int>(x + radius));
  const int y0 = std::max(0, static_cast<int>(y - radius)),
            y1 = std::min(c.height() - 1, static_cast<int>(y + radius));
  for (int py = y0; py <= y1; ++py)
    for (int px = x0; px <= x1; ++px) {
      Color p = c.Get(px, py);
      if (p.a < 0.5) continue;
      const double d = std::hypot(px - x, py - y) / radius;
      if (d >= 1) continue;
      const double k = (1 - d) * (1 - d) * strength;
      p.r = Clamp01(p.r + color.r * k);
      p.g = Clamp01(p.g + color.g * k);
      p.b = Clamp01(p.b + color.b * k);
      c.Set(px, py, p);
    }
}

void Fang(Canvas& c, double x0, double y0, double x1, double y1, double width, const Color& color,
          double bend) {
  cairo_t* cr = c.cr();
  const double dx = x1 - x0, dy = y1 - y0;
  const double len = std::hypot(dx, dy);
  if (len <= 0) return;
  const double nx = -dy / len, ny = dx / len;
  const double mx = (x0 + x1) / 2 + nx * bend * len, my = (y0 + y1) / 2 + ny * bend * len;
  cairo_move_to(cr, x0 - nx * width / 2, y0 - ny * width / 2);
  cairo_curve_to(cr, mx - nx * width * 0.3, my - ny * width * 0.3, x1, y1, x1, y1);
  cairo_curve_to(cr, x1, y1, mx + nx * width * 0.3, my + ny * width * 0.3, x0 + nx * width / 2,
                 y0 + ny * width / 2);
  cairo_close_path(cr);
  // Lit on the side facing the torches.
  const double side = (nx * Light::kX + ny * Light::kY) > 0 ? 1 : -1;
  cairo_pattern_t* g = cairo_pattern_create_linear(mx + nx * width * side, my + ny * width * side,
                                                   mx - nx * width * side, my - ny * width * side);
  const Color lit = Mix(color, Rgb(0xFFFBEA), 0.55), dark = Scale(color, 0.5);
  cairo_pattern_add_color_stop_rgb(g, 0, lit.r, lit.g, lit.b);
  cairo_pattern_add_color_stop_rgb(g, 0.5, color.r, color.g, color.b);
  cairo_pattern_add_color_stop_rgb(g, 1, dark.r, dark.g, dark.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, Rgb(0x140C08), 0.85);
  cairo_set_line_width(cr, std::max(0.7, width * 0.12));
  cairo_stroke(cr);
}

void Shadow(Canvas& c, const Mask& m, const Color& color, double opacity) {
  c.PaintMask(m, color, 0, 0, opacity);
}

void Hollow(Canvas& c, const Mask& m, std::uint32_t rgb, double opacity) {
  Shadow(c, Blur(m, 1, 1), Rgb(rgb), opacity);
}

void Harden(Canvas& c, const Mask& figure) {
  auto in = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < figure.w && y < figure.h && figure.at(x, y) > 0.5f;
  };
  c.Apply([&](int x, int y, const Color& p) -> Color {
    if (!in(x, y)) return {0, 0, 0, 0};
    // Anything not fully covered inside the figure sits on the dark outline colour, and so does
    // the figure's outermost ring, whatever was painted over it (a glowing eye at the very edge).
    const bool rim = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
    Color o = Mix(kOutline, {p.r, p.g, p.b, 1}, rim ? std::min(p.a, 0.2) : p.a);
    o.a = 1;
    return o;
  });
}

}  // namespace spellcrypt::art::monster
