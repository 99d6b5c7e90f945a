// The book found after a boss: the small closed book that flies in, the open book, the message
// under it, the glowing frame that marks a page to choose, and the five pages.
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

constexpr int kBookW = 480;
constexpr int kBookH = 280;
constexpr int kPageW = 172;
constexpr int kPageH = 236;

Canvas SmallBook() {
  FigureStyle s;
  s.base = Rgb(0x8A2A1A);
  s.detail = pal::kGold;
  s.relief = 0.8;
  s.shine = 0.5;
  s.close = 2;
  return ShadeFigure(FitIcon("book-cover", 48, 40), s);
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

Canvas FoundMessage() {
  Canvas c(640, 60);
  Word(c, "You found a book of lore!", Face::kHeading, 28, 320, 28, Align::kCentre, WordStyle::kLit);
  UseFace(c.cr(), Face::kHeading, 17);
  Canvas sub(640, 60);
  Word(sub, "Choose one of its pages.", Face::kHeading, 18, 320, 52, Align::kCentre, WordStyle::kCarved);
  c.Draw(sub, 0, 0);
  return c;
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
  c.Draw(ShadeFigure(FitIcon(p.icon, 90, 84), s), kPageW / 2.0 - 45, 60);
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
           "centred, layer 500; pages at +43/+265, +17", "ScreenBook");
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
