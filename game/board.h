// The tile board as the rules see it: the rack (lower row, 16 slots in two lines of 8) and the word
// row (upper row, kept contiguous from slot 0), the tiles in them, the deal's counters, and the
// moves between the rows. Every change is reported to the screen through the events.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/board_tile.h"
#include "game/game_events.h"
#include "game/letter_draw.h"

namespace spellcrypt {

class BoardModel {
 public:
  static constexpr int kSlots = 16;
  static constexpr int kDealSize = 8;
  static constexpr int kMaxWordLetters = 8;
  static constexpr int kUpperX = 207;
  static constexpr int kUpperY = 65;
  static constexpr int kLowerX = 207;
  static constexpr int kLowerY = 155;
  static constexpr int kRowHeight = 53;
  static constexpr float kGlideSpeed = 0.09f;

  explicit BoardModel(IGameEvents& events) : events_(events) {}

  // --- Slots ---
  static void LowerSlotPosition(int slot, float& x, float& y);
  static void UpperSlotPosition(int slot, float& x, float& y);
  BoardTile* Lower(int slot) const;
  BoardTile* Upper(int slot) const;
  BoardTile* Find(int id) const;
  // Every tile on the board, lower slot 0, upper slot 0, lower slot 1, ... (the saved game's order).
  std::vector<const BoardTile*> TilesInSaveOrder() const;

  // --- New tiles ---
  // A tile of the given letter and type in a lower slot, placed there at once (or -1 when the
  // board is full or the slot is taken). Used when tiles return from a save or a carried list.
  int PlaceTile(const BoardTile& tile, TileArrival arrival);
  // A new tile in the first free lower slot with a drawn letter (balanced for the deal), counted
  // in vowelsDealt when a vowel, its type chosen once the letter is known; -1 without room.
  int AddNewTile(bool balanced, LetterSource& letters, const std::function<int(char)>& typeFor,
                 TileArrival arrival);

  // --- Moves ---
  void MoveTileToUpper(BoardTile* tile, float speed = kGlideSpeed);
  void MoveTileToLower(BoardTile* tile, bool compact);
  int CompactLowerRow();
  void ReturnAllToLower();
  // Shuffles the letter tiles of the rack; action tiles end up behind them. False when the rack is
  // empty and nothing was done.
  bool Jumble(MersenneTwister& random);
  // Takes the tile off the board (out of both rows) and tells the screen how it goes.
  void RemoveTile(BoardTile* tile, const TileExit& exit);
  // Takes the tile off the board for the player's carried list.
  BoardTile TakeForCarrying(BoardTile* tile);
  // Every tile leaves the board the same way (the fall).
  void RemoveAll(const TileExit& exit);
  // Every tile goes at once and the deal stops (a new dungeon's board, a loaded game).
  void Clear();
  void StartDeal() {
    pendingDeal = kDealSize;
    vowelsDealt = 0;
  }

  // --- Questions ---
  BoardTile* GetLowerTileByLetter(char letter) const;
  BoardTile* GetSpecialLowerTileByLetter(char letter) const;
  BoardTile* GetNormalLowerTileByLetter(char letter) const;
  // The first rack tile of a type (the potion and oracle keys).
  BoardTile* FirstLowerOfType(int type) const;
  bool HasLetter(char letter, bool includeUpper) const;
  bool HasNormalLetter(char letter) const;
  bool HasSpecialLetter(char letter) const;
  std::string GetCurrentWord() const;
  std::string GetRackLetters() const;
  int CountUpper() const;
  int CountAll() const;
  // The highest rack slot holding a letter tile; 0 when none does.
  int LastLetterSlot() const;
  int LastUpperSlot() const;  // -1 when the word row is empty
  // The types of the tiles in the word row, in order.
  std::vector<int> UpperTypes() const;

  int pendingDeal = 0;
  int vowelsDealt = 0;

 private:
  BoardTile* NewTile();
  void Glide(BoardTile& tile, float speed);
  int FirstEmptyLower() const;
  int FirstEmptyUpper() const;
  void Forget(const BoardTile* tile);
  BoardTile* FirstLower(char letter, int special) const;  // special: -1 any, 0 normal, 1 special

  IGameEvents& events_;
  std::array<BoardTile*, kSlots> lower_{};
  std::array<BoardTile*, kSlots> upper_{};
  std::vector<std::unique_ptr<BoardTile>> tiles_;
  int nextId_ = 1;
};

}  // namespace spellcrypt
