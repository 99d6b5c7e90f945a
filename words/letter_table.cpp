// The weighted picker, its ".lft" text file and its stored form.
#include "words/letter_table.h"

#include <cstdlib>
#include <limits>
#include <string>

#include "base/log.h"
#include "base/random.h"
#include "base/text_util.h"
#include "words/text_parse.h"

namespace spellcrypt {

namespace {

std::int32_t ClampToInt(long long value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// A weight as written in the file: leading blanks, a sign, digits; anything else ends it.
std::int32_t ParseWeight(const char* text) { return ClampToInt(std::strtoll(text, nullptr, 10)); }

}  // namespace

void LetterTable::Clear() {
  weights_.clear();
  chances_.clear();
  dirty_ = true;
}

void LetterTable::SetWeight(int index, int weight) {
  if (index < 0 || index >= kMaxEntries) {
    LogError("Weight index %d is outside the table.", index);
    return;
  }
  const auto i = static_cast<std::size_t>(index);
  if (weights_.size() <= i) {
    weights_.resize(i + 1, 0);
    chances_.resize(i + 1, 0.0f);
  }
  weights_[i] = weight;
  dirty_ = true;
}

void LetterTable::AddWeight(int index, int amount) {
  SetWeight(index, ClampToInt(static_cast<long long>(GetWeight(index)) + amount));
}

int LetterTable::GetWeight(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= weights_.size()) return 0;
  return weights_[static_cast<std::size_t>(index)];
}

void LetterTable::UpdateChances() {
  long long sum = 0;
  for (std::int32_t w : weights_) sum += w;
  // With no weight at all the chances are not numbers, and Pick falls back to 0.
  for (std::size_t i = 0; i < weights_.size(); ++i) {
    chances_[i] = static_cast<float>(weights_[i]) / static_cast<float>(sum);
  }
  dirty_ = false;
}

int LetterTable::Pick(SimpleGenerator& random) {
  if (dirty_) UpdateChances();
  const auto r = static_cast<float>(random.Next() / 32767.0);
  float total = 0.0f;
  int lastPossible = -1;
  for (std::size_t i = 0; i < chances_.size(); ++i) {
    total += chances_[i];
    if (total > r) return static_cast<int>(i);
    if (chances_[i] > 0.0f) lastPossible = static_cast<int>(i);
  }
  // The running total can stay just under r = 1.0 by rounding: the draw then belongs to the last
  // choice that can happen at all, never to one of weight 0.
  return lastPossible >= 0 ? lastPossible : 0;
}

std::string LetterTable::PathFor(std::string_view wordList) {
  // Only the file name loses its extension, so that a list given as "..\\lists\\mine.txt" on the
  // command line finds "..\\lists\\mine.lft" rather than "..lft".
  const std::size_t nameStart = wordList.find_last_of("/\\") + 1;  // 0 when there is no folder
  return std::string(wordList.substr(0, nameStart)) + SetExtension(wordList.substr(nameStart), "lft");
}

bool LetterTable::LoadFile(std::string_view path) {
  Clear();
  CTextParse reader;
  const std::string name(path);
  if (reader.Open(name.c_str())) return LoadFrom(reader);
  ReportError("Error", "Unable to load the wordlist's .lft file.  Reinstall!");
  return false;
}

bool LetterTable::LoadFrom(CTextParse& reader) {
  Clear();
  int n = 0;
  const char* line = nullptr;
  while (reader.GetNextLine(&line)) {
    const char* weight = reader.GetField(2, '|');
    if (weight[0] == '\0') continue;
    if (n >= kMaxEntries) {
      LogError("The letter table has more than %d weights; the rest are ignored.", kMaxEntries);
      break;
    }
    SetWeight(n++, ParseWeight(weight));
  }
  if (Count() == 0) {
    ReportError("Error", "Unable to load the wordlist's .lft file.  Reinstall!");
    return false;
  }
  return true;
}

void LetterTable::Save(ByteWriter& out) const {
  out.U32(static_cast<std::uint32_t>(weights_.size()));
  for (std::int32_t w : weights_) out.I32(w);
}

bool LetterTable::Load(ByteReader& in) {
  Clear();
  std::uint32_t count = 0;
  if (!in.U32(count) || count > static_cast<std::uint32_t>(kMaxEntries) || count > in.Remaining() / 4) {
    LogError("Letter weights in the saved data are damaged (count %u, %zu bytes left).", count,
             in.Remaining());
    return false;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    std::int32_t w = 0;
    in.I32(w);
    SetWeight(static_cast<int>(i), w);
  }
  return true;
}

}  // namespace spellcrypt
