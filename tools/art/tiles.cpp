// The letter-tile strip: twelve parchment tiles, 50 pixels square. The letter itself is drawn by
// the game (32 pixels high, 8 pixels below the top), so letter tiles keep their middle clear and
// mark their bonus with a corner badge and a frame shape; action tiles carry a large icon.
#include <cmath>
#include <string>

#include "tools/art/icons.h"
#include "tools/art/materials.h"
#include "tools/art/picture_set.h"

namespace spellcrypt::art {

namespace {

constexpr int kTile = 50;

enum class Mark { kNone, kStuds, kBadge };
enum class Frame { kPlain, kSingle, kDouble, kJewelled };

struct TileSpec {
  const char* what;
  Color tint;  // a = strength of the tint on the parchment
  Frame frame;
  Color frameColor;
  const char* badge;  // corner text, or nullptr
  Color badgeColor;
  const char* icon;  // action tiles: icon name
  Color iconColor;
};

void DrawFrame(Canvas& c, double x, const TileSpec& s) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  SetColor(cr, s.frameColor);
  switch (s.frame) {
    case Frame::kPlain:
      break;
    case Frame::kSingle:
      cairo_set_line_width(cr, 2.5);
      RoundedRect(cr, x + 5, 5, kTile - 10, kTile - 10, 4);
      cairo_stroke(cr);
      break;
    case Frame::kDouble:
      cairo_set_line_width(cr, 1.8);
      RoundedRect(cr, x + 4.5, 4.5, kTile - 9, kTile - 9, 4);
      cairo_stroke(cr);
      RoundedRect(cr, x + 8, 8, kTile - 16, kTile - 16, 3);
      cairo_stroke(cr);
      break;
    case Frame::kJewelled:
      cairo_set_line_width(cr, 2.5);
      RoundedRect(cr, x + 5, 5, kTile - 10, kTile - 10, 4);
      cairo_stroke(cr);
      // Gems at the four corners.
      for (int i = 0; i < 4; ++i) {
        const double gx = x + (i % 2 ? kTile - 7.5 : 7.5);
        const double gy = i / 2 ? kTile - 7.5 : 7.5;
        cairo_move_to(cr, gx, gy - 4);
        cairo_line_to(cr, gx + 4, gy);
        cairo_line_to(cr, gx, gy + 4);
        cairo_line_to(cr, gx - 4, gy);
        cairo_close_path(cr);
        cairo_fill_preserve(cr);
        SetColor(cr, pal::kGoldGlow, 0.8);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        SetColor(cr, s.frameColor);
        cairo_set_line_width(cr, 2.5);
      }
      break;
  }
  cairo_restore(cr);
}

void DrawBadge(Canvas& c, double x, const TileSpec& s) {
  if (!s.badge) return;
  cairo_t* cr = c.cr();
  // A small seal in the lower right corner, clear of the letter.
  const double cx = x + kTile - 12, cy = kTile - 11;
  cairo_save(cr);
  cairo_arc(cr, cx, cy, 9.5, 0, 2 * M_PI);
  SetColor(cr, s.badgeColor);
  cairo_fill_preserve(cr);
  SetColor(cr, pal::kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  UseFace(cr, Face::kSmall, std::string(s.badge).size() > 2 ? 9.5 : 11, true);
  DrawText(cr, s.badge, cx, cy + 4, Rgb(0xFFF6DA), Align::kCentre);
  cairo_restore(cr);
}

void DrawIcon(Canvas& c, double x, const TileSpec& s) {
  if (!s.icon) return;
  const int n = 40;
  Mask m = IconMask(s.icon, n, n);
  FigureStyle style;
  style.base = s.iconColor;
  style.relief = 0.6;
  style.texture = 0.04;
  style.shine = 0.5;
  style.outline = Rgb(0x24140A);
  Canvas icon = ShadeFigure(m, style);
  c.Draw(icon, x + (kTile - n) / 2.0, (kTile - n) / 2.0);
}

// Frames in the order of the tile types' frame numbers.
const TileSpec kTiles[12] = {
    {"bonus +10", Rgb(0x6FAE4E, 0.45), Frame::kSingle, Rgb(0x2F6A1E), "+10", Rgb(0x2F6A1E), nullptr, {}},
    {"bonus tile, no effect", Rgb(0xA8B4C0, 0.45), Frame::kPlain, Rgb(0x505A66), nullptr, {}, nullptr, {}},
    {"letter", Rgb(0, 0), Frame::kPlain, {}, nullptr, {}, nullptr, {}},
    {"oracle",
     Rgb(0x8A6BD0, 0.55),
     Frame::kSingle,
     Rgb(0x4A2C8A),
     nullptr,
     {},
     "crystal-ball",
     Rgb(0x9A6AE0)},
    {"bonus x2", Rgb(0xE0B040, 0.55), Frame::kJewelled, Rgb(0x8A5A10), "x2", Rgb(0x9A6A10), nullptr, {}},
    {"health potion",
     Rgb(0xE07060, 0.5),
     Frame::kSingle,
     Rgb(0x8A1C14),
     nullptr,
     {},
     "health-potion",
     Rgb(0xE0302A)},
    {"refresh", Rgb(0x60B0C0, 0.5), Frame::kSingle, Rgb(0x1E5A66), nullptr, {}, "cycle", Rgb(0x3AA6C0)},
    {"bonus x3", Rgb(0xD0504A, 0.55), Frame::kJewelled, Rgb(0x7A1410), "x3", Rgb(0x9A1A14), nullptr, {}},
    {"bonus +20", Rgb(0x5A86D0, 0.45), Frame::kDouble, Rgb(0x1C3C80), "+20", Rgb(0x1C3C80), nullptr, {}},
    {"dealt X, x2", Rgb(0, 0), Frame::kPlain, {}, "x2", Rgb(0x9A6A10), nullptr, {}},
    {"dealt Q or Z, x3", Rgb(0, 0), Frame::kPlain, {}, "x3", Rgb(0x9A1A14), nullptr, {}},
    {"spare", Rgb(0x404040, 0.35), Frame::kPlain, {}, nullptr, {}, nullptr, {}},
};

Canvas TileStrip() {
  Canvas strip(kTile * 12, kTile);
  for (int i = 0; i < 12; ++i) {
    const TileSpec& s = kTiles[i];
    const double x = i * kTile;
    TileBody(strip, x, 0, kTile, 300 + static_cast<std::uint32_t>(i), s.tint);
    DrawFrame(strip, x, s);
    if (i == 1) {
      // The plain bonus tile: four iron studs mark it as special without changing a spell.
      cairo_t* cr = strip.cr();
      for (int k = 0; k < 4; ++k) {
        const double sx = x + (k % 2 ? kTile - 8 : 8), sy = k / 2 ? kTile - 8 : 8;
        cairo_arc(cr, sx, sy, 3, 0, 2 * M_PI);
        SetColor(cr, pal::kIron);
        cairo_fill_preserve(cr);
        SetColor(cr, pal::kStoneDeep);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_arc(cr, sx - 1, sy - 1, 1, 0, 2 * M_PI);
        SetColor(cr, pal::kIronLight);
        cairo_fill(cr);
      }
    }
    DrawBadge(strip, x, s);
    DrawIcon(strip, x, s);
  }
  return strip;
}

}  // namespace

Canvas TilePicture(int frame, char letter) {
  static const Canvas strip = TileStrip();
  Canvas tile = strip.Crop(frame * kTile, 0, kTile, kTile);
  if (letter != ' ') {
    // As the game draws it: the large font's letter, centred, 8 pixels below the top.
    UseFace(tile.cr(), Face::kHeading, 29);
    DrawText(tile.cr(), std::string(1, letter), kTile / 2.0, 8 + 25, Rgb(0x2A180A), Align::kCentre);
  }
  return tile;
}

void MakeTiles(PictureSet& set) {
  const Canvas strip = TileStrip();
  set.Emit("graphics/tiles_new.jpg", strip, 12, pal::kKeyWhite,
           "letter tiles: rack (207,155)+52 per slot, rows 53 apart; word row (207,65)+52 per slot; rewards "
           "grow from (106,159)",
           "CTile (shared strip, drawn opaque)");
}

}  // namespace spellcrypt::art
