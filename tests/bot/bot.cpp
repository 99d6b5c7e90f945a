// The bot's play.
#include "tests/bot/bot.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "base/keys.h"
#include "game/game.h"
#include "game/tile_types.h"
#include "ui/framework/thing_list.h"
#include "ui/game/tile.h"
#include "ui/game/tile_board.h"
#include "ui/menus/screen_tip.h"
#include "ui/menus/screen_title.h"
#include "ui/menus/screen_yes_no.h"
#include "ui/scores/screen_summary.h"
#include "ui/widgets/thing_message.h"
#include "words/string_list.h"

namespace spellcrypt {

namespace {

bool Named(const char* name) { return GetGlobals().things->FindByName(name) != nullptr; }

template <typename T>
T* Top() {
  return dynamic_cast<T*>(GetGlobals().TopScreen());
}

bool ArrowShown() {
  auto* arrow = dynamic_cast<CThingSprite*>(GetGlobals().things->FindByName("map_arrow"));
  return arrow != nullptr && arrow->translucency == 0.0f;
}

Game& Rules() { return *GetApp()->game; }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void Bot::Key(int virtualKey, int character) {
  platform_.QueueKey(inputAt_, virtualKey, character);
  inputAt_ += 1;
}

void Bot::Type(const std::string& text) {
  for (char c : text) Key(std::toupper(static_cast<unsigned char>(c)), c);
}

void Bot::Click(int x, int y) {
  platform_.QueueClick(inputAt_, x, y);
  inputAt_ += 60;
}

// Whether the rack holds every letter of the last word cast, repeats counted: a player who
// calls back a word he can no longer spell sees only some of it come up.
bool Bot::Recallable() const {
  const StringList& used = Rules().player.usedWords;
  if (used.Count() == 0) return false;
  std::string rack = Rack();
  for (char c : used.Last()) {
    const auto at = rack.find(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (at == std::string::npos) return false;
    rack.erase(at, 1);
  }
  return true;
}

// The rack as a player sees it: the letters of the letter tiles in the lower row.
std::string Bot::Rack() const {
  std::string rack;
  CTileBoard* board = FindTileBoard();
  if (board == nullptr) return rack;
  for (const auto& [id, tile] : board->Tiles()) {
    if (tile->lowerSlot >= 0 && IsLetterTile(tile->type)) {
      rack.push_back(tile->letter);
    }
  }
  return Lower(rack);
}

std::string Bot::BestWord(const std::string& rack) {
  Dictionary& dictionary = GetApp()->dictionary;
  dictionary.FindWords(rack, &Rules().player.usedWords);
  std::string best;
  for (const std::string& word : dictionary.results.Strings()) {
    if (static_cast<int>(word.size()) <= plan_.maxLetters && word.size() >= best.size()) best = word;
  }
  return best;
}

void Bot::NoteMonster() {
  Game& game = Rules();
  // A new monster is one the bot has not noted at this count of monsters left.
  const int serial = game.player.record.dungeon * 10 + game.player.record.monstersLeft;
  if (!game.monster.IsActive() || game.monster.record.life <= 0 || serial == lastMonsterSerial_) return;
  lastMonsterSerial_ = serial;
  record_.monsters.push_back(MonsterMet{game.player.record.dungeon, game.monster.record.index,
                                        game.monster.record.isBoss != 0, game.player.record.monstersLeft});
}

void Bot::Fight() {
  Game& game = Rules();
  NoteMonster();
  if (resumeIndex_ >= 0) {
    record_.resumedSameFight =
        game.monster.record.index == resumeIndex_ && game.monster.record.life == resumeLife_;
    resumeIndex_ = -1;
  }
  const bool ready = game.monster.IsActive() && game.monster.record.life > 0 && game.board.pendingDeal == 0 &&
                     !game.busy && game.player.record.life > 0;
  if (!ready) return;
  if (!lastWord_.empty()) {
    // The last cast has been answered: a word the game took counts among the words made.
    if (game.player.record.totalWords == wordsBefore_) {
      auto* message = dynamic_cast<CThingMessage*>(GetGlobals().things->FindByName("message"));
      record_.refused.push_back(lastWord_ + " from " + lastRack_ + ": " +
                                (message != nullptr ? message->text : ""));
    }
    lastWord_.clear();
  }
  if (oracleCalled_) {
    // The oracle has spelled its word in the upper row: cast it.
    oracleCalled_ = false;
    if (game.board.CountUpper() > 0) {
      lastWord_ = Lower(game.board.GetCurrentWord());
      lastRack_ = lastWord_ + Rack();
      wordsBefore_ = game.player.record.totalWords;
      Key(vk::Enter, 13);
      ++record_.casts;
      return;
    }
  }
  if (game.board.CountUpper() > 0) {
    Key(vk::Escape, 27);  // whatever is up goes back
    return;
  }
  if (plan_.quitAfterCasts >= 0 && record_.casts >= plan_.quitAfterCasts && !record_.saved) {
    resumeIndex_ = game.monster.record.index;
    resumeLife_ = game.monster.record.life;
    Type(Rack().substr(0, 2));  // a word begun, to be found again after the save
    Click(209 + 20, 8 + 8);     // quit
    record_.phase = "quitting";
    return;
  }
  // Down to half life with a potion at hand: drink it.
  if (game.player.record.life * 2 <= game.player.record.maxLife && game.board.FirstLowerOfType(kTilePotion)) {
    Key('2', '2');
    ++record_.potions;
    return;
  }
  // A slow player ponders each rack; the monster does not wait.
  if (plan_.thinkMs > 0) {
    if (thinkingSince_ == 0) thinkingSince_ = platform_.VirtualMs();
    if (platform_.VirtualMs() - thinkingSince_ < static_cast<std::uint32_t>(plan_.thinkMs)) return;
    thinkingSince_ = 0;
  }
  const std::string rack = Rack();
  const std::string word = BestWord(rack);
  // Nothing better than four letters in sight: an oracle finds the longest word there is.
  if (word.size() < 5 && game.board.FirstLowerOfType(kTileOracle) != nullptr) {
    Key(vk::Tab, 9);
    ++record_.oracles;
    oracleCalled_ = true;
    return;
  }
  if (word.size() < 3) {
    if (BoardTile* refresh = game.board.FirstLowerOfType(kTileRefresh)) {
      float x = 0;
      float y = 0;
      BoardModel::LowerSlotPosition(refresh->lowerSlot, x, y);
      Click(static_cast<int>(x) + 20, static_cast<int>(y) + 20);
    } else {
      Key(vk::Space, ' ');  // a shuffle, and the monster comes on
    }
    return;
  }
  ++words_;
  // Now and then a slip of the finger, taken back.
  if (words_ % 7 == 0) {
    Type(word.substr(0, 1));
    Key(vk::Backspace, 8);
  }
  if (words_ % 5 == 0) Key(vk::Space, ' ');
  // And now and then the last word called back ('1') and sent down again (Escape).
  if (words_ % 11 == 0 && Recallable()) {
    Key('1', '1');
    Key(vk::Escape, 27);
    ++recalls_;
  }
  Type(word);
  Key(vk::Enter, 13);
  ++record_.casts;
  lastWord_ = word;
  lastRack_ = rack;
  wordsBefore_ = game.player.record.totalWords;
}

void Bot::OnFrame() {
  if (record_.done || !GlobalsExist() || GetApp() == nullptr || !GetApp()->game) return;
  if (InputPending()) return;
  inputAt_ = platform_.VirtualMs() + 1;
  CGlobals& g = GetGlobals();
  if (!g.pendingScreens.empty()) return;  // let a new screen come up first
  if (Top<ScreenTip>() != nullptr) {
    Key(vk::Enter, 13);
    return;
  }
  if (Named("page_left") && g.inputLevel == 500) {
    Click(150, 200);
    return;
  }
  if (Named("restart")) {
    Click(130 + (plan_.continueSaved ? 66 : 213) + 20, 143 + 123 + 10);
    return;
  }
  if (Named("giveup")) {
    record_.saved = true;
    Click(130 + 66 + 20, 143 + 123 + 10);  // yes: save and leave
    record_.phase = "saved";
    return;
  }
  if (Named("text_input") && g.inputLevel == 100) {
    const RunRecord& run = Rules().player.record;
    record_.finalScore = run.score;
    record_.finalDungeon = run.dungeon;
    record_.finalBosses = run.bossesSlain;
    Type(plan_.name);
    Key(vk::Enter, 13);
    return;
  }
  if (auto* question = Top<ScreenYesNo>()) {
    (void)question;
    Key(vk::Escape, 27);  // no internet submission
    return;
  }
  if (auto* summary = Top<ScreenSummary>()) {
    record_.summary = summary->Box().Lines();
    ++record_.games;
    if (record_.finalScore < 0) record_.finalScore = 0;
    Click(332 + 20, 382 + 10);
    return;
  }
  if (Named("highscores")) {
    record_.highScoreRowSeen = GetApp()->scoreTable.Count() > 0;
    Click(290 + 20, 416 + 8);
    record_.phase = "leaving the hall of fame";
    return;
  }
  if (Named("ending")) {
    record_.won = true;
    return;
  }
  if (Named("Normal")) {
    const int x[3] = {17, 186, 353};
    Click(53 + x[plan_.difficulty] + 40, 103 + 71 + 40);
    Click(53 + 175 + 40, 103 + 216 + 10);
    return;
  }
  if (Named("map") && ArrowShown()) {
    Game& game = Rules();
    if (!playedOnce_ && plan_.startDungeon > 0) game.player.SetDungeon(plan_.startDungeon);
    if (!playedOnce_ && plan_.mindLevel > 0) game.player.record.mindLevel = plan_.mindLevel;
    playedOnce_ = true;
    Key(vk::Enter, 13);
    return;
  }
  if (Named("board")) {
    record_.phase = "playing";
    Fight();
    return;
  }
  if (Named("spiders") && g.inputLevel == 0 && Top<ScreenTitle>() != nullptr) {
    if (record_.games > 0) {
      record_.done = true;  // back at the title after a whole game
      return;
    }
    Click(540, 215);  // play
  }
}

bool LinkGameData(const std::string& programDir) {
  namespace fs = std::filesystem;
  const fs::path bin = SPELLCRYPT_BIN_DIR;
  if (!fs::exists(bin / "graphics" / "game_screen.jpg") || !fs::exists(bin / "data")) return false;
  std::error_code error;
  for (const char* folder : {"data", "graphics", "sound"}) {
    fs::create_directory_symlink(bin / folder, fs::path(programDir) / folder, error);
    if (error) return false;
  }
  return true;
}

BotGame PlayBotGame(const BotPlan& plan, const std::string& programDir, std::uint32_t seed) {
  BotGame result;
  HeadlessPlatform platform;
  platform.SetProgramDir(programDir);
  // Both generators are seeded from the time of the start.
  platform.SetLocalTime(LocalTime{2026, 12, 7, 1, 21, 5, 0}, 1796677500 + seed);
  platform.SetFrameLimit(3000000);
  Bot bot(platform, plan);
  platform.onPresent = [&](int) {
    bot.OnFrame();
    if (bot.Record().done) platform.PostQuit(0);
  };
  result.exitCode = RunGame(platform, "-WINDOWED");
  result.record = bot.Record();
  result.virtualMs = platform.VirtualMs();
  result.frames = platform.FramesPresented();
  std::ifstream log(std::filesystem::path(programDir) / "log.txt", std::ios::binary);
  std::ostringstream text;
  text << log.rdbuf();
  result.log = text.str();
  return result;
}

}  // namespace spellcrypt
