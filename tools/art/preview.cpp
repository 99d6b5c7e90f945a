// Mock screens assembled from the written picture files; see preview.h.
#include "tools/art/preview.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "gfx/dx_image.h"
#include "tools/art/image_write.h"

namespace spellcrypt::art {

namespace {

struct Picture {
  int w = 0, h = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * w + x]; }
};

// Through the game's own decoders, as the game would show them.
Picture LoadPicture(const std::string& path) {
  DXImage image;
  if (ReadImageFile(path.c_str(), kImageRecognise, image) != 1) return {};
  return {image.width, image.height, std::move(image.pixels)};
}

// Copies frame `frame` of a strip of `frames` onto the canvas, optionally skipping the key.
void Blit(Canvas& c, const Picture& p, int x, int y, int frame = 0, int frames = 1, bool keyed = true,
          std::uint32_t key = 0xFF00FF) {
  const int fw = p.w / std::max(1, frames);
  for (int py = 0; py < p.h; ++py)
    for (int px = 0; px < fw; ++px) {
      const std::uint32_t v = p.at(frame * fw + px, py);
      if (keyed && v == key) continue;
      c.Set(x + px, y + py, Rgb(v));
    }
}

// A bitmap font packed the way the game packs it: ink columns measured against the key at (0, 0),
// glyphs drawn from their first ink column, advance = ink width + 1, empty cells a quarter cell.
struct Font {
  Picture sheet;
  int cell = 0;
  int left[128] = {};
  int advance[128] = {};

  bool Load(const std::string& path, int cellSize) {
    sheet = LoadPicture(path);
    cell = cellSize;
    if (sheet.w == 0) return false;
    const std::uint32_t key = sheet.at(0, 0);
    for (int c = 32; c < 128; ++c) {
      int lo = -1, hi = -1;
      for (int x = 0; x < cell; ++x)
        for (int y = 0; y < cell; ++y)
          if (sheet.at((c - 32) * cell + x, y) != key) {
            if (lo < 0) lo = x;
            hi = x;
          }
      left[c] = lo < 0 ? 0 : lo;
      advance[c] = lo < 0 ? cell / 4 : hi - lo + 2;
    }
    return true;
  }
  int Width(const std::string& s) const {
    int w = 0;
    for (unsigned char ch : s) w += ch < 128 && ch >= 32 ? advance[ch] : cell;
    return w;
  }
  void Draw(Canvas& c, int x, int y, const std::string& s) const {
    const std::uint32_t key = sheet.at(0, 0);
    int pen = x;
    for (unsigned char ch : s) {
      if (ch == '\n') {
        pen = x;
        y += cell;
        continue;
      }
      if (ch >= 32 && ch < 128) {
        for (int py = 0; py < cell; ++py)
          for (int px = left[ch]; px < cell; ++px) {
            const std::uint32_t v = sheet.at((ch - 32) * cell + px, py);
            if (v != key) c.Set(pen + px - left[ch], y + py, Rgb(v));
          }
        pen += advance[ch];
      } else {
        pen += cell;
      }
    }
  }
  void Centred(Canvas& c, int x, int y, int box, const std::string& s) const {
    Draw(c, x + (box - Width(s)) / 2, y, s);
  }
};

}  // namespace

