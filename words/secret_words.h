// Secret (power) words: casting one adds damage and points and triggers an effect (a picture
// effect, a message, free reward tiles, a sound). This is the table and its lookup; the effects
// are played by the cast.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace spellcrypt {

struct SecretWord {
  std::string_view names[4] = {};  // a cast word matches one of them exactly; free names are empty
  int extraDamage = 10;
  int extraPoints = 1000;
  std::string_view sound = {};    // empty: the teleport sound
  int tiles = 0;                  // reward tiles added at once
  int fromCorner = 0;             // 1: pictures enter from the right edge, else they fall from random places
  std::string_view picture = {};  // the picture effect's image; empty: none
  int emitTime = 1000;            // ms the effect keeps emitting pictures
  int frames = 1;                 // frames in the picture's strip
  std::string_view message = {};  // shown in the message box; empty: none

  // The picture's path: under "graphics\character\" unless it names its own folder.
  std::string PicturePath() const;
  // The sound to play: "sound\teleport.ogg" when the entry names none.
  std::string_view SoundPath() const;
};

class SecretWordManager {
 public:
  // The first entry one of whose names is the word, or null.
  const SecretWord* Find(std::string_view word) const;
  // The whole table, in search order.
  static std::span<const SecretWord> Table();
};

}  // namespace spellcrypt
