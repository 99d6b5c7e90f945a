// The exchange with the score server, shared by the game and the server: the encoding of a
// submitted game, the game line, and the lines of the replies.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace spellcrypt {

class CRanking;

// The submission key both sides share (the CMake cache variable SPELLCRYPT_SCORE_KEY).
extern const std::uint32_t kSubmissionKey;

// Encodes the bytes in place and answers the check value: b[i] = (b[i] + i + K + 2) mod 256, then
// c += b[i] + i + K (with the new byte) mod 2^32.
std::uint32_t EncodeForServer(std::uint8_t* bytes, std::size_t length, std::uint32_t key);
// The server's side: the check value of encoded bytes (as EncodeForServer answered it) and the
// bytes decoded in place.
std::uint32_t DecodeFromClient(std::uint8_t* bytes, std::size_t length, std::uint32_t key);

// "mode|name|score|dungeon|bosses|"
std::string GameLine(int mode, std::string_view name, std::int32_t score, std::int32_t dungeon,
                     std::int32_t bosses);
// What a game line may hold: the name entry takes at most 19 characters, a game has 25 dungeons
// and each dungeon at most one boss.
constexpr std::size_t kMaxSubmittedName = 19;
constexpr std::int32_t kLastDungeonNumber = 25;
constexpr std::int32_t kMostBosses = 25;
struct SubmittedGame {
  int mode = 0;
  std::string name;
  std::int32_t score = 0;
  std::int32_t dungeon = 0;
  std::int32_t bosses = 0;
};
// Reads a game line back; false when it is not one: not five fields each closed by "|", numbers
// that are not plain decimals, mode outside 0..2, a name longer than kMaxSubmittedName or with a
// byte that is not printable ASCII, a negative score, dungeon outside 1..kLastDungeonNumber, bosses
// outside 0..kMostBosses.
bool ParseGameLine(std::string_view line, SubmittedGame& game);
// The same, saying which field was wrong (the first one found, in the line's order).
enum class GameLineFault { None, Form, Mode, Name, Score, Dungeon, Bosses };
GameLineFault CheckGameLine(std::string_view line, SubmittedGame& game);

// The lists' reply: "DIFF|n" picks the list of mode n (0 until the first), "add|name|score|
// dungeon|bosses" appends to it, "msg|text" is a message for the player (the last one counts; an
// empty text clears it). Fills the three lists (cleared first); answers whether a message came, in
// message (left alone when none did). A DIFF outside 0..2 logs "Bad data encountered while parsing
// internet scores" and changes nothing. Numbers read as decimals (a non-number as 0) clamped to
// the 32-bit range; names are cut at a NUL and to the 99 bytes a score file's name field holds.
// The lists are given one by one, so that lists of a class built on CRanking can be filled too.
bool ParseScoreLists(std::string_view reply, const std::array<CRanking*, 3>& lists, std::string& message);
bool ParseScoreLists(std::string_view reply, CRanking (&lists)[3], std::string& message);
// The submission's reply: the text of its last "msg" line, or "Error!" when there is none.
std::string SubmitReplyMessage(std::string_view reply);

}  // namespace spellcrypt
