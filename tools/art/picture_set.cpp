// Writing the pictures, the manifest and the contact sheet.
#include "tools/art/picture_set.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "gfx/dx_image.h"
#include "tools/art/image_write.h"
#include "tools/art/text.h"

namespace spellcrypt::art {

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string KeyText(std::int64_t key) {
  if (key == kNoKey) return "-";
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%06llX", static_cast<unsigned long long>(key));
  return buf;
}

constexpr int kJpegQuality = 95;
constexpr int kThumb = 150;

}  // namespace

PictureSet::PictureSet(std::string outDir) : outDir_(std::move(outDir)) {}

void PictureSet::Emit(const std::string& name, const Canvas& c, int frames, std::int64_t key,
                      const std::string& where, const std::string& by, const Silhouette& intended) {
  PictureEntry e;
  e.name = name;
  e.format = EndsWith(name, ".jpg") ? "JPEG" : "BMP";
  e.width = c.width();
  e.height = c.height();
  e.frames = frames;
  e.key = key;
  e.where = where;
  e.by = by;
  if (frames < 1 || c.width() % frames != 0) {
    std::fprintf(stderr, "art: %s is %d wide, not %d equal frames\n", name.c_str(), c.width(), frames);
    ++failures_;
  }
  const std::string path = outDir_ + "/" + name;
  MakeDirectories(path.substr(0, path.rfind('/')));
  bool ok = false;
  if (e.format == "JPEG") {
    ok = WriteJpeg(path, Flatten(c, {0, 0, 0, 1}), kJpegQuality);
  } else if (key == static_cast<std::int64_t>(pal::kKeyMagenta)) {
    ok = WriteBmp(path, Keyed(c, static_cast<std::uint32_t>(key)));
  } else {
    ok = WriteBmp(path, Flatten(c, {0, 0, 0, 1}));
  }
  if (!ok) {
    std::fprintf(stderr, "art: could not write %s\n", path.c_str());
    ++failures_;
  } else if (key != kNoKey && frames >= 1 && c.width() % frames == 0) {
    CheckKeyed(name, path, c, frames, static_cast<std::uint32_t>(key), intended);
  }
  // Thumbnail over a dark checkerboard, so keyed parts show as see-through.
  const double s =
      std::min(1.0, std::min(static_cast<double>(kThumb) / c.width(), (kThumb - 14.0) / c.height()));
  Canvas thumb(kThumb, kThumb);
  for (int y = 0; y < kThumb; ++y)
    for (int x = 0; x < kThumb; ++x) thumb.Set(x, y, ((x / 8 + y / 8) % 2) ? Rgb(0x303038) : Rgb(0x24242A));
  if (frames > 64) {
    // Font strips: show the capitals A to J instead of the whole strip.
    const int cell = c.height();
    const Canvas letters = c.Crop(33 * cell, 0, 10 * cell, cell);
    const double ls = (kThumb - 4.0) / letters.width();
    thumb.DrawScaled(letters, 2, 40, letters.width() * ls, letters.height() * ls);
  } else {
    thumb.DrawScaled(c, (kThumb - c.width() * s) / 2, 0, c.width() * s, c.height() * s);
  }
  UseFace(thumb.cr(), Face::kSmall, 9, true);
  std::string label = name.substr(name.find('/') + 1);
  if (frames > 1) label += " x" + std::to_string(frames);
  DrawText(thumb.cr(), label, kThumb / 2.0, kThumb - 3, Rgb(0xE0E0E0), Align::kCentre);
  thumbs_.push_back(std::move(thumb));
  entries_.push_back(std::move(e));
}

void PictureSet::CheckKeyed(const std::string& name, const std::string& path, const Canvas& c, int frames,
                            std::uint32_t key, const Silhouette& intended) {
  DXImage written;
  if (ReadImageFile(path.c_str(), kImageRecognise, written) != 1) {
    std::fprintf(stderr, "art: %s does not read back\n", name.c_str());
    ++failures_;
    return;
  }
  Silhouette s = intended;
  // Unless the drawing says where its figure is, it is wherever the canvas was drawn on at all.
  if (s.frames.empty()) s.frames = FrameBounds(c, frames, 0.5f / 255);
  const std::vector<PictureFault> faults = CheckKeyedPicture(written, key, frames, s);
  for (const PictureFault& f : faults) std::fprintf(stderr, "art: %s: %s\n", name.c_str(), f.what.c_str());
  if (!faults.empty()) ++failures_;
}

void PictureSet::EmitDesktopIcon(const std::string& name, const Canvas& c) {
  const std::string path = outDir_ + "/" + name;
  if (!MakeDirectories(path.substr(0, path.rfind('/'))) || !WritePng(path, c)) {
    std::fprintf(stderr, "art: could not write %s\n", name.c_str());
    ++failures_;
  }
}

bool PictureSet::WriteManifest(const std::string& path) const {
  std::ofstream f(path, std::ios::trunc);
  f << "name\tformat\tsize\tframes\tkey\twhere\tby\n";
  std::vector<PictureEntry> sorted = entries_;
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  for (const PictureEntry& e : sorted)
    f << e.name << '\t' << e.format << '\t' << e.width << 'x' << e.height << '\t' << e.frames << '\t'
      << KeyText(e.key) << '\t' << e.where << '\t' << e.by << '\n';
  return static_cast<bool>(f);
}

bool PictureSet::WriteContactSheet(const std::string& path) const {
  const int columns = 12;
  const int rows = static_cast<int>((thumbs_.size() + columns - 1) / columns);
  Canvas sheet(columns * (kThumb + 4), std::max(1, rows) * (kThumb + 4));
  sheet.Fill(Rgb(0x101014));
  for (size_t i = 0; i < thumbs_.size(); ++i)
    sheet.Draw(thumbs_[i], static_cast<double>(i % columns) * (kThumb + 4) + 2,
               static_cast<double>(i / columns) * (kThumb + 4) + 2);
  return WritePng(path, sheet);
}

}  // namespace spellcrypt::art
