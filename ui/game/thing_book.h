// The book icon: after a boss fight it flies in a small circle, grows, and opens the book of
// upgrades.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CThingBook : public CThingSprite {
 public:
  CThingBook();

  // MsgBookPageSound, MsgBookGrow and MsgBookOpen, which the book posts to itself.
  void HandleMessage(const Message& message) override;
  // Circles around the screen centre while it grows.
  void Update() override;
};

}  // namespace spellcrypt
