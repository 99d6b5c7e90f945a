// Score records and the rankings that hold them: the local high-score table of the current mode
// (loaded from and saved to its file) and the internet lists, which never touch the disk.
//
// The high-score file, all integers little-endian:
//   0    u32  record size, written as 120
//   4    ...  records to the end of the file, best first, at most as many as the save's limit
// A record is a fixed part of 120 bytes followed by its summary:
//   0    i32  dungeon
//   4    i32  score
//   8    i32  bosses
//   12   100  name, NUL-terminated, the rest of the field zero
//   112  i32  L, the length of the summary that follows counting its NUL (1 for an empty summary)
//   116  4    reserved, zero
//   120  L    summary text and its NUL
// Files of an older layout with a smaller record size read with zero in every field past that size
// (and so without summaries).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace spellcrypt {

class CScoreObject {
 public:
  std::int32_t GetScore() const { return score; }

  std::string name;  // as entered; may be empty
  std::int32_t dungeon = 0;
  std::int32_t score = 0;
  std::int32_t bosses = 0;
  // The stored form of the game's summary; empty for internet entries and old files.
  std::string summary;
};

class CRanking {
 public:
  static constexpr std::uint32_t kRecordSize = 120;
  static constexpr std::size_t kNameSize = 100;
  // The longest summary a file may carry, its NUL included. Longer ones are cut when saved; a
  // file that claims more is damaged.
  static constexpr std::int32_t kMaxSummaryBytes = 64 * 1024;
  // No file this program writes holds more records than this; a file that does is damaged.
  static constexpr int kMaxFileRecords = 100;
  // The places of a local table.
  static constexpr int kTablePlaces = 12;

  CRanking() = default;
  CRanking(const CRanking&) = delete;
  CRanking& operator=(const CRanking&) = delete;

  void Clear() { entries_.clear(); }
  // A new empty record at the end of the list; the ranking keeps it.
  CScoreObject* AddEntry();
  void AddScore(std::int32_t score, std::int32_t dungeon, std::string_view name, std::int32_t bosses,
                std::string_view summary = {});
  // Best score first; among equal scores the earlier record stays earlier.
  void Sort();
  int Count() const { return static_cast<int>(entries_.size()); }
  // The record at a 0-based place in the current order; null outside the list.
  CScoreObject* EntryAt(int index);
  const CScoreObject* EntryAt(int index) const;
  // Whether the score would take one of the first `limit` places: it must beat the record in that
  // place (a tie is not enough), or the table must have a free place.
  bool Qualifies(std::int32_t score, int limit);

  // Replaces the records with those of the file. False when the file is missing (nothing logged),
  // cannot be read ("Error opening <path>") or is damaged (one error line; the records before the
  // damage are kept).
  bool Load(std::string_view path);
  // Replaces the file, all at once, with the best `limit` records (0: all of them, but never more
  // than kMaxFileRecords). On failure the old file is left whole, "Error opening <path> for
  // writing" is logged and the answer is false.
  bool Save(std::string_view path, int limit);

  // The records of a score file's bytes, replacing these; `source` names the file in the log.
  // Follows Load for damaged data. Sorts at the end.
  bool Decode(const std::uint8_t* data, std::size_t size, std::string_view source);
  // The bytes of a score file with the best `limit` records, as Save writes them. Sorts first.
  std::vector<std::uint8_t> Encode(int limit);

 private:
  std::vector<std::unique_ptr<CScoreObject>> entries_;
};

}  // namespace spellcrypt
