// The end-of-game summary: score, dungeon, difficulty, date, kills, word statistics, treasures and
// strong words, as lines for a text box. Which lines are wrapped is decided here; the wrapping
// itself belongs to the box.
#pragma once

#include <string>
#include <string_view>

namespace spellcrypt {

class PlayerRun;
class StringList;
struct RunRecord;

// Where the summary's lines go (the summary screen's text box, or a box that builds the stored form).
class ISummaryLines {
 public:
  virtual ~ISummaryLines() = default;
  // One line exactly as given.
  virtual void AddLine(const std::string& text) = 0;
  // The text word-wrapped to the box's width, a line break starting a new line.
  virtual void AddText(const std::string& text) = 0;
};

struct GameSummaryFacts {
  const RunRecord& record;
  // One entry per cleared dungeon, each shown as it is kept (wrapped).
  const StringList& treasures;
  const StringList& strongWords;
  std::string_view modeName;  // "Kidmode", "Normal", "Wizard" or "Unknown"
  std::string_view date;      // empty when the date could not be had
};

// Appends the whole summary. For storage (with a high score or a submission) the treasure section
// is left out.
void AppendGameSummary(ISummaryLines& out, const GameSummaryFacts& facts, bool forStorage);
void AppendGameSummary(ISummaryLines& out, const PlayerRun& player, std::string_view modeName,
                       std::string_view date, bool forStorage);

}  // namespace spellcrypt
