// The rules of a game on the bench: a clock moved by hand, a recording of everything the rules tell
// the screen, the timed messages delivered when they fall due, the map and the book played as the
// screens would, and a player that finds words on the rack and casts them. Free of the test
// framework, so that the benchmarks play with the same rig.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/log.h"
#include "base/random.h"
#include "game/game.h"
#include "game/game_events.h"
#include "game/monster_record.h"
#include "words/dictionary.h"
#include "words/letter_table.h"

namespace spellcrypt::testing {

// A clock that moves only when told.
class ManualClock : public IClock {
 public:
  std::int64_t Counter() override { return static_cast<std::int64_t>(ms_) * 1000; }
  std::int64_t CounterFrequency() override { return 1000000; }
  std::uint32_t TickCount() override { return ms_; }
  void Sleep(std::uint32_t ms) override { ms_ += ms; }
  LocalTime Now() override { return LocalTime{}; }
  std::int64_t UnixTime() override { return 0; }
  void Advance(std::uint32_t ms) { ms_ += ms; }
  std::uint32_t Ms() const { return ms_; }

 private:
  std::uint32_t ms_ = 1000;
};

// Keeps the log's lines while it lives.
class LogCapture : public ILogSink {
 public:
  LogCapture() { SetLogSink(this); }
  ~LogCapture() override { SetLogSink(nullptr); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  void DebugOut(const char* text) override { lines.emplace_back(text); }
  LocalTime Now() override { return LocalTime{}; }
  bool ShowMessageBox(const char* caption, const char* text, MessageBoxIcon) override {
    boxes.push_back(std::string(caption) + "|" + text);
    return true;
  }
  int Count(std::string_view text) const;

  std::vector<std::string> lines;
  std::vector<std::string> boxes;
};

struct PostedMessage {
  GameMessage message;
  std::uint32_t postedAt;
  std::uint32_t delayMs;
  int value;
  std::uint32_t Due() const { return postedAt + delayMs; }
};

struct ShownMessage {
  std::string text;
  MessageStyle style;
  std::uint32_t ms;
};

struct TileEvent {
  BoardTile tile;  // as it was when reported
  TileArrival arrival;
  std::uint32_t atMs;
};

struct TileMove {
  BoardTile tile;
  float speed;
};

struct TileGone {
  int id;
  TileExit exit;
  std::uint32_t atMs;
};

// Everything the rules told the screen, in order.
class RecordingEvents : public IGameEvents {
 public:
  explicit RecordingEvents(ManualClock& clock) : clock_(clock) {}

  void PlaySound(const char* name) override { sounds.emplace_back(name); }
  void PlayMusic(const char* name) override { music.emplace_back(name); }
  void StopMusic() override { ++musicStops; }
  void LowLifeWarning(bool on) override { lowLife.push_back(on); }
  void ShowMessage(const std::string& text, MessageStyle style, std::uint32_t ms) override {
    messages.push_back(ShownMessage{text, style, ms});
  }
  void Post(GameMessage message, std::uint32_t delayMs, int value) override {
    const PostedMessage posted{message, clock_.Ms(), delayMs, value};
    posts.push_back(posted);
    queue.push_back(posted);
  }
  void TileAdded(const BoardTile& tile, TileArrival arrival) override;
  void TileMoved(const BoardTile& tile, float speed) override { moves.push_back(TileMove{tile, speed}); }
  void TileRetired(int tileId, const TileExit& exit) override {
    retired.push_back(TileGone{tileId, exit, clock_.Ms()});
  }
  void TileCarried(int tileId) override { carried.push_back(tileId); }
  void SubmitEnabled(bool enabled) override { submit.push_back(enabled); }
  void MonsterShown(const MonsterRecord& monster) override { shown.push_back(monster); }
  void MonsterLunge(bool out) override { lunges.push_back(out); }
  void MonsterHit(std::int32_t damage, int sparks) override { hits.emplace_back(damage, sparks); }
  void MonsterKilled() override { ++killed; }
  void MonsterFalling() override { ++falling; }
  void MonsterDead(std::int32_t killBonus) override { dead.push_back(killBonus); }
  void MonsterRemoved() override { ++removed; }
  void PlayerBars(bool on) override { playerBars.push_back(on); }
  void EnteringDungeon(int dungeon) override { entering.push_back(dungeon); }
  void DungeonLeft(int dungeon, bool won) override;
  void GameOver() override { gameOvers.push_back(clock_.Ms()); }
  void SecretEffect(const SecretWord& word) override;

  int SoundCount(std::string_view name) const;
  bool Played(std::string_view name) const { return SoundCount(name) > 0; }
  // The last text shown, or "" when none was.
  std::string LastMessage() const { return messages.empty() ? std::string() : messages.back().text; }
  bool Showed(std::string_view text) const;
  std::vector<PostedMessage> PostsOf(GameMessage message) const;
  bool LastSubmit() const { return !submit.empty() && submit.back(); }
  // Forgets what was recorded so far (messages waiting in the queue stay).
  void Forget();

