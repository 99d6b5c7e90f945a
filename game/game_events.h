// What the rules ask of the screen: sounds, the message line, the game's timed messages, and the
// tiles, monster and player as they change. The screen's things implement it; tests record it.
#pragma once

#include <cstdint>
#include <string>

namespace spellcrypt {

struct BoardTile;
struct MonsterRecord;
struct SecretWord;

// How a new tile appears.
enum class TileArrival {
  Placed,  // at its slot at once (a dealt tile, one restored from a save or carried over)
  Reward,  // from the chest at (106, 159), growing from a fifth of its size, gliding to its slot
};

// How a tile leaves the board: it may fly up off the screen first, shrink, and is deleted after
// deleteAfterMs.
struct TileExit {
  float shrinkTo = 1.0f;  // 1: keeps its size
  float shrinkRate = 0.0f;
  std::uint32_t deleteAfterMs = 0;
  bool flyUp = false;  // glides to y = -50 at 0.02 first
};

// The timed messages the rules post (through the screen's message queue, with their delays).
enum class GameMessage {
  RewardTile,   // the board adds a reward tile
  BookFound,    // the board shows the book
  PlayerEvent,  // the player meets the next monster or clears the dungeon
  ShowTip,      // a quick tip, value = its number
};

enum class MessageStyle {
  Plain,        // for its usual time
  Highlighted,  // the spell results and the fall
  Timed,        // for the given milliseconds
};

class IGameEvents {
 public:
  virtual ~IGameEvents() = default;

  virtual void PlaySound(const char* name) = 0;
  virtual void PlayMusic(const char* name) = 0;
  virtual void StopMusic() = 0;
  // The looping low-life warning.
  virtual void LowLifeWarning(bool on) = 0;
  virtual void ShowMessage(const std::string& text, MessageStyle style, std::uint32_t ms = 0) = 0;
  virtual void Post(GameMessage message, std::uint32_t delayMs, int value = 0) = 0;

  virtual void TileAdded(const BoardTile& tile, TileArrival arrival) = 0;
  // The tile glides to its (new) x, y at this speed.
  virtual void TileMoved(const BoardTile& tile, float speed) = 0;
  // The tile has left the board (it is already out of both rows and every list).
  virtual void TileRetired(int tileId, const TileExit& exit) = 0;
  // The tile has left the board for the player's carried list: it is not shown until it returns.
  virtual void TileCarried(int tileId) = 0;
  virtual void SubmitEnabled(bool enabled) = 0;

  // A monster comes (or a saved fight resumes): its bar, sprite, fade-in and encounter sound.
  virtual void MonsterShown(const MonsterRecord& monster) = 0;
  // The lunge of an attack (out), and back.
  virtual void MonsterLunge(bool out) = 0;
  // A spell landed: the damage number and damage / 3 sparks (capped).
  virtual void MonsterHit(std::int32_t damage, int sparks) = 0;
  // The spell that killed it landed (the lifetime count of monsters killed goes up).
  virtual void MonsterKilled() = 0;
  // Killed: the bar drains and the sprite hides.
  virtual void MonsterFalling() = 0;
  // The bar has drained: bars removed, the chest where the monster stood, the kill bonus shown.
  virtual void MonsterDead(std::int32_t killBonus) = 0;
  // The monster's bars and sprite go (a dungeon is set up, the game screen is torn down).
  virtual void MonsterRemoved() = 0;

  // The player's life bar, counters and dungeon background appear or go.
  virtual void PlayerBars(bool shown) = 0;
  // The "Entering Dungeon %d..." popup.
  virtual void EnteringDungeon(int dungeon) = 0;
  // The dungeon's board is done (cleared and its tiles carried): the next map, or the win screen
  // after the last dungeon.
  virtual void DungeonLeft(int dungeon, bool won) = 0;
  // The fall is over: the end of the game.
  virtual void GameOver() = 0;
  // A secret word's picture effect.
  virtual void SecretEffect(const SecretWord& word) = 0;
};

// Events nobody shows: each is dropped. A base for listeners that need only a few of them.
class IgnoredGameEvents : public IGameEvents {
 public:
  void PlaySound(const char*) override {}
  void PlayMusic(const char*) override {}
  void StopMusic() override {}
  void LowLifeWarning(bool) override {}
  void ShowMessage(const std::string&, MessageStyle, std::uint32_t) override {}
  void Post(GameMessage, std::uint32_t, int) override {}
  void TileAdded(const BoardTile&, TileArrival) override {}
  void TileMoved(const BoardTile&, float) override {}
  void TileRetired(int, const TileExit&) override {}
  void TileCarried(int) override {}
  void SubmitEnabled(bool) override {}
  void MonsterShown(const MonsterRecord&) override {}
  void MonsterLunge(bool) override {}
  void MonsterHit(std::int32_t, int) override {}
  void MonsterKilled() override {}
  void MonsterFalling() override {}
  void MonsterDead(std::int32_t) override {}
  void MonsterRemoved() override {}
  void PlayerBars(bool) override {}
  void EnteringDungeon(int) override {}
  void DungeonLeft(int, bool) override {}
  void GameOver() override {}
  void SecretEffect(const SecretWord&) override {}
};

}  // namespace spellcrypt
