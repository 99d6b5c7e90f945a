// Windows virtual-key codes, which the game's input events carry whatever the back end.
#pragma once

namespace spellcrypt {

namespace vk {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Key0 = 48;  // '0'..'9' are 48..57
constexpr int KeyA = 65;  // 'A'..'Z' are 65..90
constexpr int F1 = 112;   // F1..F12 are 112..123
constexpr int Backquote = 192;
}  // namespace vk

}  // namespace spellcrypt
