// The game's things as the rules drive them: tiles arriving, gliding and leaving, the submit bar,
// the monster's bar, sprite, hits and chest, the player's scenery and the secret words' effects.
#include <algorithm>
#include <filesystem>

#include "app/app.h"
#include "app/globals.h"
#include "game/game.h"
#include "game/monster_table.h"
#include "game/tile_types.h"
#include "gfx/dx_screen.h"
#include "tests/ui_test_support.h"
#include "ui/framework/thing_list.h"
#include "ui/game/monster_view.h"
#include "ui/game/player_view.h"
#include "ui/game/submit_button.h"
#include "ui/game/tile.h"
#include "ui/game/tile_board.h"
#include "ui/widgets/bar.h"
#include "ui/widgets/spider_spawn.h"
#include "ui/widgets/thing_message.h"
#include "words/meanings.h"
#include "words/secret_words.h"

namespace spellcrypt {
namespace {

class UiGameThingsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    CAppGlo& app = App();
    app.dictionary.LoadText("act act\nact cat\naelpst plates\n", "words");
    for (int i = 0; i < 26; ++i) app.letterTable.SetWeight(i, 10);
    CGlobals& g = G();
    app.game = std::make_unique<Game>(
        GameServices{platform, g.mersenne, g.simpleRandom, app.dictionary, app.letterTable, app.gameView});
    app.game->NewRun(1);
    app.game->player.weights = app.letterTable;
    player = Add(new CPlayer());
    monster = Add(new CMonster());
    board = Add(new CTileBoard());
    submit = Add(new CSubmitBut());
    submit->SetName("submit");
    submit->AttachImage(Sheet(100, 20, 4), false, kMagenta);
  }
  void TearDown() override {
    App().game.reset();
    UiTest::TearDown();
  }
  Game& Rules() { return *App().game; }
  int Count(const char* name) const {
    int n = 0;
    GetGlobals().things->ForEachLive([&](CThing* t) { n += std::string(t->name) == name ? 1 : 0; });
    return n;
  }

  CPlayer* player = nullptr;
  CMonster* monster = nullptr;
  CTileBoard* board = nullptr;
  CSubmitBut* submit = nullptr;
};

TEST_F(UiGameThingsTest, TilesArriveGlideAndLeaveAsTheRulesSay) {
  Rules().AddRewardTile();
  ASSERT_EQ(board->Tiles().size(), 1u);
  CTile* reward = board->Tiles().begin()->second;
  const BoardTile& rules = *Rules().board.Lower(0);
  EXPECT_EQ(reward->tileId, rules.id);
  EXPECT_EQ(reward->Frame(), TileTypeOf(rules.type).frame);
  EXPECT_EQ(reward->label[0], rules.Label());
  // From the chest, small, growing and gliding to its slot.
  EXPECT_FLOAT_EQ(reward->x, 106.0f);
  EXPECT_FLOAT_EQ(reward->scale, 0.2f);
  Frames(400);
  EXPECT_FLOAT_EQ(reward->scale, 1.0f);
  EXPECT_EQ(static_cast<int>(reward->x), 207);
  EXPECT_EQ(static_cast<int>(reward->y), 155);

  // A tile moved up glides to its place in the word row.
  Rules().board.MoveTileToUpper(Rules().board.Lower(0));
  Frames(200);
  EXPECT_EQ(static_cast<int>(reward->y), 65);

  // Flying off: up the screen, shrinking, gone after its time; the board forgets it at once.
  Rules().board.RemoveTile(Rules().board.Upper(0), TileExit{0.05f, 0.01f, 2000, true});
  EXPECT_TRUE(board->Tiles().empty());
  Frames(60);
  EXPECT_LT(reward->y, 65.0f);
  EXPECT_LT(reward->scale, 1.0f);
  const int id = reward->id;
  Frames(100);
  EXPECT_EQ(G().things->FindById(id), nullptr);
}

TEST_F(UiGameThingsTest, TheBoardTakesItsTilesAlongAndCarriedTilesVanish) {
  Rules().AddRewardTile();
  Rules().AddRewardTile();
  ASSERT_EQ(Count("Tile"), 2);
  Rules().player.carried.push_back(Rules().board.TakeForCarrying(Rules().board.Lower(0)));
  Frame();
  EXPECT_EQ(Count("Tile"), 1);
  board->dead = true;
  Frame();
  Frame();
  EXPECT_EQ(Count("Tile"), 0);
}

TEST_F(UiGameThingsTest, TheSubmitBarPulsesWhileTheWordCanBeCast) {
  for (const char letter : {'C', 'A', 'T'}) {
    BoardTile tile;
    tile.letter = letter;
    tile.lowerSlot = Rules().board.CountAll();
    Rules().board.PlaceTile(tile, TileArrival::Placed);
  }
  Rules().monster.state = kMonsterFighting;
  for (int i = 0; i < 3; ++i) Rules().ClickTile(Rules().board.Lower(i)->id);
  EXPECT_EQ(submit->mode, 2);
  Rules().ClickTile(Rules().board.Upper(2)->id);  // "CA" is too short
  EXPECT_EQ(submit->mode, 0);
  G().things->KillByName("submit");
  Frame();
  Rules().ClickTile(Rules().board.Lower(2)->id);
  EXPECT_TRUE(Logged("Can't locate submit object"));
}

