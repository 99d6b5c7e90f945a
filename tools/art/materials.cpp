// Materials of the game's look; see materials.h.
#include "tools/art/materials.h"

#include <algorithm>
#include <cmath>

namespace spellcrypt::art {

namespace {

// Light reaching a point of a surface with normal (nx, ny, nz) at height z above the wall.
Color LightAt(double x, double y, double nx, double ny, double nz, const std::vector<TorchLamp>& lamps,
              double ambient) {
  Color sum{ambient * 0.85, ambient * 0.8, ambient * 0.9, 1};
  for (const TorchLamp& l : lamps) {
    const double dx = l.x - x;
    const double dy = l.y - y;
    const double dz = l.radius * 0.35;
    const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double ndotl = std::max(0.0, (nx * dx + ny * dy + nz * dz) / d);
    const double fall = 1.0 / (1.0 + (d * d) / (l.radius * l.radius) * 3.0);
    const double e = l.strength * fall * (0.35 + 0.9 * ndotl);
    sum.r += l.color.r * e;
    sum.g += l.color.g * e;
    sum.b += l.color.b * e;
  }
  return sum;
}

}  // namespace

StoneCourse StoneCourseAt(int row, std::uint32_t seed, double blockW) {
  // Each row has its own block width, so the courses do not look machine-cut.
  return {Hash01(row, 7, seed) * blockW, blockW * (0.8 + 0.45 * Hash01(row, 3, seed))};
}

void StoneWall(Canvas& c, const Rect& area, std::uint32_t seed, double blockW, double blockH,
               const std::vector<TorchLamp>& lamps, double ambient) {
  const int x0 = static_cast<int>(area.x);
  const int y0 = static_cast<int>(area.y);
  const int w = static_cast<int>(area.w);
  const int h = static_cast<int>(area.h);
  Mask height(w + 2, h + 2);
  Mask tone(w + 2, h + 2);
  for (int y = 0; y < h + 2; ++y)
    for (int x = 0; x < w + 2; ++x) {
      const double py = y + area.y;
      const int row = static_cast<int>(std::floor(py / blockH));
      const auto [offset, bw] = StoneCourseAt(row, seed, blockW);
      const double px = x + area.x + offset;
      const int col = static_cast<int>(std::floor(px / bw));
      const double u = px - col * bw;
      const double v = py - row * blockH;
      const double wob = (Fbm(px * 0.08, py * 0.08, 3, seed + 5) - 0.5) * 3.0;
      const double edge = std::min({u, bw - u, v, blockH - v}) + wob;
      const double bevel = SmoothStep(0.5, 5.0, edge);
      const double rough = Fbm(px * 0.11, py * 0.11, 4, seed + 11);
      height.at(x, y) = static_cast<float>(bevel * 0.85 + rough * 0.35);
      tone.at(x, y) = static_cast<float>(edge < 1.2 ? -1.0 : Hash01(col, row, seed + 17) * 0.5 + rough * 0.5);
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double dx = (height.at(x + 2, y + 1) - height.at(x, y + 1)) * 2.2;
      const double dy = (height.at(x + 1, y + 2) - height.at(x + 1, y)) * 2.2;
      const double len = std::sqrt(dx * dx + dy * dy + 1);
      const double nx = -dx / len, ny = -dy / len, nz = 1 / len;
      const double t = tone.at(x + 1, y + 1);
      Color base = t < 0 ? pal::kMortar : Mix(pal::kStoneDark, pal::kStoneLight, 0.25 + t * 0.55);
      // Damp streaks and moss in the lower courses.
      const double damp = Fbm((x + x0) * 0.02, (y + y0) * 0.06, 3, seed + 29);
      base = Mix(base, Rgb(0x2E3325), SmoothStep(0.62, 0.8, damp) * 0.5);
      const Color light = LightAt(x + x0, y + y0, nx, ny, nz, lamps, ambient);
      c.Set(x + x0, y + y0, {base.r * light.r, base.g * light.g, base.b * light.b, 1});
    }
}

void StoneFloor(Canvas& c, const Rect& area, std::uint32_t seed, const std::vector<TorchLamp>& lamps) {
  // Flagstone rows that grow taller and wider toward the viewer.
  const double cx = area.x + area.w / 2;
  const int x0 = static_cast<int>(area.x);
  const int y0 = static_cast<int>(area.y);
  for (int y = 0; y < static_cast<int>(area.h); ++y) {
    const double t = y / area.h;                   // 0 far, 1 near
    const double depth = std::pow(t + 0.15, 1.6);  // position along the floor
    const double rowF = depth * 5.0;
    const int row = static_cast<int>(std::floor(rowF));
    const double inRow = rowF - row;
    const double rowPx = 5.0 * 1.6 * std::pow(t + 0.15, 0.6) * area.h / 5.0;  // rough row height in pixels
    const double scale = 0.35 + 0.9 * t;  // stones widen toward the viewer
    for (int x = 0; x < static_cast<int>(area.w); ++x) {
      const double fx = (x + area.x - cx) / (34.0 * scale) + Hash01(row, 5, seed) * 3;
      const int col = static_cast<int>(std::floor(fx));
      const double u = fx - col;
      const double edgeV = std::min(inRow, 1 - inRow) * rowPx;
      const double edgeU = std::min(u, 1 - u) * 34.0 * scale;
      const double edge = std::min(edgeU, edgeV);
      const double rough = Fbm(fx * 2, rowF * 2, 3, seed);
      const double tone = Hash01(col, row, seed + 3);
      Color base =
          edge < 1.0 ? pal::kMortar : Mix(pal::kStoneDark, pal::kStone, 0.25 + 0.35 * tone + 0.3 * rough);
      // Stones catch the light on their far edge.
      if (edge >= 1.0 && inRow < 0.15) base = Mix(base, pal::kStoneLight, 0.25);
      const Color light = LightAt(x + x0, y + y0, 0, -0.7, 0.7, lamps, 0.22);
      c.Set(x + x0, y + y0, {base.r * light.r, base.g * light.g, base.b * light.b, 1});
    }
  }
}

void Vignette(Canvas& c, double strength) {
  const double cx = c.width() / 2.0, cy = c.height() / 2.0;
  const double maxd = std::sqrt(cx * cx + cy * cy);
  c.Apply([&](int x, int y, const Color& p) {
    const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / maxd;
    const double f = 1.0 - strength * SmoothStep(0.45, 1.0, d);
    return Color{p.r * f, p.g * f, p.b * f, p.a};
  });
}

void Glow(Canvas& c, double x, double y, double radius, const Color& color, double strength) {
  const int x0 = std::max(0, static_cast<int>(x - radius * 2));
  const int x1 = std::min(c.width() - 1, static_cast<int>(x + radius * 2));
  const int y0 = std::max(0, static_cast<int>(y - radius * 2));
  const int y1 = std::min(c.height() - 1, static_cast<int>(y + radius * 2));
  for (int py = y0; py <= y1; ++py)
    for (int px = x0; px <= x1; ++px) {
      const double d2 = ((px - x) * (px - x) + (py - y) * (py - y)) / (radius * radius);
      const double e = strength / (1.0 + d2 * 3.0) - strength * 0.06;
      if (e <= 0) continue;
      const Color p = c.Get(px, py);
      c.Set(px, py,
            {p.r + color.r * e * (0.3 + p.r), p.g + color.g * e * (0.3 + p.g),
             p.b + color.b * e * (0.3 + p.b), p.a});
    }
}

void Parchment(Canvas& c, const Rect& r, std::uint32_t seed, double radius, double burn) {
  Canvas layer(c.width(), c.height());
  cairo_t* cr = layer.cr();
  RoundedRect(cr, r.x, r.y, r.w, r.h, radius);
  SetColor(cr, pal::kParchment);
  cairo_fill(cr);
  layer.Apply([&](int x, int y, const Color& p) {
    if (p.a <= 0) return p;
    const double stain = Fbm(x * 0.012, y * 0.012, 4, seed);
    const double grain = Fbm(x * 0.25, y * 0.25, 2, seed + 3);
    const double fibre = ValueNoise(x * 0.9, y * 0.05, seed + 7);
    const double edge = std::min({x - r.x, r.x + r.w - x, y - r.y, r.y + r.h - y});
    const double burnt = burn * (1.0 - SmoothStep(0, 26 + 18 * Fbm(x * 0.05, y * 0.05, 2, seed + 9), edge));
    Color col = Mix(pal::kParchmentLight, pal::kParchmentDark, SmoothStep(0.3, 0.75, stain) * 0.65);
    col = Scale(col, 0.93 + grain * 0.1 + fibre * 0.03);
    col = Mix(col, pal::kParchmentBurn, burnt * 0.75);
    // Keep the lightest parchment clear of white, the letter tiles' colour key.
    col.r = std::min(col.r, 0.96);
    col.g = std::min(col.g, 0.93);
    col.b = std::min(col.b, 0.85);
    col.a = p.a;
    return col;
  });
  c.Draw(layer, 0, 0);
}

void TornParchment(Canvas& c, const Rect& r, std::uint32_t seed, double roughness) {
  Canvas sheet(c.width(), c.height());
  Parchment(sheet, r, seed, 2, 1.2);
  sheet.Apply([&](int x, int y, const Color& p) {
    if (p.a <= 0) return p;
    const double edge = std::min({x - r.x, r.x + r.w - x, y - r.y, r.y + r.h - y});
    const double tear = roughness * Fbm(x * 0.07 + y * 0.07, y * 0.03 - x * 0.03, 3, seed + 41);
    Color o = p;
    if (edge < tear) o.a = 0;
    return o;
  });
  c.Draw(sheet, 0, 0);
}

void GoldFrame(Canvas& c, const Rect& r, double t, double radius) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(r.x, r.y, r.x + r.w * 0.3, r.y + r.h);
  cairo_pattern_add_color_stop_rgb(g, 0.0, pal::kGoldLight.r, pal::kGoldLight.g, pal::kGoldLight.b);
  cairo_pattern_add_color_stop_rgb(g, 0.45, pal::kGold.r, pal::kGold.g, pal::kGold.b);
  cairo_pattern_add_color_stop_rgb(g, 0.7, pal::kGoldLight.r * 0.9, pal::kGoldLight.g * 0.85,
                                   pal::kGoldLight.b * 0.7);
  cairo_pattern_add_color_stop_rgb(g, 1.0, pal::kGoldDark.r, pal::kGoldDark.g, pal::kGoldDark.b);
  RoundedRect(cr, r.x + t / 2, r.y + t / 2, r.w - t, r.h - t, radius);
  cairo_set_line_width(cr, t);
  cairo_set_source(cr, g);
  cairo_stroke(cr);
  cairo_pattern_destroy(g);
  // Dark line inside and outside, a bright line on the bevel.
  cairo_set_line_width(cr, 1);
  SetColor(cr, pal::kGoldDark);
  RoundedRect(cr, r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1, radius);
  cairo_stroke(cr);
  RoundedRect(cr, r.x + t - 0.5, r.y + t - 0.5, r.w - 2 * t + 1, r.h - 2 * t + 1,
              std::max(0.0, radius - t / 2));
  cairo_stroke(cr);
  SetColor(cr, pal::kGoldGlow, 0.6);
  RoundedRect(cr, r.x + 1.5, r.y + 1.5, r.w - 3, r.h - 3, radius);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Panel(Canvas& c, const Rect& r, std::uint32_t seed, double frame) {
  cairo_t* cr = c.cr();
  // Soft shadow below and to the right, away from the torches.
  Canvas shadow(c.width(), c.height());
  RoundedRect(shadow.cr(), r.x + 4, r.y + 6, r.w, r.h, 8);
  SetColor(shadow.cr(), {0, 0, 0, 0.6});
  cairo_fill(shadow.cr());
  Mask sm = Blur(shadow.Alpha(), 4);
  c.PaintMask(sm, {0, 0, 0, 1}, 0, 0, 0.8);
  Parchment(c, {r.x + frame * 0.5, r.y + frame * 0.5, r.w - frame, r.h - frame}, seed, 4, 0.7);
  GoldFrame(c, r, frame, 6);
  (void)cr;
}

void Recess(Canvas& c, const Rect& r, double radius) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  RoundedRect(cr, r.x, r.y, r.w, r.h, radius);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, r.y, 0, r.y + r.h);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.05, 0.045, 0.04);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.15, 0.125, 0.105);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  // A faint grain so the recess reads as dark stone, not a hole.
  cairo_restore(cr);
  for (int y = static_cast<int>(r.y + 2); y < static_cast<int>(r.y + r.h - 2); ++y)
    for (int x = static_cast<int>(r.x + 2); x < static_cast<int>(r.x + r.w - 2); ++x) {
      const double n = Fbm(x * 0.08, y * 0.08, 3, 907) - 0.5;
      const Color p = c.Get(x, y);
      c.Set(x, y,
            {p.r * (1 + n * 0.6) + 0.01, p.g * (1 + n * 0.6) + 0.008, p.b * (1 + n * 0.6) + 0.006, p.a});
    }
  cairo_save(cr);
  RoundedRect(cr, r.x, r.y, r.w, r.h, radius);
  cairo_set_line_width(cr, 1.5);
  SetColor(cr, pal::kGoldDark);
  cairo_stroke(cr);
  RoundedRect(cr, r.x - 1.5, r.y - 1.5, r.w + 3, r.h + 3, radius + 1);
  SetColor(cr, pal::kGold, 0.55);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Wood(Canvas& c, const Rect& r, std::uint32_t seed, bool vertical) {
  for (int y = static_cast<int>(r.y); y < static_cast<int>(r.y + r.h); ++y)
    for (int x = static_cast<int>(r.x); x < static_cast<int>(r.x + r.w); ++x) {
      const double along = vertical ? y : x;
      const double across = vertical ? x : y;
      const int plank = static_cast<int>(std::floor(across / 22.0));
      const double inPlank = across - plank * 22.0;
      const double ring = std::sin(along * 0.05 + Fbm(along * 0.01, across * 0.15, 3, seed + plank) * 9.0);
      double t = 0.45 + 0.25 * ring + 0.2 * Hash01(plank, 1, seed);
      Color col = Mix(pal::kWoodDark, pal::kWoodLight, Clamp01(t));
      if (inPlank < 1.5) col = pal::kWoodDark;
      col = Scale(col, 0.75 + 0.25 * SmoothStep(0, 8, inPlank));
      c.Set(x, y, col);
    }
}

