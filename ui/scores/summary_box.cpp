// The summary in a text box.
#include "ui/scores/summary_box.h"

#include "app/app.h"
#include "base/log.h"
#include "game/game.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {

void TextBoxLines::AddLine(const std::string& text) { box_.AddLine(text); }
void TextBoxLines::AddText(const std::string& text) { box_.AddText(text); }

void AppendGameSummary(CTextBox& box, const Game& game, bool forStorage) {
  TextBoxLines lines(box);
  spellcrypt::AppendGameSummary(lines, game.player, GetModeName(), GetDateString(), forStorage);
}

std::string StoredGameSummary(const Game& game) {
  CTextBox box;
  if (CAppGlo* app = GetApp()) box.SetFont(&app->summaryFont);
  AppendGameSummary(box, game, true);
  std::string text;
  box.GetAllText(text);
  return text;
}

}  // namespace spellcrypt
