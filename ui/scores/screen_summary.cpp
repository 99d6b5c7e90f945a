// The summary screen.
#include "ui/scores/screen_summary.h"

#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/keys.h"
#include "base/log.h"
#include "game/game.h"
#include "platform/platform.h"
#include "scores/validation_key.h"
#include "ui/framework/layers.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_view.h"
#include "ui/scores/screen_scores.h"
#include "ui/scores/summary_box.h"
#include "ui/widgets/big_message.h"

namespace spellcrypt {

namespace {

constexpr int kBoxLayer = 500;
constexpr int kButtonLayer = 501;
constexpr int kCopiedLayer = 505;
constexpr std::uint32_t kCopiedMs = 1000;
constexpr int kFromScoresLevel = 300;

// A scroll arrow: listed by the game's list, obeying this screen.
int AddArrow(Screen* screen, const char* picture, int x, int y) {
  auto* arrow = new CMenuBut();
  arrow->SetNormalImage(picture);
  arrow->SetOverImage(picture, false);
  arrow->SetPosition(x, y);
  arrow->SetClickDelay(150);
  arrow->layer = kButtonLayer;
  arrow->keyboardSelectable = false;
  const int id = GetGlobals().things->Add(arrow);
  arrow->owner = screen;
  return id;
}

// "Text copied", or why not, over the middle of the screen for a moment.
void ShowCopyOutcome(bool copied) {
  auto* notice = new CBigMessage();
  notice->layer = kCopiedLayer;
  notice->SetLife(kCopiedMs);
  if (copied) {
    notice->LoadImage("graphics\\summary_textcopied.bmp", true, kMagenta);
    PlayEffect("sound\\health.wav");
  } else {
    LogError("The summary could not be copied to the clipboard.");
    notice->LoadImage("graphics\\popup.jpg", false, kMagenta);
    notice->SetText("The summary could not be copied.");
    notice->SetLife(2 * kCopiedMs);
  }
  const CThingSprite::Point centre = notice->Centre();
  notice->SetPosition(centre.x, centre.y);
  GetGlobals().things->Add(notice);
}

}  // namespace

bool ScreenSummary::Start() {
  Screen::Start();
  CAppGlo* app = GetApp();
  if (app == nullptr) return false;
  box_.SetFont(&app->summaryFont);
  box_.SetPosition(0, 0);
  box_.SetArea(93, 100, 442, 269);
  if (!box_.LoadImage("graphics\\summary_bg.bmp", true, kMagenta)) return false;
  box_.layer = kBoxLayer;
  if (!box_.AddToList(this)) return false;
  box_.AttachSlider("graphics\\summary_slider.bmp", 536, 117, 205);
  upId_ = AddArrow(this, "graphics\\summary_arrow_up.bmp", 536, 105);
  downId_ = AddArrow(this, "graphics\\summary_arrow_down.bmp", 536, 368);
  box_.SetUpButton(upId_, 536, 105);
  box_.SetDownButton(downId_, 536, 368);
  struct Button {
    CMenuBut& button;
    const char* picture;
    int x, y;
  };
  for (const Button& b : {Button{continue_, "graphics\\summary_click.bmp", 332, 382},
                          Button{copy_, "graphics\\summary_copy.bmp", 128, 385}}) {
    b.button.SetNormalImage(b.picture);
    b.button.SetOverImage(b.picture, false);
    if (!b.button.HasImage()) return false;
    b.button.SetPosition(b.x, b.y);
    b.button.layer = kButtonLayer;
    if (!b.button.AddToList(this)) return false;
  }
  return box_.Slider() != nullptr;
}

void ScreenSummary::Copy() {
  std::string text;
  box_.GetAllText(text);
  const std::string copied = SummaryWithKey(text);
  // Only a copy that reached the clipboard is confirmed as one; a browser answers a little later,
  // when the summary may be gone (the notice stands on its own) or the game over (nothing shows).
  GetGlobals().platform->CopyText(copied.c_str(), [](bool done) {
    if (GlobalsExist() && GetGlobals().things != nullptr) ShowCopyOutcome(done);
  });
}

void ScreenSummary::Continue() {
  if (closing_) return;
  closing_ = true;
  Close();
  if (fromScores_) {
    GetGlobals().inputLevel = input_level::kPopup;
  } else {
    OpenHighScores(true);
  }
}

bool ScreenSummary::HandleInput(int type, const InputEvent* event) {
  if (event == nullptr) return false;
  if (type == InputChar && event->key == vk::Escape) {
    Continue();
  } else if (type == InputClicked && event->senderId == continue_.id) {
    Continue();
  } else if (type == InputClicked && event->senderId == copy_.id) {
    Copy();
  }
  return false;
}

void ShowGameSummary() {
  CGlobals& g = GetGlobals();
  g.PostMessage(MsgEndingClose, 0, nullptr, 0);
  auto* summary = new (std::nothrow) ScreenSummary(false);
  if (summary == nullptr || !summary->StartOrClose()) {
    LogError("Unable to init the summary screen");
    return;
  }
  if (Game* game = TheGame()) AppendGameSummary(summary->Box(), *game, false);
}

ScreenSummary* OpenSummaryFromScores() {
  GetGlobals().inputLevel = kFromScoresLevel;
  auto* summary = new (std::nothrow) ScreenSummary(true);
  if (summary == nullptr || !summary->StartOrClose()) {
    LogError("Unable to init the summary screen");
    return nullptr;
  }
  return summary;
}

}  // namespace spellcrypt
