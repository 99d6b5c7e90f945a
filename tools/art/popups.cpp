// Popups over the game and the menus: the parchment question box with its yes, no and continue
// buttons, the name entry, the transfer boxes of the score exchange, and the difficulty chooser.
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

constexpr int kPopupW = 380;
constexpr int kPopupH = 194;

Canvas PopupGround(std::uint32_t seed) {
  Canvas c(kPopupW, kPopupH);
  c.Fill(Rgb(0x120E0B));
  Parchment(c, {3, 3, kPopupW - 6.0, kPopupH - 6.0}, seed, 6, 0.8);
  GoldFrame(c, {0, 0, kPopupW, kPopupH}, 6, 8);
  // Corner flourishes, small and tucked into the frame's corners: the popups' texts start 10
  // pixels in from the left and 20 down from the top, and must not touch them.
  cairo_t* cr = c.cr();
  SetColor(cr, pal::kGoldDark, 0.8);
  cairo_set_line_width(cr, 1.5);
  constexpr double kInset = 9, kReach = 9;
  for (int i = 0; i < 4; ++i) {
    const double x = i % 2 ? kPopupW - kInset : kInset, y = i / 2 ? kPopupH - kInset : kInset;
    const double sx = i % 2 ? -1 : 1, sy = i / 2 ? -1 : 1;
    cairo_move_to(cr, x, y + sy * kReach);
    cairo_curve_to(cr, x, y + sy * 3, x + sx * 3, y, x + sx * kReach, y);
    cairo_stroke(cr);
  }
  return c;
}

// A button on the popup: an ink word in a drawn cartouche; `lit` is its highlight.
void InkButton(Canvas& c, const Rect& r, const std::string& text, bool lit) {
  cairo_t* cr = c.cr();
  RoundedRect(cr, r.x + 3, r.y + 4, r.w - 6, r.h - 8, 10);
  SetColor(cr, lit ? Rgb(0xF6E2A8) : Rgb(0xE2CC98), 0.9);
  cairo_fill_preserve(cr);
  SetColor(cr, lit ? pal::kInkRed : pal::kInkFaded);
  cairo_set_line_width(cr, lit ? 2.2 : 1.6);
  cairo_stroke(cr);
  const double base = CentredBaseline(Face::kHeading, 21, r.y, r.h);
  Word(c, text, Face::kHeading, 21, r.x + r.w / 2, base, Align::kCentre,
       lit ? WordStyle::kInkLit : WordStyle::kInk);
}

void EmitButtonPair(PictureSet& set, const Canvas& ground, const Rect& r, const std::string& text,
                    const std::string& normal, const std::string& over, const std::string& where,
                    const std::string& by) {
  for (int lit = 0; lit < 2; ++lit) {
    Canvas c = ground;
    InkButton(c, r, text, lit != 0);
    set.Emit(
        lit ? over : normal,
        c.Crop(static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w), static_cast<int>(r.h)), 1,
        kNoKey, where, by + (lit ? " highlight" : " normal"));
  }
}

void TransferBox(PictureSet& set, const std::string& file, const std::string& title, std::uint32_t seed,
                 bool emitCancel) {
  // Dark plaque: the status lines are written in the small cream font at (80, 70).
  Canvas c(400, 180);
  StoneSlab(c, {0, 0, 400, 180}, seed);
  GoldFrame(c, {0, 0, 400, 180}, 5, 6);
  Recess(c, {70, 62, 322, 58}, 5);
  Word(c, title, Face::kHeading, 24, 200, 40, Align::kCentre, WordStyle::kCarved);
  std::vector<WordButton> cancel = {{"graphics/download_cancel_over.bmp", "Cancel", 160, 129, 80, 32, 21,
                                     Face::kHeading, Align::kCentre, "popup background + (167,129)",
                                     "CMenuBut cancel highlight (download and upload boxes)"}};
  // The cancel word sits at (167, 129) on both boxes; the picture starts there.
  cancel[0].x = 167;
  cancel[0].w = 66;
  if (emitCancel) {
    WordButtons(set, c, cancel);
  } else {
    Word(c, "Cancel", Face::kHeading, 21, 200, CentredBaseline(Face::kHeading, 21, 129, 32), Align::kCentre,
         WordStyle::kCarved);
  }
  set.Emit(file, c, 1, pal::kKeyMagenta, "centred, layer 600; status text at + (80,70)",
           "CThingSprite transfer background");
}

// ---- the difficulty chooser ----------------------------------------------------------------

struct Card {
  const char* file;
  const char* title;
  const char* icon;
  const char* line1;
  const char* line2;
  double x;
  Color tint;
};

