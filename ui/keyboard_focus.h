// Keyboard focus: the arrow keys move the pointer from button to button, Enter and Space click the
// button under it. The pointer position itself is the focus.
#pragma once

namespace spellcrypt {

// Enter or Space clicks; Left/Up and Right/Down move between buttons; other keys do nothing.
void HandleNavigationKey(int key);
void ClickButtonUnderPointer();
// +1 to the next keyboard-selectable button, -1 to the previous one (both wrap around).
void MovePointerToButton(int direction);
// Moves the platform pointer (and with it the pointer thing) to a point of the 640x480 frame.
void SetPointerPos(int x, int y);

}  // namespace spellcrypt
