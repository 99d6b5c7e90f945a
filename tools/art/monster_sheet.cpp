// The monster sheet; see monster_sheet.h.
#include "tools/art/monster_sheet.h"

#include <algorithm>
#include <vector>

#include "game/dungeon.h"
#include "game/monster_table.h"
#include "gfx/dx_image.h"
#include "tools/art/image_write.h"
#include "tools/art/text.h"

namespace spellcrypt::art {

namespace {

constexpr int kKey = 0xFF00FF;
// The part of the game screen shown per monster: the fight window (19, 19, 180 x 190) and its frame.
constexpr int kCropX = 7, kCropY = 7, kCropW = 204, kCropH = 214;
constexpr int kLabel = 16;
constexpr int kColumns = 6;

struct Picture {
  int w = 0, h = 0;
  std::vector<std::uint32_t> rgb;
};

Picture Load(const std::string& path) {
  DXImage image;
  if (ReadImageFile(path.c_str(), kImageRecognise, image) != 1) return {};
  return {image.width, image.height, std::move(image.pixels)};
}

std::string Slashes(std::string s) {
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

void Blit(Canvas& c, const Picture& p, int x, int y, int frame, int frames, bool keyed) {
  const int fw = p.w / std::max(1, frames);
  for (int py = 0; py < p.h; ++py)
    for (int px = 0; px < fw; ++px) {
      const std::uint32_t v = p.rgb[static_cast<size_t>(py) * p.w + frame * fw + px];
      if (keyed && v == kKey) continue;
      const int tx = x + px, ty = y + py;
      if (tx >= 0 && ty >= 0 && tx < c.width() && ty < c.height()) c.Set(tx, ty, Rgb(v));
    }
}

struct Cell {
  const MonsterRecord* monster;
  int frame;
  int dungeon;
};

}  // namespace

bool WriteMonsterSheet(const std::string& runtimeDir, const std::string& prefix) {
  const Picture screen = Load(runtimeDir + "/graphics/game_screen.jpg");
  if (screen.w == 0) return false;
  // Every monster type once, in a different room each (the rooms rotate through the dungeons),
  // and the grabbing frames of a strip after its first.
  std::vector<Cell> cells;
  int n = 0;
  for (const MonsterRecord& m : MonsterTable())
    for (int f = 0; f < std::max(1, static_cast<int>(m.frames)); ++f)
      cells.push_back({&m, f, 1 + (n++ * 4) % 27});
  const int rows = static_cast<int>((cells.size() + kColumns - 1) / kColumns);
  Canvas sheet(kColumns * kCropW, rows * (kCropH + kLabel));
  sheet.Fill(Rgb(0x101014));
  bool ok = true;
  for (size_t i = 0; i < cells.size(); ++i) {
    const Cell& cell = cells[i];
    const MonsterRecord& m = *cell.monster;
    Canvas shot(screen.w, screen.h);
    Blit(shot, screen, 0, 0, 0, 1, false);
    const DungeonScenery room = SceneryFor(cell.dungeon);
    Blit(shot, Load(runtimeDir + "/" + Slashes(room.image)), 19, 19, 0, 1, false);
    if (!room.fireImage.empty()) {
      const Picture fire = Load(runtimeDir + "/" + Slashes(room.fireImage));
      for (int k = 0; k < room.fireCount; ++k)
        Blit(shot, fire, 19 + room.fires[k].x, 19 + room.fires[k].y, (k + static_cast<int>(i)) % 4, 4, true);
    }
    const Picture p = Load(runtimeDir + "/" + Slashes(m.image));
    if (p.w == 0) {
      ok = false;
      continue;
    }
    const int frames = std::max(1, static_cast<int>(m.frames));
    int x = m.x, y = m.y;
    if (x == 0 && y == 0) {
      x = 109 - p.w / frames / 2;
      y = 187 - p.h;
    }
    Blit(shot, p, x, y, cell.frame, frames, true);
    const int cx = static_cast<int>(i % kColumns) * kCropW,
              cy = static_cast<int>(i / kColumns) * (kCropH + kLabel);
    sheet.Draw(shot.Crop(kCropX, kCropY, kCropW, kCropH), cx, cy);
    std::string label = m.name;
    if (frames > 1) label += " (frame " + std::to_string(cell.frame) + ")";
    UseFace(sheet.cr(), Face::kSmall, 10, true);
    DrawText(sheet.cr(), label, cx + kCropW / 2.0, cy + kCropH + 12, Rgb(0xE8E0D0), Align::kCentre);
  }
  ok &= WritePng(prefix + "_1x.png", sheet);
  Canvas twice(sheet.width() * 2, sheet.height() * 2);
  cairo_t* cr = twice.cr();
  cairo_scale(cr, 2, 2);
  cairo_set_source_surface(cr, sheet.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_identity_matrix(cr);
  ok &= WritePng(prefix + "_2x.png", twice);
  return ok;
}

}  // namespace spellcrypt::art
