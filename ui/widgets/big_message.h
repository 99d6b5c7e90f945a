// A big message: text written once, in the summary font, into the thing's own picture (a popup
// background), which then shows like any sprite.
#pragma once

#include <string>
#include <vector>

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class BitmapFont;

class CBigMessage : public CThingSprite {
 public:
  CBigMessage();

  // Rewrites the texts after the display rebuilt the picture from its file.
  void RestoreSurfaces() override;
  // Centred across the picture, 67 pixels from its top. Texts over 512 characters are refused.
  void SetText(const char* newText);
  // Writes a text at a point of the picture (the game's questions lay out two lines this way).
  void WriteTextAt(int px, int py, const char* newText);
  void SetSticky(bool isSticky) { sticky = isSticky; }

  char text[513] = "";  // the first character doubles as the has-text flag
  bool sticky = false;
  BitmapFont* font = nullptr;

 private:
  struct Placed {
    int x;
    int y;
    std::string text;
    bool centred;
  };
  bool Accept(const char* newText);
  void Render(const Placed& placed);
  std::vector<Placed> written_;
};

}  // namespace spellcrypt
