// The options page.
#include "ui/menus/screen_options.h"

#include <new>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/settings.h"
#include "base/assets.h"
#include "base/log.h"
#include "ui/framework/layers.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing_list.h"
#include "ui/menus/screen_yes_no.h"

namespace spellcrypt {

namespace {

constexpr const char* kCheckBoxPicture = "graphics\\checkbox.bmp";

void PlayClick() { PlayEffect(asset::kClickSound); }

void SetSpiderLayer(int layer) {
  if (CThing* spiders = GetGlobals().things->FindByName("spiders")) spiders->layer = layer;
}

}  // namespace

ScreenOptions::ScreenOptions() = default;

ScreenOptions::~ScreenOptions() {
  if (GlobalsExist()) GetGlobals().inputLevel = 0;
}

bool ScreenOptions::Start() {
  Screen::Start();
  const Settings& settings = *GetApp()->settings;
  background_.LoadImage("graphics\\options_bg.jpg", false, kMagenta);
  background_.layer = layer::kPopupPicture;
  if (!background_.AddToList(nullptr)) return false;

  struct Box {
    CCheckBox& box;
    int y;
    bool checked;
  };
  const Box boxes[] = {{fullscreen_, 168, settings.fullscreen != 0},
                       {sound_, 212, settings.soundOff == 0},
                       {music_, 255, settings.musicOff == 0},
                       {meanings_, 124, GetApp()->preferences.showMeanings}};
  for (const Box& b : boxes) {
    b.box.LoadCheckBox(kCheckBoxPicture, b.checked);
    b.box.SetPosition(526, b.y);
    b.box.layer = 503;
    if (!b.box.AddToList(this)) return false;
  }

  struct Button {
    CMenuBut& button;
    const char* picture;
    int x;
    int y;
  };
  const Button buttons[] = {{resetTips_, "graphics\\options_reset_help.jpg", 295, 295},
                            {resetScores_, "graphics\\options_reset_scores.jpg", 332, 341},
                            {back_, "graphics\\options_go_back.jpg", 399, 384}};
  for (const Button& b : buttons) {
    b.button.SetOverImage(b.picture, false);
    b.button.SetPosition(b.x, b.y);
    b.button.layer = 502;
    if (!b.button.AddToList(this)) return false;
  }
  // Opened from the title: the title's spiders crawl over the page.
  if (GetGlobals().things->FindByName("board") == nullptr) SetSpiderLayer(503);
  return true;
}

bool ScreenOptions::HandleInput(int type, const InputEvent* event) {
  if (type != InputClicked || event == nullptr) return false;
  CGlobals& g = GetGlobals();
  Settings& settings = *GetApp()->settings;
  const int sender = event->senderId;
  if (sender == back_.id) {
    Close();
    SetSpiderLayer(4);
  } else if (sender == fullscreen_.id) {
    PlayClick();
    ToggleFullscreen();
    RestoreSurfaces();
  } else if (sender == sound_.id) {
    settings.soundOff = sound_.checked ? 0 : 1;
    ApplySoundSettings();
    PlayClick();
  } else if (sender == music_.id) {
    PlayClick();
    settings.musicOff = music_.checked ? 0 : 1;
    ApplySoundSettings();
  } else if (sender == meanings_.id) {
    PlayClick();
    GetApp()->preferences.showMeanings = meanings_.checked;
    GetApp()->SavePreferences();
  } else if (sender == resetScores_.id) {
    g.inputLevel = input_level::kQuestion;
    auto* question = new (std::nothrow) ScreenYesNo();
    if (question != nullptr) {
      question->tag = resetScores_.id;
      question->SetQuestion("Completely erase all local high scores?");
      question->Start();
    }
  } else if (sender == resetTips_.id) {
    g.inputLevel = input_level::kQuestion;
    ResetTips(settings);
    OpenNotice("Quick tips have been reset and will be shown again.");
  }
  return false;
}

void ScreenOptions::HandleMessage(const Message& message) {
  CGlobals& g = GetGlobals();
  switch (message.type) {
    case MsgSurfacesRestored:
      fullscreen_.SetChecked(GetApp()->settings->fullscreen != 0);
      break;
    case MsgAnswerYes:
      if (message.value == resetScores_.id) {
        Log("Clearing highscores");
        const bool erased = GetApp()->DeleteScores();
        g.inputLevel = input_level::kQuestion;
        // Success is told only when every score file is really gone.
        OpenNotice(erased ? "Local highscores have been reset to defaults.  Now go fill 'em up!"
                          : "The local high scores could not be erased.  See log.txt for why.");
      } else {
        g.inputLevel = input_level::kPopup;
      }
      break;
    case MsgAnswerNo:
    case MsgNoticeClosed:
      g.inputLevel = input_level::kPopup;
      break;
    default:
      break;
  }
  Screen::HandleMessage(message);
}

}  // namespace spellcrypt
