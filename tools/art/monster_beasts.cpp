// The animal monsters: game-icons silhouettes (credited in CREDITS.md) built into parts, given fur,
// scales, shell or bone, lit by the torches and finished with eyes that catch the light.
#include <algorithm>
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/materials.h"
#include "tools/art/monster_portraits.h"
#include "tools/art/monster_render.h"

namespace spellcrypt::art::monster {

namespace {

Surface Fur(std::uint32_t rgb, double angle, std::uint32_t seed, double size = 5, double amount = 0.6) {
  Surface s;
  s.base = Rgb(rgb);
  s.grain = Grain::kFur;
  s.grainSize = size;
  s.grainAmount = amount;
  s.furAngle = angle;
  s.round = 9;
  s.shine = 0.05;
  s.seed = seed;
  return s;
}

Surface Scaly(std::uint32_t rgb, double size, std::uint32_t seed, double shine = 0.25) {
  Surface s;
  s.base = Rgb(rgb);
  s.grain = Grain::kScales;
  s.grainSize = size;
  s.grainAmount = 0.55;
  s.round = 10;
  s.shine = shine;
  s.gloss = 20;
  s.seed = seed;
  return s;
}

Surface Plain(std::uint32_t rgb, Grain grain, double amount, std::uint32_t seed, double round = 8) {
  Surface s;
  s.base = Rgb(rgb);
  s.grain = grain;
  s.grainAmount = amount;
  s.round = round;
  s.seed = seed;
  return s;
}

// Adds an icon as two parts: what lies in `behind` first, the rest over it (so it throws its
// shadow on the part behind). Returns the index of the front part.
int AddSplit(Sculpture& sc, const Mask& icon, const Mask& behind, const Surface& back, const Surface& front) {
  sc.Add(Intersect(icon, behind), back);
  return sc.Add(Minus(icon, behind), front);
}

Canvas Finish(const Sculpture& sc, Canvas c) {
  Harden(c, sc.Figure());
  return c;
}

}  // namespace

Canvas Rat() {
  const int w = 96, h = 96;
  Sculpture sc(w, h);
  const Mask body = FitIcon("rat", w, h, false);
  Surface tail = Plain(0xB88478, Grain::kSkin, 0.6, 100, 3);
  const int p = AddSplit(sc, body, BoxMask(w, h, 0, 74, 40, 96), tail, Fur(0x6E625A, 2.5, 101, 4, 0.55));
  // Bare pink tail and feet.
  sc.Tint(p,
          Union(PathMask(w, h, [](cairo_t* cr) { cairo_rectangle(cr, 0, 72, 44, 24); }),
                Ellipse(w, h, 70, 88, 14, 6)),
          Rgb(0xC89088), 0.85);
  sc.Tint(p, Ellipse(w, h, 56, 7, 5, 4), Rgb(0xD89A90), 0.7);
  Canvas c = sc.Render();
  Eye(c, 68, 11, 2.8, {Rgb(0xFF3020), Pupil::kNone, 0.1, 0.3, 0.8});
  return Finish(sc, c);
}

Canvas Spider() {
  const int w = 130, h = 118;
  Sculpture sc(w, h);
  Surface s = Fur(0x3A3038, M_PI / 2, 102, 3, 0.45);
  s.furCx = 65;
  s.furCy = 55;
  s.round = 6;
  s.shine = 0.25;
  s.groove = Rgb(0xA01818);
  Surface legs = s;
  legs.round = 3;
  legs.seed = 109;
  const Mask icon = FitIcon("spider-alt", w, h, false);
  AddSplit(sc, icon,
           Minus(Mask(w, h, 1.0f), Union(Ellipse(w, h, 65, 44, 24, 34), Ellipse(w, h, 65, 82, 16, 14))), legs,
           s);
  Canvas c = sc.Render();
  const double ex[] = {58, 65, 72, 54, 76};
  const double ey[] = {83, 81, 83, 88, 88};
  for (int i = 0; i < 5; ++i)
    Eye(c, ex[i], ey[i], i < 3 ? 3.0 : 2.2, {Rgb(0xFF2A18), Pupil::kNone, 0, 0, 0.5});
  return Finish(sc, c);
}

// A skeleton warrior: skull with fire in its sockets, ribs, and a notched sword raised.
Canvas Skeleton() {
  const int w = 136, h = 165;
  const double mid = 66;
  Sculpture sc(w, h);
  Surface bone = Plain(0xDCCFAE, Grain::kBone, 0.7, 103, 4);
  bone.shine = 0.2;
  bone.groove = Rgb(0x1E140A);
  auto limb = [&](Pt a, Pt b, double wa, double wb) {
    return Union(Taper(w, h, {a, {(a.x + b.x) / 2, (a.y + b.y) / 2}, b}, wa * 0.7, wb * 0.7),
                 Union(Ellipse(w, h, a.x, a.y, wa / 2, wa / 2), Ellipse(w, h, b.x, b.y, wb / 2, wb / 2)));
  };
  // Legs and pelvis, behind the ribs.
  sc.Add(Union(limb({56, 104}, {52, 134}, 9, 8), limb({52, 134}, {50, 158}, 8, 6)), bone);
  sc.Add(Union(limb({76, 104}, {80, 134}, 9, 8), limb({80, 134}, {82, 158}, 8, 6)), bone);
  sc.Add(Blob(w, h, {{38, 162}, {52, 156}, {58, 160}, {54, 165}, {36, 165}}), bone);
  sc.Add(Blob(w, h, {{74, 160}, {80, 156}, {96, 162}, {98, 165}, {78, 165}}), bone);
  sc.Add(Blob(w, h, {{48, 96}, {mid, 92}, {84, 96}, {86, 106}, {76, 112}, {mid, 106}, {56, 112}, {46, 106}}),
         bone);
  // Spine and ribs.
  sc.Add(Taper(w, h, {{mid, 44}, {mid, 70}, {mid, 96}}, 7, 6), bone);
  Mask ribs(w, h);
  for (int i = 0; i < 5; ++i) {
    const double y = 54 + i * 8, half = 20 - i * 1.6 - (i == 0 ? 4 : 0);
    ribs = Union(ribs, StrokeMask(w, h, 4.2, [&](cairo_t* cr) {
                   cairo_move_to(cr, mid - 2, y);
                   cairo_curve_to(cr, mid - half, y - 4, mid - half - 2, y + 6, mid - half + 4, y + 8);
                   cairo_move_to(cr, mid + 2, y);
                   cairo_curve_to(cr, mid + half, y - 4, mid + half + 2, y + 6, mid + half - 4, y + 8);
                 }));
  }
  sc.Add(ribs, bone);
  sc.Add(Blob(w, h, {{40, 50}, {mid, 46}, {92, 50}, {92, 54}, {mid, 52}, {40, 54}}), bone);
  // Left arm hanging, right arm raising the sword.
  sc.Add(Union(limb({40, 52}, {32, 80}, 8, 7), limb({32, 80}, {34, 104}, 7, 6)), bone);
  sc.Add(Blob(w, h, {{30, 104}, {38, 102}, {40, 112}, {34, 116}, {28, 112}}), bone);
  Surface iron = Plain(0x8A8478, Grain::kMetal, 0.8, 104, 3);
  iron.shine = 0.6;
  iron.gloss = 30;
  const int blade = sc.Add(Blob(w, h, {{109, 38}, {117, 38.5}, {126, 8}, {125, 1}, {120, 5}}), iron);
  sc.Tint(blade, Blur(Ellipse(w, h, 119, 22, 5, 10), 2), Rgb(0x7A4A28), 0.6);
  sc.Carve(blade,
           StrokeMask(w, h, 1.0,
                      [](cairo_t* cr) {
                        cairo_move_to(cr, 113.5, 36);
                        cairo_line_to(cr, 123, 6);
                      }),
           0.5);
  sc.Add(Taper(w, h, {{102, 40}, {113, 39.5}, {125, 40}}, 4.5, 4.5),
         Plain(0x5A5048, Grain::kMetal, 0.5, 105, 2));
  sc.Add(Union(limb({92, 52}, {106, 68}, 8, 7), limb({106, 68}, {113, 46}, 7, 6)), bone);
  sc.Add(Ellipse(w, h, 113, 44, 5, 6), bone);
  // The skull.
  const int skull = sc.Add(Blob(w, h,
                                {{mid, 4},
                                 {80, 8},
                                 {86, 20},
                                 {82, 32},
                                 {76, 38},
                                 {mid, 42},
                                 {56, 38},
                                 {50, 32},
                                 {46, 20},
                                 {52, 8}}),
                           bone);
  sc.Raise(skull, Ellipse(w, h, 58, 22, 6, 5), -5);
  sc.Raise(skull, Ellipse(w, h, 74, 22, 6, 5), -5);
  Canvas c = sc.Render();
  Shadow(c, Blur(Ellipse(w, h, 58, 22, 5.5, 5), 1, 1), Rgb(0x0A0604), 0.95);
  Shadow(c, Blur(Ellipse(w, h, 74, 22, 5.5, 5), 1, 1), Rgb(0x0A0604), 0.95);
  Shadow(c, Blur(Blob(w, h, {{mid, 27}, {68.5, 32}, {63.5, 32}}), 1, 1), Rgb(0x0A0604), 0.9);
  Shadow(c, Blur(BoxMask(w, h, 57, 35, 75, 37.2), 1, 1), Rgb(0x140C06), 0.8);
  for (int i = 0; i < 5; ++i)
    Shadow(c, BoxMask(w, h, 59.5 + i * 3.5, 33.5, 60.3 + i * 3.5, 39), Rgb(0x140C06), 0.8);
  Eye(c, 58, 22.5, 2.6, {Rgb(0xFF3A18), Pupil::kNone, 0, 0, 0.9});
  Eye(c, 74, 22.5, 2.6, {Rgb(0xFF3A18), Pupil::kNone, 0, 0, 0.9});
  return Finish(sc, c);
}

// The night wolf, face on and snarling: tall ears, a ruff of fur, pale muzzle, yellow eyes.
Canvas NightWolf() {
  const int w = 150, h = 140;
  const double mid = 75;
  Sculpture sc(w, h);
  Surface fur = Fur(0x464C64, 0, 104, 6, 0.8);
  fur.furCx = mid;
  fur.furCy = 70;
  Surface ruff = fur;
  ruff.seed = 105;
  ruff.base = Rgb(0x3A3E52);
  ruff.round = 12;
  sc.Add(Blob(w, h, {{6, 120},   {14, 96},   {30, 84},   {mid, 92},  {120, 84}, {136, 96}, {144, 120},
                     {134, 116}, {130, 132}, {118, 124}, {110, 138}, {98, 128}, {86, 139}, {mid, 128},
                     {64, 139},  {52, 128},  {40, 138},  {32, 124},  {20, 132}, {16, 116}}),
         ruff);
  Surface ear = fur;
  ear.round = 7;
  ear.seed = 106;
  const std::vector<Pt> earL = {{32, 52}, {28, 20}, {33, 6}, {44, 14}, {60, 34}};
  const int el = sc.Add(Blob(w, h, earL), ear);
  const int er = sc.Add(Blob(w, h, Mirror(earL, mid)), ear);
  sc.Tint(el, Blur(Ellipse(w, h, 39, 28, 5, 11, -0.3), 2), Rgb(0x2A2028), 0.8);
  sc.Tint(er, Blur(Ellipse(w, h, 111, 28, 5, 11, 0.3), 2), Rgb(0x2A2028), 0.8);
  const int head = sc.Add(Blob(w, h,
                               {{mid, 22},
                                {96, 26},
                                {112, 40},
                                {120, 56},
                                {128, 66},
                                {118, 72},
                                {124, 82},
                                {108, 88},
                                {92, 100},
                                {mid, 104},
                                {58, 100},
                                {42, 88},
                                {26, 82},
                                {32, 72},
                                {22, 66},
                                {30, 56},
                                {38, 40},
                                {54, 26}}),
                          fur);
  sc.Tint(head, Blur(Union(Ellipse(w, h, 40, 76, 12, 8), Ellipse(w, h, 110, 76, 12, 8)), 3), Rgb(0x8A90A4),
          0.7);
  sc.Tint(head, Blur(Ellipse(w, h, mid, 36, 8, 16), 3), Rgb(0x262A38), 0.7);
  sc.Raise(head, Ellipse(w, h, 60, 52, 9, 4), 4);
  sc.Raise(head, Ellipse(w, h, 90, 52, 9, 4), 4);
  Surface muzzle = Fur(0x9298A8, M_PI / 2, 107, 4, 0.6);
  muzzle.round = 10;
  muzzle.line = 0.5;
  const int mz = sc.Add(
      Blob(w, h, {{mid, 52}, {86, 58}, {91, 76}, {88, 90}, {mid, 97}, {62, 90}, {59, 76}, {64, 58}}), muzzle);
  sc.Tint(mz, Blur(Ellipse(w, h, mid, 58, 6, 8), 2), Rgb(0x4A5066), 0.6);
  Canvas c = sc.Render();
  // The snarl: lips drawn back from the fangs.
  Hollow(c, Blob(w, h, {{60, 90}, {mid, 95}, {90, 90}, {86, 100}, {mid, 104}, {64, 100}}), 0x2A0608);
  Shadow(c, Blur(Ellipse(w, h, mid, 100, 7, 2.5), 1, 1), Rgb(0x8A2830), 0.7);
  Fang(c, 66, 92, 67.5, 102, 4.6, Rgb(0xF0E6CC));
  Fang(c, 84, 92, 82.5, 102, 4.6, Rgb(0xF0E6CC));
  for (int i = 0; i < 3; ++i) Fang(c, 71 + i * 4, 94.5, 71 + i * 4, 97.5, 3, Rgb(0xE8DCC0));
  Fang(c, 69, 104, 70, 98, 3.6, Rgb(0xE0D4B8));
  Fang(c, 81, 104, 80, 98, 3.6, Rgb(0xE0D4B8));
  Shadow(c, Blur(Blob(w, h, {{67, 78}, {mid, 75}, {83, 78}, {80, 85}, {mid, 87}, {70, 85}}), 1, 1),
         Rgb(0x08080C), 1.0);
  GlowOn(c, 71, 78, 3, Rgb(0xFFFFFF), 0.6);
  Eye(c, 60, 58, 4.8, {Rgb(0xFFC830), Pupil::kRound, 0.35, 0.45, 0.9}, 3.8);
  Eye(c, 90, 58, 4.8, {Rgb(0xFFC830), Pupil::kRound, 0.35, -0.45, 0.9}, 3.8);
  return Finish(sc, c);
}

Canvas Glop() {
  const int w = 136, h = 116;
  Sculpture sc(w, h);
  Surface s = Plain(0x5AA02A, Grain::kSkin, 0.8, 110, 12);
  s.shine = 0.55;
  s.gloss = 28;
  s.groove = Rgb(0x14300A);
  s.close = 3;
  const int p = sc.Add(FitIcon("frog", w, h, false), s);
  for (int i = 0; i < 7; ++i) {
    Rng r(900 + i);
    sc.Tint(p, Ellipse(w, h, r.Range(30, 106), r.Range(50, 90), r.Range(3, 6), r.Range(3, 5)), Rgb(0x2E6A18),
            0.8);
  }
  sc.Tint(p, Ellipse(w, h, 68, 76, 22, 14), Rgb(0xB8C860), 0.6);
  sc.Carve(p,
           StrokeMask(w, h, 1.6,
                      [](cairo_t* cr) {
                        cairo_move_to(cr, 44, 40);
                        cairo_curve_to(cr, 56, 46, 80, 46, 92, 40);
                      }),
           1.0);
  Canvas c = sc.Render();
  Eye(c, 35.5, 23, 6.6, {Rgb(0xFFC828), Pupil::kSlit, 0.12, 0.0, 0.5});
  Eye(c, 98.5, 23, 6.6, {Rgb(0xFFC828), Pupil::kSlit, 0.12, 0.0, 0.5});
  return Finish(sc, c);
}

Canvas Grizzly() {
  const int w = 150, h = 140;
  Sculpture sc(w, h);
  Surface s = Fur(0x6A4222, 0, 111, 6, 0.7);
  s.furCx = 75;
  s.furCy = 90;
  s.round = 14;
  const Mask icon = FitIcon("bear-face", w, h, false);
  const int p = sc.Add(icon, s);
  sc.Raise(p, Ellipse(w, h, 75, 100, 28, 28), 6);
  sc.Raise(p, Ellipse(w, h, 52, 50, 12, 4), 3);
  sc.Raise(p, Ellipse(w, h, 98, 50, 12, 4), 3);
  sc.Tint(p, Blur(Ellipse(w, h, 75, 100, 28, 30), 5), Rgb(0xA88058), 0.6);

  Canvas c = sc.Render();
  Shadow(c, Blur(Ellipse(w, h, 75, 110, 19, 21), 2, 1), Rgb(0x3A0606), 0.8);
  Shadow(c, Blur(Ellipse(w, h, 75, 116, 11, 9), 2, 1), Rgb(0x8A3030), 0.5);
  Fang(c, 63, 93, 65, 105, 5, Rgb(0xE8DCC0));
  Fang(c, 87, 93, 85, 105, 5, Rgb(0xE8DCC0));
  Fang(c, 64, 128, 66, 118, 4.5, Rgb(0xDCD0B0));
  Fang(c, 86, 128, 84, 118, 4.5, Rgb(0xDCD0B0));
  Shadow(c, Blur(Blob(w, h, {{63, 74}, {75, 70}, {87, 74}, {80, 86}, {70, 86}}), 1, 1), Rgb(0x0A0606), 1.0);
  GlowOn(c, 71, 74, 4, Rgb(0xFFFFFF), 0.5);
  Eye(c, 53, 56, 4.6, {Rgb(0xFFA020), Pupil::kRound, 0.35, 0.4, 0.8}, 3.8);
  Eye(c, 97, 56, 4.6, {Rgb(0xFFA020), Pupil::kRound, 0.35, -0.4, 0.8}, 3.8);
  return Finish(sc, c);
}

// A cobra risen from its coils, hood spread, with glowing charms on the hood.
Canvas MysticCobra() {
  const int w = 140, h = 152;
  const double mid = 70;
  Sculpture sc(w, h);
  Surface scales = Scaly(0xB88A28, 5, 113, 0.35);
  scales.groove = Rgb(0x2A1406);
  auto ring = [&](double cy, double rx, double ry, double width) {
    return StrokeMask(w, h, width, [&](cairo_t* cr) {
      cairo_save(cr);
      cairo_translate(cr, mid, cy);
      cairo_scale(cr, rx, ry);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(cr);
    });
  };
  sc.Add(ring(136, 52, 7, 14), scales);
  sc.Add(Taper(w, h, {{mid + 6, 128}, {mid + 2, 110}, {mid, 90}, {mid, 70}}, 22, 20), scales);
  Surface coil = scales;
  coil.seed = 114;
  const int c2 = sc.Add(Intersect(ring(124, 40, 8, 13), BoxMask(w, h, 0, 124, w, h)), coil);
  sc.Tint(c2, BoxMask(w, h, 0, 128, w, h), Rgb(0xD8B860), 0.3);
  Surface hood = scales;
  hood.round = 14;
  hood.seed = 115;
  const int hd = sc.Add(Blob(w, h,
                             {{mid, 16},
                              {92, 24},
                              {108, 40},
                              {117, 62},
                              {111, 86},
                              {94, 104},
                              {80, 114},
                              {mid, 116},
                              {60, 114},
                              {46, 104},
                              {29, 86},
                              {23, 62},
                              {32, 40},
                              {48, 24}}),
                        hood);
  const Mask belly =
      Blob(w, h, {{mid, 40}, {84, 50}, {88, 80}, {80, 112}, {mid, 116}, {60, 112}, {52, 80}, {56, 50}});
  sc.Tint(hd, belly, Rgb(0xE8CC80), 0.8);
  sc.Carve(hd,
           Intersect(StrokeMask(w, h, 1.2,
                                [&](cairo_t* cr) {
                                  for (int i = 0; i < 9; ++i) {
                                    cairo_move_to(cr, 48, 52 + i * 7);
                                    cairo_curve_to(cr, 60, 56 + i * 7, 80, 56 + i * 7, 92, 52 + i * 7);
                                  }
                                }),
                     belly),
           0.8);
  sc.Tint(hd,
          Minus(Blob(w, h,
                     {{mid, 22},
                      {98, 34},
                      {112, 56},
                      {112, 80},
                      {102, 98},
                      {mid, 80},
                      {38, 98},
                      {28, 80},
                      {28, 56},
                      {42, 34}}),
                Dilate(Threshold(belly, 0.5f), 3)),
          Rgb(0x4A2A6A), 0.55);
  Surface headS = Scaly(0xB88A28, 3.5, 116, 0.4);
  headS.round = 9;
  const int head = sc.Add(Blob(w, h,
                               {{mid, 5},
                                {86, 8},
                                {95, 19},
                                {92, 31},
                                {83, 43},
                                {mid, 50},
                                {57, 43},
                                {48, 31},
                                {45, 19},
                                {54, 8}}),
                          headS);
  sc.Raise(head, Ellipse(w, h, 59, 24, 6, 3), 3);
  sc.Raise(head, Ellipse(w, h, 81, 24, 6, 3), 3);
  sc.Tint(head, Blur(Ellipse(w, h, mid, 14, 12, 6), 3), Rgb(0x4A2A6A), 0.5);
  Canvas c = sc.Render();
  // Charms on the hood: rings of violet fire round a gold spark.
  for (int side = -1; side <= 1; side += 2) {
    const double x = mid + side * 28, y = 66;
    cairo_t* cr = c.cr();
    cairo_arc(cr, x, y, 7, 0, 2 * M_PI);
    SetColor(cr, Rgb(0x1A0828));
    cairo_fill(cr);
    Eye(c, x, y, 5, {Rgb(0xB070FF), Pupil::kNone, 0, 0, 1.0});
    cairo_arc(cr, x, y, 1.8, 0, 2 * M_PI);
    SetColor(cr, Rgb(0xFFE890));
    cairo_fill(cr);
  }
  cairo_t* cr = c.cr();
  SetColor(cr, Rgb(0xC01820));
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, mid, 47);
  cairo_line_to(cr, mid, 58);
  cairo_line_to(cr, mid - 3, 63);
  cairo_move_to(cr, mid, 58);
  cairo_line_to(cr, mid + 3, 63);
  cairo_stroke(cr);
  Shadow(c,
         Blur(StrokeMask(w, h, 1.4,
                         [&](cairo_t* r) {
                           cairo_move_to(r, 58, 40);
                           cairo_curve_to(r, 64, 45, 76, 45, 82, 40);
                         }),
              1, 1),
         Rgb(0x1A0A04), 0.9);
  Shadow(c, Ellipse(w, h, 67, 36, 1.2, 1.6), Rgb(0x100804), 0.9);
  Shadow(c, Ellipse(w, h, 73, 36, 1.2, 1.6), Rgb(0x100804), 0.9);
  Eye(c, 59, 27, 4.8, {Rgb(0xFFD040), Pupil::kSlit, 0.3, 0.45, 0.9}, 3.8);
  Eye(c, 81, 27, 4.8, {Rgb(0xFFD040), Pupil::kSlit, 0.3, -0.45, 0.9}, 3.8);
  return Finish(sc, c);
}

