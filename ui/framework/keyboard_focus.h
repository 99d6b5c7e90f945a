// Keyboard focus: the arrow keys move the pointer from button to button, Enter and Space click the
// button under it. The pointer position itself is the focus. While a popup with a default answer
// is open, Enter and Space with no focused button press the highlighted button, else the default.
#pragma once

namespace spellcrypt {

// Enter or Space clicks; Left/Up and Right/Down move between buttons; other keys do nothing.
void HandleNavigationKey(int key);
// Clicks the keyboard-selectable buttons the pointer sits on; false when there was none.
bool ClickButtonUnderPointer();
// Over a popup with a default answer: clicks the button the pointer highlights, else the default.
// False when no open popup has a default answer.
bool ClickHighlightedOrDefaultButton();
// +1 to the next keyboard-selectable button, -1 to the previous one (both wrap around).
void MovePointerToButton(int direction);
// Moves the platform pointer (and with it the pointer thing) to a point of the 640x480 frame.
void SetPointerPos(int x, int y);

}  // namespace spellcrypt
