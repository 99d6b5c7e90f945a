// What a player outside the program can read of it, as one line of JSON: the things on screen by
// name (each with the middle of its picture, a point to click), the input level, the screen on
// top, the letters of the rack, the lives and the score. The browser edition's scripted player
// reads it through the page, as the bot reads the same things in-process.
#pragma once

#include <string>

namespace spellcrypt {

// Whether the title screen is the screen on top.
bool TitleOnTop();
std::string StateReport();

}  // namespace spellcrypt