Canvas HorrorSquirrel() {
  const int w = 112, h = 112;
  Sculpture sc(w, h);
  Surface s = Fur(0xA0501E, 0, 115, 5, 0.7);
  s.furCx = 40;
  s.furCy = 60;
  s.groove = Rgb(0x200804);
  Surface tail = s;
  tail.furCx = 70;
  tail.furCy = 60;
  tail.seed = 117;
  tail.base = Rgb(0x8A4018);
  const int p = AddSplit(
      sc, FitIcon("squirrel", w, h, true),
      Blob(w, h, {{36, -4}, {116, -4}, {116, 116}, {86, 116}, {80, 92}, {70, 72}, {58, 50}, {44, 26}}), tail,
      s);
  sc.Tint(p, Ellipse(w, h, 30, 66, 14, 16), Rgb(0xD8A878), 0.6);
  Canvas c = sc.Render();
  Fang(c, 14, 56, 15, 66, 4, Rgb(0xF0E8D0));
  Fang(c, 20, 56, 20.5, 66, 4, Rgb(0xF0E8D0));
  Eye(c, 15, 37, 4, {Rgb(0xFF2A18), Pupil::kNone, 0.25, 0.5, 1.0});
  return Finish(sc, c);
}

Canvas Turtle() {
  const int w = 150, h = 104;
  Sculpture sc(w, h);
  Surface s = Plain(0x5A6A2E, Grain::kShell, 0.7, 116, 12);
  s.groove = Rgb(0x1A1C06);
  s.shine = 0.3;
  s.close = 3;
  const Mask skin = Union(Ellipse(w, h, 20, 62, 24, 17), BoxMask(w, h, 0, 88, w, h));
  Surface scaly = Scaly(0x8A8A50, 3, 117, 0.25);
  scaly.round = 6;
  scaly.close = 2;
  const int p = AddSplit(sc, FitIcon("tortoise", w, h, true), skin, scaly, s);
  sc.Tint(p, BoxMask(w, h, 40, 0, w, 80), Rgb(0x5A4A22), 0.45);
  Canvas c = sc.Render();
  Shadow(c,
         Blur(StrokeMask(w, h, 1.2,
                         [](cairo_t* cr) {
                           cairo_move_to(cr, 4, 63);
                           cairo_curve_to(cr, 10, 66, 16, 66, 22, 64);
                         }),
              1, 1),
         Rgb(0x101004), 0.9);
  Eye(c, 18, 51, 3.4, {Rgb(0xFFB020), Pupil::kRound, 0.3, 0.2, 0.5});
  return Finish(sc, c);
}

