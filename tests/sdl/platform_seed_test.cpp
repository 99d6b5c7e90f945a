// The real SDL back end as the game starts it: its clocks seed the generators so that two program
// starts deal differently, and a message box without a display is kept in the log.
#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "app/globals.h"
#include "base/log.h"
#include "game/game.h"
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

// A recording of what the rules show, enough to read the rack of a deal.
class DealWatcher : public IgnoredGameEvents {
 public:
  void TileAdded(const BoardTile& tile, TileArrival) override { rack.push_back(tile.letter); }
  std::string rack;
};

// The first deal of a new game, started like the program starts: on the real SDL back end, with
// the global generators it seeds, dealt by the rules over time.
std::string FirstDealOfAStart() {
  SdlPlatform platform;
  CGlobals& g = CreateGlobals(platform);
  Dictionary dictionary;
  dictionary.LoadText("act cat\n", "words");
  LetterTable letters;
  for (int i = 0; i < 26; ++i) letters.SetWeight(i, 10 + i % 7);
  DealWatcher watcher;
  Game game(GameServices{platform, g.mersenne, g.simpleRandom, dictionary, letters, watcher});
  game.NewRun(1);
  game.player.weights = letters;
  game.board.StartDeal();
  // One tile every 150 ms.
  for (int step = 0; step < 40 && watcher.rack.size() < 8; ++step) {
    std::this_thread::sleep_for(std::chrono::milliseconds(Game::kDealStepMs + 5));
    game.UpdateBoard();
  }
  DestroyGlobals();
  return watcher.rack;
}

TEST(SdlStartTest, TwoStartsDealDifferentLetters) {
  const std::string first = FirstDealOfAStart();
  const std::string second = FirstDealOfAStart();
  ASSERT_EQ(first.size(), 8u);
  ASSERT_EQ(second.size(), 8u);
  EXPECT_NE(first, second);
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
