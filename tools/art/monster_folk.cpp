// The humanlike monsters, drawn from their parts as head-and-shoulders portraits: each face turned
// to the player, lit by the torches on the upper left, with eyes that catch the light.
#include <algorithm>
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/monster_portraits.h"
#include "tools/art/monster_render.h"

namespace spellcrypt::art::monster {

namespace {

Surface Make(std::uint32_t rgb, Grain grain, double amount, std::uint32_t seed, double round = 10) {
  Surface s;
  s.base = Rgb(rgb);
  s.grain = grain;
  s.grainAmount = amount;
  s.round = round;
  s.seed = seed;
  return s;
}

Canvas Finish(const Sculpture& sc, Canvas c) {
  Harden(c, sc.Figure());
  return c;
}

}  // namespace

// A one-eyed brute standing squat on the floor: heavy brow over the single eye, tusks over the lip,
// fists hanging low, a fur loincloth.
Canvas Cyclops() {
  const int w = 150, h = 160;
  const double mid = 75;
  Sculpture sc(w, h);
  Surface skin = Make(0x8E7258, Grain::kSkin, 0.18, 201, 9);
  skin.shine = 0.22;
  skin.gloss = 12;
  const std::vector<Pt> leg = {{60, 124}, {57, 140}, {55, 152}};
  sc.Add(Taper(w, h, leg, 22, 17), skin);
  sc.Add(Taper(w, h, Mirror(leg, mid), 22, 17), skin);
  const std::vector<Pt> foot = {{38, 159}, {42, 150}, {56, 147}, {68, 152}, {68, 159}};
  sc.Add(Blob(w, h, foot), skin);
  sc.Add(Blob(w, h, Mirror(foot, mid)), skin);
  const std::vector<Pt> arm = {{30, 88}, {18, 106}, {15, 122}, {18, 134}};
  sc.Add(Taper(w, h, arm, 30, 22), skin);
  sc.Add(Taper(w, h, Mirror(arm, mid), 26, 18), skin);
  const std::vector<Pt> chest = {{20, 92},  {38, 74},   {56, 68},   {mid, 76},  {94, 68},  {112, 74},
                                 {130, 92}, {126, 112}, {116, 128}, {mid, 136}, {34, 128}, {24, 112}};
  const int torso = sc.Add(Blob(w, h, chest), skin);
  sc.Tint(torso, Blur(Ellipse(w, h, mid, 112, 28, 18), 4), Rgb(0xB89070), 0.5);
  sc.Raise(torso, Ellipse(w, h, 58, 94, 14, 9), 3);
  sc.Raise(torso, Ellipse(w, h, 92, 94, 14, 9), 3);
  sc.Carve(torso, Ellipse(w, h, mid, 116, 1.6, 1.2), 1.0);
  sc.Carve(torso,
           StrokeMask(w, h, 1.3,
                      [](cairo_t* cr) {
                        cairo_move_to(cr, 48, 96);
                        cairo_curve_to(cr, 58, 102, 68, 100, 74, 94);
                        cairo_move_to(cr, 102, 96);
                        cairo_curve_to(cr, 92, 102, 82, 100, 76, 94);
                      }),
           0.7);
  // A knotted club in the right fist, resting on the shoulder side.
  Surface wood = Make(0x5E3C22, Grain::kShell, 0.8, 204, 6);
  wood.grainSize = 3;
  const int club = sc.Add(Taper(w, h, {{124, 146}, {132, 118}, {138, 92}, {142, 70}}, 8, 17), wood);
  sc.Carve(club, Union(Ellipse(w, h, 139, 84, 2, 1.5), Ellipse(w, h, 135, 104, 1.6, 1.2)), 1.0);
  const std::vector<Pt> fist = {{3, 134}, {17, 125}, {33, 131}, {33, 148}, {19, 155}, {5, 149}};
  sc.Add(Blob(w, h, fist), skin);
  sc.Add(Blob(w, h, Mirror(fist, mid)), skin);
  Surface fur = Make(0x4E3420, Grain::kFur, 0.9, 202, 8);
  fur.grainSize = 7;
  sc.Add(Blob(w, h,
              {{40, 120},
               {mid, 126},
               {110, 120},
               {114, 132},
               {102, 148},
               {94, 138},
               {86, 152},
               {mid, 142},
               {64, 152},
               {56, 138},
               {48, 148},
               {36, 132}}),
         fur);
  Surface belt = Make(0x3A2616, Grain::kSmooth, 0.2, 203, 3);
  belt.shine = 0.3;
  sc.Add(Taper(w, h, {{38, 122}, {mid, 128}, {112, 122}}, 6, 6), belt);
  sc.Add(Intersect(Taper(w, h, {{34, 80}, {mid, 100}, {118, 122}}, 7, 7), Blob(w, h, chest)), belt);
  Surface ear = skin;
  ear.round = 6;
  sc.Add(Ellipse(w, h, 42, 46, 7, 11, 0.2), ear);
  sc.Add(Ellipse(w, h, 108, 46, 7, 11, -0.2), ear);
  // A small skull over a heavy jaw.
  const int head = sc.Add(Blob(w, h,
                               {{mid, 5},
                                {92, 8},
                                {103, 20},
                                {107, 40},
                                {113, 58},
                                {108, 74},
                                {94, 86},
                                {mid, 90},
                                {56, 86},
                                {42, 74},
                                {37, 58},
                                {43, 40},
                                {47, 20},
                                {58, 8}}),
                          skin);
  sc.Tint(head, Ellipse(w, h, mid, 12, 26, 10), Rgb(0x8A5A40), 0.4);
  sc.Raise(head, Ellipse(w, h, mid, 26, 26, 6), 7);
  sc.Raise(head, Ellipse(w, h, mid, 39, 14, 12), -6);
  sc.Raise(head, Ellipse(w, h, mid, 57, 8, 7), 7);
  sc.Raise(head, Ellipse(w, h, 55, 58, 8, 6), 3);
  sc.Raise(head, Ellipse(w, h, 95, 58, 8, 6), 3);
  sc.Carve(head,
           StrokeMask(w, h, 1.3,
                      [](cairo_t* cr) {
                        cairo_move_to(cr, 56, 14);
                        cairo_curve_to(cr, 66, 10, 84, 10, 94, 14);
                        cairo_move_to(cr, 60, 18);
                        cairo_curve_to(cr, 68, 15, 82, 15, 90, 18);
                        cairo_move_to(cr, 60, 54);
                        cairo_curve_to(cr, 62, 62, 60, 68, 56, 72);
                        cairo_move_to(cr, 90, 54);
                        cairo_curve_to(cr, 88, 62, 90, 68, 94, 72);
                      }),
           0.8);
  Canvas c = sc.Render();
  Hollow(c, Blob(w, h, {{56, 70}, {mid, 67}, {94, 70}, {88, 76}, {mid, 78}, {62, 76}}), 0x200A08);
  for (int i = 0; i < 5; ++i) Fang(c, 65 + i * 5, 69.5, 65 + i * 5, 72.5, 3.4, Rgb(0xD8CBA8));
  Fang(c, 62, 79, 58.5, 63, 6.5, Rgb(0xE8DCBC), 0.1);
  Fang(c, 88, 79, 91.5, 63, 6.5, Rgb(0xE8DCBC), -0.1);
  Hollow(c, Ellipse(w, h, 70.5, 61, 2.6, 1.8, 0.4), 0x1A0A06, 0.9);
  Hollow(c, Ellipse(w, h, 79.5, 61, 2.6, 1.8, -0.4), 0x1A0A06, 0.9);
  Eye(c, mid, 39, 11, {Rgb(0xF0A818), Pupil::kRound, 0.34, 0.0, 0.35, true, 0.56}, 9.5);
  // The heavy brow pulled down in a scowl over the eye.
  Shadow(c,
         Blur(StrokeMask(w, h, 3.2,
                         [&](cairo_t* r) {
                           cairo_move_to(r, 60, 24);
                           cairo_curve_to(r, 68, 29, 82, 29, 90, 24);
                         }),
              1, 1),
         Rgb(0x2A140A), 0.8);
  return Finish(sc, c);
}

// A hooded ghoul: grey-green skull face in the hood's shadow, lit from below by the glass ball it
// reads the future in.
Canvas GhoulSeer() {
  const int w = 140, h = 152;
  Sculpture sc(w, h);
  Surface robe = Make(0x3C4A46, Grain::kCloth, 0.8, 211, 14);
  robe.grainSize = 14;
  // The robe hangs to the floor in rags.
  sc.Add(Blob(w, h,
              {{70, 4},    {96, 14},   {110, 44}, {114, 76}, {128, 106}, {138, 140}, {134, 151}, {124, 142},
               {114, 151}, {104, 141}, {92, 151}, {80, 142}, {70, 151},  {60, 142},  {48, 151},  {36, 141},
               {26, 151},  {16, 142},  {6, 151},  {2, 140},  {12, 106},  {26, 76},   {30, 44},   {44, 14}}),
         robe);
  Surface hollow = Make(0x101412, Grain::kCloth, 0.4, 212, 10);
  hollow.rim = 0;
  hollow.shine = 0;
  sc.Add(Blob(w, h, {{70, 24}, {90, 32}, {97, 62}, {92, 92}, {70, 102}, {48, 92}, {43, 62}, {50, 32}}),
         hollow);
  Surface skin = Make(0x9AAA8C, Grain::kSkin, 0.9, 213, 10);
  const int face = sc.Add(Blob(w, h,
                               {{70, 38},
                                {84, 42},
                                {89, 60},
                                {85, 80},
                                {76, 94},
                                {70, 96},
                                {64, 94},
                                {55, 80},
                                {51, 60},
                                {56, 42}}),
                          skin);
  sc.Raise(face, Ellipse(w, h, 62, 60, 6, 5), -5);
  sc.Raise(face, Ellipse(w, h, 78, 60, 6, 5), -5);
  sc.Raise(face, Ellipse(w, h, 59, 78, 4, 6), -4);
  sc.Raise(face, Ellipse(w, h, 81, 78, 4, 6), -4);
  sc.Raise(face, Ellipse(w, h, 70, 50, 14, 4), 3);
  // Sleeves reaching in to hold the ball.
  Surface sleeve = robe;
  sleeve.round = 9;
  sc.Add(Taper(w, h, {{14, 138}, {28, 132}, {44, 130}}, 26, 18), sleeve);
  sc.Add(Taper(w, h, {{126, 138}, {112, 132}, {96, 130}}, 26, 18), sleeve);
  Surface bone = Make(0xA8B098, Grain::kSkin, 0.6, 214, 4);
  sc.Add(Ellipse(w, h, 52, 134, 10, 7, 0.3), bone);
  sc.Add(Ellipse(w, h, 88, 134, 10, 7, -0.3), bone);
  Canvas c = sc.Render();
  // The glass ball, glowing from within.
  const double ox = 70, oy = 121, orad = 17;
  {
    cairo_t* cr = c.cr();
    cairo_pattern_t* g = cairo_pattern_create_radial(ox - 4, oy - 5, 1, ox, oy, orad);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.85, 1.0, 0.9);
    cairo_pattern_add_color_stop_rgb(g, 0.4, 0.3, 0.85, 0.7);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.04, 0.25, 0.22);
    cairo_set_source(cr, g);
    cairo_arc(cr, ox, oy, orad, 0, 2 * M_PI);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, Rgb(0x06100E));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    cairo_arc(cr, ox - 6, oy - 7, 3.4, 0, 2 * M_PI);
    SetColor(cr, Rgb(0xF4FFF8), 0.9);
    cairo_fill(cr);
  }
  // Bony fingers curled round the ball.
  for (int side = -1; side <= 1; side += 2) {
    Mask f = Taper(w, h, {{ox + side * 21, 133}, {ox + side * 20, 122}, {ox + side * 14, 111}}, 4.6, 3);
    f = Union(f, Taper(w, h, {{ox + side * 19, 136}, {ox + side * 16, 126}, {ox + side * 9, 121}}, 4.4, 3));
    f = Union(f, Taper(w, h, {{ox + side * 16, 139}, {ox + side * 11, 134}, {ox + side * 4, 133}}, 4.2, 2.8));
    Sculpture fs(w, h);
    fs.Add(f, bone);
    Canvas fc = fs.Render();
    Harden(fc, fs.Figure());
    c.Draw(fc, 0, 0);
  }
  GlowOn(c, ox, oy - 30, 60, Rgb(0x40C0A0), 0.35);
  Hollow(c, Blob(w, h, {{62, 84}, {70, 83}, {78, 84}, {75, 89}, {65, 89}}), 0x0A0806);
  for (int i = 0; i < 5; ++i) Fang(c, 64 + i * 3, 84, 64.2 + i * 3, 87.5, 2.4, Rgb(0xC8C0A0));
  Hollow(c, Ellipse(w, h, 68.3, 72, 1.4, 2.6, 0.3), 0x080606);
  Hollow(c, Ellipse(w, h, 71.7, 72, 1.4, 2.6, -0.3), 0x080606);
  Eye(c, 62, 61, 4, {Rgb(0xA8FF70), Pupil::kNone, 0.15, 0.3, 0.9});
  Eye(c, 78, 61, 4, {Rgb(0xA8FF70), Pupil::kNone, 0.15, -0.3, 0.9});
  return Finish(sc, c);
}