Canvas FireTortoise() {
  const int w = 172, h = 120;
  Sculpture sc(w, h);
  Surface s = Plain(0xA82A16, Grain::kShell, 0.7, 61, 12);
  // Embers glow in the cracks between the shell's plates.
  s.groove = Rgb(0xFF8A20);
  s.shine = 0.35;
  s.close = 3;
  const Mask icon = Place(FitIcon("tortoise", w, h - 18, true), w, h, 0, 18);
  Surface scaly = Scaly(0x8A5A30, 3, 63, 0.25);
  scaly.round = 6;
  scaly.close = 2;
  AddSplit(sc, icon, Union(Ellipse(w, h, 28, 72, 25, 20), BoxMask(w, h, 0, 104, w, h)), scaly, s);
  Canvas c = sc.Render();
  Eye(c, 31, 67, 3.6, {Rgb(0xFFE040), Pupil::kSlit, 0.35, 0.3, 0.9});
  Canvas out = Finish(sc, c);
  for (int i = 0; i < 4; ++i)
    Flame(out, 62 + i * 20, 40 + std::abs(i - 1.5) * 6, 15, 28 + (i % 2) * 10, i * 0.27, 62 + i);
  // The flames' soft edges stand on the dark outline, never on the key.
  Mask cover = Threshold(out.Alpha(), 0.3f);
  Harden(out, Union(sc.Figure(), Dilate(cover, 1)));
  return out;
}

