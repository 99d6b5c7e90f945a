// The generated pictures: every picture the game asks for is listed in the picture manifest, exists
// beside the program in the stated format, size and frame count, keeps its colour key clean, and
// loads through the game's own image loaders and bitmap fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/binary_io.h"
#include "gfx/bitmap_font.h"
#include "gfx/dx_screen.h"
#include "gfx/dx_tile.h"
#include "gfx/image_writer.h"
#include "platform/headless_platform.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

struct Entry {
  std::string name, format, key, where, by;
  int width = 0, height = 0, frames = 0;
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream ss(line);
  std::string f;
  while (std::getline(ss, f, '\t')) fields.push_back(f);
  return fields;
}

// The manifest; a malformed line fails the test that reads it.
std::vector<Entry> ReadManifest() {
  std::ifstream in(std::string(SPELLCRYPT_SOURCE_DIR) + "/tools/manifest/pictures.tsv");
  std::vector<Entry> entries;
  std::string line;
  if (!std::getline(in, line)) {
    ADD_FAILURE() << "picture manifest missing";
    return entries;
  }
  EXPECT_EQ(line, "name\tformat\tsize\tframes\tkey\twhere\tby");
  while (std::getline(in, line)) {
    const auto f = SplitTabs(line);
    if (f.size() != 7) {
      ADD_FAILURE() << "manifest line without 7 fields: " << line;
      continue;
    }
    Entry e{f[0], f[1], f[4], f[5], f[6]};
    if (std::sscanf(f[2].c_str(), "%dx%d", &e.width, &e.height) != 2) ADD_FAILURE() << "bad size: " << line;
    e.frames = std::atoi(f[3].c_str());
    entries.push_back(e);
  }
  return entries;
}

std::string BinPath(const std::string& name) { return std::string(SPELLCRYPT_BIN_DIR) + "/" + name; }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A 24-bit bitmap as the generator writes it: 40-byte header, no compression, bottom-up rows.
struct Bitmap {
  int w = 0, h = 0;
  std::vector<std::uint32_t> rgb;  // top row first
};

bool ReadBitmap(const std::vector<std::uint8_t>& b, Bitmap& out, std::string& why) {
  ByteReader in(b);
  char magic[2] = {};
  std::uint32_t offset = 0, headerSize = 0, compression = 0;
  std::int32_t w = 0, h = 0;
  std::uint16_t bits = 0;
  if (b.size() < 54 || !in.Bytes(magic, 2) || magic[0] != 'B' || magic[1] != 'M')
    return why = "not a bitmap", false;
  in.Skip(8);  // file size, reserved
  in.U32(offset);
  in.U32(headerSize);
  in.I32(w);
  in.I32(h);
  in.Skip(2);  // planes
  in.U16(bits);
  in.U32(compression);
  if (headerSize != 40) return why = "information header is not 40 bytes", false;
  if (w <= 0 || h <= 0) return why = "not a bottom-up picture", false;
  if (bits != 24 || compression != 0) return why = "not 24-bit uncompressed", false;
  const size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  if (offset + row * static_cast<size_t>(h) > b.size()) return why = "pixel data cut short", false;
  out.w = w;
  out.h = h;
  out.rgb.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t p = offset + row * static_cast<size_t>(h - 1 - y) + static_cast<size_t>(x) * 3;
      out.rgb[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
          (std::uint32_t{b[p + 2]} << 16) | (std::uint32_t{b[p + 1]} << 8) | b[p];
    }
  return true;
}

// Width and height from a JFIF picture's frame header.
bool ReadJpegSize(const std::vector<std::uint8_t>& b, int& w, int& h, std::string& why) {
  if (b.size() < 10 || b[0] != 0xFF || b[1] != 0xD8 || b[2] != 0xFF || b[3] != 0xE0 ||
      std::string(b.begin() + 6, b.begin() + 10) != "JFIF")
    return why = "no JFIF header", false;
  for (size_t i = 2; i + 9 < b.size();) {
    if (b[i] != 0xFF) return why = "broken marker chain", false;
    const std::uint8_t m = b[i + 1];
    const size_t len = (size_t{b[i + 2]} << 8) | b[i + 3];
    if (m == 0xC0 || m == 0xC1 || m == 0xC2) {
      h = (b[i + 5] << 8) | b[i + 6];
      w = (b[i + 7] << 8) | b[i + 8];
      return true;
    }
    i += 2 + len;
  }
  return why = "no frame header", false;
}

