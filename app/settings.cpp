// "defaults.dat" and "config.dat": raw little-endian records preceded by their size.
#include "app/settings.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/game_loop.h"
#include "base/binary_io.h"
#include "base/difficulty.h"
#include "base/log.h"
#include "platform/files.h"

namespace spellcrypt {

// Zero-fill, then Normal mode in full screen: exactly the record's default member values.
void ResetSettings(Settings& settings) { settings = Settings{}; }

void ResetTips(Settings& settings) { std::memset(settings.tipShown, 0, sizeof settings.tipShown); }

void EncodeSettings(const Settings& s, std::uint8_t out[kSettingsRecordSize]) {
  ByteWriter w;
  w.F32(s.formatVersion);
  w.I32(s.mode);
  w.I32(s.loadCount);
  w.I32(s.monstersKilled);
  w.U8(s.fullscreen);
  w.U8(s.useInternetScores);
  w.U8(s.soundOff);
  w.U8(s.musicOff);
  w.Bytes(s.playerName, sizeof s.playerName);
  w.Bytes(s.tipShown, sizeof s.tipShown);
  std::memcpy(out, w.Data().data(), kSettingsRecordSize);
}

void DecodeSettings(const std::uint8_t in[kSettingsRecordSize], Settings& s) {
  ByteReader r(in, kSettingsRecordSize);
  r.F32(s.formatVersion);
  r.I32(s.mode);
  r.I32(s.loadCount);
  r.I32(s.monstersKilled);
  r.U8(s.fullscreen);
  r.U8(s.useInternetScores);
  r.U8(s.soundOff);
  r.U8(s.musicOff);
  r.Bytes(s.playerName, sizeof s.playerName);
  s.playerName[sizeof s.playerName - 1] = '\0';  // the name is always a terminated text
  r.Bytes(s.tipShown, sizeof s.tipShown);
}

bool LoadSettingsFile(Settings& settings, const char* path) {
  if (!FileExists(path)) {
    Log("%s not found, using internal defaults.", path);
    return false;
  }
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    LogError("Error finding Settings data file %s.", path);
    return false;
  }
  return DecodeSettingsFile(bytes, settings, path);
}

bool DecodeSettingsFile(const std::vector<std::uint8_t>& bytes, Settings& settings, const char* path) {
  ResetSettings(settings);
  ByteReader reader(bytes);
  std::int32_t size = 0;
  std::uint8_t record[kSettingsRecordSize];
  Settings defaults;
  ResetSettings(defaults);
  EncodeSettings(defaults, record);
  if (!reader.I32(size) || size <= 0) {
    LogError("Couldn't read Settings size info");
    return false;
  }
  // Never read past the record: a larger announced size reads the record and ignores the rest.
  int take = size;
  if (take > kSettingsRecordSize) {
    Log("%s announces %d bytes of settings; reading the first %d.", path, size, kSettingsRecordSize);
    take = kSettingsRecordSize;
  }
  // A file cut short keeps what it holds (the name, the mode, the tips read so far) over the
  // defaults, so that the save at exit does not throw them away; it still counts as a failed load.
  const std::size_t available = std::min(reader.Remaining(), static_cast<std::size_t>(take));
  reader.Bytes(record, available);
  DecodeSettings(record, settings);
  // Every table, tab and list is indexed by the difficulty: one the game does not know is Normal.
  if (!IsDifficulty(settings.mode)) {
    LogError("%s holds the unknown difficulty %d; playing Normal.", path, settings.mode);
    settings.mode = static_cast<int>(Difficulty::Normal);
  }
  if (available < static_cast<std::size_t>(take)) {
    LogError("Couldn't read Settings size info");
    return false;
  }
  settings.loadCount += 1;
  return true;
}

bool SaveSettingsFile(Settings& settings, const char* path) {
  settings.formatVersion = 1.1f;
  std::uint8_t file[4 + kSettingsRecordSize];
  ByteWriter sizeField;
  sizeField.I32(kSettingsRecordSize);
  std::memcpy(file, sizeField.Data().data(), 4);
  EncodeSettings(settings, file + 4);
  // Written beside the old file and renamed over it, so a crash mid-write never loses the settings.
  if (!WriteFileAtomically(path, file, sizeof file)) {
    LogError("Error saving Settings data file %s.", path);
    return false;
  }
  return true;
}

bool LoadConfig(bool fromProgramDir) {
  std::string path = "config.dat";
  if (fromProgramDir) path = GetModuleDir() + path;
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    DebugOut("%s not found, using defaults.", path.c_str());
    return false;
  }
  std::uint8_t record[kConfigRecordSize];
  return DecodeConfig(bytes, record, path.c_str());
}

bool DecodeConfig(const std::vector<std::uint8_t>& bytes, std::uint8_t record[kConfigRecordSize],
                  const char* path) {
  std::memset(record, 0, kConfigRecordSize);
  ByteReader reader(bytes);
  std::int32_t size = 0;
  if (!reader.I32(size)) {
    LogError("Couldn't read CConfig size info");
    return false;
  }
  int take = size;
  if (take > kConfigRecordSize) {
    Log("%s announces %d bytes of configuration; reading the first %d.", path, size, kConfigRecordSize);
    take = kConfigRecordSize;
  }
  if (take <= 0 || !reader.Bytes(record, static_cast<std::size_t>(take))) {
    LogError("Couldn't read CConfig info");
    return false;
  }
  return true;
}

}  // namespace spellcrypt
