// StringList: the words the player has used, and the words the oracle finds. Its stored form
// (inside the saved game) is a 32-bit count, then per string a 32-bit length and its bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/binary_io.h"

namespace spellcrypt {

class StringList {
 public:
  // Stored strings are read into a buffer of this size: a longer one marks a damaged file.
  static constexpr std::size_t kMaxStoredLength = 2048;

  void Add(std::string_view text) { strings_.emplace_back(text); }
  void Clear() { strings_.clear(); }
  void Reserve(std::size_t n) { strings_.reserve(n); }
  int Count() const { return static_cast<int>(strings_.size()); }
  bool Contains(std::string_view text) const;
  // The last string, or the empty string.
  std::string Last() const;
  // The last non-empty string. Lists filled in order of length (the oracle's) end with a longest.
  std::string Longest() const;
  const std::string& operator[](int index) const { return strings_[static_cast<std::size_t>(index)]; }
  const std::vector<std::string>& Strings() const { return strings_; }

  void Save(ByteWriter& out) const;
  // Clears the list, then reads the stored form. A count or a length that the data cannot hold, or
  // a string of kMaxStoredLength bytes or more, fails the load (logged) and leaves the list empty.
  bool Load(ByteReader& in);

 private:
  std::vector<std::string> strings_;
};

}  // namespace spellcrypt
