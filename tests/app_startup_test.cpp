// The real start-up, main loop and shut-down on the headless platform: what a run leaves behind
// (log, settings file, exit code) and how it reacts to window events.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

using testing::ReadBytes;
using testing::ReadText;
using testing::TempDir;

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

class StartupTest : public ::testing::Test {
 protected:
  // A tiny word list, so that start-up gets past loading it.
  StartupTest() {
    std::filesystem::create_directories(dir_.File("data"));
    testing::WriteText(dir_.File("data/master_word_list.txt"), "act act\nact cat\naelpp apple\n");
  }

  // One run of the program that quits at quitAtMs (virtual time; the clock starts at 1000 ms).
  int Run(HeadlessPlatform& platform, const std::string& commandLine, std::uint32_t quitAtMs = 3000,
          int exitCode = 0) {
    platform.SetProgramDir(dir_.Path());
    platform.QueueQuit(quitAtMs, exitCode);
    platform.SetFrameLimit(100000);
    return RunGame(platform, commandLine);
  }
  int Run(const std::string& commandLine = "") {
    HeadlessPlatform platform;
    return Run(platform, commandLine);
  }
  std::string Log() const { return ReadText(dir_.File("log.txt")); }
  std::vector<std::uint8_t> SettingsBytes() const { return ReadBytes(dir_.File("defaults.dat")); }
  std::int32_t LoadCount() const {
    const std::vector<std::uint8_t> b = SettingsBytes();
    std::int32_t v = 0;
    std::memcpy(&v, b.data() + 4 + 8, 4);
    return v;
  }

  TempDir dir_;
};

TEST_F(StartupTest, FirstRunWritesLogAndDefaults) {
  EXPECT_EQ(Run(), 0);
  const std::string log = Log();
  EXPECT_NE(log.find(" - defaults.dat not found, using internal defaults.\r\n"), std::string::npos);
  EXPECT_NE(log.find(" - Game started on Monday, December 07 2026.\r\n"), std::string::npos);
  const std::vector<std::uint8_t> bytes = SettingsBytes();
  ASSERT_EQ(bytes.size(), 184u);
  const std::uint8_t head[] = {0xB4, 0, 0, 0, 0xCD, 0xCC, 0x8C, 0x3F};
  EXPECT_EQ(std::memcmp(bytes.data(), head, sizeof head), 0);
  EXPECT_EQ(LoadCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("defaults.dat.tmp")));
}

TEST_F(StartupTest, LaterRunsFindTheFileCountThemAndStartANewLog) {
  Run();
  Run();
  EXPECT_EQ(Log().find("not found, using internal defaults."), std::string::npos);
  EXPECT_EQ(Count(Log(), "Game started on"), 1u);
  EXPECT_EQ(LoadCount(), 1);
  Run();
  EXPECT_EQ(LoadCount(), 2);
}

TEST_F(StartupTest, NoSoundIsSavedWithTheSettings) {
  Run("-NOSOUND");
  const std::vector<std::uint8_t> bytes = SettingsBytes();
  EXPECT_EQ(bytes[4 + 18], 1);
  EXPECT_EQ(bytes[4 + 19], 1);
  EXPECT_NE(Log().find("Sound disabled. (-nosound parm)"), std::string::npos);
}

TEST_F(StartupTest, TheQuitRequestsExitCodeIsTheProgramsExitCode) {
  HeadlessPlatform platform;
  EXPECT_EQ(Run(platform, "", 2000, 3), 3);
  EXPECT_GT(platform.FramesPresented(), 30);
}

TEST_F(StartupTest, WindowFailureShowsTheBoxAndStillSaves) {
  HeadlessPlatform platform;
  platform.failWindowCreation = true;
  EXPECT_EQ(Run(platform, ""), 0);
  ASSERT_EQ(platform.messageBoxes.size(), 1u);
  EXPECT_EQ(platform.messageBoxes[0], "Problems, man!|Unknown error initializing the game.");
  EXPECT_NE(Log().find(" - [Problems, man!] Unknown error initializing the game.\r\n"), std::string::npos)
      << "a box nobody could see is kept in the log";
  EXPECT_EQ(SettingsBytes().size(), 184u);
}

TEST_F(StartupTest, LetterTilesStayKeyedWhiteAfterAModeSwitch) {
  std::vector<std::uint32_t> sheet(12 * 50 * 50, 0xFFFFFF);
  testing::WritePicture(dir_.File("graphics/tiles_new.jpg"), sheet, 12 * 50, 50);
  HeadlessPlatform platform;
  PlatformEvent toggle;
  toggle.type = PlatformEventType::ToggleFullscreen;
  platform.QueueEvent(1500, toggle);
  platform.QueueEvent(1600, toggle);
  std::vector<std::uint32_t> keys;
  platform.onPresent = [&](int) {
    if (GetApp() != nullptr && GetApp()->tileImages) keys.push_back(GetApp()->tileImages->tiles.ColorKey());
  };
  Run(platform, "-window");
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(Count(Log(), "Restoring surfaces"), 2u);
  for (std::uint32_t key : keys) ASSERT_EQ(key, 0xFFFFFFu);
}

TEST_F(StartupTest, TheOldLogIsDeletedAtStart) {
  testing::WriteText(dir_.File("log.txt"), "an old run\r\n");
  Run();
  EXPECT_EQ(Log().find("an old run"), std::string::npos);
}

