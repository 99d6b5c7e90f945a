// The playing screen: the monster window, the word row and the rack, the life bars, the cast bar
// with its jumble and last-word buttons, the score plaque, the counters and the message strip.
#include <cmath>

#include "tools/art/ui_kit.h"

namespace spellcrypt::art {

namespace {

constexpr int kTile = 50;
constexpr double kSlotStep = 52;
constexpr Rect kMonsterWindow{19, 19, 180, 190};
constexpr Rect kJumble{201, 278, 140, 40};
constexpr Rect kCast{346, 278, 140, 40};
constexpr Rect kLast{491, 278, 140, 40};
constexpr Rect kBar{14, 247, 180, 14};
constexpr double kPlayerBarY = 292;

const std::vector<TorchLamp> kLamps = {
    {110, -30, 260, 1.1, pal::kTorch}, {640, 120, 300, 0.8, pal::kTorch}, {330, 480, 260, 0.45, pal::kEmber}};

void MonsterWindowFrame(Canvas& c) {
  const Rect& w = kMonsterWindow;
  cairo_t* cr = c.cr();
  // Heavy stone arch with a gold inner rim; the dungeon picture fills the inside.
  StoneSlab(c, {w.x - 10, w.y - 10, w.w + 20, w.h + 20}, 71);
  SetColor(cr, pal::kStoneDeep);
  cairo_rectangle(cr, w.x, w.y, w.w, w.h);
  cairo_fill(cr);
  GoldFrame(c, {w.x - 4, w.y - 4, w.w + 8, w.h + 8}, 4, 2);
  // Rivets at the corners of the frame.
  for (int i = 0; i < 4; ++i) {
    const double x = i % 2 ? w.x + w.w + 5 : w.x - 5;
    const double y = i / 2 ? w.y + w.h + 5 : w.y - 5;
    cairo_arc(cr, x, y, 3.2, 0, 2 * M_PI);
    SetColor(cr, pal::kIron);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kStoneDeep);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}

void Counters(Canvas& c) {
  // "Dungeon" and "Monsters" labels end just left of the numbers the game draws at x 602.
  cairo_t* cr = c.cr();
  Recess(c, {518, 4, 116, 40}, 4);
  UseFace(cr, Face::kSmall, 11, true);
  DrawText(cr, "Dungeon", 597, 19, pal::kGoldLight, Align::kRight);
  DrawText(cr, "Monsters", 597, 37, pal::kGoldLight, Align::kRight);
}

void ScorePlaque(Canvas& c) {
  // The score is drawn centred on x 420 from y 26 in the large font (dark ink): parchment behind.
  Panel(c, {340, 4, 160, 56}, 91, 4);
  UseFace(c.cr(), Face::kHeading, 11);
  DrawText(c.cr(), "SCORE", 420, 17, pal::kInkFaded, Align::kCentre);
}

Canvas CastBarFrame(int glow) {
  // glow 0: at rest; 1..3: the bar flares as a spell is ready or cast.
  Canvas c(static_cast<int>(kCast.w), static_cast<int>(kCast.h));
  const Rect r{0, 0, kCast.w, kCast.h};
  StoneSlab(c, r, 131);
  cairo_t* cr = c.cr();
  if (glow > 0) {
    Canvas aura(c.width(), c.height());
    RoundedRect(aura.cr(), 10, 8, r.w - 20, r.h - 16, 8);
    SetColor(aura.cr(), {1, 1, 1, 1});
    cairo_fill(aura.cr());
    Mask m = Blur(aura.Alpha(), 6);
    c.PaintMask(m, Mix(pal::kMagic, Rgb(0xB8D0FF), glow / 3.0), 0, 0, 0.3 + 0.22 * glow);
  }
  GoldFrame(c, {2, 2, r.w - 4, r.h - 4}, 3, 4);
  const double base = CentredBaseline(Face::kHeading, 22, 0, r.h);
  Word(c, "Cast Spell", Face::kHeading, 22, r.w / 2, base, Align::kCentre,
       glow > 0 ? WordStyle::kLit : WordStyle::kCarved);
  (void)cr;
  return c;
}

}  // namespace

void MakeGameScreen(PictureSet& set) {
  Canvas page(640, 480);
  DungeonWall(page, 11, kLamps);
  MonsterWindowFrame(page);
  // The word row: eight sockets under a faint line of runes.
  Recess(page, {201, 59, 436, 62}, 6);
  for (int j = 0; j < 8; ++j) TileSocket(page, 207 + j * kSlotStep, 65, kTile);
  // The rack: two lines of eight.
  Recess(page, {201, 149, 436, 115}, 6);
  for (int i = 0; i < 16; ++i) TileSocket(page, 207 + (i % 8) * kSlotStep, 155 + (i / 8) * 53, kTile);
  BarTrough(page, {kBar.x - 2, kBar.y - 2, kBar.w + 4, kBar.h + 4});
  BarTrough(page, {kBar.x - 2, kPlayerBarY - 2, kBar.w + 4, kBar.h + 4});
  ScorePlaque(page);
  Counters(page);
  // Stone buttons for jumble and last word; their pressed pictures are the same slabs sunk in.
  for (const Rect& r : {kJumble, kLast}) StoneSlab(page, r, r.x == kJumble.x ? 141 : 151);
  page.Draw(CastBarFrame(0), kCast.x, kCast.y);
  // The message strip along the bottom.
  Recess(page, {12, 328, 616, 144}, 6);

  const Canvas ground = page;
  struct Pressed {
    const char* file;
    const char* text;
    Rect r;
    const char* by;
  };
  for (const Pressed& p :
       {Pressed{"graphics/main_jumble_over.bmp", "Jumble", kJumble, "CMenuBut \"jumble\" pressed image"},
        Pressed{"graphics/main_last_over.bmp", "Last Word", kLast, "CMenuBut \"last\" pressed image"}}) {
    Canvas sunk = ground;
    StoneSlab(sunk, p.r, p.r.x == kJumble.x ? 141 : 151, true);
    const double base = CentredBaseline(Face::kHeading, 21, p.r.y + 1, p.r.h);
    Word(sunk, p.text, Face::kHeading, 21, p.r.x + p.r.w / 2 + 1, base, Align::kCentre, WordStyle::kLit);
    set.Emit(p.file,
             sunk.Crop(static_cast<int>(p.r.x), static_cast<int>(p.r.y), static_cast<int>(p.r.w),
                       static_cast<int>(p.r.h)),
             1, kNoKey,
             "(" + std::to_string(static_cast<int>(p.r.x)) + "," + std::to_string(static_cast<int>(p.r.y)) +
                 ") game screen",
             p.by);
    Word(page, p.text, Face::kHeading, 21, p.r.x + p.r.w / 2,
         CentredBaseline(Face::kHeading, 21, p.r.y, p.r.h), Align::kCentre, WordStyle::kCarved);
  }

  // Quit, pause, help and options: small words in the top left corner of the board.
  std::vector<WordButton> words = {
      {"graphics/game_quit_over.bmp", "Quit", 209, 8, 62, 23, 17, Face::kHeading, Align::kCentre,
       "(209,8) game screen", "CMenuBut \"game_quit\" highlight"},
      {"graphics/game_pause_over.bmp", "Pause", 274, 8, 62, 23, 17, Face::kHeading, Align::kCentre,
       "(274,8) game screen", "CMenuBut \"game_pause\" highlight"},
      {"graphics/game_help_over.bmp", "Help", 209, 33, 62, 23, 17, Face::kHeading, Align::kCentre,
       "(209,33) game screen", "CMenuBut \"game_help\" highlight"},
      {"graphics/game_options_over.bmp", "Options", 274, 33, 62, 23, 17, Face::kHeading, Align::kCentre,
       "(274,33) game screen", "CMenuBut \"game_options\" highlight"},
  };
  Recess(page, {205, 5, 134, 52}, 4);
  WordButtons(set, page, words);
  set.Emit("graphics/game_screen.jpg", page, 1, kNoKey, "(0,0) full screen, layer 0",
           "CThingSprite \"background\"");

  Canvas strip(static_cast<int>(kCast.w) * 4, static_cast<int>(kCast.h));
  for (int f = 0; f < 4; ++f) strip.Draw(CastBarFrame(f), f * kCast.w, 0);
  set.Emit("graphics/SubmitWordBar.bmp", strip, 4, kNoKey,
           "(346,278) game screen; frame 0 at rest, 1-3 flash and pulse", "CSubmitBut \"submit\"");

  // The life bar: a red fill with a bright upper edge, clipped from the left by the game.
  Canvas bar(static_cast<int>(kBar.w), static_cast<int>(kBar.h));
  bar.Apply([&](int x, int y, const Color&) {
    const double t = y / (kBar.h - 1);
    Color col = Mix(pal::kBloodLight, pal::kBlood, SmoothStep(0.1, 0.9, t));
    col = Mix(col, Rgb(0x4A0606), SmoothStep(0.6, 1.0, t) * 0.6);
    if (y == 1) col = Mix(col, Rgb(0xFFB0A0), 0.6);
    const double pulse = 0.06 * std::sin(x * 0.35) * (1 - t);
    return Color{col.r + pulse, col.g, col.b, 1};
  });
  set.Emit("graphics/health_bar_red.jpg", bar, 1, kNoKey, "(14,247) monster, (14,292) player; label 20 above",
           "CBar \"bar\"");
}

}  // namespace spellcrypt::art
