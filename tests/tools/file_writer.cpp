// A test program that does nothing but write the game's files the way the game writes them, over
// and over, so that a test can kill it at any moment: the settings, a full score table and a
// saved game, each round with new contents.
//   spellcrypt_file_writer <folder>
#include <cstdio>
#include <string>

#include "app/settings.h"
#include "game/saved_game.h"
#include "scores/ranking.h"

using namespace spellcrypt;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  std::string summary(3000, 's');
  for (int round = 1;; ++round) {
    Settings settings;
    settings.loadCount = round;
    std::snprintf(settings.playerName, sizeof settings.playerName, "Writer %d", round);
    if (!SaveSettingsFile(settings, (folder + "defaults.dat").c_str())) return 1;

    CRanking table;
    for (int i = 0; i < CRanking::kTablePlaces; ++i)
      table.AddScore(round * 100 + i, 1 + i, "Writer", i, summary);
    if (!table.Save(folder + "scores_normal.dat", CRanking::kTablePlaces)) return 1;

    SavedGame saved;
    saved.run.dungeon = 1 + round % 25;
    saved.run.maxLife = 15;
    saved.run.life = 1 + round % 15;
    saved.run.monstersLeft = 6;
    saved.run.score = round;
    for (int slot = 0; slot < 8; ++slot) {
      BoardTile tile;
      tile.letter = static_cast<char>('A' + (round + slot) % 26);
      tile.lowerSlot = slot;
      saved.tiles.push_back(tile);
    }
    for (int i = 0; i < 26; ++i) saved.weights.SetWeight(i, 10 + round % 7);
    for (int i = 0; i < round % 40; ++i) saved.usedWords.Add("word" + std::to_string(i));
    saved.monster.index = 2;
    std::snprintf(saved.monster.name, sizeof saved.monster.name, "Skeleton");
    saved.monster.maxLife = 13;
    saved.monster.life = 1 + round % 13;
    saved.monster.savedState = 1;
    if (!WriteSavedGame(folder + kSaveFileName, saved)) return 1;
  }
}
