// The book found after a boss: the small closed book that flies in, the open book, the message
// under it, the glowing frame that marks a page to choose, and the five pages.
#include <algorithm>
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

constexpr int kBookW = 480;
constexpr int kBookH = 280;
constexpr int kPageW = 172;
constexpr int kPageH = 236;

// The book of lore that flies in after a boss (the game shows it up to three times its size): an
// old clasped tome in oxblood leather, its page block showing below and to the right, a sigil of
// runes glowing on the cover. Drawn four times over and scaled down, outlined so that its edge
// stays clean against the colour key.
Canvas SmallBook() {
  constexpr int kW = 48, kH = 40, kS = 4;
  Canvas big(kW * kS, kH * kS);
  cairo_t* cr = big.cr();
  cairo_scale(cr, kS, kS);
  const Rect cover{4, 3, 35, 31};
  // Back cover, then the page block between the covers, seen on its right and bottom faces.
  RoundedRect(cr, 7.5, 6, 37, 32, 2.5);
  SetColor(cr, Rgb(0x2A0C07));
  cairo_fill(cr);
  RoundedRect(cr, 6, 4.5, 37, 32, 1.5);
  cairo_pattern_t* pages = cairo_pattern_create_linear(38, 34, 43, 37);
  cairo_pattern_add_color_stop_rgb(pages, 0, pal::kParchment.r, pal::kParchment.g, pal::kParchment.b);
  cairo_pattern_add_color_stop_rgb(pages, 1, pal::kParchmentBurn.r, pal::kParchmentBurn.g,
                                   pal::kParchmentBurn.b);
  cairo_set_source(cr, pages);
  cairo_fill(cr);
  cairo_pattern_destroy(pages);
  // Page edges: fine lines along both faces.
  SetColor(cr, pal::kParchmentBurn, 0.7);
  cairo_set_line_width(cr, 0.35);
  for (double t = 0.8; t < 4; t += 0.9) {
    cairo_move_to(cr, cover.x + cover.w + t, cover.y + 2 + t * 0.5);
    cairo_line_to(cr, cover.x + cover.w + t, cover.y + cover.h + t * 0.4);
    cairo_move_to(cr, cover.x + 3 + t * 0.5, cover.y + cover.h + t * 0.8);
    cairo_line_to(cr, cover.x + cover.w + t * 0.8, cover.y + cover.h + t * 0.8);
  }
  cairo_stroke(cr);

  // The front cover: leather lit from the upper left, with a faint grain.
  RoundedRect(cr, cover.x, cover.y, cover.w, cover.h, 2);
  cairo_pattern_t* leather =
      cairo_pattern_create_linear(cover.x, cover.y, cover.x + cover.w, cover.y + cover.h);
  cairo_pattern_add_color_stop_rgb(leather, 0, 0.62, 0.24, 0.14);
  cairo_pattern_add_color_stop_rgb(leather, 0.55, 0.42, 0.13, 0.08);
  cairo_pattern_add_color_stop_rgb(leather, 1, 0.24, 0.06, 0.04);
  cairo_set_source(cr, leather);
  cairo_fill(cr);
  cairo_pattern_destroy(leather);
  big.Apply([&](int x, int y, const Color& p) {
    const double fx = x / double(kS), fy = y / double(kS);
    if (p.a <= 0 || fx < cover.x || fy < cover.y || fx > cover.x + cover.w || fy > cover.y + cover.h)
      return p;
    const double n = (Fbm(x * 0.09, y * 0.09, 3, 117) - 0.5) * 0.3;
    return Color{p.r * (1 + n), p.g * (1 + n), p.b * (1 + n), p.a};
  });
  // The hinge beside the spine, and the tooled border.
  cairo_set_line_width(cr, 0.9);
  cairo_move_to(cr, cover.x + 5, cover.y + 0.5);
  cairo_line_to(cr, cover.x + 5, cover.y + cover.h - 0.5);
  SetColor(cr, Rgb(0x1E0604));
  cairo_stroke(cr);
  cairo_move_to(cr, cover.x + 5.9, cover.y + 0.8);
  cairo_line_to(cr, cover.x + 5.9, cover.y + cover.h - 0.8);
  SetColor(cr, Rgb(0xC0704A), 0.6);
  cairo_set_line_width(cr, 0.5);
  cairo_stroke(cr);
  cairo_rectangle(cr, cover.x + 8, cover.y + 2.8, cover.w - 11, cover.h - 5.6);
  SetColor(cr, pal::kGoldDark);
  cairo_set_line_width(cr, 0.6);
  cairo_stroke(cr);
  // The cover's bevel: its upper and left edges catch the torch, the others fall into shade.
  cairo_set_line_width(cr, 0.8);
  cairo_move_to(cr, cover.x + 0.6, cover.y + cover.h - 2);
  cairo_line_to(cr, cover.x + 0.6, cover.y + 0.6);
  cairo_line_to(cr, cover.x + cover.w - 2, cover.y + 0.6);
  SetColor(cr, Rgb(0xE0906A), 0.75);
  cairo_stroke(cr);
  cairo_move_to(cr, cover.x + cover.w - 0.5, cover.y + 2);
  cairo_line_to(cr, cover.x + cover.w - 0.5, cover.y + cover.h - 0.5);
  cairo_line_to(cr, cover.x + 2, cover.y + cover.h - 0.5);
  SetColor(cr, Rgb(0x160402), 0.9);
  cairo_stroke(cr);

  // Gold corner pieces on the free corners.
  auto corner = [&](double x, double y, double sx, double sy) {
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + sx * 7, y);
    cairo_line_to(cr, x, y + sy * 7);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(x - 4, y - 4, x + 4, y + 4);
    cairo_pattern_add_color_stop_rgb(g, 0, pal::kGoldGlow.r, pal::kGoldGlow.g, pal::kGoldGlow.b);
    cairo_pattern_add_color_stop_rgb(g, 1, pal::kGold.r * 0.8, pal::kGold.g * 0.8, pal::kGold.b * 0.8);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, pal::kGoldDark);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
  };
  corner(cover.x + cover.w, cover.y, -1, 1);
  corner(cover.x + cover.w, cover.y + cover.h, -1, -1);

  // The clasp: a leather strap from the back cover over the pages, fastened to a brass plate.
  const double cy = cover.y + cover.h / 2;
  cairo_rectangle(cr, cover.x + cover.w - 6, cy - 3, 10.5, 6);
  SetColor(cr, Rgb(0x3A1A0C));
  cairo_fill_preserve(cr);
  SetColor(cr, Rgb(0x140804));
  cairo_set_line_width(cr, 0.5);
  cairo_stroke(cr);
  RoundedRect(cr, cover.x + cover.w - 9, cy - 4, 6, 8, 1.2);
  cairo_pattern_t* brass = cairo_pattern_create_linear(0, cy - 4, 0, cy + 4);
  cairo_pattern_add_color_stop_rgb(brass, 0, pal::kGoldLight.r, pal::kGoldLight.g, pal::kGoldLight.b);
  cairo_pattern_add_color_stop_rgb(brass, 1, pal::kGoldDark.r, pal::kGoldDark.g, pal::kGoldDark.b);
  cairo_set_source(cr, brass);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(brass);
  SetColor(cr, Rgb(0x3A2408));
  cairo_set_line_width(cr, 0.5);
  cairo_stroke(cr);
  cairo_arc(cr, cover.x + cover.w - 6, cy - 0.6, 0.9, 0, 2 * M_PI);
  cairo_rectangle(cr, cover.x + cover.w - 6.4, cy - 0.4, 0.8, 2);
  SetColor(cr, Rgb(0x120802));
  cairo_fill(cr);

  // The sigil: a ring of runes around a warding sign, glowing from within the leather.
  const double sx = cover.x + 15.5, sy = cy;
  Canvas runes(big.width(), big.height());
  cairo_t* rc = runes.cr();
  cairo_scale(rc, kS, kS);
  cairo_set_line_cap(rc, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(rc, CAIRO_LINE_JOIN_ROUND);
  cairo_arc(rc, sx, sy, 7.2, 0, 2 * M_PI);
  cairo_set_line_width(rc, 0.8);
  SetColor(rc, {1, 1, 1, 1});
  cairo_stroke(rc);
  // An open eye: the lore the book keeps.
  cairo_move_to(rc, sx - 4.6, sy);
  cairo_curve_to(rc, sx - 2, sy - 3.6, sx + 2, sy - 3.6, sx + 4.6, sy);
  cairo_curve_to(rc, sx + 2, sy + 3.6, sx - 2, sy + 3.6, sx - 4.6, sy);
  cairo_close_path(rc);
  cairo_set_line_width(rc, 0.8);
  cairo_stroke(rc);
  cairo_arc(rc, sx, sy, 1.3, 0, 2 * M_PI);
  cairo_fill(rc);
  // Rune marks set into the ring.
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3 + M_PI / 6;
    const double rx = sx + std::cos(a) * 7.2, ry = sy + std::sin(a) * 7.2;
    cairo_move_to(rc, rx - std::sin(a) * 1.3, ry + std::cos(a) * 1.3 - 0.6);
    cairo_line_to(rc, rx + std::sin(a) * 1.3, ry - std::cos(a) * 1.3 + 0.6);
  }
  cairo_set_line_width(rc, 0.9);
  cairo_stroke(rc);
  const Mask rune = runes.Alpha();
  Mask halo = Blur(rune, kS + kS / 2);
  for (float& v : halo.v) v = std::min(1.0f, v * 2.4f);
  big.PaintMask(halo, Rgb(0x2A7CFF), 0, 0, 0.8);
  big.PaintMask(Blur(rune, kS / 2), Rgb(0x6CD2FF), 0, 0, 1.0);
  big.PaintMask(rune, Rgb(0xC8F2FF), 0, 0, 0.9);

  // One dark outline round the whole book, a final pixel wide.
  const Mask body = Threshold(big.Alpha(), 0.5f);
  Canvas out(big.width(), big.height());
  out.PaintMask(Blur(Dilate(body, kS), 1), pal::kStoneDeep);
  out.Draw(big, 0, 0);
  Canvas small(kW, kH);
  small.DrawScaled(out, 0, 0, kW, kH);
  return small;
}

