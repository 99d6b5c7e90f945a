// StringList operations and its stored form.
#include "words/string_list.h"

#include "base/log.h"

namespace spellcrypt {

bool StringList::Contains(std::string_view text) const {
  for (const std::string& s : strings_) {
    if (s == text) return true;
  }
  return false;
}

std::string StringList::Last() const { return strings_.empty() ? std::string() : strings_.back(); }

std::string StringList::Longest() const {
  for (auto it = strings_.rbegin(); it != strings_.rend(); ++it) {
    if (!it->empty()) return *it;
  }
  if (!strings_.empty()) LogError("Couldn't find longest word..");
  return std::string();
}

void StringList::Save(ByteWriter& out) const {
  out.U32(static_cast<std::uint32_t>(strings_.size()));
  for (const std::string& s : strings_) {
    out.U32(static_cast<std::uint32_t>(s.size()));
    out.Bytes(s.data(), s.size());
  }
}

bool StringList::Load(ByteReader& in) {
  strings_.clear();
  std::uint32_t count = 0;
  if (!in.U32(count)) {
    LogError("Word list in the saved data is cut short.");
    return false;
  }
  // Every string takes at least its 4-byte length, so a count beyond that is a lie.
  if (count > in.Remaining() / 4) {
    LogError("Word list in the saved data claims %u words; only %zu bytes follow.", count, in.Remaining());
    return false;
  }
  std::vector<std::string> loaded;
  loaded.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t length = 0;
    if (!in.U32(length) || length >= kMaxStoredLength || length > in.Remaining()) {
      LogError("Word %u of the word list in the saved data is damaged (length %u).", i + 1, length);
      return false;
    }
    std::string text(length, '\0');
    in.Bytes(text.data(), length);
    loaded.push_back(std::move(text));
  }
  strings_ = std::move(loaded);
  return true;
}

}  // namespace spellcrypt
