// The message line: one line of grey text under the board, shown for a while and then gone,
// with an optional quieter note under it (a cast word's meaning).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/play_clock.h"
#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CDXSurface;

// How wide the note under the message may be, in pixels (the message box's inside).
constexpr int kMessageNoteWidth = 596;

class CThingMessage : public CThingSprite {
 public:
  CThingMessage();
  ~CThingMessage() override;

  void Draw() override;
  // After the display was rebuilt (full screen on or off) the note is drawn anew.
  void RestoreSurfaces() override;
  // Shows the text for max(2000, 80 per character) ms; texts over 512 characters are refused
  // (false), and the old text stays as it was.
  bool SetText(const char* newText);
  void SetDisplayTime(std::uint32_t ms);
  void SetSticky(bool isSticky) { sticky = isSticky; }
  // A line drawn under the text, smaller and dimmer, for as long as the text shows; every new text
  // clears it. It should already fit kMessageNoteWidth (what passes it is cut off).
  void SetNote(std::string newNote);
  const std::string& Note() const { return note_; }

  char text[513] = "";
  // On the clock of play: a message shown before a pause (a tip, the pause popup) keeps its whole
  // time for after it, so a fight's first words are not gone when the tip closes.
  IntervalTimer displayTimer{PlayTime()};
  int active = 0;
  bool sticky = false;

 private:
  void DrawNote(int textLines);

  std::string note_;
  // The note drawn once in the small font, to be blended onto the box each frame.
  std::unique_ptr<CDXSurface> noteSurface_;
  bool noteDrawn_ = false;
};

// Puts the text into the thing named "message".
void ShowMessage(const char* text);
// As ShowMessage; a non-zero ms replaces the display time.
void ShowMessageFor(const char* text, std::uint32_t ms);
// As ShowMessage; the text stays until it is replaced.
void ShowStickyMessage(const char* text);

}  // namespace spellcrypt
