#include "tests/game_test_support.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "base/keys.h"
#include "game/dungeon.h"
#include "game/tile_types.h"
#include "words/secret_words.h"

namespace spellcrypt::testing {

int LogCapture::Count(std::string_view text) const {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [text](const std::string& line) {
    return line.find(text) != std::string::npos;
  }));
}

void RecordingEvents::TileAdded(const BoardTile& tile, TileArrival arrival) {
  added.push_back(TileEvent{tile, arrival, clock_.Ms()});
  if (onTileAdded) onTileAdded(tile, arrival);
}

void RecordingEvents::DungeonLeft(int dungeon, bool won) {
  left.emplace_back(dungeon, won);
  if (onDungeonLeft) onDungeonLeft(dungeon, won);
}

void RecordingEvents::SecretEffect(const SecretWord& word) { secretEffects.emplace_back(word.names[0]); }

int RecordingEvents::SoundCount(std::string_view name) const {
  return static_cast<int>(std::count(sounds.begin(), sounds.end(), name));
}

bool RecordingEvents::Showed(std::string_view text) const {
  return std::any_of(messages.begin(), messages.end(),
                     [text](const ShownMessage& m) { return m.text == text; });
}

std::vector<PostedMessage> RecordingEvents::PostsOf(GameMessage message) const {
  std::vector<PostedMessage> found;
  for (const PostedMessage& p : posts) {
    if (p.message == message) found.push_back(p);
  }
  return found;
}

void RecordingEvents::Forget() {
  sounds.clear();
  music.clear();
  musicStops = 0;
  lowLife.clear();
  messages.clear();
  posts.clear();
  added.clear();
  moves.clear();
  retired.clear();
  carried.clear();
  submit.clear();
  shown.clear();
  lunges.clear();
  hits.clear();
  killed = falling = removed = 0;
  dead.clear();
  playerBars.clear();
  entering.clear();
  left.clear();
  gameOvers.clear();
  secretEffects.clear();
}

void LoadWords(Dictionary& dictionary, const std::vector<std::string>& words) {
  std::multimap<std::string, std::string> byKey;
  for (const std::string& word : words) {
    std::string key = word;
    std::sort(key.begin(), key.end());
    byKey.emplace(key, word);
  }
  std::string text;
  for (const auto& [key, word] : byKey) text += key + " " + word + "\n";
  dictionary.LoadText(text, "test words");
}

Dictionary* GameWordList() {
  static Dictionary* list = [] {
    auto* d = new Dictionary();
    const std::string path = std::string(SPELLCRYPT_BIN_DIR) + "/data/master_word_list.txt";
    if (!d->Load(path.c_str()) || d->Count() == 0) {
      delete d;
      return static_cast<Dictionary*>(nullptr);
    }
    return d;
  }();
  return list;
}

LetterTable EnglishLetters() {
  static constexpr int kWeights[26] = {87, 21, 47, 39, 127, 14, 31, 26, 99, 2, 9, 60, 32,
                                       76, 72, 33, 2,  81,  97, 76, 37, 11, 9, 3, 19, 5};
  LetterTable table;
  for (int i = 0; i < 26; ++i) table.SetWeight(i, kWeights[i]);
  return table;
}

LetterTable OnlyLetters(std::string_view letters, int weight) {
  LetterTable table;
  for (int i = 0; i < 26; ++i) table.SetWeight(i, 0);
  for (char c : letters) table.SetWeight(c - 'A', weight);
  return table;
}

GameRig::GameRig(Dictionary& words, std::uint32_t seed, const LetterTable& letters)
    : events(clock),
      letterFile(letters),
      dictionary(words),
      game(GameServices{clock, mersenne, simple, words, letterFile, events}) {
  mersenne.Seed(seed);
  simple.Seed(seed);
  events.onDungeonLeft = [this](int, bool hasWon) {
    if (hasWon) {
      won = true;
    } else if (followMap) {
      enterNext_ = true;
    }
  };
}

void GameRig::Frame(std::uint32_t ms) {
  clock.Advance(ms);
  if (enterNext_) {
    enterNext_ = false;
    EnterDungeon();
  }
  const float delta = std::min(8.0f, static_cast<float>(ms) / 13.3f);
  game.UpdateBoard();
  game.UpdateMonster(delta);
  game.UpdatePlayer(delta);
  Deliver();
  // The end of the game cancels every message still waiting.
  if (!events.gameOvers.empty()) events.queue.clear();
}

void GameRig::Run(std::uint32_t ms) {
  for (std::uint32_t t = 0; t < ms; t += kFrameMs) Frame();
}

bool GameRig::RunUntil(const std::function<bool()>& done, std::uint32_t maxMs) {
  for (std::uint32_t t = 0; t <= maxMs; t += kFrameMs) {
    if (done()) return true;
    Frame();
  }
  return done();
}

