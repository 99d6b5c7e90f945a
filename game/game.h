// The rules of a game, from the first deal to the fall: the board, the player's run and the
// monster, and everything that happens between them (casting, the player's actions, monsters
// coming, attacking and dying, dungeons entered and cleared, books and saved games).
//
// The rules hold no things, draw nothing and play nothing: the screen's things call these
// operations (from their updates, clicks, keys and timed messages) and hear back through
// IGameEvents. Time comes from the clock given and the frame delta passed to the updates; every
// random draw comes from the generators given.
#pragma once

#include <cstdint>
#include <string>

#include "base/clock.h"
#include "base/random.h"
#include "base/timing.h"
#include "game/board.h"
#include "game/game_events.h"
#include "game/monster_state.h"
#include "game/player_run.h"
#include "words/dictionary.h"
#include "words/letter_table.h"
#include "words/secret_words.h"

namespace spellcrypt {

struct SavedGame;

struct GameServices {
  IClock& clock;
  MersenneTwister& mersenne;      // Random and RandomRange
  SimpleGenerator& simple;        // the weighted picks (letters, rewards, monsters) and the book
  Dictionary& dictionary;         // the word list, and the oracle's search
  const LetterTable& letterFile;  // the letter weights as the word list's table holds them
  IGameEvents& events;
};

// What a key on the board asks of the game screen's buttons.
enum class BoardKey { None, PressHelp, PressQuit };

class Game {
 public:
  static constexpr std::uint32_t kDealStepMs = 150;
  static constexpr std::uint32_t kEnterMs = 2350;
  static constexpr std::uint32_t kClearedMs = 5000;
  static constexpr std::uint32_t kGameOverMs = 3000;
  static constexpr std::uint32_t kTipDelayMs = 1200;
  static constexpr int kMaxSparks = 40;

  explicit Game(const GameServices& services);

  // --- A game and its dungeons ---
  // A new game in the difficulty (0 Kidmode, 1 Normal, 2 Wizard).
  void NewRun(int difficulty);
  int Difficulty() const { return mode_; }
  // The board of the player's current dungeon: tiles gone, weights reloaded, used words forgotten,
  // the deal ready; then the dungeon is entered ("Entering Dungeon %d...").
  void ResetForDungeon();
  // The tiles carried over from the last dungeon return to the rack.
  void RestoreCarriedTiles();
  // The player leaves the board (quit, end of game): the monster and its bars go, the board empties.
  void LeaveBoard();
  // Whether the player may save and quit now: nothing pending, a monster fighting, still alive.
  bool CanLeave() const;

  // --- Each frame (not while a popup is open) ---
  void UpdateBoard();
  void UpdateMonster(float delta);
  void UpdatePlayer(float delta);

  // --- The player's actions ---
  void ClickTile(int tileId);
  void HandleChar(int c);
  // The poison key ('8') works only when this is set (the game started with -DEBUG): beside the
  // keys that recall a word and drink a potion, a slip must not cost a run.
  bool allowCheats = false;
  BoardKey HandleKeyDown(int key);
  void CastWord();
  void JumbleTiles();
  void RecallLastWord();

  // --- Timed messages ---
  void AddRewardTile();  // MsgRewardTile
  void NextEncounter();  // MsgPlayerEvent
  // A page of the book was taken (kPageLife..kPageCurse); its text is shown.
  void ApplyPage(int page);

  // --- Saved games ---
  SavedGame Snapshot() const;
  // Puts a loaded game on the board: tiles in their rows, the run, the fight resumed (or the next
  // monster spawned). The player's carried tiles are dropped.
  void Restore(const SavedGame& saved);

  BoardModel board;
  PlayerRun player;
  MonsterState monster;
  bool busy = false;
  bool entering = false;
  bool cleared = false;

 private:
  LetterSource Letters();
  void UpdateSubmitButton();
  bool CanAddLetter();
  void MoveLetterUp(char letter, bool specialFirst);
  void CastOracle(BoardTile* tile);
  void DrinkPotion(BoardTile* tile);
  void UseRefresh(BoardTile* tile);
  void UseUp(BoardTile* tile, float shrinkRate, std::uint32_t deleteAfterMs);
  void EnterDungeon();
  void StartBusy(std::uint32_t ms);
  void DealStep();
  void BusyEnded();
  void ClearDungeon();
  void CarryTilesOver();
  void RemoveTilesAtDungeonEnd();
  void ApplySpell(const std::string& word, std::int32_t damage, std::int32_t score);
  void RunSecretEffect(const SecretWord& secret);
  void SpawnNext();
  void ShowMonster(bool resumed);
  void Attack();
  void MonsterDies();
  void CheckLowLife();
  void PlayerFalls();
  bool Alive() const { return player.IsAlive() && !player.dead; }

  GameServices s_;
  IGameEvents& events_;
  SecretWordManager secrets_;
  int mode_ = 1;
  IntervalTimer dealTimer_;
  IntervalTimer busyTimer_;
  IntervalTimer gameOverTimer_;
  bool gameOverArmed_ = false;
};

}  // namespace spellcrypt
