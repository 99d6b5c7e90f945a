// The pictures put together the way the game puts them together, through the game's own loaders,
// blits and bitmap fonts: highlight pictures sit exactly on the words of their pages, texts stay
// inside the boxes painted for them, and the map's route pieces mark every dungeon. With
// SPELLCRYPT_SCREENSHOT_DIR set, the composed screens are also saved there as PNG files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gfx/bitmap_font.h"
#include "gfx/dx_screen.h"
#include "gfx/dx_tile.h"
#include "platform/headless_platform.h"

namespace spellcrypt {
namespace {

std::string Pic(const std::string& name) { return std::string(SPELLCRYPT_BIN_DIR) + "/graphics/" + name; }

class PictureLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = std::make_unique<CDXScreen>(platform_);
    ASSERT_EQ(screen_->CreateWindowed(640, 480), 0);
    back_ = screen_->GetBack();
    ASSERT_EQ(big_.Load(screen_.get(), Pic("font/font3.bmp").c_str(), 32, 32), 0);
    ASSERT_EQ(small_.Load(screen_.get(), Pic("font/font_small.bmp").c_str(), 16, 16), 0);
    ASSERT_EQ(grey_.Load(screen_.get(), Pic("font/font_grey2.bmp").c_str(), 32, 32), 0);
    ASSERT_EQ(summary_.Load(screen_.get(), Pic("font/font_summary.bmp").c_str(), 32, 32), 0);
  }

  // Draws a picture (frame `frame` of `frames`) at (x, y), keyed with magenta when asked.
  void Put(const std::string& name, int x, int y, bool keyed = false, int frame = 0, int frames = 1) {
    CDXTile tile;
    ASSERT_EQ(tile.Create(screen_.get(), Pic(name).c_str(), 0, 0, frames), 1) << name;
    if (keyed) tile.SetColorKey(0xFF00FF);
    tile.DrawCell(back_, x, y, frame, keyed ? 100 : 0);
  }

  std::vector<std::uint32_t> Snapshot() const {
    return {back_->Pixels(), back_->Pixels() + static_cast<std::ptrdiff_t>(640 * 480)};
  }

  // Pixels that changed since `before` and lie outside every rectangle in `allowed`.
  int ChangedOutside(const std::vector<std::uint32_t>& before, const std::vector<DXRect>& allowed) const {
    int n = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        if (back_->Pixels()[y * 640 + x] == before[static_cast<size_t>(y * 640 + x)]) continue;
        bool inside = false;
        for (const DXRect& r : allowed) inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        n += inside ? 0 : 1;
      }
    return n;
  }

  void Screenshot(const char* name) const {
    const char* dir = std::getenv("SPELLCRYPT_SCREENSHOT_DIR");
    if (dir != nullptr) {
      EXPECT_TRUE(screen_->SaveScreenshot((std::string(dir) + "/" + name).c_str()));
    }
  }

  HeadlessPlatform platform_;
  std::unique_ptr<CDXScreen> screen_;
  CDXSurface* back_ = nullptr;
  BitmapFont big_, small_, grey_, summary_;
};

// Mean difference per channel along the one-pixel border of a highlight picture placed on its page.
double BorderDifference(const CDXSurface& page, const CDXSurface& lit, int x0, int y0) {
  double sum = 0;
  int n = 0;
  auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
  for (int y = 0; y < lit.Height(); ++y)
    for (int x = 0; x < lit.Width(); ++x) {
      if (x != 0 && y != 0 && x != lit.Width() - 1 && y != lit.Height() - 1) continue;
      const std::uint32_t a = page.ReadPixel(x0 + x, y0 + y), b = lit.ReadPixel(x, y);
      for (int s : {0, 8, 16}) sum += std::abs(channel(a, s) - channel(b, s));
      n += 3;
    }
  return sum / n;
}

