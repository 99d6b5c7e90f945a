// The saved game: a game in progress saved and put back (tiles in both rows at their slots, the
// word lists, the run, the fight resumed), the file's bytes field by field, saves of another version,
// and damaged files refused whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "base/binary_io.h"
#include "base/keys.h"
#include "base/text_util.h"
#include "game/dungeon.h"
#include "game/monster_table.h"
#include "game/saved_game.h"
#include "game/tile_types.h"
#include "tests/game_test_support.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

using testing::GameRig;
using testing::LoadWords;
using testing::TempDir;

using Bytes = std::vector<std::uint8_t>;

std::int32_t GetI32(const Bytes& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(b.at(at + static_cast<std::size_t>(i))) << (8 * i);
  return static_cast<std::int32_t>(v);
}
float GetF32(const Bytes& b, std::size_t at) {
  const std::uint32_t bits = static_cast<std::uint32_t>(GetI32(b, at));
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
void PutI32(Bytes& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i)
    b.at(at + static_cast<std::size_t>(i)) =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}
void PutF32(Bytes& b, std::size_t at, float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, 4);
  PutI32(b, at, static_cast<std::int32_t>(bits));
}
std::string GetText(const Bytes& b, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(&b.at(at)));
}

const std::filesystem::path kSeeds =
    std::filesystem::path(SPELLCRYPT_SOURCE_DIR) / "fuzz" / "corpus" / "saved_game_fuzz";

// Good saves double as the fuzz target's seeds: SPELLCRYPT_WRITE_FUZZ_SEEDS=1 writes them into
// fuzz/corpus/saved_game_fuzz/.
void Seed(const std::string& name, const Bytes& bytes) {
  if (std::getenv("SPELLCRYPT_WRITE_FUZZ_SEEDS") == nullptr) return;
  std::filesystem::create_directories(kSeeds);
  testing::WriteBytes((kSeeds / name).string(), bytes);
}

// A saved game made by hand: two rack tiles, a word-row tile, lists, a run and a fighting Turtle.
SavedGame HandMadeSave() {
  SavedGame s;
  auto tile = [](char letter, int lower, int home, int upper, int type, float x, float y) {
    BoardTile t;
    t.letter = letter;
    t.lowerSlot = lower;
    t.homeSlot = home;
    t.upperSlot = upper;
    t.type = type;
    t.x = x;
    t.y = y;
    return t;
  };
  s.tiles = {tile('S', 0, -1, -1, kTilePlus10, 207, 155), tile('T', -1, 1, 0, kTileNormal, 207, 65),
             tile(' ', 9, 9, -1, kTilePotion, 259, 208)};
  s.weights = testing::EnglishLetters();
  s.usedWords.Add("cat");
  s.usedWords.Add("stone");
  s.treasures.Add("You find a shiny goblet.");
  s.strongWords.Add("stone");
  s.run.dungeon = 7;
  s.run.maxLife = 20;
  s.run.life = 13;
  s.run.monstersLeft = 4;
  s.run.bossesSlain = 2;
  s.run.mode = 2;
  s.run.strongestDamage = 60;
  s.run.totalWords = 30;
  s.run.totalLetters = 140;
  s.run.monstersVanquished = 20;
  s.run.wordsByLength[0] = 5;
  s.run.wordsByLength[5] = 1;
  s.run.oraclesSummoned = 3;
  s.run.score = 123456;
  CopyText(s.run.oracleWord, sizeof s.run.oracleWord, "STONED");
  s.run.bossMet = 1;
  s.run.mindLevel = 2;
  s.run.bonusPages = 1;
  s.run.staffFraction = 0.15f;
  s.run.luckLevel = 1;
  s.run.lastBookDungeon = 5;
  s.monster = MonsterType(kTurtle);
  s.monster.maxLife = 10;
  s.monster.life = 8;
  s.monster.savedState = 1;
  s.monster.idleAnim = MonsterAnim{0, 0, 1, 450};
  return s;
}

// Where the parts of an encoded save begin.
struct Layout {
  explicit Layout(const Bytes& b, std::size_t tiles)
      : header(8 + 29 * tiles),
        weights(header + 20),
        monster(b.size() - 828),
        run(monster - 140),
        runSize(run - 4) {}
  std::size_t Tile(std::size_t i) const { return 8 + 29 * i; }
  std::size_t header, weights, monster, run, runSize;
};

