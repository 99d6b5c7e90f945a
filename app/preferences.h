// The player's newer preferences, kept beside "defaults.dat" in a small text file of their own
// ("preferences.txt", one "key=value" a line), so that the old 180-byte record stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace spellcrypt {

constexpr const char* kPreferencesFile = "preferences.txt";

struct Preferences {
  bool showMeanings = true;  // a hit's message shows the cast word's meaning under it

  bool operator==(const Preferences&) const = default;
};

// The file's text: a comment line, then every key.
std::string EncodePreferences(const Preferences& preferences);
// Reads what it understands and keeps the defaults for the rest. Unknown keys, lines without '='
// and values that are not on/off are logged (name names the file) and skipped; false when any was.
bool DecodePreferences(std::string_view text, Preferences& preferences, const char* name);

// Defaults first, then the file's values. False, with a log line, when the file is missing or
// holds anything that was skipped.
bool LoadPreferencesFile(Preferences& preferences, const char* path);
// Replaces the file whole (never a half-written one); false, logged, when that failed.
bool SavePreferencesFile(const Preferences& preferences, const char* path);

}  // namespace spellcrypt
