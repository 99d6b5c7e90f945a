// Drawing one busy game frame into the back surface, against one copy of the back surface, and
// decoding full-screen pictures.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gfx/bitmap_font.h"
#include "gfx/dx_image.h"
#include "gfx/dx_sprite.h"
#include "gfx/image_writer.h"

namespace spellcrypt {
namespace {

constexpr std::uint32_t kKey = 0xFF00FF;

std::uint32_t Noise(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
  h ^= h >> 13;
  return h * 0x5bd1e995u;
}

// A picture like the game's backgrounds: smooth shading with some grain.
std::vector<std::uint32_t> Scenery(int w, int h) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t n = Noise(x, y) & 0x1F;
      const std::uint32_t r = static_cast<std::uint32_t>(x * 200 / w) + n;
      const std::uint32_t g = static_cast<std::uint32_t>(y * 180 / h) + (n >> 1);
      const std::uint32_t b = static_cast<std::uint32_t>(128 + 100 * std::sin(x * 0.02) * std::cos(y * 0.03));
      px[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
          (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
    }
  }
  return px;
}

// A sheet of `cells` keyed cells across: an ellipse of scenery in each, magenta around it.
std::vector<std::uint32_t> KeyedStrip(int cellW, int cellH, int cells) {
  const int w = cellW * cells;
  std::vector<std::uint32_t> px = Scenery(w, cellH);
  for (int y = 0; y < cellH; ++y) {
    for (int x = 0; x < w; ++x) {
      const double dx = ((x % cellW) - cellW / 2.0) / (cellW / 2.0);
      const double dy = (y - cellH / 2.0) / (cellH / 2.0);
      if (dx * dx + dy * dy > 1.0) px[static_cast<std::size_t>(y * w + x)] = kKey;
    }
  }
  return px;
}

// A glyph sheet of 128 cells with dense ink of varied widths, the worst case for glyph copies.
std::vector<std::uint32_t> GlyphSheet(int cell, int& height) {
  const int columns = 320 / cell;
  height = (128 + columns - 1) / columns * cell;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(320 * height), kKey);
  for (int c = 1; c < 96; ++c) {
    const int left = (c % columns) * cell;
    const int top = (c / columns) * cell;
    const int inkWidth = cell / 3 + c % (cell / 2);
    for (int y = top + 2; y < top + cell - 2; ++y) {
      for (int x = left + 1; x < left + 1 + inkWidth; ++x) {
        if ((Noise(x, y) & 3) != 0) px[static_cast<std::size_t>(y * 320 + x)] = 0xFFE0A0;
      }
    }
  }
  return px;
}

struct FrameScene {
  std::filesystem::path dir;
  CDXSurface back;
  CDXTile background;
  CDXTile tiles;
  CDXTile monster;
  CDXTile fading;
  CDXTile swelling;
  BitmapFont big;
  BitmapFont small;
  std::vector<CDXSprite> tileSprites = std::vector<CDXSprite>(16);