TEST(SavedGameBytesTest, EveryFieldAtItsPlace) {
  const SavedGame save = HandMadeSave();
  const Bytes b = EncodeSavedGame(save);
  Seed("hand_made.sav", b);
  const Layout at(b, 3);
  EXPECT_EQ(b[0], 0xCD);
  EXPECT_EQ(b[1], 0xCC);
  EXPECT_EQ(b[2], 0x8C);
  EXPECT_EQ(b[3], 0x3F);
  EXPECT_EQ(GetI32(b, 4), 3);

  // The word-row T, second: letter, label, slots, type, place.
  const std::size_t t = at.Tile(1);
  EXPECT_EQ(b[t], 'T');
  EXPECT_EQ(b[t + 1], 'T');
  EXPECT_EQ(b[t + 2], 0);
  EXPECT_EQ(GetI32(b, t + 5), -1);
  EXPECT_EQ(GetI32(b, t + 9), 1);
  EXPECT_EQ(GetI32(b, t + 13), 0);
  EXPECT_EQ(GetI32(b, t + 17), kTileNormal);
  EXPECT_EQ(GetF32(b, t + 21), 207.0f);
  EXPECT_EQ(GetF32(b, t + 25), 65.0f);
  // The potion: no letter on its label.
  EXPECT_EQ(b[at.Tile(2)], ' ');
  EXPECT_EQ(b[at.Tile(2) + 1], ' ');
  EXPECT_EQ(GetI32(b, at.Tile(2) + 17), kTilePotion);

  EXPECT_EQ(GetI32(b, at.header), 16);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(b[at.header + 4 + i], 0);
  EXPECT_EQ(GetI32(b, at.weights), 26);
  EXPECT_EQ(GetI32(b, at.weights + 4), 87);       // A
  EXPECT_EQ(GetI32(b, at.weights + 4 + 100), 5);  // Z
  std::size_t list = at.weights + 4 + 26 * 4;
  EXPECT_EQ(GetI32(b, list), 2);
  EXPECT_EQ(GetI32(b, list + 4), 3);
  EXPECT_EQ(std::string(b.begin() + static_cast<long>(list) + 8, b.begin() + static_cast<long>(list) + 11),
            "cat");
  EXPECT_EQ(GetI32(b, list + 11), 5);
  list += 4 + 4 + 3 + 4 + 5;
  EXPECT_EQ(GetI32(b, list), 1);
  EXPECT_EQ(GetI32(b, list + 4), 24);
  list += 8 + 24;
  EXPECT_EQ(GetI32(b, list), 1);
  EXPECT_EQ(list + 4 + 4 + 5, at.runSize);

  EXPECT_EQ(GetI32(b, at.runSize), 140);
  const std::size_t r = at.run;
  EXPECT_EQ(GetI32(b, r + 0), 7);
  EXPECT_EQ(GetI32(b, r + 4), 20);
  EXPECT_EQ(GetI32(b, r + 8), 13);
  EXPECT_EQ(GetI32(b, r + 12), 4);
  EXPECT_EQ(GetI32(b, r + 16), 2);
  EXPECT_EQ(GetI32(b, r + 24), 2);
  EXPECT_EQ(GetI32(b, r + 28), 60);
  EXPECT_EQ(GetI32(b, r + 40), 20);
  EXPECT_EQ(GetI32(b, r + 44), 5);
  EXPECT_EQ(GetI32(b, r + 64), 1);
  EXPECT_EQ(GetI32(b, r + 68), 3);
  EXPECT_EQ(GetI32(b, r + 76), 123456);
  EXPECT_EQ(GetText(b, r + 80), "STONED");
  EXPECT_EQ(GetI32(b, r + 96), 1);
  EXPECT_EQ(GetI32(b, r + 100), 2);
  EXPECT_EQ(GetI32(b, r + 104), 1);
  EXPECT_EQ(GetF32(b, r + 108), 0.15f);
  EXPECT_EQ(GetI32(b, r + 112), 1);
  EXPECT_EQ(GetI32(b, r + 116), 5);

  const std::size_t m = at.monster;
  EXPECT_EQ(b.size(), m + 828);
  EXPECT_EQ(GetI32(b, m + 0), kTurtle);
  EXPECT_EQ(GetI32(b, m + 4), 10);
  EXPECT_EQ(GetI32(b, m + 8), 8);
  EXPECT_EQ(GetI32(b, m + 12), 4000);
  EXPECT_EQ(GetI32(b, m + 20), 1);
  EXPECT_EQ(GetText(b, m + 24), "Turtle");
  EXPECT_EQ(GetF32(b, m + 76), 0.05f);
  EXPECT_EQ(GetI32(b, m + 80), 7);
  EXPECT_EQ(GetI32(b, m + 84), 10);
  EXPECT_EQ(GetText(b, m + 88), "sound\\encounter2.ogg");
  EXPECT_EQ(b[m + 216], 0);
  EXPECT_EQ(GetI32(b, m + 220), 1);
  EXPECT_EQ(GetI32(b, m + 228), 1000);
  EXPECT_EQ(GetI32(b, m + 232), 0);
  EXPECT_EQ(GetI32(b, m + 236), 1);
  EXPECT_EQ(b[m + 240], 4);
  EXPECT_EQ(GetText(b, m + 496), "graphics\\character\\turtle.bmp");
  EXPECT_EQ(GetI32(b, m + 752), 1);
  EXPECT_EQ(GetI32(b, m + 764 + 8), 1);
  EXPECT_EQ(GetI32(b, m + 764 + 12), 450);
  EXPECT_EQ(GetI32(b, m + 780 + 12), 100);
  for (std::size_t i = 241; i < 496; ++i) ASSERT_EQ(b[m + i], 0) << i;
  for (std::size_t i = 796; i < 828; ++i) ASSERT_EQ(b[m + i], 0) << i;

  // And back, unchanged.
  SavedGame read;
  std::string why;
  ASSERT_EQ(DecodeSavedGame(b, read, why), SaveCheck::Ok) << why;
  EXPECT_EQ(EncodeSavedGame(read), b);
  EXPECT_EQ(read.tiles[1].upperSlot, 0);
  EXPECT_EQ(read.tiles[1].homeSlot, 1);
}

