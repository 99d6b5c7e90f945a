// The game's summary in a text box: the lines the summary decides on, wrapped by the box's font.
#pragma once

#include <string>

#include "scores/game_summary.h"

namespace spellcrypt {

class CTextBox;
class Game;

class TextBoxLines : public ISummaryLines {
 public:
  explicit TextBoxLines(CTextBox& box) : box_(box) {}
  void AddLine(const std::string& text) override;
  void AddText(const std::string& text) override;

 private:
  CTextBox& box_;
};

// Appends the summary of the game in play (its difficulty's name, today's date) to the box.
void AppendGameSummary(CTextBox& box, const Game& game, bool forStorage);
// The stored form: the summary built without its treasures in a text box with the summary font
// across the whole screen, its lines each followed by CR LF.
std::string StoredGameSummary(const Game& game);

}  // namespace spellcrypt
