// The shape the question and notice popups share: a picture centred on the screen at layer 700
// with a word-wrapped text box over it at layer 702, buttons placed relative to its corner.
#pragma once

#include <string>

#include "ui/widgets/menu_button.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {

class Screen;

class PopupFrame {
 public:
  // Loads and centres the background (no owner) and lists it with the text box (owned by the
  // screen). False when a member cannot be listed.
  bool Build(Screen* screen, const char* backgroundPath);
  // Clears the text box and word-wraps the text into it (again after Build, once the area is known).
  void SetText(const char* newText);
  // Lists a button owned by the screen at the background's corner plus the offset.
  bool AddButton(Screen* screen, CMenuBut& button, const char* normalPath, const char* overPath, int dx,
                 int dy);

  CThingSprite background;
  CTextBox text;

 private:
  std::string content_;
};

}  // namespace spellcrypt
