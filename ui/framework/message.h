// Timed messages and input events: the two channels through which things and screens talk.
#pragma once

#include <cstdint>

namespace spellcrypt {

// Message types; the value and data each carries are described where they are posted.
enum MessageType : int {
  MsgAnimLoopStart = 0,
  MsgAnimMode = 1,
  MsgCloseScreen = 2,
  MsgDownloadCancelled = 3,
  MsgScoresDownloaded = 4,
  MsgScoreDetailDownloaded = 5,
  MsgSurfacesRestored = 6,
  MsgAnswerYes = 7,
  MsgAnswerNo = 8,
  MsgNoticeClosed = 9,
  MsgRewardTile = 10,
  MsgBookFound = 11,
  MsgPlayerEvent = 12,
  MsgBookPageSound = 13,
  MsgBookGrow = 14,
  MsgBookOpen = 15,
  MsgBookDone = 16,
  MsgEndingTextIn = 17,
  MsgEndingTextOut = 18,
  MsgEndingFinish = 19,
  MsgEndingClose = 20,
  MsgCloseTitle = 21,
  MsgMapReveal = 22,
  MsgShowTip = 23,
};

class MessageReceiver;

struct Message {
  std::uint32_t dueTime = 0;   // now + delay when queued
  const char* data = nullptr;  // optional text owned by the sender
  void* sender = nullptr;      // optional sender object
  int type = 0;
  MessageReceiver* receiver = nullptr;  // never null once queued: the global object by default
  bool done = false;                    // delivered or cancelled
  bool onGameTime = false;              // dueTime is in game time (CGlobals::gameNow)
  int value = 0;
};

class MessageReceiver {
 public:
  virtual ~MessageReceiver() = default;
  virtual void HandleMessage(const Message& message) = 0;
};

// Input event types.
enum InputType : int {
  InputMouseDown = 0,
  InputMouseEnter = 1,
  InputMouseLeave = 2,
  InputTextEntered = 3,
  InputMouseUp = 4,
  InputPressBegin = 5,
  InputPressEnd = 6,
  InputClicked = 7,
  InputChar = 8,
  InputKeyDown = 9,
  InputWheel = 10,
};

struct InputEvent {
  std::uint8_t reserved = 0;
  std::uint8_t key = 0;  // the character (InputChar) or the virtual-key code (InputKeyDown)
  int senderId = 0;      // the thing that raised an InputClicked
  int value = 0;         // a button's command, a check box's new state, or wheel notches
};

}  // namespace spellcrypt
