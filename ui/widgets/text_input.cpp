// Text inputs.
#include "ui/widgets/text_input.h"

#include <algorithm>
#include <cstring>

#include "app/globals.h"
#include "base/keys.h"
#include "base/text_util.h"
#include "gfx/bitmap_font.h"
#include "gfx/dx_screen.h"
#include "ui/framework/layers.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

CTextInput::CTextInput() {
  SetName("text_input");
  layer = layer::kTextInput;
}

int CTextInput::Capacity() const {
  // maxLength is public; never let it reach past the buffer.
  return std::clamp(maxLength - 1, 0, static_cast<int>(sizeof text) - 1);
}

void CTextInput::SetText(const char* newText) {
  CopyText(text, static_cast<std::size_t>(Capacity()) + 1, newText != nullptr ? newText : "");
}

void CTextInput::HandleInput(int type, const InputEvent* event) {
  CThingSprite::HandleInput(type, event);
  if (type != InputChar || event == nullptr || level < GetGlobals().inputLevel) return;
  const int length = static_cast<int>(std::strlen(text));
  switch (event->key) {
    case vk::Enter:
      GetGlobals().things->BroadcastInput(InputTextEntered, id, 0);
      break;
    case vk::Escape:
      break;
    case vk::Backspace:
      if (length > 0) text[length - 1] = '\0';
      break;
    default:
      if (length < Capacity() && std::strchr(refused, event->key) == nullptr) {
        text[length] = static_cast<char>(event->key);
        text[length + 1] = '\0';
      }
      break;
  }
}

void CTextInput::Draw() {
  CThingSprite::Draw();
  CDXScreen* display = GetGlobals().display;
  if (hidden || font == nullptr || display == nullptr) return;
  char shown[sizeof text + 1];
  std::strcpy(shown, text);
  if (showCursor) {
    if (cursorPhase) std::strcat(shown, "*");
    if (blinkTimer.IsReady()) cursorPhase = !cursorPhase;
  }
  font->DrawAt(static_cast<int>(x), static_cast<int>(y), shown, display->GetBack());
}

}  // namespace spellcrypt