  std::vector<std::string> sounds;
  std::vector<std::string> music;
  int musicStops = 0;
  std::vector<bool> lowLife;
  std::vector<ShownMessage> messages;
  std::vector<PostedMessage> posts;  // every message ever posted
  std::vector<PostedMessage> queue;  // those not yet delivered
  std::vector<TileEvent> added;
  std::vector<TileMove> moves;
  std::vector<TileGone> retired;
  std::vector<int> carried;
  std::vector<bool> submit;
  std::vector<MonsterRecord> shown;
  std::vector<bool> lunges;
  std::vector<std::pair<std::int32_t, int>> hits;
  int killed = 0;
  int falling = 0;
  std::vector<std::int32_t> dead;
  int removed = 0;
  std::vector<bool> playerBars;
  std::vector<int> entering;
  std::vector<std::pair<int, bool>> left;
  std::vector<std::uint32_t> gameOvers;
  std::vector<std::string> secretEffects;  // the first name of each word
  // Called as each tile arrives (the board already holds it), and as a dungeon is left.
  std::function<void(const BoardTile&, TileArrival)> onTileAdded;
  std::function<void(int dungeon, bool won)> onDungeonLeft;

 private:
  ManualClock& clock_;
};

// A word list of the given words (any order), as the word-list file would hold them.
void LoadWords(Dictionary& dictionary, const std::vector<std::string>& words);
// The generated word list beside the program, loaded once; null when it has not been built.
Dictionary* GameWordList();
// Letter weights shaped like English text, every letter present.
LetterTable EnglishLetters();
// One weight for the listed letters, 0 for the others.
LetterTable OnlyLetters(std::string_view letters, int weight = 100);

// A game played on the bench: the rules, with the screens' part done by hand.
class GameRig {
 public:
  explicit GameRig(Dictionary& dictionary, std::uint32_t seed = 1,
                   const LetterTable& letters = EnglishLetters());
  GameRig(const GameRig&) = delete;
  GameRig& operator=(const GameRig&) = delete;

  // One frame of ms milliseconds: the clock moves, the next dungeon's board is built if the map
  // was left, board, monster and player update, and the timed messages that are due arrive.
  void Frame(std::uint32_t ms = kFrameMs);
  void Run(std::uint32_t ms);
  // Frames until the condition holds (true) or maxMs have passed (false).
  bool RunUntil(const std::function<bool()>& done, std::uint32_t maxMs);
  // Delivers every waiting message that is due by now.
  void Deliver();
  int Waiting(GameMessage message) const;

  // A new game in the difficulty, its first dungeon entered and dealt, its first monster shown.
  bool StartGame(int mode);
  // What the map's continue does: the board of the player's dungeon, with the carried tiles.
  void EnterDungeon();
  // Frames until the monster in front fights (the entry and the deal done).
  bool WaitForMonster(std::uint32_t maxMs = 10000);

  // Empties the board and puts these letters in rack slots 0.. (a space for an action tile); types
  // by position, normal when not given.
  void SetRack(std::string_view letters, const std::vector<int>& types = {});
  // Presses these keys on the board, one character each.
  void Type(std::string_view keys);
  BoardTile* RackTile(int slot) const { return game.board.Lower(slot); }
  BoardTile* WordTile(int slot) const { return game.board.Upper(slot); }
  std::string Word() const { return game.board.GetCurrentWord(); }
  // The longest word of at most eight letters that the rack spells and that was not cast in this
  // dungeon; empty when there is none.
  std::string BestWord();
  // Spells the best word (shift held, so bonus tiles go first) and casts it; without a word, an
  // oracle, a refresh or a potion is used. False when nothing could be done.
  bool CastBest();
  // Plays (a cast after each castEveryMs of fighting) until the condition holds or maxMs pass.
  bool PlayUntil(const std::function<bool()>& done, std::uint32_t maxMs, std::uint32_t castEveryMs = 400);
  bool Over() const { return !events.gameOvers.empty() || won; }

  static constexpr std::uint32_t kFrameMs = 15;

  LogCapture log;
  ManualClock clock;
  MersenneTwister mersenne;
  SimpleGenerator simple;
  RecordingEvents events;
  LetterTable letterFile;
  Dictionary& dictionary;
  Game game;

  // The book: which of the two offered pages is taken (default the left one).
  std::function<int(int left, int right)> choosePage;
  std::vector<int> pagesTaken;
  // Whether the next dungeon's board is built once a dungeon is left (the map's continue).
  bool followMap = true;
  bool won = false;
  int casts = 0;

 private:
  bool enterNext_ = false;
};

}  // namespace spellcrypt::testing