// A horned demon woman with bat wings spread behind her.
Canvas Succubus() {
  const int w = 156, h = 150;
  const double mid = 78;
  Sculpture sc(w, h);
  Surface wing = Make(0x5A1E2E, Grain::kSkin, 0.6, 221, 8);
  wing.groove = Rgb(0x1A060C);
  wing.shine = 0.2;
  // Wings raised from behind the shoulders, their tips high at the sides.
  const Mask right = FitIcon("bat-wing", 84, 112, false, -0.42, 0.95);
  const Mask left = FitIcon("bat-wing", 84, 112, true, 0.42, 0.95);
  sc.Add(Union(Place(left, w, h, -2, -4), Place(right, w, h, 74, -4)), wing);
  Surface hair = Make(0x2E1A2A, Grain::kFur, 0.8, 222, 10);
  hair.grainSize = 9;
  hair.shine = 0.3;
  hair.furAngle = M_PI / 2;
  sc.Add(Blob(w, h,
              {{mid, 24},
               {100, 30},
               {108, 56},
               {110, 92},
               {116, 124},
               {98, 126},
               {mid, 112},
               {58, 126},
               {40, 124},
               {46, 92},
               {48, 56},
               {56, 30}}),
         hair);
  Surface skin = Make(0xA8443A, Grain::kSkin, 0.5, 223, 12);
  skin.shine = 0.25;
  skin.gloss = 22;
  sc.Add(
      Blob(w, h, {{36, 138}, {38, 122}, {50, 110}, {70, 104}, {86, 104}, {106, 110}, {118, 122}, {120, 138}}),
      skin);
  sc.Add(Blob(w, h, {{68, 84}, {88, 84}, {90, 108}, {66, 108}}), skin);
  Surface leather = Make(0x2A1420, Grain::kSmooth, 0.2, 224, 8);
  leather.shine = 0.45;
  leather.gloss = 30;
  // Below the bodice she trails off into rags of shadow.
  sc.Add(Blob(w, h,
              {{38, 126},
               {58, 122},
               {mid, 130},
               {98, 122},
               {118, 126},
               {126, 138},
               {118, 149},
               {110, 136},
               {100, 146},
               {92, 136},
               {82, 149},
               {74, 138},
               {64, 144},
               {56, 134},
               {44, 148},
               {40, 136},
               {30, 142}}),
         leather);
  const int face = sc.Add(Blob(w, h,
                               {{mid, 34},
                                {94, 40},
                                {99, 60},
                                {95, 78},
                                {86, 90},
                                {mid, 94},
                                {70, 90},
                                {61, 78},
                                {57, 60},
                                {62, 40}}),
                          skin);
  sc.Raise(face, Ellipse(w, h, 70, 62, 5, 3.5), -3);
  sc.Raise(face, Ellipse(w, h, 86, 62, 5, 3.5), -3);
  sc.Raise(face, Ellipse(w, h, mid, 70, 2.5, 7), 3);
  sc.Raise(face, Ellipse(w, h, 66, 72, 5, 4), 2.5);
  sc.Raise(face, Ellipse(w, h, 90, 72, 5, 4), 2.5);
  sc.Raise(face, Ellipse(w, h, mid, 88, 6, 4), 2);
  sc.Tint(face, Blur(Ellipse(w, h, 70, 61, 7, 5), 2), Rgb(0x3A0A2A), 0.7);
  sc.Tint(face, Blur(Ellipse(w, h, 86, 61, 7, 5), 2), Rgb(0x3A0A2A), 0.7);
  Surface horn = Make(0x3A2824, Grain::kShell, 0.8, 225, 5);
  horn.shine = 0.35;
  sc.Add(Taper(w, h, {{68, 44}, {60, 30}, {52, 20}, {46, 14}, {44, 6}}, 10, 1.5), horn);
  sc.Add(Taper(w, h, Mirror({{68, 44}, {60, 30}, {52, 20}, {46, 14}, {44, 6}}, mid), 10, 1.5), horn);
  // Locks of hair framing the face.
  sc.Add(Blob(w, h,
              {{mid, 32},
               {90, 36},
               {98, 46},
               {100, 70},
               {97, 56},
               {86, 42},
               {mid, 40},
               {70, 42},
               {59, 56},
               {56, 70},
               {58, 46},
               {66, 36}}),
         hair);
  Canvas c = sc.Render();
  Hollow(c,
         Blob(w, h,
              {{70, 80}, {74, 78.5}, {mid, 79.3}, {82, 78.5}, {86, 80}, {82, 84.5}, {mid, 85.5}, {74, 84.5}}),
         0x7A0E1E, 0.95);
  Shadow(c,
         StrokeMask(w, h, 0.9,
                    [&](cairo_t* r) {
                      cairo_move_to(r, 71, 80.6);
                      cairo_curve_to(r, 75, 81.4, 81, 81.4, 85, 80.6);
                    }),
         Rgb(0x200408), 0.9);
  GlowOn(c, 76, 83, 2.2, Rgb(0xFFD0C0), 0.5);
  cairo_t* cr = c.cr();
  cairo_set_line_width(cr, 1.6);
  SetColor(cr, Rgb(0x1A0808));
  cairo_move_to(cr, 63, 56);
  cairo_curve_to(cr, 66, 53, 71, 53, 74, 56);
  cairo_move_to(cr, 93, 56);
  cairo_curve_to(cr, 90, 53, 85, 53, 82, 56);
  cairo_stroke(cr);
  Eye(c, 70, 61, 4.2, {Rgb(0xFFB020), Pupil::kSlit, 0.28, 0.3, 0.9}, 3.3);
  Eye(c, 86, 61, 4.2, {Rgb(0xFFB020), Pupil::kSlit, 0.28, -0.3, 0.9}, 3.3);
  return Finish(sc, c);
}

