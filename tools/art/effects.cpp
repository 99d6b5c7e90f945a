// Small animated pictures: the treasure chest opening, the fireball burst, the wall and brazier
// fires, the crawling spiders, the falling blossoms, and the pictures of the secret words.
#include <algorithm>
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/materials.h"
#include "tools/art/picture_set.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

// ---- treasure chest ------------------------------------------------------------------------

Canvas ChestFrame(int frame) {
  const int w = 66, h = 44;
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  const double open[6] = {0, 0.3, 0.65, 1, 1, 1};
  const double o = open[frame];
  const double bx = 8, by = 22, bw = 50, bh = 19;
  auto body = [&]() {
    cairo_rectangle(cr, bx, by, bw, bh);
    SetColor(cr, pal::kWood);
    cairo_fill(cr);
    for (int i = 1; i < 3; ++i) {
      cairo_move_to(cr, bx, by + i * bh / 3);
      cairo_line_to(cr, bx + bw, by + i * bh / 3);
    }
    SetColor(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (double x : {bx + 4, bx + bw - 8}) {
      cairo_rectangle(cr, x, by, 4, bh);
      SetColor(cr, pal::kIron);
      cairo_fill(cr);
    }
    cairo_rectangle(cr, bx - 0.5, by - 0.5, bw + 1, bh + 1);
    SetColor(cr, pal::kStoneDeep);
    cairo_stroke(cr);
  };
  auto lock = [&](double y) {
    cairo_rectangle(cr, bx + bw / 2 - 4, y, 8, 9);
    SetColor(cr, pal::kGold);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kGoldDark);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  };
  if (o < 0.5) {
    // Closed or just lifting: the lid's front edge rises above the body.
    const double lift = o * 14;
    if (o > 0) {
      cairo_rectangle(cr, bx + 2, by - lift, bw - 4, lift);
      SetColor(cr, Rgb(0xFFD870));
      cairo_fill(cr);
    }
    body();
    cairo_move_to(cr, bx - 1, by - lift);
    cairo_line_to(cr, bx + bw + 1, by - lift);
    cairo_curve_to(cr, bx + bw + 1, by - lift - 14, bx - 1, by - lift - 14, bx - 1, by - lift);
    cairo_close_path(cr);
    SetColor(cr, pal::kWoodLight);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kStoneDeep);
    cairo_stroke(cr);
    lock(by - lift - 4);
  } else {
    // Open: the lid stands up behind, showing its dark inside; gold heaps over the rim.
    // The lid stands as high as the picture allows, clear of its top edge.
    const double top = by - 10 - 10 * o;
    cairo_rectangle(cr, bx + 1, top, bw - 2, by - top);
    SetColor(cr, Rgb(0x3A2210));
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kStoneDeep);
    cairo_stroke(cr);
    Canvas glow(w, h);
    cairo_arc(glow.cr(), bx + bw / 2, by - 2, 18, 0, 2 * M_PI);
    SetColor(glow.cr(), {1, 1, 1, 1});
    cairo_fill(glow.cr());
    // The gold's glow lights the inside of the lid; none of it floats above the lid.
    Mask shine = Blur(glow.Alpha(), 4);
    for (int y = 0; y < std::min(h, static_cast<int>(std::ceil(top))); ++y)
      for (int x = 0; x < w; ++x) shine.at(x, y) = 0;
    c.PaintMask(shine, Rgb(0xFFE080), 0, 0, 0.85);
    for (int i = 0; i < 11; ++i) {
      const double x = bx + 5 + i * 4, y = by - 2 - std::sin(i * 0.29) * 6;
      cairo_arc(cr, x, y, 3, 0, 2 * M_PI);
      SetColor(cr, (i + frame) % 3 ? pal::kGoldLight : pal::kGold);
      cairo_fill_preserve(cr);
      SetColor(cr, pal::kGoldDark);
      cairo_set_line_width(cr, 0.7);
      cairo_stroke(cr);
    }
    body();
    lock(by + 2);
  }
  // Sparkles over the open chest, different in each looping frame.
  if (frame >= 3) {
    Rng rng(200 + static_cast<std::uint32_t>(frame));
    for (int i = 0; i < 4; ++i) {
      const double x = rng.Range(12, 54), y = rng.Range(3, 16), r = rng.Range(2, 4);
      cairo_move_to(cr, x - r, y);
      cairo_line_to(cr, x + r, y);
      cairo_move_to(cr, x, y - r);
      cairo_line_to(cr, x, y + r);
      SetColor(cr, pal::kGoldGlow);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
    }
  }
  return c;
}

