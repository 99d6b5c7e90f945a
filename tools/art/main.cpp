// spellcrypt_art: draws every picture and bitmap font of the game into the runtime folder.
//   spellcrypt_art --out DIR --icons ICONS.JSON [--manifest FILE] [--contact-sheet FILE.png]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/art/icons.h"
#include "tools/art/picture_set.h"
#include "tools/art/text.h"

using namespace spellcrypt::art;

int main(int argc, char** argv) {
  std::string out, icons, manifest, sheet;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--out"))
      out = argv[i + 1];
    else if (!std::strcmp(argv[i], "--icons"))
      icons = argv[i + 1];
    else if (!std::strcmp(argv[i], "--manifest"))
      manifest = argv[i + 1];
    else if (!std::strcmp(argv[i], "--contact-sheet"))
      sheet = argv[i + 1];
    else {
      std::fprintf(stderr, "art: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (out.empty() || icons.empty()) {
    std::fprintf(stderr, "usage: %s --out DIR --icons ICONS.JSON [--manifest FILE] [--contact-sheet FILE]\n",
                 argv[0]);
    return 2;
  }
  if (!LoadFaces() || !LoadIcons(icons)) return 1;
  const auto start = std::chrono::steady_clock::now();
  PictureSet set(out);
  using Maker = void (*)(PictureSet&);
  const Maker makers[] = {MakeFonts, MakeTiles,          MakeMonsters,   MakeEffects, MakeDungeons,
                          MakeTitle, MakeOptionsAndHelp, MakeGameScreen, MakePopups,  MakeScores,
                          MakeMap,   MakeBook,           MakeTips,       MakeEnding};
  for (Maker make : makers) make(set);
  if (!manifest.empty() && !set.WriteManifest(manifest)) {
    std::fprintf(stderr, "art: could not write %s\n", manifest.c_str());
    return 1;
  }
  if (!sheet.empty() && !set.WriteContactSheet(sheet)) {
    std::fprintf(stderr, "art: could not write %s\n", sheet.c_str());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("art: %zu pictures in %.1f s\n", set.Entries().size(), seconds);
  return set.Failures() == 0 ? 0 : 1;
}
