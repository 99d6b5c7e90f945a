// Casting the spelled word: the refusals, the spell's damage and score, the hit on the monster,
// used-up bonus tiles and secret words.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "base/text_util.h"
#include "game/game.h"
#include "game/monster_table.h"
#include "game/spell.h"
#include "game/tile_types.h"

namespace spellcrypt {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void Game::UpdateSubmitButton() {
  const std::string word = Lower(board.GetCurrentWord());
  events_.SubmitEnabled(word.size() >= 3 && s_.dictionary.IsWord(word) && !player.usedWords.Contains(word));
}

void Game::CastWord() {
  // A monster already killed (its bar still draining) takes no more spells.
  if (!monster.IsActive() || monster.record.life < 1 || !Alive()) {
    UpdateSubmitButton();
    return;
  }
  const std::string spelled = board.GetCurrentWord();
  if (spelled.size() <= 2) {
    events_.PlaySound("sound\\bad_word.wav");
    events_.ShowMessage("That word is too small to do damage!", MessageStyle::Plain);
    return;
  }
  const std::string word = Lower(spelled);
  const char* refusal = nullptr;
  if (!s_.dictionary.IsWord(word)) {
    refusal = "The spell fizzles.\n\n(that doesn't appear to be a valid word)";
  } else if (player.usedWords.Contains(word)) {
    refusal = "You've already used that word!";
  }
  if (refusal != nullptr) {
    events_.PlaySound("sound\\bad_word.wav");
    events_.ShowMessage(refusal, MessageStyle::Plain);
    board.ReturnAllToLower();
    UpdateSubmitButton();
    return;
  }
  player.usedWords.Add(word);
  if (word.size() > 4 && !EqualsNoCase(word, player.record.oracleWord)) player.strongWords.Add(word);

  const SecretWord* secret = secrets_.Find(word);
  const std::vector<int> types = board.UpperTypes();
  SpellInputs inputs;
  inputs.letters = static_cast<int>(word.size());
  inputs.tiles = types;
  inputs.kidmode = mode_ == 0;
  inputs.secret = secret;
  inputs.mindLevel = player.record.mindLevel;
  const Spell spell = ComputeSpell(inputs);
  ApplySpell(word, spell.damage, spell.score);
  player.RecordWord(word, spell.damage);

  for (int slot = 0; slot < BoardModel::kSlots; ++slot) {
    BoardTile* tile = board.Upper(slot);
    if (tile != nullptr && IsSpecialTile(tile->type))
      board.RemoveTile(tile, TileExit{0.0f, 0.02f, 1000, false});
  }
  if (secret != nullptr) RunSecretEffect(*secret);
  board.ReturnAllToLower();
  UpdateSubmitButton();
}

void Game::ApplySpell(const std::string& word, std::int32_t damage, std::int32_t score) {
  MonsterRecord& m = monster.record;
  if (static_cast<int>(word.size()) < m.armor) {
    damage = 0;
    score = 0;
  }
  player.AddScore(score);
  events_.MonsterHit(damage, std::min(damage / 3, kMaxSparks));
  const std::string shownDamage = FormatThousands(damage, 0);
  const std::string shownScore = FormatThousands(score, 0);
  char text[512];
  if (damage < 1) {
    std::snprintf(text, sizeof text,
                  "You cast the spell \"%s\".\r\nUh oh, it bounced off the %s's armor!\r\nTry a longer word!",
                  word.c_str(), m.name);
  } else {
    std::snprintf(text, sizeof text,
                  "You cast the spell \"%s\".\r\nYou hit the %s for %s damage.\r\n(worth %s points)",
                  word.c_str(), m.name, shownDamage.c_str(), shownScore.c_str());
  }
  m.life = std::clamp(SaturatingAdd(m.life, -static_cast<std::int64_t>(damage)), 0, std::max(0, m.maxLife));
  if (m.life < 1) {
    events_.PlaySound(kMonsterDeathSound);
    events_.MonsterKilled();
    std::snprintf(
        text, sizeof text,
        "You cast the spell \"%s\".\r\nYou hit the %s for %s damage.\r\n(worth %s points + %s bonus)",
        word.c_str(), m.name, shownDamage.c_str(), shownScore.c_str(),
        FormatThousands(m.killBonus, 0).c_str());
  } else if (damage >= 1) {
    events_.PlaySound("sound\\spell1.wav");
    events_.PlaySound(kMonsterPainSound);
  } else {
    events_.PlaySound("sound/plink.wav");
  }
  events_.ShowMessage(text, MessageStyle::Highlighted);
  monster.bar.target = monster.LifeFraction();
}

void Game::RunSecretEffect(const SecretWord& secret) {
  if (!secret.picture.empty()) events_.SecretEffect(secret);
  if (!secret.message.empty()) events_.ShowMessage(std::string(secret.message), MessageStyle::Plain);
  for (int i = 0; i < secret.tiles; ++i) AddRewardTile();
  events_.PlaySound(std::string(secret.SoundPath()).c_str());
}

}  // namespace spellcrypt
