// The quick tips: a torn parchment panel that slides in, its OK word, and six pictures that each
// explain one part of the game the first time it comes up.
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

constexpr int kPanelW = 410;
constexpr int kPanelH = 228;

Canvas PanelPicture() {
  Canvas c(kPanelW, kPanelH);
  TornParchment(c, {2, 2, kPanelW - 4.0, kPanelH - 4.0}, 131, 6);
  Word(c, "Quick Tip", Face::kHeading, 26, kPanelW / 2.0, 46, Align::kCentre, WordStyle::kInk);
  cairo_t* cr = c.cr();
  SetColor(cr, pal::kInkFaded);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 130, 56);
  cairo_line_to(cr, 280, 56);
  cairo_stroke(cr);
  return c;
}

// A tip picture: a framed vignette on parchment, an illustration at the left and its words.
struct Tip {
  const char* file;
  int x, y, w, h;
  const char* title;
  const char* text;
};

Canvas TipGround(const Tip& t, std::uint32_t seed) {
  Canvas c(t.w, t.h);
  c.Fill(pal::kParchment);
  Parchment(c, {0, 0, static_cast<double>(t.w), static_cast<double>(t.h)}, seed, 0, 0.2);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 1, 1, t.w - 2, t.h - 2);
  SetColor(cr, pal::kInkFaded);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  return c;
}

void TipWords(Canvas& c, const Tip& t, double left) {
  cairo_t* cr = c.cr();
  UseFace(cr, Face::kBodyBold, 14);
  DrawText(cr, t.title, left, 18, pal::kInkRed);
  UseFace(cr, Face::kBody, 12.5);
  DrawWrapped(cr, t.text, left, 35, t.w - left - 8, 14.5, pal::kInk);
}

void Tile(Canvas& c, int frame, char letter, double x, double y, double size = 40) {
  c.DrawScaled(TilePicture(frame, letter), x, y, size, size);
}

void Figure(Canvas& c, const char* icon, std::uint32_t rgb, double x, double y, int w, int h, int close = 3) {
  FigureStyle s;
  s.base = Rgb(rgb);
  s.relief = 0.9;
  s.shine = 0.4;
  s.close = close;
  c.Draw(ShadeFigure(FitIcon(icon, w, h), s), x, y);
}

}  // namespace

void MakeTips(PictureSet& set) {
  const Canvas panel = PanelPicture();
  Canvas withOk = panel;
  std::vector<WordButton> ok = {{"graphics/tips/tip_ok.jpg", "OK", 180, 188, 50, 30, 22, Face::kHeading,
                                 Align::kCentre, "tip panel + (180,188), layer 1002",
                                 "CMenuBut tip OK highlight"}};
  WordButtons(set, withOk, ok, true);
  set.Emit("graphics/tips/tip_bg.bmp", withOk, 1, pal::kKeyMagenta,
           "centred, slides in from the left, layer 1000", "ScreenTip panel");

  const Tip tips[6] = {
      {"graphics/tips/tip_game_start.jpg", 22, 75, 366, 108, "Spell a word to attack!",
       "Click tiles or type letters to spell a word of 3 or more letters, then press Enter or click Cast "
       "Spell. "
       "Longer words hit much harder."},
      {"graphics/tips/tip_highscore.jpg", 20, 72, 370, 110, "The Hall of Fame",
       "Each difficulty keeps its own twelve best. Click a row to read that game's summary; click GLOBAL for "
       "the world's rankings."},
      {"graphics/tips/tip_tough.jpg", 24, 85, 362, 98, "This foe wears armour!",
       "Words shorter than four letters do nothing to it. Spell longer words to break through."},
      {"graphics/tips/tip_oracle.jpg", 22, 78, 366, 104, "You found an Oracle tile",
       "Click it (or press Tab) and it lays out the longest word your rack can make. Then cast it yourself."},
      {"graphics/tips/tip_refresh.jpg", 17, 81, 376, 100, "You found a Refresh tile",
       "Click it to sweep away your plain letters and deal eight fresh ones. Bonus tiles stay."},
      {"graphics/tips/tip_life.jpg", 58, 95, 294, 88, "A Health Potion",
       "Click it, or press the ` key or 2, to drink it and heal 5 life."},
  };
  std::uint32_t seed = 140;
  for (int i = 0; i < 6; ++i) {
    const Tip& t = tips[i];
    Canvas c = TipGround(t, seed++);
    double left = 100;
    switch (i) {
      case 0:
        Tile(c, 2, 'B', 8, 10, 28);
        Tile(c, 2, 'A', 38, 10, 28);
        Tile(c, 2, 'T', 68, 10, 28);
        // The spelled word strikes a skeleton in a burst of flame.
        Figure(c, "skeleton", 0xE0D6BC, 34, 42, 40, 62, 0);
        Flame(c, 54, 92, 34, 30, 0.2, 150);
        Flame(c, 40, 80, 16, 18, 0.6, 151);
        left = 104;
        break;
      case 1:
        Figure(c, "laurel-crown", 0xD0A030, 10, 14, 80, 80);
        break;
      case 2:
        Figure(c, "tortoise", 0x6A7A3A, 6, 14, 84, 64, 2);
        Figure(c, "shield", 0x9A9AA0, 56, 46, 34, 40, 2);
        break;
      case 3:
        Tile(c, 3, ' ', 18, 22, 60);
        break;
      case 4:
        Tile(c, 6, ' ', 18, 20, 60);
        break;
      case 5:
        Tile(c, 5, ' ', 10, 16, 56);
        left = 78;
        break;
    }
    TipWords(c, t, left);
    set.Emit(t.file, c, 1, pal::kKeyMagenta,
             "tip panel + (" + std::to_string(t.x) + "," + std::to_string(t.y) + "), layer 1001",
             "ScreenTip picture, tip " + std::to_string(i));
  }
}

}  // namespace spellcrypt::art
