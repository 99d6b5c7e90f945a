// The player's preferences and a few lifetime facts, kept in "defaults.dat"; and "config.dat",
// which is read at start-up and otherwise unused.
#pragma once

#include <cstdint>
#include <vector>

namespace spellcrypt {

// The 180-byte record as it stands in "defaults.dat" after its 4-byte size.
struct Settings {
  float formatVersion = 0.0f;  // set to 1.1 before every save
  std::int32_t mode = 1;       // 0 Kidmode, 1 Normal, 2 Wizard
  std::int32_t loadCount = 0;  // runs that found the file
  std::int32_t monstersKilled = 0;
  std::uint8_t fullscreen = 1;
  std::uint8_t useInternetScores = 0;
  std::uint8_t soundOff = 0;
  std::uint8_t musicOff = 0;
  char playerName[32] = {};
  std::uint8_t tipShown[128] = {};
};

constexpr int kSettingsRecordSize = 180;
constexpr int kConfigRecordSize = 395;

void ResetSettings(Settings& settings);
void ResetTips(Settings& settings);
// The record's bytes exactly as the file holds them, and back.
void EncodeSettings(const Settings& settings, std::uint8_t out[kSettingsRecordSize]);
void DecodeSettings(const std::uint8_t in[kSettingsRecordSize], Settings& settings);

bool LoadSettingsFile(Settings& settings, const char* path);
// The same over the file's bytes (path names it in the log).
bool DecodeSettingsFile(const std::vector<std::uint8_t>& bytes, Settings& settings, const char* path);
bool SaveSettingsFile(Settings& settings, const char* path);
// Reads "config.dat" into a zero-filled 395-byte record that nothing else consults.
bool LoadConfig(bool fromProgramDir);
// The configuration record from the file's bytes (zero-filled first; never read past its end).
bool DecodeConfig(const std::vector<std::uint8_t>& bytes, std::uint8_t record[kConfigRecordSize],
                  const char* path);

}  // namespace spellcrypt
