// The SQLite store: one file in WAL mode. One connection writes (the group commit's), readers
// take connections of their own from a pool, so lists are read while a submission commits.
#include <sqlite3.h>

#include <cstdio>

#include "server/score_store.h"

namespace spellcrypt::server {

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS entries ("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  mode INTEGER NOT NULL,"
    "  name TEXT NOT NULL,"
    "  score INTEGER NOT NULL,"
    "  dungeon INTEGER NOT NULL,"
    "  bosses INTEGER NOT NULL,"
    "  summary TEXT NOT NULL,"
    "  submitted_at INTEGER NOT NULL,"
    "  address TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS entries_rank ON entries (mode, score DESC, id);"
    "CREATE INDEX IF NOT EXISTS entries_name_score ON entries (name, score, id);";

constexpr const char* kColumns = "id, mode, name, score, dungeon, bosses, summary, submitted_at";

// A statement prepared once per connection, reset after every use.
class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(statement_); }
  bool Prepare(sqlite3* db, const std::string& sql) {
    return sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) ==
           SQLITE_OK;
  }
  sqlite3_stmt* Use() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    return statement_;
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text != nullptr
             ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
             : std::string();
}

StoredEntry ReadEntry(sqlite3_stmt* row) {
  StoredEntry entry;
  entry.id = sqlite3_column_int64(row, 0);
  entry.mode = sqlite3_column_int(row, 1);
  entry.name = ColumnText(row, 2);
  entry.score = sqlite3_column_int(row, 3);
  entry.dungeon = sqlite3_column_int(row, 4);
  entry.bosses = sqlite3_column_int(row, 5);
  entry.summary = ColumnText(row, 6);
  entry.submittedAt = sqlite3_column_int64(row, 7);
  return entry;
}

// One connection and the statements it runs.
struct Connection {
  sqlite3* db = nullptr;
  Statement begin, commit, rollback, insert, rank, top, summary, entry, all;
  // The connection closes once the statements (destroyed after this) are finalized.
  ~Connection() { sqlite3_close_v2(db); }
};

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

class SqliteStore : public ScoreStore {
 public:
  explicit SqliteStore(std::string path) : path_(std::move(path)) {}
  ~SqliteStore() override {
    // Folds the write-ahead log back into the database file as the last connection closes.
    writer_.reset();
  }

  bool Open(std::string& error) {
    writer_ = Connect(false, error);
    return writer_ != nullptr;
  }

  bool Top(int mode, int limit, std::vector<ListEntry>& entries) override {
    return Read([&](Connection& c) {
      sqlite3_stmt* s = c.top.Use();
      sqlite3_bind_int(s, 1, mode);
      sqlite3_bind_int(s, 2, limit);
      entries.clear();
      int step;
      while ((step = sqlite3_step(s)) == SQLITE_ROW) {
        entries.push_back({sqlite3_column_int64(s, 0), ColumnText(s, 1), sqlite3_column_int(s, 2),
                           sqlite3_column_int(s, 3), sqlite3_column_int(s, 4)});
      }
      return Done(step, c.db);
    });
  }

  Lookup SummaryOf(const std::string& name, std::int32_t score, std::string& summary) override {
    Lookup result = Lookup::Failed;
    Read([&](Connection& c) {
      sqlite3_stmt* s = c.summary.Use();
      BindText(s, 1, name);
      sqlite3_bind_int(s, 2, score);
      const int step = sqlite3_step(s);
      if (step == SQLITE_ROW) summary = ColumnText(s, 0);
      sqlite3_reset(s);  // ends the read transaction
      result = step == SQLITE_ROW ? Lookup::Found : step == SQLITE_DONE ? Lookup::Missing : Lookup::Failed;
      return Done(step == SQLITE_ROW ? SQLITE_DONE : step, c.db);
    });
    return result;
  }

  Lookup Entry(std::int64_t id, StoredEntry& entry) override {
    Lookup result = Lookup::Failed;
    Read([&](Connection& c) {
      sqlite3_stmt* s = c.entry.Use();
      sqlite3_bind_int64(s, 1, id);
      const int step = sqlite3_step(s);
      if (step == SQLITE_ROW) entry = ReadEntry(s);
      sqlite3_reset(s);
      result = step == SQLITE_ROW ? Lookup::Found : step == SQLITE_DONE ? Lookup::Missing : Lookup::Failed;
      return Done(step == SQLITE_ROW ? SQLITE_DONE : step, c.db);
    });
    return result;
  }

  bool All(std::vector<StoredEntry>& entries) override {
    return Read([&](Connection& c) {
      sqlite3_stmt* s = c.all.Use();
      entries.clear();
      int step;
      while ((step = sqlite3_step(s)) == SQLITE_ROW) entries.push_back(ReadEntry(s));
      return Done(step, c.db);
    });
  }

