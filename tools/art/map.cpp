// The progress map: a parchment chart of the crypt lands, the 25 route pieces that join into one
// red trail from dungeon to dungeon (each piece drawn at its own position), the hovering arrow
// and the continue line.
#include <algorithm>
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

struct Point {
  double x, y;
};

// Where each piece is drawn, and the dungeon it leads to (the arrow hovers over that point).
const Point kPieces[25] = {{515, 104}, {470, 113}, {425, 131}, {378, 131}, {334, 135}, {292, 122}, {244, 100},
                           {236, 108}, {189, 120}, {116, 93},  {119, 130}, {172, 169}, {192, 217}, {241, 221},
                           {309, 227}, {362, 260}, {448, 195}, {483, 175}, {542, 190}, {497, 268}, {412, 318},
                           {325, 321}, {236, 340}, {165, 332}, {118, 259}};
const Point kDungeons[25] = {{520, 109}, {475, 131}, {430, 136}, {383, 136}, {339, 146},
                             {297, 128}, {249, 105}, {242, 150}, {194, 126}, {124, 121},
                             {164, 167}, {192, 209}, {232, 239}, {300, 230}, {359, 279},
                             {443, 268}, {481, 203}, {537, 185}, {550, 261}, {507, 332},
                             {422, 328}, {335, 338}, {246, 361}, {175, 352}, {130, 272}};

void InkIcon(Canvas& c, const char* icon, double x, double y, int w, int h, const Color& ink, double alpha) {
  Mask m = FitIcon(icon, w, h);
  c.PaintMask(m, ink, static_cast<int>(x), static_cast<int>(y), alpha);
}

// A range of inked peaks along a baseline, shaded with hatching on their dark side.
void InkMountains(Canvas& c, double x0, double base, double width, const Color& ink) {
  cairo_t* cr = c.cr();
  Rng rng(83);
  for (double x = x0; x < x0 + width;) {
    const double w = rng.Range(34, 56), h = rng.Range(22, 38);
    const double peak = x + w * rng.Range(0.4, 0.6);
    cairo_move_to(cr, x, base);
    cairo_line_to(cr, peak, base - h);
    cairo_line_to(cr, x + w, base);
    SetColor(cr, ink, 0.7);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    for (double k = 0.15; k < 0.95; k += 0.14) {
      const double hx = peak + (x + w - peak) * k, hy = base - h * (1 - k);
      cairo_move_to(cr, hx, hy + 1);
      cairo_line_to(cr, hx - 5, std::min(base, hy + 9));
    }
    SetColor(cr, ink, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    x += w * rng.Range(0.55, 0.8);
  }
}

Canvas MapGround() {
  Canvas page(640, 480);
  page.Fill(Rgb(0x1A120C));
  Parchment(page, {4, 4, 632, 472}, 81, 10, 1.3);
  const Color ink = Rgb(0x4A3018);
  // Mountains along the north, forests in the west, a river through the middle, the sea in the east.
  InkMountains(page, 30, 96, 560, ink);
  for (int i = 0; i < 5; ++i) InkIcon(page, "pine-tree", 26 + (i % 2) * 20, 180 + i * 34, 24, 30, ink, 0.5);
  for (int i = 0; i < 4; ++i) InkIcon(page, "pine-tree", 300 + i * 26, 176 + (i % 2) * 8, 22, 28, ink, 0.45);
  cairo_t* cr = page.cr();
  cairo_move_to(cr, 640, 230);
  cairo_curve_to(cr, 590, 236, 600, 300, 560, 330);
  cairo_curve_to(cr, 520, 360, 470, 372, 420, 368);
  cairo_curve_to(cr, 380, 366, 360, 390, 330, 384);
  SetColor(cr, Rgb(0x2A4A6A), 0.55);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  InkIcon(page, "castle-ruins", 560, 130, 60, 50, ink, 0.5);
  InkIcon(page, "dungeon-gate", 498, 66, 34, 30, ink, 0.7);
  InkIcon(page, "spiked-dragon-head", 52, 232, 64, 60, Rgb(0x6A1208), 0.55);
  // Compass rose in the south-east.
  const double cx = 590, cy = 420;
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4, len = i % 2 ? 12 : 24;
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + std::cos(a + 0.2) * 5, cy + std::sin(a + 0.2) * 5);
    cairo_line_to(cr, cx + std::cos(a) * len, cy + std::sin(a) * len);
    cairo_close_path(cr);
  }
  SetColor(cr, ink, 0.6);
  cairo_fill(cr);
  UseFace(cr, Face::kHeading, 12);
  DrawText(cr, "N", cx, cy - 27, ink, Align::kCentre);
  Word(page, "The Crypt Lands", Face::kTitle, 40, 320, 42, Align::kCentre, WordStyle::kInk);
  return page;
}

