// Every sound of the game, one function each. Each returns the raw mix (any level); the catalogue
// masters it. A looping piece returns exactly one turn of its loop.
#pragma once

#include "tools/sfx/dsp.h"

namespace spellcrypt::sfx {

// Interface and board (effects_ui.cpp)
Stereo MakeClick(Rng& rng);
Stereo MakeHighlight(Rng& rng);
Stereo MakeBlip(Rng& rng);
Stereo MakeBadWord(Rng& rng);
Stereo MakeTileMove(Rng& rng);
Stereo MakeTileMoveBack(Rng& rng);
Stereo MakePageTurn(Rng& rng);
Stereo MakeTipStart(Rng& rng);
Stereo MakeTipEnd(Rng& rng);

// Fighting (effects_combat.cpp)
Stereo MakeSpell(Rng& rng);
Stereo MakePlink(Rng& rng);
Stereo MakeMonsterAttack(Rng& rng);
Stereo MakeMonsterPain(Rng& rng);
Stereo MakeMonsterDeath(Rng& rng);
Stereo MakeHealth(Rng& rng);
Stereo MakeLowHealth(Rng& rng);

// Jingles (jingles.cpp)
Stereo MakeSuccess(Rng& rng);
Stereo MakeComplete(Rng& rng);
Stereo MakeEnter(Rng& rng);
Stereo MakeDie(Rng& rng);
Stereo MakeOracle(Rng& rng);
Stereo MakeEcho(Rng& rng);
Stereo MakeTeleport(Rng& rng);
Stereo MakeEncounter(Rng& rng);

// Music (music_*.cpp)
Stereo MakeTitleMusic(Rng& rng);
Stereo MakeMapMusic(Rng& rng);
Stereo MakeBossMusic(Rng& rng);
Stereo MakeClock(Rng& rng);
Stereo MakeEnding(Rng& rng);

}  // namespace spellcrypt::sfx