Canvas Dragon() {
  const int w = 166, h = 163;
  Sculpture sc(w, h);
  Surface s = Scaly(0xA8261A, 6, 121, 0.3);
  s.groove = Rgb(0x2A0402);
  s.round = 12;
  s.close = 3;
  const Mask icon = FitIcon("spiked-dragon-head", w, h, false);
  Surface neck = s;
  neck.base = Rgb(0xB8502A);
  neck.seed = 122;
  const int p = AddSplit(sc, icon, BoxMask(w, h, 0, 112, 96, 163), neck, s);
  sc.Tint(p, Thin(icon, 3, BoxMask(w, h, 96, 80, 166, 125)), Rgb(0xF0E4C8), 1.0);
  // Horns of old bone on the back of the head and the brow.
  sc.Tint(p, Blur(Thin(icon, 5, Union(BoxMask(w, h, 0, 0, 70, 112), BoxMask(w, h, 70, 0, 166, 40))), 2),
          Rgb(0xC8B890), 0.85);
  Canvas c = sc.Render();
  Eye(c, 99, 52, 5.4, {Rgb(0xFFD030), Pupil::kSlit, 0.3, 0.45, 1.0}, 4.2);
  return Finish(sc, c);
}

// Mr Bomb: an iron ball with a lit fuse and an angry face.
Canvas MrBomb() {
  const int n = 110;
  Sculpture sc(n, n);
  Surface s = Plain(0x34363E, Grain::kMetal, 0.6, 41, 30);
  s.shine = 0.8;
  s.gloss = 34;
  const Mask shape = FitIcon("unlit-bomb", n, n, false);
  sc.Add(shape, s);
  Canvas c = sc.Render();
  // The fuse curls out to the left: its end is the leftmost point of the upper half.
  double fuseX = n / 2.0, fuseY = 0;
  for (int x = 0, found = 0; x < n && !found; ++x)
    for (int y = 0; y < n * 45 / 100; ++y)
      if (shape.at(x, y) > 0.5f) {
        fuseX = x;
        fuseY = y;
        found = 1;
        break;
      }
  cairo_t* cr = c.cr();
  const double cx = 56, cy = 70;
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(cr);
    cairo_translate(cr, cx + side * 13, cy - 4);
    cairo_scale(cr, 1, 1.25);
    cairo_arc(cr, 0, 0, 7, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Rgb(0x0A0A0C));
    cairo_fill(cr);
    Eye(c, cx + side * 13, cy - 3, 5.4, {Rgb(0xFF5020), Pupil::kRound, 0.3, side * 0.45, 0.5, true, 0.6},
        6.4);
    cairo_move_to(cr, cx + side * 22, cy - 17);
    cairo_line_to(cr, cx + side * 5, cy - 10);
    cairo_set_line_width(cr, 4);
    SetColor(cr, Rgb(0x0A0A0C));
    cairo_stroke(cr);
  }
  cairo_move_to(cr, cx - 12, cy + 20);
  cairo_curve_to(cr, cx - 5, cy + 12, cx + 5, cy + 12, cx + 12, cy + 20);
  cairo_curve_to(cr, cx + 5, cy + 16, cx - 5, cy + 16, cx - 12, cy + 20);
  SetColor(cr, Rgb(0x0A0A0C));
  cairo_fill(cr);
  Canvas out = Finish(sc, c);
  Canvas spark(n, n);
  Flame(spark, fuseX + 2, fuseY + 4, 12, 16, 0.3, 42);
  out.Draw(spark, 0, 0);
  GlowOn(out, fuseX + 2, fuseY + 2, 26, Rgb(0xFF9030), 0.5);
  Harden(out, Union(sc.Figure(), Dilate(Threshold(out.Alpha(), 0.3f), 1)));
  return out;
}

