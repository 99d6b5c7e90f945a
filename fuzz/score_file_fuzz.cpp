// The high-score file: whatever the bytes, loading stops at the damage without reading past the
// data, and what loads saves to a file that loads back to the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "scores/ranking.h"

using namespace spellcrypt;

namespace {

bool SameRecords(const CRanking& a, const CRanking& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i) {
    const CScoreObject& x = *a.EntryAt(i);
    const CScoreObject& y = *b.EntryAt(i);
    if (x.name != y.name || x.summary != y.summary || x.score != y.score || x.dungeon != y.dungeon ||
        x.bosses != y.bosses)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  CRanking ranking;
  ranking.Decode(data, size, "fuzz.dat");
  if (ranking.Count() > CRanking::kMaxFileRecords) std::abort();
  for (int i = 0; i < ranking.Count(); ++i) {
    const CScoreObject& entry = *ranking.EntryAt(i);
    if (entry.name.size() >= CRanking::kNameSize || entry.name.find('\0') != std::string::npos) std::abort();
    if (entry.summary.size() >= static_cast<std::size_t>(CRanking::kMaxSummaryBytes) ||
        entry.summary.find('\0') != std::string::npos)
      std::abort();
    if (i > 0 && ranking.EntryAt(i - 1)->score < entry.score) std::abort();
  }
  const std::vector<std::uint8_t> saved = ranking.Encode(0);
  CRanking again;
  if (!again.Decode(saved.data(), saved.size(), "fuzz.dat") || !SameRecords(ranking, again)) std::abort();
  if (again.Encode(0) != saved) std::abort();
  return 0;
}
