// "defaults.dat" and "config.dat" from any bytes: never a read past the record, a difficulty the
// game knows, a terminated name; a record that loads saves and loads back to itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/settings.h"
#include "base/difficulty.h"
#include "fuzz/fuzz_support.h"

using namespace spellcrypt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  const std::vector<std::uint8_t> bytes(data, data + size);
  std::uint8_t config[kConfigRecordSize];
  DecodeConfig(bytes, config, "config.dat");

  Settings settings;
  const bool loaded = DecodeSettingsFile(bytes, settings, "defaults.dat");
  if (!IsDifficulty(settings.mode)) __builtin_trap();
  if (std::memchr(settings.playerName, '\0', sizeof settings.playerName) == nullptr) __builtin_trap();
  if (!loaded) return 0;
  // What loads is what the game writes back at exit, and that loads to the same record.
  std::vector<std::uint8_t> file(4 + kSettingsRecordSize);
  file[0] = kSettingsRecordSize;
  EncodeSettings(settings, file.data() + 4);
  Settings again;
  if (!DecodeSettingsFile(file, again, "defaults.dat")) __builtin_trap();
  std::uint8_t first[kSettingsRecordSize];
  std::uint8_t second[kSettingsRecordSize];
  again.loadCount = settings.loadCount;
  EncodeSettings(settings, first);
  EncodeSettings(again, second);
  if (std::memcmp(first, second, kSettingsRecordSize) != 0) __builtin_trap();
  return 0;
}
