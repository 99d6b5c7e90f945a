#include "words/meanings.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "base/binary_io.h"
#include "base/log.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

constexpr std::size_t kPartsOfSpeech = 4;

bool IsPartOfSpeech(std::uint8_t value) { return value < kPartsOfSpeech; }

// Unsigned LEB128 of at most five bytes, read within [*at, end).
bool ReadNumber(const std::uint8_t* data, std::size_t end, std::size_t* at, std::uint32_t* value) {
  std::uint64_t result = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (*at >= end) return false;
    const std::uint8_t byte = data[(*at)++];
    result |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) {
      if (result > 0xFFFFFFFFu) return false;
      *value = static_cast<std::uint32_t>(result);
      return true;
    }
  }
  return false;
}

void WriteNumber(ByteWriter& out, std::uint32_t value) {
  while (value >= 0x80) {
    out.U8(static_cast<std::uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.U8(static_cast<std::uint8_t>(value));
}

std::string_view Cut(std::string_view text, std::size_t limit) {
  return text.substr(0, std::min(text.size(), limit));
}

}  // namespace

const char* PartOfSpeechName(PartOfSpeech pos) {
  switch (pos) {
    case PartOfSpeech::Noun:
      return "noun";
    case PartOfSpeech::Verb:
      return "verb";
    case PartOfSpeech::Adjective:
      return "adjective";
    case PartOfSpeech::Adverb:
      return "adverb";
  }
  return "word";
}

bool Meanings::Load(std::string_view path) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    *this = Meanings();
    LogError("Word meanings %.*s cannot be read; words are shown without their meanings.",
             static_cast<int>(path.size()), path.data());
    return false;
  }
  return LoadBytes(std::move(bytes), path);
}

bool Meanings::LoadBytes(std::vector<std::uint8_t> bytes, std::string_view name) {
  *this = Meanings();
  bytes_ = std::move(bytes);
  const char* fault = Check();
  if (fault != nullptr) {
    *this = Meanings();
    LogError("Word meanings %.*s are damaged (%s); words are shown without their meanings.",
             static_cast<int>(name.size()), name.data(), fault);
    return false;
  }
  return true;
}

std::uint32_t Meanings::U32At(std::size_t at) const {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(bytes_[at + static_cast<std::size_t>(i)]) << (8 * i);
  return value;
}

