// The rankings as web pages: one page per difficulty (tabs that are plain links, so no script is
// needed) and one page per entry with its game summary. Every text a player sent is escaped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/score_store.h"
#include "words/meanings.h"

namespace spellcrypt::server {

// &, <, >, " and ' as character references.
std::string HtmlEscape(std::string_view text);
// "12,345,678".
std::string GroupedDigits(std::int64_t number);

// The page of a difficulty's rankings (entries best first).
std::string RankingsPage(int mode, const std::vector<ListEntry>& entries, bool playable = false);
// The page of one entry; with meanings, its summary's strong words are listed with theirs.
std::string EntryPage(const StoredEntry& entry, const Meanings* meanings = nullptr);
// A page that says something went wrong (already plain text; it is escaped here).
std::string MessagePage(std::string_view title, std::string_view text);

}  // namespace spellcrypt::server
