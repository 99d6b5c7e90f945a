// "defaults.dat", "config.dat" and "preferences.txt": defaults, the exact bytes, damaged files,
// atomic replacement.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/app.h"
#include "app/preferences.h"
#include "app/settings.h"
#include "base/binary_io.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

using testing::ReadBytes;
using testing::SawLine;
using testing::WriteBytes;

class SettingsFileTest : public testing::HeadlessFixture {
 protected:
  SettingsFileTest() : HeadlessFixture(false) {}
  std::string Path() const { return dir_.File("defaults.dat"); }
};

TEST_F(SettingsFileTest, MissingFileKeepsDefaultsAndSays) {
  Settings s;
  EXPECT_FALSE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_TRUE(SawLine(platform_, "defaults.dat not found, using internal defaults."));
  EXPECT_EQ(s.mode, 1);
  EXPECT_EQ(s.fullscreen, 1);
  EXPECT_EQ(s.soundOff, 0);
  EXPECT_EQ(s.musicOff, 0);
  for (std::uint8_t shown : s.tipShown) EXPECT_EQ(shown, 0);
}

TEST_F(SettingsFileTest, SavedFileIsTheSizeThenTheRecord) {
  Settings s;
  s.soundOff = 1;
  s.musicOff = 1;
  std::strcpy(s.playerName, "Merlin");
  s.tipShown[5] = 1;
  ASSERT_TRUE(SaveSettingsFile(s, "defaults.dat"));
  const std::vector<std::uint8_t> bytes = ReadBytes(Path());
  ASSERT_EQ(bytes.size(), 184u);
  const std::uint8_t head[] = {0xB4, 0, 0, 0, 0xCD, 0xCC, 0x8C, 0x3F};
  EXPECT_EQ(std::memcmp(bytes.data(), head, sizeof head), 0);
  EXPECT_EQ(bytes[4 + 4], 1);       // mode
  EXPECT_EQ(bytes[4 + 16], 1);      // fullscreen
  EXPECT_EQ(bytes[4 + 18], 1);      // soundOff
  EXPECT_EQ(bytes[4 + 19], 1);      // musicOff
  EXPECT_EQ(bytes[4 + 20], 'M');    // playerName
  EXPECT_EQ(bytes[4 + 52 + 5], 1);  // tipShown[5]
  EXPECT_FALSE(std::filesystem::exists(Path() + ".tmp"));
}

TEST_F(SettingsFileTest, RoundTripCountsTheLoad) {
  Settings s;
  s.mode = 2;
  s.monstersKilled = 77;
  s.loadCount = 4;
  ASSERT_TRUE(SaveSettingsFile(s, "defaults.dat"));
  Settings loaded;
  ASSERT_TRUE(LoadSettingsFile(loaded, "defaults.dat"));
  EXPECT_EQ(loaded.mode, 2);
  EXPECT_EQ(loaded.monstersKilled, 77);
  EXPECT_EQ(loaded.loadCount, 5);
  EXPECT_FLOAT_EQ(loaded.formatVersion, 1.1f);
}

TEST_F(SettingsFileTest, SizeOnlyFileGivesTheErrorAndDefaults) {
  WriteBytes(Path(), {0xB4, 0, 0, 0});
  Settings s;
  s.mode = 0;
  EXPECT_FALSE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_TRUE(SawLine(platform_, "ERROR - "));
  EXPECT_TRUE(SawLine(platform_, "Couldn't read Settings size info"));
  EXPECT_EQ(s.mode, 1);
  EXPECT_EQ(s.loadCount, 0);
}

TEST_F(SettingsFileTest, TruncatedRecordKeepsWhatItHolds) {
  Settings written;
  written.mode = 0;
  written.loadCount = 7;
  written.musicOff = 1;
  std::strcpy(written.playerName, "Merlin");
  written.tipShown[3] = 1;
  written.tipShown[100] = 1;
  ASSERT_TRUE(SaveSettingsFile(written, "defaults.dat"));
  std::vector<std::uint8_t> bytes = ReadBytes(Path());
  bytes.resize(4 + 60);  // the name and the first tips survive, tip 100 does not
  WriteBytes(Path(), bytes);
  Settings s;
  s.mode = 2;
  EXPECT_FALSE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_EQ(s.mode, 0);
  EXPECT_EQ(s.loadCount, 7) << "a failed load is not counted";
  EXPECT_EQ(s.musicOff, 1);
  EXPECT_STREQ(s.playerName, "Merlin");
  EXPECT_EQ(s.tipShown[3], 1);
  EXPECT_EQ(s.tipShown[100], 0);
  EXPECT_EQ(s.fullscreen, 1) << "what the file does not hold keeps its default";

  // Cut inside the name: the name read so far is kept, and it is still a terminated text.
  bytes.resize(4 + 23);
  WriteBytes(Path(), bytes);
  EXPECT_FALSE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_STREQ(s.playerName, "Mer");
}

