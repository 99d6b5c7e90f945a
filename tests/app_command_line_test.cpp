// The command line: switches in order, the word-list path, and the limits of the fields.
#include <gtest/gtest.h>

#include <string>

#include "app/app.h"
#include "app/game_loop.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

using CommandLineTest = testing::HeadlessFixture;

TEST_F(CommandLineTest, DebugWindowAndAWordListPath) {
  ParseCommandLine("-debug -window mywords.txt");
  CAppGlo& app = *GetApp();
  EXPECT_TRUE(app.fpsDisplay);
  EXPECT_TRUE(app.debugMode);
  EXPECT_EQ(app.settings->fullscreen, 0);
  EXPECT_STREQ(app.wordListPath, "mywords.txt");
  // The two activation lines, in argument order.
  int debugLine = -1;
  int windowLine = -1;
  for (std::size_t i = 0; i < platform_.debugLines.size(); ++i) {
    if (platform_.debugLines[i].find("Debug mode activated. (-debug parm)") != std::string::npos)
      debugLine = int(i);
    if (platform_.debugLines[i].find("Windowed mode activated. (-windowed parm)") != std::string::npos)
      windowLine = int(i);
  }
  EXPECT_GE(debugLine, 0);
  EXPECT_GT(windowLine, debugLine);
}

TEST_F(CommandLineTest, SwitchesIgnoreCase) {
  ParseCommandLine("-NoSound -FullScreen");
  EXPECT_EQ(GetApp()->settings->soundOff, 1);
  EXPECT_EQ(GetApp()->settings->musicOff, 1);
  EXPECT_EQ(GetApp()->settings->fullscreen, 1);
  EXPECT_TRUE(testing::SawLine(platform_, "Sound disabled. (-nosound parm)"));
  EXPECT_TRUE(testing::SawLine(platform_, "Fullscreen mode activated. (-fullscreen parm)"));
}

TEST_F(CommandLineTest, OnlyNineteenArgumentsAndAnEmptyOneEndsTheScan) {
  std::string line;
  for (int i = 1; i <= 19; ++i) line += "w" + std::to_string(i) + " ";
  line += "-debug";  // the twentieth
  ParseCommandLine(line.c_str());
  EXPECT_FALSE(GetApp()->fpsDisplay);
  EXPECT_STREQ(GetApp()->wordListPath, "w19");

  ParseCommandLine("-window  -debug");  // two spaces: an empty second argument
  EXPECT_FALSE(GetApp()->fpsDisplay);
}

TEST_F(CommandLineTest, OverlongInputIsCutNotOverflowed) {
  const std::string longPath(400, 'p');
  ParseCommandLine(longPath.c_str());
  EXPECT_EQ(std::string(GetApp()->wordListPath), std::string(91, 'p'));

  // Beyond 255 characters the line is cut: a switch that starts there is never seen.
  const std::string padded = std::string(250, 'x') + " -debug";
  ParseCommandLine(padded.c_str());
  EXPECT_FALSE(GetApp()->fpsDisplay);
}

}  // namespace
}  // namespace spellcrypt