Canvas BigBook() {
  Canvas c(kBookW, kBookH);
  cairo_t* cr = c.cr();
  // Leather cover.
  RoundedRect(cr, 0, 0, kBookW, kBookH, 14);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, kBookH);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.45, 0.12, 0.08);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.22, 0.05, 0.03);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  GoldFrame(c, {3, 3, kBookW - 6.0, kBookH - 6.0}, 3, 12);
  // Page block: a stack of edges under each page, then the pages curving into the spine.
  for (int side = 0; side < 2; ++side) {
    const double x = side ? 244 : 20;
    for (int k = 3; k >= 0; --k) {
      RoundedRect(cr, x + (side ? k : -k), 10 + k, 216, kBookH - 22, 6);
      SetColor(cr, Mix(pal::kParchmentDark, pal::kParchmentBurn, k * 0.15));
      cairo_fill(cr);
    }
    Parchment(c, {x, 10, 216, kBookH - 22.0}, 111 + static_cast<std::uint32_t>(side), 6, 0.5);
  }
  // The spine's shadow.
  cairo_rectangle(cr, 222, 10, 36, kBookH - 22);
  cairo_pattern_t* s = cairo_pattern_create_linear(222, 0, 258, 0);
  cairo_pattern_add_color_stop_rgba(s, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(s, 0.5, 0, 0, 0, 0.55);
  cairo_pattern_add_color_stop_rgba(s, 1, 0, 0, 0, 0);
  cairo_set_source(cr, s);
  cairo_fill(cr);
  cairo_pattern_destroy(s);
  // A red ribbon bookmark.
  cairo_rectangle(cr, 236, kBookH - 14, 8, 14);
  SetColor(cr, pal::kBlood);
  cairo_fill(cr);
  return c;
}

