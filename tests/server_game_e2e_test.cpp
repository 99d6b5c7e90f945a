// The game and the score server together: the real program on the headless platform ends a game,
// submits it through its screens to the real server on a loopback port, shows the global rankings
// the server sends back and opens an entry's summary from them; and with no server there, every
// screen of the exchange shows its error and is left with cancel.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "app/app.h"
#include "app/globals.h"
#include "base/keys.h"
#include "game/game.h"
#include "scores/word_rank.h"
#include "tests/game_e2e_support.h"
#include "tests/server_test_support.h"
#include "ui/framework/thing_list.h"
#include "ui/menus/screen_tip.h"
#include "ui/menus/screen_yes_no.h"
#include "ui/scores/screen_scores.h"
#include "ui/scores/screen_summary.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt::server::testing {
namespace {

namespace fs = std::filesystem;
using spellcrypt::testing::PlayerScript;

class GameAndServer : public PlayerScript {
 protected:
  void TearDown() override { unsetenv("SPELLCRYPT_SCORE_SERVER"); }

  static void UseServer(int port) {
    setenv("SPELLCRYPT_SCORE_SERVER", ("127.0.0.1:" + std::to_string(port)).c_str(), 1);
  }
  static CThing* Find(const char* name) { return GetGlobals().things->FindByName(name); }
  void ClickOn(const char* name) {
    auto* thing = dynamic_cast<CThingSprite*>(Find(name));
    ASSERT_NE(thing, nullptr) << name;
    Click(static_cast<int>(thing->x) + 8, static_cast<int>(thing->y) + 8);
  }
  static std::vector<std::string> Lines(const char* name) {
    auto* box = dynamic_cast<CTextBox*>(Find(name));
    return box != nullptr ? box->Lines() : std::vector<std::string>{};
  }
  static bool OnTheGlobalLists() {
    const CWordRank* shown = ShownScores();
    return Named("highscores") && shown != nullptr && shown != &GetApp()->scoreTable &&
           GetGlobals().inputLevel == 100;
  }

  // A step that waits for the network: the transfer runs in real time, so each frame also lets
  // some real time pass (the virtual clock would otherwise run out the step's time in moments).
  void ThenFromServer(const std::string& what, std::function<bool()> ready, std::function<void()> act) {
    Until(
        what + " (waiting)", ready, [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }, 60000);
    Then(what, std::move(ready), std::move(act));
  }

