// The web pages of the rankings.
#include "server/web_page.h"

#include <ctime>
#include <optional>

#include "base/difficulty.h"
#include "base/text_util.h"
#include "scores/strong_words.h"

namespace spellcrypt::server {

namespace {

constexpr const char* kStyle = R"(
:root { color-scheme: dark; }
* { box-sizing: border-box; }
body { margin: 0; min-height: 100vh; font-family: Georgia, "DejaVu Serif", serif; color: #e8dcc0;
  background: radial-gradient(ellipse at top, #2b2236 0%, #17121d 55%, #0d0a10 100%) fixed; }
main { max-width: 760px; margin: 0 auto; padding: 28px 18px 48px; }
h1 { margin: 0 0 4px; text-align: center; font-size: 2.3em; letter-spacing: .08em; color: #f0c46a;
  text-shadow: 0 0 18px rgba(240, 160, 60, .45), 0 2px 0 #000; }
.tagline { text-align: center; margin: 0 0 26px; color: #a99a80; font-style: italic; }
nav { display: flex; justify-content: center; gap: 6px; }
nav a { padding: 9px 22px; border: 1px solid #5a4630; border-bottom: none; border-radius: 8px 8px 0 0;
  background: #241c2b; color: #c8b48c; text-decoration: none; font-weight: bold; letter-spacing: .04em; }
nav a:hover { color: #f0c46a; }
nav a.current { background: #32263a; color: #f0c46a; box-shadow: inset 0 3px 0 #c0823a; }
.panel { background: rgba(50, 38, 58, .92); border: 1px solid #5a4630; border-radius: 10px;
  box-shadow: 0 10px 40px rgba(0, 0, 0, .6), inset 0 0 40px rgba(0, 0, 0, .35); padding: 14px 18px; }
table { width: 100%; border-collapse: collapse; font-variant-numeric: tabular-nums; }
th { text-align: left; color: #c0823a; font-size: .8em; text-transform: uppercase; letter-spacing: .12em;
  padding: 8px 8px; border-bottom: 1px solid #5a4630; }
td { padding: 7px 8px; border-bottom: 1px solid rgba(90, 70, 48, .35); }
tr:nth-child(even) td { background: rgba(0, 0, 0, .13); }
tbody tr:hover td { background: rgba(240, 196, 106, .08); }
.num { text-align: right; white-space: nowrap; }
.rank { width: 3em; color: #a99a80; }
tr.gold .rank { color: #f0c46a; } tr.silver .rank { color: #d6d6e0; } tr.bronze .rank { color: #d08c4f; }
td a { color: #eadbb8; text-decoration: none; border-bottom: 1px dotted #7a6648; }
td a:hover { color: #f0c46a; border-bottom-color: #f0c46a; }
.score { color: #f0c46a; font-weight: bold; }
.empty { text-align: center; padding: 34px 0; color: #a99a80; font-style: italic; }
dl { display: grid; grid-template-columns: max-content 1fr; gap: 6px 18px; margin: 4px 0 16px; }
dt { color: #c0823a; } dd { margin: 0; }
pre { white-space: pre-wrap; word-break: break-word; background: #1a141f; border: 1px solid #4a3a2a;
  border-radius: 6px; padding: 14px; font-family: "DejaVu Sans Mono", monospace; font-size: .92em;
  color: #ddd0b4; }
.back { display: inline-block; margin-top: 16px; color: #c8b48c; }
.play { text-align: center; margin: -8px 0 22px; }
.play a { display: inline-block; padding: 8px 24px; border: 1px solid #c0823a; border-radius: 20px;
  background: linear-gradient(#4a3420, #2a1d12); color: #f0c46a; font-weight: bold; letter-spacing: .05em;
  text-decoration: none; box-shadow: 0 0 16px rgba(240, 160, 60, .25); }
.play a:hover { color: #fff0c8; box-shadow: 0 0 22px rgba(240, 160, 60, .45); }
h2 { margin: 18px 0 8px; font-size: 1.1em; color: #f0c46a; letter-spacing: .04em; }
dl.meanings dd { color: #ddd0b4; }
dl.meanings i { color: #a99a80; }
footer { margin-top: 22px; text-align: center; color: #7d705c; font-size: .85em; }
)";

void AppendHead(std::string& page, std::string_view title) {
  page += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  page += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  page += HtmlEscape(title);
  page += "</title>\n<style>";
  page += kStyle;
  page += "</style>\n</head>\n<body>\n<main>\n<h1>Spellcrypt</h1>\n";
  page += "<p class=\"tagline\">The hall of heroes who spelled their way through the crypts</p>\n";
}

void AppendTail(std::string& page) {
  page += "<footer>Scores are sent from the game at the end of a run.</footer>\n</main>\n</body>\n</html>\n";
}

void AppendTabs(std::string& page, int current) {
  page += "<nav>";
  for (int mode = 0; mode < kDifficultyCount; ++mode) {
    page += "<a href=\"/?mode=" + std::to_string(mode) + "\"";
    if (mode == current) page += " class=\"current\" aria-current=\"page\"";
    page += ">";
    page += DifficultyName(mode);
    page += "</a>";
  }
  page += "</nav>\n";
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string GroupedDigits(std::int64_t number) { return FormatThousands(static_cast<double>(number), 0); }

std::string RankingsPage(int mode, const std::vector<ListEntry>& entries, bool playable) {
  std::string page;
  page.reserve(2048 + entries.size() * 220);
  AppendHead(page, std::string("Spellcrypt rankings: ") + DifficultyName(mode));
  if (playable) page += "<p class=\"play\"><a href=\"/play/\">Play in your browser</a></p>\n";
  AppendTabs(page, mode);
  page += "<div class=\"panel\">\n";
  if (entries.empty()) {
    page += "<p class=\"empty\">No hero has inscribed his or her name here yet.</p>\n";
  } else {
    page +=
        "<table>\n<thead><tr><th class=\"num\">#</th><th>Name</th><th class=\"num\">Dungeon</th>"
        "<th class=\"num\">Bosses</th><th class=\"num\">Score</th></tr></thead>\n<tbody>\n";
    static constexpr const char* kPodium[3] = {" class=\"gold\"", " class=\"silver\"", " class=\"bronze\""};
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const ListEntry& e = entries[i];
      page += "<tr";
      if (i < 3) page += kPodium[i];
      page += "><td class=\"num rank\">" + std::to_string(i + 1) +
              "</td><td><a href=\"/entry?id=" + std::to_string(e.id) + "\">" +
              (e.name.empty() ? std::string("(nameless)") : HtmlEscape(e.name)) +
              "</a></td><td class=\"num\">" + std::to_string(e.dungeon) + "</td><td class=\"num\">" +
              std::to_string(e.bosses) + "</td><td class=\"num score\">" + GroupedDigits(e.score) +
              "</td></tr>\n";
    }
    page += "</tbody>\n</table>\n";
  }
  page += "</div>\n";
  AppendTail(page);
  return page;
}

std::string EntryPage(const StoredEntry& entry, const Meanings* meanings) {
  std::string page;
  const std::string name = entry.name.empty() ? std::string("(nameless)") : entry.name;
  AppendHead(page, "Spellcrypt: " + name);
  AppendTabs(page, entry.mode);
  page += "<div class=\"panel\">\n<dl>";
  page += "<dt>Name</dt><dd>" + HtmlEscape(name) + "</dd>";
  page += "<dt>Difficulty</dt><dd>" + std::string(DifficultyName(entry.mode)) + "</dd>";
  page += "<dt>Score</dt><dd class=\"score\">" + GroupedDigits(entry.score) + "</dd>";
  page += "<dt>Dungeon</dt><dd>" + std::to_string(entry.dungeon) + "</dd>";
  page += "<dt>Bosses slain</dt><dd>" + std::to_string(entry.bosses) + "</dd>";
  const std::time_t when = static_cast<std::time_t>(entry.submittedAt);
  std::tm utc{};
  char date[64] = "";
  if (gmtime_r(&when, &utc) != nullptr) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", &utc);
  page += "<dt>Submitted</dt><dd>" + std::string(date) + "</dd></dl>\n";
  page += "<pre>" + HtmlEscape(entry.summary) + "</pre>\n";
  if (meanings != nullptr) {
    std::string list;
    for (const std::string& word : StrongWordsOf(entry.summary)) {
      const std::optional<Meaning> meaning = meanings->Find(word);
      if (!meaning) continue;
      list += "<dt>" + HtmlEscape(word) + "</dt><dd>";
      if (meaning->derived || meaning->base != word) list += "(" + HtmlEscape(meaning->base) + ") ";
      list += "<i>" + std::string(PartOfSpeechName(meaning->first.pos)) + "</i> " +
              HtmlEscape(meaning->first.gloss);
      if (meaning->second) {
        list += "; <i>" + std::string(PartOfSpeechName(meaning->second->pos)) + "</i> " +
                HtmlEscape(meaning->second->gloss);
      }
      list += "</dd>";
    }
    if (!list.empty()) page += "<h2>The strong words</h2>\n<dl class=\"meanings\">" + list + "</dl>\n";
  }
  page += "<a class=\"back\" href=\"/?mode=" + std::to_string(entry.mode) +
          "\">&larr; Back to the rankings</a>\n";
  page += "</div>\n";
  AppendTail(page);
  return page;
}

std::string MessagePage(std::string_view title, std::string_view text) {
  std::string page;
  AppendHead(page, title);
  AppendTabs(page, -1);
  page += "<div class=\"panel\"><p class=\"empty\">" + HtmlEscape(text) + "</p></div>\n";
  AppendTail(page);
  return page;
}

}  // namespace spellcrypt::server
