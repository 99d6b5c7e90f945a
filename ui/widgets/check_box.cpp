// Check boxes.
#include "ui/widgets/check_box.h"

#include "app/globals.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

CCheckBox::CCheckBox() {
  kind = 1;
  keyboardSelectable = true;
}

bool CCheckBox::LoadCheckBox(const char* path, bool isChecked) {
  checked = isChecked;
  return LoadImage(path, 2, true, kMagenta);
}

void CCheckBox::Draw() {
  SetFrame(checked ? 1 : 0);
  CThingSprite::Draw();
}

void CCheckBox::HandleInput(int type, const InputEvent* event) {
  CThingSprite::HandleInput(type, event);
  if (type != InputMouseDown || !InputAllowed() || !PointerInside()) return;
  checked = !checked;
  GetGlobals().things->BroadcastInput(InputClicked, id, checked ? 1 : 0);
}

}  // namespace spellcrypt
