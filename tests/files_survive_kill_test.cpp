// The files the game writes survive the program being killed at any moment: each is always either
// the old file or the new one, whole, never a torn mixture. A writer program that writes them
// the game's way is killed (SIGKILL) hundreds of times at random moments; so is the game itself
// while it saves its settings on the way out.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "app/settings.h"
#include "game/saved_game.h"
#include "scores/ranking.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

pid_t Start(const std::vector<std::string>& argv, const std::string& cwd,
            const std::vector<std::string>& env = {}) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(cwd.c_str()) != 0) ::_exit(126);
    for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
    ::freopen("/dev/null", "w", stderr);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  return pid;
}

void Kill(pid_t pid) {
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

// Every file that exists is a whole one the game can read.
void ExpectWhole(const std::string& folder, int round) {
  SCOPED_TRACE("after kill " + std::to_string(round));
  const std::string settingsPath = folder + "/defaults.dat";
  if (fs::exists(settingsPath)) {
    EXPECT_EQ(fs::file_size(settingsPath), 184u);
    Settings settings;
    EXPECT_TRUE(LoadSettingsFile(settings, settingsPath.c_str()));
  }
  const std::string scoresPath = folder + "/scores_normal.dat";
  if (fs::exists(scoresPath)) {
    CRanking table;
    EXPECT_TRUE(table.Load(scoresPath));
    EXPECT_EQ(table.Count(), CRanking::kTablePlaces);
  }
  const std::string savePath = folder + "/" + kSaveFileName;
  if (fs::exists(savePath)) {
    SavedGame saved;
    std::string why;
    EXPECT_EQ(DecodeSavedGame(testing::ReadBytes(savePath), saved, why), SaveCheck::Ok) << why;
  }
}

TEST(FilesSurviveKillTest, TheWritersFilesAreAlwaysWholeWhereverTheKillLands) {
  testing::TempDir dir;
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> delayUs(200, 30000);
  // One round in ten lets the writer run longer, so that it gets through whole files even where
  // it starts slowly (the sanitizer build on a busy machine): otherwise every kill could land
  // before its first write and the test would prove nothing.
  std::uniform_int_distribution<int> longDelayUs(30000, 300000);
  const std::string writer = std::string(SPELLCRYPT_BIN_DIR) + "/../tests/spellcrypt_file_writer";
  ASSERT_TRUE(fs::exists(writer)) << writer;
  int kills = 0;
  for (int round = 0; round < 300; ++round) {
    const pid_t pid = Start({writer, dir.Path()}, dir.Path());
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(
        std::chrono::microseconds(round % 10 == 9 ? longDelayUs(random) : delayUs(random)));
    Kill(pid);
    ++kills;
    ExpectWhole(dir.Path(), round);
    if (HasFailure()) break;
  }
  EXPECT_EQ(kills, 300);
  EXPECT_TRUE(fs::exists(dir.File("defaults.dat")));
  EXPECT_TRUE(fs::exists(dir.File("scores_normal.dat")));
  EXPECT_TRUE(fs::exists(dir.File(kSaveFileName)));
}

// The game itself saves its settings on its way out (SIGTERM); a kill soon after, at a random
// moment, leaves the settings old or new but whole.
TEST(FilesSurviveKillTest, TheGamesSettingsSurviveAKillDuringItsExit) {
  const fs::path bin = SPELLCRYPT_BIN_DIR;
  testing::TempDir dir;
  for (const char* folder : {"data", "graphics", "sound"})
    fs::create_directory_symlink(bin / folder, dir.File(folder));
  fs::copy_file(bin / "spellcrypt", dir.File("spellcrypt"));
  std::mt19937 random(8122026);
  std::uniform_int_distribution<int> delayUs(0, 4000);
  const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
  for (int round = 0; round < 30; ++round) {
    const pid_t pid = Start({dir.File("spellcrypt"), "-WINDOWED"}, dir.Path(), env);
    ASSERT_GT(pid, 0);
    // Once the game has come up (its log says it started), ask it to quit, then kill it.
    for (int waited = 0; waited < 400; ++waited) {
      if (testing::ReadText(dir.File("log.txt")).find("Game started on") != std::string::npos) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(pid, SIGTERM);
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    Kill(pid);
    ExpectWhole(dir.Path(), round);
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace spellcrypt