// The message under the open book. It is keyed, so the lit letters' glow cannot fade into what is
// behind it: the glow is kept to a narrow rim round the letters that darkens to an outline at its
// edge, and everything further out is the key.
Canvas FoundMessage() {
  const int w = 640, h = 60;
  const Color ground = Rgb(0x0C0907);
  struct Line {
    const char* text;
    double size, baseline;
    WordStyle style;
  };
  const Line lines[] = {{"You found a book of lore!", 28, 27, WordStyle::kLit},
                        {"Choose one of its pages.", 18, 50, WordStyle::kCarved}};
  Canvas lit(w, h);
  lit.Fill(ground);
  Canvas shape(w, h);
  cairo_t* sc = shape.cr();
  for (const Line& l : lines) {
    Word(lit, l.text, Face::kHeading, l.size, w / 2.0, l.baseline, Align::kCentre, l.style);
    UseFace(sc, Face::kHeading, l.size);
    // The letters with their stroke, and the carved letters' cut below and to the right.
    for (const double d : {0.0, l.style == WordStyle::kCarved ? 2.0 : 0.0}) {
      TextPath(sc, l.text, w / 2.0 + d * 0.75, l.baseline + d, Align::kCentre);
      SetColor(sc, {1, 1, 1, 1});
      cairo_set_line_width(sc, 2.5);
      cairo_set_line_join(sc, CAIRO_LINE_JOIN_ROUND);
      cairo_stroke_preserve(sc);
      cairo_fill(sc);
    }
  }
  const Mask rim = Blur(Dilate(Threshold(shape.Alpha(), 0.5f), 3), 1);
  Canvas out(w, h);
  out.Apply([&](int x, int y, const Color&) -> Color {
    const double k = rim.at(x, y);
    if (k < 0.5) return {0, 0, 0, 0};
    Color p = Mix(ground, lit.Get(x, y), SmoothStep(0.5, 0.95, k));
    p.a = 1;
    return p;
  });
  return out;
}