// ---- fireball --------------------------------------------------------------------------------

Canvas FireballFrame(int frame) {
  const int n = 100;
  Canvas c(n, n);
  const double t = frame / 10.0;
  const double radius = 10 + 36 * std::sqrt(t);
  const double heat = 1.0 - t * 0.85;
  c.Apply([&](int x, int y, const Color&) -> Color {
    const double dx = x - n / 2.0, dy = y - n / 2.0;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double ang = std::atan2(dy, dx);
    const double ragged = Fbm(std::cos(ang) * 2 + 5, std::sin(ang) * 2 + t * 3, 3, 77) * 0.5 + 0.75;
    const double r = d / (radius * ragged);
    if (r > 1) return {0, 0, 0, 0};
    // Later frames burn out from the middle into a ring of embers and smoke.
    const double hollow = SmoothStep(0.4, 1.0, t) * (1 - SmoothStep(0.0, 0.7, r));
    const double turb = Fbm(x * 0.09 + frame, y * 0.09 - frame, 3, 78);
    double e = (1 - r) * 1.4 * heat + turb * 0.4 - hollow;
    if (e < 0.12) return {0, 0, 0, 0};
    Color col = Mix(Rgb(0x5A1206), pal::kEmber, SmoothStep(0.1, 0.35, e));
    col = Mix(col, pal::kTorch, SmoothStep(0.35, 0.7, e));
    col = Mix(col, pal::kTorchHot, SmoothStep(0.7, 1.1, e));
    return {col.r, col.g, col.b, 1};
  });
  return c;
}

// ---- spiders and blossoms ---------------------------------------------------------------------

Canvas SpiderFrame(int frame) {
  const int w = 28, h = 24;
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  const double cx = 14, cy = 12;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int side = -1; side <= 1; side += 2)
    for (int leg = 0; leg < 4; ++leg) {
      // Legs step in alternating pairs.
      const double phase = std::sin((frame / 4.0) * 2 * M_PI + (leg % 2) * M_PI + (side > 0 ? M_PI : 0));
      const double a = (-0.9 + leg * 0.6) + phase * 0.18;
      const double kx = cx + side * 7 * std::cos(a), ky = cy + 6 * std::sin(a) - 3;
      const double fx = cx + side * 13 * std::cos(a * 1.1), fy = cy + 10 * std::sin(a * 1.1) + 2;
      cairo_move_to(cr, cx + side * 2, cy);
      cairo_line_to(cr, kx, ky);
      cairo_line_to(cr, fx, fy);
    }
  SetColor(cr, Rgb(0x1A1410));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy + 2);
  cairo_scale(cr, 1, 1.25);
  cairo_arc(cr, 0, 0, 5, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Rgb(0x2A2024));
  cairo_fill(cr);
  cairo_arc(cr, cx, cy - 4, 3.2, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy + 3, 1.6, 0, 2 * M_PI);
  SetColor(cr, pal::kBloodLight);
  cairo_fill(cr);
  cairo_arc(cr, cx - 1.2, cy - 5, 0.8, 0, 2 * M_PI);
  cairo_arc(cr, cx + 1.2, cy - 5, 0.8, 0, 2 * M_PI);
  SetColor(cr, Rgb(0xFF6040));
  cairo_fill(cr);
  return c;
}