// Every picture the game's code asks for, with the frames it cuts it into.
const std::map<std::string, int> kRequired = {
    {"graphics/SubmitWordBar.bmp", 4},
    {"graphics/book/book_big.bmp", 1},
    {"graphics/book/book_small.bmp", 1},
    {"graphics/book/found_book_message.bmp", 1},
    {"graphics/book/page_bonus.jpg", 1},
    {"graphics/book/page_curse.jpg", 1},
    {"graphics/book/page_life.jpg", 1},
    {"graphics/book/page_luck.jpg", 1},
    {"graphics/book/page_power.jpg", 1},
    {"graphics/book/page_select_overlay.bmp", 1},
    {"graphics/character/Rat.bmp", 1},
    {"graphics/character/Skeleton.bmp", 1},
    {"graphics/character/Spider.bmp", 1},
    {"graphics/character/Treasure.bmp", 6},
    {"graphics/character/Zombie.bmp", 1},
    {"graphics/character/bomb.bmp", 1},
    {"graphics/character/cobra.bmp", 1},
    {"graphics/character/cyclops.bmp", 1},
    {"graphics/character/dragon.bmp", 1},
    {"graphics/character/duck.bmp", 1},
    {"graphics/character/frog.bmp", 1},
    {"graphics/character/ghoul.bmp", 1},
    {"graphics/character/grizzly.bmp", 1},
    {"graphics/character/hand_ani.bmp", 3},
    {"graphics/character/head.bmp", 1},
    {"graphics/character/mom.bmp", 1},
    {"graphics/character/monster1.bmp", 1},
    {"graphics/character/nerf.bmp", 1},
    {"graphics/character/sakura1_ani.bmp", 4},
    {"graphics/character/snake.bmp", 1},
    {"graphics/character/squirrel.bmp", 1},
    {"graphics/character/stone.bmp", 1},
    {"graphics/character/succubus.bmp", 1},
    {"graphics/character/turtle.bmp", 1},
    {"graphics/character/turtle_big_red.bmp", 1},
    {"graphics/character/wolf.bmp", 1},
    {"graphics/checkbox.bmp", 2},
    {"graphics/choose_back.jpg", 1},
    {"graphics/choose_easy.jpg", 1},
    {"graphics/choose_enter.jpg", 1},
    {"graphics/choose_normal.bmp", 1},
    {"graphics/choose_screen.jpg", 1},
    {"graphics/choose_wizard.bmp", 1},
    {"graphics/continue_over.bmp", 1},
    {"graphics/download_bg.jpg", 1},
    {"graphics/download_cancel_over.bmp", 1},
    {"graphics/dungeon/dungeon2.bmp", 1},
    {"graphics/dungeon/dungeon3.bmp", 1},
    {"graphics/dungeon/dungeon4.bmp", 1},
    {"graphics/dungeon/dungeon5.bmp", 1},
    {"graphics/dungeon/dungeon5_fire.bmp", 4},
    {"graphics/dungeon/dungeon6.bmp", 1},
    {"graphics/dungeon/dungeon6_fire.bmp", 4},
    {"graphics/dungeon/dungeon7.bmp", 1},
    {"graphics/dungeon/dungeon8.bmp", 1},
    {"graphics/ending.jpg", 1},
    {"graphics/ending_text.jpg", 1},
    {"graphics/enter_your_name_popup.jpg", 1},
    {"graphics/fireball.bmp", 11},
    {"graphics/game_help_over.bmp", 1},
    {"graphics/game_options_over.bmp", 1},
    {"graphics/game_pause_over.bmp", 1},
    {"graphics/game_quit_over.bmp", 1},
    {"graphics/game_screen.jpg", 1},
    {"graphics/health_bar_red.jpg", 1},
    {"graphics/help_screen.jpg", 1},
    {"graphics/highscore_back_over.bmp", 1},
    {"graphics/highscore_bg.jpg", 1},
    {"graphics/highscore_easy.jpg", 1},
    {"graphics/highscore_global.jpg", 1},
    {"graphics/highscore_hard.jpg", 1},
    {"graphics/highscore_local.jpg", 1},
    {"graphics/highscore_normal.jpg", 1},
    {"graphics/main_jumble_over.bmp", 1},
    {"graphics/main_last_over.bmp", 1},
    {"graphics/map/map_arrow.bmp", 1},
    {"graphics/map/map_bg.jpg", 1},
    {"graphics/map/map_continue.jpg", 1},
    {"graphics/map/map_line_01.bmp", 1},
    {"graphics/map/map_line_02.bmp", 1},
    {"graphics/map/map_line_03.bmp", 1},
    {"graphics/map/map_line_04.bmp", 1},
    {"graphics/map/map_line_05.bmp", 1},
    {"graphics/map/map_line_06.bmp", 1},
    {"graphics/map/map_line_07.bmp", 1},
    {"graphics/map/map_line_08.bmp", 1},
    {"graphics/map/map_line_09.bmp", 1},
    {"graphics/map/map_line_10.bmp", 1},
    {"graphics/map/map_line_11.bmp", 1},
    {"graphics/map/map_line_12.bmp", 1},
    {"graphics/map/map_line_13.bmp", 1},
    {"graphics/map/map_line_14.bmp", 1},
    {"graphics/map/map_line_15.bmp", 1},
    {"graphics/map/map_line_16.bmp", 1},
    {"graphics/map/map_line_17.bmp", 1},
    {"graphics/map/map_line_18.bmp", 1},
    {"graphics/map/map_line_19.bmp", 1},
    {"graphics/map/map_line_20.bmp", 1},
    {"graphics/map/map_line_21.bmp", 1},
    {"graphics/map/map_line_22.bmp", 1},
    {"graphics/map/map_line_23.bmp", 1},
    {"graphics/map/map_line_24.bmp", 1},
    {"graphics/map/map_line_25.bmp", 1},
    {"graphics/menu_spiders.bmp", 4},
    {"graphics/no.bmp", 1},
    {"graphics/no_over.bmp", 1},
    {"graphics/options_bg.jpg", 1},
    {"graphics/options_go_back.jpg", 1},
    {"graphics/options_reset_help.jpg", 1},
    {"graphics/options_reset_scores.jpg", 1},
    {"graphics/popup.jpg", 1},
    {"graphics/popup_continue.bmp", 1},
    {"graphics/popup_continue_over.bmp", 1},
    {"graphics/score_highlight.bmp", 1},
    {"graphics/summary_arrow_down.bmp", 1},
    {"graphics/summary_arrow_up.bmp", 1},
    {"graphics/summary_bg.bmp", 1},
    {"graphics/summary_click.bmp", 1},
    {"graphics/summary_copy.bmp", 1},
    {"graphics/summary_slider.bmp", 1},
    {"graphics/summary_textcopied.bmp", 1},
    {"graphics/tiles_new.jpg", 12},
    {"graphics/tips/tip_bg.bmp", 1},
    {"graphics/tips/tip_game_start.jpg", 1},
    {"graphics/tips/tip_highscore.jpg", 1},
    {"graphics/tips/tip_life.jpg", 1},
    {"graphics/tips/tip_ok.jpg", 1},
    {"graphics/tips/tip_oracle.jpg", 1},
    {"graphics/tips/tip_refresh.jpg", 1},
    {"graphics/tips/tip_tough.jpg", 1},
    {"graphics/title_hall.bmp", 1},
    {"graphics/title_instruct.bmp", 1},
    {"graphics/title_logo.jpg", 1},
    {"graphics/title_options.bmp", 1},
    {"graphics/title_play.bmp", 1},
    {"graphics/title_quit.bmp", 1},
    {"graphics/title_screen.jpg", 1},
    {"graphics/title_visit.bmp", 1},
    {"graphics/upload_bg.jpg", 1},
    {"graphics/yes.bmp", 1},
    {"graphics/yes_over.bmp", 1},
};

