// The game screen: built when a game starts or continues, removed when it ends.
#include "ui/game/game_screen.h"

#include <vector>

#include "app/app.h"
#include "app/globals.h"
#include "base/log.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "platform/files.h"
#include "ui/framework/layers.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_link.h"
#include "ui/game/game_view.h"
#include "ui/game/monster_view.h"
#include "ui/game/player_view.h"
#include "ui/game/score_display.h"
#include "ui/game/screen_choose_diff.h"
#include "ui/game/submit_button.h"
#include "ui/game/tile_board.h"
#include "ui/menus/game_popups.h"
#include "ui/menus/screen_title.h"
#include "ui/scores/screen_enter_name.h"
#include "ui/scores/screen_submit_ask.h"
#include "ui/scores/screen_summary.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/thing_message.h"

namespace spellcrypt {

namespace {

struct GameButton {
  const char* name;
  const char* over;     // highlight picture, or null
  const char* pressed;  // pressed picture, or null
  int x, y;
  int command;
};

constexpr GameButton kButtons[] = {
    {"game_options", "graphics\\game_options_over.bmp", nullptr, 274, 33, kCmdOptions},
    {"game_help", "graphics\\game_help_over.bmp", nullptr, 209, 33, kCmdHelp},
    {"game_quit", "graphics\\game_quit_over.bmp", nullptr, 209, 8, kCmdGameQuit},
    {"game_pause", "graphics\\game_pause_over.bmp", nullptr, 274, 8, kCmdPause},
    {"jumble", nullptr, "graphics\\main_jumble_over.bmp", 201, 278, kCmdJumble},
    {"last", nullptr, "graphics\\main_last_over.bmp", 491, 278, kCmdLastWord},
};

constexpr const char* kGameThings[] = {"background",   "board",     "submit",    "score",
                                       "game_options", "game_quit", "game_help", "game_pause",
                                       "last",         "jumble",    "effect"};

void AddThings() {
  CThingList& things = *GetGlobals().things;
  auto* background = new CThingSprite();
  background->SetName("background");
  background->LoadImage("graphics\\game_screen.jpg", false, kMagenta);
  background->layer = layer::kBackground;
  things.Add(background);

  things.Add(new CTileBoard());

  auto* submit = new CSubmitBut();
  submit->SetName("submit");
  submit->LoadImage("graphics\\SubmitWordBar.bmp", 4, false, kMagenta);
  submit->SetPosition(346, 278);
  submit->layer = layer::kSubmit;
  things.Add(submit);

  auto* score = new CScore();
  score->SetPosition(420, 26);
  score->hidden = true;
  score->layer = layer::kGameButton;
  things.Add(score);

  for (const GameButton& b : kButtons) {
    auto* button = new CMenuBut();
    button->SetName(b.name);
    if (b.over != nullptr) button->SetOverImage(b.over, false);
    if (b.pressed != nullptr) {
      button->SetPressedImage(b.pressed);
      button->playHighlightSound = false;
      button->SetClickDelay(100);
    }
    button->SetPosition(b.x, b.y);
    button->layer = layer::kGameButton;
    button->command = b.command;
    button->keyboardSelectable = false;
    things.Add(button);
  }
}

// Reads, checks and restores the saved game; false (told, logged) when it cannot be played.
bool LoadGame(Game& game, const char* path) {
  Log("Loading game to %s.", path);
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    LogError("Error saving game data file %s.", path);
    return false;
  }
  SavedGame saved;
  std::string why;
  switch (DecodeSavedGame(bytes, saved, why)) {
    case SaveCheck::OlderVersion:
      ReportError("Error", "Saved game data is of an older version, not able to load it.");
      return false;
    case SaveCheck::Damaged:
      LogError("The saved game %s is damaged (%s); starting a new game instead.", path, why.c_str());
      ShowMessageBox("Error", "The saved game is damaged and cannot be continued.", MessageBoxIcon::Error);
      return false;
    case SaveCheck::Ok:
      break;
  }
  Log("Loading info for %d tiles", static_cast<int>(saved.tiles.size()));
  if (CAppGlo* app = GetApp()) app->settings->mode = saved.run.mode;
  game.Restore(saved);
  return true;
}

}  // namespace

