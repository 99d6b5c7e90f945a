// The global state object: the display, the clock and frame timing, the thing list, the screens,
// the message queue and the random generators. One instance, reached through GetGlobals.
#pragma once

#include <cstdint>
#include <deque>
#include <list>
#include <string>
#include <vector>

#include "base/random.h"
#include "base/timing.h"
#include "ui/framework/message.h"

namespace spellcrypt {

class IPlatform;
class CDXScreen;
class CThingList;
class CThingMouse;
class Screen;

// The frame timing fields (now, lastTime, delta, fps, ...) are those of FrameTiming, which the
// global object carries as a plain record.
class CGlobals : public MessageReceiver, public FrameTiming {
 public:
  // Sets up the clock and creates the thing list; CreateGlobals seeds the generators.
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
  // The same, the delay counted in game time: it waits while the game is paused.
  void PostGameMessage(int type, std::uint32_t delayMs, MessageReceiver* receiver, int value);
  // Game time moves on by this frame's step (its delta: nothing after a pause of the loop, at
  // most 8 steps of 13.3 ms) unless the game is paused: something over the board takes input.
  void AdvanceGameTime();
  void CancelMessagesFor(const MessageReceiver* receiver);
  void CancelAllMessages();
  void DeliverDueMessages();

  // --- Screens ---
  Screen* TopScreen() const { return screens.empty() ? nullptr : screens.back(); }
  // The screen that takes input: the topmost one not yet closed. A screen that closed itself
  // stays listed until the end of the frame but hears nothing more, nor do its things.
  Screen* InputScreen() const;
  // Updates the active screens, deletes closed ones, adopts those started this frame.
  void UpdateScreens();

  // Deletes the screens from the top down, then the thing list and the display (the destruction
  // order); safe to call twice.
  void Teardown();

  // The platform: program instance, window, clocks and desktop services (not owned).
  IPlatform* platform;

  CDXScreen* display = nullptr;  // owned
  CThingList* things = nullptr;  // owned
  int width = 640;
  int height = 480;
  int colourDepth = 0;  // 0 windowed, else full screen with this depth
  int fullscreenDepth = 32;
  int windowWidth = 0;
  int windowHeight = 0;
  bool active = true;
  bool showPaused = false;
  int inputLevel = 0;
  // Milliseconds of play: stands still while the game is paused (see PlayClock).
  std::uint32_t gameNow = 0;
  double gameTimeCarry = 0.0;    // the fraction of a millisecond not yet counted
  CThingMouse* mouse = nullptr;  // owned by the thing list
  std::vector<Screen*> screens;  // bottom first; the last is the top screen
  std::deque<Screen*> pendingScreens;
  std::list<Message> messages;
  MessageReceiver* extraReceiver = nullptr;

  MillisecondClock clock;  // behind now and delta
  std::string moduleDir;   // cached by GetModuleDir
  MersenneTwister mersenne;
  SimpleGenerator simpleRandom;
};

// The global state object. CreateGlobals must have run.
CGlobals& GetGlobals();
bool GlobalsExist();
// Builds the global object for this platform (replacing any previous one: tests rebuild it).
CGlobals& CreateGlobals(IPlatform& platform);
void DestroyGlobals();

// The generators of the global state object.
// 0..n-1 from the Mersenne generator; 0 without drawing when n is 0 (or negative).
int Random(int n);
// a..b, both ends included; a without drawing when a equals b.
int RandomRange(int a, int b);
// 0..32767 from the simple generator.
int SimpleRandom();
// The platform's clocks, for the interval timers of things.
IClock& GameClock();
// Milliseconds since the clock was set up (what now is read from).
std::uint32_t ClockMs();
// The first step of every frame: now, delta (13.3 ms units, capped at 8), fps.
void UpdateFrameTiming();
// Makes the next frame's delta 0, after slow work or a pause.
void ResetDelta();

}  // namespace spellcrypt