TEST(SavedGameBytesTest, SavesOfAnotherVersionAreRefusedAndSoAreDamagedOnesWhole) {
  testing::LogCapture log;  // the word lists and weights log what is wrong with them
  const Bytes good = EncodeSavedGame(HandMadeSave());
  SavedGame target;
  target.run.score = 4242;
  target.tiles.resize(5);
  std::string why;
  auto check = [&](const Bytes& b) {
    const SaveCheck result = DecodeSavedGame(b, target, why);
    EXPECT_EQ(target.run.score, 4242) << "the target was touched";
    EXPECT_EQ(target.tiles.size(), 5u) << "the target was touched";
    return result;
  };

  Bytes older = good;
  PutF32(older, 0, 1.0f);
  EXPECT_EQ(check(older), SaveCheck::OlderVersion);
  EXPECT_EQ(check({}), SaveCheck::OlderVersion);

  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
    ASSERT_EQ(check(cut), n < 4 ? SaveCheck::OlderVersion : SaveCheck::Damaged) << "cut at " << n;
  }

  const Layout at(good, 3);
  const std::size_t r = at.run;
  const std::size_t m = at.monster;
  const std::size_t list = at.weights + 4 + 26 * 4;
  struct Damage {
    const char* what;
    std::function<void(Bytes&)> apply;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<Damage> damages = {
      {"tile count -1", [](Bytes& b) { PutI32(b, 4, -1); }},
      {"tile count 4", [](Bytes& b) { PutI32(b, 4, 4); }},
      {"tile count 17", [](Bytes& b) { PutI32(b, 4, 17); }},
      {"tile count huge", [](Bytes& b) { PutI32(b, 4, 0x7FFFFFFF); }},
      {"two tiles on one rack slot", [&](Bytes& b) { PutI32(b, at.Tile(2) + 5, 0); }},
      {"two tiles on one word slot", [&](Bytes& b) { PutI32(b, at.Tile(0) + 13, 0); }},
      {"tile type 11", [&](Bytes& b) { PutI32(b, at.Tile(0) + 17, 11); }},
      {"tile type -1", [&](Bytes& b) { PutI32(b, at.Tile(0) + 17, -1); }},
      {"lower-case letter", [&](Bytes& b) { b[at.Tile(0)] = 's'; }},
      {"letter tile without a letter", [&](Bytes& b) { b[at.Tile(0)] = ' '; }},
      {"rack slot 16", [&](Bytes& b) { PutI32(b, at.Tile(0) + 5, 16); }},
      {"no slot at all", [&](Bytes& b) { PutI32(b, at.Tile(0) + 5, -1); }},
      {"word slot 16", [&](Bytes& b) { PutI32(b, at.Tile(1) + 13, 16); }},
      {"home slot 99", [&](Bytes& b) { PutI32(b, at.Tile(1) + 9, 99); }},
      {"tile at NaN", [&](Bytes& b) { PutF32(b, at.Tile(1) + 21, nan); }},
      {"lists header 15", [&](Bytes& b) { PutI32(b, at.header, 15); }},
      {"27 letter weights", [&](Bytes& b) { PutI32(b, at.weights, 27); }},
      {"weights count -1", [&](Bytes& b) { PutI32(b, at.weights, -1); }},
      {"negative weight", [&](Bytes& b) { PutI32(b, at.weights + 8, -3); }},
      {"used words count huge", [&](Bytes& b) { PutI32(b, list, 1 << 30); }},
      {"word longer than the file", [&](Bytes& b) { PutI32(b, list + 4, 5000); }},
      {"run size 141", [&](Bytes& b) { PutI32(b, at.runSize, 141); }},
      {"run size 139", [&](Bytes& b) { PutI32(b, at.runSize, 139); }},
      {"dungeon 0", [&](Bytes& b) { PutI32(b, r, 0); }},
      {"dungeon 26", [&](Bytes& b) { PutI32(b, r, 26); }},
      {"mode 3", [&](Bytes& b) { PutI32(b, r + 24, 3); }},
      {"mode -1", [&](Bytes& b) { PutI32(b, r + 24, -1); }},
      {"life 0", [&](Bytes& b) { PutI32(b, r + 8, 0); }},
      {"life above its maximum", [&](Bytes& b) { PutI32(b, r + 8, 21); }},
      {"no maximum life", [&](Bytes& b) { PutI32(b, r + 4, 0); }},
      {"seven monsters left", [&](Bytes& b) { PutI32(b, r + 12, 7); }},
      {"no monster left", [&](Bytes& b) { PutI32(b, r + 12, 0); }},
      {"negative score", [&](Bytes& b) { PutI32(b, r + 76, -1); }},
      {"NaN staff", [&](Bytes& b) { PutF32(b, r + 108, nan); }},
      {"whole staff", [&](Bytes& b) { PutF32(b, r + 108, 1.0f); }},
      {"negative staff", [&](Bytes& b) { PutF32(b, r + 108, -0.05f); }},
      {"infinite staff", [&](Bytes& b) { PutF32(b, r + 108, std::numeric_limits<float>::infinity()); }},
      {"book in dungeon 30", [&](Bytes& b) { PutI32(b, r + 116, 30); }},
      {"oracle word without its end", [&](Bytes& b) { std::memset(&b[r + 80], 'A', 16); }},
      {"monster index 24", [&](Bytes& b) { PutI32(b, m, 24); }},
      {"monster index -1", [&](Bytes& b) { PutI32(b, m, -1); }},
      {"monster state 3", [&](Bytes& b) { PutI32(b, m + 236, 3); }},
      {"monster life above its maximum", [&](Bytes& b) { PutI32(b, m + 8, 11); }},
      {"monster with no frames", [&](Bytes& b) { PutI32(b, m + 752, 0); }},
      {"animation past the frames", [&](Bytes& b) { PutI32(b, m + 764 + 4, 3); }},
      {"animation of 0 ms frames", [&](Bytes& b) { PutI32(b, m + 780 + 12, 0); }},
      {"name without its end", [&](Bytes& b) { std::memset(&b[m + 24], 'A', 52); }},
      {"sound without its end", [&](Bytes& b) { std::memset(&b[m + 88], 'A', 128); }},
      {"image without its end", [&](Bytes& b) { std::memset(&b[m + 496], 'A', 256); }},
      {"attack delays reversed", [&](Bytes& b) { PutI32(b, m + 12, 5000); }},
      {"reward range reversed", [&](Bytes& b) { PutI32(b, m + 224, 0); }},
      {"NaN lunge", [&](Bytes& b) { PutF32(b, m + 76, nan); }},
  };
  // Seventeen tiles, each on its own slot, are more than a board can hold; sixteen are not.
  SavedGame crowded = HandMadeSave();
  crowded.tiles.clear();
  for (int i = 0; i < 17; ++i) {
    BoardTile t;
    t.letter = 'E';
    t.lowerSlot = i < 16 ? i : -1;
    t.upperSlot = i < 16 ? -1 : 0;
    crowded.tiles.push_back(t);
  }
  EXPECT_EQ(check(EncodeSavedGame(crowded)), SaveCheck::Damaged);
  crowded.tiles.erase(crowded.tiles.begin());
  SavedGame sixteen;
  EXPECT_EQ(DecodeSavedGame(EncodeSavedGame(crowded), sixteen, why), SaveCheck::Ok) << why;

  for (const Damage& d : damages) {
    Bytes b = good;
    d.apply(b);
    EXPECT_EQ(check(b), SaveCheck::Damaged) << d.what;
    EXPECT_FALSE(why.empty()) << d.what;
  }
}

