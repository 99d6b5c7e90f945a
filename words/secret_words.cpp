// The secret-word table. Kept free of other game code: the word-list generator builds it in too, so
// that every secret word stands in the word list and can be cast.
#include "words/secret_words.h"

#include "base/assets.h"

namespace spellcrypt {

namespace {

constexpr std::string_view kTeleportSound = asset::kTeleportSound;
constexpr std::string_view kCharacterFolder = "graphics\\character\\";

// In search order.
constexpr SecretWord kSecretWords[] = {
    {.names = {"treasure", "quib"},
     .extraDamage = 100,
     .extraPoints = 5000,
     .picture = "treasure.bmp",
     .emitTime = 5000,
     .frames = 6},
    {.names = {"rat"}, .extraDamage = 0, .tiles = 1, .picture = "rat.bmp"},
    {.names = {"rats"}, .extraDamage = 0, .tiles = 1, .picture = "rat.bmp", .emitTime = 3000},
    {.names = {"luck"}, .extraDamage = 0, .tiles = 1},
    {.names = {"death"}, .extraDamage = 100},
    {.names = {"japan", "flower", "sakura", "mirel"},
     .extraDamage = 25,
     .extraPoints = 7000,
     .tiles = 2,
     .picture = "sakura1_ani.bmp",
     .emitTime = 5000,
     .frames = 4},
    {.names = {"zorble"},
     .extraDamage = 50,
     .extraPoints = 7000,
     .tiles = 2,
     .picture = "nerf.bmp",
     .emitTime = 5000},
    {.names = {"vantok"}, .extraDamage = 80, .extraPoints = 10000, .tiles = 3},
    {.names = {"fnog", "duck"}, .tiles = 1, .picture = "duck.bmp", .emitTime = 2000},
    {.names = {"dungeon", "fireball"},
     .extraPoints = 5000,
     .tiles = 2,
     .picture = asset::kFireball,
     .emitTime = 2000,
     .frames = 11},
    {.names = {"lord", "dragon"}, .tiles = 1, .picture = "dragon.bmp", .emitTime = 800},
    {.names = {"wick", "hedge", "drunk"},
     .tiles = 1,
     .picture = "mom.bmp",
     .emitTime = 800,
     .message = "Play Hedgewick, another fine VANTOK game!"},
    {.names = {"hell"},
     .tiles = 1,
     .fromCorner = 1,
     .picture = asset::kMenuSpiders,
     .emitTime = 5000,
     .frames = 4,
     .message = "You unleash the evils of hell!"},
    {.names = {"spiders", "spider"},
     .tiles = 2,
     .fromCorner = 1,
     .picture = asset::kMenuSpiders,
     .emitTime = 5000,
     .frames = 4,
     .message = "You summon spiders."},
};

}  // namespace

std::string SecretWord::PicturePath() const {
  if (picture.empty() || picture.find('\\') != std::string_view::npos) return std::string(picture);
  std::string path(kCharacterFolder);
  path.append(picture);
  return path;
}

std::string_view SecretWord::SoundPath() const { return sound.empty() ? kTeleportSound : sound; }

const SecretWord* SecretWordManager::Find(std::string_view word) const {
  // Free names are empty; an empty word matches nothing.
  if (word.empty()) return nullptr;
  for (const SecretWord& entry : kSecretWords) {
    for (std::string_view name : entry.names) {
      if (name == word) return &entry;
    }
  }
  return nullptr;
}

std::span<const SecretWord> SecretWordManager::Table() { return kSecretWords; }

}  // namespace spellcrypt
