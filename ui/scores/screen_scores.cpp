// The high-score screen.
#include "ui/scores/screen_scores.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/difficulty.h"
#include "base/log.h"
#include "gfx/dx_screen.h"
#include "scores/score_protocol.h"
#include "scores/word_rank.h"
#include "ui/framework/layers.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_mouse.h"
#include "ui/menus/screen_title.h"
#include "ui/scores/screen_summary.h"
#include "ui/scores/screen_transfer.h"
#include "ui/widgets/button.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {

namespace {

constexpr int kBackgroundLayer = 400;
constexpr int kButtonLayer = 402;
constexpr int kHighlightLayer = 403;
constexpr int kBackFromTitle = 14;
constexpr int kBackFromGame = 15;

class ScreenScores : public Screen {
 public:
  explicit ScreenScores(bool fromGame) : backCommand_(fromGame ? kBackFromGame : kBackFromTitle) {
    shown = this;
  }
  ~ScreenScores() override {
    if (shown == this) shown = nullptr;
    if (GlobalsExist()) GetGlobals().inputLevel = input_level::kPlaying;
  }

  static ScreenScores* shown;

  bool Start() override;
  void Update() override;
  bool HandleInput(int type, const InputEvent* event) override;
  void HandleMessage(const Message& message) override;
  CWordRank& Current();

 private:
  void Refresh();
  void ShowDetails(int row);
  bool StartDownload();