Rect WordBox(Face face, double size, const std::string& text, double x, double y, Align align) {
  Canvas probe(4, 4);
  UseFace(probe.cr(), face, size);
  cairo_text_extents_t ext;
  cairo_text_extents(probe.cr(), text.c_str(), &ext);
  double left = x;
  if (align == Align::kCentre) left -= ext.x_advance / 2;
  if (align == Align::kRight) left -= ext.x_advance;
  return {left + ext.x_bearing, y + ext.y_bearing, ext.width, ext.height};
}

void Word(Canvas& c, const std::string& text, Face face, double size, double x, double y, Align align,
          WordStyle style) {
  Canvas layer(c.width(), c.height());
  cairo_t* cr = layer.cr();
  UseFace(cr, face, size);
  TextPath(cr, text, x, y, align);
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  const Rect box = WordBox(face, size, text, x, y, align);
  auto fillGradient = [&](const Color& top, const Color& mid, const Color& bottom) {
    cairo_append_path(cr, path);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, box.y, 0, box.y + box.h);
    cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(g, 0.55, mid.r, mid.g, mid.b);
    cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  };
  auto stroke = [&](const Color& col, double width) {
    cairo_append_path(cr, path);
    SetColor(cr, col);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  };
  switch (style) {
    case WordStyle::kCarved: {
      // A dark cut below the letters, then dull gold.
      cairo_save(cr);
      cairo_translate(cr, 1.5, 2);
      stroke({0, 0, 0, 0.85}, 2.5);
      cairo_append_path(cr, path);
      SetColor(cr, {0, 0, 0, 0.85});
      cairo_fill(cr);
      cairo_restore(cr);
      stroke(Rgb(0x2A1A08), 1.6);
      fillGradient(Mix(pal::kGold, pal::kGoldLight, 0.2), Scale(pal::kGold, 0.78),
                   Scale(pal::kGoldDark, 0.9));
      break;
    }
    case WordStyle::kLit: {
      Canvas glow(c.width(), c.height());
      cairo_append_path(glow.cr(), path);
      SetColor(glow.cr(), {1, 1, 1, 1});
      cairo_set_line_width(glow.cr(), 5);
      cairo_stroke_preserve(glow.cr());
      cairo_fill(glow.cr());
      Mask halo = Blur(glow.Alpha(), std::max(2, static_cast<int>(size / 7)));
      for (float& v : halo.v) v = std::min(1.0f, v * 1.6f);
      layer.PaintMask(halo, Rgb(0xFF9A2E), 0, 0, 0.85);
      stroke(Rgb(0x5A2A00), 1.6);
      fillGradient(pal::kGoldGlow, pal::kGoldLight, pal::kGold);
      break;
    }
    case WordStyle::kInk:
      stroke(Mix(pal::kInk, pal::kParchment, 0.4), 0.8);
      fillGradient(pal::kInk, pal::kInk, Mix(pal::kInk, pal::kInkFaded, 0.6));
      break;
    case WordStyle::kInkLit: {
      Canvas glow(c.width(), c.height());
      cairo_append_path(glow.cr(), path);
      SetColor(glow.cr(), {1, 1, 1, 1});
      cairo_set_line_width(glow.cr(), 4);
      cairo_stroke_preserve(glow.cr());
      cairo_fill(glow.cr());
      Mask halo = Blur(glow.Alpha(), std::max(2, static_cast<int>(size / 8)));
      layer.PaintMask(halo, Rgb(0xFFC04A), 0, 0, 0.9);
      stroke(Rgb(0x3A0A04), 1.2);
      fillGradient(Rgb(0xC42A18), pal::kInkRed, Rgb(0x5A0E08));
      break;
    }
  }
  cairo_path_destroy(path);
  c.Draw(layer, 0, 0);
}