Canvas BlossomFrame(int frame) {
  const int n = 24;
  Canvas c(n, n);
  cairo_t* cr = c.cr();
  cairo_translate(cr, n / 2.0, n / 2.0);
  cairo_rotate(cr, frame * M_PI / 10);
  // Tumbling: the blossom narrows and widens as it turns in the air.
  cairo_scale(cr, 0.65 + 0.35 * std::abs(std::cos(frame * M_PI / 4)), 1);
  for (int p = 0; p < 5; ++p) {
    cairo_save(cr);
    cairo_rotate(cr, p * 2 * M_PI / 5);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, -6, -4, -5, -10, -1.5, -10.5);
    cairo_line_to(cr, 0, -9);
    cairo_line_to(cr, 1.5, -10.5);
    cairo_curve_to(cr, 5, -10, 6, -4, 0, 0);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, -10);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.55, 0.7);
    cairo_pattern_add_color_stop_rgb(g, 1, 1.0, 0.86, 0.92);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, Rgb(0xB04A70));
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  cairo_arc(cr, 0, 0, 2.2, 0, 2 * M_PI);
  SetColor(cr, Rgb(0xF0C040));
  cairo_fill(cr);
  return c;
}

// ---- pictures of the secret words ----------------------------------------------------------

Canvas Shaded(const char* icon, int w, int h, std::uint32_t rgb, std::uint32_t seed, PixelBox* bounds,
              int close = 5) {
  FigureStyle s;
  s.base = Rgb(rgb);
  s.relief = 0.9;
  s.texture = 0.08;
  s.shine = 0.6;
  s.seed = seed;
  s.close = close;
  return ShadeFigureClear(FitIcon(icon, w, h), s, bounds);
}

Canvas FoamDart() {
  // Zorble's picture: a foam dart, orange with a blue rubber tip.
  Canvas c(60, 24);
  cairo_t* cr = c.cr();
  cairo_translate(cr, 30, 12);
  cairo_rotate(cr, -0.25);
  RoundedRect(cr, -24, -6, 40, 12, 5);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, -6, 0, 6);
  cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.72, 0.3);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.78, 0.36, 0.06);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, Rgb(0x4A2006));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  RoundedRect(cr, 14, -7, 12, 14, 6);
  SetColor(cr, Rgb(0x2A6ADA));
  cairo_fill_preserve(cr);
  SetColor(cr, Rgb(0x0A1A4A));
  cairo_stroke(cr);
  return c;
}

// Hedgewick's picture: a hedgehog, spines up, trotting to the right.
Canvas Hedgehog() {
  Canvas c(60, 44);
  cairo_t* cr = c.cr();
  Rng rng(98);
  // Spines: dark wedges fanned over the back.
  for (int i = 0; i < 26; ++i) {
    const double a = M_PI * (1.05 + 0.9 * i / 25.0);
    const double bx = 27 + std::cos(a) * 17, by = 28 + std::sin(a) * 12;
    const double tx = 27 + std::cos(a) * (27 + rng.Range(-2, 2)),
                 ty = 28 + std::sin(a) * (21 + rng.Range(-2, 2));
    cairo_move_to(cr, bx - std::sin(a) * 3, by + std::cos(a) * 3);
    cairo_line_to(cr, tx, ty);
    cairo_line_to(cr, bx + std::sin(a) * 3, by - std::cos(a) * 3);
    cairo_close_path(cr);
    SetColor(cr, i % 2 ? Rgb(0x3A2A1A) : Rgb(0x5A4026));
    cairo_fill(cr);
  }
  // Body and snout.
  cairo_save(cr);
  cairo_translate(cr, 28, 31);
  cairo_scale(cr, 1.0, 0.62);
  cairo_arc(cr, 0, 0, 19, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Rgb(0x8A6A4A));
  cairo_fill(cr);
  cairo_move_to(cr, 40, 24);
  cairo_curve_to(cr, 50, 26, 56, 30, 58, 33);
  cairo_curve_to(cr, 54, 37, 46, 39, 40, 38);
  cairo_close_path(cr);
  SetColor(cr, Rgb(0xC8A47A));
  cairo_fill(cr);
  cairo_arc(cr, 57.5, 33, 2, 0, 2 * M_PI);
  SetColor(cr, Rgb(0x140A06));
  cairo_fill(cr);
  cairo_arc(cr, 47, 29, 1.6, 0, 2 * M_PI);
  cairo_fill(cr);
  // Feet.
  for (double x : {18.0, 26.0, 34.0, 42.0}) {
    cairo_rectangle(cr, x, 40, 4, 3);
    SetColor(cr, Rgb(0x5A3A22));
    cairo_fill(cr);
  }
  return c;
}

}  // namespace

