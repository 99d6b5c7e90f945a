// The whole program on the headless platform, driven like a player would: the title with its
// highlights, the options page (sound, music, both resets with their question and notices), the
// help picture, and quitting. Screenshots of each screen go to build/<preset>/ui_e2e_shots/.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/game_loop.h"
#include "app/globals.h"
#include "app/settings.h"
#include "gfx/dx_screen.h"
#include "tests/test_support.h"
#include "ui/framework/thing_list.h"
#include "ui/menus/screen_options.h"
#include "ui/menus/screen_title.h"
#include "ui/menus/screen_yes_no.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

// What the test saw at one moment of the run.
struct Seen {
  std::string screen;
  int inputLevel = -1;
  bool helpShown = false;
  bool shotSaved = false;
};

std::string TopScreenName() {
  Screen* top = GetGlobals().TopScreen();
  if (top == nullptr) return "none";
  if (dynamic_cast<ScreenTitle*>(top) != nullptr) return "title";
  if (dynamic_cast<ScreenOptions*>(top) != nullptr) return "options";
  if (auto* question = dynamic_cast<ScreenYesNo*>(top)) return "question: " + question->question;
  if (auto* notice = dynamic_cast<ScreenContinue*>(top)) return "notice: " + notice->text;
  return "other";
}

class UiTitleEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path bin = SPELLCRYPT_BIN_DIR;
    if (!fs::exists(bin / "graphics" / "title_screen.jpg") || !fs::exists(bin / "data")) {
      SKIP_UNLESS_CI("the generated pictures and data are not built");
    }
    // The program folder: links to the generated data, and room for what the run writes.
    for (const char* folder : {"data", "graphics", "sound"}) {
      if (fs::exists(bin / folder))
        fs::create_directory_symlink(bin / folder, fs::path(dir_.Path()) / folder);
    }
    shots_ = bin.parent_path() / "ui_e2e_shots";
    fs::create_directories(shots_);
    platform_.SetProgramDir(dir_.Path());
    platform_.onPresent = [this](int) { Observe(); };
  }

  // A look at the running program at `atMs`, with a screenshot named `shot`.
  void LookAt(std::uint32_t atMs, const std::string& shot) { looks_.push_back({atMs, shot}); }

  void Observe() {
    while (next_ < looks_.size() && looks_[next_].first <= platform_.VirtualMs()) {
      Seen seen;
      seen.screen = TopScreenName();
      seen.inputLevel = GetGlobals().inputLevel;
      seen.helpShown = GetGlobals().things->FindByName("helpbg") != nullptr;
      const fs::path file = shots_ / (looks_[next_].second + ".png");
      seen.shotSaved = GetGlobals().display->SaveScreenshot(file.string().c_str());
      seen_.push_back(seen);
      ++next_;
    }
  }

  void Click(std::uint32_t atMs, int x, int y) { platform_.QueueClick(atMs, x, y); }
  void Key(std::uint32_t atMs, int key, int character) { platform_.QueueKey(atMs, key, character); }

  testing::TempDir dir_;
  HeadlessPlatform platform_;
  fs::path shots_;
  std::vector<std::pair<std::uint32_t, std::string>> looks_;
  std::size_t next_ = 0;
  std::vector<Seen> seen_;
};

TEST_F(UiTitleEndToEndTest, TitleOptionsHelpAndQuit) {
  // A player who has seen two quick tips already.
  Settings before;
  ResetSettings(before);
  before.tipShown[0] = 1;
  before.tipShown[4] = 1;
  ASSERT_TRUE(SaveSettingsFile(before, (fs::path(dir_.Path()) / "defaults.dat").c_str()));

  LookAt(1400, "title");
  platform_.QueueMouseMove(1500, 482, 252);  // onto "options": its highlight shows
  LookAt(1700, "title_options_highlighted");
  Click(1800, 482, 252);
  LookAt(2300, "options");
  Click(2400, 531, 217);  // sound off
  Click(2600, 531, 260);  // music off
  Click(2800, 300, 300);  // reset the quick tips
  LookAt(3300, "notice_tips_reset");
  Key(3400, vk::Enter, 13);
  LookAt(3550, "options_after_notice");
  Click(3600, 337, 346);  // reset the high scores ...
  LookAt(4100, "question_reset_scores");
  Key(4200, vk::Escape, 27);  // ... no
  LookAt(4400, "options_after_no");
  Click(4500, 337, 346);   // again ...
  Key(5000, vk::Down, 0);  // the keyboard walks to "yes" (last, then around to the first)
  Key(5100, vk::Down, 0);
  Key(5200, vk::Enter, 13);
  LookAt(5700, "notice_scores_reset");
  Key(5800, vk::Escape, 27);
  Click(6000, 404, 389);  // back to the title
  LookAt(6400, "title_after_options");
  Click(6500, 425, 292);  // instructions
  LookAt(7000, "help");
  Click(7100, 265, 415);  // back from the help picture
  LookAt(7600, "title_after_help");
  Click(7700, 528, 412);       // quit
  platform_.QueueQuit(30000);  // in case the quit button failed

  ASSERT_EQ(RunGame(platform_, "-WINDOWED"), 0);
  EXPECT_LT(platform_.VirtualMs(), 10000u) << "the quit button did not end the program";

  const std::vector<std::string> screens = {
      "title",   "title",
      "options", "notice: Quick tips have been reset and will be shown again.",
      "options", "question: Completely erase all local high scores?",
      "options", "notice: Local highscores have been reset to defaults.  Now go fill 'em up!",
      "title",   "title",
      "title",
  };
  const std::vector<int> levels = {0, 0, 100, 200, 100, 200, 100, 200, 0, 100, 0};
  ASSERT_EQ(seen_.size(), screens.size());
  for (std::size_t i = 0; i < screens.size(); ++i) {
    EXPECT_EQ(seen_[i].screen, screens[i]) << "look " << i << ": " << looks_[i].second;
    EXPECT_EQ(seen_[i].inputLevel, levels[i]) << "look " << i << ": " << looks_[i].second;
    EXPECT_TRUE(seen_[i].shotSaved) << looks_[i].second;
  }
  EXPECT_TRUE(seen_[9].helpShown);
  EXPECT_FALSE(seen_[10].helpShown);

  // What the run left behind.
  Settings after;
  ASSERT_TRUE(LoadSettingsFile(after, (fs::path(dir_.Path()) / "defaults.dat").c_str()));
  EXPECT_EQ(after.soundOff, 1);
  EXPECT_EQ(after.musicOff, 1);
  EXPECT_EQ(after.fullscreen, 0);
  EXPECT_EQ(after.tipShown[0], 0);
  EXPECT_EQ(after.tipShown[4], 0);
  const std::string log = testing::ReadText((fs::path(dir_.Path()) / "log.txt").string());
  EXPECT_NE(log.find(" - Windowed mode activated. (-windowed parm)\r\n"), std::string::npos);
  std::size_t clears = 0;
  for (std::size_t at = log.find("Clearing highscores"); at != std::string::npos;
       at = log.find("Clearing highscores", at + 1)) {
    ++clears;
  }
  EXPECT_EQ(clears, 1u);
  // Every picture the menus use is there.
  EXPECT_EQ(log.find("Error loading"), std::string::npos) << log;
}

}  // namespace
}  // namespace spellcrypt
