// Pieces shared by the screens: the stone ground of a full-screen page, word buttons whose
// highlight picture is the same word lit and cut from the same ground, stone slabs, tile sockets.
#pragma once

#include <string>
#include <vector>

#include "tools/art/materials.h"
#include "tools/art/picture_set.h"

namespace spellcrypt::art {

// A torch-lit dungeon wall filling the whole canvas.
void DungeonWall(Canvas& c, std::uint32_t seed, const std::vector<TorchLamp>& lamps, double blockW = 64,
                 double blockH = 34);

// One menu word: the picture `file` covers (x, y, w, h) on its page and shows the word lit; the
// page itself shows the same word unlit at the same place.
struct WordButton {
  std::string file;
  std::string text;
  double x, y, w, h;
  double size;
  Face face = Face::kHeading;
  Align align = Align::kCentre;
  std::string where;
  std::string by;
};

// Draws every word unlit on `page` and emits each highlight picture cut from the page with the
// word lit. `ink` switches to the parchment styles.
void WordButtons(PictureSet& set, Canvas& page, const std::vector<WordButton>& words, bool ink = false,
                 double pageX = 0, double pageY = 0);

// The baseline that centres a word's capitals vertically in a box.
double CentredBaseline(Face face, double size, double top, double height);

// ShadeFigure with room around the shape, so that closing its gaps can never glue the figure to the
// edges of the picture (the closing treats the picture's edge as more figure). `bounds` receives
// the box the figure was meant to fill: the shape's own bounds and its outline.
Canvas ShadeFigureClear(const Mask& shape, const FigureStyle& style, PixelBox* bounds = nullptr);

// A raised stone slab (buttons, plaques), cut from one block: no joint runs through it; `pressed`
// sinks it.
void StoneSlab(Canvas& c, const Rect& r, std::uint32_t seed, bool pressed = false);
// A recessed socket for one letter tile.
void TileSocket(Canvas& c, double x, double y, double size);
// A trough for a fill bar; the bar picture lies 2 pixels inside it.
void BarTrough(Canvas& c, const Rect& r);

}  // namespace spellcrypt::art