TEST(SavedGameFileTest, WrittenWholeAndRecognisedByItsVersion) {
  TempDir dir;
  const std::string path = dir.File("autosave.sav");
  EXPECT_FALSE(IsSaveUsable(path));
  ASSERT_TRUE(WriteSavedGame(path, HandMadeSave()));
  EXPECT_TRUE(IsSaveUsable(path));
  EXPECT_EQ(testing::ReadBytes(path), EncodeSavedGame(HandMadeSave()));
  testing::WriteBytes(path, {0x00, 0x00, 0x80, 0x3F, 1, 2, 3});
  EXPECT_FALSE(IsSaveUsable(path));
  testing::WriteBytes(path, {0xCD, 0xCC});
  EXPECT_FALSE(IsSaveUsable(path));
}

class SaveRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadWords(words, {"stone", "cat", "tone", "notes", "onset"});
    picture = dir.Write("skeleton.bmp", std::string_view("BM"));
  }
  // A game in the middle of a fight: a few casts, tiles in both rows, a resumable monster.
  void Play(GameRig& rig) {
    ASSERT_TRUE(rig.StartGame(1));
    rig.game.player.record.staffFraction = 0.10f;
    MonsterRecord& m = rig.game.monster.record;
    m = MonsterType(kSkeleton);
    m.life = 270;
    m.maxLife = 300;
    CopyText(m.image, sizeof m.image, picture);
    rig.SetRack("STONEXACN ", {kTilePlus10, 0, 0, kTileDouble, 0, kTileDealtDouble, 0, 0, 0, kTilePotion});
    rig.Type("cat");
    rig.game.HandleChar(vk::Enter);
    rig.Type("STONE");
    rig.game.HandleChar(vk::Enter);
    rig.Type("ton");
    rig.game.ApplyPage(kPagePower);
    ASSERT_EQ(rig.Word(), "TON");
  }

  TempDir dir;
  std::string picture;
  Dictionary words;
};

