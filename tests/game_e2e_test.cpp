// A whole game through the real program on the headless platform, played by keyboard and mouse as a
// player would: the title, the difficulty chooser, the map, a deal, casts checked against the rules,
// a cleared dungeon with its carried tiles, a boss and its book, the pause, quitting with the game
// saved, continuing it, and the fall.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

#include "app/app.h"
#include "app/globals.h"
#include "app/state_report.h"
#include "audio/recording_sound_manager.h"
#include "base/binary_io.h"
#include "base/keys.h"
#include "base/text_util.h"
#include "game/game.h"
#include "game/letter_draw.h"
#include "game/monster_table.h"
#include "game/saved_game.h"
#include "game/spell.h"
#include "game/tile_types.h"
#include "tests/game_e2e_support.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_view.h"
#include "ui/game/score_display.h"
#include "ui/game/tile.h"
#include "ui/menus/screen_tip.h"
#include "ui/menus/screen_yes_no.h"
#include "ui/scores/screen_summary.h"
#include "ui/widgets/big_message.h"
#include "ui/widgets/text_box.h"
#include "ui/widgets/thing_message.h"
#include "words/meanings.h"
#include "words/secret_words.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

class GameEndToEnd : public testing::PlayerScript {
 protected:
  // The longest word the rack spells (at most 8 letters, not used in this dungeon), lower case.
  static std::string WordForRack() {
    Game& game = TheRules();
    std::string rack = game.board.GetRackLetters();
    for (char& c : rack) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Dictionary& dictionary = GetApp()->dictionary;
    dictionary.FindWords(rack, &game.player.usedWords);
    std::string best;
    for (const std::string& w : dictionary.results.Strings()) {
      if (w.size() <= 8 && w.size() >= best.size()) best = w;
    }
    return best;
  }
  static std::string MessageText() {
    auto* message = dynamic_cast<CThingMessage*>(GetGlobals().things->FindByName("message"));
    return message != nullptr ? message->text : "";
  }
  static bool ArrowShown() {
    auto* arrow = dynamic_cast<CThingSprite*>(GetGlobals().things->FindByName("map_arrow"));
    return arrow != nullptr && arrow->translucency == 0.0f;
  }
  static bool Fighting() {
    Game& game = TheRules();
    return game.monster.IsActive() && game.monster.record.life > 0 && game.board.pendingDeal == 0 &&
           !game.busy && GetGlobals().inputLevel == 0 && Named("board");
  }
  // Casts the rack's best word; with nothing to spell, jumbles (and lets the monster come on).
  void CastBest() {
    if (dynamic_cast<ScreenTip*>(GetGlobals().TopScreen()) != nullptr) {
      Key(vk::Enter, 13);  // a quick tip: read, and on
      return;
    }
    if (Named("page_left") && GetGlobals().inputLevel == 500) {
      Click(150, 200);  // a book: the left page
      return;
    }
    if (!Fighting() || TheRules().board.CountUpper() != 0) return;
    const std::string word = WordForRack();
    if (word.empty()) {
      if (TheRules().board.FirstLowerOfType(kTileOracle) != nullptr) Key(vk::Tab, 9);
      return;
    }
    Type(word);
    Key(vk::Enter, 13);
  }

