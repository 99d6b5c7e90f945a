// The screen's side of the rules' events: sounds through the sound switches, the message line,
// the timed messages to the board and the player, and the changes of tiles, monster and player
// handed to their things.
#pragma once

#include <string>

#include "game/game_events.h"

namespace spellcrypt {

class Game;

class GameView : public IGameEvents {
 public:
  void PlaySound(const char* name) override;
  void PlayMusic(const char* name) override;
  void StopMusic() override;
  void LowLifeWarning(bool on) override;
  void ShowMessage(const std::string& text, MessageStyle style, std::uint32_t ms) override;
  void Post(GameMessage message, std::uint32_t delayMs, int value) override;
  void TileAdded(const BoardTile& tile, TileArrival arrival) override;
  void TileMoved(const BoardTile& tile, float speed) override;
  void TileRetired(int tileId, const TileExit& exit) override;
  void TileCarried(int tileId) override;
  void SubmitEnabled(bool enabled) override;
  void MonsterShown(const MonsterRecord& monster) override;
  void MonsterLunge(bool out) override;
  void MonsterHit(std::int32_t damage, int sparks) override;
  void MonsterKilled() override;
  void MonsterFalling() override;
  void MonsterDead(std::int32_t killBonus) override;
  void MonsterRemoved() override;
  void PlayerBars(bool shown) override;
  void EnteringDungeon(int dungeon) override;
  void DungeonLeft(int dungeon, bool won) override;
  void GameOver() override;
  void SecretEffect(const SecretWord& word) override;

 private:
  int lowLifeSound_ = -1;
  // The word of a spell that has just hit, until its message comes (then its meaning goes under it).
  std::string hitWord_;
};

struct Meaning;
class BitmapFont;

// The word's meaning as one line no wider than width pixels in the font (cut with "..."); any
// width at all without a loaded font.
std::string FitMeaning(const std::string& word, const Meaning& meaning, const BitmapFont& font, int width);

// The rules of the game in play (the application object's); null before start-up has made them.
Game* TheGame();

}  // namespace spellcrypt
