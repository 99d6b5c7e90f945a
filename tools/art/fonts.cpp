// The four bitmap fonts: one strip of 128 glyph cells from character 32, each glyph drawn with
// soft inner edges against a one-pixel halo and a hard edge against the colour key, so no pixel
// of a glyph ever blends with the key. The cell at (0, 0) is the empty space, which sets the key.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/art/picture_set.h"
#include "tools/art/text.h"

namespace spellcrypt::art {

namespace {

struct FontSpec {
  const char* file;
  const char* use;
  int cell;
  Face face;
  double capHeight;  // pixels from baseline to the top of a capital
  double baseline;   // in the cell
  Color fillTop;
  Color fillBottom;
  Color halo;
  int haloWidth;  // 0: hard-edged ink only
  bool hinted;
};

constexpr int kFirstChar = 32;
constexpr int kCells = 128;

double SizeForCapHeight(Face face, double cap, bool hinted) {
  Canvas probe(8, 8);
  UseFace(probe.cr(), face, 100, hinted);
  cairo_text_extents_t ext;
  cairo_text_extents(probe.cr(), "H", &ext);
  return 100.0 * cap / -ext.y_bearing;
}

// Coverage of one character in its cell, squeezed sideways if the face draws it too wide.
Mask GlyphCoverage(const FontSpec& f, double size, char ch) {
  const int n = f.cell;
  Canvas cell(n, n);
  cairo_t* cr = cell.cr();
  UseFace(cr, f.face, size, f.hinted);
  const std::string s(1, ch);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, s.c_str(), &ext);
  const double room = n - 1 - 2.0 * f.haloWidth;
  const double squeeze = ext.width > room ? room / ext.width : 1.0;
  cairo_save(cr);
  const double left = f.haloWidth + std::max(0.0, (room - ext.width * squeeze) / 2);
  cairo_translate(cr, std::round(left - ext.x_bearing * squeeze), f.baseline);
  cairo_scale(cr, squeeze, 1);
  SetColor(cr, {1, 1, 1, 1});
  cairo_move_to(cr, 0, 0);
  cairo_show_text(cr, s.c_str());
  cairo_restore(cr);
  return cell.Alpha();
}

Canvas FontStrip(const FontSpec& f) {
  const int n = f.cell;
  const double size = SizeForCapHeight(f.face, f.capHeight, f.hinted);
  Canvas strip(n * kCells, n);
  for (int i = 0; i < kCells; ++i) {
    const int code = kFirstChar + i;
    if (code <= 32 || code >= 127) continue;  // space, and codes without a glyph, stay empty
    const Mask cover = GlyphCoverage(f, size, static_cast<char>(code));
    // Every pixel the glyph touches gets a solid colour: its ink blended toward the halo colour by
    // coverage, so edges look smooth on the background the font is made for and never mix with
    // the key.
    const Mask ink = Threshold(cover, f.haloWidth > 0 ? 0.04f : 0.12f);
    const Mask halo = f.haloWidth > 0 ? Dilate(ink, f.haloWidth) : ink;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        if (halo.at(x, y) <= 0) continue;
        const double t = Clamp01((y - (f.baseline - f.capHeight)) / (f.capHeight + 1));
        const Color fill = Mix(f.fillTop, f.fillBottom, t);
        const double a = cover.at(x, y);
        Color col = Mix(f.halo, fill, std::min(1.0, a * 1.25));
        col.a = 1;
        strip.Set(i * n + x, y, col);
      }
  }
  return strip;
}

const FontSpec kFonts[] = {
    // Letters on the tiles, the score, the pause notice: dark ink with a pale rim.
    {"graphics/font/font3.bmp", "letters on the tiles, the score, \"Game paused.\"", 32, Face::kHeading, 21,
     25, Rgb(0x3A220E), Rgb(0x1C0F06), Rgb(0xF3E3BE), 1, false},
    // High-score rows, status boxes, version line: cream, crisp at 16 pixels, always on dark stone.
    {"graphics/font/font_small.bmp", "high-score rows, status boxes, labels, version line", 16, Face::kSmall,
     8.5, 12, Rgb(0xFFF4D6), Rgb(0xE8C77A), Rgb(0x0A0806), 0, true},
    // The message line over the dungeon: silver on black. No halo: the game spaces glyphs by their
    // ink, so a rim round each glyph would push the letters two pixels further apart; the edges
    // blend toward the black the line is written on instead.
    {"graphics/font/font_grey2.bmp", "message line, \"Loading...\"", 32, Face::kSans, 14, 21, Rgb(0xF2F2F0),
     Rgb(0xA8A6A2), Rgb(0x050505), 0, false},
    // Text on parchment: summary, popups, name entry.
    {"graphics/font/font_summary.bmp", "summary text, popup texts, name entry", 32, Face::kBodyBold, 13.5, 19,
     Rgb(0x2E1B0C), Rgb(0x1E1208), Rgb(0xD8C292), 0, false},
};

}  // namespace

void MakeFonts(PictureSet& set) {
  for (const FontSpec& f : kFonts) {
    const std::string cell = std::to_string(f.cell);
    set.Emit(f.file, FontStrip(f), kCells, pal::kKeyMagenta,
             std::string("bitmap font, ") + cell + "x" + cell + " cells from code 32: " + f.use,
             "BitmapFont (key from pixel 0,0)", {{}, kAllEdges});  // a glyph may fill its cell
  }
}

}  // namespace spellcrypt::art
