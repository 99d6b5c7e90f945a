// The real SDL back end as the game starts it: its clocks seed the generators so that two program
// starts deal differently, and a message box without a display is kept in the log.
#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "app/globals.h"
#include "base/log.h"
#include "platform/sdl_platform.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

// The first draws of the simple generator after a fresh start on its own SDL platform.
std::array<int, 8> FirstDrawsOfAStart() {
  SdlPlatform platform;
  CreateGlobals(platform);
  std::array<int, 8> draws{};
  for (int& d : draws) d = SimpleRandom();
  DestroyGlobals();
  return draws;
}

TEST(SdlStartTest, TwoStartsDrawDifferentNumbers) {
  const std::array<int, 8> first = FirstDrawsOfAStart();
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  const std::array<int, 8> second = FirstDrawsOfAStart();
  EXPECT_NE(first, second);

  // Neither start is the one a seed from the (not yet running) tick count would give.
  SimpleGenerator fromTickCount;
  fromTickCount.Seed(0);
  std::array<int, 8> stuck{};
  for (int& d : stuck) d = fromTickCount.Next();
  EXPECT_NE(first, stuck);
  EXPECT_NE(second, stuck);
}

TEST(SdlStartTest, AMessageBoxWithoutADisplayIsKeptInTheLog) {
  testing::TempDir dir;
  SdlPlatform platform;
  CreateGlobals(platform);
  SetLogFile(dir.File("log.txt").c_str());
  ReportError("Problem!", "Unable to locate %s!", "words.txt");
  SetLogFile(nullptr);
  DestroyGlobals();
  EXPECT_NE(testing::ReadText(dir.File("log.txt")).find(" - [Problem!] Unable to locate words.txt!\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace spellcrypt
