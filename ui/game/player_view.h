// The player of the game screen: the life bar with its label, the dungeon and monsters-left
// counters, the dungeon's background with its fires, and the next encounter on MsgPlayerEvent.
// Created once at start-up.
#pragma once

#include <vector>

#include "ui/framework/thing.h"

namespace spellcrypt {

class CBar;

class CPlayer : public CThing {
 public:
  CPlayer();
  ~CPlayer() override;

  // Steps the player's rules (the low-life warning, the fall, the end of the game) while the game
  // is not paused.
  void Update() override;
  // The label over the life bar and the two counters.
  void Draw() override;
  // MsgPlayerEvent: the next monster, or the dungeon is cleared.
  void HandleMessage(const Message& message) override;

  // The life bar, the counters' background and the dungeon's background with its fires.
  void ShowBars();
  void RemoveBars();
  void RemoveBackground();

 private:
  CBar* bar_ = nullptr;
  std::vector<int> scenery_;  // ids of the background and fire things
};

}  // namespace spellcrypt