// A fish-man: wide scaly head with bulging eyes, fins for ears and a spined crest, a mouth of needles.
Canvas AquaMan() {
  const int w = 146, h = 140;
  const double mid = 73;
  Sculpture sc(w, h);
  Surface fin = Make(0xC0582E, Grain::kShell, 0.9, 231, 6);
  fin.grainSize = 3;
  fin.groove = Rgb(0x401008);
  const std::vector<Pt> crest = {{40, 40}, {42, 20}, {52, 26}, {56, 6},   {66, 20}, {73, 2},
                                 {80, 20}, {90, 6},  {94, 26}, {104, 20}, {106, 40}};
  sc.Add(Blob(w, h, crest), fin);
  const std::vector<Pt> earFin = {{34, 56}, {8, 34}, {14, 50}, {2, 56},
                                  {14, 64}, {4, 76}, {18, 78}, {34, 76}};
  sc.Add(Blob(w, h, earFin), fin);
  sc.Add(Blob(w, h, Mirror(earFin, mid)), fin);
  Surface scales = Make(0x2E7A6E, Grain::kScales, 0.6, 232, 10);
  scales.grainSize = 7;
  scales.shine = 0.35;
  scales.gloss = 24;
  // He stands in a pool of black water: its far side behind him, its near rim over his chest.
  Surface water = Make(0x0E2632, Grain::kSmooth, 0, 234, 3);
  water.shine = 0.7;
  water.gloss = 40;
  const Mask poolShape = Ellipse(w, h, mid, 129, 72, 9);
  const int pool = sc.Add(poolShape, water);
  sc.Tint(pool,
          StrokeMask(w, h, 1.3,
                     [&](cairo_t* cr) {
                       cairo_save(cr);
                       cairo_translate(cr, mid, 128.5);
                       cairo_scale(cr, 62, 6.2);
                       cairo_arc(cr, 0, 0, 1, M_PI * 1.05, M_PI * 1.95);
                       cairo_restore(cr);
                     }),
          Rgb(0x7AB8C8), 0.8);
  sc.Add(
      Blob(w, h, {{12, 131}, {12, 114}, {30, 100}, {54, 94}, {92, 94}, {116, 100}, {134, 114}, {134, 131}}),
      scales);
  const int lip = sc.Add(Minus(poolShape, Ellipse(w, h, mid, 124, 64, 6)), water);
  sc.Tint(lip,
          StrokeMask(w, h, 1.4,
                     [&](cairo_t* cr) {
                       cairo_move_to(cr, 40, 134.5);
                       cairo_curve_to(cr, 56, 136.5, 70, 136.8, 84, 136.4);
                     }),
          Rgb(0xB8E0E8), 0.8);
  Surface headS = scales;
  headS.grainSize = 5;
  headS.round = 14;
  const int head = sc.Add(Blob(w, h,
                               {{mid, 26},
                                {104, 28},
                                {118, 46},
                                {120, 70},
                                {110, 94},
                                {92, 106},
                                {mid, 110},
                                {54, 106},
                                {36, 94},
                                {26, 70},
                                {28, 46},
                                {42, 28}}),
                          headS);
  sc.Tint(head, Ellipse(w, h, mid, 100, 30, 14), Rgb(0x9CC8A8), 0.8);
  sc.Raise(head, Ellipse(w, h, 47, 48, 12, 6), 5);
  sc.Raise(head, Ellipse(w, h, 99, 48, 12, 6), 5);
  sc.Carve(head,
           StrokeMask(w, h, 1.3,
                      [](cairo_t* cr) {
                        for (int i = 0; i < 3; ++i) {
                          cairo_move_to(cr, 34 + i * 4, 84 + i * 2);
                          cairo_curve_to(cr, 36 + i * 4, 90 + i * 2, 40 + i * 4, 94 + i * 2, 44 + i * 4,
                                         96 + i * 2);
                          cairo_move_to(cr, 112 - i * 4, 84 + i * 2);
                          cairo_curve_to(cr, 110 - i * 4, 90 + i * 2, 106 - i * 4, 94 + i * 2, 102 - i * 4,
                                         96 + i * 2);
                        }
                      }),
           0.9);
  Surface eyeball = Make(0x2E7A6E, Grain::kSmooth, 0, 233, 8);
  sc.Add(Ellipse(w, h, 44, 58, 13, 12), eyeball);
  sc.Add(Ellipse(w, h, 102, 58, 13, 12), eyeball);
  Canvas c = sc.Render();
  Hollow(c, Blob(w, h, {{42, 80}, {mid, 84}, {104, 80}, {96, 92}, {mid, 96}, {50, 92}}), 0x1A0608);
  for (int i = 0; i < 9; ++i) {
    const double x = 48 + i * 6.2;
    const double top = 81.5 + std::sin((x - 42) / 62 * M_PI) * 2.5;
    Fang(c, x, top, x + 0.5, top + 6, 2.6, Rgb(0xE8E4D0));
    Fang(c, x + 3, top + 12.5, x + 2.5, top + 7, 2.4, Rgb(0xE0DCC8));
  }
  Hollow(c, Ellipse(w, h, 68, 72, 1.6, 3, 0.4), 0x081410);
  Hollow(c, Ellipse(w, h, 78, 72, 1.6, 3, -0.4), 0x081410);
  Eye(c, 44, 58, 10, {Rgb(0xE8D040), Pupil::kRound, 0.1, 0.3, 0.4});
  Eye(c, 102, 58, 10, {Rgb(0xE8D040), Pupil::kRound, 0.1, -0.3, 0.4});
  return Finish(sc, c);
}

