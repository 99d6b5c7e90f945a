// The hall of fame (tables drawn by the game into its background) and the end-of-game summary
// scroll with its slider, arrows and buttons.
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

// Column positions the game writes the rows at: number centred on 57, name from 100, dungeon
// centred on 293, bosses centred on 421, score ending at 587; rows from y 107, 19 apart.
constexpr double kFirstRow = 107;
constexpr double kRowStep = 19;

// A tab: the selected one a lit bronze plate in a gold frame, the others the same plate unlit,
// darker and whole, so the wall's mortar never shows through a word.
void Tab(Canvas& c, const Rect& r, const std::string& text, bool lit, std::uint32_t seed) {
  cairo_t* cr = c.cr();
  RoundedRect(cr, r.x + 1, r.y + 1, r.w - 2, r.h - 2, 5);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, r.y, 0, r.y + r.h);
  if (lit) {
    cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.38, 0.12);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.30, 0.18, 0.05);
  } else {
    cairo_pattern_add_color_stop_rgb(g, 0, 0.23, 0.17, 0.11);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.11, 0.08, 0.05);
  }
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  if (lit) {
    GoldFrame(c, r, 2.5, 5);
  } else {
    // Worn metal: a faint grain, a dull rim, and the bevel catching the torch on its upper edge.
    for (int y = static_cast<int>(r.y + 2); y < static_cast<int>(r.y + r.h - 2); ++y)
      for (int x = static_cast<int>(r.x + 2); x < static_cast<int>(r.x + r.w - 2); ++x) {
        const double n = (Fbm(x * 0.15, y * 0.3, 3, seed) - 0.5) * 0.35;
        const Color p = c.Get(x, y);
        c.Set(x, y, {p.r * (1 + n), p.g * (1 + n), p.b * (1 + n), p.a});
      }
    RoundedRect(cr, r.x + 1.5, r.y + 1.5, r.w - 3, r.h - 3, 5);
    SetColor(cr, pal::kGoldDark);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, r.x + 6, r.y + 3.5);
    cairo_line_to(cr, r.x + r.w - 6, r.y + 3.5);
    SetColor(cr, pal::kGold, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  const double size = r.h > 28 ? 20 : 18;
  Word(c, text, Face::kHeading, size, r.x + r.w / 2, CentredBaseline(Face::kHeading, size, r.y, r.h),
       Align::kCentre, lit ? WordStyle::kLit : WordStyle::kCarved);
}

