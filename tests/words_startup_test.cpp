// The word list at start-up, through the real start-up sequence on the headless platform.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/game_loop.h"
#include "tests/words_test_support.h"

namespace spellcrypt {
namespace {

using testing::ScratchDir;

// Runs the game with its program folder in dir and restores the working folder afterwards (the
// start-up makes the program folder the working folder).
int RunIn(HeadlessPlatform& platform, const ScratchDir& dir, const std::string& commandLine) {
  const std::filesystem::path before = std::filesystem::current_path();
  platform.SetProgramDir(dir.Path());
  platform.SetFrameLimit(3);
  const int code = RunGame(platform, commandLine);
  std::filesystem::current_path(before);
  return code;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool HasProblemBox(const HeadlessPlatform& platform) {
  for (const std::string& box : platform.messageBoxes) {
    if (box.rfind("Problem!|", 0) == 0) return true;
  }
  return false;
}

TEST(WordsStartupTest, MissingWordListEndsTheStartWithAProblemBox) {
  ScratchDir dir;
  HeadlessPlatform platform;
  EXPECT_EQ(RunIn(platform, dir, ""), 0);
  ASSERT_EQ(platform.messageBoxes.size(), 1u);
  EXPECT_EQ(platform.messageBoxes[0], "Problem!|Unable to locate data\\master_word_list.txt!\r\n");
  EXPECT_TRUE(std::filesystem::exists(dir.Path() + "/defaults.dat"));
  EXPECT_EQ(platform.FramesPresented(), 1);  // the loading frame only
  // With no display to show the box, its text is kept in the log (and on standard error).
  EXPECT_NE(testing::ReadText(dir.Path() + "/log.txt")
                .find(" - [Problem!] Unable to locate data\\master_word_list.txt!\r\n"),
            std::string::npos);

  HeadlessPlatform other;
  EXPECT_EQ(RunIn(other, dir, "-NOSOUND lists\\none.txt"), 0);
  ASSERT_FALSE(other.messageBoxes.empty());
  EXPECT_EQ(other.messageBoxes.back(), "Problem!|Unable to locate lists\\none.txt!\r\n");
}

TEST(WordsStartupTest, GeneratedWordListLoadsWithoutComplaint) {
  ScratchDir dir;
  std::filesystem::create_directory_symlink(std::string(SPELLCRYPT_BIN_DIR) + "/data", dir.Path() + "/data");
  HeadlessPlatform platform;
  EXPECT_EQ(RunIn(platform, dir, ""), 0);
  EXPECT_FALSE(HasProblemBox(platform));
  EXPECT_GT(platform.FramesPresented(), 1);
  const std::string log = ReadText(dir.Path() + "/log.txt");
  EXPECT_NE(log.find("Game started on"), std::string::npos);
  EXPECT_EQ(log.find("Word list"), std::string::npos) << log;

  // A list named on the command line replaces it; its bad line is logged with its number.
  HeadlessPlatform second;
  dir.Write("mine.txt", "act cat\nbroken\n");
  EXPECT_EQ(RunIn(second, dir, "mine.txt"), 0);
  EXPECT_FALSE(HasProblemBox(second));
  EXPECT_NE(ReadText(dir.Path() + "/log.txt").find("Word list mine.txt, line 2: no space"),
            std::string::npos);
}

}  // namespace
}  // namespace spellcrypt
