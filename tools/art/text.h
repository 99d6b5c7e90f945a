// Typefaces from Debian's font packages, drawn through Cairo: the faces of titles, headings, body
// text and the bitmap fonts.
#pragma once

#include <cairo.h>

#include <string>

#include "tools/art/palette.h"

namespace spellcrypt::art {

enum class Face {
  kTitle,     // blackletter-roman hybrid for the game's name
  kHeading,   // bold old-style serif for headings and menu words
  kBody,      // book serif for explanations
  kBodyBold,  // its bold
  kSans,      // bold humanist sans for messages
  kSmall,     // condensed bold sans, crisp at small sizes
};

// Opens every face. False (with a message on stderr) when a font file is missing.
bool LoadFaces();
// Path of the font file behind a face (for the credits check).
const char* FacePath(Face face);

enum class Align { kLeft, kCentre, kRight };

// Selects face and size on the context; `hinted` snaps outlines to pixels (small text).
void UseFace(cairo_t* cr, Face face, double size, bool hinted = false);
double TextWidth(cairo_t* cr, const std::string& text);
// Adds the text outline to the current path with its baseline at y, aligned at x.
void TextPath(cairo_t* cr, const std::string& text, double x, double y, Align align = Align::kLeft);
void DrawText(cairo_t* cr, const std::string& text, double x, double y, const Color& color,
              Align align = Align::kLeft);
// Word-wraps `text` ("\n" forces a break) into lines no wider than `width`, drawing them from
// baseline y with the given line height. Returns the baseline below the last line.
double DrawWrapped(cairo_t* cr, const std::string& text, double x, double y, double width, double lineHeight,
                   const Color& color, Align align = Align::kLeft);

}  // namespace spellcrypt::art
