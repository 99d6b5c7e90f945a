// Bitmap fonts.
#include "gfx/bitmap_font.h"

namespace spellcrypt {

BitmapFont::BitmapFont() = default;
BitmapFont::~BitmapFont() = default;

int BitmapFont::Load(CDXScreen* /*screen*/, const char* /*path*/, int /*cellWidth*/, int /*cellHeight*/,
                     int firstChar, int /*cellCount*/, int /*placement*/) {
  firstChar_ = firstChar;
  sheet_.reset();
  return 1;  // Font sheets arrive with the image loaders; until then no font loads.
}

int BitmapFont::TextWidth(const char* /*text*/) const { return -1; }
int BitmapFont::GlyphHeight(char /*c*/) const { return -1; }
int BitmapFont::DrawAt(int, int, const char*, CDXSurface*, int) { return -1; }
int BitmapFont::DrawInBox(int, int, int, const char*, CDXSurface*, int) { return -1; }
int BitmapFont::DrawClipped(int, int, const char*, CDXSurface*, const DXRect&, int) { return -1; }

}  // namespace spellcrypt