void MakeHallOfFame(PictureSet& set) {
  Canvas page(640, 480);
  DungeonWall(page, 41, {{320, -60, 320, 1.2, pal::kTorch}, {0, 480, 200, 0.5, pal::kEmber}}, 60, 32);
  Word(page, "Hall of Fame", Face::kHeading, 38, 320, 52, Align::kCentre, WordStyle::kLit);
  Recess(page, {36, 70, 568, 270}, 6);
  cairo_t* cr = page.cr();
  for (int i = 0; i < 12; ++i) {
    cairo_rectangle(cr, 40, kFirstRow - 1 + i * kRowStep, 560, kRowStep);
    SetColor(cr, i % 2 ? Rgb(0x2A2018) : Rgb(0x1A140F), 0.7);
    cairo_fill(cr);
  }
  UseFace(cr, Face::kHeading, 15);
  const Color head = pal::kGold;
  DrawText(cr, "#", 57, 94, head, Align::kCentre);
  DrawText(cr, "Hero", 100, 94, head);
  DrawText(cr, "Dungeon", 293, 94, head, Align::kCentre);
  DrawText(cr, "Bosses", 421, 94, head, Align::kCentre);
  DrawText(cr, "Score", 587, 94, head, Align::kRight);
  SetColor(cr, pal::kGoldDark);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 44, 100.5);
  cairo_line_to(cr, 596, 100.5);
  cairo_stroke(cr);

  struct Button {
    const char* file;
    const char* text;
    Rect r;
    const char* by;
  };
  const Button buttons[] = {
      {"graphics/highscore_easy.jpg", "Easy", {72, 382, 120, 26}, "CThingButton easy tab (pressed image)"},
      {"graphics/highscore_normal.jpg",
       "Normal",
       {279, 382, 120, 26},
       "CThingButton normal tab (pressed image)"},
      {"graphics/highscore_hard.jpg", "Hard", {476, 382, 120, 26}, "CThingButton hard tab (pressed image)"},
      {"graphics/highscore_local.jpg", "Local", {38, 411, 160, 30}, "CThingButton local (pressed image)"},
      {"graphics/highscore_global.jpg",
       "Global",
       {389, 411, 160, 30},
       "CThingButton internet (pressed image)"},
  };
  const Canvas ground = page;
  std::uint32_t seed = 50;
  for (const Button& b : buttons) {
    Canvas lit = ground;
    Tab(lit, b.r, b.text, true, seed);
    set.Emit(b.file,
             lit.Crop(static_cast<int>(b.r.x), static_cast<int>(b.r.y), static_cast<int>(b.r.w),
                      static_cast<int>(b.r.h)),
             1, kNoKey,
             "(" + std::to_string(static_cast<int>(b.r.x)) + "," + std::to_string(static_cast<int>(b.r.y)) +
                 ") hall of fame, selected",
             b.by);
    Tab(page, b.r, b.text, false, seed++);
  }
  std::vector<WordButton> back = {{"graphics/highscore_back_over.bmp", "Back", 290, 416, 80, 26, 20,
                                   Face::kHeading, Align::kCentre, "(290,416) hall of fame",
                                   "CMenuBut back highlight"}};
  WordButtons(set, page, back);
  set.Emit("graphics/highscore_bg.jpg", page, 1, kNoKey,
           "(0,0) hall of fame, layer 400; rows drawn into it from y 107, 19 apart; messages at (46,345)",
           "CThingSprite background (reloaded to wipe the rows)");

  // The row highlight: a gold frame around one row, open in the middle.
  Canvas hl(546, 20);
  cairo_t* hc = hl.cr();
  RoundedRect(hc, 1, 1, 544, 18, 4);
  SetColor(hc, pal::kGoldLight);
  cairo_set_line_width(hc, 2);
  cairo_stroke(hc);
  set.Emit("graphics/score_highlight.bmp", hl, 1, pal::kKeyMagenta, "(47, row top) hall of fame, layer 403",
           "CThingSprite row highlight", {{}, kAllEdges});
}

// ---- summary -----------------------------------------------------------------------------------

void Rod(Canvas& c, double y) {
  cairo_t* cr = c.cr();
  RoundedRect(cr, 52, y, 536, 16, 8);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + 16);
  cairo_pattern_add_color_stop_rgb(g, 0, pal::kWoodLight.r, pal::kWoodLight.g, pal::kWoodLight.b);
  cairo_pattern_add_color_stop_rgb(g, 1, pal::kWoodDark.r, pal::kWoodDark.g, pal::kWoodDark.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (double x : {46.0, 594.0}) {
    cairo_arc(cr, x, y + 8, 9, 0, 2 * M_PI);
    SetColor(cr, pal::kGold);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kGoldDark);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
}