TEST_F(SaveRoundTripTest, AGameSavedMidFightResumesAsItWas) {
  GameRig first(words, 51);
  Play(first);
  ASSERT_TRUE(first.game.CanLeave());
  const Bytes saved = EncodeSavedGame(first.game.Snapshot());
  Seed("mid_fight.sav", saved);

  GameRig second(words, 52);
  second.game.NewRun(0);
  SavedGame loaded;
  std::string why;
  ASSERT_EQ(DecodeSavedGame(saved, loaded, why), SaveCheck::Ok) << why;
  second.game.Restore(loaded);

  // The same bytes again: tiles in both rows at their slots, lists, run and monster.
  EXPECT_EQ(EncodeSavedGame(second.game.Snapshot()), saved);
  EXPECT_EQ(second.Word(), "TON");
  EXPECT_EQ(second.game.board.GetRackLetters(), first.game.board.GetRackLetters());
  for (int slot = 0; slot < 16; ++slot) {
    const BoardTile* a = first.RackTile(slot);
    const BoardTile* b = second.RackTile(slot);
    ASSERT_EQ(a == nullptr, b == nullptr) << slot;
    if (a != nullptr) {
      EXPECT_EQ(a->letter, b->letter);
      EXPECT_EQ(a->type, b->type);
    }
    if (first.WordTile(slot) != nullptr) {
      EXPECT_EQ(second.WordTile(slot)->homeSlot, first.WordTile(slot)->homeSlot);
    }
  }
  EXPECT_EQ(second.game.Difficulty(), 1);
  EXPECT_EQ(second.game.player.record.mindLevel, 1);
  EXPECT_TRUE(second.game.player.usedWords.Contains("stone"));
  EXPECT_TRUE(second.game.player.strongWords.Contains("stone"));

  // The fight resumes where it was: the staff's share is not taken a second time.
  ASSERT_EQ(second.events.shown.size(), 1u);
  EXPECT_EQ(second.game.monster.record.life, first.game.monster.record.life);
  EXPECT_EQ(second.events.LastMessage(), "You are attacked by a Skeleton!\r\n");
  EXPECT_EQ(second.events.playerBars, std::vector<bool>{true});
  EXPECT_FALSE(second.events.submit.empty());
  EXPECT_FALSE(second.events.LastSubmit());  // "ton" is no word here
  EXPECT_EQ(second.game.board.pendingDeal, 0);
  EXPECT_TRUE(second.game.CanLeave());
  // The next cast goes on from there.
  second.Type("e");
  EXPECT_TRUE(second.events.LastSubmit());
  second.game.HandleChar(vk::Enter);
  EXPECT_TRUE(second.events.Played("sound\\spell1.wav"));
}

