// LetterTable: the weighted random picker. The player's table decides which letter a new tile gets
// (index 0 is A ... 25 is Z, loaded from the word list's ".lft" file); other tables of the same kind
// choose reward tiles and monsters, their indexes meaning choices instead of letters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/binary_io.h"
#include "base/random.h"

namespace spellcrypt {

class CTextParse;

class LetterTable {
 public:
  // More choices than any table of the game needs; larger indexes mark damaged data.
  static constexpr int kMaxEntries = 65536;

  void Clear();
  // Grows the table to index + 1 entries when needed (new weights 0).
  void SetWeight(int index, int weight);
  void AddWeight(int index, int amount);
  // The stored weight; 0 outside the table.
  int GetWeight(int index) const;
  int Count() const { return static_cast<int>(weights_.size()); }
  // A random index, each with the chance weight / sum of weights. 0 when no weight is positive.
  int Pick(SimpleGenerator& random);

  // The letter table of a word list: the same name with the extension "lft".
  static std::string PathFor(std::string_view wordList);
  // Loads a letter-table file (for the game's list, "data\master_word_list.lft"): lines "letter|weight";
  // lines without a weight are skipped. A table left empty shows the "Reinstall!" box; the game goes on with
  // it.
  bool LoadFile(std::string_view path);
  // The same from a reader already holding the text.
  bool LoadFrom(CTextParse& reader);

  void Save(ByteWriter& out) const;
  // Clears the table and reads the stored form; a damaged one leaves it empty and fails (logged).
  bool Load(ByteReader& in);

 private:
  void UpdateChances();

  std::vector<std::int32_t> weights_;
  std::vector<float> chances_;
  bool dirty_ = true;
};

}  // namespace spellcrypt
