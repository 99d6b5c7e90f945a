// The tile board's rows and moves.
#include "game/board.h"

#include <algorithm>

#include "base/log.h"
#include "game/tile_types.h"

namespace spellcrypt {

char BoardTile::Label() const { return IsActionTile(type) ? ' ' : letter; }

void BoardModel::LowerSlotPosition(int slot, float& x, float& y) {
  x = static_cast<float>(kLowerX + (slot * 52) % 416);
  y = static_cast<float>(kLowerY + (slot * 52) / 416 * kRowHeight);
}

void BoardModel::UpperSlotPosition(int slot, float& x, float& y) {
  x = static_cast<float>(kUpperX + slot * 52);
  y = static_cast<float>(kUpperY);
}

BoardTile* BoardModel::Lower(int slot) const {
  return slot >= 0 && slot < kSlots ? lower_[static_cast<std::size_t>(slot)] : nullptr;
}

BoardTile* BoardModel::Upper(int slot) const {
  return slot >= 0 && slot < kSlots ? upper_[static_cast<std::size_t>(slot)] : nullptr;
}

BoardTile* BoardModel::Find(int id) const {
  for (const auto& t : tiles_) {
    if (t->id == id) return t.get();
  }
  return nullptr;
}

std::vector<const BoardTile*> BoardModel::TilesInSaveOrder() const {
  std::vector<const BoardTile*> order;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (BoardTile* t = Lower(slot)) order.push_back(t);
    if (BoardTile* t = Upper(slot)) order.push_back(t);
  }
  return order;
}

BoardTile* BoardModel::NewTile() {
  tiles_.push_back(std::make_unique<BoardTile>());
  BoardTile* tile = tiles_.back().get();
  tile->id = nextId_++;
  return tile;
}

void BoardModel::Glide(BoardTile& tile, float speed) {
  if (tile.upperSlot >= 0) {
    UpperSlotPosition(tile.upperSlot, tile.x, tile.y);
  } else {
    LowerSlotPosition(tile.lowerSlot, tile.x, tile.y);
  }
  events_.TileMoved(tile, speed > 0.0f ? speed : kGlideSpeed);  // 0 asks for the default
}

int BoardModel::FirstEmptyLower() const {
  for (int i = 0; i < kSlots; ++i) {
    if (lower_[static_cast<std::size_t>(i)] == nullptr) return i;
  }
  return -1;
}

int BoardModel::FirstEmptyUpper() const {
  for (int i = 0; i < kSlots; ++i) {
    if (upper_[static_cast<std::size_t>(i)] == nullptr) return i;
  }
  return -1;
}

int BoardModel::PlaceTile(const BoardTile& source, TileArrival arrival) {
  const bool upper = source.upperSlot >= 0;
  const int slot = upper ? source.upperSlot : source.lowerSlot;
  if (slot < 0 || slot >= kSlots || (upper ? Upper(slot) : Lower(slot)) != nullptr) return -1;
  const bool keepId = source.id > 0 && Find(source.id) == nullptr;
  tiles_.push_back(std::make_unique<BoardTile>(source));
  BoardTile* tile = tiles_.back().get();
  if (!keepId) tile->id = nextId_;
  nextId_ = std::max(nextId_, tile->id + 1);
  (upper ? upper_ : lower_)[static_cast<std::size_t>(slot)] = tile;
  if (upper) {
    tile->lowerSlot = -1;
  } else {
    tile->upperSlot = -1;
  }
  events_.TileAdded(*tile, arrival);
  return slot;
}

int BoardModel::AddNewTile(bool balanced, LetterSource& letters, const std::function<int(char)>& typeFor,
                           TileArrival arrival) {
  if (CountAll() >= kSlots) return -1;
  const int slot = FirstEmptyLower();
  if (slot < 0) {
    LogError("Error adding new tile.");
    return -1;
  }
  const bool uOnBoard = HasLetter('U', true);
  const char letter = balanced ? DrawBalancedLetter(letters, DealBalance(pendingDeal, vowelsDealt), uOnBoard)
                               : DrawLetter(letters, uOnBoard);
  if (IsVowel(letter)) ++vowelsDealt;
  events_.PlaySound("sound\\highlight.wav");
  BoardTile* tile = NewTile();
  tile->type = typeFor(letter);
  // An action tile shows no letter and spells nothing.
  tile->letter = IsActionTile(tile->type) ? ' ' : letter;
  tile->lowerSlot = slot;
  LowerSlotPosition(slot, tile->x, tile->y);
  lower_[static_cast<std::size_t>(slot)] = tile;
  events_.TileAdded(*tile, arrival);
  return slot;
}