void GameRig::Deliver() {
  for (;;) {
    auto due =
        std::min_element(events.queue.begin(), events.queue.end(),
                         [](const PostedMessage& a, const PostedMessage& b) { return a.Due() < b.Due(); });
    if (due == events.queue.end() || due->Due() > clock.Ms()) return;
    const PostedMessage message = *due;
    events.queue.erase(due);
    switch (message.message) {
      case GameMessage::RewardTile:
        game.AddRewardTile();
        break;
      case GameMessage::PlayerEvent:
        game.NextEncounter();
        break;
      case GameMessage::BookFound: {
        // The book opens, a page is taken, and the book closes with the next encounter.
        int leftPage = 0;
        int rightPage = 0;
        ChooseBookPages(simple, leftPage, rightPage);
        const int page = choosePage ? choosePage(leftPage, rightPage) : leftPage;
        pagesTaken.push_back(page);
        events.Post(GameMessage::PlayerEvent, 2200, 0);
        game.ApplyPage(page);
        break;
      }
      case GameMessage::ShowTip:
        break;
    }
  }
}

int GameRig::Waiting(GameMessage message) const {
  return static_cast<int>(std::count_if(events.queue.begin(), events.queue.end(),
                                        [message](const PostedMessage& p) { return p.message == message; }));
}

bool GameRig::StartGame(int mode) {
  game.NewRun(mode);
  EnterDungeon();
  return WaitForMonster();
}

void GameRig::EnterDungeon() {
  game.ResetForDungeon();
  game.RestoreCarriedTiles();
}

bool GameRig::WaitForMonster(std::uint32_t maxMs) {
  return RunUntil([this] { return game.monster.IsActive() && game.board.pendingDeal == 0 && !game.busy; },
                  maxMs);
}

void GameRig::SetRack(std::string_view letters, const std::vector<int>& types) {
  game.board.Clear();
  for (std::size_t i = 0; i < letters.size(); ++i) {
    BoardTile tile;
    tile.type = i < types.size() ? types[i] : kTileNormal;
    tile.letter = IsActionTile(tile.type) ? ' ' : letters[i];
    tile.lowerSlot = static_cast<int>(i);
    BoardModel::LowerSlotPosition(tile.lowerSlot, tile.x, tile.y);
    game.board.PlaceTile(tile, TileArrival::Placed);
  }
}

void GameRig::Type(std::string_view keys) {
  for (char c : keys) game.HandleChar(static_cast<unsigned char>(c));
}

std::string GameRig::BestWord() {
  std::string rack = game.board.GetRackLetters();
  for (char& c : rack) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  dictionary.FindWords(rack, &game.player.usedWords);
  const StringList& found = dictionary.results;
  for (int i = found.Count() - 1; i >= 0; --i) {
    if (found[i].size() <= static_cast<std::size_t>(BoardModel::kMaxWordLetters)) return found[i];
  }
  return std::string();
}

bool GameRig::CastBest() {
  if (game.board.CountUpper() > 0) game.HandleKeyDown(vk::Escape);
  const PlayerRun& player = game.player;
  if (player.record.life < player.record.maxLife - 5) {
    if (BoardTile* potion = game.board.FirstLowerOfType(kTilePotion)) {
      game.ClickTile(potion->id);
      return true;
    }
  }
  std::string word = BestWord();
  if (word.empty()) {
    if (game.board.FirstLowerOfType(kTileOracle) != nullptr) {
      game.HandleChar(vk::Tab);
      if (game.board.CountUpper() == 0) return true;  // it failed, and brought tiles instead
      ++casts;
      game.HandleChar(vk::Enter);
      return true;
    }
    if (BoardTile* refresh = game.board.FirstLowerOfType(kTileRefresh)) {
      game.ClickTile(refresh->id);
      return true;
    }
    return false;
  }
  for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Type(word);
  ++casts;
  game.HandleChar(vk::Enter);
  return true;
}

bool GameRig::PlayUntil(const std::function<bool()>& done, std::uint32_t maxMs, std::uint32_t castEveryMs) {
  // The player thinks castEveryMs in front of each monster before every cast.
  std::uint32_t thinking = 0;
  for (std::uint32_t t = 0; t <= maxMs; t += kFrameMs) {
    if (done()) return true;
    if (Over()) return false;
    if (game.CanLeave() && game.monster.record.life > 0) {
      thinking += kFrameMs;
      if (thinking >= castEveryMs) {
        CastBest();
        thinking = 0;
      }
    } else {
      thinking = 0;
    }
    Frame();
  }
  return done();
}

}  // namespace spellcrypt::testing
