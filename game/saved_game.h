// The saved game, "autosave.sav": the board's tiles, the player's word lists, letter weights and
// run record, and the current monster, as raw little-endian fields.
//
// A saved game is read as untrusted bytes: every count, length and size must fit what remains,
// every slot, type, dungeon and life must be one the game can play. A file that fails any check
// is refused whole, never half loaded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/board_tile.h"
#include "game/monster_record.h"
#include "game/run_record.h"
#include "words/letter_table.h"
#include "words/string_list.h"

namespace spellcrypt {

constexpr const char* kSaveFileName = "autosave.sav";
constexpr int kTileRecordSize = 29;

struct SavedGame {
  std::vector<BoardTile> tiles;  // lower slot 0, upper slot 0, lower slot 1, ... upper slot 15
  LetterTable weights;
  StringList usedWords;
  StringList treasures;
  StringList strongWords;
  RunRecord run;          // mode holds the difficulty
  MonsterRecord monster;  // savedState holds the monster's state
};

std::vector<std::uint8_t> EncodeSavedGame(const SavedGame& game);

enum class SaveCheck { Ok, OlderVersion, Damaged };
// Reads and checks the bytes; on Damaged, why says what is wrong.
SaveCheck DecodeSavedGame(const std::vector<std::uint8_t>& bytes, SavedGame& game, std::string& why);

// Whether the file opens and begins with the version (the float 1.1).
bool IsSaveUsable(std::string_view path);
// Writes to a temporary file and renames it over the old one; every write checked.
bool WriteSavedGame(std::string_view path, const SavedGame& game);

}  // namespace spellcrypt
