// The exchange with the score server: the submission's encoding, the game line and the replies.
#include "scores/score_protocol.h"

#include <algorithm>
#include <limits>

#include "base/log.h"
#include "scores/ranking.h"

namespace spellcrypt {

namespace {

// The lines of a reply: each ends at LF, a CR before the LF is dropped, the last may lack its LF.
template <typename Visit>
void ForEachLine(std::string_view reply, Visit visit) {
  while (!reply.empty()) {
    const std::size_t lf = reply.find('\n');
    std::string_view line = reply.substr(0, lf);
    reply = lf == std::string_view::npos ? std::string_view() : reply.substr(lf + 1);
    if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(line);
  }
}

// Field n (from 1) of a line split at "|"; a missing field is empty.
std::string_view Field(std::string_view line, int n) {
  for (int current = 1; current < n; ++current) {
    const std::size_t bar = line.find('|');
    if (bar == std::string_view::npos) return {};
    line.remove_prefix(bar + 1);
  }
  return line.substr(0, line.find('|'));
}

// A decimal number as the reply's lists carry it: leading blanks, a sign, digits up to the first
// other character; no digits at all reads as 0. Values beyond the 32-bit range are clamped to it.
std::int32_t ReadNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kBeyond = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = std::min(value * 10 + (text[at] - '0'), kBeyond);
  }
  if (negative) value = -value;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// A game line's number: digits only (a leading "-" allowed), within the 32-bit range.
bool ReadStrictNumber(std::string_view text, std::int32_t& number) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return false;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  number = static_cast<std::int32_t>(value);
  return true;
}

// A name from a reply as a record keeps it: up to its first NUL, at most the bytes a score file's
// name field holds.
std::string_view ListName(std::string_view name) {
  name = name.substr(0, name.find('\0'));
  return name.substr(0, std::min(name.size(), CRanking::kNameSize - 1));
}

}  // namespace

std::uint32_t EncodeForServer(std::uint8_t* bytes, std::size_t length, std::uint32_t key) {
  std::uint32_t check = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const auto position = static_cast<std::uint32_t>(i);
    bytes[i] = static_cast<std::uint8_t>(bytes[i] + position + key + 2u);
    check += bytes[i] + position + key;
  }
  return check;
}

std::uint32_t DecodeFromClient(std::uint8_t* bytes, std::size_t length, std::uint32_t key) {
  std::uint32_t check = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const auto position = static_cast<std::uint32_t>(i);
    check += bytes[i] + position + key;
    bytes[i] = static_cast<std::uint8_t>(bytes[i] - position - key - 2u);
  }
  return check;
}

std::string GameLine(int mode, std::string_view name, std::int32_t score, std::int32_t dungeon,
                     std::int32_t bosses) {
  std::string line = std::to_string(mode);
  line += '|';
  line += name;
  for (std::int32_t number : {score, dungeon, bosses}) {
    line += '|';
    line += std::to_string(number);
  }
  line += '|';
  return line;
}

GameLineFault CheckGameLine(std::string_view line, SubmittedGame& game) {
  // Exactly five fields, each closed by "|".
  if (std::count(line.begin(), line.end(), '|') != 5 || line.back() != '|') return GameLineFault::Form;
  std::int32_t mode = 0;
  SubmittedGame parsed;
  if (!ReadStrictNumber(Field(line, 1), mode) || mode < 0 || mode > 2) return GameLineFault::Mode;
  const std::string_view name = Field(line, 2);
  if (name.size() > kMaxSubmittedName ||
      !std::all_of(name.begin(), name.end(), [](char c) { return c >= ' ' && c <= '~'; })) {
    return GameLineFault::Name;
  }
  if (!ReadStrictNumber(Field(line, 3), parsed.score) || parsed.score < 0) return GameLineFault::Score;
  if (!ReadStrictNumber(Field(line, 4), parsed.dungeon) || parsed.dungeon < 1 ||
      parsed.dungeon > kLastDungeonNumber) {
    return GameLineFault::Dungeon;
  }
  if (!ReadStrictNumber(Field(line, 5), parsed.bosses) || parsed.bosses < 0 || parsed.bosses > kMostBosses) {
    return GameLineFault::Bosses;
  }
  parsed.mode = mode;
  parsed.name = std::string(name);
  game = std::move(parsed);
  return GameLineFault::None;
}

bool ParseGameLine(std::string_view line, SubmittedGame& game) {
  return CheckGameLine(line, game) == GameLineFault::None;
}

bool ParseScoreLists(std::string_view reply, const std::array<CRanking*, 3>& lists, std::string& message) {
  for (CRanking* list : lists) list->Clear();
  int current = 0;
  bool messageCame = false;
  ForEachLine(reply, [&](std::string_view line) {
    const std::string_view keyword = Field(line, 1);
    if (keyword == "DIFF") {
      const std::int32_t mode = ReadNumber(Field(line, 2));
      if (mode >= 0 && mode <= 2) {
        current = mode;
      } else {
        LogError("Bad data encountered while parsing internet scores");
      }
    } else if (keyword == "msg") {
      message = std::string(Field(line, 2));
      messageCame = true;
    } else if (keyword == "add") {
      lists[static_cast<std::size_t>(current)]->AddScore(ReadNumber(Field(line, 3)),
                                                         ReadNumber(Field(line, 4)), ListName(Field(line, 2)),
                                                         ReadNumber(Field(line, 5)));
    }
  });
  return messageCame;
}

bool ParseScoreLists(std::string_view reply, CRanking (&lists)[3], std::string& message) {
  return ParseScoreLists(reply, {&lists[0], &lists[1], &lists[2]}, message);
}

std::string SubmitReplyMessage(std::string_view reply) {
  std::string message = "Error!";
  ForEachLine(reply, [&](std::string_view line) {
    if (Field(line, 1) == "msg") message = std::string(Field(line, 2));
  });
  return message;
}

}  // namespace spellcrypt