TEST_F(SettingsFileTest, UnknownDifficultyBecomesNormal) {
  Settings written;
  written.mode = 7;
  ASSERT_TRUE(SaveSettingsFile(written, "defaults.dat"));
  Settings s;
  EXPECT_TRUE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_EQ(s.mode, 1);
  written.mode = -1;
  ASSERT_TRUE(SaveSettingsFile(written, "defaults.dat"));
  EXPECT_TRUE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_EQ(s.mode, 1);
}

TEST_F(SettingsFileTest, OversizedSizeFieldReadsOnlyTheRecord) {
  Settings written;
  written.mode = 2;
  ASSERT_TRUE(SaveSettingsFile(written, "defaults.dat"));
  std::vector<std::uint8_t> bytes = ReadBytes(Path());
  bytes[0] = 0xFF;
  bytes[1] = 0x7F;  // announces 32767 bytes
  bytes.insert(bytes.end(), 500, 0xAB);
  WriteBytes(Path(), bytes);
  Settings s;
  ASSERT_TRUE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_EQ(s.mode, 2);
  EXPECT_EQ(s.tipShown[127], 0);
  EXPECT_EQ(s.playerName[31], '\0');
  EXPECT_TRUE(SawLine(platform_, "reading the first 180"));
}

TEST_F(SettingsFileTest, ShorterOlderRecordFillsTheRestWithDefaults) {
  // A record of 20 bytes (up to musicOff) is read as far as it goes.
  ByteWriter w;
  w.I32(20);
  w.F32(1.1f);
  w.I32(0);
  w.I32(3);
  w.I32(9);
  w.U8(0);
  w.U8(1);
  w.U8(0);
  w.U8(1);
  WriteBytes(Path(), w.Data());
  Settings s;
  ASSERT_TRUE(LoadSettingsFile(s, "defaults.dat"));
  EXPECT_EQ(s.mode, 0);
  EXPECT_EQ(s.loadCount, 4);
  EXPECT_EQ(s.monstersKilled, 9);
  EXPECT_EQ(s.fullscreen, 0);
  EXPECT_EQ(s.musicOff, 1);
  EXPECT_EQ(s.playerName[0], '\0');
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileWhole) {
  Settings s;
  s.mode = 2;
  ASSERT_TRUE(SaveSettingsFile(s, "defaults.dat"));
  const std::vector<std::uint8_t> before = ReadBytes(Path());
  // A directory where the temporary file would go makes the write fail before the rename.
  std::filesystem::create_directory(Path() + ".tmp");
  s.mode = 0;
  EXPECT_FALSE(SaveSettingsFile(s, "defaults.dat"));
  EXPECT_TRUE(SawLine(platform_, "Error saving Settings data file defaults.dat."));
  EXPECT_EQ(ReadBytes(Path()), before);
}