Canvas Overlay() {
  // Marks a page as choosable: a glowing gold frame around it, clear in the middle.
  Canvas c(216, 280);
  cairo_t* cr = c.cr();
  const Rect page{22, 36, kPageW, kPageH};
  RoundedRect(cr, page.x - 7, page.y - 7, page.w + 14, page.h + 14, 8);
  RoundedRect(cr, page.x - 1, page.y - 1, page.w + 2, page.h + 2, 3);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, page.y, 0, page.y + page.h);
  cairo_pattern_add_color_stop_rgb(g, 0, pal::kGoldGlow.r, pal::kGoldGlow.g, pal::kGoldGlow.b);
  cairo_pattern_add_color_stop_rgb(g, 1, pal::kGold.r, pal::kGold.g, pal::kGold.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // A pointer above the page.
  cairo_move_to(cr, 108 - 12, 6);
  cairo_line_to(cr, 108 + 12, 6);
  cairo_line_to(cr, 108, 24);
  cairo_close_path(cr);
  SetColor(cr, pal::kGoldLight);
  cairo_fill_preserve(cr);
  SetColor(cr, pal::kInk);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  return c;
}

struct PageSpec {
  const char* file;
  const char* title;
  const char* icon;
  std::uint32_t color;
  const char* line1;
  const char* line2;
  const char* line3;
};

Canvas Page(const PageSpec& p, std::uint32_t seed) {
  Canvas c(kPageW, kPageH);
  c.Fill(pal::kParchmentDark);
  Parchment(c, {0, 0, kPageW, kPageH}, seed, 2, 0.5);
  cairo_t* cr = c.cr();
  // Ruled border in red ink, an illuminated title, the sign of the gift and its words.
  RoundedRect(cr, 8, 8, kPageW - 16, kPageH - 16, 4);
  SetColor(cr, pal::kInkRed, 0.8);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  Word(c, p.title, Face::kTitle, 30, kPageW / 2.0, 44, Align::kCentre, WordStyle::kInkLit);
  Glow(c, kPageW / 2.0, 110, 40, Rgb(p.color), 0.5);
  FigureStyle s;
  s.base = Rgb(p.color);
  s.relief = 0.9;
  s.shine = 0.5;
  s.close = 3;
  s.outline = pal::kInk;
  s.seed = seed;
  c.Draw(ShadeFigureClear(FitIcon(p.icon, 90, 84), s), kPageW / 2.0 - 45, 60);
  UseFace(cr, Face::kBodyBold, 15);
  DrawText(cr, p.line1, kPageW / 2.0, 176, pal::kInk, Align::kCentre);
  UseFace(cr, Face::kBody, 12.5);
  DrawText(cr, p.line2, kPageW / 2.0, 196, pal::kInkFaded, Align::kCentre);
  DrawText(cr, p.line3, kPageW / 2.0, 211, pal::kInkFaded, Align::kCentre);
  return c;
}

}  // namespace

void MakeBook(PictureSet& set) {
  set.Emit("graphics/book/book_small.bmp", SmallBook(), 1, pal::kKeyMagenta,
           "grows from (106,159), circles, grows to three times its size", "CThingBook");
  set.Emit("graphics/book/book_big.bmp", BigBook(), 1, pal::kKeyMagenta,
           "centred, layer 500; pages at +43/+265, +17", "ScreenBook", {{}, kAllEdges});
  set.Emit("graphics/book/found_book_message.bmp", FoundMessage(), 1, pal::kKeyMagenta,
           "98 above the bottom, fades in", "ScreenBook message");
  set.Emit("graphics/book/page_select_overlay.bmp", Overlay(), 1, pal::kKeyMagenta,
           "book + (21,11) and (238,11) over each page, layer 502", "ScreenBook page button");
  const PageSpec pages[] = {
      {"graphics/book/page_life.jpg", "Life", "heart-plus", 0xD02A22, "+5 maximum life", "and five life",
       "restored at once"},
      {"graphics/book/page_power.jpg", "Power", "brain", 0x9A6AE0, "Mind +1", "every spell strikes",
       "one point harder"},
      {"graphics/book/page_bonus.jpg", "Bonus", "two-coins", 0xE0B030, "25,000 points", "a purse of gold",
       "for your score"},
      {"graphics/book/page_luck.jpg", "Luck", "clover", 0x3AA040, "Luck +1", "better bonus tiles",
       "after every kill"},
      {"graphics/book/page_curse.jpg", "Curse", "wizard-staff", 0xC0281A, "Crimson staff", "every foe begins",
       "5% weaker"},
  };
  std::uint32_t seed = 120;
  for (const PageSpec& p : pages)
    set.Emit(p.file, Page(p, seed++), 1, kNoKey, "book + (43,47) left or (265,47) right, layer 501",
             "ScreenBook page");
}

}  // namespace spellcrypt::art
