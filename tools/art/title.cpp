// The title page: the game's name over a torch-lit crypt, a spellbook on its lectern, the menu
// words on a carved panel (their lit twins are the menu's highlight pictures), the maker's seal,
// and the window icon.
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

// A spellbook opened on the left of the page, glowing with the spell being read.
void Spellbook(Canvas& page) {
  Glow(page, 170, 250, 90, pal::kMagic, 0.55);
  // The book: a leather cover, two curved parchment pages with lines of script, a ribbon.
  cairo_t* cr = page.cr();
  const double cx = 170, top = 236, w = 108, h = 96;
  auto pagePath = [&](double side, double inset) {
    cairo_move_to(cr, cx, top + 10 + inset);
    cairo_curve_to(cr, cx + side * w * 0.35, top - 6 + inset, cx + side * w * 0.7, top + 2 + inset,
                   cx + side * (w - inset), top + inset);
    cairo_line_to(cr, cx + side * (w - inset), top + h - inset);
    cairo_curve_to(cr, cx + side * w * 0.7, top + h - 6 - inset, cx + side * w * 0.35, top + h - 12 - inset,
                   cx, top + h - inset * 0.5);
    cairo_close_path(cr);
  };
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(cr);
    cairo_translate(cr, 0, 8);
    pagePath(side, -6);
    SetColor(cr, Rgb(0x5A1E10));
    cairo_fill(cr);
    cairo_restore(cr);
  }
  for (int side = -1; side <= 1; side += 2) {
    for (int k = 3; k >= 0; --k) {
      cairo_save(cr);
      cairo_translate(cr, 0, k * 1.5);
      pagePath(side, 0);
      SetColor(cr, k ? Mix(pal::kParchmentDark, pal::kParchmentBurn, 0.3) : pal::kParchmentLight);
      cairo_fill(cr);
      cairo_restore(cr);
    }
    // Lines of script.
    Rng ink(static_cast<std::uint32_t>(side + 20));
    for (int line = 0; line < 8; ++line) {
      const double y = top + 16 + line * 9.5;
      double x = cx + side * 12;
      const double end = cx + side * (w - 14);
      cairo_move_to(cr, x, y + 3 * std::abs(x - cx) / w);
      while ((end - x) * side > 0) {
        x += side * ink.Range(2, 5);
        cairo_line_to(cr, x, y + 3 * std::abs(x - cx) / w + ink.Range(-1.2, 1.2));
      }
      SetColor(cr, line == 0 ? pal::kInkRed : pal::kInkFaded, 0.8);
      cairo_set_line_width(cr, 1.1);
      cairo_stroke(cr);
    }
  }
  cairo_move_to(cr, cx + 2, top + h - 6);
  cairo_line_to(cr, cx + 8, top + h + 26);
  cairo_line_to(cr, cx + 2, top + h + 20);
  cairo_line_to(cr, cx - 4, top + h + 26);
  cairo_close_path(cr);
  SetColor(cr, pal::kBlood);
  cairo_fill(cr);
  // Motes of light rising from the pages.
  Rng rng(9);
  for (int i = 0; i < 40; ++i) {
    const double x = 170 + rng.Range(-70, 70);
    const double y = 250 - rng.Range(0, 150);
    const double r = rng.Range(0.8, 2.2);
    Glow(page, x, y, r * 3, Rgb(0x9FC0FF), 0.5);
    page.Blend(static_cast<int>(x), static_cast<int>(y), Rgb(0xF0F6FF), 0.9);
  }
  FigureStyle skull;
  skull.base = Rgb(0xD8CCB0);
  skull.relief = 0.9;
  skull.texture = 0.1;
  skull.shine = 0.35;
  skull.seed = 6;
  page.Draw(ShadeFigure(IconMask("death-skull", 70, 70), skull), 250, 330);
}

void TitleWords(Canvas& page) {
  const Rect box = WordBox(Face::kTitle, 96, "Spellcrypt", 320, 118, Align::kCentre);
  // A deep shadow and a warm halo behind the name.
  Canvas halo(640, 480);
  UseFace(halo.cr(), Face::kTitle, 96);
  TextPath(halo.cr(), "Spellcrypt", 320, 118, Align::kCentre);
  SetColor(halo.cr(), {1, 1, 1, 1});
  cairo_set_line_width(halo.cr(), 10);
  cairo_stroke_preserve(halo.cr());
  cairo_fill(halo.cr());
  page.PaintMask(Blur(halo.Alpha(), 10), {0, 0, 0, 1}, 4, 6, 0.9);
  page.PaintMask(Blur(halo.Alpha(), 16), Rgb(0xFF8A20), 0, 0, 0.35);
  Word(page, "Spellcrypt", Face::kTitle, 96, 320, 118, Align::kCentre, WordStyle::kLit);
  Word(page, "Gold Edition", Face::kHeading, 26, 320, box.y + box.h + 34, Align::kCentre, WordStyle::kCarved);
}

