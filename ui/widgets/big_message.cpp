// Big messages.
#include "ui/widgets/big_message.h"

#include <cstring>

#include "app/app.h"
#include "base/log.h"
#include "base/text_util.h"
#include "ui/framework/layers.h"

namespace spellcrypt {

namespace {
constexpr std::size_t kMaxText = 512;
constexpr int kTextTop = 67;
}  // namespace

CBigMessage::CBigMessage() {
  SetName("bigmsg");
  layer = layer::kBigMessage;
  if (CAppGlo* app = GetApp()) font = &app->summaryFont;
}

bool CBigMessage::Accept(const char* newText) {
  sticky = false;
  if (newText == nullptr) newText = "";
  if (std::strlen(newText) > kMaxText) {
    LogError("CBigMessage:  Message is too large!");
    return false;
  }
  CopyText(text, sizeof text, newText);
  return true;
}

void CBigMessage::Render(const Placed& placed) {
  if (font == nullptr || !HasImage()) return;
  CDXTile* sheet = image.Sheet();
  if (placed.centred) {
    font->DrawInBox(placed.x, placed.y, sheet->Width(), placed.text.c_str(), sheet, 1);
  } else {
    font->DrawAt(placed.x, placed.y, placed.text.c_str(), sheet);
  }
}

void CBigMessage::SetText(const char* newText) {
  if (!Accept(newText)) return;
  written_.push_back(Placed{0, kTextTop, text, true});
  Render(written_.back());
}

void CBigMessage::WriteTextAt(int px, int py, const char* newText) {
  if (!Accept(newText)) return;
  written_.push_back(Placed{px, py, text, false});
  Render(written_.back());
}

void CBigMessage::RestoreSurfaces() {
  CThingSprite::RestoreSurfaces();
  for (const Placed& placed : written_) Render(placed);
}

}  // namespace spellcrypt
