// The operator's commands over a store.
#include "server/admin_commands.h"

#include <sqlite3.h>

#include <ctime>

#include "base/difficulty.h"
#include "server/server_log.h"

namespace spellcrypt::server {

const char* const kAdminUsage =
    "       spellcrypt-server [options] admin list\n"
    "       spellcrypt-server [options] admin hide|unhide|delete ID\n"
    "       spellcrypt-server [options] backup FILE\n";

namespace {

// How many entries of each difficulty `admin list` shows.
constexpr int kAdminListLength = 100;

int Usage(std::FILE* err) {
  std::fprintf(err, "usage:%s", kAdminUsage + 6);  // the first line without its indent
  return 2;
}

// An entry's id: a positive decimal without sign that fits.
bool ReadId(const std::string& text, std::int64_t& id) {
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value == 0 || value > static_cast<std::uint64_t>(INT64_MAX)) return false;
  id = static_cast<std::int64_t>(value);
  return true;
}

std::string UtcDate(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  char text[32];
  if (gmtime_r(&time, &parts) == nullptr ||
      std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts) == 0)
    return std::to_string(seconds);
  return text;
}

int List(ScoreStore& store, std::FILE* out, std::FILE* err) {
  std::fprintf(out, "id\tdifficulty\tplace\tname\tscore\tdungeon\tbosses\tdate\taddress\tstate\n");
  for (int mode = 0; mode < kDifficultyCount; ++mode) {
    std::vector<AdminEntry> entries;
    if (!store.ListForAdmin(mode, kAdminListLength, entries)) {
      std::fprintf(err, "cannot read the %s entries\n", DifficultyName(mode));
      return 1;
    }
    // The place players see: hidden entries take none.
    std::int64_t place = 0;
    for (const AdminEntry& e : entries) {
      const StoredEntry& s = e.entry;
      const std::string shownPlace = e.hidden ? "-" : std::to_string(++place);
      std::fprintf(out, "%lld\t%s\t%s\t%s\t%d\t%d\t%d\t%s\t%s\t%s\n", static_cast<long long>(s.id),
                   DifficultyName(mode), shownPlace.c_str(), TerminalText(s.name).c_str(), s.score, s.dungeon,
                   s.bosses, UtcDate(s.submittedAt).c_str(), TerminalText(e.address).c_str(),
                   e.hidden ? "hidden" : "shown");
    }
  }
  return 0;
}

int Edit(ScoreStore& store, const std::string& action, std::int64_t id, std::FILE* out, std::FILE* err) {
  const Lookup result = action == "delete" ? store.Delete(id) : store.SetHidden(id, action == "hide");
  switch (result) {
    case Lookup::Found:
      std::fprintf(out, "entry %lld %s\n", static_cast<long long>(id),
                   action == "hide"     ? "hidden"
                   : action == "unhide" ? "unhidden"
                                        : "deleted");
      return 0;
    case Lookup::Missing:
      std::fprintf(err, "no entry %lld\n", static_cast<long long>(id));
      return 1;
    case Lookup::Failed:
      break;
  }
  std::fprintf(err, "cannot %s entry %lld: the database failed\n", action.c_str(),
               static_cast<long long>(id));
  return 1;
}

// The entries in an SQLite file (the only kind of backup the stores make), read as any other
// program would: a copy that does not read is no backup.
bool CountEntries(const std::string& file, std::int64_t& count, std::string& error) {
  sqlite3* db = nullptr;
  sqlite3_stmt* query = nullptr;
  bool ok = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, "SELECT count(*) FROM entries", -1, &query, nullptr) == SQLITE_OK &&
            sqlite3_step(query) == SQLITE_ROW;
  if (ok) count = sqlite3_column_int64(query, 0);
  if (!ok) error = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
  sqlite3_finalize(query);
  sqlite3_close(db);
  return ok;
}

int Backup(ScoreStore& store, const std::string& file, std::FILE* out, std::FILE* err) {
  std::string error;
  std::int64_t count = 0;
  if (!store.Backup(file, error)) {
    std::fprintf(err, "cannot back up: %s\n", error.c_str());
    return 1;
  }
  if (!CountEntries(file, count, error)) {
    std::fprintf(err, "the backup %s does not read: %s\n", file.c_str(), error.c_str());
    return 1;
  }
  std::fprintf(out, "backed up %lld entries to %s\n", static_cast<long long>(count), file.c_str());
  return 0;
}

}  // namespace

bool IsAdminCommand(std::string_view word) { return word == "admin" || word == "backup"; }

int RunAdminCommand(ScoreStore& store, const std::vector<std::string>& words, std::FILE* out,
                    std::FILE* err) {
  if (words.size() == 2 && words[0] == "backup" && !words[1].empty())
    return Backup(store, words[1], out, err);
  if (words.size() < 2 || words[0] != "admin") return Usage(err);
  const std::string& action = words[1];
  if (action == "list" && words.size() == 2) return List(store, out, err);
  std::int64_t id = 0;
  if ((action == "hide" || action == "unhide" || action == "delete") && words.size() == 3 &&
      ReadId(words[2], id))
    return Edit(store, action, id, out, err);
  return Usage(err);
}

}  // namespace spellcrypt::server
