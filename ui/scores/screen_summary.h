// The summary of a game: a scrolling text box, continue, and a copy to the clipboard with the
// validation key. Shown at the end of a game, and from the high-score screen for a stored entry.
// A third button turns the box to the meanings of the summary's strong words and back; the copy is
// always of the summary.
#pragma once

#include <string>
#include <vector>

#include "ui/framework/screen.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {

class ScreenSummary : public Screen {
 public:
  // fromScores: opened from the high-score screen (else at the end of a game).
  explicit ScreenSummary(bool fromScores) : fromScores_(fromScores) {}
  bool Start() override;
  bool HandleInput(int type, const InputEvent* event) override;
  CTextBox& Box() { return box_; }

 private:
  void Copy();
  void Continue();
  // Between the summary and the meanings of its strong words.
  void ToggleMeanings();

  bool fromScores_;
  CTextBox box_;
  CMenuBut continue_;
  CMenuBut copy_;
  CMenuBut meanings_;
  bool showingMeanings_ = false;
  std::vector<std::string> summaryLines_;  // the summary's lines while the meanings show
  int upId_ = -1;
  int downId_ = -1;
  bool closing_ = false;
};

// The summary at the end of a game: the ending closes, the summary screen opens with the game's
// summary (treasures included).
void ShowGameSummary();
// Opens an empty summary screen from the high-score screen (input level 300); null on failure.
ScreenSummary* OpenSummaryFromScores();

}  // namespace spellcrypt
