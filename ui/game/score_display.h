// The score display and the centred label of the game screen.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class BitmapFont;

// The player's total score in the large font, centred on x.
class CScore : public CThingSprite {
 public:
  CScore();
  void Draw() override;
};

// A label in the small font (or `font` when set), centred on x.
class CText : public CThingSprite {
 public:
  CText();
  void Draw() override;
  void SetText(const char* newText);

  char text[256] = "";
  BitmapFont* font = nullptr;
};

}  // namespace spellcrypt
