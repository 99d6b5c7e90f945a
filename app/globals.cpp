// The global state object: message queue, screen step and the fan-out of broadcast messages.
#include "app/globals.h"

#include <memory>

#include "base/log.h"
#include "base/timing.h"
#include "gfx/dx_screen.h"
#include "platform/platform.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

namespace {
std::unique_ptr<CGlobals>& GlobalsSlot() {
  static std::unique_ptr<CGlobals> globals;
  return globals;
}
// The high-resolution counter's reading mixed with the time of day: two starts differ even in the
// same second or on a machine whose counter is coarse.
std::uint32_t SimpleSeed(IClock& clock) {
  const auto counter = static_cast<std::uint64_t>(clock.Counter());
  const std::uint64_t mixed = counter ^ (static_cast<std::uint64_t>(clock.UnixTime()) * 2654435761u);
  return static_cast<std::uint32_t>(mixed ^ (mixed >> 32));
}

}  // namespace

CGlobals& GetGlobals() { return *GlobalsSlot(); }
bool GlobalsExist() { return GlobalsSlot() != nullptr; }

CGlobals& CreateGlobals(IPlatform& platform) {
  DestroyGlobals();
  GlobalsSlot() = std::make_unique<CGlobals>(platform);
  CGlobals& g = *GlobalsSlot();
  SetLogSink(&platform);
  g.mersenne.Seed(static_cast<std::uint32_t>(platform.UnixTime()));
  // The tick count starts at 0 when the platform's clock starts, which is at the first reading
  // for SDL: a seed from it would deal the same letters every run. The high-resolution counter
  // runs from the machine's start, so two program starts differ.
  g.simpleRandom.Seed(SimpleSeed(platform));
  return g;
}

void DestroyGlobals() {
  // The object stays reachable while it tears down: screens and things it deletes still call
  // GetGlobals from their destructors.
  if (GlobalsSlot()) {
    GlobalsSlot()->Teardown();
    GlobalsSlot().reset();
  }
  SetLogSink(nullptr);
}

CGlobals::CGlobals(IPlatform& platformServices)
    : platform(&platformServices), things(new CThingList()), clock(platformServices) {}

CGlobals::~CGlobals() { Teardown(); }

void CGlobals::Teardown() {
  while (!screens.empty()) {
    Screen* top = screens.back();
    screens.pop_back();
    delete top;
  }
  while (!pendingScreens.empty()) {
    Screen* pending = pendingScreens.back();
    pendingScreens.pop_back();
    delete pending;
  }
  delete things;
  things = nullptr;
  mouse = nullptr;
  delete display;
  display = nullptr;
  messages.clear();
}

Screen* CGlobals::InputScreen() const {
  for (auto it = screens.rbegin(); it != screens.rend(); ++it) {
    if (!(*it)->closed) return *it;
  }
  return nullptr;
}

void CGlobals::HandleMessage(const Message& message) {
  const std::size_t count = screens.size();
  for (std::size_t i = 0; i < screens.size(); ++i) {
    screens[i]->HandleMessage(message);
    if (screens.size() != count) break;
  }
  if (things != nullptr) things->BroadcastMessage(message);
  if (extraReceiver != nullptr) extraReceiver->HandleMessage(message);
}

void CGlobals::PostMessage(int type, std::uint32_t delayMs, MessageReceiver* receiver, int value,
                           const char* data, void* sender) {
  Message message;
  message.type = type;
  message.receiver = receiver != nullptr ? receiver : this;
  message.value = value;
  message.data = data;
  message.sender = sender;
  if (delayMs == 0) {
    message.receiver->HandleMessage(message);
    return;
  }
  message.dueTime = now + delayMs;
  messages.push_back(message);
}

void CGlobals::PostGameMessage(int type, std::uint32_t delayMs, MessageReceiver* receiver, int value) {
  if (delayMs == 0) {
    PostMessage(type, 0, receiver, value);
    return;
  }
  Message message;
  message.type = type;
  message.receiver = receiver != nullptr ? receiver : this;
  message.value = value;
  message.dueTime = gameNow + delayMs;
  message.onGameTime = true;
  messages.push_back(message);
}

void CGlobals::AdvanceGameTime() {
  // The game's board takes input at level 0; anything above it pauses the game.
  if (inputLevel != 0) return;
  gameTimeCarry += static_cast<double>(delta) * 13.3;
  const auto whole = static_cast<std::uint32_t>(gameTimeCarry);
  gameNow += whole;
  gameTimeCarry -= whole;
}

void CGlobals::CancelMessagesFor(const MessageReceiver* receiver) {
  for (Message& message : messages) {
    if (message.receiver == receiver) message.done = true;
  }
}

void CGlobals::CancelAllMessages() {
  for (Message& message : messages) message.done = true;
}

void CGlobals::DeliverDueMessages() {
  // Messages posted by a handler are appended and seen by this same walk when already due.
  const auto due = [this](const Message& m) { return m.dueTime < (m.onGameTime ? gameNow : now); };
  for (auto it = messages.begin(); it != messages.end(); ++it) {
    if (due(*it) && !it->done) {
      const Message copy = *it;
      it->done = true;
      copy.receiver->HandleMessage(copy);
    }
  }
  messages.remove_if([&due](const Message& m) { return due(m) && m.done; });
}

void CGlobals::UpdateScreens() {
  for (std::size_t i = 0; i < screens.size(); ++i) screens[i]->Update();
  for (std::size_t i = 0; i < screens.size();) {
    if (screens[i]->closed) {
      Screen* closedScreen = screens[i];
      screens.erase(screens.begin() + static_cast<std::ptrdiff_t>(i));
      delete closedScreen;
    } else {
      ++i;
    }
  }
  // Screens started in one frame stack in reverse order: the first one started ends on top.
  while (!pendingScreens.empty()) {
    Screen* started = pendingScreens.back();
    pendingScreens.pop_back();
    // One that closed before it was adopted (its start failed) goes at once.
    if (started->closed) {
      delete started;
    } else {
      screens.push_back(started);
    }
  }
}

}  // namespace spellcrypt

namespace spellcrypt {

int Random(int n) { return GetGlobals().mersenne.Below(n); }
int RandomRange(int a, int b) { return GetGlobals().mersenne.Range(a, b); }
int SimpleRandom() { return GetGlobals().simpleRandom.Next(); }
IClock& GameClock() { return *GetGlobals().platform; }
std::uint32_t ClockMs() { return GetGlobals().clock.Ms(); }
void UpdateFrameTiming() { GetGlobals().UpdateFrameTiming(GetGlobals().clock); }
void ResetDelta() { GetGlobals().resetDelta = true; }

}  // namespace spellcrypt