void BoardModel::MoveTileToUpper(BoardTile* tile, float speed) {
  if (tile == nullptr) {
    LogError("MoveTileToUpper got a null");
    return;
  }
  if (tile->lowerSlot < 0) return;  // already in the word row
  const int slot = FirstEmptyUpper();
  if (slot < 0) {
    Log("Error finding upper row slot, aborting move.");
    return;
  }
  tile->homeSlot = tile->lowerSlot;
  lower_[static_cast<std::size_t>(tile->lowerSlot)] = nullptr;
  upper_[static_cast<std::size_t>(slot)] = tile;
  tile->upperSlot = slot;
  tile->lowerSlot = -1;
  Glide(*tile, speed);
}

void BoardModel::MoveTileToLower(BoardTile* tile, bool compact) {
  if (tile == nullptr || tile->upperSlot < 0) return;
  int target = tile->homeSlot;
  if (target < 0 || target >= kSlots || lower_[static_cast<std::size_t>(target)] != nullptr) {
    target = FirstEmptyLower();
  }
  if (target < 0) {
    Log("Error finding buttom row slot, aborting move.");
    return;
  }
  const int from = tile->upperSlot;
  upper_[static_cast<std::size_t>(from)] = nullptr;
  lower_[static_cast<std::size_t>(target)] = tile;
  tile->upperSlot = -1;
  tile->lowerSlot = target;
  Glide(*tile, kGlideSpeed);
  if (!compact || from >= kSlots - 1) return;
  int free = from;
  for (int j = from + 1; j < kSlots; ++j) {
    BoardTile* next = upper_[static_cast<std::size_t>(j)];
    if (next == nullptr) continue;
    upper_[static_cast<std::size_t>(j)] = nullptr;
    upper_[static_cast<std::size_t>(free)] = next;
    next->upperSlot = free++;
    Glide(*next, kGlideSpeed);
  }
}

int BoardModel::CompactLowerRow() {
  int free = 0;
  for (int i = 0; i < kSlots; ++i) {
    BoardTile* tile = lower_[static_cast<std::size_t>(i)];
    if (tile == nullptr) continue;
    if (i != free) {
      lower_[static_cast<std::size_t>(i)] = nullptr;
      lower_[static_cast<std::size_t>(free)] = tile;
      tile->lowerSlot = free;
      Glide(*tile, kGlideSpeed);
    }
    ++free;
  }
  return free < kSlots ? free : -1;
}

void BoardModel::ReturnAllToLower() {
  for (int j = 0; j < kSlots; ++j) {
    if (BoardTile* tile = upper_[static_cast<std::size_t>(j)]) MoveTileToLower(tile, false);
  }
}

bool BoardModel::Jumble(MersenneTwister& random) {
  CompactLowerRow();
  if (lower_[0] == nullptr) return false;
  auto isLetter = [this](int slot) {
    const BoardTile* t = Lower(slot);
    return t != nullptr && IsLetterTile(t->type);
  };
  for (int i = 0; i <= LastLetterSlot(); ++i) {
    const int last = LastLetterSlot();
    int k = last;
    if (isLetter(i)) {
      do {
        k = random.Range(0, last);
      } while (!isLetter(k));
    }
    if (k == i) continue;
    std::swap(lower_[static_cast<std::size_t>(i)], lower_[static_cast<std::size_t>(k)]);
    for (int slot : {i, k}) {
      if (BoardTile* t = lower_[static_cast<std::size_t>(slot)]) {
        t->lowerSlot = slot;
        Glide(*t, kGlideSpeed);
      }
    }
  }
  return true;
}

void BoardModel::Forget(const BoardTile* tile) {
  for (auto* row : {&lower_, &upper_}) {
    for (BoardTile*& slot : *row) {
      if (slot == tile) slot = nullptr;
    }
  }
  std::erase_if(tiles_, [tile](const auto& t) { return t.get() == tile; });
}

