// One drawing per monster picture; each returns the finished picture at its file's size (the hand
// returns one frame of its strip).
#pragma once

#include "tools/art/canvas.h"

namespace spellcrypt::art::monster {

Canvas Rat();
Canvas Spider();
Canvas Skeleton();
Canvas NightWolf();
Canvas Snake();
Canvas Glop();
Canvas Grizzly();
Canvas MysticCobra();
Canvas HorrorSquirrel();
Canvas Turtle();
Canvas FireTortoise();
Canvas Dragon();
Canvas MrBomb();
Canvas DeathTouch(int frame);  // 0 reaching .. 2 grabbing

Canvas AquaMan();
Canvas Succubus();
Canvas Zombie();
Canvas Cyclops();
Canvas GhoulSeer();
Canvas MaimedFace();
Canvas StoneGiant();

}  // namespace spellcrypt::art::monster
