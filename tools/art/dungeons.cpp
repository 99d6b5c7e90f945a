// The dungeon backgrounds of the monster window (180 x 190 at (19, 19)): seven rooms, each with its
// own stone and light, a floor under the monster, and brackets where the animated fires burn.
#include <cmath>
#include <functional>

#include "tools/art/icons.h"
#include "tools/art/materials.h"
#include "tools/art/picture_set.h"

namespace spellcrypt::art {

namespace {

constexpr int kW = 180;
constexpr int kH = 190;
constexpr double kFloorTop = 122;
constexpr double kFeetX = 90, kFeetY = 168;  // where the monsters stand

struct Room {
  int number;
  const char* theme;
  std::uint32_t seed;
  Color tint;  // multiplies the stone
  std::vector<TorchLamp> lamps;
  double blockW, blockH;
  std::function<void(Canvas&)> props;
};

void Tint(Canvas& c, const Color& t, double y0, double y1) {
  c.Apply([&](int, int y, const Color& p) {
    if (y < y0 || y >= y1) return p;
    return Color{p.r * t.r, p.g * t.g, p.b * t.b, p.a};
  });
}

void Bracket(Canvas& c, double x, double y) {
  cairo_t* cr = c.cr();
  SetColor(cr, pal::kIron);
  cairo_rectangle(cr, x - 5, y, 10, 5);
  cairo_fill(cr);
  cairo_move_to(cr, x - 3, y + 5);
  cairo_line_to(cr, x + 3, y + 5);
  cairo_line_to(cr, x + 1.5, y + 26);
  cairo_line_to(cr, x - 1.5, y + 26);
  SetColor(cr, pal::kWood);
  cairo_fill(cr);
  SetColor(cr, Scale(pal::kIron, 0.6));
  cairo_rectangle(cr, x - 6, y + 26, 12, 5);
  cairo_fill(cr);
}

void Shade(Canvas& c, const char* icon, double x, double y, int w, int h, std::uint32_t rgb,
           std::uint32_t seed, int close = 4) {
  FigureStyle s;
  s.base = Rgb(rgb);
  s.relief = 0.7;
  s.texture = 0.15;
  s.shine = 0.15;
  s.seed = seed;
  s.close = close;
  c.Draw(ShadeFigure(FitIcon(icon, w, h), s), x, y);
}

Canvas Build(const Room& r) {
  Canvas c(kW, kH);
  StoneWall(c, {0, 0, kW, kFloorTop}, r.seed, r.blockW, r.blockH, r.lamps, 0.28);
  StoneFloor(c, {0, kFloorTop, kW, kH - kFloorTop}, r.seed + 1, r.lamps);
  Tint(c, r.tint, 0, kH);
  // The skirting where wall meets floor, and a soft dark patch where the monster stands.
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, kFloorTop - 2, kW, 3);
  SetColor(cr, {0, 0, 0, 0.6});
  cairo_fill(cr);
  Canvas shadow(kW, kH);
  cairo_save(shadow.cr());
  cairo_translate(shadow.cr(), kFeetX, kFeetY + 2);
  cairo_scale(shadow.cr(), 1, 0.22);
  cairo_arc(shadow.cr(), 0, 0, 62, 0, 2 * M_PI);
  cairo_restore(shadow.cr());
  SetColor(shadow.cr(), {0, 0, 0, 1});
  cairo_fill(shadow.cr());
  c.PaintMask(Blur(shadow.Alpha(), 6), {0, 0, 0, 1}, 0, 0, 0.55);
  if (r.props) r.props(c);
  Vignette(c, 0.5);
  return c;
}

}  // namespace

