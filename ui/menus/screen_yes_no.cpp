// Question and notice popups.
#include "ui/menus/screen_yes_no.h"

#include <new>

#include "app/globals.h"
#include "base/log.h"

namespace spellcrypt {

namespace {
constexpr const char* kPopupPicture = "graphics\\popup.jpg";
constexpr int kEnter = 13;
constexpr int kEscape = 27;

bool IsChar(int type, const InputEvent* event, int key) {
  return type == InputChar && event != nullptr && event->key == key;
}

bool IsClickFrom(int type, const InputEvent* event, const CThing& button) {
  return type == InputClicked && event != nullptr && event->senderId == button.id;
}
}  // namespace

bool ScreenYesNo::Start() {
  Screen::Start();
  if (!frame.Build(this, kPopupPicture)) return false;
  yes.SetName("yes");
  no.SetName("no");
  if (!frame.AddButton(this, yes, "graphics\\yes.bmp", "graphics\\yes_over.bmp", 66, 123)) return false;
  // The questions asked here erase or send something on yes: Enter alone answers no.
  no.enterDefault = true;
  return frame.AddButton(this, no, "graphics\\no.bmp", "graphics\\no_over.bmp", 213, 123);
}

void ScreenYesNo::SetQuestion(const char* text) {
  question = text != nullptr ? text : "";
  frame.SetText(question.c_str());
}

void ScreenYesNo::Answer(int messageType) {
  GetGlobals().PostMessage(messageType, 0, nullptr, tag);
  Close();
}

bool ScreenYesNo::HandleInput(int type, const InputEvent* event) {
  if (IsClickFrom(type, event, yes)) {
    Answer(MsgAnswerYes);
  } else if (IsClickFrom(type, event, no) || IsChar(type, event, kEscape)) {
    Answer(MsgAnswerNo);
  }
  return false;
}

bool ScreenContinue::Start() {
  Screen::Start();
  if (!frame.Build(this, kPopupPicture)) return false;
  return frame.AddButton(this, continueButton, "graphics\\popup_continue.bmp",
                         "graphics\\popup_continue_over.bmp", 139, 124);
}

void ScreenContinue::SetText(const char* newText) {
  text = newText != nullptr ? newText : "";
  frame.SetText(text.c_str());
}

bool ScreenContinue::HandleInput(int type, const InputEvent* event) {
  if (IsClickFrom(type, event, continueButton) || IsChar(type, event, kEnter) ||
      IsChar(type, event, kEscape)) {
    GetGlobals().PostMessage(MsgNoticeClosed, 0, nullptr, 0);
    Close();
  }
  return false;
}

bool OpenNotice(const char* text) {
  auto* notice = new (std::nothrow) ScreenContinue();
  if (notice == nullptr) return false;
  notice->SetText(text);
  if (notice->Start()) return true;
  LogError("Unable to open the notice \"%s\".", text);
  return false;
}

}  // namespace spellcrypt