TEST_F(SaveRoundTripTest, AFightThatCannotResumeCallsTheNextMonster) {
  for (const bool dead : {true, false}) {
    GameRig first(words, 53);
    Play(first);
    SavedGame snapshot = first.game.Snapshot();
    if (dead) {
      snapshot.monster.savedState = kMonsterDead;
    } else {
      CopyText(snapshot.monster.image, sizeof snapshot.monster.image, dir.File("gone.bmp"));
    }
    GameRig second(words, 54);
    second.game.NewRun(1);
    second.game.Restore(snapshot);
    ASSERT_EQ(second.events.shown.size(), 1u);
    EXPECT_NE(std::string(second.game.monster.record.image), snapshot.monster.image);
    EXPECT_TRUE(second.game.monster.IsActive());
    EXPECT_EQ(second.game.player.record.monstersLeft, snapshot.run.monstersLeft);
  }
}

TEST(SaveAlwaysLoadsTest, EverySaveTheGameCanMakeLoads) {
  Dictionary* words = testing::GameWordList();
  if (words == nullptr) SKIP_UNLESS_CI("the generated word list has not been built");
  for (int mode = 0; mode <= 2; ++mode) {
    GameRig rig(*words, 60 + static_cast<std::uint32_t>(mode));
    ASSERT_TRUE(rig.StartGame(mode));
    int checked = 0;
    int frames = 0;
    bool seeded = false;
    // Whenever the game could be saved (and quit), the save it would write loads.
    const bool reached = rig.PlayUntil(
        [&] {
          const bool done = rig.game.player.record.dungeon >= (mode == 2 ? 6 : 3);
          if (++frames % 3 != 0 || !rig.game.CanLeave()) return done;
          SavedGame read;
          std::string why;
          const Bytes bytes = EncodeSavedGame(rig.game.Snapshot());
          if (!seeded && checked >= 30) {
            Seed("played_mode" + std::to_string(mode) + ".sav", bytes);
            seeded = true;
          }
          EXPECT_EQ(DecodeSavedGame(bytes, read, why), SaveCheck::Ok)
              << why << " in dungeon " << rig.game.player.record.dungeon;
          ++checked;
          return done;
        },
        600000, 1500);
    EXPECT_TRUE(reached);
    EXPECT_GT(checked, 50);
  }
}

TEST(SavedGameSeedsTest, EveryFuzzSeedLoads) {
  int seeds = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(kSeeds, ec)) {
    SavedGame read;
    std::string why;
    EXPECT_EQ(DecodeSavedGame(testing::ReadBytes(entry.path().string()), read, why), SaveCheck::Ok)
        << entry.path() << ": " << why;
    ++seeds;
  }
  EXPECT_GE(seeds, 3) << "run the tests with SPELLCRYPT_WRITE_FUZZ_SEEDS=1";
}

}  // namespace
}  // namespace spellcrypt