// Piece i: the trail from the previous dungeon to dungeon i + 1, and that dungeon's mark.
Canvas Piece(int i) {
  const Point origin = kPieces[i];
  const Point to = kDungeons[i];
  const Point from = i > 0 ? kDungeons[i - 1] : to;
  const double right = std::max(to.x, from.x) + (i == 24 ? 14 : 9);
  const double bottom = std::max(to.y, from.y) + (i == 24 ? 14 : 9);
  const int w = static_cast<int>(std::ceil(right - origin.x));
  const int h = static_cast<int>(std::ceil(bottom - origin.y));
  Canvas c(std::max(w, 12), std::max(h, 12));
  cairo_t* cr = c.cr();
  cairo_translate(cr, -origin.x, -origin.y);
  if (i > 0) {
    // A gently bowed dashed trail, bowing to alternate sides.
    const double mx = (from.x + to.x) / 2, my = (from.y + to.y) / 2;
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double bow = (i % 2 ? 0.12 : -0.12) * len;
    const double qx = mx - dy / len * bow, qy = my + dx / len * bow;
    cairo_move_to(cr, from.x, from.y);
    cairo_curve_to(cr, (from.x + 2 * qx) / 3, (from.y + 2 * qy) / 3, (to.x + 2 * qx) / 3, (to.y + 2 * qy) / 3,
                   to.x, to.y);
    const double dash[] = {5, 3};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 2.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColor(cr, Rgb(0x9A1A10));
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  const double r = i == 24 ? 8 : 5;
  cairo_arc(cr, to.x, to.y, r, 0, 2 * M_PI);
  SetColor(cr, i == 24 ? Rgb(0x1A0604) : Rgb(0x8A140C));
  cairo_fill_preserve(cr);
  SetColor(cr, pal::kGold);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  if (i == 24) {
    cairo_arc(cr, to.x, to.y, 3, 0, 2 * M_PI);
    SetColor(cr, Rgb(0xFF5A20));
    cairo_fill(cr);
  }
  return c;
}

Canvas Arrow() {
  Canvas c(24, 30);
  cairo_t* cr = c.cr();
  cairo_move_to(cr, 7, 1);
  cairo_line_to(cr, 17, 1);
  cairo_line_to(cr, 17, 14);
  cairo_line_to(cr, 23, 14);
  cairo_line_to(cr, 12, 29);
  cairo_line_to(cr, 1, 14);
  cairo_line_to(cr, 7, 14);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 24, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, pal::kGoldGlow.r, pal::kGoldGlow.g, pal::kGoldGlow.b);
  cairo_pattern_add_color_stop_rgb(g, 1, pal::kGold.r, pal::kGold.g, pal::kGold.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, pal::kInk);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  return c;
}

}  // namespace

void MakeMap(PictureSet& set) {
  Canvas page = MapGround();
  const Canvas ground = page;
  Canvas cont = ground;
  Word(cont, "Click, or press Enter, to enter the dungeon", Face::kHeading, 22, 320, 424, Align::kCentre,
       WordStyle::kInkLit);
  set.Emit("graphics/map/map_continue.jpg", cont.Crop(61, 397, 518, 40), 1, kNoKey, "(61,397) map, fades in",
           "CThingSprite continue line");
  set.Emit("graphics/map/map_bg.jpg", page, 1, kNoKey, "(0,0) progress map", "ScreenMap background");
  for (int i = 0; i < 25; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "graphics/map/map_line_%02d.bmp", i + 1);
    set.Emit(name, Piece(i), 1, pal::kKeyMagenta,
             "(" + std::to_string(static_cast<int>(kPieces[i].x)) + "," +
                 std::to_string(static_cast<int>(kPieces[i].y)) + ") map; leads to dungeon " +
                 std::to_string(i + 1) + " at (" + std::to_string(static_cast<int>(kDungeons[i].x)) + "," +
                 std::to_string(static_cast<int>(kDungeons[i].y)) + ")",
             "MapPiece " + std::to_string(i));
  }
  set.Emit("graphics/map/map_arrow.bmp", Arrow(), 1, pal::kKeyMagenta,
           "hovers over the current dungeon (x - w/2, y - h - 15 + bob)", "ScreenMap arrow");
}

}  // namespace spellcrypt::art
