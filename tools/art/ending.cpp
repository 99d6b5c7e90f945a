// The ending: the crypt's mouth opening on a sunrise, the Evil Dragon's skull at the threshold,
// and the victory words that fade in over the sky.
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

void MakeEnding(PictureSet& set) {
  Canvas page(640, 480);
  // Dawn sky over far hills.
  page.Apply([](int x, int y, const Color&) {
    const double t = y / 300.0;
    Color c = Mix(Rgb(0x1A1A3A), Rgb(0x7A4A6A), SmoothStep(0.0, 0.7, t));
    c = Mix(c, Rgb(0xF0A050), SmoothStep(0.55, 1.0, t));
    const double cloud = Fbm(x * 0.01, y * 0.03, 4, 501);
    c = Mix(c, Rgb(0xE0907A), SmoothStep(0.55, 0.75, cloud) * 0.35 * SmoothStep(0.2, 0.9, t));
    return c;
  });
  Glow(page, 330, 330, 60, Rgb(0xFFE0A0), 1.4);
  cairo_t* cr = page.cr();
  cairo_move_to(cr, 0, 330);
  for (int x = 0; x <= 640; x += 8)
    cairo_line_to(cr, x, 318 - 22 * Fbm(x * 0.01, 3, 3, 503) - 10 * std::sin(x * 0.012));
  cairo_line_to(cr, 640, 480);
  cairo_line_to(cr, 0, 480);
  cairo_close_path(cr);
  SetColor(cr, Rgb(0x2A2034));
  cairo_fill(cr);
  // The cave mouth: rough rock framing the view.
  Canvas rock(640, 480);
  StoneWall(rock, {0, 0, 640, 480}, 505, 90, 60, {{320, 300, 400, 1.1, Rgb(0xFFC080)}}, 0.2);
  rock.Apply([](int x, int y, const Color& p) {
    const double dx = (x - 320) / 270.0, dy = (y - 330) / 300.0;
    const double edge = std::sqrt(dx * dx + dy * dy) + (Fbm(x * 0.02, y * 0.02, 4, 507) - 0.5) * 0.3;
    Color o = p;
    o.a = edge > 1.0 ? 1 : 0;
    return o;
  });
  page.Draw(rock, 0, 0);
  // The floor of the crypt, and what is left of the Evil Dragon.
  Canvas floor(640, 480);
  StoneFloor(floor, {0, 400, 640, 80}, 509, {{320, 360, 300, 1.2, Rgb(0xFFC080)}});
  page.Draw(floor, 0, 0);
  FigureStyle bone;
  bone.base = Rgb(0xD8CCB0);
  bone.relief = 1.0;
  bone.shine = 0.3;
  bone.close = 6;
  page.Draw(ShadeFigure(FitIcon("dragon-head", 150, 110, true), bone), 430, 360);
  Vignette(page, 0.4);

  // The words fade in over the sky: cut from the page, so they settle in place.
  Canvas words = page;
  Word(words, "Victory!", Face::kHeading, 50, 320, 180, Align::kCentre, WordStyle::kLit);
  const char* lines[] = {"The Evil Dragon is slain", "and the crypt falls silent.",
                         "Songs of your spells will be sung", "for a hundred years."};
  double y = 222;
  for (const char* l : lines) {
    Word(words, l, Face::kHeading, 21, 320, y, Align::kCentre, WordStyle::kCarved);
    y += 26;
  }
  set.Emit("graphics/ending_text.jpg", words.Crop(145, 126, 350, 200), 1, kNoKey,
           "(145,126) ending, fades in", "ScreenWin text picture");
  set.Emit("graphics/ending.jpg", page, 1, kNoKey, "(0,0) ending", "ScreenWin background");
}

}  // namespace spellcrypt::art