Canvas ShadeFigure(const Mask& shape, const FigureStyle& s) {
  const int w = shape.w, h = shape.h;
  Mask body = FillHoles(shape, 0.5f);
  if (s.close > 0) {
    const Mask closed = Erode(Dilate(Threshold(shape, 0.5f), s.close), s.close);
    for (size_t i = 0; i < body.v.size(); ++i) body.v[i] = std::max(body.v[i], closed.v[i]);
  }
  const double scale = std::max(w, h) / 160.0;
  const Mask big = Blur(body, std::max(2, static_cast<int>(9 * scale * s.relief)));
  const Mask small = Blur(shape, std::max(1, static_cast<int>(1.5 * scale)));
  Canvas out(w, h);
  const double lx = Light::kX, ly = Light::kY, lz = Light::kZ;
  const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
  const Color detail = (s.detail.r + s.detail.g + s.detail.b) == 0 ? Scale(s.base, 0.28) : s.detail;
  Mask inside = Threshold(body, 0.5f);
  Mask outlineMask = Dilate(inside, std::max(1, static_cast<int>(std::lround(scale))));
  out.Apply([&](int x, int y, const Color&) -> Color {
    if (outlineMask.at(x, y) <= 0) return {0, 0, 0, 0};
    if (inside.at(x, y) <= 0) return s.outline;
    auto height = [&](int px, int py) { return big.get(px, py) * 0.7 * s.relief + small.get(px, py) * 0.45; };
    const double dx = (height(x + 1, y) - height(x - 1, y)) * 6.0 / scale;
    const double dy = (height(x, y + 1) - height(x, y - 1)) * 6.0 / scale;
    const double len = std::sqrt(dx * dx + dy * dy + 1);
    const double nx = -dx / len, ny = -dy / len, nz = 1 / len;
    const double ndotl = std::max(0.0, (nx * lx + ny * ly + nz * lz) / ll);
    // Half-vector toward a viewer straight ahead gives the highlight.
    const double hx = lx / ll, hy = ly / ll, hz = lz / ll + 1;
    const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double specular = std::pow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl), 24) * s.shine;
    const double grain = (Fbm(x * s.grainScale, y * s.grainScale, 3, s.seed) - 0.5) * 2 * s.texture;
    const double groove = Clamp01(1.0 - shape.at(x, y) * 1.0);
    Color base = Mix(s.base, detail, groove);
    // Torch from the upper left, a cold bounce from the lower right.
    const double rim = std::max(0.0, nx * 0.6 + ny * 0.7) * 0.35;
    const double lit = 0.28 + 0.95 * ndotl + grain;
    Color col{base.r * lit * pal::kTorchHot.r + specular + rim * 0.25,
              base.g * lit * pal::kTorchHot.g + specular + rim * 0.3,
              base.b * lit * pal::kTorchHot.b + specular * 0.8 + rim * 0.45, 1};
    return col;
  });
  return out;
}

