// A creature spawner: small animated spiders that crawl in from the right (the title screen) or
// fall from the top (secret-word effects).
#pragma once

#include <cstdint>
#include <vector>

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

constexpr int kSpidersCrawl = 0;
constexpr int kSpidersFall = 1;

class CSpiderSpawn : public CThingSprite {
 public:
  CSpiderSpawn();

  void Draw() override;
  // Spawning, motion and removal of the creatures; the rest of the sprite update does not run.
  void Update() override;
  void StopSpawningAfter(std::uint32_t ms);

  struct Creature {
    float x = 0.0f;
    float y = 0.0f;
    int moving = 0;
    std::uint32_t nextChange = 0;
    std::uint32_t nextFrame = 0;
    int frame = 0;
    int dx = 0;
    int dy = 0;
  };
  const std::vector<Creature>& Creatures() const { return creatures_; }

  int style = kSpidersCrawl;
  IntervalTimer spawnTimer{GameClock(), 500};
  IntervalTimer stopTimer{GameClock()};
  bool stopAfter = false;
  bool spawning = true;

 private:
  void Spawn();
  void Move(Creature& creature, std::uint32_t now, float delta) const;
  std::vector<Creature> creatures_;
};

}  // namespace spellcrypt