TEST_F(SettingsFileTest, PreferencesRoundTripAndDamagedFilesGiveTheDefaults) {
  Preferences p;
  EXPECT_FALSE(LoadPreferencesFile(p, "preferences.txt"));
  EXPECT_TRUE(p.showMeanings);
  EXPECT_TRUE(SawLine(platform_, "preferences.txt not found, using the default preferences."));
  for (const bool on : {false, true}) {
    p.showMeanings = on;
    ASSERT_TRUE(SavePreferencesFile(p, "preferences.txt"));
    Preferences loaded;
    loaded.showMeanings = !on;
    EXPECT_TRUE(LoadPreferencesFile(loaded, "preferences.txt"));
    EXPECT_EQ(loaded, p);
  }
  const std::vector<std::uint8_t> saved = ReadBytes(dir_.File("preferences.txt"));
  EXPECT_EQ(std::string(saved.begin(), saved.end()), "# Spellcrypt preferences\nmeanings=on\n");

  // Lines it does not understand are logged and skipped; what it understands is kept.
  testing::WriteText("preferences.txt", "meanings = off\r\ncolour=blue\nmeanings\n\n# a note\n");
  EXPECT_FALSE(LoadPreferencesFile(p, "preferences.txt"));
  EXPECT_FALSE(p.showMeanings);
  EXPECT_TRUE(SawLine(platform_, "preferences.txt, line 2: \"colour=blue\" is not understood"));
  EXPECT_TRUE(SawLine(platform_, "preferences.txt, line 3: \"meanings\" is not understood"));
  // A value that is neither on nor off, binary bytes and a huge file: the defaults.
  testing::WriteText("preferences.txt", "meanings=maybe\n");
  EXPECT_FALSE(LoadPreferencesFile(p, "preferences.txt"));
  EXPECT_TRUE(p.showMeanings);
  WriteBytes(dir_.File("preferences.txt"), {'m', 'e', 'a', 0, 0xFF, '=', 'o', 'f', 'f'});
  p.showMeanings = false;
  EXPECT_FALSE(LoadPreferencesFile(p, "preferences.txt"));
  EXPECT_TRUE(p.showMeanings);
  EXPECT_TRUE(SawLine(platform_, "preferences.txt is not a text file"));
  testing::WriteText("preferences.txt", "meanings=off\n" + std::string(5000, '#'));
  p.showMeanings = false;
  EXPECT_FALSE(LoadPreferencesFile(p, "preferences.txt"));
  EXPECT_TRUE(p.showMeanings);
}

class AppPreferencesTest : public testing::HeadlessFixture {};

TEST_F(AppPreferencesTest, TheMeaningsSwitchLivesBesideTheSettingsRecordAndLeavesItAlone) {
  CAppGlo& app = *GetApp();
  ASSERT_TRUE(app.SaveSettings());
  const std::vector<std::uint8_t> before = ReadBytes(dir_.File("defaults.dat"));
  ASSERT_EQ(before.size(), 4u + kSettingsRecordSize);
  app.preferences.showMeanings = false;
  ASSERT_TRUE(app.SavePreferences());
  ASSERT_TRUE(app.SaveSettings());
  EXPECT_EQ(ReadBytes(dir_.File("defaults.dat")), before);
  app.preferences = Preferences{};
  app.LoadSettings();
  EXPECT_FALSE(app.preferences.showMeanings);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("preferences.txt") + ".tmp"));
}

TEST_F(SettingsFileTest, ResetTipsClearsEveryFlag) {
  Settings s;
  std::memset(s.tipShown, 1, sizeof s.tipShown);
  ResetTips(s);
  for (std::uint8_t shown : s.tipShown) EXPECT_EQ(shown, 0);
}

TEST_F(SettingsFileTest, MissingConfigGoesToTheDebuggerOnly) {
  EXPECT_FALSE(LoadConfig(true));
  EXPECT_TRUE(SawLine(platform_, "config.dat not found, using defaults."));
  EXPECT_FALSE(SawLine(platform_, " - "));  // no log-file line with a time stamp
}

TEST_F(SettingsFileTest, ConfigSizesZeroShortAndOversized) {
  WriteBytes(dir_.File("config.dat"), {0, 0, 0, 0});
  EXPECT_FALSE(LoadConfig(true));
  EXPECT_TRUE(SawLine(platform_, "Couldn't read CConfig info"));

  WriteBytes(dir_.File("config.dat"), {1, 0});
  EXPECT_FALSE(LoadConfig(true));
  EXPECT_TRUE(SawLine(platform_, "Couldn't read CConfig size info"));

  std::vector<std::uint8_t> big = {0x00, 0x10, 0, 0};  // 4096 bytes announced
  big.resize(4 + 4096, 7);
  WriteBytes(dir_.File("config.dat"), big);
  EXPECT_TRUE(LoadConfig(true));

  WriteBytes(dir_.File("config.dat"), {10, 0, 0, 0, 1, 2, 3});  // 10 announced, 3 present
  EXPECT_FALSE(LoadConfig(true));
}

}  // namespace
}  // namespace spellcrypt