void Triangle(Canvas& c, double x, double y, bool up) {
  cairo_t* cr = c.cr();
  cairo_move_to(cr, x + 11, up ? y + 1 : y + 11);
  cairo_line_to(cr, x + 20, up ? y + 11 : y + 1);
  cairo_line_to(cr, x + 2, up ? y + 11 : y + 1);
  cairo_close_path(cr);
  SetColor(cr, pal::kInkRed);
  cairo_fill_preserve(cr);
  SetColor(cr, pal::kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void InkCartouche(Canvas& c, const Rect& r, const std::string& text, double size) {
  cairo_t* cr = c.cr();
  RoundedRect(cr, r.x + 2, r.y + 2, r.w - 4, r.h - 4, 9);
  SetColor(cr, Rgb(0xF2E0B0));
  cairo_fill_preserve(cr);
  SetColor(cr, pal::kInkRed);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
  Word(c, text, Face::kHeading, size, r.x + r.w / 2, CentredBaseline(Face::kHeading, size, r.y, r.h),
       Align::kCentre, WordStyle::kInk);
}

void MakeSummary(PictureSet& set) {
  Canvas scroll(640, 480);
  Parchment(scroll, {62, 48, 516, 388}, 71, 3, 0.6);
  Rod(scroll, 38);
  Rod(scroll, 428);
  Word(scroll, "The Tale of Your Quest", Face::kHeading, 26, 320, 86, Align::kCentre, WordStyle::kInk);
  cairo_t* cr = scroll.cr();
  // The slider's groove beside the text.
  RoundedRect(cr, 543, 119, 8, 222, 4);
  SetColor(cr, pal::kParchmentBurn, 0.55);
  cairo_fill(cr);
  const Canvas ground = scroll;
  struct Piece {
    const char* file;
    Rect r;
    const char* text;
    double size;
    const char* where;
    const char* by;
  };
  const Piece pieces[] = {
      {"graphics/summary_click.bmp",
       {332, 382, 130, 34},
       "Continue",
       20,
       "(332,382) summary, layer 501",
       "CMenuBut continue (normal and highlight)"},
      {"graphics/summary_copy.bmp",
       {128, 385, 180, 30},
       "Copy to Clipboard",
       17,
       "(128,385) summary, layer 501",
       "CMenuBut copy (normal and highlight)"},
      {"graphics/summary_meanings.bmp",
       {474, 385, 96, 30},
       "Meanings",
       17,
       "(474,385) summary, layer 501",
       "CMenuBut meanings of the strong words (normal and highlight)"},
      {"graphics/summary_story.bmp",
       {474, 385, 96, 30},
       "Summary",
       17,
       "(474,385) summary, layer 501, while the meanings show",
       "CMenuBut back to the summary (normal and highlight)"},
  };
  for (const Piece& p : pieces) {
    Canvas b = ground;
    InkCartouche(b, p.r, p.text, p.size);
    set.Emit(p.file,
             b.Crop(static_cast<int>(p.r.x), static_cast<int>(p.r.y), static_cast<int>(p.r.w),
                    static_cast<int>(p.r.h)),
             1, kNoKey, p.where, p.by);
  }
  for (int up = 0; up < 2; ++up) {
    Canvas b = ground;
    const double y = up ? 105 : 368;
    Triangle(b, 536, y, up != 0);
    set.Emit(up ? "graphics/summary_arrow_up.bmp" : "graphics/summary_arrow_down.bmp",
             b.Crop(536, static_cast<int>(y), 22, 12), 1, kNoKey,
             up ? "(536,105) summary, layer 501" : "(536,368) summary, layer 501",
             up ? "CThingButton scroll up" : "CThingButton scroll down");
  }
  set.Emit("graphics/summary_bg.bmp", scroll, 1, pal::kKeyMagenta,
           "(0,0) summary, layer 500; text in (93,100) 442x269", "CTextBox summary background");

  Canvas knob(22, 18);
  cairo_t* kc = knob.cr();
  RoundedRect(kc, 1, 1, 20, 16, 5);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 18);
  cairo_pattern_add_color_stop_rgb(g, 0, pal::kGoldLight.r, pal::kGoldLight.g, pal::kGoldLight.b);
  cairo_pattern_add_color_stop_rgb(g, 1, pal::kGoldDark.r, pal::kGoldDark.g, pal::kGoldDark.b);
  cairo_set_source(kc, g);
  cairo_fill_preserve(kc);
  cairo_pattern_destroy(g);
  SetColor(kc, pal::kInk);
  cairo_set_line_width(kc, 1);
  cairo_stroke(kc);
  cairo_arc(kc, 11, 9, 3.5, 0, 2 * M_PI);
  SetColor(kc, pal::kBloodLight);
  cairo_fill(kc);
  set.Emit("graphics/summary_slider.bmp", knob, 1, pal::kKeyMagenta,
           "x 536, y 117 to 322 beside the summary text", "CSlider knob");

  Canvas note(300, 70);
  Parchment(note, {0, 0, 300, 70}, 73, 8, 0.5);
  GoldFrame(note, {0, 0, 300, 70}, 3, 8);
  Word(note, "Copied to the clipboard!", Face::kHeading, 22, 150, 43, Align::kCentre, WordStyle::kInk);
  set.Emit("graphics/summary_textcopied.bmp", note, 1, pal::kKeyMagenta,
           "centre of the screen for 1 s, layer 505", "CBigMessage", {{}, kAllEdges});
}

}  // namespace

void MakeScores(PictureSet& set) {
  MakeHallOfFame(set);
  MakeSummary(set);
}

}  // namespace spellcrypt::art
