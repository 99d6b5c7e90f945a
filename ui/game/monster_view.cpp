// The monster thing.
#include "ui/game/monster_view.h"

#include "app/app.h"
#include "app/globals.h"
#include "base/text_util.h"
#include "game/game.h"
#include "game/monster_table.h"
#include "gfx/dx_screen.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_view.h"
#include "ui/game/score_display.h"
#include "ui/widgets/bar.h"

namespace spellcrypt {

namespace {

constexpr int kBarX = 14;
constexpr int kBarY = 247;
constexpr int kLabelAbove = 20;
// A monster placed at (0, 0) stands with its feet here.
constexpr int kFootX = 109;
constexpr int kFootY = 187;
constexpr float kFadeInRate = 0.08f;
constexpr int kLungeDepth = 10;
constexpr int kLungeTurn = 8;
constexpr std::uint32_t kTreasureOpensMs = 800;
constexpr std::uint32_t kHitNumberMs = 2000;
constexpr std::uint32_t kBonusTextMs = 2000;
constexpr int kHitLayer = 150;
constexpr int kSparkLayer = 140;

void StartAnim(CThingSprite& sprite, const MonsterAnim& anim) {
  sprite.Animate(anim.first, anim.last, anim.mode, static_cast<std::uint32_t>(anim.frameMs));
}

}  // namespace

CMonster::CMonster() {
  SetName("monster");
  if (CAppGlo* app = GetApp()) app->monster = this;
}

CMonster::~CMonster() {
  CAppGlo* app = GetApp();
  if (app != nullptr && app->monster == this) app->monster = nullptr;
  if (GlobalsExist() && GetGlobals().things != nullptr && !GetGlobals().things->Destroying()) {
    RemoveBars();
    RemoveSprite();
  }
}

CThingSprite* CMonster::Sprite() const {
  if (spriteId_ < 0) return nullptr;
  return dynamic_cast<CThingSprite*>(GetGlobals().things->FindById(spriteId_));
}

void CMonster::Update() {
  Game* game = TheGame();
  if (game == nullptr) return;
  if (level < GetGlobals().inputLevel) {
    // Paused: the rules stand still, but a bar that is still filling up at the start of a fight
    // (a tip opens then) shows its life rather than an empty bar. A draining one waits.
    Gauge& bar = game->monster.bar;
    if (bar.present && bar.shown < bar.target) bar.Step(GetGlobals().delta);
    return;
  }
  game->UpdateMonster(GetGlobals().delta);
  CThingSprite* sprite = Sprite();
  if (attacking_ && sprite != nullptr && sprite->y > static_cast<float>(homeY_ + kLungeTurn)) {
    attacking_ = false;
    sprite->MoveTo(homeX_, homeY_, lungeSpeed_, kMoveEase);
    if (game != nullptr) StartAnim(*sprite, game->monster.record.idleAnim);
  }
}

void CMonster::Draw() {
  Game* game = TheGame();
  CDXScreen* display = GetGlobals().display;
  CAppGlo* app = GetApp();
  if (bar_ == nullptr || game == nullptr || display == nullptr || app == nullptr) return;
  app->smallFont.DrawAt(kBarX, kBarY - kLabelAbove, game->monster.Label().c_str(), display->GetBack());
}

void CMonster::Show(const MonsterRecord& monster) {
  RemoveBars();
  Game* game = TheGame();
  bar_ = new CBar();
  bar_->SetName("bar");
  bar_->LoadImage("graphics\\health_bar_red.jpg", false, kMagenta);
  bar_->SetPosition(kBarX, kBarY);
  if (game != nullptr) bar_->follow = &game->monster.bar;
  GetGlobals().things->Add(bar_);

  CThingSprite* sprite = Sprite();
  if (sprite == nullptr || image_ != monster.image) {
    RemoveSprite();
    sprite = new CThingSprite();
    sprite->SetName("danim");
    sprite->LoadImage(monster.image, monster.frames, true, kMagenta);
    spriteId_ = GetGlobals().things->Add(sprite);
    image_ = monster.image;
  }
  homeX_ = monster.x;
  homeY_ = monster.y;
  if (homeX_ == 0 && homeY_ == 0) {
    homeX_ = kFootX - sprite->Width() / 2;
    homeY_ = kFootY - sprite->Height();
    // Worked out once and kept with the monster (a saved fight comes back to the same place).
    if (game != nullptr) {
      game->monster.record.x = homeX_;
      game->monster.record.y = homeY_;
    }
  }
  sprite->hidden = false;
  sprite->SetPosition(homeX_, homeY_);
  sprite->moving = false;
  StartAnim(*sprite, monster.idleAnim);
  sprite->translucency = 255.0f;
  sprite->FadeTo(0.0f, kFadeInRate);
  lungeSpeed_ = monster.lungeSpeed;
  attacking_ = false;
  treasureId_ = -1;
}

void CMonster::Lunge() {
  CThingSprite* sprite = Sprite();
  Game* game = TheGame();
  if (sprite == nullptr || game == nullptr) return;
  StartAnim(*sprite, game->monster.record.attackAnim);
  sprite->MoveTo(homeX_, homeY_ + kLungeDepth, lungeSpeed_, kMoveEase);
  attacking_ = true;
}

void CMonster::Hit(int damage, int sparks) {
  CAppGlo* app = GetApp();
  CThingSprite* sprite = Sprite();
  auto* number = new CText();
  number->SetName("hitdam");
  char text[24];
  std::snprintf(text, sizeof text, "%d", damage);
  number->SetText(text);
  number->SetPosition(RandomRange(62, 148), 174);
  number->heading = 3.14f;
  number->speed = 1.0f;
  number->layer = kHitLayer;
  number->SetLife(kHitNumberMs);
  GetGlobals().things->Add(number);
  if (sprite == nullptr || app == nullptr || !app->tileImages) return;
  const int mx = static_cast<int>(sprite->x);
  const int my = static_cast<int>(sprite->y);
  for (int i = 0; i < sparks; ++i) {
    auto* spark = new CThingSprite();
    spark->AttachImage(&app->tileImages->fireball, true, kFireballKey);
    spark->SetPosition(RandomRange(mx - 50, mx + sprite->Width() - 50),
                       RandomRange(my - 50, my + sprite->Height() - 50));
    spark->Animate(0, 10, kAnimPlayOnce, static_cast<std::uint32_t>(RandomRange(30, 45)));
    spark->dieAtEnd = true;
    spark->layer = kSparkLayer;
    GetGlobals().things->Add(spark);
  }
}

void CMonster::Fall() {
  if (CThingSprite* sprite = Sprite()) sprite->hidden = true;
}

void CMonster::Die(int killBonus) {
  RemoveBars();
  RemoveSprite();
  // The chest stands where the monster stood, opens, then keeps glinting.
  const MonsterRecord& chest = TreasureRecord();
  auto* treasure = new CThingSprite();
  treasure->SetName("danim");
  treasure->LoadImage(chest.image, chest.frames, true, kMagenta);
  treasure->SetPosition(chest.x, chest.y);
  StartAnim(*treasure, chest.idleAnim);
  spriteId_ = GetGlobals().things->Add(treasure);
  image_ = chest.image;
  CGlobals& g = GetGlobals();
  g.PostMessage(MsgAnimLoopStart, kTreasureOpensMs, treasure, 3);
  g.PostMessage(MsgAnimMode, kTreasureOpensMs, treasure, kAnimLoop);

  auto* bonus = new CText();
  bonus->SetText((FormatThousands(killBonus, 0) + " point bonus").c_str());
  bonus->SetPosition(100, 18);
  bonus->SetLife(kBonusTextMs);
  bonus->layer = kHitLayer;
  g.things->Add(bonus);
  g.things->KillByName("hitdam");
}

void CMonster::RemoveBars() {
  if (bar_ != nullptr) {
    GetGlobals().things->KillByPointer(bar_);
    bar_ = nullptr;
  }
}

void CMonster::RemoveSprite() {
  if (CThingSprite* sprite = Sprite()) sprite->dead = true;
  spriteId_ = -1;
  image_.clear();
  attacking_ = false;
}

}  // namespace spellcrypt