void MakeEffects(PictureSet& set) {
  Canvas chest(66 * 6, 44);
  for (int f = 0; f < 6; ++f) chest.Draw(ChestFrame(f), f * 66, 0);
  set.Emit(
      "graphics/character/Treasure.bmp", chest, 6, pal::kKeyMagenta,
      "(76,146) after a kill, opens over frames 0-5 then loops 3-5; also the falling \"treasure\" picture",
      "CThingSprite treasure; CSpiderSpawn \"effect\"");
  Canvas fire(100 * 11, 100);
  for (int f = 0; f < 11; ++f) fire.Draw(FireballFrame(f), f * 100, 0);
  set.Emit("graphics/fireball.bmp", fire, 11, pal::kKeyMagenta,
           "sparks over the monster (random point - 50); the falling \"fireball\" picture",
           "spark sprites; CSpiderSpawn \"effect\"");
  Canvas torch(38 * 4, 44);
  for (int f = 0; f < 4; ++f) Flame(torch, f * 38 + 19, 42, 30, 40, f / 4.0, 91);
  // The flames stand on their torch bowls and brazier, at the pictures' bottom edge.
  set.Emit("graphics/dungeon/dungeon5_fire.bmp", torch, 4, pal::kKeyMagenta,
           "dungeon 5 at (7,30) and (135,30), dungeon 8 at (102,5), relative to (19,19)",
           "dungeon fire sprites", {{}, kBottomEdge});
  Canvas brazier(56 * 4, 60);
  for (int f = 0; f < 4; ++f) {
    Flame(brazier, f * 56 + 28, 58, 44, 56, f / 4.0, 93);
    Flame(brazier, f * 56 + 20, 58, 22, 34, f / 4.0 + 0.5, 94);
    Flame(brazier, f * 56 + 37, 58, 22, 30, f / 4.0 + 0.25, 95);
  }
  set.Emit("graphics/dungeon/dungeon6_fire.bmp", brazier, 4, pal::kKeyMagenta,
           "dungeon 6 at (117,41), relative to (19,19)", "dungeon fire sprite", {{}, kBottomEdge});
  Canvas spiders(28 * 4, 24);
  for (int f = 0; f < 4; ++f) spiders.Draw(SpiderFrame(f), f * 28, 0);
  set.Emit("graphics/menu_spiders.bmp", spiders, 4, pal::kKeyMagenta,
           "crawl in from (646,14) on the title; the \"hell\" and \"spider\" pictures",
           "CSpiderSpawn \"spiders\" / \"effect\"");
  Canvas blossoms(24 * 4, 24);
  for (int f = 0; f < 4; ++f) blossoms.Draw(BlossomFrame(f), f * 24, 0);
  set.Emit("graphics/character/sakura1_ani.bmp", blossoms, 4, pal::kKeyMagenta,
           "falls from the top (x 20..530, y -10)", "CSpiderSpawn \"effect\" (japan, flower, sakura, mirel)");
  PixelBox duckBounds;
  const Canvas duck = Shaded("plastic-duck", 48, 44, 0xF0C020, 96, &duckBounds);
  set.Emit("graphics/character/duck.bmp", duck, 1, pal::kKeyMagenta, "falls from the top",
           "CSpiderSpawn \"effect\" (fnog, duck)", {{duckBounds}});
  set.Emit("graphics/character/nerf.bmp", FoamDart(), 1, pal::kKeyMagenta, "falls from the top",
           "CSpiderSpawn \"effect\" (zorble)");
  set.Emit("graphics/character/mom.bmp", Hedgehog(), 1, pal::kKeyMagenta, "falls from the top",
           "CSpiderSpawn \"effect\" (wick, hedge, drunk)");
}

}  // namespace spellcrypt::art