  // The summary's lines as the player should see them, written out here from what a summary
  // holds (true: the item is word-wrapped), and wrapped by a text box of the given width.
  using Items = std::vector<std::pair<std::string, bool>>;
  static Items SummaryItems(const RunRecord& r, const std::vector<std::string>* treasures,
                            const std::vector<std::string>& strong) {
    auto n = [](int v) { return FormatThousands(v, 0); };
    Items items = {{"Score: " + n(r.score), true},
                   {"Dungeon: " + std::to_string(r.dungeon), false},
                   {"Difficulty Mode: Normal", false},
                   {"Date: Monday, December 07 2026", true},
                   {"Bosses Slain: " + std::to_string(r.bossesSlain), false},
                   {"Monsters Vanquished: " + n(r.monstersVanquished), false},
                   {"Oracles Summoned: " + n(r.oraclesSummoned), false},
                   {"", false},
                   {"- Word Statistics -", false},
                   {"", false}};
    for (int letters = 3; letters <= 8; ++letters) {
      items.push_back(
          {std::to_string(letters) + " letter words made: " + n(r.wordsByLength[letters - 3]), true});
    }
    items.push_back({"", false});
    items.push_back({"Total words created: " + n(r.totalWords), false});
    items.push_back({r.totalWords < 1
                         ? "Average word length: None"
                         : "Average word length: " + std::to_string(r.totalLetters / r.totalWords),
                     false});
    items.push_back({"Strongest Word: " + n(r.strongestDamage) + " damage", true});
    items.push_back({"", false});
    if (treasures != nullptr) {
      if (treasures->empty()) {
        items.push_back({"No treasure found.", false});
      } else {
        items.push_back({"- Treasures Found -", false});
        items.push_back({"", false});
        for (const std::string& t : *treasures) items.push_back({t, true});
      }
      items.push_back({"", false});
    }
    if (!strong.empty()) {
      items.push_back({"- strong words used -", false});
      items.push_back({"", false});
      for (const std::string& w : strong) items.push_back({w, true});
    }
    return items;
  }
  static std::vector<std::string> Wrap(const Items& items, int width) {
    CTextBox box;
    box.SetFont(&GetApp()->summaryFont);
    box.SetArea(0, 0, width, 480);
    for (const auto& [text, wrapped] : items) {
      if (wrapped) {
        box.AddText(text);
      } else {
        box.AddLine(text);
      }
    }
    return box.Lines();
  }
  static std::vector<std::string> OnScreenLines(const RunRecord& r, const std::vector<std::string>& treasures,
                                                const std::vector<std::string>& strong) {
    return Wrap(SummaryItems(r, &treasures, strong), 442);
  }
  // The stored summary (built across the whole screen), as the summary screen shows it again.
  static std::string StoredText(const RunRecord& r, const std::vector<std::string>& strong) {
    std::string text;
    for (const std::string& line : Wrap(SummaryItems(r, nullptr, strong), 640)) text += line + "\r\n";
    return text;
  }
  static std::vector<std::string> StoredLines(const RunRecord& r, const std::vector<std::string>& strong) {
    return Wrap({{StoredText(r, strong), true}}, 442);
  }
  // The validation key, worked out here: each byte as a signed value, h = h * 4 ^ c, plus 3 per byte.
  static std::uint32_t KeyOf(const std::string& text) {
    std::uint32_t h = 0;
    for (char c : text)
      h = (h * 4u) ^ static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return h + 3u * static_cast<std::uint32_t>(text.size());
  }
  // The one record of a score file, field by field.
  void CheckScoreFile(const char* file, const char* name, const RunRecord& r) {
    const std::vector<std::uint8_t> bytes = testing::ReadBytes((fs::path(dir_.Path()) / file).string());
    ASSERT_GE(bytes.size(), 4u + 120u);
    auto i32 = [&](std::size_t at) {
      std::int32_t v = 0;
      std::memcpy(&v, bytes.data() + at, 4);
      return v;
    };
    EXPECT_EQ(i32(0), 120);
    EXPECT_EQ(i32(4), r.dungeon);
    EXPECT_EQ(i32(8), r.score);
    EXPECT_EQ(i32(12), r.bossesSlain);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 16), name);
    const std::int32_t length = i32(116);
    EXPECT_EQ(i32(120), 0);
    ASSERT_EQ(bytes.size(), 4u + 120u + static_cast<std::size_t>(length));
    EXPECT_EQ(bytes.back(), 0);
    storedInFile_ =
        std::string(reinterpret_cast<const char*>(bytes.data() + 124), static_cast<std::size_t>(length - 1));
  }
  std::string storedInFile_;

  // The map: once the arrow stands over the next dungeon, Enter goes in.
  void EnterFromTheMap(const std::string& shot) {
    Then(
        "map " + shot, [] { return ArrowShown(); },
        [this, shot] {
          if (!shot.empty()) Shot(shot);
          const auto* label = dynamic_cast<CText*>(GetGlobals().things->FindByName("map_dungeon"));
          ASSERT_NE(label, nullptr);
          EXPECT_EQ(std::string(label->text),
                    "Dungeon " + std::to_string(TheRules().player.record.dungeon) + " of 25");
          Key(vk::Enter, 13);
        });
  }
};

