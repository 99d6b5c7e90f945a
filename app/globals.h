// The global state object: the display, the clock and frame timing, the thing list, the screens,
// the message queue and the random generators. One instance, reached through GetGlobals.
#pragma once

#include <cstdint>
#include <deque>
#include <list>
#include <string>
#include <vector>

#include "app/random.h"
#include "ui/message.h"

namespace spellcrypt {

class IPlatform;
class CDXScreen;
class CThingList;
class CThingMouse;
class Screen;

// The process-wide millisecond clock behind ClockMs.
struct ClockState {
  bool useCounter = false;
  std::int64_t counterFrequency = 0;
  std::int64_t counterBase = 0;
  std::uint32_t tickBase = 0;
  bool clockReady = false;
};

class CGlobals : public MessageReceiver {
 public:
  // Sets up the clock, seeds both generators from the platform's clock and creates the thing list.
  explicit CGlobals(IPlatform& platformServices);
  // Deletes the screens from the top down, then the thing list and the display.
  ~CGlobals() override;
  CGlobals(const CGlobals&) = delete;
  CGlobals& operator=(const CGlobals&) = delete;

  // Fan-out of a message: active screens bottom to top, then every thing, then extraReceiver.
  void HandleMessage(const Message& message) override;

  // --- Message queue ---
  // A delay of 0 delivers the message before returning; receiver null means this object.
  void PostMessage(int type, std::uint32_t delayMs, MessageReceiver* receiver, int value,
                   const char* data = nullptr, void* sender = nullptr);
  void CancelMessagesFor(const MessageReceiver* receiver);
  void CancelAllMessages();
  void DeliverDueMessages();

  // --- Screens ---
  Screen* TopScreen() const { return screens.empty() ? nullptr : screens.back(); }
  // Updates the active screens, deletes closed ones, adopts those started this frame.
  void UpdateScreens();

  // Deletes the screens from the top down, then the thing list and the display (the destruction
  // order); safe to call twice.
  void Teardown();

  // The platform: program instance, window, clocks and desktop services (not owned).
  IPlatform* platform;

  CDXScreen* display = nullptr;  // owned
  CThingList* things = nullptr;  // owned
  std::uint32_t now = 0;
  std::uint32_t lastTime = 0;
  float delta = 0.0f;
  float fps = 0.0f;
  int framesThisSecond = 0;
  std::uint32_t nextFpsTime = 0;
  int width = 640;
  int height = 480;
  int colourDepth = 0;  // 0 windowed, else full screen with this depth
  int fullscreenDepth = 32;
  int windowWidth = 0;
  int windowHeight = 0;
  bool resetDelta = true;
  bool active = true;
  bool showPaused = false;
  int inputLevel = 0;
  CThingMouse* mouse = nullptr;  // owned by the thing list
  std::vector<Screen*> screens;  // bottom first; the last is the top screen
  std::deque<Screen*> pendingScreens;
  std::list<Message> messages;
  MessageReceiver* extraReceiver = nullptr;

  ClockState clock;
  std::string moduleDir;  // cached by GetModuleDir
  MersenneTwister mersenne;
  SimpleGenerator simpleRandom;
};

// The global state object. CreateGlobals must have run.
CGlobals& GetGlobals();
bool GlobalsExist();
// Builds the global object for this platform (replacing any previous one: tests rebuild it).
CGlobals& CreateGlobals(IPlatform& platform);
void DestroyGlobals();

}  // namespace spellcrypt
