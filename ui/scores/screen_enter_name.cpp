// The name entry.
#include "ui/scores/screen_enter_name.h"

#include <algorithm>
#include <new>
#include <string>

#include "app/app.h"
#include "app/globals.h"
#include "base/log.h"
#include "base/text_util.h"
#include "game/game.h"
#include "ui/framework/layers.h"
#include "ui/framework/screen.h"
#include "ui/game/game_view.h"
#include "ui/scores/screen_submit_ask.h"
#include "ui/scores/screen_transfer.h"
#include "ui/scores/summary_box.h"
#include "ui/widgets/popup_frame.h"
#include "ui/widgets/text_input.h"

namespace spellcrypt {

namespace {

// The name goes to the score server in a line whose fields "|" separates.
constexpr const char* kRefused = "|";

class ScreenEnterName : public Screen {
 public:
  ScreenEnterName(const char* prompt, NameFor purpose) : prompt_(prompt), purpose_(purpose) {}

  bool Start() override {
    Screen::Start();
    if (!frame_.Build(this, "graphics\\enter_your_name_popup.jpg")) return false;
    frame_.SetText(prompt_.c_str());
    CAppGlo* app = GetApp();
    if (app == nullptr) return false;
    input_.font = &app->summaryFont;
    input_.maxLength = 20;  // 19 characters
    input_.refused = kRefused;
    input_.SetText(app->settings->playerName);
    input_.SetPosition(frame_.background.x + 133, frame_.background.y + 85);
    input_.layer = layer::kQuestionMember;
    return input_.AddToList(this);
  }

  // Only Enter finishes the entry; Escape does nothing here.
  bool HandleInput(int type, const InputEvent* event) override {
    if (type != InputTextEntered || event == nullptr || event->senderId != input_.id || closed) return false;
    Finish();
    return false;
  }

 private:
  void Finish() {
    CAppGlo& app = *GetApp();
    std::string name = input_.text;
    if (name.find('|') != std::string::npos)
      name.erase(std::remove(name.begin(), name.end(), '|'), name.end());
    if (!name.empty()) CopyText(app.settings->playerName, sizeof app.settings->playerName, name);
    if (purpose_ == NameFor::LocalTable) {
      Game* game = TheGame();
      if (game != nullptr) {
        const RunRecord& run = game->player.record;
        app.scoreTable.AddScore(run.score, run.dungeon, name.empty() ? kNamelessHero : name, run.bossesSlain,
                                StoredGameSummary(*game));
        if (!app.SaveScores()) LogError("The high score could not be saved.");
      }
      OpenSubmitQuestion("Would you also like to submit your score to the global internet rankings?", false);
    } else {
      Log("Submit scores!");
      if (!OpenSubmitScore()) FinishGame();
    }
    Close();
  }

  std::string prompt_;
  NameFor purpose_;
  PopupFrame frame_;
  CTextInput input_;
};

}  // namespace

bool OpenNameEntry(const char* prompt, NameFor purpose) {
  auto* entry = new (std::nothrow) ScreenEnterName(prompt, purpose);
  if (entry == nullptr || !entry->StartOrClose()) {
    LogError("Unable to init the name entry");
    return false;
  }
  return true;
}

}  // namespace spellcrypt