// Word highlights only: pressed slabs and tabs replace their whole button and differ everywhere.
TEST_F(PictureLayout, HighlightPicturesSitOnTheWordsOfTheirPages) {
  struct Case {
    const char* page;
    int pageX, pageY;
    const char* lit;
    int x, y;  // on the screen
  };
  const Case cases[] = {
      {"title_screen.jpg", 0, 0, "title_play.bmp", 522, 208},
      {"title_screen.jpg", 0, 0, "title_options.bmp", 477, 247},
      {"title_screen.jpg", 0, 0, "title_instruct.bmp", 420, 287},
      {"title_screen.jpg", 0, 0, "title_hall.bmp", 389, 328},
      {"title_screen.jpg", 0, 0, "title_visit.bmp", 383, 368},
      {"title_screen.jpg", 0, 0, "title_quit.bmp", 523, 407},
      {"options_bg.jpg", 0, 0, "options_reset_help.jpg", 295, 295},
      {"options_bg.jpg", 0, 0, "options_reset_scores.jpg", 332, 341},
      {"options_bg.jpg", 0, 0, "options_go_back.jpg", 399, 384},
      {"help_screen.jpg", 0, 0, "continue_over.bmp", 260, 410},
      {"game_screen.jpg", 0, 0, "game_quit_over.bmp", 209, 8},
      {"game_screen.jpg", 0, 0, "game_pause_over.bmp", 274, 8},
      {"game_screen.jpg", 0, 0, "game_help_over.bmp", 209, 33},
      {"game_screen.jpg", 0, 0, "game_options_over.bmp", 274, 33},
      {"highscore_bg.jpg", 0, 0, "highscore_back_over.bmp", 290, 416},
      {"choose_screen.jpg", 53, 103, "choose_enter.jpg", 53 + 175, 103 + 216},
      {"choose_screen.jpg", 53, 103, "choose_back.jpg", 53 + 222, 103 + 254},
      {"popup.jpg", 130, 143, "yes.bmp", 130 + 66, 143 + 123},
      {"popup.jpg", 130, 143, "no_over.bmp", 130 + 213, 143 + 123},
      {"popup.jpg", 130, 143, "popup_continue.bmp", 130 + 139, 143 + 124},
      {"download_bg.jpg", 120, 150, "download_cancel_over.bmp", 120 + 167, 150 + 129},
      {"upload_bg.jpg", 120, 150, "download_cancel_over.bmp", 120 + 167, 150 + 129},
      {"map/map_bg.jpg", 0, 0, "map/map_continue.jpg", 61, 397},
      {"tips/tip_bg.bmp", 115, 126, "tips/tip_ok.jpg", 115 + 180, 126 + 188},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lit);
    CDXSurface page, lit;
    ASSERT_EQ(page.Create(screen_.get(), Pic(c.page).c_str()), 1);
    ASSERT_EQ(lit.Create(screen_.get(), Pic(c.lit).c_str()), 1);
    ASSERT_LE(c.x - c.pageX + lit.Width(), page.Width());
    ASSERT_LE(c.y - c.pageY + lit.Height(), page.Height());
    // The edges match the page (JPEG noise aside); the middle, where the word is, is lit.
    EXPECT_LT(BorderDifference(page, lit, c.x - c.pageX, c.y - c.pageY), 14.0);
  }
}

TEST_F(PictureLayout, GameScreenTextsStayInTheirBoxes) {
  Put("game_screen.jpg", 0, 0);
  Put("dungeon/dungeon5.bmp", 19, 19);
  Put("dungeon/dungeon5_fire.bmp", 19 + 7, 19 + 30, true, 0, 4);
  Put("dungeon/dungeon5_fire.bmp", 19 + 135, 19 + 30, true, 2, 4);
  Put("character/Skeleton.bmp", 41, 22, true);
  Put("health_bar_red.jpg", 14, 247);
  Put("health_bar_red.jpg", 14, 292);
  Put("SubmitWordBar.bmp", 346, 278, false, 0, 4);
  std::vector<DXRect> tiles;
  const char* word = "QUARTZ";
  const char* rack = "WMJKEOXYLIGH";
  for (int i = 0; i < 6; ++i) {
    Put("tiles_new.jpg", 207 + i * 52, 65, false, i == 0 ? 10 : 2, 12);
    tiles.push_back({207 + i * 52, 65, 257 + i * 52, 115});
  }
  for (int i = 0; i < 12; ++i) {
    const int x = 207 + (i * 52) % 416, y = 155 + (i * 52) / 416 * 53;
    Put("tiles_new.jpg", x, y, false, i % 3 == 0 ? 4 : 2, 12);
    tiles.push_back({x, y, x + 50, y + 50});
  }
  auto before = Snapshot();
  for (int i = 0; i < 6; ++i)
    big_.DrawInBox(207 + i * 52, 65 + 8, 50, std::string(1, word[i]).c_str(), back_, 1);
  for (int i = 0; i < 12; ++i) {
    const int x = 207 + (i * 52) % 416, y = 155 + (i * 52) / 416 * 53;
    big_.DrawInBox(x, y + 8, 50, std::string(1, rack[i]).c_str(), back_, 1);
  }
  EXPECT_EQ(ChangedOutside(before, tiles), 0) << "a letter spills off its tile";

  before = Snapshot();
  big_.DrawInBox(420 - 150, 26, 300, "1,234,567", back_, 1);
  EXPECT_EQ(ChangedOutside(before, {{340, 4, 500, 60}}), 0) << "the score leaves its plaque";
  before = Snapshot();
  small_.DrawAt(602, 8, "25", back_);
  small_.DrawAt(602, 26, "6", back_);
  small_.DrawAt(14, 227, "Horror Squirrel (5 of 5)", back_);
  small_.DrawAt(14, 272, "Player (15 of 15)", back_);
  EXPECT_EQ(ChangedOutside(before, {{518, 4, 634, 44}, {12, 225, 200, 245}, {12, 270, 200, 290}}), 0);
  before = Snapshot();
  grey_.DrawAt(20, 336, "The spell fizzles.\n\n(that doesn't appear to be a valid word)", back_);
  grey_.DrawAt(20, 336 + 96, "You are attacked by a Horror Squirrel!", back_);
  EXPECT_EQ(ChangedOutside(before, {{12, 328, 628, 472}}), 0) << "the message leaves its strip";
  Screenshot("screen_game.png");
}