TEST_F(GameEndToEnd, ANormalGameFromTheTitleToTheFall) {
  // --- The title, the chooser and the first map ---
  Then(
      "title", [] { return Named("spiders") && GetGlobals().inputLevel == 0; },
      [this] {
        Shot("game_title");
        // What a scripted player outside the program reads (the browser edition's test).
        const std::string report = StateReport();
        EXPECT_NE(report.find("\"title\":1"), std::string::npos) << report;
        EXPECT_NE(report.find("\"spiders\":["), std::string::npos) << report;
        Click(540, 215);  // play
      });
  Then(
      "chooser", [] { return Named("Normal"); },
      [this] {
        Shot("game_chooser");
        Click(53 + 186 + 40, 103 + 71 + 40);   // Normal
        Click(53 + 175 + 40, 103 + 216 + 10);  // enter
      });
  EnterFromTheMap("game_map");
  Then(
      "entering", [] { return Named("bigmsg"); },
      [this] {
        auto* popup = dynamic_cast<CBigMessage*>(GetGlobals().things->FindByName("bigmsg"));
        EXPECT_STREQ(popup->text, "Entering Dungeon 1...");
        EXPECT_EQ(GetApp()->settings->mode, 1);
        Shot("game_entering");
      });

  // --- The first quick tip comes up as the first monster does; behind it the monster's life bar
  // shows its life, not an empty bar ---
  auto tipSince = std::make_shared<std::uint32_t>(0);
  Then(
      "the first tip over the fight",
      [tipSince] {
        if (!TopIs<ScreenTip>() || !TheRules().monster.IsActive()) return false;
        if (*tipSince == 0) *tipSince = GetGlobals().now;
        return GetGlobals().now - *tipSince > 1500;
      },
      [this] {
        Shot("game_tip_over_fight");
        const Gauge& bar = TheRules().monster.bar;
        EXPECT_TRUE(bar.present);
        EXPECT_GT(bar.target, 0.5f);
        EXPECT_NEAR(bar.shown, bar.target, 0.01f);
        Key(vk::Enter, 13);
      });

  // --- The deal and a first cast, checked against the rules ---
  struct Cast {
    std::string word;
    Spell spell;
    int lifeBefore = 0;
    int scoreBefore = 0;
    std::size_t effectsBefore = 0;
  };
  auto cast = std::make_shared<Cast>();
  Then(
      "dealt", [] { return Fighting(); },
      [this, cast] {
        Shot("game_dealt");
        const std::string rack = TheRules().board.GetRackLetters();
        EXPECT_EQ(rack.size(), 8u);
        const auto vowels = std::count_if(rack.begin(), rack.end(), IsVowel);
        EXPECT_GE(vowels, 2) << rack;
        EXPECT_LE(vowels, 3) << rack;
        if (rack.find('Q') != std::string::npos) {
          EXPECT_NE(rack.find('U'), std::string::npos) << rack;
        }
        // The scripted player outside reads the same letters.
        const std::string report = StateReport();
        const std::size_t at = report.find("\"rack\":\"");
        ASSERT_NE(at, std::string::npos) << report;
        std::string read = report.substr(at + 8, report.find('"', at + 8) - at - 8);
        std::string dealt = rack;
        for (char& c : dealt) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::sort(read.begin(), read.end());
        std::sort(dealt.begin(), dealt.end());
        EXPECT_EQ(read, dealt) << report;
        EXPECT_NE(report.find("\"title\":0"), std::string::npos) << report;
        cast->word = WordForRack();
        ASSERT_FALSE(cast->word.empty()) << rack;
        EXPECT_TRUE(GetApp()->dictionary.IsWord(cast->word));
        Type(cast->word);
      });
  Then(
      "spelled", [cast] { return TheRules().board.CountUpper() == static_cast<int>(cast->word.size()); },
      [this, cast] {
        Shot("game_spelled");
        Game& game = TheRules();
        std::string upper = game.board.GetCurrentWord();
        for (char& c : upper) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(upper, cast->word);
        const std::vector<int> types = game.board.UpperTypes();
        SpellInputs in;
        in.letters = static_cast<int>(cast->word.size());
        in.tiles = types;
        in.secret = SecretWordManager().Find(cast->word);
        cast->spell = ComputeSpell(in);
        cast->lifeBefore = game.monster.record.life;
        cast->scoreBefore = game.player.record.score;
        cast->effectsBefore = Sound().Effects().size();
        Key(vk::Enter, 13);
      });
  Then(
      "cast", [] { return TheRules().board.CountUpper() == 0; },
      [this, cast] {
        Shot("game_cast");
        Game& game = TheRules();
        const int damage = cast->spell.damage;
        const int lifeAfter = std::max(0, cast->lifeBefore - damage);
        EXPECT_EQ(game.monster.record.life, lifeAfter);
        EXPECT_EQ(game.player.record.score, cast->scoreBefore + cast->spell.score);
        const char* name = game.monster.record.name;
        std::string expected = "You cast the spell \"" + cast->word + "\".\r\nYou hit the " + name + " for " +
                               FormatThousands(damage, 0) + " damage.\r\n(worth " +
                               FormatThousands(cast->spell.score, 0) + " points";
        expected +=
            lifeAfter == 0 ? " + " + FormatThousands(game.monster.record.killBonus, 0) + " bonus)" : ")";
        EXPECT_EQ(MessageText(), expected);
        // Under it, quieter, the word's meaning when the meanings file has one.
        Meanings meanings;
        ASSERT_TRUE(meanings.Load(std::string(SPELLCRYPT_BIN_DIR) + "/data/meanings.dat"));
        const std::optional<Meaning> meaning = meanings.Find(cast->word);
        auto* line = dynamic_cast<CThingMessage*>(GetGlobals().things->FindByName("message"));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->Note(), meaning
                                    ? FitMeaning(cast->word, *meaning, GetApp()->smallFont, kMessageNoteWidth)
                                    : std::string());
        const std::vector<std::string> effects = Sound().Effects();
        const std::vector<std::string> heard(
            effects.begin() + static_cast<std::ptrdiff_t>(cast->effectsBefore), effects.end());
        if (lifeAfter > 0) {
          EXPECT_EQ(heard, (std::vector<std::string>{"sound\\spell1.wav", "sound\\skeleton_pain.wav"}));
        } else {
          ASSERT_FALSE(heard.empty());
          EXPECT_EQ(heard.front(), "sound\\skeleton_die.ogg");
        }
      });

  // --- The rest of dungeon 1, cleared, and the tiles carried to dungeon 2 ---
  auto carried = std::make_shared<std::vector<BoardTile>>();
  Until(
      "dungeon 1 cleared", [] { return TheRules().cleared; }, [this] { CastBest(); });
  Then(
      "cleared message", [] { return MessageText().rfind("Dungeon 1 cleared.\r\n", 0) == 0; },
      [this] {
        Shot("game_cleared");
        Game& game = TheRules();
        EXPECT_EQ(game.player.record.monstersLeft, 0);
        EXPECT_EQ(game.player.record.monstersVanquished, 6);
        ASSERT_EQ(game.player.treasures.Count(), 1);
        EXPECT_EQ(MessageText(), game.player.treasures[0]);
      });
  Then(
      "map of dungeon 2", [] { return Named("map") && TheRules().player.record.dungeon == 2; },
      [carried] {
        *carried = TheRules().player.carried;
        for (const BoardTile& t : *carried) EXPECT_TRUE(IsSpecialTile(t.type)) << t.letter;
      });
  EnterFromTheMap("game_map_2");
  Then(
      "dungeon 2 dealt", [] { return Fighting() && TheRules().player.record.dungeon == 2; },
      [carried] {
        Game& game = TheRules();
        for (const BoardTile& t : *carried) {
          const BoardTile* at = game.board.Lower(t.lowerSlot);
          ASSERT_NE(at, nullptr) << "carried tile in slot " << t.lowerSlot;
          EXPECT_EQ(at->type, t.type);
          EXPECT_EQ(at->letter, t.letter);
        }
        EXPECT_TRUE(game.player.carried.empty());
      });

  // --- On to the first boss and its book ---
  auto page = std::make_shared<int>(-1);
  Until(
      "a book", [] { return Named("book") && Named("page_left"); },
      [this] {
        if (Named("map") && ArrowShown()) Key(vk::Enter, 13);
        CastBest();
      },
      1200000);
  Then(
      "book open", [] { return GetGlobals().inputLevel == 500; },
      [this, page] {
        Shot("game_book");
        EXPECT_GE(TheRules().player.record.bossesSlain, 1);
        Click(150, 200);  // the left page
      });
  Then(
      "page taken", [] { return !Named("book") && GetGlobals().inputLevel == 0; },
      [this] {
        Shot("game_book_taken");
        const std::string text = MessageText();
        const bool known = text.rfind("Max life raised by 5.", 0) == 0 || text.rfind("Your mind", 0) == 0 ||
                           text == "You receive 25,000 points!" || text.rfind("You feel your luck", 0) == 0 ||
                           text.rfind("Your staff glows crimson.", 0) == 0;
        EXPECT_TRUE(known) << text;
      });

  // --- Pause: the tiles cannot be studied, and the game stands still: the monster's attack
  // resumes where it stopped, no blow saved up meanwhile ---
  std::uint32_t pausedAt = 0, playAtPause = 0, attackRunAtPause = 0;
  std::int32_t lifeAtPause = 0;
  Then(
      "fighting after the book", [] { return Fighting(); }, [this] { Click(274 + 20, 8 + 8); });
  Then(
      "paused", [] { return Named("paused_bg"); },
      [&] {
        Shot("game_paused");
        EXPECT_EQ(GetGlobals().inputLevel, 100);
        pausedAt = GetGlobals().now;
        playAtPause = GetGlobals().gameNow;
        attackRunAtPause = TheRules().monster.attackTimer.Elapsed();
        lifeAtPause = TheRules().player.record.life;
      });
  Then(
      "six seconds later, still paused", [&] { return GetGlobals().now - pausedAt > 6000; },
      [&] {
        EXPECT_EQ(GetGlobals().gameNow, playAtPause);
        EXPECT_EQ(TheRules().monster.attackTimer.Elapsed(), attackRunAtPause);
        EXPECT_EQ(TheRules().player.record.life, lifeAtPause);
        Key(vk::Enter, 13);  // presses Continue, the popup's default
      });
  Then(
      "play goes on", [&] { return GetGlobals().gameNow > playAtPause + 100; },
      [&] {
        // The attack's wait went on from where it stood (or it struck once, when it was due).
        const std::uint32_t run = TheRules().monster.attackTimer.Elapsed();
        EXPECT_TRUE(run > attackRunAtPause || run < 300) << run << " after " << attackRunAtPause;
      });

  // --- F1 for help; Escape asks to quit and Escape again backs out ---
  Then(
      "unpaused", [] { return !Named("paused_bg") && Fighting(); }, [this] { Key(vk::F1, 0); });
  Then(
      "help", [] { return Named("helpbg"); },
      [this] {
        Shot("game_help");
        Click(260 + 20, 410 + 10);
      });
  Then(
      "help closed", [] { return !Named("helpbg") && Fighting(); }, [this] { Key(vk::Escape, 27); });
  Then(
      "quit asked", [] { return Named("giveup") && GetGlobals().inputLevel == 100; },
      [this] { Key(vk::Escape, 27); });

  // --- Quit with the game saved: two letters in the word row ---
  auto saved = std::make_shared<SavedGame>();
  Then(
      "quit not taken", [] { return !Named("giveup") && Fighting(); },
      [this] {
        const std::string word = WordForRack();
        Type(word.empty() ? TheRules().board.GetRackLetters().substr(0, 2) : word.substr(0, 2));
      });
  Then(
      "two letters up", [] { return TheRules().board.CountUpper() == 2; },
      [this] { Click(209 + 20, 8 + 8); });  // quit
  Then(
      "quit question", [] { return Named("giveup"); },
      [this, saved] {
        Shot("game_quit_question");
        *saved = TheRules().Snapshot();
        Click(130 + 66 + 20, 143 + 123 + 10);  // yes
      });
  Then(
      "back at the title", [] { return Named("spiders") && !Named("board") && GetGlobals().inputLevel == 0; },
      [this, saved] {
        const fs::path file = fs::path(dir_.Path()) / "autosave.sav";
        ASSERT_TRUE(fs::exists(file));
        const std::vector<std::uint8_t> bytes = testing::ReadBytes(file.string());
        EXPECT_EQ(bytes, EncodeSavedGame(*saved));
        // Field by field: version, tiles, the run record's size and place, the monster.
        ByteReader in(bytes);
        std::uint32_t version = 0;
        std::int32_t tiles = 0;
        in.U32(version);
        in.I32(tiles);
        EXPECT_EQ(version, 0x3F8CCCCDu);
        EXPECT_EQ(tiles, static_cast<int>(saved->tiles.size()));
        int upper = 0;
        for (int i = 0; i < tiles; ++i) {
          const std::size_t at = 8 + static_cast<std::size_t>(i) * kTileRecordSize;
          std::int32_t upperSlot = 0;
          std::memcpy(&upperSlot, bytes.data() + at + 13, 4);
          if (upperSlot >= 0) ++upper;
          EXPECT_EQ(bytes[at], static_cast<std::uint8_t>(saved->tiles[static_cast<std::size_t>(i)].letter));
        }
        EXPECT_EQ(upper, 2);
        const std::size_t monsterAt = bytes.size() - kMonsterRecordSize;
        const std::size_t runAt = monsterAt - kRunRecordSize;
        std::int32_t runSize = 0, dungeon = 0, score = 0, monsterIndex = 0, state = 0;
        std::memcpy(&runSize, bytes.data() + runAt - 4, 4);
        std::memcpy(&dungeon, bytes.data() + runAt, 4);
        std::memcpy(&score, bytes.data() + runAt + 19 * 4, 4);  // the 20th field
        std::memcpy(&monsterIndex, bytes.data() + monsterAt, 4);
        std::memcpy(&state, bytes.data() + monsterAt + 236, 4);
        EXPECT_EQ(runSize, 140);
        EXPECT_EQ(dungeon, saved->run.dungeon);
        EXPECT_EQ(score, saved->run.score);
        EXPECT_EQ(monsterIndex, saved->monster.index);
        EXPECT_EQ(state, 1);
        EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + monsterAt + 24), saved->monster.name);
        Click(540, 215);  // play again
      });

  // --- Continue: the same fight, tiles in both rows, the file gone ---
  Then(
      "continue question", [] { return Named("restart"); },
      [this] {
        Shot("game_continue_question");
        Click(130 + 66 + 20, 143 + 123 + 10);  // yes
      });
  Then(
      "resumed", [] { return Named("board") && TheRules().monster.IsActive(); },
      [this, saved] {
        Shot("game_resumed");
        Game& game = TheRules();
        EXPECT_FALSE(fs::exists(fs::path(dir_.Path()) / "autosave.sav"));
        EXPECT_EQ(game.player.record.score, saved->run.score);
        EXPECT_EQ(game.player.record.dungeon, saved->run.dungeon);
        EXPECT_EQ(game.monster.record.index, saved->monster.index);
        EXPECT_EQ(game.monster.record.life, saved->monster.life) << "no second staff cut";
        const auto tiles = game.board.TilesInSaveOrder();
        ASSERT_EQ(tiles.size(), saved->tiles.size());
        for (std::size_t i = 0; i < tiles.size(); ++i) {
          EXPECT_EQ(tiles[i]->letter, saved->tiles[i].letter);
          EXPECT_EQ(tiles[i]->lowerSlot, saved->tiles[i].upperSlot >= 0 ? -1 : saved->tiles[i].lowerSlot);
          EXPECT_EQ(tiles[i]->upperSlot, saved->tiles[i].upperSlot);
        }
        EXPECT_EQ(game.board.CountUpper(), 2);
      });

  // --- The fall: poison until the life is gone, then back to the title ---
  Until(
      "fallen", [] { return TheRules().player.dead; },
      [this] {
        TheRules().allowCheats = true;  // as with -DEBUG
        if (GetGlobals().inputLevel == 0 && TheRules().player.record.life > 0) Key('8', '8');
      });
  Then(
      "fall message", [] { return MessageText() == "You fall to the ground..."; },
      [this] { Shot("game_fallen"); });

  // --- The end of the game: a local high score under a typed name ---
  auto run = std::make_shared<RunRecord>();
  auto treasures = std::make_shared<std::vector<std::string>>();
  auto strong = std::make_shared<std::vector<std::string>>();
  Then(
      "name entry",
      [] {
        return Named("text_input") && GetGlobals().inputLevel == 100 && GetGlobals().pendingScreens.empty();
      },
      [this, run, treasures, strong] {
        Shot("game_name_entry");
        const PlayerRun& player = TheRules().player;
        *run = player.record;
        *treasures = player.treasures.Strings();
        *strong = player.strongWords.Strings();
        EXPECT_GT(run->score, 0);
        Type("Merlin|");  // the score server's separator is refused
        Key(vk::Enter, 13);
      });
  Then(
      "the internet question", [] { return TopIs<ScreenYesNo>() && !Named("text_input"); },
      [this, run, strong] {
        Shot("game_internet_question");
        auto* question = dynamic_cast<ScreenYesNo*>(GetGlobals().TopScreen());
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->question,
                  "Would you also like to submit your score to the global internet rankings?");
        EXPECT_STREQ(GetApp()->settings->playerName, "Merlin");
        CheckScoreFile("scores_normal.dat", "Merlin", *run);
        EXPECT_EQ(storedInFile_, StoredText(*run, *strong));
        Key(vk::Escape, 27);  // no
      });
  Then(
      "the summary", [] { return TopIs<ScreenSummary>(); },
      [this, run, treasures, strong] {
        Shot("game_summary");
        std::vector<std::string> expected = OnScreenLines(*run, *treasures, *strong);
        EXPECT_EQ(SummaryLines(), expected);
        Click(128 + 20, 385 + 10);  // copy
      });
  auto copied = std::make_shared<std::string>();
  Then(
      "copied", [] { return Named("bigmsg"); },
      [this, copied] {
        Shot("game_summary_copied");
        std::string text;
        for (const std::string& line : SummaryLines()) text += line + "\r\n";
        EXPECT_EQ(platform_.clipboard, text + "\r\nValidation key: " + std::to_string(KeyOf(text)) + "\r\n");
        *copied = platform_.clipboard;
        Click(536 + 8, 368 + 8);  // the down arrow
      });
  Then(
      "scrolled",
      [] {
        auto* summary = dynamic_cast<ScreenSummary*>(GetGlobals().TopScreen());
        return summary != nullptr && summary->Box().ScrollPos() > 0;
      },
      [this] {
        Shot("game_summary_scrolled");
        Click(474 + 20, 385 + 10);  // meanings
      });
  // The meanings of the strong words, from the top; the copy is still of the summary, and the same
  // with the fight's meanings turned off.
  Then(
      "the strong words' meanings",
      [] {
        const std::vector<std::string> lines = SummaryLines();
        return !lines.empty() && lines.front() == "- meanings of the strong words -";
      },
      [this, strong] {
        Shot("game_summary_meanings");
        auto* summary = dynamic_cast<ScreenSummary*>(GetGlobals().TopScreen());
        ASSERT_NE(summary, nullptr);
        EXPECT_EQ(summary->Box().ScrollPos(), 0);
        const std::vector<std::string> lines = SummaryLines();
        ASSERT_FALSE(strong->empty());
        Meanings meanings;
        ASSERT_TRUE(meanings.Load(std::string(SPELLCRYPT_BIN_DIR) + "/data/meanings.dat"));
        int explained = 0;
        for (const std::string& word : *strong) {
          std::string shown, lower;
          for (char c : word) {
            shown += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
          }
          const auto at = std::find(lines.begin(), lines.end(), shown);
          ASSERT_NE(at, lines.end()) << shown;
          ASSERT_NE(at + 1, lines.end());
          const std::optional<Meaning> meaning = meanings.Find(lower);
          if (!meaning) {
            EXPECT_EQ(at[1], "(no meaning known)");
            continue;
          }
          ++explained;
          // The first sense's part of speech and the start of its definition, as wrapped.
          const std::string pos = PartOfSpeechName(meaning->first.pos);
          EXPECT_NE(at[1].find(pos + ": " + meaning->first.gloss.substr(0, 8)), std::string::npos) << at[1];
        }
        EXPECT_GT(explained, 0);
        GetApp()->preferences.showMeanings = false;
        platform_.clipboard.clear();
        Click(128 + 20, 385 + 10);  // copy
      });
  Then(
      "copied with the meanings showing", [this] { return !platform_.clipboard.empty(); },
      [this, copied] {
        EXPECT_EQ(platform_.clipboard, *copied);
        GetApp()->preferences.showMeanings = true;
        Click(474 + 20, 385 + 10);  // back to the summary
      });
  Then(
      "the summary again",
      [] {
        const std::vector<std::string> lines = SummaryLines();
        return !lines.empty() && lines.front() != "- meanings of the strong words -";
      },
      [this, run, treasures, strong] {
        EXPECT_EQ(SummaryLines(), OnScreenLines(*run, *treasures, *strong));
        platform_.clipboard.clear();
        Click(128 + 20, 385 + 10);  // copy
      });
  Then(
      "copied again", [this] { return !platform_.clipboard.empty(); },
      [this, copied] {
        EXPECT_EQ(platform_.clipboard, *copied);
        Click(332 + 20, 382 + 10);  // continue
      });
  Then(
      "the high scores", [] { return Named("highscores") && GetGlobals().inputLevel == 100; },
      [this] {
        Shot("game_high_scores");
        ASSERT_EQ(GetApp()->scoreTable.Count(), 1);
        EXPECT_EQ(GetApp()->scoreTable.EntryAt(0)->name, "Merlin");
        PointAt(120, 110);  // over the first row
      });
  Then(
      "the row highlighted",
      [] {
        auto* highlight = dynamic_cast<CThingSprite*>(GetGlobals().things->FindByName("score_highlight"));
        return highlight != nullptr && !highlight->hidden;
      },
      [this] {
        Shot("game_high_scores_highlight");
        Click(120, 110);
      });
  Then(
      "the stored summary", [] { return TopIs<ScreenSummary>(); },
      [this, run, strong] {
        Shot("game_stored_summary");
        std::vector<std::string> expected = {"Name: Merlin"};
        for (const std::string& line : StoredLines(*run, *strong)) expected.push_back(line);
        EXPECT_EQ(SummaryLines(), expected);
        EXPECT_EQ(GetGlobals().inputLevel, 300);
        Key(vk::Escape, 27);
      });
  Then(
      "back at the high scores", [] { return !TopIs<ScreenSummary>() && GetGlobals().inputLevel == 100; },
      [this] { Click(290 + 20, 416 + 8); });  // back
  Then(
      "title after the game",
      [] { return Named("spiders") && !Named("board") && GetGlobals().inputLevel == 0; }, [] {});

  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(done_.size(), 46u) << (done_.empty() ? "" : done_.back());
  const std::string log = Log();
  EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
}

