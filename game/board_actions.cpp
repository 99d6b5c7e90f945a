// The player's actions on the board: clicks, keys, jumble, recall, and the three action tiles.
#include <cctype>

#include "base/keys.h"
#include "base/log.h"
#include "base/text_util.h"
#include "game/game.h"
#include "game/tile_types.h"

namespace spellcrypt {

namespace {
constexpr float kOracleGlideSpeed = 0.02f;
constexpr int kPotionHealing = 5;
constexpr int kPoison = 10;
}  // namespace

bool Game::CanAddLetter() {
  if (board.CountUpper() < BoardModel::kMaxWordLetters) return true;
  events_.PlaySound("sound\\bad_word.wav");
  events_.ShowMessage("Anything more than eight letters would be too\ndangerous a spell!",
                      MessageStyle::Plain);
  return false;
}

void Game::ClickTile(int tileId) {
  BoardTile* tile = board.Find(tileId);
  if (tile == nullptr || !Alive()) return;
  switch (tile->type) {
    case kTileOracle:
      CastOracle(tile);
      break;
    case kTilePotion:
      DrinkPotion(tile);
      break;
    case kTileRefresh:
      UseRefresh(tile);
      break;
    default:
      if (tile->lowerSlot >= 0) {
        if (CanAddLetter()) {
          events_.PlaySound("sound\\tile_move.wav");
          board.MoveTileToUpper(tile);
        }
      } else if (tile->upperSlot >= 0) {
        events_.PlaySound("sound\\tile_move_back.wav");
        board.MoveTileToLower(tile, true);
      }
      break;
  }
  UpdateSubmitButton();
}

void Game::MoveLetterUp(char letter, bool specialFirst) {
  const bool normal = board.HasNormalLetter(letter);
  const bool special = board.HasSpecialLetter(letter);
  for (bool trySpecial : {specialFirst, !specialFirst}) {
    if (!(trySpecial ? special : normal) || !CanAddLetter()) continue;
    events_.PlaySound("sound\\tile_move.wav");
    board.MoveTileToUpper(trySpecial ? board.GetSpecialLowerTileByLetter(letter)
                                     : board.GetNormalLowerTileByLetter(letter));
    break;
  }
  UpdateSubmitButton();
}

void Game::HandleChar(int c) {
  if (!Alive()) return;
  if (c == '8' && allowCheats) {
    // The poison key: a cheat the game has always had, for testing.
    if (player.Hurt(kPoison)) CheckLowLife();
    events_.ShowMessage("You drink some poison!", MessageStyle::Plain);
    if (!Alive()) return;
    MoveLetterUp('8', true);
    return;
  }
  if (c == '~' || c == '1') RecallLastWord();
  if (c == '`' || c == '2') {
    if (BoardTile* potion = board.FirstLowerOfType(kTilePotion)) {
      DrinkPotion(potion);
      return;
    }
    events_.ShowMessage("You don't have a health potion to drink!", MessageStyle::Plain);
  }
  switch (c) {
    case vk::Backspace: {
      if (BoardTile* last = board.Upper(board.LastUpperSlot())) {
        events_.PlaySound("sound\\tile_move_back.wav");
        board.MoveTileToLower(last, false);
      }
      UpdateSubmitButton();
      return;
    }
    case vk::Tab:
      if (BoardTile* oracle = board.FirstLowerOfType(kTileOracle)) {
        CastOracle(oracle);
      } else {
        events_.ShowMessage("Cast failed, you don't have an Oracle tile!", MessageStyle::Plain);
      }
      return;
    case vk::Space:
      events_.PlaySound("sound\\click.wav");
      JumbleTiles();
      return;
    case vk::Enter:
      CastWord();
      return;
    default:
      break;
  }
  if (c >= '[') {
    MoveLetterUp(static_cast<char>(std::toupper(c)), false);
  } else {
    MoveLetterUp(static_cast<char>(c), true);
  }
}

BoardKey Game::HandleKeyDown(int key) {
  if (key == vk::F1) return BoardKey::PressHelp;
  if (key == vk::Escape) {
    if (board.CountUpper() > 0) {
      board.ReturnAllToLower();
      UpdateSubmitButton();
      return BoardKey::None;
    }
    return BoardKey::PressQuit;
  }
  return BoardKey::None;
}

void Game::JumbleTiles() {
  if (!Alive()) return;
  if (board.Jumble(s_.mersenne)) events_.ShowMessage("Tiles re-arranged!", MessageStyle::Plain);
}

void Game::RecallLastWord() {
  if (!Alive()) return;
  if (player.usedWords.Count() == 0) {
    events_.PlaySound("sound\\bad_word.wav");
    return;
  }
  std::string word = player.usedWords.Last();
  for (char& ch : word) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  for (char letter : word) {
    if (!board.HasLetter(letter, true)) return;
  }
  board.ReturnAllToLower();
  for (char letter : word) board.MoveTileToUpper(board.GetLowerTileByLetter(letter));
  UpdateSubmitButton();
}

void Game::UseUp(BoardTile* tile, float shrinkRate, std::uint32_t deleteAfterMs) {
  board.RemoveTile(tile, TileExit{0.0f, shrinkRate, deleteAfterMs, false});
}

void Game::CastOracle(BoardTile* tile) {
  if (!monster.IsActive()) {
    events_.PlaySound("sound\\bad_word.wav");
    return;
  }
  const int oracleId = tile->id;
  events_.PlaySound("sound\\oracle.ogg");
  board.ReturnAllToLower();
  std::string letters = board.GetRackLetters();
  for (char& ch : letters) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  s_.dictionary.FindWords(letters, &player.usedWords);
  const StringList& found = s_.dictionary.results;
  if (found.Count() == 0) {
    for (int i = 0; i < 4; ++i) AddRewardTile();
    events_.ShowMessage("The Oracle has failed!\r\nIt has summoned more tiles!", MessageStyle::Plain);
  } else {
    std::string word = found[found.Count() - 1];
    for (char& ch : word) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (char letter : word) board.MoveTileToUpper(board.GetLowerTileByLetter(letter), kOracleGlideSpeed);
    CopyText(player.record.oracleWord, sizeof player.record.oracleWord, word);
    events_.SubmitEnabled(true);
  }
  player.record.oraclesSummoned += 1;
  UseUp(board.Find(oracleId), 0.01f, 1000);
}

void Game::DrinkPotion(BoardTile* tile) {
  events_.PlaySound("sound\\health.wav");
  const int before = player.record.life;
  if (player.Heal(kPotionHealing)) CheckLowLife();
  // Said in the message line too: a potion drunk by a stray key is not drunk unnoticed.
  events_.ShowMessage("You drink a potion: +" + std::to_string(player.record.life - before) + " life.",
                      MessageStyle::Plain);
  UseUp(tile, 0.01f, 1000);
}

void Game::UseRefresh(BoardTile* tile) {
  if (!monster.IsActive()) {
    events_.PlaySound("sound\\bad_word.wav");
    return;
  }
  player.weights = s_.letterFile;
  events_.PlaySound("sound\\health.wav");
  // The refresh tile goes back to the rack first, so that no tile is left stranded in a word row
  // with gaps once the normal tiles fly off.
  const int refreshId = tile->id;
  board.ReturnAllToLower();
  UseUp(board.Find(refreshId), 0.01f, 1200);
  events_.PlaySound("sound\\spell1.wav");
  std::vector<int> normal;
  for (const BoardTile* t : board.TilesInSaveOrder()) {
    if (!IsSpecialTile(t->type)) normal.push_back(t->id);
  }
  for (int id : normal) board.RemoveTile(board.Find(id), TileExit{0.05f, 0.01f, 2000, true});
  UpdateSubmitButton();
  board.StartDeal();
}

}  // namespace spellcrypt
