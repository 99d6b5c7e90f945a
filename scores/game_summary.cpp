// The lines of the end-of-game summary, in the order the player reads them.
#include "scores/game_summary.h"

#include <cstdarg>
#include <cstdio>

#include "base/text_util.h"
#include "game/player_run.h"
#include "game/run_record.h"
#include "words/string_list.h"

namespace spellcrypt {

namespace {

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

std::string Thousands(std::int32_t value) { return FormatThousands(value, 0); }

}  // namespace

void AppendGameSummary(ISummaryLines& out, const GameSummaryFacts& facts, bool forStorage) {
  const RunRecord& r = facts.record;
  out.AddText("Score: " + Thousands(r.score));
  out.AddLine(Format("Dungeon: %d", r.dungeon));
  out.AddLine("Difficulty Mode: " + std::string(facts.modeName));
  out.AddText("Date: " + (facts.date.empty() ? std::string("Unknown") : std::string(facts.date)));
  out.AddLine(Format("Bosses Slain: %d", r.bossesSlain));
  out.AddLine("Monsters Vanquished: " + Thousands(r.monstersVanquished));
  out.AddLine("Oracles Summoned: " + Thousands(r.oraclesSummoned));
  out.AddLine("");
  out.AddLine("- Word Statistics -");
  out.AddLine("");
  for (int n = 3; n <= 8; ++n)
    out.AddText(Format("%d letter words made: ", n) + Thousands(r.wordsByLength[n - 3]));
  out.AddLine("");
  out.AddLine("Total words created: " + Thousands(r.totalWords));
  out.AddLine(r.totalWords < 1 ? std::string("Average word length: None")
                               : Format("Average word length: %d", r.totalLetters / r.totalWords));
  out.AddText("Strongest Word: " + Thousands(r.strongestDamage) + " damage");
  out.AddLine("");
  if (!forStorage) {
    if (facts.treasures.Count() > 0) {
      out.AddLine("- Treasures Found -");
      out.AddLine("");
      for (const std::string& treasure : facts.treasures.Strings()) out.AddText(treasure);
    } else {
      out.AddLine("No treasure found.");
    }
    out.AddLine("");
  }
  if (facts.strongWords.Count() > 0) {
    out.AddLine("- strong words used -");
    out.AddLine("");
    for (const std::string& word : facts.strongWords.Strings()) out.AddText(word);
  }
}

void AppendGameSummary(ISummaryLines& out, const PlayerRun& player, std::string_view modeName,
                       std::string_view date, bool forStorage) {
  AppendGameSummary(
      out, GameSummaryFacts{player.record, player.treasures, player.strongWords, modeName, date}, forStorage);
}

}  // namespace spellcrypt
