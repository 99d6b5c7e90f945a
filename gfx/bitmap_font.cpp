// Bitmap fonts: the glyph sheet is measured once, each glyph moved to the left edge of its slot
// on a packed sheet, and text drawn glyph by glyph with the colour key.
#include "gfx/bitmap_font.h"

#include <algorithm>

#include "gfx/dx_tile.h"

namespace spellcrypt {

namespace {

constexpr int kPackedWidth = 320;
constexpr int kPackedRowEnd = 309;  // a slot may not end past this column
constexpr int kGlyphRecords = 128;  // codes with glyphs; the records of 128..255 stay empty
constexpr unsigned char kLineFeed = 10;

struct InkSpan {
  int left = -1;  // -1: the cell is empty
  int right = -1;
};

// The leftmost and rightmost columns of the cell holding anything but the colour key.
InkSpan MeasureInk(const CDXSurface& sheet, const DXRect& cell, std::uint32_t key) {
  InkSpan ink;
  const int left = std::max(cell.left, 0);
  const int right = std::min(cell.right, sheet.Width());
  const int top = std::max(cell.top, 0);
  const int bottom = std::min(cell.bottom, sheet.Height());
  for (int x = left; x < right; ++x) {
    for (int y = top; y < bottom; ++y) {
      if (sheet.ReadPixel(x, y) != key) {
        if (ink.left < 0) ink.left = x;
        ink.right = x;
        break;
      }
    }
  }
  return ink;
}

}  // namespace

BitmapFont::BitmapFont() = default;
BitmapFont::~BitmapFont() = default;

int BitmapFont::Load(CDXScreen* screen, const char* path, int cellWidth, int cellHeight, int firstChar,
                     int cellCount, int placement) {
  sheet_.reset();
  for (Glyph& g : glyphs_) g = Glyph{};
  firstChar_ = firstChar;
  if (cellWidth <= 0 || cellHeight <= 0 || cellWidth > 310 || cellCount <= 0 || firstChar < 0) return 1;

  CDXTile glyphs;
  if (glyphs.Create(screen, path, cellWidth, cellHeight, cellCount, placement) < 1) return 2;
  glyphs.SetColorKeyFromCorner();
  const std::uint32_t key = glyphs.ColorKey();

  const int perRow = 310 / cellWidth;
  const int rows = (cellCount - 1) / perRow;
  auto packed = std::make_unique<CDXSurface>();
  if (packed->CreateBlank(screen, kPackedWidth, (rows + 1) * cellHeight + 2, placement) < 1) return 3;
  packed->Fill(key);

  int x = 0;
  int y = 0;
  for (int c = 0; c < kGlyphRecords; ++c) {
    Glyph& g = glyphs_[c];
    g.slot = DXRect{x, y, x + cellWidth, y + cellHeight};
    g.height = cellHeight;
    g.advance = cellWidth;
    if (c < firstChar) continue;  // never drawn; the packing position stays

    // A cell the sheet does not have counts as empty.
    const DXRect cell = glyphs.CellRect(c - firstChar);
    const InkSpan ink = MeasureInk(glyphs, cell, key);
    g.advance = ink.left >= 0 ? (ink.right - ink.left + 1) + 1 : cellWidth / 4;
    // Every glyph starts at its first ink column, so the pen needs no offset.
    if (!cell.Empty()) {
      const DXRect from{ink.left >= 0 ? ink.left : cell.left, cell.top, cell.right, cell.bottom};
      glyphs.Draw(packed.get(), x, y, from, kDrawOpaque);
    }
    x += cellWidth;
    if (x + cellWidth > kPackedRowEnd) {
      x = 0;
      y += cellHeight;
    }
  }
  // The packed sheet was filled with the glyph sheet's key, so that is its key too (its corner
  // pixel could hold ink of the first glyph).
  packed->SetColorKey(key);
  sheet_ = std::move(packed);
  return 0;
}

int BitmapFont::TextWidth(const char* text) const {
  if (!Loaded()) return -1;
  if (text == nullptr) return 0;
  int width = 0;
  for (const char* p = text; *p != '\0'; ++p) width += glyphs_[static_cast<unsigned char>(*p)].advance;
  return width;
}

int BitmapFont::GlyphHeight(char c) const {
  if (!Loaded()) return -1;
  return glyphs_[static_cast<unsigned char>(c)].height;
}

int BitmapFont::LineHeight() const {
  return firstChar_ >= 0 && firstChar_ < kGlyphRecords ? glyphs_[firstChar_].height : 0;
}

int BitmapFont::DrawGlyph(unsigned char c, int x, int y, CDXSurface* dest) {
  // Bytes without a glyph record of their own (128 and up) draw nothing.
  if (c >= kGlyphRecords || c < firstChar_) return 0;
  return sheet_->Draw(dest, x, y, glyphs_[c].slot, kDrawKeyed);
}

int BitmapFont::DrawRun(int x, int y, const char* text, CDXSurface* dest, int maxChars, bool lineFeeds,
                        int widthLimit) {
  if (!Loaded() || dest == nullptr) return -1;
  if (text == nullptr) return 0;
  int penX = x;
  int used = 0;  // advances so far, for the width limit; line feeds do not restart it
  for (const char* p = text; *p != '\0' && maxChars != 0; ++p) {
    if (maxChars > 0) --maxChars;
    const unsigned char c = static_cast<unsigned char>(*p);
    if (lineFeeds && c == kLineFeed) {
      penX = x;
      y += LineHeight();
      continue;
    }
    const int advance = glyphs_[c].advance;
    if (widthLimit >= 0 && used + advance > widthLimit) break;
    used += advance;
    if (DrawGlyph(c, penX, y, dest) < 0) return -1;
    penX += advance;
  }
  return 0;
}

int BitmapFont::DrawAt(int x, int y, const char* text, CDXSurface* dest, int maxChars) {
  return DrawRun(x, y, text, dest, maxChars, true, -1);
}

int BitmapFont::DrawInBox(int x, int y, int boxWidth, const char* text, CDXSurface* dest, int align) {
  const int width = TextWidth(text);
  if (width < 0 || dest == nullptr) return -1;
  if (width < boxWidth) {
    if (align == 1) x += (boxWidth - width) / 2;
    if (align == 3) x += boxWidth - width;
    return DrawRun(x, y, text, dest, -1, false, -1);
  }
  // Too wide: from the left edge, cut before the first glyph that would pass the box.
  return DrawRun(x, y, text, dest, -1, align == 3, boxWidth);
}

int BitmapFont::DrawClipped(int x, int y, const char* text, CDXSurface* dest, const DXRect& clip,
                            int maxChars) {
  if (!Loaded() || dest == nullptr) return -1;
  const DXRect previous = dest->ClipRect();
  dest->SetClipRect(clip);
  const int result = DrawRun(x, y, text, dest, maxChars, false, -1);
  dest->SetClipRect(previous);
  return result;
}

}  // namespace spellcrypt
