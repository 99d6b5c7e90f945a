// The widgets of the game screen: creature spawners, the submit bar, letter tiles and the book
// icon.
#include "tests/ui_test_support.h"
#include "ui/game/submit_button.h"
#include "ui/game/thing_book.h"
#include "ui/game/tile.h"
#include "ui/widgets/spider_spawn.h"

namespace spellcrypt {
namespace {

class UiGameWidgetsTest : public UiTest {};

TEST_F(UiGameWidgetsTest, CrawlersComeInFromTheRightAndAreGoneBelowTheScreen) {
  auto* spiders = Add(new CSpiderSpawn());
  spiders->style = kSpidersCrawl;
  Frame(510);  // a new creature takes its first step (at most 8 delta units) at once
  ASSERT_EQ(spiders->Creatures().size(), 1u);
  EXPECT_NEAR(spiders->Creatures()[0].x, 646.0f - 3.2f, 3.21f);
  EXPECT_NEAR(spiders->Creatures()[0].y, 14.0f + 4.0f, 4.01f);
  spiders->StopSpawningAfter(5000);
  std::size_t most = 0;
  for (int i = 0; i < 60000 / 30; ++i) {
    Frame(30);
    most = std::max(most, spiders->Creatures().size());
    for (const CSpiderSpawn::Creature& c : spiders->Creatures()) {
      ASSERT_LE(c.x, 646.0f);
      ASSERT_GE(c.y, 14.0f);
    }
  }
  EXPECT_GE(most, 8u);
  EXPECT_TRUE(spiders->Creatures().empty());
}

TEST_F(UiGameWidgetsTest, FallersStartAboveTheScreenAndTheSpawnerDiesWithItsLife) {
  auto* spiders = Add(new CSpiderSpawn());
  spiders->style = kSpidersFall;
  spiders->SetLife(2000);
  const int id = spiders->id;
  Frame(510);
  ASSERT_EQ(spiders->Creatures().size(), 1u);
  EXPECT_GE(spiders->Creatures()[0].x, 20.0f);
  EXPECT_LE(spiders->Creatures()[0].x, 530.0f);
  EXPECT_NEAR(spiders->Creatures()[0].y, -10.0f + 4.0f, 4.01f);
  Frames(100, 20);
  EXPECT_EQ(G().things->FindById(id), nullptr);
}

TEST_F(UiGameWidgetsTest, ClicksOnTilesAndTheSubmitBarNeedTheBoard) {
  auto* tile = Add(new CTile());
  EXPECT_EQ(tile->layer, 2);
  EXPECT_STREQ(tile->name, "Tile");
  tile->AttachImage(Sheet(50, 50, 12), false, 0xFFFFFF);
  tile->SetPosition(207, 155);
  auto* submit = Add(new CSubmitBut());
  submit->AttachImage(Sheet(100, 20, 4), false, kMagenta);
  submit->SetPosition(346, 278);
  PointAt(210, 160);
  Press();
  Release();
  EXPECT_EQ(CountLogged("Couldn't find tile board object"), 1);
  tile->SetLife(100000);  // a tile on its way out takes no clicks
  Press();
  Release();
  EXPECT_EQ(CountLogged("Couldn't find tile board object"), 1);
  PointAt(350, 280);
  G().inputLevel = 100;
  Press();
  Release();
  EXPECT_EQ(CountLogged("Couldn't find tile board object"), 1);
  G().inputLevel = 0;
  Press();
  Release();
  EXPECT_EQ(CountLogged("Couldn't find tile board object"), 2);
  EXPECT_EQ(submit->mode, 1);  // the press flashes the bar
}

TEST_F(UiGameWidgetsTest, BookGrowsCirclesAndOpensItsScreen) {
  auto* book = Add(new CThingBook());
  const int id = book->id;
  EXPECT_FLOAT_EQ(book->scale, 0.2f);
  Frames(60, 20);  // 1.2 s: grown to its full size and now growing on toward 3
  EXPECT_GT(book->scale, 1.0f);
  Frames(30, 20);
  // Without the book's pictures its screen cannot be built: the failure is logged and the icon goes.
  EXPECT_TRUE(Logged("Error loading graphics/book/book_big.bmp."));
  EXPECT_TRUE(Logged("Unable to init book screen"));
  EXPECT_EQ(G().things->FindById(id), nullptr);
}

}  // namespace
}  // namespace spellcrypt