// Every offset and number the lookups follow is checked here once, so a lookup only reads within
// the file. Only the definitions' token numbers are checked as they are decoded.
const char* Meanings::Check() {
  if (bytes_.size() < kMeaningsHeaderSize) return "shorter than its header";
  if (std::memcmp(bytes_.data(), kMeaningsMagic, sizeof kMeaningsMagic) != 0) return "not a meanings file";
  ByteReader header(bytes_.data() + sizeof kMeaningsMagic, kMeaningsHeaderSize - sizeof kMeaningsMagic);
  std::uint32_t version = 0, words = 0, records = 0, tokens = 0, textBytes = 0, tokenBytes = 0,
                glossBytes = 0, fileSize = 0;
  header.U32(version);
  header.U32(words);
  header.U32(records);
  header.U32(tokens);
  header.U32(textBytes);
  header.U32(tokenBytes);
  header.U32(glossBytes);
  header.U32(fileSize);
  if (version != kMeaningsVersion) return "another version";
  if (fileSize != bytes_.size()) return "its size is not the one recorded";

  // Sizes in 64 bits: no count in a damaged header can wrap them around.
  const std::uint64_t sizes[] = {(static_cast<std::uint64_t>(words) + 1) * 4,
                                 static_cast<std::uint64_t>(words) * 4,
                                 static_cast<std::uint64_t>(records) * kMeaningsRecordSize,
                                 (static_cast<std::uint64_t>(tokens) + 1) * 4,
                                 tokenBytes,
                                 glossBytes,
                                 textBytes};
  std::uint64_t total = kMeaningsHeaderSize;
  for (std::uint64_t size : sizes) total += size;
  if (total != bytes_.size()) return "its parts do not add up to its size";

  Section* sections[] = {&wordStarts_, &wordRecords_, &records_, &tokenStarts_,
                         &tokenText_,  &glosses_,     &text_};
  std::size_t at = kMeaningsHeaderSize;
  for (std::size_t i = 0; i < std::size(sections); ++i) {
    sections[i]->at = at;
    sections[i]->size = static_cast<std::size_t>(sizes[i]);
    at += sections[i]->size;
  }
  wordCount_ = words;
  recordCount_ = records;
  tokenCount_ = tokens;

  // Starts of words and tokens: ascending, within their text.
  auto checkStarts = [this](const Section& starts, std::size_t count, std::size_t textSize) {
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i <= count; ++i) {
      const std::uint32_t start = U32At(starts.at + i * 4);
      if (start < previous || start > textSize) return false;
      previous = start;
    }
    return true;
  };
  if (!checkStarts(wordStarts_, wordCount_, text_.size)) return "a word lies outside the text";
  if (!checkStarts(tokenStarts_, tokenCount_, tokenText_.size)) return "a token lies outside the token text";
  for (std::size_t i = 0; i < wordCount_; ++i) {
    const std::string_view word = Word(i);
    if (word.empty() || word.size() > kMaxMeaningWord) return "a word is empty or too long";
    if (i > 0 && !(Word(i - 1) < word)) return "the words are out of order";
    if (U32At(wordRecords_.at + i * 4) >= recordCount_) return "a word points past the records";
  }
  for (std::size_t i = 0; i < recordCount_; ++i) {
    const std::size_t record = records_.at + i * kMeaningsRecordSize;
    const std::uint32_t baseAt = U32At(record);
    const std::uint8_t baseLength = bytes_[record + 4];
    const std::uint8_t firstPos = bytes_[record + 5];
    const std::uint8_t secondPos = bytes_[record + 6];
    if (static_cast<std::uint64_t>(baseAt) + baseLength > text_.size)
      return "a base form lies outside the text";
    if (!IsPartOfSpeech(firstPos) || !(IsPartOfSpeech(secondPos) || secondPos == kNoSecondSense))
      return "a part of speech is unknown";
    if ((bytes_[record + 7] & ~kDerivedFlag) != 0) return "a record has unknown flags";
    if (U32At(record + 8) >= glosses_.size) return "a definition lies outside the definitions";
    if (secondPos != kNoSecondSense && U32At(record + 12) >= glosses_.size)
      return "a definition lies outside the definitions";
  }
  return nullptr;
}

std::string_view Meanings::Word(std::size_t index) const {
  const std::uint32_t start = U32At(wordStarts_.at + index * 4);
  const std::uint32_t end = U32At(wordStarts_.at + (index + 1) * 4);
  return {reinterpret_cast<const char*>(bytes_.data() + text_.at + start), end - start};
}

bool Meanings::DecodeGloss(std::uint32_t offset, std::string* out) const {
  const std::uint8_t* data = bytes_.data();
  const std::size_t end = glosses_.at + glosses_.size;
  std::size_t at = glosses_.at + offset;
  std::uint32_t count = 0;
  if (!ReadNumber(data, end, &at, &count) || count > kMaxGlossTokens) return false;
  out->clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t token = 0;
    if (!ReadNumber(data, end, &at, &token) || token >= tokenCount_) return false;
    const std::uint32_t start = U32At(tokenStarts_.at + std::size_t{token} * 4);
    const std::uint32_t stop = U32At(tokenStarts_.at + (std::size_t{token} + 1) * 4);
    if (i > 0) out->push_back(' ');
    out->append(reinterpret_cast<const char*>(data + tokenText_.at + start), stop - start);
  }
  return true;
}

