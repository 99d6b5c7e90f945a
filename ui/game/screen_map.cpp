// The progress map.
#include "ui/game/screen_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "app/app.h"
#include "app/globals.h"
#include "base/keys.h"
#include "base/log.h"
#include "game/dungeon.h"
#include "game/game.h"
#include "ui/framework/screen.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing_sprite.h"
#include "ui/game/game_screen.h"
#include "ui/game/game_view.h"
#include "ui/game/score_display.h"

namespace spellcrypt {

namespace {

constexpr std::uint32_t kPieceFadesInMs = 300;
constexpr std::uint32_t kArrowFadesInMs = 400;
constexpr std::uint32_t kRevealMs = 3900;
constexpr float kPieceFadeRate = 0.03f;
constexpr float kContinueFadeRate = 0.01f;
constexpr int kLayer = 600;

class ScreenMap : public Screen {
 public:
  bool Start() override;
  void Update() override;
  void HandleMessage(const Message& message) override;
  bool HandleInput(int type, const InputEvent* event) override;

 private:
  // The reveal goes step by step: 0 waiting, 1 the new line fading in, 2 the arrow shown.
  void NextStep();
  void Continue();

  CThingSprite background_;
  std::vector<std::unique_ptr<CThingSprite>> pieces_;
  CThingSprite arrow_;
  CThingSprite continue_;
  CText dungeonLabel_;
  int dungeon_ = 1;
  int step_ = 0;
  std::uint32_t openedAt_ = 0;
  bool continued_ = false;
};

void AddLayered(CThingSprite& sprite, int layerOffset) {
  sprite.layer = kLayer + layerOffset;
  sprite.AddToList(nullptr);
}

bool ScreenMap::Start() {
  Screen::Start();
  Game* game = TheGame();
  if (game == nullptr) return false;
  dungeon_ = std::clamp(game->player.record.dungeon, 1, kMapPieces);
  background_.SetName("map");
  arrow_.SetName("map_arrow");
  continue_.SetName("map_continue");
  if (!background_.LoadImage("graphics\\map\\map_bg.jpg", false, kMagenta)) return false;
  AddLayered(background_, 0);
  for (int i = 0; i < dungeon_; ++i) {
    auto piece = std::make_unique<CThingSprite>();
    const MapPiece& at = MapPieceAt(i);
    piece->LoadImage(MapPieceImage(i).c_str(), true, kMagenta);
    piece->SetPosition(at.x, at.y);
    if (i == dungeon_ - 1) piece->translucency = 255.0f;
    AddLayered(*piece, 1);
    pieces_.push_back(std::move(piece));
  }
  arrow_.LoadImage("graphics\\map\\map_arrow.bmp", true, kMagenta);
  arrow_.translucency = 255.0f;
  AddLayered(arrow_, 2);
  continue_.LoadImage("graphics\\map\\map_continue.jpg", false, kMagenta);
  continue_.SetPosition(61, 397);
  continue_.translucency = 255.0f;
  AddLayered(continue_, 2);
  // Which dungeon comes next, from the moment the map opens.
  char label[40];
  std::snprintf(label, sizeof label, "Dungeon %d of %d", dungeon_, kMapPieces);
  dungeonLabel_.SetName("map_dungeon");
  dungeonLabel_.SetText(label);
  if (CAppGlo* app = GetApp()) dungeonLabel_.font = &app->summaryFont;
  dungeonLabel_.SetPosition(320, 444);
  AddLayered(dungeonLabel_, 2);
  PlayMusicFile("sound/map.ogg");
  openedAt_ = GetGlobals().now;
  GetGlobals().PostMessage(MsgMapReveal, kRevealMs, this, 0);
  Update();
  return true;
}

void ScreenMap::NextStep() {
  if (step_ == 0) {
    pieces_.back()->FadeTo(0.0f, kPieceFadeRate);
  } else if (step_ == 1) {
    arrow_.FadeTo(0.0f, kPieceFadeRate);
  }
  step_ = std::min(step_ + 1, 2);
}

void ScreenMap::Update() {
  const std::uint32_t since = GetGlobals().now - openedAt_;
  if (step_ == 0 && since >= kPieceFadesInMs) NextStep();
  if (step_ == 1 && since >= kArrowFadesInMs) NextStep();
  // The arrow hovers over the new dungeon's point.
  const MapPiece& at = MapPieceAt(dungeon_ - 1);
  const float t = static_cast<float>(GetGlobals().now % 628) / 100.0f;
  arrow_.SetPosition(
      at.arrowX - arrow_.Width() / 2,
      static_cast<int>(static_cast<float>(at.arrowY - arrow_.Height() - 15) + 4.0f * std::cos(t)));
}

void ScreenMap::HandleMessage(const Message& message) {
  if (message.type == MsgMapReveal) continue_.FadeTo(0.0f, kContinueFadeRate);
  Screen::HandleMessage(message);
}

bool ScreenMap::HandleInput(int type, const InputEvent* event) {
  const bool click = type == InputMouseDown;
  const bool key =
      type == InputChar && event != nullptr && (event->key == vk::Enter || event->key == vk::Space);
  const bool escape = type == InputChar && event != nullptr && event->key == vk::Escape;
  if (escape) {
    Continue();
  } else if (click || key) {
    if (step_ < 2) {
      NextStep();
    } else {
      Continue();
    }
  }
  return click || key || escape;
}

void ScreenMap::Continue() {
  if (continued_) return;
  continued_ = true;
  Close();
  BuildGameScreen(nullptr);
}

}  // namespace

bool OpenMap() {
  auto* map = new (std::nothrow) ScreenMap();
  return map != nullptr && map->StartOrClose();
}

}  // namespace spellcrypt
