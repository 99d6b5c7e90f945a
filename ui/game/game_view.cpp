// The rules' events, turned into sounds, messages, timed messages and things.
#include "ui/game/game_view.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

#include "app/app.h"
#include "app/globals.h"
#include "audio/sound_manager.h"
#include "base/log.h"
#include "game/game.h"
#include "gfx/bitmap_font.h"
#include "ui/framework/layers.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing_list.h"
#include "ui/game/game_screen.h"
#include "ui/game/monster_view.h"
#include "ui/game/player_view.h"
#include "ui/game/screen_map.h"
#include "ui/game/submit_button.h"
#include "ui/game/tile_board.h"
#include "ui/menus/screen_win.h"
#include "ui/widgets/big_message.h"
#include "ui/widgets/spider_spawn.h"
#include "ui/widgets/thing_message.h"
#include "words/meanings.h"

namespace spellcrypt {

namespace {

constexpr std::uint32_t kEffectLifeMs = 24000;
constexpr int kEffectLayer = 70;

CMonster* MonsterThing() {
  CAppGlo* app = GetApp();
  return app != nullptr ? app->monster : nullptr;
}

CPlayer* PlayerThing() {
  CAppGlo* app = GetApp();
  return app != nullptr ? app->player : nullptr;
}

// Under the message just shown for a hit, the cast word's meaning (when the player wants them and
// the word has one).
void ShowMeaningUnder(const std::string& message, const std::string& word) {
  CAppGlo* app = GetApp();
  if (app == nullptr || !app->preferences.showMeanings || !GlobalsExist() || GetGlobals().things == nullptr)
    return;
  auto* line = dynamic_cast<CThingMessage*>(GetGlobals().things->FindByName("message"));
  // A message the line refused leaves the one before it, which is not this word's.
  if (line == nullptr || message != line->text) return;
  const std::optional<Meaning> meaning = app->meanings.Find(word);
  if (meaning) line->SetNote(FitMeaning(word, *meaning, app->smallFont, kMessageNoteWidth));
}

}  // namespace

std::string FitMeaning(const std::string& word, const Meaning& meaning, const BitmapFont& font, int width) {
  constexpr std::size_t kMostCharacters = 200;
  constexpr std::size_t kFewestCharacters = 8;
  std::size_t characters = kMostCharacters;
  std::string line = FormatMeaning(word, meaning, characters);
  if (!font.Loaded()) return line;
  for (int shown = font.TextWidth(line.c_str()); shown > width && characters > kFewestCharacters;
       shown = font.TextWidth(line.c_str())) {
    // A guess from the line's average glyph, and always at least one character fewer.
    const std::size_t guess =
        line.size() * static_cast<std::size_t>(std::max(width, 0)) / static_cast<std::size_t>(shown);
    characters = std::min(characters - 1, std::max(guess, kFewestCharacters));
    line = FormatMeaning(word, meaning, characters);
  }
  return line;
}

Game* TheGame() {
  CAppGlo* app = GetApp();
  return app != nullptr ? app->game.get() : nullptr;
}

void GameView::PlaySound(const char* name) { PlayEffect(name); }
void GameView::PlayMusic(const char* name) { PlayMusicFile(name); }

void GameView::StopMusic() {
  if (CAppGlo* app = GetApp()) app->soundManager->StopMusic();
}

void GameView::LowLifeWarning(bool on) {
  CAppGlo* app = GetApp();
  if (app == nullptr) return;
  if (on && lowLifeSound_ < 0) {
    lowLifeSound_ = PlayLoopedEffect("sound\\lowhealth.wav");
  } else if (!on && lowLifeSound_ >= 0) {
    app->soundManager->StopSound(lowLifeSound_);
    lowLifeSound_ = -1;
  }
}

void GameView::ShowMessage(const std::string& text, MessageStyle style, std::uint32_t ms) {
  if (style == MessageStyle::Timed) {
    ShowMessageFor(text.c_str(), ms);
  } else {
    spellcrypt::ShowMessage(text.c_str());
  }
  const std::string word = std::move(hitWord_);
  hitWord_.clear();
  if (style == MessageStyle::Highlighted && !word.empty()) ShowMeaningUnder(text, word);
}

void GameView::Post(GameMessage message, std::uint32_t delayMs, int value) {
  CGlobals& g = GetGlobals();
  switch (message) {
    case GameMessage::RewardTile:
      if (CTileBoard* board = FindTileBoard()) g.PostGameMessage(MsgRewardTile, delayMs, board, value);
      break;
    case GameMessage::BookFound:
      if (CTileBoard* board = FindTileBoard()) g.PostGameMessage(MsgBookFound, delayMs, board, value);
      break;
    case GameMessage::PlayerEvent:
      if (CPlayer* player = PlayerThing()) g.PostGameMessage(MsgPlayerEvent, delayMs, player, value);
      break;
    case GameMessage::ShowTip:
      g.PostGameMessage(MsgShowTip, delayMs, nullptr, value);
      break;
  }
}

void GameView::TileAdded(const BoardTile& tile, TileArrival arrival) {
  if (CTileBoard* board = FindTileBoard()) board->AddTile(tile, arrival);
}

void GameView::TileMoved(const BoardTile& tile, float speed) {
  if (CTileBoard* board = FindTileBoard()) board->MoveTile(tile, speed);
}

void GameView::TileRetired(int tileId, const TileExit& exit) {
  if (CTileBoard* board = FindTileBoard()) board->RetireTile(tileId, exit);
}

void GameView::TileCarried(int tileId) {
  if (CTileBoard* board = FindTileBoard()) board->DropTile(tileId);
}

void GameView::SubmitEnabled(bool enabled) {
  auto* submit = dynamic_cast<CSubmitBut*>(GetGlobals().things->FindByName("submit"));
  if (submit == nullptr) {
    LogError("Can't locate submit object");
    return;
  }
  // The bar pulses while the spelled word can be cast.
  if (!enabled) {
    submit->StopAnimation();
  } else if (submit->mode != 2) {
    submit->Pulse();
  }
}

void GameView::MonsterShown(const MonsterRecord& monster) {
  if (CMonster* thing = MonsterThing()) thing->Show(monster);
}

void GameView::MonsterLunge(bool out) {
  CMonster* thing = MonsterThing();
  if (thing != nullptr && out) thing->Lunge();
}

void GameView::MonsterHit(std::int32_t damage, int sparks) {
  if (CMonster* thing = MonsterThing()) thing->Hit(damage, sparks);
  // The spelled word is still in the upper row: its message comes next.
  hitWord_.clear();
  if (Game* game = TheGame(); game != nullptr && damage >= 1) {
    hitWord_ = game->board.GetCurrentWord();
    for (char& c : hitWord_) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
}

void GameView::MonsterKilled() {
  CAppGlo* app = GetApp();
  if (app != nullptr && app->settings) app->settings->monstersKilled += 1;
}

void GameView::MonsterFalling() {
  if (CMonster* thing = MonsterThing()) thing->Fall();
}

void GameView::MonsterDead(std::int32_t killBonus) {
  if (CMonster* thing = MonsterThing()) thing->Die(killBonus);
}

void GameView::MonsterRemoved() {
  if (CMonster* thing = MonsterThing()) {
    thing->RemoveBars();
    thing->RemoveSprite();
  }
}

void GameView::PlayerBars(bool shown) {
  CPlayer* player = PlayerThing();
  if (player == nullptr) return;
  if (shown) {
    player->ShowBars();
  } else {
    player->RemoveBars();
  }
}

void GameView::EnteringDungeon(int dungeon) {
  auto* popup = new CBigMessage();
  popup->LoadImage("graphics\\popup.jpg", false, kMagenta);
  popup->SetPosition(130, 143);
  popup->SetLife(2000);
  char text[64];
  std::snprintf(text, sizeof text, "Entering Dungeon %d...", dungeon);
  popup->SetText(text);
  GetGlobals().things->Add(popup);
}

void GameView::DungeonLeft(int /*dungeon*/, bool won) {
  RemoveGameScreen();
  if (won) {
    if (!OpenWinScreen()) LogError("Unable to win screent the map from CTileBoard");
    return;
  }
  if (!OpenMap()) LogError("Unable to init the map from CTileBoard");
}

void GameView::GameOver() { EndOfGame(); }

void GameView::SecretEffect(const SecretWord& word) {
  auto* effect = new CSpiderSpawn();
  effect->SetLife(kEffectLifeMs);
  effect->LoadImage(word.PicturePath().c_str(), word.frames, true, kMagenta);
  effect->StopSpawningAfter(static_cast<std::uint32_t>(word.emitTime));
  effect->layer = kEffectLayer;
  effect->SetName("effect");
  effect->style = word.fromCorner ? kSpidersCrawl : kSpidersFall;
  GetGlobals().things->Add(effect);
}

}  // namespace spellcrypt
