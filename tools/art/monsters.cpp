// The monsters: one picture per creature, all lit alike by the torches on the upper left and set
// on the floor of the monster window (bottom centre at (109, 187) unless placed by the table).
// Most start from a game-icons silhouette; the snake and the bomb's face are drawn here.
#include <algorithm>
#include <cmath>

#include "tools/art/icons.h"
#include "tools/art/materials.h"
#include "tools/art/picture_set.h"

namespace spellcrypt::art {

namespace {

struct Eye {
  double x, y, r;  // in the picture, pixels
  Color color;
};

struct MonsterSpec {
  const char* file;
  const char* name;
  const char* icon;
  int w, h;
  bool flip;
  FigureStyle style;
  std::vector<Eye> eyes;
  const char* where;
};

FigureStyle Style(std::uint32_t rgb, double relief, double texture, double shine, std::uint32_t seed,
                  std::uint32_t detail = 0, int close = 0) {
  FigureStyle s;
  s.close = close;
  s.base = Rgb(rgb);
  s.relief = relief;
  s.texture = texture;
  s.shine = shine;
  s.seed = seed;
  if (detail) s.detail = Rgb(detail);
  return s;
}

void Eyes(Canvas& c, const std::vector<Eye>& eyes) {
  for (const Eye& e : eyes) {
    cairo_t* cr = c.cr();
    cairo_arc(cr, e.x, e.y, e.r, 0, 2 * M_PI);
    SetColor(cr, e.color);
    cairo_fill(cr);
    cairo_arc(cr, e.x - e.r * 0.3, e.y - e.r * 0.3, e.r * 0.35, 0, 2 * M_PI);
    SetColor(cr, {1, 1, 0.9, 1});
    cairo_fill(cr);
  }
}

std::string Where(const MonsterSpec& m) {
  return m.where ? m.where : "bottom centre at (109,187) in the monster window";
}

// The snake: a long body in waves, banded, with its head raised on the right.
Canvas Snake() {
  const int w = 172, h = 54;
  Canvas shape(w, h);
  cairo_t* cr = shape.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, 8, 44);
  for (int i = 0; i <= 40; ++i) {
    const double t = i / 40.0;
    const double x = 8 + t * 138;
    const double y = 42 - std::sin(t * 3 * M_PI) * 6 * (0.4 + t) - t * 6;
    cairo_line_to(cr, x, y);
  }
  cairo_set_line_width(cr, 13);
  SetColor(cr, {1, 1, 1, 1});
  cairo_stroke(cr);
  // Head, raised and turned toward the player.
  cairo_save(cr);
  cairo_translate(cr, 152, 22);
  cairo_rotate(cr, -0.35);
  cairo_scale(cr, 1.35, 0.85);
  cairo_arc(cr, 0, 0, 11, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_fill(cr);
  cairo_move_to(cr, 138, 36);
  cairo_line_to(cr, 150, 18);
  cairo_set_line_width(cr, 12);
  cairo_stroke(cr);
  Mask m = shape.Alpha();
  // Bands across the body are cut in, to come out as dark markings.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (x < 140 && std::fmod(x + y * 0.4, 16.0) < 2.2 && m.at(x, y) > 0.5f) m.at(x, y) = 0.35f;
  FigureStyle s = Style(0x6E8A2A, 0.9, 0.18, 0.45, 31, 0x2A2A08);
  Canvas c = ShadeFigure(m, s);
  Eyes(c, {{159, 18, 2.4, Rgb(0xFFD020)}});
  // Forked tongue.
  cairo_t* cc = c.cr();
  SetColor(cc, Rgb(0xC81818));
  cairo_set_line_width(cc, 1.6);
  cairo_move_to(cc, 166, 25);
  cairo_line_to(cc, 170, 27);
  cairo_line_to(cc, 171, 24);
  cairo_move_to(cc, 170, 27);
  cairo_line_to(cc, 171, 30);
  cairo_stroke(cc);
  return c;
}

// Mr Bomb: an iron ball with a lit fuse and an angry face.
Canvas Bomb() {
  const int n = 110;
  const Mask shape = FitIcon("unlit-bomb", n, n, false);
  Canvas c = ShadeFigure(shape, Style(0x3A3C44, 1.1, 0.05, 0.8, 41));
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
  const double cx = 50, cy = 68;
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(cr);
    cairo_translate(cr, cx + side * 12, cy - 4);
    cairo_scale(cr, 1, 1.3);
    cairo_arc(cr, 0, 0, 6, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Rgb(0xF4F0E0));
    cairo_fill(cr);
    cairo_arc(cr, cx + side * 12 + 1.5, cy - 2, 2.8, 0, 2 * M_PI);
    SetColor(cr, Rgb(0x100808));
    cairo_fill(cr);
    // Angry brows slanting to the middle.
    cairo_move_to(cr, cx + side * 20, cy - 16);
    cairo_line_to(cr, cx + side * 5, cy - 10);
    cairo_set_line_width(cr, 3.5);
    SetColor(cr, Rgb(0x0A0A0C));
    cairo_stroke(cr);
  }
  cairo_move_to(cr, cx - 10, cy + 18);
  cairo_curve_to(cr, cx - 4, cy + 12, cx + 4, cy + 12, cx + 10, cy + 18);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // The spark on the fuse.
  Canvas spark(n, n);
  Flame(spark, fuseX + 2, fuseY + 3, 12, 16, 0.3, 42);
  c.Draw(spark, 0, 0);
  return c;
}

Canvas HandFrame(int frame) {
  const int w = 130, h = 150;
  const double rot[3] = {0.0, -0.12, 0.1};
  const double grow[3] = {0.86, 0.94, 1.0};
  Mask m = FitIcon("evil-hand", w, h, false, rot[frame], grow[frame]);
  FigureStyle s = Style(frame == 2 ? 0x9A86B8 : 0x8A8070, 0.9, 0.1, 0.3, 51, 0x24102E);
  Canvas c = ShadeFigure(m, s);
  return c;
}

Canvas FireTortoise() {
  const int w = 172, h = 120;
  Canvas c =
      ShadeFigure(FitIcon("tortoise", w, h - 18, true), Style(0xB8321E, 1.0, 0.15, 0.35, 61, 0x3A0804));
  Canvas out(w, h);
  out.Draw(c, 0, 18);
  // Flames along the shell.
  for (int i = 0; i < 4; ++i)
    Flame(out, 50 + i * 22, 44 + std::abs(i - 1.5) * 5, 16, 30 + (i % 2) * 10, i * 0.27, 62 + i);
  Eyes(out, {{28, 72, 3, Rgb(0xFFC020)}});
  return out;
}

}  // namespace

