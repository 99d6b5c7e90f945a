// Typefaces opened straight from their font files (no font lookup), so the pictures come out the
// same on every machine with the same packages.
#include "tools/art/text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <sstream>
#include <vector>

#include "tools/art/canvas.h"

namespace spellcrypt::art {

namespace {

struct FaceFile {
  Face face;
  const char* path;
};

constexpr FaceFile kFaceFiles[] = {
    {Face::kTitle, "/usr/share/fonts/opentype/gotico-antiqua/Zainer-GoticoAntiqua96G.otf"},
    {Face::kHeading, "/usr/share/fonts/truetype/cardo/Cardob101.ttf"},
    {Face::kBody, "/usr/share/fonts/opentype/linux-libertine/LinLibertine_R.otf"},
    {Face::kBodyBold, "/usr/share/fonts/opentype/linux-libertine/LinLibertine_RB.otf"},
    {Face::kSans, "/usr/share/fonts/opentype/linux-libertine/LinBiolinum_RB.otf"},
    {Face::kSmall, "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"},
};
constexpr int kFaceCount = sizeof(kFaceFiles) / sizeof(kFaceFiles[0]);

FT_Library g_library = nullptr;
cairo_font_face_t* g_faces[kFaceCount] = {};

}  // namespace

bool LoadFaces() {
  if (g_library) return true;
  if (FT_Init_FreeType(&g_library) != 0) {
    std::fprintf(stderr, "art: FreeType failed to start\n");
    return false;
  }
  for (int i = 0; i < kFaceCount; ++i) {
    FT_Face ft = nullptr;
    if (FT_New_Face(g_library, kFaceFiles[i].path, 0, &ft) != 0) {
      std::fprintf(stderr, "art: missing font %s (see scripts/packages.txt)\n", kFaceFiles[i].path);
      return false;
    }
    // The faces live as long as the generator; Cairo keeps its own reference.
    g_faces[i] = cairo_ft_font_face_create_for_ft_face(ft, 0);
  }
  return true;
}

const char* FacePath(Face face) { return kFaceFiles[static_cast<int>(face)].path; }

void UseFace(cairo_t* cr, Face face, double size, bool hinted) {
  cairo_set_font_face(cr, g_faces[static_cast<int>(face)]);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, hinted ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, hinted ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double TextWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text.c_str(), &ext);
  return ext.x_advance;
}

void TextPath(cairo_t* cr, const std::string& text, double x, double y, Align align) {
  const double w = TextWidth(cr, text);
  if (align == Align::kCentre) x -= w / 2;
  if (align == Align::kRight) x -= w;
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, text.c_str());
}

void DrawText(cairo_t* cr, const std::string& text, double x, double y, const Color& color, Align align) {
  const double w = TextWidth(cr, text);
  if (align == Align::kCentre) x -= w / 2;
  if (align == Align::kRight) x -= w;
  SetColor(cr, color);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
  cairo_new_path(cr);
}

double DrawWrapped(cairo_t* cr, const std::string& text, double x, double y, double width, double lineHeight,
                   const Color& color, Align align) {
  std::vector<std::string> paragraphs;
  std::string current;
  for (char c : text) {
    if (c == '\n') {
      paragraphs.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  paragraphs.push_back(current);
  const double ax = align == Align::kCentre ? x + width / 2 : (align == Align::kRight ? x + width : x);
  for (const std::string& para : paragraphs) {
    std::istringstream words(para);
    std::string word;
    std::string line;
    bool any = false;
    while (words >> word) {
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && TextWidth(cr, candidate) > width) {
        DrawText(cr, line, ax, y, color, align);
        y += lineHeight;
        line = word;
      } else {
        line = candidate;
      }
      any = true;
    }
    if (any) DrawText(cr, line, ax, y, color, align);
    y += lineHeight;
  }
  return y;
}

}  // namespace spellcrypt::art