TEST(DataPictures, ManifestListsEveryPictureTheGameNames) {
  const auto entries = ReadManifest();
  std::map<std::string, const Entry*> byName;
  for (const Entry& e : entries) byName[Lower(e.name)] = &e;
  for (const auto& [name, frames] : kRequired) {
    const auto it = byName.find(Lower(name));
    ASSERT_NE(it, byName.end()) << name << " is not in the manifest";
    EXPECT_EQ(it->second->frames, frames) << name;
  }
  for (const char* font :
       {"graphics/font/font3.bmp", "graphics/font/font_small.bmp", "graphics/font/font_grey2.bmp",
        "graphics/font/font_summary.bmp", "graphics/icon.bmp"})
    EXPECT_TRUE(byName.count(font)) << font;
}

TEST(DataPictures, FilesMatchTheirManifestEntries) {
  const auto entries = ReadManifest();
  ASSERT_FALSE(entries.empty());
  std::vector<std::string> listed;
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.name);
    listed.push_back(Lower(e.name));
    const auto bytes = ReadBytes(BinPath(e.name));
    ASSERT_FALSE(bytes.empty()) << "missing beside the program";
    ASSERT_GT(e.frames, 0);
    EXPECT_EQ(e.width % e.frames, 0) << "width does not split into the frames";
    EXPECT_TRUE(e.key == "-" || e.key == "0xFF00FF" || e.key == "0xFFFFFF") << e.key;
    EXPECT_FALSE(e.where.empty());
    EXPECT_FALSE(e.by.empty());
    std::string why;
    int w = 0, h = 0;
    if (e.format == "BMP") {
      Bitmap bmp;
      ASSERT_TRUE(ReadBitmap(bytes, bmp, why)) << why;
      w = bmp.w;
      h = bmp.h;
    } else {
      ASSERT_EQ(e.format, "JPEG");
      ASSERT_TRUE(ReadJpegSize(bytes, w, h, why)) << why;
    }
    EXPECT_EQ(w, e.width);
    EXPECT_EQ(h, e.height);
  }
  // Nothing under graphics/ that the manifest does not account for.
  for (const auto& f : fs::recursive_directory_iterator(BinPath("graphics"))) {
    if (!f.is_regular_file()) continue;
    const std::string rel = Lower(fs::relative(f.path(), SPELLCRYPT_BIN_DIR).generic_string());
    EXPECT_NE(std::find(listed.begin(), listed.end(), rel), listed.end()) << rel << " is not in the manifest";
  }
}