// A rotting corpse reaching for the player: sunken grey-green face, jaw hanging, torn shirt.
Canvas Zombie() {
  const int w = 140, h = 160;
  Sculpture sc(w, h);
  Surface shirt = Make(0x5E5646, Grain::kCloth, 0.9, 241, 12);
  shirt.grainSize = 12;
  const int torso = sc.Add(
      Blob(w, h, {{8, 150}, {10, 128}, {26, 112}, {52, 106}, {88, 106}, {114, 112}, {130, 128}, {132, 150}}),
      shirt);
  sc.Tint(torso, Blob(w, h, {{56, 108}, {70, 118}, {84, 108}, {80, 150}, {70, 140}, {60, 152}}),
          Rgb(0x7A8A60), 1.0);
  Surface skin = Make(0x8A9A6A, Grain::kSkin, 1.2, 242, 12);
  sc.Add(Blob(w, h, {{56, 86}, {84, 86}, {86, 112}, {54, 112}}), skin);
  sc.Add(Ellipse(w, h, 40, 62, 6, 10, 0.2), skin);
  sc.Add(Ellipse(w, h, 100, 64, 6, 10, -0.2), skin);
  const int head = sc.Add(Blob(w, h,
                               {{70, 24},
                                {92, 30},
                                {102, 52},
                                {100, 78},
                                {90, 98},
                                {72, 106},
                                {54, 98},
                                {42, 78},
                                {40, 52},
                                {48, 30}}),
                          skin);
  sc.Raise(head, Ellipse(w, h, 60, 58, 8, 7), -6);
  sc.Raise(head, Ellipse(w, h, 81, 60, 8, 7), -6);
  sc.Raise(head, Ellipse(w, h, 52, 78, 5, 8), -4);
  sc.Raise(head, Ellipse(w, h, 90, 78, 5, 8), -4);
  sc.Tint(head, Ellipse(w, h, 88, 40, 12, 8), Rgb(0x6A5A48), 0.7);
  sc.Carve(head,
           StrokeMask(w, h, 1.2,
                      [](cairo_t* cr) {
                        cairo_move_to(cr, 84, 34);
                        cairo_line_to(cr, 90, 44);
                        cairo_line_to(cr, 88, 50);
                        cairo_move_to(cr, 50, 40);
                        cairo_curve_to(cr, 58, 38, 64, 38, 70, 40);
                      }),
           0.8);
  Surface hair = Make(0x2A2418, Grain::kFur, 0.9, 243, 5);
  hair.furAngle = 1.9;
  sc.Add(
      Blob(w, h, {{48, 32}, {58, 22}, {74, 20}, {90, 26}, {96, 36}, {84, 30}, {70, 32}, {56, 30}, {46, 42}}),
      hair);
  // Hands reaching out, one on each side.
  Surface hand = skin;
  hand.round = 6;
  for (int side = 0; side < 2; ++side) {
    const double cx = side == 0 ? 22 : 118, dir = side == 0 ? 1 : -1;
    sc.Add(Ellipse(w, h, cx + dir * 2, 146, 17, 15), shirt);
    Mask hm = Ellipse(w, h, cx, 126, 13, 12);
    for (int f = 0; f < 4; ++f) {
      const double a = -M_PI / 2 + dir * (-0.7 + f * 0.42);
      const double bx = cx + std::cos(a) * 9, by = 126 + std::sin(a) * 9;
      hm = Union(hm, Taper(w, h,
                           {{bx, by},
                            {bx + std::cos(a) * 10, by + std::sin(a) * 10},
                            {bx + std::cos(a) * 16 + dir * 3, by + std::sin(a) * 14 + 4}},
                           6, 3));
    }
    hm = Union(hm, Taper(w, h, {{cx + dir * 10, 130}, {cx + dir * 18, 122}, {cx + dir * 20, 114}}, 6, 3.5));
    sc.Add(hm, hand);
  }
  // He climbs out of his grave: a heap of earth and clods covers him below the chest.
  Surface earth = Make(0x30241A, Grain::kStone, 1.0, 244, 5);
  earth.grainSize = 5;
  earth.rim = 0.5;
  const int heap =
      sc.Add(Blob(w, h, {{0, 157},   {3, 148},   {14, 141},  {24, 144},  {34, 138},  {48, 142},  {58, 136},
                         {70, 139},  {82, 135},  {94, 141},  {108, 137}, {118, 143}, {128, 140}, {137, 148},
                         {140, 157}, {128, 153}, {118, 159}, {104, 154}, {90, 159},  {74, 154},  {60, 159},
                         {46, 154},  {32, 159},  {18, 154},  {8, 159}}),
             earth);
  sc.Tint(heap, Blur(BoxMask(w, h, 0, 130, w, 144), 3), Rgb(0x5A4630), 0.5);
  Surface stone = Make(0x6A665E, Grain::kStone, 0.5, 245, 3);
  sc.Add(Ellipse(w, h, 30, 150, 6, 4, 0.3), stone);
  sc.Add(Ellipse(w, h, 104, 148, 5, 3.5, -0.2), stone);
  sc.Add(Ellipse(w, h, 68, 151, 4, 3), stone);
  Canvas c = sc.Render();
  Hollow(c, Blob(w, h, {{60, 84}, {72, 82}, {84, 86}, {82, 97}, {72, 102}, {62, 97}}), 0x1A0A06);
  const double upper[] = {63, 68, 74, 79};
  for (double x : upper) Fang(c, x, 84, x + 0.4, 88.5, 3.2, Rgb(0xC8BC90));
  Fang(c, 66, 99, 66.5, 95, 3.0, Rgb(0xB8AC80));
  Fang(c, 77, 100, 76.5, 95.5, 3.0, Rgb(0xB8AC80));
  Hollow(c, Blob(w, h, {{69, 70}, {73, 70}, {74, 76}, {68, 76}}), 0x140806);
  Eye(c, 60, 59, 4.6, {Rgb(0xE8F070), Pupil::kRound, 0.2, 0.0, 0.7, false, 0.8});
  Eye(c, 81, 61, 4.2, {Rgb(0xC8C860), Pupil::kRound, 0.5, -0.2, 0.35, false, 0.8});
  return Finish(sc, c);
}