void TileBody(Canvas& c, double x, double y, double size, std::uint32_t seed, const Color& tint) {
  cairo_t* cr = c.cr();
  // Dark bed so the tile reads as a raised block on any background.
  SetColor(cr, pal::kStoneDeep);
  cairo_rectangle(cr, x, y, size, size);
  cairo_fill(cr);
  Canvas face(c.width(), c.height());
  Parchment(face, {x + 2, y + 2, size - 4, size - 4}, seed, 5, 0.35);
  face.Apply([&](int px, int py, const Color& p) {
    if (p.a <= 0) return p;
    Color o = Mix(p, Mix(p, tint, 0.55), tint.a);
    // Bevel: light on the upper-left rim, shade on the lower-right.
    const double l = px - x, t = py - y, r = x + size - px, b = y + size - py;
    const double rim = std::min({l, t, r, b});
    if (rim < 6) {
      const double f = 1 - rim / 6;
      const bool lit = (l < r && l < b) || (t < r && t < b);
      o = lit ? Mix(o, pal::kParchmentLight, f * 0.45) : Mix(o, pal::kParchmentBurn, f * 0.55);
    }
    o.a = p.a;
    return o;
  });
  c.Draw(face, 0, 0);
  cairo_set_line_width(cr, 1);
  SetColor(cr, Scale(pal::kParchmentBurn, 0.7));
  RoundedRect(cr, x + 2.5, y + 2.5, size - 5, size - 5, 5);
  cairo_stroke(cr);
}