// The last dungeon: its sixth monster is the Evil Dragon, who leaves no reward tiles; then the
// ending, and after it the title. (The run is moved to dungeon 25 on the first map, and the
// player's mind made strong enough to finish it quickly.)
TEST_F(GameEndToEnd, AKidmodeGameWonInTheLastDungeon) {
  Then(
      "title", [] { return Named("spiders") && GetGlobals().inputLevel == 0; }, [this] { Click(540, 215); });
  Then(
      "chooser", [] { return Named("Easy"); },
      [this] {
        Click(53 + 17 + 40, 103 + 71 + 40);  // Kidmode
        Click(53 + 175 + 40, 103 + 216 + 10);
      });
  Then(
      "first map", [] { return ArrowShown(); },
      [this] {
        Game& game = TheRules();
        EXPECT_EQ(game.Difficulty(), 0);
        EXPECT_EQ(game.player.record.maxLife, 25);
        game.player.SetDungeon(25);
        game.player.record.mindLevel = 500;
        Key(vk::Enter, 13);
      });
  auto dragon = std::make_shared<bool>(false);
  Until(
      "the last dungeon cleared", [] { return Named("ending"); },
      [this, dragon] {
        Game& game = TheRules();
        if (game.monster.IsActive() && game.player.record.monstersLeft == 1) {
          EXPECT_EQ(game.monster.record.index, kEvilDragon);
          *dragon = true;
        }
        CastBest();
      });
  Then(
      "ending", [] { return Named("ending_text"); },
      [this, dragon] {
        EXPECT_TRUE(*dragon);
        Game& game = TheRules();
        EXPECT_EQ(game.player.record.dungeon, 25);
        EXPECT_TRUE(game.player.carried.empty());
        EXPECT_EQ(game.player.treasures.Count(), 1);
        EXPECT_EQ(game.player.treasures[0], "Dungeon 25 cleared.\r\nYou've killed everything!");
        EXPECT_EQ(Sound().CurrentMusic(), "sound\\ending.ogg");
      });
  Then(
      "ending text shows",
      [] {
        auto* text = dynamic_cast<CThingSprite*>(GetGlobals().things->FindByName("ending_text"));
        return text != nullptr && text->translucency < 1.0f;
      },
      [this] { Shot("game_ending"); });
  // The name entry left as it comes: the score is kept under the nameless hero's name.
  Then(
      "name entry over the ending", [] { return Named("text_input") && GetGlobals().pendingScreens.empty(); },
      [this] { Key(vk::Enter, 13); });
  Then(
      "the internet question", [] { return TopIs<ScreenYesNo>() && !Named("text_input"); },
      [this] {
        ASSERT_EQ(GetApp()->scoreTable.Count(), 1);
        EXPECT_EQ(GetApp()->scoreTable.EntryAt(0)->name, "Mystery Wizard");
        EXPECT_TRUE(fs::exists(fs::path(dir_.Path()) / "scores_easy.dat"));
        Key(vk::Escape, 27);
      });
  Then(
      "the summary", [] { return TopIs<ScreenSummary>(); }, [this] { Key(vk::Escape, 27); });
  Then(
      "the high scores", [] { return Named("highscores"); }, [this] { Click(290 + 20, 416 + 8); });
  Then(
      "title after the ending",
      [] { return Named("spiders") && !Named("ending") && GetGlobals().inputLevel == 0; }, [] {});
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(done_.size(), 11u) << (done_.empty() ? "" : done_.back());
}