// The Maimed Face: a great stitched head, bandaged over one eye, the cheek torn open to the teeth.
Canvas MaimedFace() {
  const int w = 136, h = 152;
  Sculpture sc(w, h);
  Surface skin = Make(0xC8A488, Grain::kSkin, 1.0, 251, 16);
  skin.shine = 0.15;
  // Below the jaw the neck ends in torn flesh.
  const int neck = sc.Add(Blob(w, h,
                               {{48, 100},
                                {88, 100},
                                {90, 130},
                                {86, 142},
                                {80, 134},
                                {74, 146},
                                {66, 136},
                                {58, 144},
                                {52, 132},
                                {46, 138},
                                {44, 126}}),
                          skin);
  sc.Tint(neck, Blur(BoxMask(w, h, 0, 128, w, h), 3), Rgb(0x7A1812), 0.9);
  const std::vector<Pt> skull = {{64, 6},   {92, 10},  {110, 28}, {116, 56}, {110, 86}, {98, 106}, {80, 120},
                                 {62, 122}, {44, 114}, {28, 94},  {20, 66},  {24, 36},  {40, 14}};
  Surface earS = skin;
  earS.round = 5;
  sc.Add(Ellipse(w, h, 114, 66, 7, 12, -0.15), earS);
  const int head = sc.Add(Blob(w, h, skull), skin);
  sc.Raise(head, Ellipse(w, h, 84, 48, 18, 4), 4);
  // A grafted patch of greyer skin on the left cheek, and the stitches round it.
  const Mask patch = Blob(w, h, {{24, 70}, {48, 66}, {60, 84}, {52, 108}, {32, 104}, {20, 88}});
  sc.Tint(head, patch, Rgb(0x9C9484), 0.9);
  sc.Raise(head, Ellipse(w, h, 86, 62, 13, 11), 4);
  sc.Raise(head, Ellipse(w, h, 66, 82, 6, 9), 4);
  sc.Carve(head,
           StrokeMask(w, h, 1.5,
                      [](cairo_t* cr) {
                        SmoothOutline(cr, {{24, 70}, {48, 66}, {60, 84}, {52, 108}, {32, 104}, {20, 88}});
                        cairo_move_to(cr, 36, 40);
                        cairo_curve_to(cr, 56, 30, 84, 24, 110, 34);
                      }),
           1.0);
  sc.Carve(head,
           StrokeMask(w, h, 1.1,
                      [](cairo_t* cr) {
                        for (int i = 0; i < 8; ++i) {
                          const double t = i / 7.0;
                          const double x = 40 + t * 66, y = 37 - std::sin(t * M_PI) * 8 - t * 2;
                          cairo_move_to(cr, x - 1, y - 4);
                          cairo_line_to(cr, x + 1, y + 4);
                        }
                        const Pt ring[] = {{36, 68}, {50, 72}, {56, 88}, {50, 102}, {34, 103}, {24, 86}};
                        for (const Pt& p : ring) {
                          cairo_move_to(cr, p.x - 3, p.y - 2);
                          cairo_line_to(cr, p.x + 3, p.y + 2);
                        }
                      }),
           1.0);
  Surface bandage = Make(0xD8CCAA, Grain::kCloth, 0.7, 252, 3);
  bandage.grainSize = 4;
  bandage.line = 0.9;
  const int band = sc.Add(Intersect(Union(Taper(w, h, {{10, 40}, {30, 52}, {52, 58}, {80, 50}}, 15, 12),
                                          Taper(w, h, {{18, 28}, {40, 22}, {60, 18}, {78, 12}}, 13, 11)),
                                    Dilate(Threshold(Blob(w, h, skull), 0.5f), 3)),
                          bandage);
  sc.Tint(band, Blur(Ellipse(w, h, 46, 56, 7, 4), 3), Rgb(0x8A3A22), 0.6);
  sc.Carve(band,
           StrokeMask(w, h, 1.0,
                      [](cairo_t* cr) {
                        for (int i = 0; i < 5; ++i) {
                          cairo_move_to(cr, 22 + i * 13, 40 + i * 3);
                          cairo_line_to(cr, 28 + i * 13, 62 - i * 1.0);
                          cairo_move_to(cr, 26 + i * 12, 16 - i * 1.2);
                          cairo_line_to(cr, 30 + i * 12, 34 - i * 2.4);
                        }
                      }),
           0.5);
  Canvas c = sc.Render();
  // Torn mouth, wider on the right where the cheek is gone.
  // Lips on the left; on the right the cheek is torn back to the jaw.
  Shadow(
      c,
      Blur(Blob(w, h, {{48, 97}, {62, 93}, {84, 90}, {106, 82}, {108, 94}, {98, 104}, {82, 110}, {62, 108}}),
           2),
      Rgb(0x6A1A14), 0.8);
  Hollow(c, Blob(w, h, {{52, 98}, {66, 96}, {84, 93}, {103, 86}, {103, 96}, {94, 102}, {82, 106}, {64, 104}}),
         0x1E0404);
  const double teeth[][3] = {{60, 97, 5},   {66, 96.4, 6},   {72, 95.6, 5},
                             {84, 93.8, 6}, {90, 92.4, 6.5}, {96, 90, 6}};
  for (const auto& t : teeth) Fang(c, t[0], t[1], t[0] + 0.5, t[1] + t[2], 4.4, Rgb(0xE0D2A8));
  const double lower[][3] = {{64, 104, 5}, {76, 104.6, 6}, {82, 104.2, 5}, {88, 102, 6}, {94, 99.6, 5}};
  for (const auto& t : lower) Fang(c, t[0], t[1], t[0] - 0.4, t[1] - t[2], 4.2, Rgb(0xD0C29C));
  Hollow(c, Blob(w, h, {{64, 78}, {70, 78}, {72, 86}, {62, 86}}), 0x200806);
  Eye(c, 87, 62, 9, {Rgb(0xE02818), Pupil::kRound, 0.15, -0.15, 0.4, true, 0.5});
  return Finish(sc, c);
}

