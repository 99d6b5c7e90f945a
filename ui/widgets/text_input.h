// A one-line text input with a blinking cursor; Enter broadcasts InputTextEntered.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class BitmapFont;

class CTextInput : public CThingSprite {
 public:
  CTextInput();

  void Draw() override;
  void HandleInput(int type, const InputEvent* event) override;
  void SetText(const char* newText);

  BitmapFont* font = nullptr;  // nothing is drawn without one
  char text[256] = "";
  int maxLength = 20;        // at most maxLength - 1 characters are kept
  const char* refused = "";  // characters never taken (the name entry refuses the server's separator)
  bool showCursor = true;
  IntervalTimer blinkTimer{GameClock(), 350};
  bool cursorPhase = true;

 private:
  // The longest text the buffer and maxLength allow.
  int Capacity() const;
};

}  // namespace spellcrypt
