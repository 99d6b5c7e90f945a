// The internet question after a game.
#include "ui/scores/screen_submit_ask.h"

#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/log.h"
#include "game/game.h"
#include "ui/framework/layers.h"
#include "ui/game/game_screen.h"
#include "ui/game/game_view.h"
#include "ui/menus/screen_yes_no.h"
#include "ui/scores/screen_enter_name.h"
#include "ui/scores/screen_summary.h"
#include "ui/scores/screen_transfer.h"

namespace spellcrypt {

namespace {

class ScreenInternetSubmitAsk : public ScreenYesNo {
 public:
  explicit ScreenInternetSubmitAsk(bool askName) : askName_(askName) {}

  void HandleMessage(const Message& message) override {
    if ((message.type == MsgAnswerYes || message.type == MsgAnswerNo) && message.value == tag && !answered_) {
      answered_ = true;
      Settings& settings = *GetApp()->settings;
      Close();
      if (message.type == MsgAnswerYes) {
        GetGlobals().inputLevel = input_level::kPopup;
        settings.useInternetScores = 1;
        if (askName_) {
          Log("Getting name");
          OpenNameEntry("Who art thou?", NameFor::Internet);
        } else {
          Log("Submit scores!");
          if (!OpenSubmitScore()) FinishGame();
        }
      } else {
        if (!askName_) settings.useInternetScores = 0;
        FinishGame();
      }
    }
    ScreenYesNo::HandleMessage(message);
  }

 private:
  bool askName_;
  bool answered_ = false;
};

// Tells this question's answers from others'.
constexpr int kTag = 4404;

}  // namespace

bool OpenSubmitQuestion(const char* question, bool askName) {
  GetGlobals().inputLevel = input_level::kPopup;
  auto* ask = new (std::nothrow) ScreenInternetSubmitAsk(askName);
  if (ask == nullptr) return false;
  ask->tag = kTag;
  if (!ask->StartOrClose()) {
    LogError("Unable to init the internet question");
    return false;
  }
  ask->SetQuestion(question);
  return true;
}

void FinishGame() {
  GetGlobals().inputLevel = input_level::kPlaying;
  ShowGameSummary();
  if (Game* game = TheGame()) game->NewRun(GetApp()->settings->mode);
  RemoveGameScreen();
}

}  // namespace spellcrypt