void Flame(Canvas& c, double x, double y, double w, double h, double phase, std::uint32_t seed) {
  const int x0 = static_cast<int>(x - w), x1 = static_cast<int>(x + w);
  const int y0 = static_cast<int>(y - h * 1.1), y1 = static_cast<int>(y + 2);
  const double ang = phase * 2 * M_PI;
  for (int py = y0; py <= y1; ++py)
    for (int px = x0; px <= x1; ++px) {
      const double v = (y - py) / h;  // 0 at the base, 1 at the tip
      if (v < -0.05 || v > 1.1) continue;
      // The flame sways and flickers: noise drifts upward with the phase, looping once a cycle.
      const double drift = v * 3.0 - phase * 3.0;
      const double sway =
          (Fbm(drift + std::cos(ang) * 0.5, std::sin(ang) * 0.5 + 10, 3, seed) - 0.5) * w * 0.9 * v;
      const double u = (px - x - sway) / (w * 0.5);
      const double width = std::sqrt(std::max(0.0, 1 - v)) * (1.0 + 0.25 * std::sin(v * 9 + ang)) *
                           std::min(1.0, (v + 0.12) * 3.0);
      const double lick =
          (Fbm(u * 1.5 + std::cos(ang), drift * 1.3 + std::sin(ang), 3, seed + 7) - 0.5) * 0.8;
      const double d = std::abs(u) / std::max(0.05, width) + lick * v;
      if (d > 1.0) continue;
      const double core = 1 - d;
      Color col = Mix(Rgb(0xB02008), pal::kEmber, SmoothStep(0.0, 0.3, core));
      col = Mix(col, Rgb(0xFF9A20), SmoothStep(0.3, 0.6, core));
      col = Mix(col, pal::kTorchHot, SmoothStep(0.6, 0.95, core) * (1 - v * 0.7));
      const double alpha = SmoothStep(0.0, 0.12, core) * (1 - SmoothStep(0.85, 1.1, v));
      c.Blend(px, py, col, alpha);
    }
}