// A damaged saved game is refused with a box drawn in the game window over the title, while the
// main loop runs on behind it; a quit request (SIGTERM, the window closed) while the box is up
// ends the program in order, with its settings written.
TEST_F(GameEndToEnd, AQuitRequestIsHonouredWhileABoxIsUp) {
  std::vector<std::uint8_t> damaged = {0xCD, 0xCC, 0x8C, 0x3F, 0x7F, 0x7F};
  testing::WriteBytes((fs::path(dir_.Path()) / "autosave.sav").string(), damaged);
  const fs::path settings = fs::path(dir_.Path()) / "defaults.dat";
  std::uint32_t quitAt = 0;
  Then(
      "title", [] { return Named("spiders") && GetGlobals().inputLevel == 0; }, [this] { Click(540, 215); });
  Then(
      "continue question", [] { return Named("restart"); },
      [this] { Key(vk::Enter, 13); });  // yes, the default
  Then(
      "the box over the title", [] { return TopIs<ScreenContinue>() && Named("spiders"); },
      [&] {
        Shot("game_damaged_save_box");
        const auto* box = dynamic_cast<ScreenContinue*>(GetGlobals().TopScreen());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text, "The saved game is damaged and cannot be continued.");
        EXPECT_TRUE(platform_.messageBoxes.empty()) << "not the desktop's modal box";
        EXPECT_FALSE(fs::exists(fs::path(dir_.Path()) / "autosave.sav"));
        EXPECT_FALSE(fs::exists(settings));
        quitAt = platform_.VirtualMs();
        platform_.PostQuit(0);
      });
  Then(
      "the program has ended", [] { return false; }, [] {}, 2000);
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(done_.size(), 3u) << (done_.empty() ? "" : done_.back());
  EXPECT_LT(platform_.VirtualMs() - quitAt, 200u);
  EXPECT_TRUE(fs::exists(settings));
  EXPECT_NE(Log().find("[Error] The saved game is damaged and cannot be continued."), std::string::npos);
}

