// The message line: one line of grey text under the board, shown for a while and then gone.
#pragma once

#include <cstdint>

#include "app/play_clock.h"
#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CThingMessage : public CThingSprite {
 public:
  CThingMessage();

  void Draw() override;
  // Shows the text for max(2000, 80 per character) ms; texts over 512 characters are refused
  // (false), and the old text stays as it was.
  bool SetText(const char* newText);
  void SetDisplayTime(std::uint32_t ms);
  void SetSticky(bool isSticky) { sticky = isSticky; }

  char text[513] = "";
  // On the clock of play: a message shown before a pause (a tip, the pause popup) keeps its whole
  // time for after it, so a fight's first words are not gone when the tip closes.
  IntervalTimer displayTimer{PlayTime()};
  int active = 0;
  bool sticky = false;
};

// Puts the text into the thing named "message".
void ShowMessage(const char* text);
// As ShowMessage; a non-zero ms replaces the display time.
void ShowMessageFor(const char* text, std::uint32_t ms);
// As ShowMessage; the text stays until it is replaced.
void ShowStickyMessage(const char* text);

}  // namespace spellcrypt