// Death Touch: a withered hand rising from a ragged sleeve, its fingers closing as it grabs.
Canvas DeathTouch(int frame) {
  const int w = 130, h = 150;
  const double curl = frame * 0.5;          // 0 open .. 1 clenched
  const double scale = 1.0 + frame * 0.06;  // it comes closer as it grabs
  Sculpture sc(w, h);
  auto P = [&](double x, double y) { return Pt{65 + (x - 65) * scale, 150 + (y - 150) * scale}; };
  Surface cloth = Plain(0x2A2234, Grain::kCloth, 0.9, 51, 10);
  cloth.grainSize = 10;
  Surface skin = Plain(0x8C9080, Grain::kSkin, 1.0, 52, 6);
  skin.groove = Rgb(0x2A1A2A);
  Surface nail = Plain(0x1E1618, Grain::kSmooth, 0, 53, 2);
  nail.shine = 0.6;
  nail.gloss = 30;
  sc.Add(Taper(w, h, {P(65, 150), P(65, 130), P(65, 110)}, 28 * scale, 24 * scale), skin);
  const int palm = sc.Add(
      Blob(w, h,
           {P(46, 80), P(65, 74), P(86, 80), P(88, 100), P(82, 116), P(65, 120), P(48, 116), P(42, 100)}),
      skin);
  sc.Raise(palm, Ellipse(w, h, P(65, 98).x, P(65, 98).y, 10 * scale, 10 * scale), -4);
  sc.Carve(palm,
           StrokeMask(w, h, 1.2,
                      [&](cairo_t* cr) {
                        const Pt a = P(50, 96), b = P(64, 92), c = P(80, 95), d = P(54, 108), e = P(76, 104);
                        cairo_move_to(cr, a.x, a.y);
                        cairo_curve_to(cr, b.x, b.y, b.x, b.y, c.x, c.y);
                        cairo_move_to(cr, d.x, d.y);
                        cairo_line_to(cr, e.x, e.y);
                      }),
           0.6);
  // Fingers: three bones each; curling turns every joint toward the palm, so the tips close in.
  const struct {
    double x, y, angle, length;
  } fingers[] = {{49, 82, -1.95, 46}, {60, 76, -1.68, 52}, {71, 76, -1.46, 50}, {82, 82, -1.2, 40}};
  Mask tips(w, h);
  for (const auto& f : fingers) {
    std::vector<Pt> spine = {P(f.x, f.y)};
    double a = f.angle, x = f.x, y = f.y;
    const double seg[3] = {0.42, 0.33, 0.25};
    const double turn = 1.35 * curl * (f.x < 65 ? 1 : -1);
    Mask knuckles(w, h);
    for (int k = 0; k < 3; ++k) {
      const double len = f.length * seg[k] * (1 - 0.3 * curl * k);
      x += std::cos(a) * len;
      y += std::sin(a) * len;
      spine.push_back(P(x, y));
      if (k < 2) knuckles = Union(knuckles, Ellipse(w, h, P(x, y).x, P(x, y).y, 4.6 * scale, 4.6 * scale));
      a += turn;
    }
    sc.Add(Union(Taper(w, h, spine, 10 * scale, 6 * scale), knuckles), skin);
    const Pt tip = spine.back();
    const Pt prev = spine[spine.size() - 2];
    const double d = std::hypot(tip.x - prev.x, tip.y - prev.y);
    tips = Union(tips,
                 Taper(w, h,
                       {{tip.x - (tip.x - prev.x) / d * 3, tip.y - (tip.y - prev.y) / d * 3},
                        {tip.x + (tip.x - prev.x) / d * 6 * scale, tip.y + (tip.y - prev.y) / d * 6 * scale}},
                       5.5 * scale, 1));
  }
  // The thumb, bending in across the palm.
  {
    double a = -2.55 + curl * 0.7, x = 46, y = 106;
    std::vector<Pt> spine = {P(x, y)};
    for (int k = 0; k < 3; ++k) {
      x += std::cos(a) * 13;
      y += std::sin(a) * 13;
      spine.push_back(P(x, y));
      a += 0.3 + curl * 0.6;
    }
    sc.Add(Taper(w, h, spine, 12 * scale, 7 * scale), skin);
  }
  sc.Add(tips, nail);
  sc.Add(Blob(w, h,
              {P(32, 150), P(36, 130), P(48, 120), P(82, 120), P(94, 130), P(98, 150), P(88, 140), P(80, 150),
               P(66, 138), P(54, 150), P(42, 140)}),
         cloth);
  Canvas c = sc.Render();
  GlowOn(c, P(65, 128).x, P(65, 128).y, 50 * scale, Rgb(0x7A40C0), 0.3);
  return Finish(sc, c);
}