TEST_F(PictureLayout, HallOfFameRowsStayInTheirColumns) {
  Put("highscore_bg.jpg", 0, 0);
  Put("highscore_normal.jpg", 279, 382);
  Put("highscore_local.jpg", 38, 411);
  const auto before = Snapshot();
  for (int k = 1; k <= 12; ++k) {
    const int y = 107 + (k - 1) * 19;
    // The widest realistic row: a nineteen-letter name, two-digit numbers, a large score.
    small_.DrawInBox(-93, y, 300, std::to_string(k).c_str(), back_, 1);
    small_.DrawAt(100, y, "Bartholomew the Bol", back_);
    EXPECT_LT(100 + small_.TextWidth("Bartholomew the Bol"), 293 - small_.TextWidth("25") / 2 - 4);
    small_.DrawInBox(143, y, 300, "25", back_, 1);
    small_.DrawInBox(271, y, 300, "12", back_, 1);
    small_.DrawInBox(287, y, 300, "12,345,678", back_, 3);
  }
  EXPECT_EQ(ChangedOutside(before, {{36, 100, 604, 340}}), 0) << "rows leave the table";
  Put("score_highlight.bmp", 47, 106 + 19, true);
  small_.DrawInBox(46, 345, 548, "Click a score to see more info.", back_, 1);
  small_.DrawInBox(46, 361, 548, "  Click GLOBAL to see scores from people around the world.", back_, 1);
  Screenshot("screen_scores.png");
}

TEST_F(PictureLayout, MapPiecesMarkEveryDungeon) {
  const int pieces[25][2] = {{515, 104}, {470, 113}, {425, 131}, {378, 131}, {334, 135},
                             {292, 122}, {244, 100}, {236, 108}, {189, 120}, {116, 93},
                             {119, 130}, {172, 169}, {192, 217}, {241, 221}, {309, 227},
                             {362, 260}, {448, 195}, {483, 175}, {542, 190}, {497, 268},
                             {412, 318}, {325, 321}, {236, 340}, {165, 332}, {118, 259}};
  const int arrows[25][2] = {{520, 109}, {475, 131}, {430, 136}, {383, 136}, {339, 146},
                             {297, 128}, {249, 105}, {242, 150}, {194, 126}, {124, 121},
                             {164, 167}, {192, 209}, {232, 239}, {300, 230}, {359, 279},
                             {443, 268}, {481, 203}, {537, 185}, {550, 261}, {507, 332},
                             {422, 328}, {335, 338}, {246, 361}, {175, 352}, {130, 272}};
  Put("map/map_bg.jpg", 0, 0);
  for (int i = 0; i < 25; ++i) {
    SCOPED_TRACE(i);
    char name[32];
    std::snprintf(name, sizeof name, "map/map_line_%02d.bmp", i + 1);
    const std::uint32_t bare = back_->ReadPixel(arrows[i][0], arrows[i][1]);
    Put(name, pieces[i][0], pieces[i][1], true);
    // Each piece ends in the mark of its dungeon, right under the arrow's point.
    EXPECT_NE(back_->ReadPixel(arrows[i][0], arrows[i][1]), bare);
  }
  CDXSurface arrow;
  ASSERT_EQ(arrow.Create(screen_.get(), Pic("map/map_arrow.bmp").c_str()), 1);
  Put("map/map_arrow.bmp", 130 - arrow.Width() / 2, 272 - arrow.Height() - 15, true);
  Put("map/map_continue.jpg", 61, 397);
  Screenshot("screen_map.png");
}

TEST_F(PictureLayout, TitleWithALitWordAndTheSummaryScroll) {
  Put("title_screen.jpg", 0, 0);
  Put("title_hall.bmp", 389, 328);
  Put("title_logo.jpg", 33, 367);
  Put("menu_spiders.bmp", 560, 60, true, 1, 4);
  small_.DrawAt(574, 457, "v 2.05", back_);
  Screenshot("screen_title.png");

  Put("summary_bg.bmp", 0, 0, true);
  const auto before = Snapshot();
  const char* lines[] = {"Score: 12,345,678", "Monsters Vanquished: 1,000",
                         "Date: Wednesday, September 30 2026", "Strongest Word: 1,234 damage",
                         "You rescue a beautiful fairy"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_LE(summary_.TextWidth(lines[i]), 442) << lines[i];
    summary_.DrawClipped(93, 100 + i * 22, lines[i], back_, {93, 100, 535, 369});
  }
  EXPECT_EQ(ChangedOutside(before, {{93, 100, 535, 369}}), 0);
  Screenshot("screen_summary.png");
}

}  // namespace
}  // namespace spellcrypt
