// Reward tile types.
#include "game/reward.h"

#include <algorithm>

#include "game/tile_types.h"
#include "words/letter_table.h"

namespace spellcrypt {

int RewardLevel(int dungeon, int luckLevel) { return std::min(8, dungeon / 5 + luckLevel); }

void RewardWeights(int level, int mode, int w[kRewardChoices]) {
  const int start[kRewardChoices] = {30, 4, 4, 10, 2, 0, 0, 0};
  std::copy(start, start + kRewardChoices, w);
  if (level > 0) w[5] += 5;
  if (level > 1) {
    w[1] += 5;
    w[2] = 1;
    w[3] = 3;
  }
  if (level > 2) w[6] += 5;
  if (level > 3) {
    w[6] += 5;
    w[3] = 6;
    w[5] += 5;
    w[2] = 1;
    w[4] = 1;
  }
  if (level > 4) w[7] += 5;
  if (level > 5) {
    w[7] += 1;
    w[6] += 2;
    w[3] = 2;
    w[5] += 2;
    w[2] = 1;
  }
  if (level > 6) {
    w[7] += 1;
    w[6] += 3;
    w[5] += 3;
  }
  if (level > 7) {
    w[7] += 1;
    w[6] += 3;
    w[5] += 3;
    w[2] = 1;
  }
  if (mode == 2) w[2] = 0;
}

int RewardTileType(int choice) {
  constexpr int kTypes[kRewardChoices] = {kTileBonus,  kTilePlus10, kTileOracle, kTileDouble,
                                          kTilePotion, kTileTriple, kTilePlus20, kTileRefresh};
  return choice >= 0 && choice < kRewardChoices ? kTypes[choice] : kTileBonus;
}

int ChooseRewardType(int dungeon, int luckLevel, int mode, SimpleGenerator& random) {
  int weights[kRewardChoices];
  RewardWeights(RewardLevel(dungeon, luckLevel), mode, weights);
  LetterTable table;
  for (int i = 0; i < kRewardChoices; ++i) table.SetWeight(i, weights[i]);
  return RewardTileType(table.Pick(random));
}

}  // namespace spellcrypt
