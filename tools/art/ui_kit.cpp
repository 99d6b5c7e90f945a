// Shared screen pieces; see ui_kit.h.
#include "tools/art/ui_kit.h"

#include <algorithm>
#include <cmath>

namespace spellcrypt::art {

void DungeonWall(Canvas& c, std::uint32_t seed, const std::vector<TorchLamp>& lamps, double blockW,
                 double blockH) {
  StoneWall(c, {0, 0, static_cast<double>(c.width()), static_cast<double>(c.height())}, seed, blockW, blockH,
            lamps, 0.34);
  Vignette(c, 0.55);
}

double CentredBaseline(Face face, double size, double top, double height) {
  const Rect cap = WordBox(face, size, "H", 0, 0, Align::kLeft);
  return std::round(top + (height - cap.h) / 2 - cap.y);
}

void WordButtons(PictureSet& set, Canvas& page, const std::vector<WordButton>& words, bool ink, double pageX,
                 double pageY) {
  const Canvas ground = page;
  for (const WordButton& w : words) {
    const double ax =
        w.align == Align::kCentre ? w.x + w.w / 2 : (w.align == Align::kRight ? w.x + w.w - 4 : w.x + 4);
    const double base = CentredBaseline(w.face, w.size, w.y, w.h);
    Canvas lit = ground;
    Word(lit, w.text, w.face, w.size, ax, base, w.align, ink ? WordStyle::kInkLit : WordStyle::kLit);
    // The glow fades out toward the picture's edges, so the lit word shows no box around it.
    const double fade = 6;
    lit.Apply([&](int x, int y, const Color& p) {
      const double e = std::min({x - w.x, w.x + w.w - 1 - x, y - w.y, w.y + w.h - 1 - y});
      if (e >= fade || e < 0) return p;
      return Mix(ground.Get(x, y), p, Clamp01(e / fade));
    });
    set.Emit(
        w.file,
        lit.Crop(static_cast<int>(w.x), static_cast<int>(w.y), static_cast<int>(w.w), static_cast<int>(w.h)),
        1, kNoKey,
        w.where.empty() ? "(" + std::to_string(static_cast<int>(w.x - pageX)) + "," +
                              std::to_string(static_cast<int>(w.y - pageY)) + ")"
                        : w.where,
        w.by);
    Word(page, w.text, w.face, w.size, ax, base, w.align, ink ? WordStyle::kInk : WordStyle::kCarved);
  }
}

Canvas ShadeFigureClear(const Mask& shape, const FigureStyle& style, PixelBox* bounds) {
  // The outline is as wide as ShadeFigure draws it for the padded size; the padding is wider than
  // the closing reaches.
  const int pad = style.close + 2;
  Mask padded(shape.w + 2 * pad, shape.h + 2 * pad);
  for (int y = 0; y < shape.h; ++y)
    for (int x = 0; x < shape.w; ++x) padded.at(x + pad, y + pad) = shape.at(x, y);
  const Canvas shaded = ShadeFigure(padded, style);
  if (bounds) {
    const int outline = std::max(1, static_cast<int>(std::lround(std::max(padded.w, padded.h) / 160.0)));
    const PixelBox b = MaskBounds(shape, 0.5f);
    *bounds = b.Empty() ? PixelBox{} : b.Grown(outline);
  }
  return shaded.Crop(pad, pad, shape.w, shape.h);
}

void StoneSlab(Canvas& c, const Rect& r, std::uint32_t seed, bool pressed) {
  // The slab is cut from the middle of one block of a course taller and wider than it, so no
  // mortar joint ever runs through it.
  const int w = static_cast<int>(std::ceil(r.w)) + 2, h = static_cast<int>(std::ceil(r.h)) + 2;
  const int margin = 24;
  const double blockW = (w + 2 * margin) / 0.8;  // a course's blocks are at least 0.8 of this wide
  const StoneCourse course = StoneCourseAt(0, seed, blockW);
  const double start = std::ceil(course.offset / course.width) * course.width - course.offset;
  const double left = std::ceil(start + (course.width - w) / 2);
  Canvas block(static_cast<int>(left) + w, h + 2 * margin);
  std::vector<TorchLamp> lamps = {{left - 40, margin - 60.0, 160, pressed ? 0.55 : 0.9, pal::kTorch}};
  StoneWall(block, {left, static_cast<double>(margin), static_cast<double>(w), static_cast<double>(h)}, seed,
            blockW, h + 2.0 * margin, lamps, pressed ? 0.25 : 0.4);
  Canvas slab(c.width(), c.height());
  slab.Draw(block.Crop(static_cast<int>(left), margin, w, h), r.x, r.y);
  slab.Apply([&](int x, int y, const Color& p) {
    if (p.a <= 0) return p;
    const double l = x - r.x, t = y - r.y, rr = r.x + r.w - 1 - x, b = r.y + r.h - 1 - y;
    if (std::min({l, t, rr, b}) < 0) return Color{0, 0, 0, 0};
    const double e = std::min({l, t, rr, b});
    Color o = p;
    if (e < 3) {
      const bool upperLeft = (l < rr && l < b) || (t < rr && t < b);
      const bool light = pressed ? !upperLeft : upperLeft;
      o = light ? Mix(p, Rgb(0xB8A890), 0.45 * (1 - e / 3)) : Mix(p, pal::kStoneDeep, 0.7 * (1 - e / 3));
    }
    if (pressed) o = Scale(o, 0.8);
    return o;
  });
  c.Draw(slab, 0, 0);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, r.x - 0.5, r.y - 0.5, r.w + 1, r.h + 1);
  SetColor(cr, pal::kStoneDeep);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void TileSocket(Canvas& c, double x, double y, double size) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  RoundedRect(cr, x - 1, y - 1, size + 2, size + 2, 5);
  cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x + size, y + size);
  cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0, 0.85);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.08, 0.07, 0.06, 0.6);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  RoundedRect(cr, x - 1.5, y - 1.5, size + 3, size + 3, 5);
  cairo_set_line_width(cr, 1);
  SetColor(cr, Rgb(0x8A7A60), 0.45);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void BarTrough(Canvas& c, const Rect& r) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  RoundedRect(cr, r.x, r.y, r.w, r.h, 3);
  SetColor(cr, Rgb(0x080606));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.5);
  SetColor(cr, pal::kGoldDark);
  cairo_stroke(cr);
  RoundedRect(cr, r.x - 1.5, r.y - 1.5, r.w + 3, r.h + 3, 4);
  cairo_set_line_width(cr, 1);
  SetColor(cr, pal::kGold, 0.6);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace spellcrypt::art
