// Rankings: ordering, the qualification test and the high-score file.
#include "scores/ranking.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/binary_io.h"
#include "base/log.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

// The text of a byte field up to its first NUL (all of it when there is none).
std::string TextUpToNul(const std::uint8_t* p, std::size_t size) {
  const void* nul = std::memchr(p, 0, size);
  const std::size_t length =
      nul != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : size;
  return std::string(reinterpret_cast<const char*>(p), length);
}

}  // namespace

CScoreObject* CRanking::AddEntry() {
  entries_.push_back(std::make_unique<CScoreObject>());
  return entries_.back().get();
}

void CRanking::AddScore(std::int32_t score, std::int32_t dungeon, std::string_view name, std::int32_t bosses,
                        std::string_view summary) {
  CScoreObject* entry = AddEntry();
  entry->score = score;
  entry->dungeon = dungeon;
  entry->name = name;
  entry->bosses = bosses;
  entry->summary = summary;
}

void CRanking::Sort() {
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const auto& a, const auto& b) { return a->GetScore() > b->GetScore(); });
}

CScoreObject* CRanking::EntryAt(int index) {
  return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].get() : nullptr;
}

const CScoreObject* CRanking::EntryAt(int index) const {
  return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].get() : nullptr;
}

bool CRanking::Qualifies(std::int32_t score, int limit) {
  Sort();
  int place = 1;
  for (const auto& entry : entries_) {
    if (place > limit) return false;
    if (entry->GetScore() < score) return true;
    ++place;
  }
  return place <= limit;
}

bool CRanking::Load(std::string_view path) {
  Clear();
  if (!FileExists(path)) return false;
  std::vector<std::uint8_t> bytes;
  const std::string name(path);
  if (!ReadWholeFile(path, bytes)) {
    LogError("Error opening %s", name.c_str());
    return false;
  }
  return Decode(bytes.data(), bytes.size(), path);
}

bool CRanking::Decode(const std::uint8_t* data, std::size_t size, std::string_view source) {
  Clear();
  ByteReader in(data, size);
  std::size_t recordStart = 0;
  // Refuses the file from the record being read on, keeping the records before it.
  auto damaged = [&](const std::string& reason) {
    const std::string name(source);
    LogError("Score file %s is damaged at byte %zu (%s); %d records kept", name.c_str(), recordStart,
             reason.c_str(), Count());
    Sort();
    return false;
  };

  std::uint32_t recordSize = 0;
  if (!in.U32(recordSize)) return damaged("no record size");
  // A size of 0 would read empty records forever; a larger one is no layout this program knows.
  if (recordSize == 0 || recordSize > kRecordSize)
    return damaged("record size " + std::to_string(recordSize));

  // Zeroed once: the fields past an older layout's record size stay zero in every record.
  std::uint8_t record[kRecordSize] = {};
  while (in.Remaining() >= recordSize) {
    recordStart = in.Position();
    if (Count() >= kMaxFileRecords) return damaged("too many records");
    in.Bytes(record, recordSize);
    ByteReader fields(record, kRecordSize);
    std::int32_t dungeon = 0, score = 0, bosses = 0, summaryLength = 0;
    std::uint8_t name[kNameSize];
    fields.I32(dungeon);
    fields.I32(score);
    fields.I32(bosses);
    fields.Bytes(name, kNameSize);
    fields.I32(summaryLength);
    if (std::memchr(name, 0, kNameSize) == nullptr) return damaged("name not terminated");
    // As written, L counts at least the NUL; older layouts leave it 0.
    if (summaryLength < 0 || summaryLength > kMaxSummaryBytes)
      return damaged("summary length " + std::to_string(summaryLength));
    if (summaryLength > 0 && static_cast<std::size_t>(summaryLength) > in.Remaining())
      return damaged("summary past the end of the file");

    CScoreObject* entry = AddEntry();
    entry->name = TextUpToNul(name, kNameSize);
    entry->dungeon = dungeon;
    entry->score = score;
    entry->bosses = bosses;
    if (summaryLength > 0) {
      entry->summary = TextUpToNul(data + in.Position(), static_cast<std::size_t>(summaryLength));
      in.Skip(static_cast<std::size_t>(summaryLength));
    }
  }
  recordStart = in.Position();
  if (in.Remaining() != 0) return damaged("last record cut short");
  Sort();
  return true;
}

std::vector<std::uint8_t> CRanking::Encode(int limit) {
  Sort();
  ByteWriter out;
  out.U32(kRecordSize);
  int written = 0;
  for (const auto& entry : entries_) {
    if (limit > 0 && written >= limit) break;
    if (written >= kMaxFileRecords) break;
    // Written as text: up to its first NUL, and never longer than a file may carry.
    std::string_view summary(entry->summary);
    summary = summary.substr(0, std::min(summary.find('\0'), static_cast<std::size_t>(kMaxSummaryBytes - 1)));
    out.I32(entry->dungeon);
    out.I32(entry->score);
    out.I32(entry->bosses);
    out.FixedText(entry->name, kNameSize);
    out.I32(static_cast<std::int32_t>(summary.size() + 1));
    out.U32(0);
    out.Bytes(summary.data(), summary.size());
    out.U8(0);
    ++written;
  }
  return std::move(out.Data());
}

bool CRanking::Save(std::string_view path, int limit) {
  const std::vector<std::uint8_t> bytes = Encode(limit);
  if (!WriteFileAtomically(path, bytes.data(), bytes.size())) {
    const std::string name(path);
    LogError("Error opening %s for writing", name.c_str());
    return false;
  }
  return true;
}

}  // namespace spellcrypt