void BoardModel::RemoveTile(BoardTile* tile, const TileExit& exit) {
  if (tile == nullptr) return;
  const int id = tile->id;
  Forget(tile);
  events_.TileRetired(id, exit);
}

BoardTile BoardModel::TakeForCarrying(BoardTile* tile) {
  BoardTile copy = *tile;
  Forget(tile);
  events_.TileCarried(copy.id);
  return copy;
}

void BoardModel::RemoveAll(const TileExit& exit) {
  for (const BoardTile* tile : TilesInSaveOrder()) {
    const int id = tile->id;
    Forget(tile);
    events_.TileRetired(id, exit);
  }
  // Tiles outside both rows (none in play, but never leave one behind).
  while (!tiles_.empty()) RemoveTile(tiles_.back().get(), exit);
}

void BoardModel::Clear() {
  RemoveAll(TileExit{});
  pendingDeal = 0;
  vowelsDealt = 0;
}

BoardTile* BoardModel::FirstLower(char letter, int special) const {
  for (BoardTile* t : lower_) {
    if (t == nullptr || t->letter != letter || !IsLetterTile(t->type)) continue;
    if (special < 0 || (special == 1) == IsSpecialTile(t->type)) return t;
  }
  return nullptr;
}

BoardTile* BoardModel::GetLowerTileByLetter(char letter) const {
  BoardTile* t = FirstLower(letter, -1);
  if (t == nullptr) LogError("GetLowerTileByLetter failed!");
  return t;
}

BoardTile* BoardModel::GetSpecialLowerTileByLetter(char letter) const {
  BoardTile* t = FirstLower(letter, 1);
  if (t == nullptr) LogError("GetSpecialLowerTileByLetter failed!");
  return t;
}

BoardTile* BoardModel::GetNormalLowerTileByLetter(char letter) const {
  BoardTile* t = FirstLower(letter, 0);
  if (t == nullptr) LogError("GetNormalLowerTileByLetter failed!");
  return t;
}

BoardTile* BoardModel::FirstLowerOfType(int type) const {
  for (BoardTile* t : lower_) {
    if (t != nullptr && t->type == type) return t;
  }
  return nullptr;
}

bool BoardModel::HasLetter(char letter, bool includeUpper) const {
  if (FirstLower(letter, -1) != nullptr) return true;
  if (!includeUpper) return false;
  return std::any_of(upper_.begin(), upper_.end(), [letter](const BoardTile* t) {
    return t != nullptr && t->letter == letter && IsLetterTile(t->type);
  });
}

bool BoardModel::HasNormalLetter(char letter) const { return FirstLower(letter, 0) != nullptr; }
bool BoardModel::HasSpecialLetter(char letter) const { return FirstLower(letter, 1) != nullptr; }

std::string BoardModel::GetCurrentWord() const {
  std::string word;
  for (const BoardTile* t : upper_) {
    if (t == nullptr) break;
    word.push_back(t->letter);
  }
  return word;
}

std::string BoardModel::GetRackLetters() const {
  std::string letters;
  for (const BoardTile* t : lower_) {
    if (t != nullptr && IsLetterTile(t->type)) letters.push_back(t->letter);
  }
  return letters;
}

int BoardModel::CountUpper() const {
  return static_cast<int>(
      std::count_if(upper_.begin(), upper_.end(), [](const BoardTile* t) { return t != nullptr; }));
}

int BoardModel::CountAll() const {
  return CountUpper() + static_cast<int>(std::count_if(lower_.begin(), lower_.end(),
                                                       [](const BoardTile* t) { return t != nullptr; }));
}

int BoardModel::LastLetterSlot() const {
  for (int i = kSlots - 1; i >= 0; --i) {
    const BoardTile* t = lower_[static_cast<std::size_t>(i)];
    if (t != nullptr && IsLetterTile(t->type)) return i;
  }
  return 0;
}

int BoardModel::LastUpperSlot() const {
  for (int i = kSlots - 1; i >= 0; --i) {
    if (upper_[static_cast<std::size_t>(i)] != nullptr) return i;
  }
  return -1;
}

std::vector<int> BoardModel::UpperTypes() const {
  std::vector<int> types;
  for (const BoardTile* t : upper_) {
    if (t != nullptr) types.push_back(t->type);
  }
  return types;
}

}  // namespace spellcrypt
