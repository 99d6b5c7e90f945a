// The monster of the game screen: its picture, life bar and label, the lunge of its attacks, the
// sparks and damage numbers of hits, and the treasure chest when it dies. Created once at start-up.
#pragma once

#include <string>

#include "game/monster_record.h"
#include "ui/framework/thing.h"

namespace spellcrypt {

class CBar;
class CThingSprite;

class CMonster : public CThing {
 public:
  CMonster();
  // Its bars and pictures go with it; the application no longer points at it.
  ~CMonster() override;

  // Steps the monster's rules (attacks, the death sequence) while the game is not paused.
  void Update() override;
  // The label, 20 pixels above the life bar.
  void Draw() override;

  void Show(const MonsterRecord& monster);
  void Lunge();
  void Hit(int damage, int sparks);
  void Fall();
  void Die(int killBonus);
  // Deletes the life bar and its label, and the sprite.
  void RemoveBars();
  void RemoveSprite();

 private:
  CThingSprite* Sprite() const;
  CBar* bar_ = nullptr;
  int spriteId_ = -1;
  int treasureId_ = -1;
  std::string image_;
  int homeX_ = 0;
  int homeY_ = 0;
  float lungeSpeed_ = 0.05f;
  bool attacking_ = false;
};

}  // namespace spellcrypt