// Pixels close to magenta but not magenta would show as pink fringes around keyed sprites.
TEST(DataPictures, KeyedBitmapsHaveNoFringeAndFontsKeyFromTheCorner) {
  for (const Entry& e : ReadManifest()) {
    if (e.format != "BMP" || e.key != "0xFF00FF") continue;
    SCOPED_TRACE(e.name);
    Bitmap bmp;
    std::string why;
    ASSERT_TRUE(ReadBitmap(ReadBytes(BinPath(e.name)), bmp, why)) << why;
    int fringe = 0, keyed = 0;
    for (std::uint32_t p : bmp.rgb) {
      const int r = static_cast<int>(p >> 16), g = static_cast<int>((p >> 8) & 0xFF),
                b = static_cast<int>(p & 0xFF);
      if (p == 0xFF00FF)
        ++keyed;
      else if (r > 200 && g < 60 && b > 200)
        ++fringe;
    }
    EXPECT_EQ(fringe, 0);
    if (e.name.find("/font/") != std::string::npos) {
      EXPECT_EQ(bmp.rgb[0], 0xFF00FFu) << "the font's key is taken from pixel (0,0)";
      // Every printable character has ink; the space and the cells past '~' are empty.
      const int cell = bmp.h;
      for (int c = 32; c < 160; ++c) {
        bool ink = false;
        for (int y = 0; y < cell && !ink; ++y)
          for (int x = 0; x < cell && !ink; ++x)
            ink = bmp.rgb[static_cast<size_t>(y) * static_cast<size_t>(bmp.w) +
                          static_cast<size_t>((c - 32) * cell + x)] != 0xFF00FF;
        EXPECT_EQ(ink, c > 32 && c < 127) << "character " << c;
      }
    }
  }
}

