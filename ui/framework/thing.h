// A thing: anything that lives in the thing list and is driven once per frame (update, then draw).
#pragma once

#include "ui/framework/message.h"

namespace spellcrypt {

class Screen;

class CThing : public MessageReceiver {
 public:
  CThing();
  ~CThing() override;
  CThing(const CThing&) = delete;
  CThing& operator=(const CThing&) = delete;

  void HandleMessage(const Message&) override {}
  virtual void Draw() {}
  virtual void Update() {}
  virtual void RestoreSurfaces() {}
  virtual void HandleInput(int type, const InputEvent* event) {
    (void)type;
    (void)event;
  }

  // Lists a screen member: the screen keeps ownership and the thing unlinks itself when destroyed.
  bool AddToList(Screen* ownerScreen);
  // Sets the lookup name, cut to 31 characters.
  void SetName(const char* newName);
  // The input gate every thing applies: its level is at least the global input level, and it has
  // no owner or its owner is the top screen.
  bool InputAllowed() const;

  int id = -1;
  char name[32] = "?";
  int kind = 0;  // 1 for buttons and check boxes: candidates for keyboard focus
  int layer = 10;
  bool dead = false;
  int level = 0;  // the global input level when the thing was built
  bool listOwned = true;
  Screen* owner = nullptr;
};

}  // namespace spellcrypt
