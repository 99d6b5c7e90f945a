// The three difficulties. The settings record keeps the chosen one as its number (0, 1, 2), which
// also picks the high-score file and the score server's table.
#pragma once

namespace spellcrypt {

enum class Difficulty : int { Kidmode = 0, Normal = 1, Wizard = 2 };

constexpr int kDifficultyCount = 3;

constexpr bool IsDifficulty(int mode) { return mode >= 0 && mode < kDifficultyCount; }

// "Kidmode", "Normal", "Wizard"; "Unknown" for anything else.
constexpr const char* DifficultyName(int mode) {
  constexpr const char* kNames[kDifficultyCount] = {"Kidmode", "Normal", "Wizard"};
  return IsDifficulty(mode) ? kNames[mode] : "Unknown";
}

// The local high-score file of each difficulty; null for anything else.
constexpr const char* ScoreFileName(int mode) {
  constexpr const char* kFiles[kDifficultyCount] = {"scores_easy.dat", "scores_normal.dat",
                                                    "scores_hard.dat"};
  return IsDifficulty(mode) ? kFiles[mode] : nullptr;
}

}  // namespace spellcrypt