  // From the title into a Normal game; in the first fight the run is given `score` points and
  // `bosses` bosses, then the player drinks poison until he falls. This player has read every
  // quick tip before: none comes up while the transfers run in real time under the fast virtual
  // clock.
  void PlayAndFall(std::int32_t score, std::int32_t bosses) {
    Then(
        "title", [] { return Named("spiders") && GetGlobals().inputLevel == 0; },
        [this] {
          for (std::uint8_t& shown : GetApp()->settings->tipShown) shown = 1;
          Click(540, 215);
        });
    Then(
        "chooser", [] { return Named("Normal"); }, [this] { Click(53 + 175 + 40, 103 + 216 + 10); });
    Then(
        "map",
        [] {
          auto* arrow = dynamic_cast<CThingSprite*>(Find("map_arrow"));
          return arrow != nullptr && arrow->translucency == 0.0f;
        },
        [this] { Key(vk::Enter, 13); });
    Then(
        "fight",
        [] {
          spellcrypt::Game& game = TheRules();
          return game.monster.IsActive() && game.board.pendingDeal == 0 && !game.busy &&
                 GetGlobals().inputLevel == 0 && Named("board");
        },
        [this, score, bosses] {
          RunRecord& run = TheRules().player.record;
          run.score = score;
          run.bossesSlain = bosses;
          TheRules().allowCheats = true;  // as with -DEBUG
          Key('8', '8');                  // poison, twice: 20 of 15 life
          Key('8', '8');
        });
    Until(
        "name entry",
        [] {
          return Named("text_input") && GetGlobals().inputLevel == 100 && GetGlobals().pendingScreens.empty();
        },
        [this] {
          if (TopIs<ScreenTip>()) Key(vk::Enter, 13);
        });
  }
};

TEST_F(GameAndServer, AGameIsSubmittedAndItsEntryOpensFromTheGlobalRankings) {
  TestDatabase db(Backend::Sqlite);
  std::unique_ptr<ScoreStore> store = db.Open();
  ASSERT_NE(store, nullptr);
  // Someone else is already on the Normal list, above the player.
  RunningServer server(*store);
  ASSERT_EQ(BodyOf(Exchange(server.Port(),
                            GameRequest("splcryp/submit.php",
                                        SubmissionForm(Game(1, "Morgana", 9000, 7, 2), "Score: 9,000\r\n")))),
            "msg|Your score of 9,000 is #1 of the Normal rankings.\n");
  UseServer(server.Port());

  PlayAndFall(4200, 1);
  Then(
      "name typed", [] { return true; },
      [this] {
        Type("Ann O'Neil");
        Key(vk::Enter, 13);
      });
  Then(
      "the internet question", [] { return TopIs<ScreenYesNo>() && !Named("text_input") && Named("yes"); },
      [this] { ClickOn("yes"); });
  ThenFromServer(
      "the server's answer",
      [] {
        auto* answer = dynamic_cast<ScreenContinue*>(GetGlobals().TopScreen());
        return answer != nullptr && !TopIs<ScreenYesNo>() && !answer->text.empty();
      },
      [this] {
        Shot("internet_submitted");
        auto* answer = dynamic_cast<ScreenContinue*>(GetGlobals().TopScreen());
        ASSERT_NE(answer, nullptr);
        EXPECT_EQ(answer->text, "Your score of 4,200 is #2 of the Normal rankings.");
        EXPECT_EQ(GetApp()->settings->useInternetScores, 1);
        Key(vk::Enter, 13);
      });
  Then(
      "the summary", [] { return TopIs<ScreenSummary>(); }, [this] { Key(vk::Escape, 27); });
  ThenFromServer(
      "the global rankings", [] { return OnTheGlobalLists() && ShownScores()->Count() == 2; },
      [this] {
        Shot("internet_rankings");
        const CWordRank& shown = *ShownScores();
        EXPECT_EQ(shown.EntryAt(0)->name, "Morgana");
        EXPECT_EQ(shown.EntryAt(1)->name, "Ann O'Neil");
        EXPECT_EQ(shown.EntryAt(1)->score, 4200);
        EXPECT_EQ(shown.EntryAt(1)->dungeon, 1);
        EXPECT_EQ(shown.EntryAt(1)->bosses, 1);
        // The server's message replaces the local hint.
        const std::vector<std::string> message = Lines("scores_message");
        ASSERT_FALSE(message.empty());
        EXPECT_EQ(message[0].rfind("The 12 best heroes", 0), 0u) << message[0];
        Click(120, 110 + 22);  // the second row
      });
  ThenFromServer(
      "the entry's summary from the server", [] { return TopIs<ScreenSummary>(); },
      [this, &store] {
        Shot("internet_entry_summary");
        const std::vector<std::string> lines = SummaryLines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0], "Name: Ann O'Neil");
        EXPECT_EQ(lines[1], "Score: 4,200");
        EXPECT_EQ(lines[2], "Dungeon: 1");
        // The server keeps the summary exactly as the game stored it in its own score file.
        std::string summary;
        ASSERT_EQ(store->SummaryOf("Ann O'Neil", 4200, summary), Lookup::Found);
        ASSERT_EQ(GetApp()->scoreTable.Count(), 1);
        EXPECT_EQ(summary, GetApp()->scoreTable.EntryAt(0)->summary);
        Key(vk::Escape, 27);
      });
  Then(
      "local again", [] { return !TopIs<ScreenSummary>() && OnTheGlobalLists(); },
      [this] { ClickOn("scores_local"); });
  Then(
      "the local table",
      [] { return ShownScores() == &GetApp()->scoreTable && GetGlobals().inputLevel == 100; },
      [this] {
        EXPECT_EQ(GetApp()->settings->useInternetScores, 0);
        Click(290 + 20, 416 + 8);  // back
      });
  Then(
      "title", [] { return Named("spiders") && !Named("board") && GetGlobals().inputLevel == 0; }, [] {});

  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(done_.size(), 17u) << (done_.empty() ? "" : done_.back());
  const std::string log = Log();
  EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
  EXPECT_NE(log.find("Submit scores!"), std::string::npos);
}

TEST_F(GameAndServer, WithNoServerEachTransferShowsItsErrorAndCancelGoesOn) {
  const int port = spellcrypt::testing::DeadPort();
  ASSERT_GT(port, 0);
  UseServer(port);
  PlayAndFall(1500, 0);
  Then(
      "name typed", [] { return true; },
      [this] {
        Type("Wren");
        Key(vk::Enter, 13);
      });
  Then(
      "the internet question", [] { return TopIs<ScreenYesNo>() && !Named("text_input") && Named("yes"); },
      [this] { ClickOn("yes"); });
  // A refused connection says so.
  const std::vector<std::string> refused = {"Error connecting.  Try again later"};
  ThenFromServer(
      "the submission's error", [refused] { return Lines("transfer_status") == refused; },
      [this] {
        Shot("internet_submit_error");
        ClickOn("transfer_cancel");
      });
  // Cancelled, the game ends as if the player had said no: its summary, then the high scores,
  // which open on the global lists the player chose and try to download them.
  Then(
      "the summary", [] { return TopIs<ScreenSummary>(); }, [this] { Key(vk::Escape, 27); });
  ThenFromServer(
      "the download's error",
      [refused] { return Named("highscores") && Lines("transfer_status") == refused; },
      [this] { ClickOn("transfer_cancel"); });
  Then(
      "the local table after the cancel",
      [] {
        return ShownScores() == &GetApp()->scoreTable && GetGlobals().inputLevel == 100 &&
               Find("transfer_status") == nullptr;
      },
      [this] {
        EXPECT_EQ(GetApp()->settings->useInternetScores, 0);
        ASSERT_EQ(GetApp()->scoreTable.Count(), 1);
        EXPECT_EQ(GetApp()->scoreTable.EntryAt(0)->name, "Wren");
        Click(290 + 20, 416 + 8);  // back
      });
  Then(
      "title", [] { return Named("spiders") && !Named("board") && GetGlobals().inputLevel == 0; }, [] {});

  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(done_.size(), 14u) << (done_.empty() ? "" : done_.back());
}

}  // namespace
}  // namespace spellcrypt::server::testing