TEST_F(StartupTest, AltEnterTwiceReturnsToTheStartingModeAndIsSavedOnRestore) {
  HeadlessPlatform platform;
  PlatformEvent toggle;
  toggle.type = PlatformEventType::ToggleFullscreen;
  platform.QueueEvent(1500, toggle);
  std::vector<int> depths;
  platform.onPresent = [&](int) { depths.push_back(GetGlobals().colourDepth); };
  Run(platform, "-window");
  ASSERT_FALSE(depths.empty());
  EXPECT_EQ(depths.front(), 0);
  EXPECT_EQ(depths.back(), 32);
  EXPECT_TRUE(platform.Fullscreen());
  EXPECT_EQ(SettingsBytes()[4 + 16], 1);  // the mode in force is written back when surfaces are restored

  HeadlessPlatform again;
  again.QueueEvent(1500, toggle);
  again.QueueEvent(1600, toggle);
  Run(again, "");
  EXPECT_EQ(Count(Log(), "Toggling fullscreen."), 2u);
  EXPECT_EQ(Count(Log(), "Restoring surfaces"), 2u);
  EXPECT_TRUE(again.Fullscreen());
  EXPECT_EQ(SettingsBytes()[4 + 16], 1);
}

TEST_F(StartupTest, CtrlAltFTogglesTheFpsLineOnlyWhileActive) {
  HeadlessPlatform platform;
  PlatformEvent off;
  off.type = PlatformEventType::Deactivated;
  PlatformEvent on;
  on.type = PlatformEventType::Activated;
  platform.QueueKey(1200, 'F', 0, true, true);  // on
  platform.QueueEvent(1300, off);
  platform.QueueKey(1400, 'F', 0, true, true);  // ignored: inactive
  platform.QueueEvent(1500, on);
  bool fpsShownAtEnd = false;
  platform.onPresent = [&](int) { fpsShownAtEnd = GetApp()->fpsDisplay; };
  Run(platform, "-window", 2000);
  EXPECT_EQ(Count(Log(), "Toggle FPS display"), 1u);
  EXPECT_TRUE(fpsShownAtEnd);
}

TEST_F(StartupTest, UnfocusedWindowShowsThePauseFrameTenTimesASecond) {
  HeadlessPlatform platform;
  PlatformEvent off;
  off.type = PlatformEventType::Deactivated;
  platform.QueueEvent(1500, off);
  std::vector<std::uint32_t> inactiveFrames;
  platform.onPresent = [&](int) {
    if (!GetGlobals().active) inactiveFrames.push_back(platform.VirtualMs());
  };
  Run(platform, "-window", 3500);
  // About two seconds unfocused at one frame per 100 ms pass.
  ASSERT_GE(inactiveFrames.size(), 15u);
  ASSERT_LE(inactiveFrames.size(), 21u);
  for (std::size_t i = 1; i < inactiveFrames.size(); ++i)
    EXPECT_GE(inactiveFrames[i] - inactiveFrames[i - 1], 100u);
  for (std::uint32_t pixel : platform.LastFrame()) ASSERT_EQ(pixel & 0xFFFFFFu, 0u);
}

TEST_F(StartupTest, UnfocusedFullScreenDrawsNothing) {
  HeadlessPlatform platform;
  PlatformEvent off;
  off.type = PlatformEventType::Deactivated;
  platform.QueueEvent(1500, off);
  int inactiveFrames = 0;
  platform.onPresent = [&](int) {
    if (!GetGlobals().active) ++inactiveFrames;
  };
  Run(platform, "-fullscreen", 3000);
  EXPECT_EQ(inactiveFrames, 0);
}

TEST_F(StartupTest, WebLinkWritesTheShortcutAndReportsFailure) {
  HeadlessPlatform platform;
  platform.SetProgramDir(dir_.Path());
  std::filesystem::current_path(dir_.Path());
  CreateGlobals(platform);
  CreateApp();
  OpenWebLink("spellcrypt.example.org");
  EXPECT_EQ(ReadText(dir_.File("temp.url")), "[InternetShortcut]\nURL=http://spellcrypt.example.org\n");
  ASSERT_EQ(platform.openedLinks.size(), 1u);
  EXPECT_EQ(platform.openedLinks[0], "http://spellcrypt.example.org");
  EXPECT_TRUE(platform.messageBoxes.empty());

  // Whatever the opener's failure, the box names no Windows file types: no browser, and the address.
  for (const OpenLinkResult failure : {OpenLinkResult::NoAssociation, OpenLinkResult::UnknownError}) {
    platform.messageBoxes.clear();
    platform.openLinkResult = failure;
    OpenWebLink("spellcrypt.example.org");
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(
        platform.messageBoxes[0],
        "Error|No web browser could be started.\n\nPoint your browser to spellcrypt.example.org instead.\n");
  }
  // A folder that cannot take the shortcut does not keep the page from opening.
  std::filesystem::remove(dir_.File("temp.url"));
  std::filesystem::create_directories(dir_.File("temp.url") + "/x");
  platform.openLinkResult = OpenLinkResult::Ok;
  platform.openedLinks.clear();
  OpenWebLink("spellcrypt.example.org");
  EXPECT_EQ(platform.openedLinks.size(), 1u);
  DestroyApp();
  DestroyGlobals();
}

}  // namespace
}  // namespace spellcrypt
