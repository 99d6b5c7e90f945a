// The options page with its check boxes and reset buttons, and the help page that explains the
// game: spelling and casting, the keys, every tile, armour, books and the high-score tables.
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

Canvas ParchmentPage(std::uint32_t seed, const Rect& sheet) {
  Canvas page(640, 480);
  DungeonWall(page, seed, {{60, 40, 260, 1.0, pal::kTorch}, {600, 420, 260, 0.7, pal::kTorch}}, 60, 32);
  Panel(page, sheet, seed + 1, 6);
  return page;
}

Canvas CheckBoxes() {
  Canvas c(64, 32);
  for (int f = 0; f < 2; ++f) {
    cairo_t* cr = c.cr();
    const double x = f * 32;
    RoundedRect(cr, x + 4, 4, 24, 24, 4);
    SetColor(cr, Rgb(0xF0E2BE));
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (f == 1) {
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_move_to(cr, x + 8, 16);
      cairo_line_to(cr, x + 14, 23);
      cairo_line_to(cr, x + 27, 5);
      SetColor(cr, pal::kInkRed);
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
    }
  }
  return c;
}

void MakeOptions(PictureSet& set) {
  Canvas page = ParchmentPage(31, {40, 36, 560, 408});
  Word(page, "Options", Face::kHeading, 40, 320, 92, Align::kCentre, WordStyle::kInk);
  cairo_t* cr = page.cr();
  SetColor(cr, pal::kInkFaded);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 200, 106);
  cairo_line_to(cr, 440, 106);
  cairo_stroke(cr);
  struct Row {
    const char* label;
    const char* hint;
    double y;
  };
  for (const Row& r : {Row{"Word Meanings", "", 124}, Row{"Full Screen", "", 168},
                       Row{"Sound Effects", "", 212}, Row{"Music", "", 255}}) {
    Word(page, r.label, Face::kHeading, 24, 505, CentredBaseline(Face::kHeading, 24, r.y, 32), Align::kRight,
         WordStyle::kInk);
    if (*r.hint) {
      UseFace(cr, Face::kBody, 12);
      DrawText(cr, r.hint, 505, r.y + 42, pal::kInkFaded, Align::kRight);
    }
  }
  FigureStyle lute;
  lute.base = Rgb(0x8A5A2A);
  lute.relief = 0.8;
  lute.shine = 0.3;
  lute.close = 4;
  page.Draw(ShadeFigure(FitIcon("candle-holder", 150, 200), lute), 84, 160);
  const std::string by = "CMenuBut highlight (options)";
  std::vector<WordButton> words = {
      {"graphics/options_reset_help.jpg", "Reset Quick Tips", 295, 295, 300, 36, 25, Face::kHeading,
       Align::kRight, "(295,295) options", by},
      {"graphics/options_reset_scores.jpg", "Reset High Scores", 332, 341, 263, 36, 25, Face::kHeading,
       Align::kRight, "(332,341) options", by},
      {"graphics/options_go_back.jpg", "Go Back", 399, 384, 196, 36, 25, Face::kHeading, Align::kRight,
       "(399,384) options", by},
  };
  WordButtons(set, page, words, true);
  set.Emit("graphics/options_bg.jpg", page, 1, kNoKey, "(0,0) options page, layer 500",
           "CThingSprite options background");
  set.Emit("graphics/checkbox.bmp", CheckBoxes(), 2, pal::kKeyMagenta,
           "(526,168) full screen, (526,212) sound, (526,255) music; frame 1 checked", "CCheckBox");
}

// ---- help ------------------------------------------------------------------------------------

void Heading(Canvas& c, const std::string& text, double x, double y) {
  Word(c, text, Face::kHeading, 17, x, y, Align::kLeft, WordStyle::kInk);
}

double Para(Canvas& c, const std::string& text, double x, double y, double w) {
  UseFace(c.cr(), Face::kBody, 12.5);
  return DrawWrapped(c.cr(), text, x, y, w, 14.5, pal::kInk);
}