std::optional<Meaning> Meanings::Find(std::string_view word) const {
  std::size_t low = 0, high = wordCount_;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (Word(middle) < word)
      low = middle + 1;
    else
      high = middle;
  }
  if (low == wordCount_ || Word(low) != word) return std::nullopt;

  const std::size_t record =
      records_.at + std::size_t{U32At(wordRecords_.at + low * 4)} * kMeaningsRecordSize;
  Meaning meaning;
  meaning.base.assign(reinterpret_cast<const char*>(bytes_.data() + text_.at + U32At(record)),
                      bytes_[record + 4]);
  meaning.first.pos = static_cast<PartOfSpeech>(bytes_[record + 5]);
  meaning.derived = (bytes_[record + 7] & kDerivedFlag) != 0;
  if (!DecodeGloss(U32At(record + 8), &meaning.first.gloss)) return std::nullopt;
  if (bytes_[record + 6] != kNoSecondSense) {
    Sense second;
    second.pos = static_cast<PartOfSpeech>(bytes_[record + 6]);
    if (DecodeGloss(U32At(record + 12), &second.gloss)) meaning.second = std::move(second);
  }
  return meaning;
}

std::optional<Meaning> MeaningsOnDemand::Find(std::string_view word) {
  if (!Available()) return std::nullopt;
  return meanings_.Find(word);
}

bool MeaningsOnDemand::Available() {
  if (!tried_) {
    tried_ = true;
    if (meanings_.Load(path_)) Log("Word meanings %s: %zu words.", path_.c_str(), meanings_.WordCount());
  }
  return meanings_.Loaded();
}

std::string FormatMeaning(std::string_view word, const Meaning& meaning, std::size_t width) {
  std::string text;
  text.reserve(word.size() + 2 + meaning.first.gloss.size());
  text.append(word);
  if (meaning.derived) {
    text.append(", from ");
    text.append(meaning.base);
  }
  text.append(": ");
  text.append(meaning.first.gloss);
  if (text.size() <= width) return text;
  static constexpr std::string_view kEllipsis = "...";
  if (width <= kEllipsis.size()) return text.substr(0, width);
  std::size_t keep = width - kEllipsis.size();
  // Cut where a word of the definition ends (at a blank or punctuation), and drop the punctuation.
  if (std::isalnum(static_cast<unsigned char>(text[keep])) != 0) {
    const std::size_t blank = text.rfind(' ', keep);
    if (blank != std::string::npos && blank > word.size()) keep = blank;
  }
  while (keep > 0 && text[keep - 1] == ' ') --keep;
  while (keep > 0 && (text[keep - 1] == ',' || text[keep - 1] == ';' || text[keep - 1] == ':')) --keep;
  text.resize(keep);
  text.append(kEllipsis);
  return text;
}

