// The player thing.
#include "ui/game/player_view.h"

#include <cstdio>

#include "app/app.h"
#include "app/globals.h"
#include "base/math_util.h"
#include "game/dungeon.h"
#include "game/game.h"
#include "gfx/dx_screen.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_view.h"
#include "ui/widgets/bar.h"

namespace spellcrypt {

namespace {

constexpr int kBarX = 14;
constexpr int kBarY = 292;
constexpr int kLabelAbove = 20;
constexpr int kCounterX = 602;
constexpr int kDungeonY = 8;
constexpr int kMonstersY = 26;
constexpr int kSceneryX = 19;
constexpr int kSceneryY = 19;
constexpr int kBackgroundLayer = 2;
constexpr int kFireLayer = 3;

}  // namespace

CPlayer::CPlayer() {
  SetName("player");
  if (CAppGlo* app = GetApp()) app->player = this;
}

CPlayer::~CPlayer() {
  CAppGlo* app = GetApp();
  if (app != nullptr && app->player == this) app->player = nullptr;
  if (GlobalsExist() && GetGlobals().things != nullptr && !GetGlobals().things->Destroying()) {
    RemoveBars();
    RemoveBackground();
  }
}

void CPlayer::Update() {
  Game* game = TheGame();
  if (game != nullptr && level >= GetGlobals().inputLevel) game->UpdatePlayer(GetGlobals().delta);
}

void CPlayer::HandleMessage(const Message& message) {
  if (message.type != MsgPlayerEvent) return;
  if (Game* game = TheGame()) game->NextEncounter();
}

void CPlayer::Draw() {
  Game* game = TheGame();
  CDXScreen* display = GetGlobals().display;
  CAppGlo* app = GetApp();
  if (game == nullptr || display == nullptr || app == nullptr) return;
  const RunRecord& run = game->player.record;
  char text[64];
  if (bar_ != nullptr) {
    std::snprintf(text, sizeof text, "Player (%d of %d)", run.life, run.maxLife);
    app->smallFont.DrawAt(kBarX, kBarY - kLabelAbove, text, display->GetBack());
  }
  // The counters stand on the game screen as long as it is up.
  if (GetGlobals().things->FindByName("board") == nullptr) return;
  std::snprintf(text, sizeof text, "%d", run.dungeon);
  app->smallFont.DrawAt(kCounterX, kDungeonY, text, display->GetBack());
  std::snprintf(text, sizeof text, "%d", run.monstersLeft);
  app->smallFont.DrawAt(kCounterX, kMonstersY, text, display->GetBack());
}

void CPlayer::ShowBars() {
  RemoveBars();
  RemoveBackground();
  Game* game = TheGame();
  bar_ = new CBar();
  bar_->SetName("bar");
  bar_->LoadImage("graphics\\health_bar_red.jpg", false, kMagenta);
  bar_->SetPosition(kBarX, kBarY);
  if (game != nullptr) bar_->follow = &game->player.bar;
  GetGlobals().things->Add(bar_);
  if (game == nullptr) return;

  const DungeonScenery scenery = SceneryFor(game->player.record.dungeon);
  auto* background = new CThingSprite();
  background->SetName("DUNG_BG");
  background->LoadImage(scenery.image.c_str(), false, kMagenta);
  background->SetPosition(kSceneryX, kSceneryY);
  background->layer = kBackgroundLayer;
  scenery_.push_back(GetGlobals().things->Add(background));
  for (int i = 0; i < scenery.fireCount; ++i) {
    auto* fire = new CThingSprite();
    fire->SetName("DUNG_FIRE");
    fire->LoadImage(scenery.fireImage.c_str(), 4, true, kMagenta);
    fire->SetPosition(kSceneryX + scenery.fires[i].x, kSceneryY + scenery.fires[i].y);
    fire->Animate(0, 3, kAnimLoop, static_cast<std::uint32_t>(100 + Random(30)));
    fire->layer = kFireLayer;
    scenery_.push_back(GetGlobals().things->Add(fire));
  }
}

void CPlayer::RemoveBars() {
  if (bar_ != nullptr) {
    GetGlobals().things->KillByPointer(bar_);
    bar_ = nullptr;
  }
}

void CPlayer::RemoveBackground() {
  for (int thing : scenery_) GetGlobals().things->KillById(thing);
  scenery_.clear();
}

}  // namespace spellcrypt