void MakeMonsters(PictureSet& set) {
  const std::vector<MonsterSpec> specs = {
      {"graphics/character/Rat.bmp",
       "Rat",
       "rat",
       96,
       96,
       false,
       Style(0x7A6A5E, 1.0, 0.2, 0.25, 1),
       {},
       nullptr},
      {"graphics/character/Spider.bmp",
       "Spider",
       "spider-alt",
       130,
       118,
       false,
       Style(0x3A2E3A, 1.0, 0.15, 0.5, 2, 0xB02020),
       {},
       nullptr},
      {"graphics/character/Skeleton.bmp",
       "Skeleton",
       "skeleton",
       136,
       165,
       false,
       Style(0xE0D6BC, 0.8, 0.1, 0.3, 3, 0x1E140A),
       {},
       "(41,22) in the monster window"},
      {"graphics/character/wolf.bmp",
       "Night Wolf",
       "wolf-head",
       150,
       140,
       false,
       Style(0x48506A, 1.0, 0.25, 0.25, 4),
       {},
       nullptr},
      {"graphics/character/monster1.bmp",
       "AquaMan",
       "fish-monster",
       146,
       140,
       false,
       Style(0x2E8A88, 1.0, 0.15, 0.55, 5, 0x0A2A2C, 4),
       {},
       nullptr},
      {"graphics/character/succubus.bmp",
       "Succubus",
       "harpy",
       156,
       150,
       false,
       Style(0xB04A8A, 0.9, 0.08, 0.45, 6, 0x2A0820),
       {},
       nullptr},
      {"graphics/character/Zombie.bmp",
       "Zombie",
       "shambling-zombie",
       140,
       160,
       true,
       Style(0x6E8A5A, 1.0, 0.2, 0.2, 7, 0x1A220E),
       {},
       nullptr},
      {"graphics/character/cyclops.bmp",
       "Cyclops",
       "cyclops",
       150,
       160,
       false,
       Style(0x9A8A5A, 1.0, 0.15, 0.25, 9, 0x2A1A06, 8),
       {},
       nullptr},
      {"graphics/character/frog.bmp",
       "Glop",
       "frog",
       136,
       116,
       false,
       Style(0x5AA02A, 1.1, 0.12, 0.8, 10, 0x14300A),
       {},
       nullptr},
      {"graphics/character/grizzly.bmp",
       "Grizzly",
       "bear-face",
       150,
       140,
       false,
       Style(0x6A4020, 1.0, 0.3, 0.2, 11),
       {},
       nullptr},
      {"graphics/character/cobra.bmp",
       "Mystic Cobra",
       "sea-serpent",
       140,
       152,
       true,
       Style(0xC89A2A, 1.0, 0.15, 0.55, 13, 0x4A1A6A, 3),
       {},
       nullptr},
      {"graphics/character/ghoul.bmp",
       "Ghoul Seer",
       "hood",
       140,
       152,
       false,
       Style(0x5A6A5E, 1.0, 0.15, 0.2, 14, 0x0C100C, 30),
       {},
       nullptr},
      {"graphics/character/squirrel.bmp",
       "Horror Squirrel",
       "squirrel",
       112,
       112,
       true,
       Style(0xA0501E, 1.0, 0.28, 0.25, 15, 0x200804),
       {},
       nullptr},
      {"graphics/character/turtle.bmp",
       "Turtle",
       "tortoise",
       150,
       104,
       true,
       Style(0x6A7A3A, 1.0, 0.15, 0.35, 16, 0x1E2206),
       {},
       nullptr},
      {"graphics/character/head.bmp",
       "Maimed Face",
       "mummy-head",
       136,
       152,
       false,
       Style(0xC8B48A, 1.0, 0.2, 0.2, 19, 0x4A0A06, 10),
       {},
       "(41,35) in the monster window"},
      {"graphics/character/stone.bmp",
       "Stone Giant",
       "rock-golem",
       162,
       165,
       false,
       Style(0x8A8A84, 1.1, 0.35, 0.15, 20, 0x1A1A18),
       {},
       nullptr},
      {"graphics/character/dragon.bmp",
       "Dragon, Evil Dragon (also the falling \"dragon\" picture)",
       "spiked-dragon-head",
       166,
       163,
       false,
       Style(0xA8261A, 1.1, 0.15, 0.5, 21, 0x3A0604, 6),
       {},
       "(26,24) in the monster window"},
  };
  for (const MonsterSpec& m : specs) {
    Canvas c = ShadeFigure(FitIcon(m.icon, m.w, m.h, m.flip), m.style);
    Eyes(c, m.eyes);
    set.Emit(m.file, c, 1, pal::kKeyMagenta, Where(m), std::string("CMonster sprite \"danim\": ") + m.name);
  }
  set.Emit("graphics/character/snake.bmp", Snake(), 1, pal::kKeyMagenta, "(23,133) in the monster window",
           "CMonster sprite \"danim\": Snake");
  set.Emit("graphics/character/bomb.bmp", Bomb(), 1, pal::kKeyMagenta,
           "bottom centre at (109,187) in the monster window", "CMonster sprite \"danim\": Mr Bomb");
  Canvas hand(130 * 3, 150);
  for (int f = 0; f < 3; ++f) hand.Draw(HandFrame(f), f * 130, 0);
  set.Emit("graphics/character/hand_ani.bmp", hand, 3, pal::kKeyMagenta,
           "bottom centre at (109,187); frames 0-2 reach and grab when it attacks",
           "CMonster sprite \"danim\": Death Touch");
  set.Emit("graphics/character/turtle_big_red.bmp", FireTortoise(), 1, pal::kKeyMagenta,
           "bottom centre at (109,187) in the monster window", "CMonster sprite \"danim\": Fire Tortoise");
}

}  // namespace spellcrypt::art