TEST_F(UiGameThingsTest, TheMonsterStandsOnItsFeetLungesIsHitAndLeavesAChest) {
  WriteBmp("graphics/character/Spider.bmp", 60, 40);
  WriteBmp("graphics/character/Treasure.bmp", 396, 44);
  WriteBmp("graphics/health_bar_red.jpg", 180, 14);
  MonsterRecord spider = MonsterType(kSpider);
  spider.life = spider.maxLife = 9;
  Rules().monster.record = spider;
  monster->Show(Rules().monster.record);
  auto* sprite = dynamic_cast<CThingSprite*>(G().things->FindByName("danim"));
  ASSERT_NE(sprite, nullptr);
  // Placed at (0, 0) in the table: its feet at (109, 187), and the place is kept with the monster.
  EXPECT_EQ(static_cast<int>(sprite->x), 109 - 30);
  EXPECT_EQ(static_cast<int>(sprite->y), 187 - 40);
  EXPECT_EQ(Rules().monster.record.x, 79);
  EXPECT_EQ(Count("bar"), 1);
  // The same picture stays: shown again, the sprite is not replaced.
  monster->Show(Rules().monster.record);
  EXPECT_EQ(G().things->FindByName("danim"), sprite);
  EXPECT_EQ(Count("bar"), 1);

  monster->Lunge();
  Frames(40);
  EXPECT_GT(sprite->y, 147.0f) << "down toward the player";
  Frames(200);
  EXPECT_EQ(static_cast<int>(sprite->y), 147) << "and back";

  WriteBmp("graphics/fireball.bmp", 11 * 20, 20);
  App().tileImages = std::make_unique<TileImages>();
  ASSERT_EQ(App().tileImages->fireball.Create(G().display, "graphics\\fireball.bmp", 0, 0, 11, kPlacementAny),
            1);
  monster->Hit(30, 10);
  EXPECT_EQ(Count("hitdam"), 1);
  int sparks = 0;
  G().things->ForEachLive([&](CThing* t) { sparks += t->layer == 140 ? 1 : 0; });
  EXPECT_EQ(sparks, 10);

  monster->Die(1000);
  Frame();
  auto* chest = dynamic_cast<CThingSprite*>(G().things->FindByName("danim"));
  ASSERT_NE(chest, nullptr);
  EXPECT_NE(chest, sprite);
  EXPECT_EQ(static_cast<int>(chest->x), 76);
  EXPECT_EQ(Count("hitdam"), 0);
  EXPECT_EQ(Count("bar"), 0);
  Frames(100);  // the chest opens, then loops its last frames
  EXPECT_GE(chest->Frame(), 3);
}

TEST_F(UiGameThingsTest, TheDungeonBackgroundComesWithItsFires) {
  WriteBmp("graphics/health_bar_red.jpg", 180, 14);
  for (int d : {1, 2, 17, 5}) {
    SCOPED_TRACE(d);
    Rules().player.SetDungeon(d);
    player->ShowBars();
    Frame();
    const int fires = d <= 3 ? 2 : (d >= 17 && d <= 20 ? 1 : 0);
    EXPECT_EQ(Count("DUNG_BG"), 1);
    EXPECT_EQ(Count("DUNG_FIRE"), fires);
    EXPECT_EQ(Count("bar"), 1);
  }
  player->RemoveBars();
  player->RemoveBackground();
  Frame();
  EXPECT_EQ(Count("DUNG_BG") + Count("DUNG_FIRE") + Count("bar"), 0);
}