// A giant of living rock: boulder shoulders, a brow ledge over deep sockets with a cold fire in
// them, moss in the cracks.
Canvas StoneGiant() {
  const int w = 162, h = 165;
  Sculpture sc(w, h);
  Surface rock = Make(0x8C8780, Grain::kStone, 1.0, 261, 12);
  rock.grainSize = 16;
  rock.shine = 0.05;
  const int torso = sc.Add(
      Blob(w, h, {{34, 156}, {30, 110}, {56, 92}, {106, 92}, {132, 110}, {128, 156}, {81, 162}}), rock);
  sc.Tint(torso, Blur(Threshold(Blob(w, h, {{40, 120}, {60, 112}, {70, 130}, {52, 140}}), 0.5f), 4),
          Rgb(0x4E6A30), 0.7);
  Surface arm = rock;
  arm.grainSize = 13;
  arm.seed = 262;
  sc.Add(Taper(w, h, {{30, 104}, {20, 128}, {18, 150}}, 30, 26), arm);
  sc.Add(Taper(w, h, {{132, 104}, {142, 128}, {144, 150}}, 30, 26), arm);
  sc.Add(Blob(w, h, {{2, 142}, {16, 134}, {32, 138}, {38, 154}, {30, 165}, {6, 165}}), arm);
  sc.Add(Blob(w, h, Mirror({{2, 142}, {16, 134}, {32, 138}, {38, 154}, {30, 165}, {6, 165}}, 81)), arm);
  Surface shoulder = rock;
  shoulder.grainSize = 18;
  shoulder.seed = 263;
  shoulder.round = 16;
  const int ls =
      sc.Add(Blob(w, h, {{4, 110}, {10, 84}, {30, 72}, {52, 78}, {60, 100}, {44, 116}, {16, 120}}), shoulder);
  const int rs = sc.Add(
      Blob(w, h, Mirror({{4, 110}, {10, 84}, {30, 72}, {52, 78}, {60, 100}, {44, 116}, {16, 120}}, 81)),
      shoulder);
  sc.Tint(ls, Ellipse(w, h, 26, 76, 16, 6), Rgb(0x4E6A30), 0.8);
  sc.Tint(rs, Ellipse(w, h, 136, 76, 16, 6), Rgb(0x4E6A30), 0.8);
  Surface headS = rock;
  headS.grainSize = 11;
  headS.seed = 264;
  headS.round = 12;
  const int head = sc.Add(
      Blob(w, h,
           {{60, 26}, {72, 14}, {92, 14}, {104, 26}, {108, 56}, {102, 88}, {81, 98}, {60, 88}, {54, 56}}),
      headS);
  sc.Tint(head, Ellipse(w, h, 82, 16, 18, 6), Rgb(0x4E6A30), 0.8);
  sc.Raise(head, Ellipse(w, h, 72, 58, 7, 6), -7);
  sc.Raise(head, Ellipse(w, h, 92, 58, 7, 6), -7);
  Surface brow = rock;
  brow.grainSize = 9;
  brow.seed = 265;
  brow.round = 5;
  sc.Add(Blob(w, h, {{54, 48}, {66, 42}, {81, 46}, {96, 42}, {110, 48}, {104, 54}, {81, 52}, {60, 54}}),
         brow);
  // Rubble he rises from.
  Surface rubble = rock;
  rubble.grainSize = 8;
  rubble.round = 6;
  const double rocks[][4] = {
      {52, 157, 15, 7}, {80, 159, 13, 5.5}, {108, 157, 15, 7}, {66, 152, 9, 6}, {96, 152, 9, 6}};
  for (const auto& r : rocks) {
    rubble.seed += 1;
    sc.Add(Ellipse(w, h, r[0], r[1], r[2], r[3], (r[0] - 80) * 0.006), rubble);
  }
  Canvas c = sc.Render();
  Hollow(c,
         Blob(w, h, {{68, 81}, {76, 79.5}, {82, 81.5}, {88, 79.5}, {96, 81}, {90, 84}, {82, 83.5}, {74, 84}}),
         0x0E0A08);
  GlowOn(c, 82, 82, 10, Rgb(0xFF8030), 0.3);
  Eye(c, 72, 59, 4.4, {Rgb(0xFF9A30), Pupil::kNone, 0.2, 0.25, 0.9});
  Eye(c, 92, 59, 4.4, {Rgb(0xFF9A30), Pupil::kNone, 0.2, -0.25, 0.9});
  return Finish(sc, c);
}

}  // namespace spellcrypt::art::monster
