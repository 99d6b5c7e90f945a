// The screen base: queued for adoption by Start, closed by MsgCloseScreen.
#include "ui/framework/screen.h"

#include "app/globals.h"

namespace spellcrypt {

Screen::~Screen() {
  if (GlobalsExist()) GetGlobals().CancelMessagesFor(this);
}

void Screen::HandleMessage(const Message& message) {
  if (message.type == MsgCloseScreen) Close();
}

bool Screen::StartOrClose() {
  if (Start()) return true;
  Close();
  return false;
}

bool Screen::Start() {
  GetGlobals().pendingScreens.push_back(this);
  return true;
}

}  // namespace spellcrypt
