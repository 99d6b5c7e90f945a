// Monsters coming, attacking and dying, and the player's fall.
#include <algorithm>
#include <cstdio>

#include "base/log.h"
#include "base/text_util.h"
#include "game/game.h"
#include "game/monster_table.h"
#include "game/spell.h"
#include "words/article.h"

namespace spellcrypt {

namespace {
constexpr int kHealOnKill = 7;
constexpr int kBookEveryDungeons = 3;
constexpr std::uint32_t kRewardStepMs = 700;
constexpr std::uint32_t kNextEncounterPauseMs = 1100;
constexpr float kDrainRate = 0.1f;
constexpr float kDeadBelow = 0.13f;
constexpr float kFallenBelow = 0.01f;
}  // namespace

void Game::SpawnNext() {
  monster.Reset();
  MonsterChoice choice{player.record.dungeon, player.record.monstersLeft, player.record.bossMet != 0, mode_};
  const int type = ChooseMonster(choice, s_.mersenne, s_.simple);
  player.record.bossMet = choice.bossMet ? 1 : 0;
  monster.record = MonsterType(type);
  monster.record.life = monster.record.maxLife =
      s_.mersenne.Range(monster.record.lifeMin, monster.record.lifeMax);
  ShowMonster(false);
}

void Game::ShowMonster(bool resumed) {
  monster.state = kMonsterFighting;
  monster.falling = false;
  MonsterRecord& m = monster.record;
  char text[96];
  std::snprintf(text, sizeof text, "You are attacked by %s %s!\r\n", IndefiniteArticle(m.name), m.name);
  events_.ShowMessage(text, MessageStyle::Plain);
  if (m.encounterIsMusic) {
    events_.PlayMusic(m.encounterSound);
  } else {
    events_.StopMusic();
    events_.PlaySound(m.encounterSound);
  }
  monster.attackTimer.SetInterval(
      static_cast<std::uint32_t>(s_.mersenne.Range(m.attackDelayMin, m.attackDelayMax)));
  // The staff takes its share of a new monster's life; a fight resumed from a save already had it.
  if (!resumed) {
    const int n = static_cast<int>(player.record.staffFraction * static_cast<float>(m.life));
    if (n > 0) m.life = std::max(0, m.life - n);
  }
  monster.bar.Show(monster.LifeFraction());
  events_.MonsterShown(m);
  if (m.armor > 3) events_.Post(GameMessage::ShowTip, kTipDelayMs, 2);
}

void Game::UpdateMonster(float delta) {
  if (monster.bar.present) monster.bar.Step(delta);
  if (monster.state != kMonsterFighting) return;
  if (monster.record.life > 0) {
    if (monster.attackTimer.IsReady()) Attack();
    return;
  }
  // Killed: the bar drains faster, the warning stops, the sprite hides; the rest waits for the bar.
  if (!monster.falling) {
    monster.falling = true;
    monster.bar.rate = kDrainRate;
    events_.MonsterFalling();
  }
  if (player.warning) {
    player.warning = false;
    events_.LowLifeWarning(false);
  }
  if (monster.bar.shown < kDeadBelow) MonsterDies();
}

void Game::Attack() {
  if (!Alive()) return;
  if (player.Hurt(monster.record.attackDamage)) CheckLowLife();
  events_.PlaySound(kMonsterAttackSound);
  events_.MonsterLunge(true);
  monster.attackTimer.SetInterval(static_cast<std::uint32_t>(
      s_.mersenne.Range(monster.record.attackDelayMin, monster.record.attackDelayMax)));
}

void Game::MonsterDies() {
  const MonsterRecord& m = monster.record;
  events_.StopMusic();
  monster.bar.Remove();
  monster.state = kMonsterDead;
  monster.falling = false;
  if (player.Heal(kHealOnKill)) CheckLowLife();
  events_.PlaySound("sound\\success.ogg");
  player.record.monstersLeft -= 1;
  const int dungeon = player.record.dungeon;
  int count = s_.mersenne.Range(m.rewardTilesMin, m.rewardTilesMax);
  if (player.record.monstersLeft <= 0 && (mode_ == 2 || dungeon == kLastDungeon)) count = 0;
  std::uint32_t t = kRewardStepMs;
  const int onBoard = board.CountAll();
  for (int i = 0; i < count; ++i) {
    if (onBoard < 11 || s_.mersenne.Below(2) == 1) events_.Post(GameMessage::RewardTile, t);
    t += kRewardStepMs;
  }
  bool book = false;
  if (m.isBoss) {
    book = (s_.mersenne.Below(3) != 0 && dungeon != kLastDungeon) ||
           dungeon >= player.record.lastBookDungeon + kBookEveryDungeons;
  }
  if (book) {
    events_.Post(GameMessage::BookFound, t);
    player.record.lastBookDungeon = dungeon;
  } else {
    events_.Post(GameMessage::PlayerEvent, t + kNextEncounterPauseMs);
  }
  if (m.isBoss) player.record.bossesSlain = SaturatingAdd(player.record.bossesSlain, 1);
  player.record.monstersVanquished = SaturatingAdd(player.record.monstersVanquished, 1);
  player.AddScore(m.killBonus);
  events_.MonsterDead(m.killBonus);
}

void Game::CheckLowLife() {
  if (!player.warning && player.LifeIsLow() && player.record.life > 0 && !player.dead) {
    player.warning = true;
    events_.LowLifeWarning(true);
  }
}

void Game::UpdatePlayer(float delta) {
  if (player.bar.present) player.bar.Step(delta);
  if (player.warning && !player.LifeIsLow()) {
    player.warning = false;
    events_.LowLifeWarning(false);
  }
  if (!player.dead && player.bar.present && player.record.life == 0 && player.bar.shown < kFallenBelow) {
    PlayerFalls();
  }
  if (gameOverArmed_ && gameOverTimer_.IsReady()) {
    gameOverArmed_ = false;
    events_.GameOver();
  }
}

void Game::PlayerFalls() {
  player.dead = true;
  events_.ShowMessage("You fall to the ground...", MessageStyle::Highlighted);
  gameOverTimer_.SetInterval(kGameOverMs);
  gameOverArmed_ = true;
  board.RemoveAll(TileExit{1.0f, 0.0f, 600, false});
  events_.StopMusic();
  events_.PlaySound("sound\\die.ogg");
  if (player.warning) {
    player.warning = false;
    events_.LowLifeWarning(false);
  }
}

}  // namespace spellcrypt
