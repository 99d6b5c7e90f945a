// The type of a reward tile: its weights grow richer with the dungeon and the player's luck.
#pragma once

#include "base/random.h"

namespace spellcrypt {

constexpr int kRewardChoices = 8;

// Level L = min(8, dungeon / 5 + luck).
int RewardLevel(int dungeon, int luckLevel);
// The weights of the eight choices at a level (Wizard mode never gets an oracle).
void RewardWeights(int level, int mode, int weights[kRewardChoices]);
// The tile type a choice stands for.
int RewardTileType(int choice);
// A reward tile's type, drawn with the weighted picker.
int ChooseRewardType(int dungeon, int luckLevel, int mode, SimpleGenerator& random);

}  // namespace spellcrypt