Canvas Logo() {
  // The maker's seal: a red wax seal with a quill, on a scrap of parchment.
  Canvas c(200, 90);
  TornParchment(c, {2, 6, 196, 80}, 77, 5);
  cairo_t* cr = c.cr();
  cairo_arc(cr, 44, 46, 30, 0, 2 * M_PI);
  cairo_pattern_t* g = cairo_pattern_create_radial(36, 38, 4, 44, 46, 32);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.85, 0.2, 0.15);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.42, 0.05, 0.04);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  FigureStyle quill;
  quill.base = Rgb(0xE8C070);
  quill.relief = 0.6;
  quill.texture = 0.02;
  quill.outline = Rgb(0x3A0806);
  c.Draw(ShadeFigure(IconMask("quill-ink", 40, 40), quill), 24, 26);
  UseFace(cr, Face::kHeading, 14.5);
  DrawText(cr, "A Crypt Lantern", 138, 40, pal::kInk, Align::kCentre);
  DrawText(cr, "Game", 138, 58, pal::kInk, Align::kCentre);
  UseFace(cr, Face::kBody, 11);
  DrawText(cr, "click to visit us", 138, 75, pal::kInkFaded, Align::kCentre);
  // The logo is drawn opaque: settle it on the page's own dark stone.
  Canvas out(200, 90);
  out.Fill(Rgb(0x15110E));
  out.Draw(c, 0, 0);
  return out;
}

// The game's icon, 64 pixels across times scale: a gold-lettered tile with a violet glow.
Canvas GameIcon(int scale) {
  const double s = scale;
  const int size = 64 * scale;
  Canvas icon(size, size);
  Canvas glow(size, size);
  RoundedRect(glow.cr(), 6 * s, 6 * s, 52 * s, 52 * s, 8 * s);
  SetColor(glow.cr(), {1, 1, 1, 1});
  cairo_fill(glow.cr());
  icon.PaintMask(Blur(glow.Alpha(), 3 * scale), Rgb(0x9A6BFF), 0, 0, 1.0);
  TileBody(icon, 7 * s, 7 * s, 50 * s, 17, Rgb(0xE0B040, 0.3));
  Word(icon, "S", Face::kTitle, 46 * s, 32 * s, 48 * s, Align::kCentre, WordStyle::kInk);
  return icon;
}

}  // namespace

void MakeTitle(PictureSet& set) {
  Canvas page(640, 480);
  const std::vector<TorchLamp> lamps = {
      {36, 150, 230, 1.2, pal::kTorch}, {604, 150, 230, 1.2, pal::kTorch}, {170, 250, 160, 0.5, pal::kMagic}};
  DungeonWall(page, 21, lamps, 72, 38);
  TitleWords(page);
  WallTorch(page, 36, 170, 1.3, 0.1, 3);
  WallTorch(page, 604, 170, 1.3, 0.6, 4);
  Spellbook(page);
  // The menu panel on the right: dark oak set into the wall.
  Canvas panel(640, 480);
  Wood(panel, {372, 196, 256, 252}, 8, true);
  panel.Apply([](int, int, const Color& p) { return Color{p.r * 0.4, p.g * 0.36, p.b * 0.34, p.a}; });
  page.Draw(panel, 0, 0);
  GoldFrame(page, {368, 192, 264, 260}, 5, 6);

  const std::string by = "CMenuBut highlight (title, no normal image)";
  std::vector<WordButton> words = {
      {"graphics/title_play.bmp", "Play", 522, 208, 95, 36, 31, Face::kHeading, Align::kRight,
       "(522,208) title", by},
      {"graphics/title_options.bmp", "Options", 477, 247, 140, 36, 31, Face::kHeading, Align::kRight,
       "(477,247) title", by},
      {"graphics/title_instruct.bmp", "Instructions", 420, 287, 197, 36, 31, Face::kHeading, Align::kRight,
       "(420,287) title", by},
      {"graphics/title_hall.bmp", "Hall of Fame", 389, 328, 228, 36, 31, Face::kHeading, Align::kRight,
       "(389,328) title", by},
      {"graphics/title_visit.bmp", "Visit Website", 383, 368, 234, 36, 31, Face::kHeading, Align::kRight,
       "(383,368) title", by},
      {"graphics/title_quit.bmp", "Quit", 523, 407, 94, 36, 31, Face::kHeading, Align::kRight,
       "(523,407) title", by},
  };
  WordButtons(set, page, words);
  set.Emit("graphics/title_screen.jpg", page, 1, kNoKey, "(0,0) title background; also the loading picture",
           "CThingSprite (title background, \"preload1\")");
  set.Emit("graphics/title_logo.jpg", Logo(), 1, kNoKey, "(33,367) title, fades in",
           "CMenuBut logo (normal and highlight)");

  // Window icon: a gold-lettered tile with a violet glow, on the key colour.
  const Canvas icon = GameIcon(1);
  set.Emit("graphics/icon.bmp", icon, 1, pal::kKeyMagenta, "window icon", "SDL window (platform)");
  set.EmitDesktopIcon("spellcrypt.png", icon);
  // The desktop's icon in the usual theme sizes: the larger ones drawn anew at their size, the
  // smaller ones scaled down from the window's.
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    Canvas sized = size >= 64 ? GameIcon(size / 64) : Canvas(size, size);
    if (size < 64) sized.DrawScaled(icon, 0, 0, size, size);
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    set.EmitDesktopIcon("icons/" + name + "/spellcrypt.png", sized);
  }
}

}  // namespace spellcrypt::art
