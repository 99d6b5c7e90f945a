// The set of pictures the generator writes: each file with the facts the game relies on (size,
// frames, colour key, where it is drawn and by what), which also make up the picture manifest.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/canvas.h"
#include "tools/art/picture_checks.h"

namespace spellcrypt::art {

constexpr std::int64_t kNoKey = -1;

struct PictureEntry {
  std::string name;    // relative to the runtime folder, e.g. "graphics/tiles_new.jpg"
  std::string format;  // "BMP" or "JPEG", from the extension
  int width = 0;
  int height = 0;
  int frames = 1;
  std::int64_t key = kNoKey;
  std::string where;
  std::string by;
};

class PictureSet {
 public:
  explicit PictureSet(std::string outDir);

  // Writes `c` as `name`. Keyed bitmaps turn uncovered pixels into the key; everything else is
  // flattened onto black. The width must split into `frames` equal frames. A keyed picture is read
  // back as the game reads it and checked against `intended` (see picture_checks.h); a fault
  // counts as a failure.
  void Emit(const std::string& name, const Canvas& c, int frames, std::int64_t key, const std::string& where,
            const std::string& by, const Silhouette& intended = {});

  // Writes `c` as a PNG with its transparency, outside the game's pictures (the desktop's icon).
  void EmitDesktopIcon(const std::string& name, const Canvas& c);

  const std::vector<PictureEntry>& Entries() const { return entries_; }
  int Failures() const { return failures_; }
  bool WriteManifest(const std::string& path) const;
  // One PNG with every picture, scaled down, labelled with its name.
  bool WriteContactSheet(const std::string& path) const;

 private:
  // Reads the written file back and reports every fault the keyed-picture check finds.
  void CheckKeyed(const std::string& name, const std::string& path, const Canvas& c, int frames,
                  std::uint32_t key, const Silhouette& intended);

  std::string outDir_;
  std::vector<PictureEntry> entries_;
  std::vector<Canvas> thumbs_;
  int failures_ = 0;
};

// One letter tile as the game shows it (frame of the tile strip, with its letter; ' ' for none),
// for the pictures that explain the tiles.
Canvas TilePicture(int frame, char letter);

// Every picture module adds its pictures through one of these.
void MakeFonts(PictureSet& set);
void MakeTiles(PictureSet& set);
void MakeMonsters(PictureSet& set);
void MakeEffects(PictureSet& set);
void MakeDungeons(PictureSet& set);
void MakeTitle(PictureSet& set);
void MakeOptionsAndHelp(PictureSet& set);
void MakeGameScreen(PictureSet& set);
void MakePopups(PictureSet& set);
void MakeScores(PictureSet& set);
void MakeMap(PictureSet& set);
void MakeBook(PictureSet& set);
void MakeTips(PictureSet& set);
void MakeEnding(PictureSet& set);

}  // namespace spellcrypt::art
