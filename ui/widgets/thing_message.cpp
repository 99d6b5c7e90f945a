// The message line and the functions that show messages in it.
#include "ui/widgets/thing_message.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/app.h"
#include "app/globals.h"
#include "base/log.h"
#include "base/text_util.h"
#include "gfx/dx_screen.h"
#include "gfx/dx_surface.h"
#include "gfx/dx_types.h"
#include "ui/framework/layers.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

namespace {

constexpr std::size_t kMaxText = 512;
// The note is blended over the box: this much of what lies under it shows through (of 256).
constexpr int kNoteShowThrough = 104;
constexpr int kNoteGap = 4;  // pixels between the text's last line and the note
constexpr std::uint32_t kNoteKey = 0xFF00FF;

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

CThingMessage::~CThingMessage() = default;

void CThingMessage::RestoreSurfaces() {
  CThingSprite::RestoreSurfaces();
  noteDrawn_ = false;
}

void CThingMessage::SetNote(std::string newNote) {
  note_ = std::move(newNote);
  noteDrawn_ = false;
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
  SetNote({});
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
    if (!note_.empty()) DrawNote(1 + static_cast<int>(std::count(text, text + std::strlen(text), '\n')));
  }
  if (!sticky && displayTimer.IsReady()) active = 0;
}

void CThingMessage::DrawNote(int textLines) {
  CDXScreen* display = GetGlobals().display;
  CAppGlo* app = GetApp();
  BitmapFont& font = app->smallFont;
  if (!font.Loaded()) return;
  if (!noteDrawn_) {
    noteDrawn_ = true;
    const int width = std::min(font.TextWidth(note_.c_str()), kMessageNoteWidth);
    const int height = font.GlyphHeight(' ');
    noteSurface_ = std::make_unique<CDXSurface>();
    if (width <= 0 || height <= 0 || noteSurface_->CreateBlank(display, width, height) != 1) {
      LogError("CThingMessage: unable to make the note's surface.");
      noteSurface_.reset();
      return;
    }
    noteSurface_->Fill(kNoteKey);
    noteSurface_->SetColorKey(kNoteKey);
    font.DrawAt(0, 0, note_.c_str(), noteSurface_.get());
  }
  if (noteSurface_ == nullptr) return;
  // At each line feed the font's pen moves down by the height of its first glyph, the blank.
  const int lineHeight = std::max(0, app->greyFont.GlyphHeight(' '));
  const DXRect all{0, 0, noteSurface_->Width(), noteSurface_->Height()};
  noteSurface_->Draw(display->GetBack(), static_cast<int>(x),
                     static_cast<int>(y) + textLines * lineHeight + kNoteGap, all, kDrawKeyedTranslucent,
                     kNoteShowThrough);
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