Canvas Snake() {
  const int w = 172, h = 54;
  Sculpture sc(w, h);
  auto spine = [](cairo_t* cr) {
    cairo_move_to(cr, 6, 46);
    for (int i = 0; i <= 40; ++i) {
      const double t = i / 40.0;
      cairo_line_to(cr, 6 + t * 134, 44 - std::sin(t * 3 * M_PI) * 5 * (0.4 + t) - t * 6);
    }
    cairo_curve_to(cr, 146, 36, 148, 30, 146, 24);
  };
  const Mask body = StrokeMask(w, h, 12, spine);
  Surface bodyS = Scaly(0x6A8A26, 4, 131, 0.35);
  bodyS.round = 6;
  const int b = sc.Add(body, bodyS);
  sc.Tint(b, Intersect(body, Blur(Shifted(Threshold(body, 0.5f), 0, 6), 2)), Rgb(0xD8C070), 0.7);
  sc.Tint(b,
          StrokeMask(w, h, 4,
                     [](cairo_t* cr) {
                       for (int i = 0; i < 9; ++i) {
                         cairo_move_to(cr, 16 + i * 14, 0);
                         cairo_line_to(cr, 20 + i * 14, h);
                       }
                     }),
          Rgb(0x2A3A0A), 0.75);
  Surface headS = Scaly(0x6A8A26, 3, 132, 0.4);
  headS.round = 7;
  sc.Add(Blob(w, h, {{140, 22}, {148, 12}, {160, 9}, {169, 14}, {169, 22}, {160, 28}, {148, 30}}), headS);
  Canvas c = sc.Render();
  cairo_t* cc = c.cr();
  SetColor(cc, Rgb(0xC81818));
  cairo_set_line_width(cc, 1.4);
  cairo_move_to(cc, 165, 23);
  cairo_line_to(cc, 170, 28);
  cairo_line_to(cc, 171, 25);
  cairo_move_to(cc, 170, 28);
  cairo_line_to(cc, 170, 32);
  cairo_stroke(cc);
  Eye(c, 157, 15, 2.8, {Rgb(0xFFD020), Pupil::kSlit, 0.3, 0.4, 0.8});
  Canvas out = Finish(sc, c);
  Harden(out, Union(sc.Figure(), Dilate(Threshold(out.Alpha(), 0.3f), 1)));
  return out;
}

}  // namespace spellcrypt::art::monster