  int backCommand_;
  CWordRank internetLists_[kDifficultyCount];
  CThingSprite background_;
  CThingButton tabs_[kDifficultyCount];
  CThingButton local_;
  CMenuBut back_;
  CThingButton internet_;
  CTextBox message_;
  CThingSprite highlight_;
  bool downloadDue_ = false;
};

ScreenScores* ScreenScores::shown = nullptr;

// A tab or a switch: only a pressed picture, shown while it is the chosen one.
bool SetUpTab(Screen* screen, CThingButton& tab, const char* picture, int x, int y) {
  tab.SetPressedImage(picture);
  tab.SetMouseAware(false);
  tab.SetClickDelay(0);
  tab.noRehighlight = true;
  tab.keyboardSelectable = false;
  tab.SetPosition(x, y);
  tab.layer = kButtonLayer;
  return tab.AddToList(screen);
}

bool ScreenScores::Start() {
  Screen::Start();
  CAppGlo& app = *GetApp();
  background_.SetName("highscores");
  background_.loadOption = 1;
  if (!background_.LoadImage("graphics\\highscore_bg.jpg", false, kMagenta)) return false;
  background_.layer = kBackgroundLayer;
  if (!background_.AddToList(nullptr)) return false;
  const char* const tabPictures[kDifficultyCount] = {
      "graphics\\highscore_easy.jpg", "graphics\\highscore_normal.jpg", "graphics\\highscore_hard.jpg"};
  const int tabX[kDifficultyCount] = {72, 279, 476};
  for (int mode = 0; mode < kDifficultyCount; ++mode) {
    if (!SetUpTab(this, tabs_[mode], tabPictures[mode], tabX[mode], 382)) return false;
  }
  local_.SetName("scores_local");
  if (!SetUpTab(this, local_, "graphics\\highscore_local.jpg", 38, 411)) return false;
  back_.SetOverImage("graphics\\highscore_back_over.bmp", false);
  back_.SetPosition(290, 416);
  back_.command = backCommand_;
  back_.layer = kButtonLayer;
  if (!back_.AddToList(this)) return false;
  if (!SetUpTab(this, internet_, "graphics\\highscore_global.jpg", 389, 411)) return false;
  const CGlobals& g = GetGlobals();
  message_.SetName("scores_message");
  message_.SetFont(&app.smallFont);
  message_.SetArea(46, 345, g.width - 92, g.height);
  message_.centred = true;
  message_.lineSpacing = 0;
  message_.layer = kButtonLayer;
  if (!message_.AddToList(this)) return false;
  highlight_.SetName("score_highlight");
  highlight_.LoadImage("graphics\\score_highlight.bmp", true, kMagenta);
  highlight_.SetPosition(43, 103);
  highlight_.layer = kHighlightLayer;
  highlight_.hidden = true;
  if (!highlight_.AddToList(nullptr)) return false;
  Refresh();
  // Opened on the internet lists, the download starts with the first frame: its popup must come
  // above this screen, or its cancel button would not answer.
  downloadDue_ = app.settings->useInternetScores != 0;
  GetGlobals().PostMessage(MsgShowTip, 500, nullptr, 1);
  return true;
}

CWordRank& ScreenScores::Current() {
  CAppGlo& app = *GetApp();
  const int mode = app.settings->mode;
  return app.settings->useInternetScores && IsDifficulty(mode) ? internetLists_[mode] : app.scoreTable;
}

void ScreenScores::Refresh() {
  CAppGlo& app = *GetApp();
  const int mode = app.settings->mode;
  for (int m = 0; m < kDifficultyCount; ++m)
    tabs_[m].SetVisualState(m == mode ? kButtonPressed : kButtonNormal);
  CDXTile* surface = background_.Picture();
  if (surface != nullptr) surface->ReloadImage();
  if (!app.settings->useInternetScores) {
    app.LoadScores();
    message_.Clear();
    message_.AddText(
        "Click a score to see more info.\n  Click GLOBAL to see scores from people around the world.");
  }
  CWordRank& current = Current();
  if (surface != nullptr) {
    current.DrawRows(surface, app.smallFont, CRanking::kTablePlaces);
    if (current.Count() == 0) {
      app.smallFont.DrawInBox(0, 180, GetGlobals().width, "No hero has inscribed his or her name here yet.",
                              surface, 1);
    }
  }
  const bool internet = app.settings->useInternetScores != 0;
  local_.SetVisualState(internet ? kButtonNormal : kButtonPressed);
  internet_.SetVisualState(internet ? kButtonPressed : kButtonNormal);
}

void ScreenScores::Update() {
  CGlobals& g = GetGlobals();
  if (downloadDue_) {
    downloadDue_ = false;
    if (!StartDownload()) {
      GetApp()->settings->useInternetScores = 0;
      Refresh();
    }
  }
  if (g.mouse == nullptr) return;
  int row = 0;
  int hx = 0;
  int hy = 0;
  if (Current().RowAt(static_cast<int>(g.mouse->x), static_cast<int>(g.mouse->y), row, hx, hy)) {
    highlight_.SetPosition(hx, hy);
    highlight_.hidden = false;
  } else {
    highlight_.hidden = true;
  }
}

bool ScreenScores::StartDownload() {
  message_.Clear();
  return OpenDownloadScores();
}

void ScreenScores::ShowDetails(int row) {
  const CScoreObject* entry = Current().EntryAt(row);
  if (entry == nullptr) return;
  if (&Current() != &GetApp()->scoreTable) {
    OpenDownloadScores(entry->name.c_str(), entry->score);
    return;
  }
  ScreenSummary* summary = OpenSummaryFromScores();
  if (summary == nullptr) return;
  char line[160];
  std::snprintf(line, sizeof line, "Name: %s", entry->name.c_str());
  summary->Box().AddLine(line);
  if (entry->summary.size() > 1) {
    summary->Box().AddText(entry->summary);
  } else {
    summary->Box().AddLine("");
    summary->Box().AddText(
        "(this highscore was from an older version of spellcrypt that didn't save extra data!)");
  }
}

bool ScreenScores::HandleInput(int type, const InputEvent* event) {
  CGlobals& g = GetGlobals();
  CAppGlo& app = *GetApp();
  if (type == InputMouseDown && g.mouse != nullptr) {
    int row = 0;
    int hx = 0;
    int hy = 0;
    if (Current().RowAt(static_cast<int>(g.mouse->x), static_cast<int>(g.mouse->y), row, hx, hy))
      ShowDetails(row);
    return false;
  }
  if (type != InputClicked || event == nullptr) return false;
  for (int mode = 0; mode < kDifficultyCount; ++mode) {
    if (event->senderId == tabs_[mode].id) {
      app.settings->mode = mode;
      Refresh();
    }
  }
  if (event->senderId == internet_.id) {
    // Once on the internet lists, a second click starts nothing more.
    if (!app.settings->useInternetScores) {
      if (!StartDownload()) return false;
      app.settings->useInternetScores = 1;
    }
    Refresh();
  } else if (event->senderId == local_.id) {
    app.settings->useInternetScores = 0;
    Refresh();
  } else if (event->senderId == back_.id) {
    Close();
    if (back_.command == kBackFromGame) GoToTitle();
  }
  return false;
}

void ScreenScores::HandleMessage(const Message& message) {
  CAppGlo& app = *GetApp();
  switch (message.type) {
    case MsgSurfacesRestored:
      Log("Updating background and button states..");
      Refresh();
      break;
    case MsgDownloadCancelled:
      app.settings->useInternetScores = 0;
      Refresh();
      break;
    case MsgScoresDownloaded: {
      std::string text;
      const std::string reply(
          message.data != nullptr ? message.data : "",
          message.data != nullptr ? static_cast<std::size_t>(std::max(0, message.value)) : 0);
      if (ParseScoreLists(reply, {&internetLists_[0], &internetLists_[1], &internetLists_[2]}, text)) {
        message_.Clear();
        message_.AddText(text);
      }
      Refresh();
      break;
    }
    case MsgScoreDetailDownloaded: {
      ScreenSummary* summary = OpenSummaryFromScores();
      if (summary == nullptr) break;
      summary->Box().AddLine("Name: " + DownloadedEntryName(message.sender));
      if (message.data != nullptr) {
        summary->Box().AddText(
            std::string(message.data, static_cast<std::size_t>(std::max(0, message.value))));
      }
      break;
    }
    default:
      break;
  }
  Screen::HandleMessage(message);
}

}  // namespace

bool OpenHighScores(bool fromGame) {
  GetGlobals().inputLevel = input_level::kPopup;
  auto* scores = new (std::nothrow) ScreenScores(fromGame);
  if (scores == nullptr || !scores->StartOrClose()) {
    LogError("Unable to init the high-score screen");
    return false;
  }
  return true;
}

const CWordRank* ShownScores() {
  return ScreenScores::shown != nullptr && !ScreenScores::shown->closed ? &ScreenScores::shown->Current()
                                                                        : nullptr;
}

}  // namespace spellcrypt