void DrawCard(Canvas& c, const Card& k, double ox, double oy, bool lit) {
  const Rect r{ox + k.x, oy + 71, 160, 132};
  cairo_t* cr = c.cr();
  if (lit) {
    Canvas glow(c.width(), c.height());
    RoundedRect(glow.cr(), r.x + 2, r.y + 2, r.w - 4, r.h - 4, 8);
    SetColor(glow.cr(), {1, 1, 1, 1});
    cairo_fill(glow.cr());
    c.PaintMask(Blur(glow.Alpha(), 5), Rgb(0xFFB040), 0, 0, 0.9);
  }
  RoundedRect(cr, r.x + 4, r.y + 4, r.w - 8, r.h - 8, 7);
  SetColor(cr, lit ? Rgb(0xF4E4BC) : Rgb(0xDCC496));
  cairo_fill_preserve(cr);
  SetColor(cr, lit ? pal::kGold : pal::kInkFaded);
  cairo_set_line_width(cr, lit ? 3 : 1.5);
  cairo_stroke(cr);
  FigureStyle style;
  style.base = k.tint;
  style.relief = 0.7;
  style.shine = 0.3;
  style.texture = 0.05;
  style.seed = 40;
  c.Draw(ShadeFigure(IconMask(k.icon, 58, 58), style), r.x + r.w / 2 - 29, r.y + 10);
  Word(c, k.title, Face::kHeading, 22, r.x + r.w / 2, r.y + 92, Align::kCentre,
       lit ? WordStyle::kInkLit : WordStyle::kInk);
  UseFace(cr, Face::kBody, 12.5);
  DrawText(cr, k.line1, r.x + r.w / 2, r.y + 108, pal::kInk, Align::kCentre);
  DrawText(cr, k.line2, r.x + r.w / 2, r.y + 122, pal::kInk, Align::kCentre);
}

void MakeChooser(PictureSet& set) {
  // The panel is drawn at (53, 103); the buttons sit at offsets from there.
  const double ox = 53, oy = 103;
  Canvas page(640, 480);
  page.Fill(Rgb(0x120E0B));
  Panel(page, {ox, oy, 534, 300}, 61, 6);
  Word(page, "Choose Your Path", Face::kHeading, 30, 320, oy + 50, Align::kCentre, WordStyle::kInk);
  const Card cards[3] = {
      {"graphics/choose_easy.jpg", "Kidmode", "baby-face", "25 life, double damage", "gentle monsters", 17,
       Rgb(0xE8B080)},
      {"graphics/choose_normal.bmp", "Normal", "swordman", "15 life", "the true crypt", 186, Rgb(0xA0A8B8)},
      {"graphics/choose_wizard.bmp", "Wizard", "wizard-face", "from dungeon 4,", "no oracles, no mercy", 353,
       Rgb(0x8A70D0)},
  };
  const Canvas ground = page;
  for (const Card& k : cards) {
    Canvas lit = ground;
    DrawCard(lit, k, ox, oy, true);
    set.Emit(k.file, lit.Crop(static_cast<int>(ox + k.x), static_cast<int>(oy + 71), 160, 132), 1, kNoKey,
             "chooser (53,103) + (" + std::to_string(static_cast<int>(k.x)) + ",71), layer 12",
             std::string("CMenuBut \"") + (k.x < 20 ? "Easy" : (k.x < 200 ? "Normal" : "Wizard")) +
                 "\" (selected look)");
    DrawCard(page, k, ox, oy, false);
  }
  std::vector<WordButton> words = {
      {"graphics/choose_enter.jpg", "Enter the Crypt", ox + 175, oy + 216, 184, 34, 24, Face::kHeading,
       Align::kCentre, "chooser (53,103) + (175,216)", "CMenuBut enter"},
      {"graphics/choose_back.jpg", "Back", ox + 222, oy + 254, 90, 30, 20, Face::kHeading, Align::kCentre,
       "chooser (53,103) + (222,254)", "CMenuBut back"},
  };
  WordButtons(set, page, words, true);
  set.Emit("graphics/choose_screen.jpg", page.Crop(static_cast<int>(ox), static_cast<int>(oy), 534, 300), 1,
           kNoKey, "(53,103), layer 10", "CThingSprite chooser background");
}

}  // namespace

void MakePopups(PictureSet& set) {
  const Canvas ground = PopupGround(51);
  set.Emit("graphics/popup.jpg", ground, 1, kNoKey,
           "(130,143) game popups; centred for questions and notices; texts at (17,25), (17,65), (90,45), "
           "centred at 67",
           "CThingSprite / CBigMessage / CTextBox popup background");
  EmitButtonPair(set, ground, {66, 123, 100, 40}, "Yes", "graphics/yes.bmp", "graphics/yes_over.bmp",
                 "popup + (66,123)", "CMenuBut yes");
  EmitButtonPair(set, ground, {213, 123, 100, 40}, "No", "graphics/no.bmp", "graphics/no_over.bmp",
                 "popup + (213,123)", "CMenuBut no");
  EmitButtonPair(set, ground, {139, 124, 102, 40}, "Continue", "graphics/popup_continue.bmp",
                 "graphics/popup_continue_over.bmp", "popup + (139,124)", "CMenuBut continue");

  // Name entry: the prompt above, the name written at (133, 85) on an inked line.
  Canvas name = PopupGround(53);
  UseFace(name.cr(), Face::kHeading, 20);
  DrawText(name.cr(), "Name:", 124, 106, pal::kInkFaded, Align::kRight);
  cairo_t* cr = name.cr();
  SetColor(cr, pal::kInkFaded);
  cairo_set_line_width(cr, 1.5);
  cairo_move_to(cr, 130, 112);
  cairo_line_to(cr, 356, 112);
  cairo_stroke(cr);
  UseFace(cr, Face::kBody, 12);
  DrawText(cr, "Type your name and press Enter", 190, 170, pal::kInkFaded, Align::kCentre);
  set.Emit("graphics/enter_your_name_popup.jpg", name, 1, kNoKey,
           "centred, layer 700; name input at + (133,85)", "ScreenEnterName background");

  TransferBox(set, "graphics/download_bg.jpg", "Fetching the Rankings", 55, true);
  TransferBox(set, "graphics/upload_bg.jpg", "Sending Your Score", 57, false);
  MakeChooser(set);
}

}  // namespace spellcrypt::art