class GameLoaders : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = std::make_unique<CDXScreen>(platform_);
    // A tiny bitmap written here tells whether this build's image loaders exist yet.
    const std::string probe = (fs::temp_directory_path() / "spellcrypt_probe.bmp").string();
    const std::uint32_t grey[4] = {0x808080, 0x808080, 0x808080, 0x808080};
    const std::vector<std::uint8_t> b = EncodeBmp(grey, 2, 2, 2);
    std::ofstream(probe, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    CDXSurface s;
    const bool loads = s.Create(screen_.get(), probe.c_str()) == 1;
    fs::remove(probe);
    if (!loads) SKIP_UNLESS_CI("this build's image loaders cannot read bitmaps");
  }
  HeadlessPlatform platform_;
  std::unique_ptr<CDXScreen> screen_;
};

TEST_F(GameLoaders, EveryPictureLoadsWithItsFrames) {
  for (const Entry& e : ReadManifest()) {
    if (e.name.find("/font/") != std::string::npos) continue;
    SCOPED_TRACE(e.name);
    CDXTile tile;
    ASSERT_EQ(tile.Create(screen_.get(), BinPath(e.name).c_str(), 0, 0, e.frames), 1);
    EXPECT_EQ(tile.Width(), e.width);
    EXPECT_EQ(tile.Height(), e.height);
    EXPECT_EQ(tile.CellCount(), e.frames);
  }
}

TEST_F(GameLoaders, FontsLoadAndTheLayoutsTextsFit) {
  struct FontCase {
    const char* file;
    int cell;
    std::vector<std::pair<std::string, int>> fits;  // text, widest the layout allows
  };
  const FontCase fonts[] = {
      {"graphics/font/font3.bmp",
       32,
       {{"W", 50}, {"M", 50}, {"Q", 50}, {"1,234,567", 152}, {"Game paused.", 400}}},
      {"graphics/font/font_small.bmp",
       16,
       {{"  Click GLOBAL to see scores from people around the world.", 548},
        {"No hero has inscribed his or her name here yet.", 640},
        {"Horror Squirrel (5 of 5)", 200},
        {"Communication with server", 240}}},
      {"graphics/font/font_grey2.bmp",
       32,
       {{"Anything more than eight letters would be too", 600},
        {"(that doesn't appear to be a valid word)", 600},
        {"You are attacked by a Horror Squirrel!", 600}}},
      {"graphics/font/font_summary.bmp",
       32,
       {{"Monsters Vanquished: 1,000,000", 442},
        {"Average word length: None", 442},
        {"Would you like to stop playing?", 346},
        {"Entering Dungeon 25...", 380}}},
  };
  for (const FontCase& f : fonts) {
    SCOPED_TRACE(f.file);
    BitmapFont font;
    ASSERT_EQ(font.Load(screen_.get(), BinPath(f.file).c_str(), f.cell, f.cell, 32, 128), 0);
    EXPECT_EQ(font.GlyphFor(' ').advance, f.cell / 4);
    EXPECT_GT(font.GlyphFor('i').advance, 1);
    for (const auto& [text, widest] : f.fits) EXPECT_LE(font.TextWidth(text.c_str()), widest) << text;
  }
}

}  // namespace
}  // namespace spellcrypt