void MakeHelp(PictureSet& set) {
  Canvas page = ParchmentPage(33, {8, 6, 624, 468});
  Word(page, "How to Play", Face::kHeading, 32, 320, 46, Align::kCentre, WordStyle::kInk);
  cairo_t* cr = page.cr();

  // Left column: spelling, damage, the keys.
  const double lx = 26, lw = 284;
  Heading(page, "Spell words to cast spells", lx, 76);
  double y = Para(page,
                  "Click the letter tiles of your rack, or type their letters, to lay them in the word row; "
                  "click a laid tile to take it back. Any word of three letters or more is a spell: press "
                  "Enter or click Cast Spell to hurl it at the monster.",
                  lx, 94, lw);
  y = Para(page, "Longer words strike far harder:", lx, y + 2, lw);
  const char* dmg[6][2] = {{"3 letters", "3"}, {"4", "6"},  {"5", "10"},
                           {"6", "20"},        {"7", "40"}, {"8", "60 damage"}};
  UseFace(cr, Face::kBodyBold, 12);
  double dx = lx;
  for (auto& d : dmg) {
    const std::string s = std::string(d[0]) + ": " + d[1];
    DrawText(cr, s, dx, y, pal::kInkRed);
    dx += TextWidth(cr, s) + 9;
  }
  y = Para(page,
           "A word works once in each dungeon. Monsters strike back on their own; when your life bar "
           "is empty, the game is over. Armoured monsters shrug off short words: against them, spell "
           "four letters or more.",
           lx, y + 17, lw);
  Heading(page, "Keys", lx, y + 8);
  struct Key {
    const char* key;
    const char* what;
  };
  const Key keys[] = {{"Enter", "cast the spell"},
                      {"Backspace", "take back the last letter"},
                      {"Space", "jumble the rack"},
                      {"Tab", "summon the Oracle"},
                      {"`  or  2", "drink a health potion"},
                      {"1", "recall your last word"},
                      {"Esc", "clear the word row, or quit"},
                      {"F1", "this help"}};
  y += 26;
  for (const Key& k : keys) {
    UseFace(cr, Face::kBodyBold, 12.5);
    DrawText(cr, k.key, lx + 70, y, pal::kInkRed, Align::kRight);
    UseFace(cr, Face::kBody, 12.5);
    DrawText(cr, k.what, lx + 80, y, pal::kInk);
    y += 14.5;
  }

  // Right column: the tiles.
  const double rx = 330, rw = 286;
  Heading(page, "The tiles", rx, 76);
  struct TileRow {
    int frames[2];
    char letters[2];
    const char* text;
  };
  const TileRow rows[] = {
      {{0, 8}, {'E', 'R'}, "+10 and +20: bonus damage added to the spell."},
      {{4, 7}, {'A', 'T'}, "x2 and x3: multiply the whole spell."},
      {{1, -1}, {'S', ' '}, "Plain bonus tile. Bonus tiles stay from dungeon to dungeon, used up when cast."},
      {{9, 10}, {'X', 'Q'}, "X, and Q or Z: rare letters worth x2 and x3, never used up."},
      {{3, -1}, {' ', ' '}, "Oracle: lays out the longest word your rack allows (click it, or Tab)."},
      {{5, -1}, {' ', ' '}, "Health potion: heals 5 life (click it, or ` or 2)."},
      {{6, -1}, {' ', ' '}, "Refresh: swaps your plain letters for 8 fresh ones."},
  };
  double ty = 86;
  for (const TileRow& r : rows) {
    for (int i = 0; i < 2; ++i) {
      if (r.frames[i] < 0) continue;
      page.DrawScaled(TilePicture(r.frames[i], r.letters[i]), rx + i * 35, ty, 32, 32);
    }
    UseFace(cr, Face::kBody, 12.5);
    DrawWrapped(cr, r.text, rx + 76, ty + 12, rw - 76, 13.5, pal::kInk);
    ty += 35;
  }
  // Books and the tables, kept clear of the continue button at (260, 410).
  Heading(page, "Books and high scores", rx, ty + 12);
  Para(page,
       "A slain boss may leave a book: choose one of its two pages for a lasting gift. Each difficulty "
       "keeps its own table of the twelve best.",
       rx, ty + 28, rw);
  std::vector<WordButton> words = {{"graphics/continue_over.bmp", "Continue", 260, 410, 120, 34, 24,
                                    Face::kHeading, Align::kCentre, "(260,410) help page, layer 502",
                                    "CMenuBut \"help_go_back\" highlight"}};
  WordButtons(set, page, words, true);
  set.Emit("graphics/help_screen.jpg", page, 1, kNoKey, "(0,0) help page, layer 500",
           "CThingSprite \"helpbg\"");
}

}  // namespace

void MakeOptionsAndHelp(PictureSet& set) {
  MakeOptions(set);
  MakeHelp(set);
}

}  // namespace spellcrypt::art
