// A screen: a full-screen page or a modal popup, stacked on the global object's screen list.
#pragma once

#include "ui/framework/message.h"

namespace spellcrypt {

class Screen : public MessageReceiver {
 public:
  Screen() = default;
  ~Screen() override;
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // The base closes the screen on MsgCloseScreen.
  void HandleMessage(const Message& message) override;
  // Queues the screen for adoption at the end of the frame; derived screens call this first.
  virtual bool Start();
  // True consumes the event: no thing sees it.
  virtual bool HandleInput(int type, const InputEvent* event) = 0;
  virtual void Update() {}

  void Close() { closed = true; }
  // Starts the screen; one that fails to start is closed at once, so that a half-built screen
  // never stays on top swallowing input.
  bool StartOrClose();

  bool closed = false;
};

}  // namespace spellcrypt
