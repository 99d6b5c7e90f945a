// A bot that plays the game the way a player does: it reads the rack from the tiles on screen,
// finds words with the game's dictionary, types them, and answers every screen with the keys and
// clicks a player would use. It drives the real program on the headless platform, one decision
// per presented frame, and keeps a record of what it met for the checks of a whole game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless_platform.h"

namespace spellcrypt {

struct BotPlan {
  int difficulty = 1;         // 0 Kidmode, 1 Normal, 2 Wizard
  std::string name = "Bot";   // typed at the name entry
  int quitAfterCasts = -1;    // quit with the game saved after this many casts (once), or never
  bool continueSaved = true;  // answer yes when asked to continue a saved game
  int startDungeon = 0;       // move the run to this dungeon on the first map (0: as dealt)
  int mindLevel = 0;          // the player's mind as the run starts (a quick end to long games)
  int maxLetters = 8;         // the longest word the bot looks for
  int thinkMs = 0;            // how long the bot ponders a rack before it types
};

// What the bot saw of a game, for the checks.
struct MonsterMet {
  int dungeon;
  int index;
  bool boss;
  int monstersLeft;
};

struct BotRecord {
  int casts = 0;
  std::vector<std::string> refused;  // words the game refused, with the rack they were read from
  int potions = 0;
  int oracles = 0;
  std::vector<MonsterMet> monsters;
  int games = 0;        // games that reached their summary
  int finalScore = -1;  // the score of the last game, read from the run before it ended
  int finalDungeon = 0;
  int finalBosses = 0;
  bool won = false;
  bool saved = false;  // quit with the game saved
  bool resumedSameFight = false;
  std::vector<std::string> summary;  // the summary's lines as shown
  bool highScoreRowSeen = false;
  bool done = false;
  std::string phase = "title";  // what the bot was last doing
};

// One game played by the bot from the title to the title, in `programDir` (which must hold the
// game's data, graphics and sound), dealt from `seed`.
struct BotGame {
  BotRecord record;
  int exitCode = -1;
  std::uint32_t virtualMs = 0;  // how long the game took on the virtual clock
  int frames = 0;
  std::string log;  // "log.txt" afterwards
};
BotGame PlayBotGame(const BotPlan& plan, const std::string& programDir, std::uint32_t seed);
// Links the built game's data, graphics and sound into a program folder; false if they are missing.
bool LinkGameData(const std::string& programDir);

class Bot {
 public:
  Bot(HeadlessPlatform& platform, BotPlan plan) : platform_(platform), plan_(plan) {}
  // One look at the screen and, where a player would act, one action (queued as input).
  void OnFrame();
  const BotRecord& Record() const { return record_; }

 private:
  void Key(int virtualKey, int character = 0);
  void Type(const std::string& text);
  void Click(int x, int y);
  bool InputPending() const { return inputAt_ > platform_.VirtualMs() || platform_.EventsPending() > 0; }
  void Fight();
  void NoteMonster();
  std::string Rack() const;
  bool Recallable() const;
  std::string BestWord(const std::string& rack);

  HeadlessPlatform& platform_;
  BotPlan plan_;
  BotRecord record_;
  std::uint32_t inputAt_ = 0;
  int lastMonsterSerial_ = -1;
  int resumeIndex_ = -1;
  int resumeLife_ = -1;
  int words_ = 0;
  std::string lastWord_;  // the word last cast, until the game has answered it
  std::string lastRack_;
  int wordsBefore_ = 0;
  std::uint32_t thinkingSince_ = 0;
  int recalls_ = 0;
  bool oracleCalled_ = false;
  bool playedOnce_ = false;
};

}  // namespace spellcrypt