void BuildGameScreen(const char* saveFile) {
  CGlobals& g = GetGlobals();
  Game* game = TheGame();
  g.PostMessage(MsgCloseTitle, 0, nullptr, 0);
  AddThings();
  if (game != nullptr) {
    if (saveFile != nullptr) {
      game->player.carried.clear();
      if (!LoadGame(*game, saveFile)) {
        // Nothing half loaded: the game screen goes and the title offers a new game.
        DeleteFile(WritablePath(kSaveFileName));
        RemoveGameScreen();
        GoToTitle();
        return;
      }
    } else {
      game->ResetForDungeon();
      game->RestoreCarriedTiles();
    }
  }
  DeleteFile(WritablePath(kSaveFileName));
}

void RemoveGameScreen() {
  if (Game* game = TheGame()) game->LeaveBoard();
  CAppGlo* app = GetApp();
  if (app != nullptr && app->player != nullptr) {
    app->player->RemoveBars();
    app->player->RemoveBackground();
  }
  if (app != nullptr && app->monster != nullptr) {
    app->monster->RemoveBars();
    app->monster->RemoveSprite();
  }
  ShowMessage("");
  for (const char* name : kGameThings) GetGlobals().things->KillByName(name);
}

void StartPlay() {
  if (IsSaveUsable(WritablePath(kSaveFileName))) {
    OpenContinueQuestion();
  } else {
    OpenDifficultyChooser();
  }
}

void ContinueSavedGame() {
  CGlobals& g = GetGlobals();
  g.PostMessage(MsgCloseTitle, 0, nullptr, 0);
  if (Game* game = TheGame()) {
    game->NewRun(GetApp()->settings->mode);
    game->monster.Reset();
  }
  BuildGameScreen(WritablePath(kSaveFileName).c_str());
}

namespace {

bool SaveGameInPlay(const Game& game) {
  Log("Saving game to %s.", kSaveFileName);
  const SavedGame saved = game.Snapshot();
  Log("Saving out info for %d tiles", static_cast<int>(saved.tiles.size()));
  return WriteSavedGame(WritablePath(kSaveFileName), saved);
}

}  // namespace

bool KeepGameForLater() {
  if (!BoardCanLeave()) return false;
  if (SaveGameInPlay(*TheGame())) return true;
  LogError("Error saving game data file %s.", kSaveFileName);
  return false;
}

void SaveAndLeaveGame() {
  Game* game = TheGame();
  if (game == nullptr) return;
  if (!SaveGameInPlay(*game)) {
    // The question promised a saved game: without one the player stays in it.
    LogError("Error saving game data file %s.", kSaveFileName);
    ShowMessage("Your game could not be saved, so you stay in it.  (See log.txt.)");
    return;
  }
  game->NewRun(GetApp()->settings->mode);
  if (CAppGlo* app = GetApp()) app->soundManager->StopMusic();
  RemoveGameScreen();
  GoToTitle();
}

void EndOfGame() {
  CGlobals& g = GetGlobals();
  CAppGlo& app = *GetApp();
  g.CancelAllMessages();
  app.LoadScores();
  Game* game = TheGame();
  const int score = game != nullptr ? game->player.record.score : 0;
  if (score <= 0) {
    ShowGameSummary();
    if (game != nullptr) game->NewRun(app.settings->mode);
    RemoveGameScreen();
  } else if (app.scoreTable.Qualifies(score, CRanking::kTablePlaces)) {
    g.inputLevel = input_level::kPopup;
    OpenNameEntry("You got a local highscore!", NameFor::LocalTable);
  } else {
    g.inputLevel = input_level::kPopup;
    OpenSubmitQuestion("Would you like to submit your score to the global internet rankings?", true);
  }
}

}  // namespace spellcrypt
