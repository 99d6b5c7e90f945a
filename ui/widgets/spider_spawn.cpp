// Creature spawners.
#include "ui/widgets/spider_spawn.h"

#include <algorithm>

#include "app/globals.h"
#include "base/assets.h"
#include "base/random.h"
#include "gfx/dx_screen.h"

namespace spellcrypt {

namespace {
constexpr std::uint32_t kFrameStepMs = 50;
constexpr float kStepScale = 0.1f;
}  // namespace

CSpiderSpawn::CSpiderSpawn() {
  layer = RandomRange(1, 2);
  LoadImage(asset::kMenuSpiders, 4, true, kMagenta);
  SetPosition(300, 200);
}

void CSpiderSpawn::StopSpawningAfter(std::uint32_t ms) {
  stopTimer.SetInterval(ms);
  stopAfter = true;
}

void CSpiderSpawn::Spawn() {
  Creature creature;
  if (style == kSpidersCrawl) {
    creature.x = 646.0f;
    creature.y = 14.0f;
  } else {
    creature.x = static_cast<float>(RandomRange(20, 530));
    creature.y = -10.0f;
  }
  creatures_.push_back(creature);
}

void CSpiderSpawn::Move(Creature& c, std::uint32_t now, float delta) const {
  if (style == kSpidersCrawl) {
    // Crawl a little, rest a little.
    if (c.moving == 0 && now > c.nextChange) {
      c.moving = 1;
      c.nextChange = now + static_cast<std::uint32_t>(RandomRange(400, 800));
      c.dx = RandomRange(-8, -4);
      c.dy = RandomRange(5, 10);
    }
    if (c.moving != 0) {
      c.x += static_cast<float>(c.dx) * delta * kStepScale;
      c.y += static_cast<float>(c.dy) * delta * kStepScale;
      if (now > c.nextFrame) {
        c.frame = (c.frame + 1) % 4;
        c.nextFrame = now + kFrameStepMs;
      }
    }
    if (now > c.nextChange) {
      c.moving = 0;
      c.nextChange = now + static_cast<std::uint32_t>(RandomRange(300, 500));
    }
    return;
  }
  // Falling: a fresh drift every so often, always moving, every frame of the strip in turn.
  if (now > c.nextChange) {
    c.moving = 1;
    c.nextChange = now + static_cast<std::uint32_t>(RandomRange(400, 800));
    c.dx = RandomRange(-5, 5);
    c.dy = RandomRange(5, 10);
  }
  c.x += static_cast<float>(c.dx) * delta * kStepScale;
  c.y += static_cast<float>(c.dy) * delta * kStepScale;
  if (now > c.nextFrame) {
    const int frames = std::max(1, FrameCount());
    c.frame = (c.frame + 1) % frames;
    c.nextFrame = now + kFrameStepMs;
  }
}

void CSpiderSpawn::Update() {
  const CGlobals& g = GetGlobals();
  if (stopAfter && stopTimer.IsReady()) spawning = false;
  if (spawnTimer.IsReady() && spawning) Spawn();
  for (Creature& creature : creatures_) Move(creature, g.now, g.delta);
  const float bottom = static_cast<float>(g.height + 10);
  creatures_.erase(std::remove_if(creatures_.begin(), creatures_.end(),
                                  [bottom](const Creature& c) { return c.y > bottom; }),
                   creatures_.end());
  UpdateLife();
}

void CSpiderSpawn::Draw() {
  CDXScreen* display = GetGlobals().display;
  if (hidden || display == nullptr || !HasImage()) return;
  for (const Creature& creature : creatures_) {
    image.SetPos(static_cast<int>(creature.x), static_cast<int>(creature.y));
    image.SetFrame(creature.frame);
    image.SetScale(1.0f);
    image.SetTranslucency(0);
    image.Draw(display->GetBack(), 0, 0, kDrawKeyed);
  }
}

}  // namespace spellcrypt
