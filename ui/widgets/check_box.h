// A check box: a two-frame picture (unchecked, checked) that flips when clicked.
#pragma once

#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CCheckBox : public CThingSprite {
 public:
  CCheckBox();

  void Draw() override;
  // A press on the box flips it at once and broadcasts InputClicked with the new state.
  void HandleInput(int type, const InputEvent* event) override;
  bool LoadCheckBox(const char* path, bool isChecked);
  void SetChecked(bool isChecked) { checked = isChecked; }

  bool checked = false;
};

}  // namespace spellcrypt
