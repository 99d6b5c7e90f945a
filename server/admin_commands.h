// The operator's commands, run by the server program in place of serving while another server may
// be serving the same database:
//   admin list                   every difficulty's best 100 entries, hidden ones too
//   admin hide|unhide|delete ID  takes an entry out of the rankings, puts it back, or removes it
//   backup FILE                  a consistent copy of the SQLite database, taken while in use
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "server/score_store.h"

namespace spellcrypt::server {

// The commands' usage lines, for the program's usage.
extern const char* const kAdminUsage;

// Whether a word (the first after the program's options) starts one of the commands.
bool IsAdminCommand(std::string_view word);

// Runs `admin list|hide ID|unhide ID|delete ID` or `backup FILE` (words = what follows the
// program's options, e.g. {"admin","hide","42"}). Writes results to out, errors to err.
// Answers the exit status: 0 done, 1 failed (store error, no such entry), 2 usage.
int RunAdminCommand(ScoreStore& store, const std::vector<std::string>& words, std::FILE* out, std::FILE* err);

}  // namespace spellcrypt::server