// A game that ends without a point goes straight to its summary: no name, no question.
TEST_F(GameEndToEnd, AGameWithoutAPointGoesStraightToItsSummary) {
  Then(
      "title", [] { return Named("spiders") && GetGlobals().inputLevel == 0; }, [this] { Click(540, 215); });
  Then(
      "chooser", [] { return Named("Normal"); }, [this] { Click(53 + 175 + 40, 103 + 216 + 10); });
  Then(
      "map", [] { return ArrowShown(); }, [this] { Key(vk::Enter, 13); });
  Then(
      "fight", [] { return Fighting(); },
      [this] {
        TheRules().allowCheats = true;  // as with -DEBUG
        Key('8', '8');                  // poison, twice: 20 of 15 life
        Key('8', '8');
      });
  Until(
      "summary", [] { return TopIs<ScreenSummary>(); },
      [this] {
        if (TopIs<ScreenTip>()) Key(vk::Enter, 13);
      });
  Then(
      "the summary's lines", [] { return TopIs<ScreenSummary>(); },
      [this] {
        EXPECT_FALSE(Named("text_input"));
        const std::vector<std::string> lines = SummaryLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], "Score: 0");
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Average word length: None"), lines.end());
        EXPECT_FALSE(fs::exists(fs::path(dir_.Path()) / "scores_normal.dat"));
        Key(vk::Escape, 27);
      });
  Then(
      "high scores", [] { return Named("highscores"); }, [this] { Click(290 + 20, 416 + 8); });
  Then(
      "title", [] { return Named("spiders") && GetGlobals().inputLevel == 0; }, [] {});
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(done_.size(), 8u) << (done_.empty() ? "" : done_.back());
}

}  // namespace
}  // namespace spellcrypt