// A cast that hits shows the word's meaning under the rules' own message, smaller and dimmer; a
// spell stopped by armour, a word without a meaning and a player who turned meanings off get none.
TEST_F(UiGameThingsTest, AHitShowsTheCastWordsMeaningUnderItsMessage) {
  const Meaning plate{
      "plate", false, {PartOfSpeech::Noun, "a sheet of metal or other material"}, std::nullopt};
  const std::vector<std::uint8_t> file = EncodeMeanings({{"plates", plate}, {"cat", plate}});
  std::filesystem::create_directories("data");
  testing::WriteBytes("data/meanings.dat", file);
  auto* message = Add(new CThingMessage());
  App().dictionary.LoadText("act act\nact cat\naelpst plates\naelpst staple\n", "words");
  MonsterRecord skeleton = MonsterType(kSkeleton);
  skeleton.life = skeleton.maxLife = 1000000;
  Rules().monster.record = skeleton;
  Rules().monster.state = kMonsterFighting;
  const auto cast = [&](const std::string& word) {
    Rules().board.Clear();
    for (const char letter : word) {
      BoardTile tile;
      tile.letter = static_cast<char>(letter - 'a' + 'A');
      tile.lowerSlot = Rules().board.CountAll();
      Rules().board.PlaceTile(tile, TileArrival::Placed);
    }
    for (int i = 0; i < static_cast<int>(word.size()); ++i) Rules().ClickTile(Rules().board.Lower(i)->id);
    Rules().CastWord();
    return std::string(message->text);
  };

  const std::string hit = cast("plates");
  EXPECT_EQ(hit.rfind("You cast the spell \"plates\".\r\nYou hit the Skeleton for ", 0), 0u) << hit;
  EXPECT_EQ(message->Note(), FormatMeaning("plates", plate, 200));
  EXPECT_EQ(message->Note(), "plates: a sheet of metal or other material");
  // No meaning in the file: no note, and none left over from the word before.
  cast("staple");
  EXPECT_EQ(message->Note(), "");
  // Stopped by armour: no hit, no meaning.
  Rules().monster.record.armor = 4;
  EXPECT_EQ(
      cast("cat"),
      "You cast the spell \"cat\".\r\nUh oh, it bounced off the Skeleton's armor!\r\nTry a longer word!");
  EXPECT_EQ(message->Note(), "");
  Rules().monster.record.armor = 0;
  Rules().player.usedWords.Clear();
  EXPECT_EQ(cast("cat").rfind("You cast the spell \"cat\".\r\nYou hit the Skeleton", 0), 0u);
  EXPECT_EQ(message->Note(), "cat: a sheet of metal or other material");
  // Any later message takes the note away.
  ShowMessage("Something else.");
  EXPECT_EQ(message->Note(), "");

  // Turned off: the same message, and nothing under it.
  Rules().player.usedWords.Clear();
  App().preferences.showMeanings = false;
  EXPECT_EQ(cast("plates"), hit);
  EXPECT_EQ(message->Note(), "");
}

// The note sits under the text's last line, cut to the box's width and drawn dimmer than the text.
TEST_F(UiGameThingsTest, TheMeaningIsCutToTheBoxAndDrawnDimmerUnderTheText) {
  WriteFont("graphics/font/font_small.bmp", 16);
  WriteFont("graphics/font/font_grey2.bmp", 32);
  ASSERT_EQ(App().smallFont.Load(G().display, "graphics/font/font_small.bmp", 16, 16), 0);
  ASSERT_EQ(App().greyFont.Load(G().display, "graphics/font/font_grey2.bmp", 32, 32), 0);
  const Meaning long_{
      "crowd", false, {PartOfSpeech::Noun, std::string(200, 'x').replace(50, 1, " ")}, std::nullopt};
  const std::string line = FitMeaning("crowd", long_, App().smallFont, kMessageNoteWidth);
  EXPECT_LE(App().smallFont.TextWidth(line.c_str()), kMessageNoteWidth);
  EXPECT_EQ(line.substr(line.size() - 3), "...");
  EXPECT_GT(line.size(), 40u);

  auto* message = Add(new CThingMessage());
  message->SetText("one\r\ntwo");
  message->SetNote("crowd: a large number");
  Frame();
  // Two lines of 32 pixels from y = 336, then the note: its ink is blended, never the font's own.
  const int noteTop = 336 + 2 * 32;
  EXPECT_GT(InkIn(20, 336, 200, noteTop), 0);
  EXPECT_EQ(InkIn(20, noteTop, 400, noteTop + 24), 0);
  CDXSurface* back = G().display->GetBack();
  const std::uint32_t ground = back->ReadPixel(630, noteTop + 8);
  int dimInk = 0;
  for (int y = noteTop; y < noteTop + 24; ++y) {
    for (int x = 20; x < 400; ++x) dimInk += back->ReadPixel(x, y) != ground ? 1 : 0;
  }
  EXPECT_GT(dimInk, 100);
}

TEST_F(UiGameThingsTest, SecretWordsFallOrCrawlInAsTheirEntrySays) {
  const SecretWordManager words;
  App().gameView.SecretEffect(*words.Find("rat"));
  auto* rats = dynamic_cast<CSpiderSpawn*>(G().things->FindByName("effect"));
  ASSERT_NE(rats, nullptr);
  EXPECT_EQ(rats->layer, 70);
  EXPECT_EQ(rats->style, kSpidersFall);
  G().things->KillByName("effect");
  Frame();
  App().gameView.SecretEffect(*words.Find("spiders"));
  auto* spiders = dynamic_cast<CSpiderSpawn*>(G().things->FindByName("effect"));
  ASSERT_NE(spiders, nullptr);
  EXPECT_EQ(spiders->style, kSpidersCrawl);
}

}  // namespace
}  // namespace spellcrypt