void WallTorch(Canvas& c, double x, double y, double s, double phase, std::uint32_t seed, bool glow) {
  if (glow) Glow(c, x, y - 22 * s, 70 * s, pal::kTorch, 0.9);
  cairo_t* cr = c.cr();
  cairo_save(cr);
  // Wooden handle, narrowing downward, held by an iron ring on a wall plate.
  cairo_move_to(cr, x - 6 * s, y);
  cairo_line_to(cr, x + 6 * s, y);
  cairo_line_to(cr, x + 3 * s, y + 38 * s);
  cairo_line_to(cr, x - 3 * s, y + 38 * s);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(x - 6 * s, 0, x + 6 * s, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, pal::kWoodLight.r, pal::kWoodLight.g, pal::kWoodLight.b);
  cairo_pattern_add_color_stop_rgb(g, 1, pal::kWoodDark.r, pal::kWoodDark.g, pal::kWoodDark.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, pal::kIron);
  cairo_rectangle(cr, x - 8 * s, y + 14 * s, 16 * s, 5 * s);
  cairo_fill(cr);
  cairo_rectangle(cr, x - 4 * s, y + 19 * s, 8 * s, 22 * s);
  SetColor(cr, Scale(pal::kIron, 0.7));
  cairo_fill(cr);
  // The bowl.
  cairo_move_to(cr, x - 9 * s, y - 4 * s);
  cairo_line_to(cr, x + 9 * s, y - 4 * s);
  cairo_line_to(cr, x + 6 * s, y + 3 * s);
  cairo_line_to(cr, x - 6 * s, y + 3 * s);
  cairo_close_path(cr);
  SetColor(cr, pal::kIronLight);
  cairo_fill(cr);
  cairo_restore(cr);
  Flame(c, x, y - 3 * s, 20 * s, 40 * s, phase, seed);
}

}  // namespace spellcrypt::art
