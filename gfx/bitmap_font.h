// A bitmap font: a sheet of glyph cells, measured and repacked once, drawn with the colour key.
#pragma once

#include <memory>

#include "gfx/dx_surface.h"

namespace spellcrypt {

class CDXScreen;

class BitmapFont {
 public:
  BitmapFont();
  ~BitmapFont();
  BitmapFont(const BitmapFont&) = delete;
  BitmapFont& operator=(const BitmapFont&) = delete;

  struct Glyph {
    DXRect slot;  // on the packed sheet
    int advance = 0;
    int height = 0;
  };

  // 0 on success, non-zero on failure (the font then draws nothing). Loading again first frees
  // the previous sheet.
  int Load(CDXScreen* screen, const char* path, int cellWidth, int cellHeight, int firstChar = 32,
           int cellCount = 128, int placement = kPlacementAny);
  bool Loaded() const { return sheet_ != nullptr; }

  // Sum of the advances of the text's bytes; -1 without a sheet.
  int TextWidth(const char* text) const;
  // The character's record height; -1 without a sheet.
  int GlyphHeight(char c) const;
  const Glyph& GlyphFor(unsigned char c) const { return glyphs_[c]; }
  int FirstChar() const { return firstChar_; }

  // Left-aligned from (x, y); maxChars -1 draws everything.
  int DrawAt(int x, int y, const char* text, CDXSurface* dest, int maxChars = -1);
  // align 1 centred, 3 right-aligned.
  int DrawInBox(int x, int y, int boxWidth, const char* text, CDXSurface* dest, int align);
  // Like DrawAt without line feeds, only inside the clip rectangle.
  int DrawClipped(int x, int y, const char* text, CDXSurface* dest, const DXRect& clip, int maxChars = -1);

 private:
  // The pen moves down by the first character's record height at a line feed.
  int LineHeight() const;
  int DrawGlyph(unsigned char c, int x, int y, CDXSurface* dest);
  // Draws up to maxChars bytes (-1: all); widthLimit >= 0 stops before the first glyph whose
  // right end would pass it.
  int DrawRun(int x, int y, const char* text, CDXSurface* dest, int maxChars, bool lineFeeds, int widthLimit);

  Glyph glyphs_[256];
  int firstChar_ = 32;
  std::unique_ptr<CDXSurface> sheet_;
};

}  // namespace spellcrypt
