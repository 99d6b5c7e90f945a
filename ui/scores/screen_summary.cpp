// The summary screen.
#include "ui/scores/screen_summary.h"

#include <new>

#include "app/app.h"
#include "app/globals.h"
#include "base/keys.h"
#include "base/log.h"
#include "game/game.h"
#include "platform/platform.h"
#include "scores/strong_words.h"
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
constexpr const char* kMeaningsPicture = "graphics\\summary_meanings.bmp";
constexpr const char* kSummaryPicture = "graphics\\summary_story.bmp";
constexpr int kMeaningsX = 474;
constexpr int kMeaningsY = 385;

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
  // The meanings are the game's own addition: a summary without their button is still whole.
  meanings_.SetNormalImage(kMeaningsPicture);
  meanings_.SetOverImage(kMeaningsPicture, false);
  meanings_.SetPosition(kMeaningsX, kMeaningsY);
  meanings_.layer = kButtonLayer;
  if (!meanings_.HasImage() || !meanings_.AddToList(this)) LogError("The summary has no meanings button.");
  return box_.Slider() != nullptr;
}

void ScreenSummary::ToggleMeanings() {
  const char* picture = kMeaningsPicture;
  if (!showingMeanings_) {
    summaryLines_ = box_.Lines();
    std::string text;
    box_.GetAllText(text);
    box_.Clear();
    TextBoxLines lines(box_);
    CAppGlo* app = GetApp();
    if (app != nullptr) AppendStrongWordMeanings(lines, StrongWordsOf(text), app->meanings);
    picture = kSummaryPicture;
  } else {
    box_.Clear();
    for (const std::string& line : summaryLines_) box_.AddLine(line);
    summaryLines_.clear();
  }
  showingMeanings_ = !showingMeanings_;
  box_.Scroll(0);  // from the top, the slider's knob with it
  meanings_.SetNormalImage(picture);
  meanings_.SetOverImage(picture, false);
}

void ScreenSummary::Copy() {
  std::string text;
  if (showingMeanings_) {
    for (const std::string& line : summaryLines_) text += line + "\r\n";
  } else {
    box_.GetAllText(text);
  }
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
  } else if (type == InputClicked && event->senderId == meanings_.id) {
    ToggleMeanings();
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
