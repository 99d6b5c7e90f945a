// "preferences.txt": the preferences that came after the fixed settings record.
#include "app/preferences.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/log.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

constexpr std::size_t kMaxFileSize = 4096;
constexpr std::string_view kMeaningsKey = "meanings";

std::string_view Trim(std::string_view text) {
  const std::string_view blanks = " \t\r";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// "on" or "off"; nothing else.
bool ParseSwitch(std::string_view value, bool& out) {
  if (value == "on") {
    out = true;
    return true;
  }
  if (value == "off") {
    out = false;
    return true;
  }
  return false;
}

}  // namespace

std::string EncodePreferences(const Preferences& preferences) {
  std::string text = "# Spellcrypt preferences\n";
  text += std::string(kMeaningsKey) + "=" + (preferences.showMeanings ? "on" : "off") + "\n";
  return text;
}

bool DecodePreferences(std::string_view text, Preferences& preferences, const char* name) {
  bool clean = true;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
    bool understood = false;
    if (equals != std::string_view::npos && key == kMeaningsKey) {
      understood = ParseSwitch(value, preferences.showMeanings);
    }
    if (!understood) {
      LogError("%s, line %d: \"%.*s\" is not understood and is skipped.", name, lineNumber,
               static_cast<int>(std::min<std::size_t>(line.size(), 60)), line.data());
      clean = false;
    }
  }
  return clean;
}

bool LoadPreferencesFile(Preferences& preferences, const char* path) {
  preferences = Preferences{};
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    Log("%s not found, using the default preferences.", path);
    return false;
  }
  if (bytes.size() > kMaxFileSize) {
    LogError("%s is %zu bytes, too large for preferences; using the defaults.", path, bytes.size());
    return false;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.find('\0') != std::string_view::npos) {
    LogError("%s is not a text file; using the default preferences.", path);
    return false;
  }
  return DecodePreferences(text, preferences, path);
}

bool SavePreferencesFile(const Preferences& preferences, const char* path) {
  const std::string text = EncodePreferences(preferences);
  if (!WriteFileAtomically(path, text.data(), text.size())) {
    LogError("Unable to save %s.", path);
    return false;
  }
  return true;
}

}  // namespace spellcrypt