  FrameScene() {
    dir = std::filesystem::temp_directory_path() / "spellcrypt_gfx_bench";
    std::filesystem::create_directories(dir);
    back.CreateBlank(nullptr, 640, 480);
    Load(background, "background.bmp", Scenery(640, 480), 640, 480, 0, 0, 1);
    Load(tiles, "tiles.bmp", Scenery(600, 50), 600, 50, 50, 50, 12);
    Load(monster, "monster.bmp", KeyedStrip(160, 170, 1), 160, 170, 0, 0, 1);
    Load(fading, "fading.bmp", KeyedStrip(64, 64, 4), 256, 64, 64, 64, 4);
    Load(swelling, "swelling.bmp", KeyedStrip(64, 64, 2), 128, 64, 64, 64, 2);
    for (CDXTile* keyed : {&monster, &fading, &swelling}) keyed->SetColorKey(kKey);
    for (int i = 0; i < 16; ++i) {
      tileSprites[static_cast<std::size_t>(i)].Attach(&tiles);
      tileSprites[static_cast<std::size_t>(i)].SetPos(40 + (i % 8) * 56, 340 + (i / 8) * 60);
      tileSprites[static_cast<std::size_t>(i)].SetFrame(i % 12);
    }
    LoadFont(big, "font3.bmp", 32);
    LoadFont(small, "font_small.bmp", 16);
  }
  ~FrameScene() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  void Load(CDXTile& tile, const char* name, const std::vector<std::uint32_t>& px, int w, int h, int cw,
            int ch, int n) {
    const std::string path = (dir / name).string();
    SaveImageFile(path.c_str(), px.data(), w, h, w);
    tile.Create(nullptr, path.c_str(), cw, ch, n);
  }
  void LoadFont(BitmapFont& font, const char* name, int cell) {
    int height = 0;
    const std::vector<std::uint32_t> px = GlyphSheet(cell, height);
    const std::string path = (dir / name).string();
    SaveImageFile(path.c_str(), px.data(), 320, height, 320);
    font.Load(nullptr, path.c_str(), cell, cell);
  }

  // One frame of the game screen in a fight.
  void Draw() {
    CDXSurface* d = &back;
    background.DrawCell(d, 0, 0, 0, kDrawOpaque);
    char letter[2] = {'A', 0};
    for (CDXSprite& s : tileSprites) {
      s.Draw(d, 0, 0, kDrawOpaque);
      letter[0] = static_cast<char>('A' + s.Frame());
      big.DrawAt(s.X() + 12, s.Y() + 9, letter, d);
    }
    monster.DrawCell(d, 240, 60, 0, kDrawKeyed);
    for (int i = 0; i < 8; ++i)
      fading.DrawCell(d, 20 + i * 75, 250, i % 4, kDrawKeyedTranslucent, 40 + i * 25);
    swelling.DrawCell(d, 60, 60, 0, kDrawKeyedScaled, 0, 1.5f);
    swelling.DrawCell(d, 480, 60, 1, kDrawKeyedScaled, 0, 0.75f);
    swelling.DrawCell(d, 420, 160, 0, kDrawKeyedScaled, 0, 1.25f);
    big.DrawAt(20, 10, "DUNGEON 7 - THE CRYPT", d);
    big.DrawInBox(0, 200, 640, "A Skeleton Knight!", d, 1);
    big.DrawInBox(300, 300, 320, "Score 124,350", d, 3);
    small.DrawAt(20, 440, "You cast QUARTZ for 42 damage.", d);
    small.DrawAt(20, 456, "The knight strikes you for 7.", d);
    small.DrawClipped(400, 40, "Life 86/100  Mind 12", d, DXRect{400, 40, 620, 56});
  }
};

void BM_GameFrame(benchmark::State& state) {
  FrameScene scene;
  for (auto _ : state) {
    scene.Draw();
    benchmark::DoNotOptimize(scene.back.Pixels());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_BackSurfaceCopy(benchmark::State& state) {
  std::vector<std::uint32_t> from = Scenery(640, 480);
  std::vector<std::uint32_t> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BackSurfaceCopy)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void DecodeBench(benchmark::State& state, const std::vector<std::uint8_t>& file) {
  for (auto _ : state) {
    DXImage image;
    if (!DecodeImage(file.data(), file.size(), kImageRecognise, image)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.pixels.data());
  }
}

void BM_DecodeJpeg640x480(benchmark::State& state) {
  const std::vector<std::uint32_t> px = Scenery(640, 480);
  DecodeBench(state, EncodeJpeg(px.data(), 640, 480, 640, 85));
}
BENCHMARK(BM_DecodeJpeg640x480)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DecodeBmp24_640x480(benchmark::State& state) {
  const std::vector<std::uint32_t> px = Scenery(640, 480);
  DecodeBench(state, EncodeBmp(px.data(), 640, 480, 640));
}
BENCHMARK(BM_DecodeBmp24_640x480)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace spellcrypt
