// Keyboard focus between buttons.
#include "ui/framework/keyboard_focus.h"

#include <cmath>
#include <vector>

#include "app/globals.h"
#include "base/log.h"
#include "platform/platform.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_mouse.h"

namespace spellcrypt {

namespace {

constexpr double kSamePlace = 1e-12;

bool IsFocusCandidate(const CThing* thing) {
  if (thing->kind != 1) return false;
  const auto* sprite = dynamic_cast<const CThingSprite*>(thing);
  return sprite != nullptr && sprite->keyboardSelectable;
}

bool UnderPointer(const CThingSprite* sprite, const CThingMouse* mouse) {
  return std::fabs(static_cast<double>(sprite->x) - static_cast<double>(mouse->x)) <= kSamePlace &&
         std::fabs(static_cast<double>(sprite->y) - static_cast<double>(mouse->y)) <= kSamePlace;
}

void MovePointerTo(const CThingSprite* sprite) {
  SetPointerPos(static_cast<int>(sprite->x), static_cast<int>(sprite->y));
}

// A simulated press (the button applies its own input gating), then the pointer is parked off
// the frame so that no button stays highlighted under it.
void PressFromKeyboard(CThingSprite* sprite) {
  sprite->HandleInput(InputMouseDown, nullptr);
  const CGlobals& g = GetGlobals();
  SetPointerPos(g.width, g.height);
}

}  // namespace

void HandleNavigationKey(int key) {
  switch (key) {
    case vk::Enter:
    case vk::Space:
      if (!ClickButtonUnderPointer()) ClickHighlightedOrDefaultButton();
      break;
    case vk::Left:
    case vk::Up:
      MovePointerToButton(-1);
      break;
    case vk::Right:
    case vk::Down:
      MovePointerToButton(+1);
      break;
    default:
      break;
  }
}

bool ClickButtonUnderPointer() {
  CGlobals& g = GetGlobals();
  if (g.mouse == nullptr || g.things == nullptr) return false;
  // Collect first: a click may add or kill things while the walk goes on.
  std::vector<CThingSprite*> hits;
  g.things->ForEachLive([&](CThing* thing) {
    if (thing->level > g.inputLevel || !IsFocusCandidate(thing)) return;
    auto* sprite = static_cast<CThingSprite*>(thing);
    if (UnderPointer(sprite, g.mouse)) hits.push_back(sprite);
  });
  for (CThingSprite* sprite : hits) {
    if (g.things->FindById(sprite->id) != sprite) continue;  // gone meanwhile
    PressFromKeyboard(sprite);
  }
  return !hits.empty();
}

bool ClickHighlightedOrDefaultButton() {
  CGlobals& g = GetGlobals();
  if (g.mouse == nullptr || g.things == nullptr) return false;
  CThingSprite* highlighted = nullptr;
  CThingSprite* fallback = nullptr;
  g.things->ForEachLive([&](CThing* thing) {
    if (!IsFocusCandidate(thing) || !thing->InputAllowed()) return;
    auto* sprite = static_cast<CThingSprite*>(thing);
    if (sprite->hidden) return;
    if (sprite->enterDefault) fallback = sprite;
    if (sprite->hovering && sprite->PointerInside()) highlighted = sprite;
  });
  // Only popups name a default; elsewhere Enter and Space keep their own meanings (casting,
  // typing) and a button the pointer merely rests on is not pressed by them.
  if (fallback == nullptr) return false;
  CThingSprite* target = highlighted != nullptr ? highlighted : fallback;
  MovePointerTo(target);
  PressFromKeyboard(target);
  return true;
}

void MovePointerToButton(int direction) {
  CGlobals& g = GetGlobals();
  if (g.mouse == nullptr || g.things == nullptr) return;
  std::vector<const CThingSprite*> candidates;
  g.things->ForEachLive([&](CThing* thing) {
    if (thing->level >= g.inputLevel && IsFocusCandidate(thing)) {
      candidates.push_back(static_cast<const CThingSprite*>(thing));
    }
  });
  if (candidates.empty()) return;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (!UnderPointer(candidates[i], g.mouse)) continue;
    if (direction > 0) {
      MovePointerTo(i + 1 < candidates.size() ? candidates[i + 1] : candidates.front());
    } else if (i == 0) {
      Log("Wrap to last..");
      MovePointerTo(candidates.back());
    } else {
      MovePointerTo(candidates[i - 1]);
    }
    return;
  }
  MovePointerTo(direction > 0 ? candidates.back() : candidates.front());
}

void SetPointerPos(int x, int y) {
  CGlobals& g = GetGlobals();
  g.platform->SetPointerPos(x, y);
  // The pointer thing follows at once: the platform may report the move late, or (off the frame,
  // or headless) not at all, and the next arrow key must find the pointer where it was put.
  if (g.mouse != nullptr) g.mouse->SetPosition(x, y);
}

}  // namespace spellcrypt