bool WritePreviews(const std::string& runtimeDir, const std::string& dir) {
  const std::string g = runtimeDir + "/graphics/";
  Font big, small, grey, summary;
  if (!big.Load(g + "font/font3.bmp", 32) || !small.Load(g + "font/font_small.bmp", 16) ||
      !grey.Load(g + "font/font_grey2.bmp", 32) || !summary.Load(g + "font/font_summary.bmp", 32))
    return false;
  bool ok = true;

  // The game in dungeon 1: torch hall, a skeleton, tiles in both rows, bars, texts.
  {
    Canvas c(640, 480);
    Blit(c, LoadPicture(g + "game_screen.jpg"), 0, 0, 0, 1, false);
    Blit(c, LoadPicture(g + "dungeon/dungeon5.bmp"), 19, 19, 0, 1, false);
    const Picture fire = LoadPicture(g + "dungeon/dungeon5_fire.bmp");
    Blit(c, fire, 19 + 7, 19 + 30, 0, 4);
    Blit(c, fire, 19 + 135, 19 + 30, 2, 4);
    Blit(c, LoadPicture(g + "character/Skeleton.bmp"), 41, 22);
    const Picture bar = LoadPicture(g + "health_bar_red.jpg");
    Picture half = bar;
    for (int y = 0; y < half.h; ++y)
      for (int x = half.w * 6 / 10; x < half.w; ++x) half.rgb[static_cast<size_t>(y) * half.w + x] = 0xFF00FF;
    Blit(c, half, 14, 247);
    Blit(c, bar, 14, 292, 0, 1, false);
    small.Draw(c, 14, 227, "Skeleton (7 of 12)");
    small.Draw(c, 14, 272, "Player (15 of 15)");
    const Picture tiles = LoadPicture(g + "tiles_new.jpg");
    const char* rack = "SPELXQ";
    const int rackFrames[] = {2, 0, 4, 2, 9, 10, 3, 5, 6, 7, 8, 1};
    const char* word = "CRYPT";
    for (int i = 0; i < 5; ++i) {
      Blit(c, tiles, 207 + i * 52, 65, 2, 12, false);
      big.Centred(c, 207 + i * 52, 65 + 8, 50, std::string(1, word[i]));
    }
    for (int i = 0; i < 12; ++i) {
      const int x = 207 + (i * 52) % 416, y = 155 + (i * 52) / 416 * 53;
      Blit(c, tiles, x, y, rackFrames[i], 12, false);
      const char letter = i < 6 ? rack[i] : (i >= 9 ? "AEI"[i - 9] : ' ');
      if (letter != ' ') big.Centred(c, x, y + 8, 50, std::string(1, letter));
    }
    Blit(c, LoadPicture(g + "SubmitWordBar.bmp"), 346, 278, 2, 4, false);
    big.Centred(c, 420 - 150, 26, 300, "12,450");
    small.Draw(c, 602, 8, "1");
    small.Draw(c, 602, 26, "6");
    grey.Draw(
        c, 20, 336,
        "You are attacked by a Skeleton!\nAnything more than eight letters would be too\ndangerous a spell!");
    ok &= WritePng(dir + "/preview_game.png", c);
  }
  // The title with one word lit, and a spider.
  {
    Canvas c(640, 480);
    Blit(c, LoadPicture(g + "title_screen.jpg"), 0, 0, 0, 1, false);
    Blit(c, LoadPicture(g + "title_hall.bmp"), 389, 328, 0, 1, false);
    Blit(c, LoadPicture(g + "title_logo.jpg"), 33, 367, 0, 1, false);
    Blit(c, LoadPicture(g + "menu_spiders.bmp"), 560, 60, 1, 4);
    small.Draw(c, 574, 457, "v 2.05");
    grey.Draw(c, 280, 250, "Loading...");
    ok &= WritePng(dir + "/preview_title.png", c);
  }
  // The hall of fame with rows, and the summary over it.
  {
    Canvas c(640, 480);
    Blit(c, LoadPicture(g + "highscore_bg.jpg"), 0, 0, 0, 1, false);
    Blit(c, LoadPicture(g + "highscore_normal.jpg"), 279, 382, 0, 1, false);
    Blit(c, LoadPicture(g + "highscore_local.jpg"), 38, 411, 0, 1, false);
    const char* names[] = {"Mystery Wizard", "Ann", "Bartholomew Blackwd", "Zed"};
    const char* scores[] = {"1,234,567", "402,100", "88,800", "4,200"};
    for (int k = 0; k < 4; ++k) {
      const int y = 107 + k * 19;
      small.Centred(c, -93, y, 300, std::to_string(k + 1));
      small.Draw(c, 100, y, names[k]);
      small.Centred(c, 143, y, 300, std::to_string(25 - k * 6));
      small.Centred(c, 271, y, 300, std::to_string(9 - k * 2));
      small.Draw(c, 287 + 300 - small.Width(scores[k]), y, scores[k]);
    }
    Blit(c, LoadPicture(g + "score_highlight.bmp"), 47, 106 + 19);
    small.Centred(c, 46, 345, 548, "Click a score to see more info.");
    small.Centred(c, 46, 361, 548, "  Click GLOBAL to see scores from people around the world.");
    ok &= WritePng(dir + "/preview_scores.png", c);
    Blit(c, LoadPicture(g + "summary_bg.bmp"), 0, 0);
    Blit(c, LoadPicture(g + "summary_arrow_up.bmp"), 536, 105, 0, 1, false);
    Blit(c, LoadPicture(g + "summary_arrow_down.bmp"), 536, 368, 0, 1, false);
    Blit(c, LoadPicture(g + "summary_slider.bmp"), 536, 117);
    Blit(c, LoadPicture(g + "summary_click.bmp"), 332, 382, 0, 1, false);
    Blit(c, LoadPicture(g + "summary_copy.bmp"), 128, 385, 0, 1, false);
    const char* lines[] = {"Score: 1,234,567",        "Dungeon: 12",
                           "Difficulty Mode: Normal", "Date: Sunday, December 06 2026",
                           "Bosses Slain: 3",         "Monsters Vanquished: 70",
                           "Oracles Summoned: 4",     "",
                           "- Word Statistics -",     "",
                           "3 letter words made: 31", "4 letter words made: 22"};
    for (int i = 0; i < 12; ++i) summary.Draw(c, 93, 100 + i * 22, lines[i]);
    ok &= WritePng(dir + "/preview_summary.png", c);
  }
  // A popup over the game with its buttons.
  {
    Canvas c(640, 480);
    Blit(c, LoadPicture(g + "game_screen.jpg"), 0, 0, 0, 1, false);
    Blit(c, LoadPicture(g + "popup.jpg"), 130, 143, 0, 1, false);
    summary.Draw(c, 130 + 17, 143 + 25, "Would you like to stop playing?");
    summary.Draw(c, 130 + 17, 143 + 65, "Your game will be saved.");
    Blit(c, LoadPicture(g + "yes_over.bmp"), 130 + 66, 143 + 123, 0, 1, false);
    Blit(c, LoadPicture(g + "no.bmp"), 130 + 213, 143 + 123, 0, 1, false);
    ok &= WritePng(dir + "/preview_popup.png", c);
  }
  return ok;
}

}  // namespace spellcrypt::art
