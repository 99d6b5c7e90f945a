// spellcrypt_art: draws every picture and bitmap font of the game into the runtime folder.
//   spellcrypt_art --out DIR --icons ICONS.JSON [--manifest FILE] [--contact-sheet FILE.png]
//                  [--credits CREDITS.md] [--preview DIR] [--monster-sheet PREFIX]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/art/icons.h"
#include "tools/art/monster_sheet.h"
#include "tools/art/picture_set.h"
#include "tools/art/preview.h"
#include "tools/art/text.h"

using namespace spellcrypt::art;

namespace {

// Every icon and every font file the pictures were drawn with must be credited.
bool CheckCredits(const std::string& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string credits = ss.str();
  bool ok = !credits.empty();
  for (const std::string& icon : UsedIcons())
    if (credits.find("`" + icon + "`") == std::string::npos) {
      std::fprintf(stderr, "art: icon `%s` is not credited in %s\n", icon.c_str(), path.c_str());
      ok = false;
    }
  for (Face face : {Face::kTitle, Face::kHeading, Face::kBody, Face::kBodyBold, Face::kSans, Face::kSmall}) {
    std::string file = FacePath(face);
    file = file.substr(file.rfind('/') + 1);
    if (credits.find(file) == std::string::npos) {
      std::fprintf(stderr, "art: font %s is not credited in %s\n", file.c_str(), path.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, icons, manifest, sheet, credits, preview, monsterSheet;
  const struct {
    const char* flag;
    std::string* value;
  } options[] = {{"--out", &out},
                 {"--icons", &icons},
                 {"--manifest", &manifest},
                 {"--contact-sheet", &sheet},
                 {"--credits", &credits},
                 {"--preview", &preview},
                 {"--monster-sheet", &monsterSheet}};
  for (int i = 1; i + 1 < argc; i += 2) {
    bool known = false;
    for (const auto& o : options)
      if (!std::strcmp(argv[i], o.flag)) {
        *o.value = argv[i + 1];
        known = true;
      }
    if (!known) {
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
  if (!credits.empty() && !CheckCredits(credits)) return 1;
  if (!preview.empty() && !WritePreviews(out, preview)) {
    std::fprintf(stderr, "art: could not write the previews into %s\n", preview.c_str());
    return 1;
  }
  if (!monsterSheet.empty() && !WriteMonsterSheet(out, monsterSheet)) {
    std::fprintf(stderr, "art: could not write the monster sheet %s_*.png\n", monsterSheet.c_str());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("art: %zu pictures in %.1f s\n", set.Entries().size(), seconds);
  return set.Failures() == 0 ? 0 : 1;
}
