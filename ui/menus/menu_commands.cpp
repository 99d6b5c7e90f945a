// What each menu command does. One table: the command number and its action.
#include <new>

#include "app/game_loop.h"
#include "app/globals.h"
#include "base/log.h"
#include "base/score_server.h"
#include "ui/framework/layers.h"
#include "ui/game/game_link.h"
#include "ui/game/game_screen.h"
#include "ui/game/screen_choose_diff.h"
#include "ui/menus/game_popups.h"
#include "ui/menus/screen_options.h"
#include "ui/scores/screen_scores.h"
#include "ui/widgets/menu_button.h"

namespace spellcrypt {

namespace {

void OpenOptions() {
  CGlobals& g = GetGlobals();
  g.inputLevel = input_level::kPopup;
  auto* options = new (std::nothrow) ScreenOptions();
  if (options == nullptr) {
    LogError("Out of mem?");
    return;
  }
  if (!options->Start()) LogError("Out of mem?");
}

void AskToLeaveGame() {
  if (BoardCanLeave()) OpenQuitQuestion();
}

void AnswerQuitYes() {
  CloseQuitQuestion();
  SaveAndLeaveGame();
}

void AnswerRestartYes() {
  CloseContinueQuestion();
  ContinueSavedGame();
}

void AnswerRestartNo() {
  CloseContinueQuestion();
  GetGlobals().inputLevel = input_level::kPopup;
  OpenDifficultyChooser();
}

void OpenHallOfFame() { OpenHighScores(false); }

void VisitWebSite() { OpenWebLink(WebAddress().c_str()); }
void Quit() { PostQuit(0); }

struct CommandEntry {
  int command;
  void (*action)();
};

constexpr CommandEntry kCommands[] = {
    {kCmdPlay, StartPlay},
    {kCmdJumble, BoardJumble},
    {kCmdLastWord, BoardRecallLastWord},
    {kCmdQuit, Quit},
    {kCmdOptions, OpenOptions},
    {kCmdHelp, OpenHelpPopup},
    {kCmdHelpBack, CloseHelpPopup},
    {kCmdHallOfFame, OpenHallOfFame},
    {kCmdPause, OpenPausePopup},
    {kCmdGameQuit, AskToLeaveGame},
    {kCmdQuitYes, AnswerQuitYes},
    {kCmdQuitNo, CloseQuitQuestion},
    {kCmdPauseContinue, ClosePausePopup},
    {kCmdVisitWebSite, VisitWebSite},
    {kCmdRestartYes, AnswerRestartYes},
    {kCmdRestartNo, AnswerRestartNo},
};

}  // namespace

bool RunMenuCommand(int command) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.command == command) {
      entry.action();
      return true;
    }
  }
  return false;
}

}  // namespace spellcrypt