 protected:
  bool WriteBatch(const std::vector<Pending*>& batch) override {
    Connection& c = *writer_;
    if (!Step(c.begin.Use(), c.db)) return false;
    bool ok = true;
    for (Pending* pending : batch) {
      const Submission& sub = *pending->submission;
      sqlite3_stmt* insert = c.insert.Use();
      sqlite3_bind_int(insert, 1, sub.game.mode);
      BindText(insert, 2, sub.game.name);
      sqlite3_bind_int(insert, 3, sub.game.score);
      sqlite3_bind_int(insert, 4, sub.game.dungeon);
      sqlite3_bind_int(insert, 5, sub.game.bosses);
      BindText(insert, 6, sub.summary);
      sqlite3_bind_int64(insert, 7, sub.submittedAt);
      BindText(insert, 8, sub.address);
      if (!Step(insert, c.db)) {
        ok = false;
        break;
      }
      pending->placement.id = sqlite3_last_insert_rowid(c.db);
      sqlite3_stmt* rank = c.rank.Use();
      sqlite3_bind_int(rank, 1, sub.game.mode);
      sqlite3_bind_int(rank, 2, sub.game.score);
      sqlite3_bind_int64(rank, 3, pending->placement.id);
      if (sqlite3_step(rank) != SQLITE_ROW) {
        Report("ranking a submission", c.db);
        ok = false;
        break;
      }
      pending->placement.rank = sqlite3_column_int64(rank, 0);
      sqlite3_reset(rank);
    }
    if (ok && Step(c.commit.Use(), c.db)) return true;
    Step(c.rollback.Use(), c.db);
    return false;
  }

 private:
  static void Report(const char* what, sqlite3* db) {
    std::fprintf(stderr, "SQLite error %s: %s\n", what, sqlite3_errmsg(db));
  }
  static bool Done(int step, sqlite3* db) {
    if (step == SQLITE_DONE) return true;
    Report("reading", db);
    return false;
  }
  static bool Step(sqlite3_stmt* statement, sqlite3* db) {
    const int step = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (step == SQLITE_DONE || step == SQLITE_ROW) return true;
    Report("writing", db);
    return false;
  }

  std::unique_ptr<Connection> Connect(bool reader, std::string& error) {
    auto c = std::make_unique<Connection>();
    const int flags =
        (reader ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path_.c_str(), &c->db, flags, nullptr) != SQLITE_OK) {
      error = "cannot open " + path_ + ": " + (c->db != nullptr ? sqlite3_errmsg(c->db) : "out of memory");
      return nullptr;
    }
    sqlite3_busy_timeout(c->db, 10000);
    // WAL: readers never wait for the writer; FULL: every commit is on disk before it is answered.
    if (!reader && (!Exec(c->db, "PRAGMA journal_mode=WAL") || !Exec(c->db, "PRAGMA synchronous=FULL") ||
                    !Exec(c->db, kSchema))) {
      error = "cannot set up " + path_ + ": " + sqlite3_errmsg(c->db);
      return nullptr;
    }
    const std::string columns = kColumns;
    const bool prepared =
        c->begin.Prepare(c->db, "BEGIN IMMEDIATE") && c->commit.Prepare(c->db, "COMMIT") &&
        c->rollback.Prepare(c->db, "ROLLBACK") &&
        c->insert.Prepare(
            c->db,
            "INSERT INTO entries (mode, name, score, dungeon, bosses, summary, submitted_at, address) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)") &&
        c->rank.Prepare(c->db,
                        "SELECT 1 + (SELECT count(*) FROM entries WHERE mode = ?1 AND score > ?2)"
                        " + (SELECT count(*) FROM entries WHERE mode = ?1 AND score = ?2 AND id < ?3)") &&
        c->top.Prepare(c->db,
                       "SELECT id, name, score, dungeon, bosses FROM entries WHERE mode = ?1"
                       " ORDER BY score DESC, id LIMIT ?2") &&
        c->summary.Prepare(
            c->db, "SELECT summary FROM entries WHERE name = ?1 AND score = ?2 ORDER BY id LIMIT 1") &&
        c->entry.Prepare(c->db, "SELECT " + columns + " FROM entries WHERE id = ?1") &&
        c->all.Prepare(c->db, "SELECT " + columns + " FROM entries ORDER BY id");
    if (!prepared) {
      error = "cannot prepare the queries on " + path_ + ": " + sqlite3_errmsg(c->db);
      return nullptr;
    }
    return c;
  }

  template <typename Query>
  bool Read(Query query) {
    std::unique_ptr<Connection> c = readers_.Take();
    if (c == nullptr) {
      std::string error;
      c = Connect(true, error);
      if (c == nullptr) {
        std::fprintf(stderr, "SQLite: %s\n", error.c_str());
        return false;
      }
    }
    const bool ok = query(*c);
    readers_.Give(std::move(c));
    return ok;
  }

  std::string path_;
  std::unique_ptr<Connection> writer_;
  ConnectionPool<Connection> readers_;
};

}  // namespace

std::unique_ptr<ScoreStore> OpenSqliteStore(const std::string& path, std::string& error) {
  auto store = std::make_unique<SqliteStore>(path);
  if (!store->Open(error)) return nullptr;
  return store;
}

}  // namespace spellcrypt::server
