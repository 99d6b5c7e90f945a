// Path resolution (either separator, any case), whole-file reads and atomic replacement.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(ResolvePathTest, FindsFilesWhateverTheCaseAndSeparator) {
  TempDir dir;
  fs::create_directories(dir.File("graphics/character"));
  testing::WriteText(dir.File("graphics/character/rat.bmp"), "r");
  testing::WriteText(dir.File("graphics/Treasure.bmp"), "t");
  fs::current_path(dir.Path());

  EXPECT_EQ(ResolvePath("graphics\\character\\Rat.bmp"), "graphics/character/rat.bmp");
  EXPECT_EQ(ResolvePath("GRAPHICS/Character/RAT.BMP"), "graphics/character/rat.bmp");
  EXPECT_EQ(ResolvePath("graphics\\treasure.bmp"), "graphics/Treasure.bmp");
  EXPECT_EQ(ResolvePath(dir.Path() + "/Graphics\\Treasure.BMP"), dir.Path() + "/graphics/Treasure.bmp");
  EXPECT_TRUE(FileExists("Graphics\\Character\\RAT.bmp"));
}

TEST(ResolvePathTest, KeepsWhatDoesNotExistAsWritten) {
  TempDir dir;
  fs::create_directories(dir.File("sound"));
  fs::current_path(dir.Path());
  EXPECT_EQ(ResolvePath("Sound\\New.wav"), "sound/New.wav");
  EXPECT_EQ(ResolvePath("nowhere\\x\\y.txt"), "nowhere/x/y.txt");
  EXPECT_FALSE(FileExists("nowhere\\x\\y.txt"));
}

TEST(FileHelpersTest, ReadWholeFileAndAppend) {
  TempDir dir;
  fs::current_path(dir.Path());
  std::vector<std::uint8_t> bytes;
  EXPECT_FALSE(ReadWholeFile("missing.bin", bytes));
  AppendToFile("ab", "log.txt");
  AppendToFile("", "log.txt");
  AppendToFile("cd", "LOG.TXT");  // the existing file, whatever the case
  ASSERT_TRUE(ReadWholeFile("log.txt", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcd");
  EXPECT_TRUE(DeleteFile("Log.txt"));
  EXPECT_FALSE(FileExists("log.txt"));
}

TEST(FileHelpersTest, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
  TempDir dir;
  fs::current_path(dir.Path());
  const std::string first(1000, 'a');
  ASSERT_TRUE(WriteFileAtomically("data.bin", first.data(), first.size()));
  ASSERT_TRUE(WriteFileAtomically("data.bin", "xyz", 3));
  EXPECT_EQ(testing::ReadText(dir.File("data.bin")), "xyz");
  EXPECT_FALSE(fs::exists(dir.File("data.bin.tmp")));
  EXPECT_FALSE(WriteFileAtomically("no/such/dir/data.bin", "x", 1));
}

// The browser edition keeps each changed file in lasting storage: it is told the whole path of
// every file replaced or removed, whatever the case the game wrote its name in, and of nothing
// that failed.
std::vector<std::string> gChanged;
TEST(FileHelpersTest, ChangedFilesAreReportedByTheirWholePath) {
  TempDir dir;
  fs::current_path(dir.Path());
  gChanged.clear();
  SetFilesChangedHook([](const char* path) { gChanged.emplace_back(path); });
  ASSERT_TRUE(WriteFileAtomically("Scores.dat", "abc", 3));
  EXPECT_FALSE(WriteFileAtomically("no/such/dir/data.bin", "x", 1));
  EXPECT_TRUE(DeleteFile("SCORES.DAT"));
  EXPECT_FALSE(DeleteFile("never.dat"));
  SetFilesChangedHook(nullptr);
  ASSERT_TRUE(WriteFileAtomically("after.dat", "x", 1));
  const std::string whole = fs::canonical(dir.Path()).string() + "/Scores.dat";
  EXPECT_EQ(gChanged, (std::vector<std::string>{whole, whole}));
}

// An installed game writes to the user's data folder: $XDG_DATA_HOME/spellcrypt when that is an
// absolute path, otherwise ~/.local/share/spellcrypt; run from its build folder, beside itself.
TEST(FileHelpersTest, TheUsersDataFolderFollowsXdgThenHome) {
  TempDir dir;
  const auto restore = [](const char* name, const char* value) {
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  };
  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string savedXdg = oldXdg != nullptr ? oldXdg : "";
  const std::string savedHome = oldHome != nullptr ? oldHome : "";
  const std::string xdg = (fs::path(dir.Path()) / "xdg").string();
  const std::string home = (fs::path(dir.Path()) / "home").string();
  setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(UserDataFolder(), xdg + "/spellcrypt/");
  EXPECT_TRUE(fs::is_directory(xdg + "/spellcrypt"));
  setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(UserDataFolder(), home + "/.local/share/spellcrypt/");
  unsetenv("XDG_DATA_HOME");
  unsetenv("HOME");
  EXPECT_EQ(UserDataFolder(), "");
  restore("XDG_DATA_HOME", oldXdg != nullptr ? savedXdg.c_str() : nullptr);
  restore("HOME", oldHome != nullptr ? savedHome.c_str() : nullptr);

  SetWriteFolder(xdg + "/spellcrypt/");
  EXPECT_EQ(WritablePath("defaults.dat"), xdg + "/spellcrypt/defaults.dat");
  SetWriteFolder("");
  EXPECT_EQ(WritablePath("defaults.dat"), "defaults.dat");
}

}  // namespace
}  // namespace spellcrypt