void MakeDungeons(PictureSet& set) {
  const std::vector<Room> rooms = {
      {2,
       "flooded cellar",
       402,
       Rgb(0x9AB89A),
       {{90, 20, 150, 0.9, pal::kTorch}},
       46,
       26,
       [](Canvas& c) {
         // A channel of black water across the floor, and slime on the wall.
         cairo_t* cr = c.cr();
         cairo_rectangle(cr, 0, 178, kW, 12);
         cairo_pattern_t* g = cairo_pattern_create_linear(0, 178, 0, 190);
         cairo_pattern_add_color_stop_rgb(g, 0, 0.05, 0.12, 0.1);
         cairo_pattern_add_color_stop_rgb(g, 1, 0.02, 0.05, 0.05);
         cairo_set_source(cr, g);
         cairo_fill(cr);
         cairo_pattern_destroy(g);
         for (int i = 0; i < 6; ++i) {
           cairo_move_to(cr, 10 + i * 30, 182 + (i % 2) * 3);
           cairo_line_to(cr, 24 + i * 30, 182 + (i % 2) * 3);
         }
         SetColor(cr, Rgb(0x9AC8B0), 0.5);
         cairo_set_line_width(cr, 1);
         cairo_stroke(cr);
         Shade(c, "cobweb", 140, 0, 40, 40, 0x9A9A90, 402, 0);
       }},
      {3,
       "crypt",
       403,
       Rgb(0xB0A898),
       {{30, 40, 120, 0.7, Rgb(0x9FC0FF)}, {150, 40, 120, 0.7, pal::kTorch}},
       40,
       30,
       [](Canvas& c) {
         // Burial niches with skulls.
         for (int i = 0; i < 2; ++i) {
           const double x = 14 + i * 120;
           cairo_t* cr = c.cr();
           RoundedRect(cr, x, 40, 34, 46, 14);
           SetColor(cr, Rgb(0x0A0808));
           cairo_fill(cr);
           Shade(c, "death-skull", x + 5, 58, 24, 24, 0xD8CCB0, 403 + i, 2);
         }
       }},
      {4,
       "crystal cavern",
       404,
       Rgb(0x9A90B8),
       {{90, 60, 140, 0.6, Rgb(0xB090FF)}, {20, 10, 120, 0.5, pal::kTorch}},
       70,
       44,
       [](Canvas& c) {
         Glow(c, 30, 110, 26, Rgb(0xA080FF), 0.8);
         Glow(c, 155, 100, 22, Rgb(0x80C0FF), 0.7);
         Shade(c, "crystal-growth", 8, 80, 44, 44, 0x9A70E0, 404, 2);
         Shade(c, "crystal-cluster", 136, 76, 40, 46, 0x6AA0E8, 405, 2);
       }},
      {5,
       "torch hall",
       405,
       Rgb(0xFFF0E0),
       {{26, 55, 110, 1.1, pal::kTorch}, {154, 55, 110, 1.1, pal::kTorch}},
       52,
       28,
       [](Canvas& c) {
         // The fires burn at (7, 30) and (135, 30): their bases sit on these brackets.
         Glow(c, 26, 55, 30, pal::kTorch, 0.6);
         Glow(c, 154, 55, 30, pal::kTorch, 0.6);
         Bracket(c, 26, 70);
         Bracket(c, 154, 70);
       }},
      {6,
       "fire pit",
       406,
       Rgb(0xE0A080),
       {{145, 80, 130, 1.3, pal::kEmber}, {40, 180, 120, 0.8, Rgb(0xFF5010)}},
       60,
       36,
       [](Canvas& c) {
         // Lava cracks in the floor, and the brazier under the fire at (117, 41).
         c.Apply([](int x, int y, const Color& p) {
           if (y < kFloorTop) return p;
           const double n = Fbm(x * 0.06, y * 0.12, 4, 406);
           const double crack = 1 - std::abs(n - 0.5) * 14;
           if (crack <= 0) return p;
           return Mix(p, Rgb(0xFF7020), Clamp01(crack) * 0.9);
         });
         Glow(c, 145, 92, 34, pal::kEmber, 0.8);
         cairo_t* cr = c.cr();
         cairo_move_to(cr, 128, 96);
         cairo_line_to(cr, 162, 96);
         cairo_line_to(cr, 156, 108);
         cairo_line_to(cr, 134, 108);
         cairo_close_path(cr);
         SetColor(cr, pal::kIron);
         cairo_fill(cr);
         cairo_rectangle(cr, 142, 108, 6, 30);
         SetColor(cr, Scale(pal::kIron, 0.6));
         cairo_fill(cr);
         cairo_rectangle(cr, 134, 136, 22, 5);
         cairo_fill(cr);
       }},
      {7,
       "frozen vault",
       407,
       Rgb(0x9AB8E0),
       {{90, 10, 160, 0.8, Rgb(0xC0E0FF)}},
       56,
       30,
       [](Canvas& c) {
         cairo_t* cr = c.cr();
         Rng rng(407);
         for (int i = 0; i < 14; ++i) {
           const double x = i * 13 + rng.Range(0, 6), len = rng.Range(10, 30);
           cairo_move_to(cr, x - 4, 0);
           cairo_line_to(cr, x + 4, 0);
           cairo_line_to(cr, x, len);
           cairo_close_path(cr);
           cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, len);
           cairo_pattern_add_color_stop_rgba(g, 0, 0.85, 0.95, 1, 0.95);
           cairo_pattern_add_color_stop_rgba(g, 1, 0.55, 0.75, 0.95, 0.8);
           cairo_set_source(cr, g);
           cairo_fill(cr);
           cairo_pattern_destroy(g);
         }
         c.Apply([](int x, int y, const Color& p) {
           if (y < kFloorTop) return p;
           return Mix(p, Rgb(0xC8E0F0), 0.25 + 0.15 * Fbm(x * 0.1, y * 0.1, 2, 408));
         });
       }},
      {8,
       "dragon's lair",
       408,
       Rgb(0xC08070),
       {{121, 40, 120, 1.0, pal::kTorch}, {30, 150, 100, 0.5, pal::kEmber}},
       64,
       40,
       [](Canvas& c) {
         // A hanging fire bowl under the fire at (102, 5), bones on the floor.
         cairo_t* cr = c.cr();
         SetColor(cr, pal::kIron);
         cairo_set_line_width(cr, 1.5);
         cairo_move_to(cr, 121, 0);
         cairo_line_to(cr, 121, 4);
         cairo_stroke(cr);
         Glow(c, 121, 40, 30, pal::kTorch, 0.6);
         cairo_move_to(cr, 108, 46);
         cairo_line_to(cr, 134, 46);
         cairo_line_to(cr, 128, 54);
         cairo_line_to(cr, 114, 54);
         cairo_close_path(cr);
         SetColor(cr, pal::kIron);
         cairo_fill(cr);
         cairo_move_to(cr, 108, 46);
         cairo_line_to(cr, 121, 4);
         cairo_line_to(cr, 134, 46);
         SetColor(cr, Scale(pal::kIron, 0.7));
         cairo_set_line_width(cr, 1);
         cairo_stroke(cr);
         Shade(c, "fishbone", 6, 158, 36, 24, 0xD8CCB0, 409, 0);
         Shade(c, "death-skull", 150, 160, 22, 22, 0xD8CCB0, 410, 2);
       }},
  };
  for (const Room& r : rooms)
    set.Emit("graphics/dungeon/dungeon" + std::to_string(r.number) + ".bmp", Build(r), 1, kNoKey,
             std::string("(19,19) monster window, layer 2: ") + r.theme, "CThingSprite \"DUNG_BG\"");
}

}  // namespace spellcrypt::art