std::vector<std::uint8_t> EncodeMeanings(const std::vector<WordMeaning>& words) {
  // The words in order, each once.
  std::map<std::string, const Meaning*> sorted;
  for (const WordMeaning& entry : words) {
    const std::string_view word = Cut(entry.word, kMaxMeaningWord);
    if (!word.empty()) sorted.emplace(std::string(word), &entry.meaning);
  }

  // Definitions as token lists; tokens numbered by frequency, so the common ones take one byte.
  auto tokensOf = [](std::string_view gloss) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (tokens.size() < kMaxGlossTokens) {
      const std::size_t blank = gloss.find(' ', start);
      tokens.push_back(
          gloss.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
      if (blank == std::string_view::npos) break;
      start = blank + 1;
    }
    return tokens;
  };
  std::unordered_map<std::string_view, std::uint32_t> tokenUses;
  std::map<std::string_view, std::uint32_t> glossAt;  // filled with offsets below
  for (const auto& [word, meaning] : sorted) {
    for (const Sense* sense : {&meaning->first, meaning->second ? &*meaning->second : nullptr}) {
      if (sense == nullptr || !glossAt.emplace(sense->gloss, 0).second) continue;
      for (std::string_view token : tokensOf(sense->gloss)) ++tokenUses[token];
    }
  }
  std::vector<std::pair<std::string_view, std::uint32_t>> tokens(tokenUses.begin(), tokenUses.end());
  std::sort(tokens.begin(), tokens.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  std::unordered_map<std::string_view, std::uint32_t> tokenNumber;
  ByteWriter tokenStarts, tokenText;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    tokenNumber[tokens[i].first] = static_cast<std::uint32_t>(i);
    tokenStarts.U32(static_cast<std::uint32_t>(tokenText.Size()));
    tokenText.Bytes(tokens[i].first.data(), tokens[i].first.size());
  }
  tokenStarts.U32(static_cast<std::uint32_t>(tokenText.Size()));
  ByteWriter glosses;
  for (auto& [gloss, at] : glossAt) {
    at = static_cast<std::uint32_t>(glosses.Size());
    const std::vector<std::string_view> pieces = tokensOf(gloss);
    WriteNumber(glosses, static_cast<std::uint32_t>(pieces.size()));
    for (std::string_view token : pieces) WriteNumber(glosses, tokenNumber[token]);
  }

  // The text: the words, then base forms that are not words; records shared by equal meanings.
  ByteWriter text, wordStarts, wordRecords, records;
  std::unordered_map<std::string_view, std::uint32_t> textAt;
  for (const auto& entry : sorted) {
    textAt.emplace(entry.first, static_cast<std::uint32_t>(text.Size()));
    wordStarts.U32(static_cast<std::uint32_t>(text.Size()));
    text.Bytes(entry.first.data(), entry.first.size());
  }
  wordStarts.U32(static_cast<std::uint32_t>(text.Size()));
  std::map<std::tuple<std::string_view, bool, int, std::string_view, int, std::string_view>, std::uint32_t>
      recordNumber;
  std::uint32_t recordCount = 0;
  for (const auto& [word, meaning] : sorted) {
    const std::string_view base = Cut(meaning->base, kMaxMeaningWord);
    const Sense* second = meaning->second ? &*meaning->second : nullptr;
    const auto key =
        std::make_tuple(base, meaning->derived, static_cast<int>(meaning->first.pos),
                        std::string_view(meaning->first.gloss), second ? static_cast<int>(second->pos) : -1,
                        second ? std::string_view(second->gloss) : std::string_view());
    auto [found, added] = recordNumber.emplace(key, recordCount);
    if (added) {
      ++recordCount;
      auto [baseAt, newBase] = textAt.emplace(base, static_cast<std::uint32_t>(text.Size()));
      if (newBase) text.Bytes(base.data(), base.size());
      records.U32(baseAt->second);
      records.U8(static_cast<std::uint8_t>(base.size()));
      records.U8(static_cast<std::uint8_t>(meaning->first.pos));
      records.U8(second ? static_cast<std::uint8_t>(second->pos) : kNoSecondSense);
      records.U8(meaning->derived ? kDerivedFlag : 0);
      records.U32(glossAt[meaning->first.gloss]);
      records.U32(second ? glossAt[second->gloss] : 0);
    }
    wordRecords.U32(found->second);
  }

  ByteWriter file;
  file.Bytes(kMeaningsMagic, sizeof kMeaningsMagic);
  file.U32(kMeaningsVersion);
  file.U32(static_cast<std::uint32_t>(sorted.size()));
  file.U32(recordCount);
  file.U32(static_cast<std::uint32_t>(tokens.size()));
  file.U32(static_cast<std::uint32_t>(text.Size()));
  file.U32(static_cast<std::uint32_t>(tokenText.Size()));
  file.U32(static_cast<std::uint32_t>(glosses.Size()));
  const std::size_t sizeAt = file.Size();
  file.U32(0);
  for (const ByteWriter* part :
       {&wordStarts, &wordRecords, &records, &tokenStarts, &tokenText, &glosses, &text})
    file.Bytes(part->Data().data(), part->Size());
  file.PatchU32(sizeAt, static_cast<std::uint32_t>(file.Size()));
  return std::move(file.Data());
}

}  // namespace spellcrypt
