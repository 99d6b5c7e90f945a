// The materials of the game's look: torch-lit stone, parchment, gold trim, wood, engraved and lit
// words, and the shading that gives silhouettes their volume under the dungeon's one light.
#pragma once

#include <string>
#include <vector>

#include "tools/art/canvas.h"
#include "tools/art/text.h"

namespace spellcrypt::art {

struct TorchLamp {
  double x, y;      // in canvas pixels
  double radius;    // where the light has faded to a quarter
  double strength;  // 1 = a torch
  Color color = pal::kTorch;
};

struct Rect {
  double x, y, w, h;
};

// How StoneWall lays one course of blocks: block joints at canvas x = k * width - offset.
struct StoneCourse {
  double offset;
  double width;
};
StoneCourse StoneCourseAt(int row, std::uint32_t seed, double blockW);

// Rough stone blocks filling `area`, lit by the lamps (plus a dim ambient light).
void StoneWall(Canvas& c, const Rect& area, std::uint32_t seed, double blockW, double blockH,
               const std::vector<TorchLamp>& lamps, double ambient = 0.22);
// Flagstone floor in perspective between two heights (used under the monsters).
void StoneFloor(Canvas& c, const Rect& area, std::uint32_t seed, const std::vector<TorchLamp>& lamps);
// Darkens the canvas toward its edges.
void Vignette(Canvas& c, double strength);
// Adds warm light around a point (for flames painted on top of finished stone).
void Glow(Canvas& c, double x, double y, double radius, const Color& color, double strength);

// Parchment filling a rounded rectangle; `burn` darkens the edges.
void Parchment(Canvas& c, const Rect& r, std::uint32_t seed, double radius = 6, double burn = 1.0);
// A parchment sheet with torn, irregular edges (transparent outside).
void TornParchment(Canvas& c, const Rect& r, std::uint32_t seed, double roughness = 6);
// Bevelled gold border along the inside of a rectangle.
void GoldFrame(Canvas& c, const Rect& r, double thickness, double radius = 4);
// A parchment panel with a gold frame and a soft shadow below it: popups and plaques.
void Panel(Canvas& c, const Rect& r, std::uint32_t seed, double frame = 5);
// A dark recessed stone plaque with a thin gold edge (for text on the interface).
void Recess(Canvas& c, const Rect& r, double radius = 5);
// Wood planks filling a rectangle.
void Wood(Canvas& c, const Rect& r, std::uint32_t seed, bool vertical = false);

enum class WordStyle {
  kCarved,  // unlit gold letters cut into stone or wood
  kLit,     // the same letters glowing: the highlight of a menu word
  kInk,     // dark ink on parchment
  kInkLit,  // red-gold ink with a warm glow: highlight on parchment
};

// Draws one word or phrase; (x, y) is the baseline point for the alignment.
void Word(Canvas& c, const std::string& text, Face face, double size, double x, double y, Align align,
          WordStyle style);
// Bounding box of the same word (for laying out highlight pictures).
Rect WordBox(Face face, double size, const std::string& text, double x, double y, Align align);

struct FigureStyle {
  Color base;                   // the creature's own colour
  Color detail = {0, 0, 0, 1};  // colour of the cut-in lines; black means a darker base
  double relief = 1.0;          // how rounded the body looks
  double texture = 0.12;        // surface grain
  double grainScale = 0.15;
  double shine = 0.25;  // specular highlight
  Color outline = pal::kStoneDeep;
  std::uint32_t seed = 1;
  int close = 0;  // gaps narrower than twice this are filled as cut-in detail
};

// Lights a silhouette: fills its holes as cut-in detail, rounds it under the dungeon's light and
// gives it a hard dark outline. The result is opaque where the figure is and clear elsewhere.
Canvas ShadeFigure(const Mask& shape, const FigureStyle& style);

// A flame standing on (x, y): layered tongues whose shape moves with `phase` (0..1 loops).
void Flame(Canvas& c, double x, double y, double w, double h, double phase, std::uint32_t seed);
// A wall torch: iron bracket, wooden handle and its flame, with the glow on the wall around it.
void WallTorch(Canvas& c, double x, double y, double scale, double phase, std::uint32_t seed,
               bool glow = true);

// Gold-bevelled parchment tile body used by the letter tiles and the tile pictures of the help.
void TileBody(Canvas& c, double x, double y, double size, std::uint32_t seed, const Color& tint);

}  // namespace spellcrypt::art
