// The book icon.
#include "ui/game/thing_book.h"

#include <cmath>

#include "app/globals.h"
#include "base/log.h"
#include "ui/framework/sound.h"
#include "ui/game/screen_book.h"

namespace spellcrypt {

CThingBook::CThingBook() {
  LoadImage("graphics\\book\\book_small.bmp", true, kMagenta);
  SetPosition(106, 159);
  scale = 0.2f;
  ScaleTo(1.0f, 0.01f);
  PlayEffect("sound\\blip.wav");
  // The page-turn sound is loaded (and cached) by the sound manager the first time it plays.
  ResetDelta();
  CGlobals& g = GetGlobals();
  g.PostMessage(MsgBookGrow, 1000, this, 0);
  g.PostMessage(MsgBookOpen, 1500, this, 0);
  g.PostMessage(MsgBookPageSound, 1150, this, 0);
}

void CThingBook::HandleMessage(const Message& message) {
  switch (message.type) {
    case MsgBookPageSound:
      PlayEffect("sound\\page_turn.ogg");
      break;
    case MsgBookGrow:
      ScaleTo(3.0f, 0.01f);
      break;
    case MsgBookOpen:
      SetLife(0);
      if (!OpenBookScreen()) LogError("Unable to init book screen");
      break;
    default:
      CThingSprite::HandleMessage(message);
      break;
  }
}

void CThingBook::Update() {
  const Point centre = Centre();
  const float angle = static_cast<float>((GetGlobals().now / 3) % 628) / 100.0f;
  const int px = static_cast<int>(static_cast<float>(centre.x) - 20.0f * std::sin(angle));
  const int py = static_cast<int>(static_cast<float>(centre.y) + 20.0f * std::cos(angle));
  MoveTo(px, py, 0.08f, kMoveEase);
  CThingSprite::Update();
}

}  // namespace spellcrypt
