// The question popup (yes or no) and the notice popup (continue). Both post their answer to
// everyone at once; the asker recognises its question by the tag.
#pragma once

#include <string>

#include "ui/framework/screen.h"
#include "ui/widgets/popup_frame.h"

namespace spellcrypt {

class ScreenYesNo : public Screen {
 public:
  bool Start() override;
  // Yes posts MsgAnswerYes, no or Escape MsgAnswerNo (value = tag); Enter does not answer.
  bool HandleInput(int type, const InputEvent* event) override;
  void SetQuestion(const char* text);

  int tag = 0;
  std::string question;

 protected:
  // Posts the answer to everyone and closes; a closed popup answers nothing more.
  void Answer(int messageType);

  PopupFrame frame;
  CMenuBut yes;
  CMenuBut no;
};

class ScreenContinue : public Screen {
 public:
  bool Start() override;
  // The continue button, Enter or Escape post MsgNoticeClosed.
  bool HandleInput(int type, const InputEvent* event) override;
  void SetText(const char* newText);

  std::string text;

 protected:
  PopupFrame frame;
  CMenuBut continueButton;
};

// Opens a notice with the text at the current input level; false when it could not start.
bool OpenNotice(const char* text);

}  // namespace spellcrypt
