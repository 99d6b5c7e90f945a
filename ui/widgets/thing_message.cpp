// The message line and the functions that show messages in it.
#include "ui/widgets/thing_message.h"

#include <algorithm>
#include <cstring>

#include "app/app.h"
#include "app/globals.h"
#include "base/log.h"
#include "base/text_util.h"
#include "gfx/dx_screen.h"
#include "ui/framework/layers.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

namespace {

constexpr std::size_t kMaxText = 512;

CThingMessage* FindMessageThing() {
  auto* message = GlobalsExist() && GetGlobals().things != nullptr
                      ? dynamic_cast<CThingMessage*>(GetGlobals().things->FindByName("message"))
                      : nullptr;
  if (message == nullptr) LogError("Unable to show message, CThingMessage not initted yet I guess.");
  return message;
}

}  // namespace

CThingMessage::CThingMessage() {
  SetName("message");
  layer = layer::kMessage;
  SetPosition(20, 336);
}

bool CThingMessage::SetText(const char* newText) {
  sticky = false;
  if (newText == nullptr) newText = "";
  const std::size_t length = std::strlen(newText);
  if (length > kMaxText) {
    LogError("CThingMessage:  Message is too large!");
    return false;
  }
  CopyText(text, sizeof text, newText);
  displayTimer.SetInterval(std::max<std::uint32_t>(2000, 80 * static_cast<std::uint32_t>(length)));
  active = 1;
  return true;
}

void CThingMessage::SetDisplayTime(std::uint32_t ms) {
  displayTimer.SetInterval(ms);
  active = 1;
}

void CThingMessage::Draw() {
  CDXScreen* display = GetGlobals().display;
  CAppGlo* app = GetApp();
  if (text[0] == '\0' || active != 1) return;
  if (display != nullptr && app != nullptr) {
    app->greyFont.DrawAt(static_cast<int>(x), static_cast<int>(y), text, display->GetBack());
  }
  if (!sticky && displayTimer.IsReady()) active = 0;
}

void ShowMessage(const char* text) {
  if (CThingMessage* message = FindMessageThing()) message->SetText(text);
}

void ShowMessageFor(const char* text, std::uint32_t ms) {
  // A refused text leaves the old one alone: no new display time, no stickiness.
  CThingMessage* message = FindMessageThing();
  if (message != nullptr && message->SetText(text) && ms != 0) message->SetDisplayTime(ms);
}

void ShowStickyMessage(const char* text) {
  CThingMessage* message = FindMessageThing();
  if (message != nullptr && message->SetText(text)) message->sticky = true;
}

}  // namespace spellcrypt
