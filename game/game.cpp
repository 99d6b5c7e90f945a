// The game's frame: dungeons entered and cleared, the deal, reward tiles, books' pages and the
// tiles carried from one dungeon to the next.
#include "game/game.h"

#include <cstdio>

#include "base/log.h"
#include "game/dungeon.h"
#include "game/monster_table.h"
#include "game/reward.h"
#include "game/tile_types.h"
#include "words/treasure.h"

namespace spellcrypt {

namespace {
constexpr std::uint32_t kClearedMessageMs = 4500;
}  // namespace

Game::Game(const GameServices& services)
    : board(services.events),
      monster(services.clock),
      s_(services),
      events_(services.events),
      dealTimer_(services.clock, kDealStepMs),
      busyTimer_(services.clock),
      gameOverTimer_(services.clock) {}

LetterSource Game::Letters() { return LetterSource{player.weights, s_.letterFile, s_.simple}; }

void Game::NewRun(int difficulty) {
  mode_ = difficulty >= 0 && difficulty <= 2 ? difficulty : 1;
  player.NewRun(mode_);
  gameOverArmed_ = false;
}

void Game::ResetForDungeon() {
  busy = entering = cleared = false;
  board.Clear();
  board.StartDeal();
  events_.MonsterRemoved();
  monster.state = kMonsterNone;
  monster.bar.Remove();
  player.usedWords.Clear();
  player.weights = s_.letterFile;
  EnterDungeon();
}

void Game::RestoreCarriedTiles() {
  for (const BoardTile& tile : player.carried) {
    if (tile.lowerSlot >= 0 && tile.lowerSlot < BoardModel::kSlots)
      board.PlaceTile(tile, TileArrival::Placed);
  }
  player.carried.clear();
}

void Game::LeaveBoard() {
  board.Clear();
  busy = entering = cleared = false;
  events_.MonsterRemoved();
  monster.state = kMonsterNone;
  monster.bar.Remove();
  events_.PlayerBars(false);
  player.bar.Remove();
}

bool Game::CanLeave() const {
  return !busy && !entering && !cleared && board.pendingDeal == 0 && monster.IsActive() &&
         player.record.life > 0;
}

void Game::EnterDungeon() {
  events_.EnteringDungeon(player.record.dungeon);
  events_.StopMusic();
  events_.PlaySound("sound\\enter.ogg");
  events_.PlayerBars(false);
  player.bar.Remove();
  StartBusy(kEnterMs);
  entering = true;
  events_.ShowMessage("", MessageStyle::Plain);
}

void Game::StartBusy(std::uint32_t ms) {
  busy = true;
  busyTimer_.SetInterval(ms);
}

void Game::UpdateBoard() {
  if (busy) {
    if (busyTimer_.IsReady()) {
      busy = false;
      BusyEnded();
    }
  } else if (board.pendingDeal > 0) {
    DealStep();
  }
}

void Game::BusyEnded() {
  if (entering) {
    entering = false;
    player.bar.Show(player.record.maxLife > 0
                        ? static_cast<float>(player.record.life) / static_cast<float>(player.record.maxLife)
                        : 0.0f);
    events_.PlayerBars(true);
  }
  if (cleared) {
    cleared = false;
    ClearDungeon();
  }
}

void Game::DealStep() {
  // The fallen get no more tiles.
  if (!Alive()) {
    board.pendingDeal = 0;
    return;
  }
  if (!dealTimer_.IsReady()) return;
  --board.pendingDeal;
  LetterSource letters = Letters();
  board.AddNewTile(
      true, letters,
      [](char letter) {
        if (letter == 'Q' || letter == 'Z') return static_cast<int>(kTileDealtTriple);
        return letter == 'X' ? static_cast<int>(kTileDealtDouble) : static_cast<int>(kTileNormal);
      },
      TileArrival::Placed);
  if (board.pendingDeal > 0) return;
  // Only a new dungeon's deal calls the first monster. A refresh's deal that ends while a killed
  // monster's sequence runs leaves the next one to that sequence.
  if (monster.state == kMonsterNone) SpawnNext();
  events_.Post(GameMessage::ShowTip, kTipDelayMs, 0);
}

void Game::AddRewardTile() {
  // A reward posted before the fall finds an emptied board: it is not given.
  if (!Alive()) return;
  LetterSource letters = Letters();
  const RunRecord& run = player.record;
  const int slot = board.AddNewTile(
      false, letters,
      [&](char letter) {
        int type = ChooseRewardType(run.dungeon, run.luckLevel, mode_, s_.simple);
        if (type == kTileBonus && (letter == 'Q' || letter == 'Z')) type = kTileTriple;
        if (type == kTileBonus && letter == 'X') type = kTileDouble;
        return type;
      },
      TileArrival::Reward);
  if (slot < 0) {
    Log("Out of tile room");
    return;
  }
  events_.PlaySound("sound\\blip.wav");
  switch (board.Lower(slot)->type) {
    case kTileOracle:
      events_.Post(GameMessage::ShowTip, kTipDelayMs, 3);
      break;
    case kTilePotion:
      events_.Post(GameMessage::ShowTip, kTipDelayMs, 5);
      break;
    case kTileRefresh:
      events_.Post(GameMessage::ShowTip, kTipDelayMs, 4);
      break;
    default:
      break;
  }
}

void Game::NextEncounter() {
  // A kill's message can arrive after the player has fallen: the dead meet nobody.
  if (!Alive()) return;
  if (player.record.monstersLeft > 0) {
    SpawnNext();
    return;
  }
  events_.PlayerBars(false);
  player.bar.Remove();
  char treasure[kTreasureTextSize];
  const std::string sentence =
      TreasureSentence(s_.mersenne, treasure, sizeof treasure, player.record.dungeon);
  char text[256];
  std::snprintf(text, sizeof text, "Dungeon %d cleared.\r\n%s", player.record.dungeon, sentence.c_str());
  // The whole message is kept: the summary lists each cleared dungeon with what was found there.
  player.treasures.Add(text);
  cleared = true;
  events_.ShowMessage(text, MessageStyle::Timed, kClearedMessageMs);
  StartBusy(kClearedMs);
  events_.PlaySound("sound\\complete.ogg");
  RemoveTilesAtDungeonEnd();
}

void Game::RemoveTilesAtDungeonEnd() {
  const auto order = board.TilesInSaveOrder();
  std::vector<int> normal;
  for (const BoardTile* t : order) {
    if (!IsSpecialTile(t->type)) normal.push_back(t->id);
  }
  for (int id : normal) board.RemoveTile(board.Find(id), TileExit{1.0f, 0.0f, 2000, false});
  const int oraclesKept = mode_ == 0 ? 2 : (mode_ == 1 ? 1 : 0);
  int oracles = 0;
  std::vector<std::pair<int, std::uint32_t>> doomed;
  for (const BoardTile* t : board.TilesInSaveOrder()) {
    if (mode_ == 2) {
      doomed.emplace_back(t->id, 600);
    } else if (t->type == kTileOracle && ++oracles > oraclesKept) {
      doomed.emplace_back(t->id, 1000);
    }
  }
  for (const auto& [id, ms] : doomed) board.RemoveTile(board.Find(id), TileExit{1.0f, 0.0f, ms, false});
}

void Game::CarryTilesOver() {
  player.carried.clear();
  board.ReturnAllToLower();
  for (const BoardTile* t : board.TilesInSaveOrder()) {
    player.carried.push_back(board.TakeForCarrying(board.Find(t->id)));
  }
}

void Game::ClearDungeon() {
  CarryTilesOver();
  const int dungeon = player.record.dungeon;
  const bool won = dungeon >= kLastDungeon;
  events_.MonsterRemoved();
  monster.state = kMonsterNone;
  monster.bar.Remove();
  if (won) {
    player.carried.clear();
  } else {
    player.SetDungeon(dungeon + 1);
  }
  events_.DungeonLeft(dungeon, won);
}

void Game::ApplyPage(int page) {
  const std::string text = spellcrypt::ApplyPage(player.record, page);
  if (player.bar.present)
    player.bar.target =
        static_cast<float>(player.record.life) / static_cast<float>(std::max(1, player.record.maxLife));
  if (!text.empty()) events_.ShowMessage(text, MessageStyle::Plain);
  CheckLowLife();
}

}  // namespace spellcrypt
