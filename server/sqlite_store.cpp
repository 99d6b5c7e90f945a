// The SQLite store: one file in WAL mode. One connection writes (the group commit's), readers
// take connections of their own from a pool, so lists are read while a submission commits. The
// operator's edits go through a connection of their own, and another one only watches the file's
// data version for changes made by other connections and processes.
#include <fcntl.h>
#include <unistd.h>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "server/score_store.h"
#include "server/server_log.h"

namespace spellcrypt::server {

namespace {

// Made by the first server to open the file. A file made before entries could be hidden gets the
// column when opened (SetUpTable).
constexpr const char* kTable =
    "CREATE TABLE IF NOT EXISTS entries ("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  mode INTEGER NOT NULL,"
    "  name TEXT NOT NULL,"
    "  score INTEGER NOT NULL,"
    "  dungeon INTEGER NOT NULL,"
    "  bosses INTEGER NOT NULL,"
    "  summary TEXT NOT NULL,"
    "  submitted_at INTEGER NOT NULL,"
    "  address TEXT NOT NULL,"
    "  hidden INTEGER NOT NULL DEFAULT 0);";
// The lists and the places count the shown entries only, through an index that leads with the
// flag (a partial index would not cover the counts here); the operator's list goes through the
// first.
constexpr const char* kIndexes =
    "CREATE INDEX IF NOT EXISTS entries_rank ON entries (mode, score DESC, id);"
    "CREATE INDEX IF NOT EXISTS entries_shown ON entries (mode, hidden, score DESC, id);"
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
  Statement begin, commit, rollback, insert, rank, top, summary, entry, all, adminTop, hide, remove,
      dataVersion;
  // The connection closes once the statements (destroyed after this) are finalized.
  ~Connection() { sqlite3_close_v2(db); }
};

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Whether the entries table has the column.
bool HasColumn(sqlite3* db, const char* column, bool& has) {
  sqlite3_stmt* info = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA table_info(entries)", -1, &info, nullptr) != SQLITE_OK) return false;
  has = false;
  int step;
  while ((step = sqlite3_step(info)) == SQLITE_ROW) {
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
    if (name != nullptr && std::strcmp(name, column) == 0) has = true;
  }
  sqlite3_finalize(info);
  return step == SQLITE_DONE;
}

// Makes the table and its indexes, or brings an older file up to date, in one transaction (the
// operator's commands may open the file while the server starts).
bool SetUpTable(sqlite3* db) {
  if (!Exec(db, "BEGIN IMMEDIATE")) return false;
  bool hasHidden = false;
  const bool ok =
      Exec(db, kTable) && HasColumn(db, "hidden", hasHidden) &&
      (hasHidden || Exec(db, "ALTER TABLE entries ADD COLUMN hidden INTEGER NOT NULL DEFAULT 0")) &&
      Exec(db, kIndexes) && Exec(db, "COMMIT");
  if (!ok) Exec(db, "ROLLBACK");
  return ok;
}

// What a connection is for: the group commit's writes (it sets up the file), the operator's edits,
// or reading.
enum class Role { Writer, Editor, Reader };

class SqliteStore : public ScoreStore {
 public:
  explicit SqliteStore(std::string path) : path_(std::move(path)) {}
  ~SqliteStore() override {
    // The writer closes last, after folding the write-ahead log back into the database file: the
    // file alone (what a copy of it takes) then holds every entry. Read-only connections cannot do
    // that, so they must not be the last to close.
    readers_.Clear();
    watcher_.reset();
    editor_.reset();
    if (writer_ != nullptr) {
      sqlite3_busy_timeout(writer_->db, 2000);
      if (sqlite3_wal_checkpoint_v2(writer_->db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr) !=
          SQLITE_OK) {
        Report("folding the write-ahead log into the database", writer_->db);
      }
    }
    writer_.reset();
  }

  bool Open(std::string& error) {
    writer_ = Connect(Role::Writer, error);
    if (writer_ == nullptr) return false;
    watcher_ = Connect(Role::Reader, error);
    if (watcher_ == nullptr) return false;
    if (!DataVersion(lastVersion_)) {
      error = "cannot read the data version of " + path_ + ": " + sqlite3_errmsg(watcher_->db);
      return false;
    }
    return true;
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

  bool ListForAdmin(int mode, int limit, std::vector<AdminEntry>& entries) override {
    return Read([&](Connection& c) {
      sqlite3_stmt* s = c.adminTop.Use();
      sqlite3_bind_int(s, 1, mode);
      sqlite3_bind_int(s, 2, limit);
      entries.clear();
      int step;
      while ((step = sqlite3_step(s)) == SQLITE_ROW) {
        entries.push_back({ReadEntry(s), ColumnText(s, 8), sqlite3_column_int(s, 9) != 0});
      }
      return Done(step, c.db);
    });
  }

  Lookup SetHidden(std::int64_t id, bool hidden) override {
    return Edit([&](Connection& c) {
      sqlite3_stmt* s = c.hide.Use();
      sqlite3_bind_int64(s, 1, id);
      sqlite3_bind_int(s, 2, hidden ? 1 : 0);
      return s;
    });
  }

  Lookup Delete(std::int64_t id) override {
    return Edit([&](Connection& c) {
      sqlite3_stmt* s = c.remove.Use();
      sqlite3_bind_int64(s, 1, id);
      return s;
    });
  }

  bool Backup(const std::string& file, std::string& error) override {
    std::error_code same;
    if (std::filesystem::equivalent(file, path_, same)) {
      error = file + " is the database itself";
      return false;
    }
    // Written whole beside its place and renamed over it, so the file is never half a copy.
    std::string temporary = file + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
      error = "cannot make a file beside " + file + ": " + std::strerror(errno);
      return false;
    }
    ::close(fd);
    bool ok = CopyInto(temporary, error);
    if (ok && std::rename(temporary.c_str(), file.c_str()) != 0) {
      error = "cannot rename " + temporary + " to " + file + ": " + std::strerror(errno);
      ok = false;
    }
    if (!ok) {
      std::remove(temporary.c_str());
      std::remove((temporary + "-journal").c_str());
      return false;
    }
    // The rename itself reaches the disk with the folder.
    const std::string folder = std::filesystem::path(file).parent_path().string();
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return true;
  }

  bool ChangedElsewhere() override {
    std::lock_guard<std::mutex> hold(watchLock_);
    std::int64_t version = 0;
    if (!DataVersion(version)) return true;  // cannot tell: better read again
    const bool changed = version != lastVersion_;
    lastVersion_ = version;
    return changed;
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
    LogLine(std::string("SQLite error ") + what + ": " + sqlite3_errmsg(db));
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

  std::unique_ptr<Connection> Connect(Role role, std::string& error) {
    auto c = std::make_unique<Connection>();
    const int flags =
        (role == Role::Reader ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path_.c_str(), &c->db, flags, nullptr) != SQLITE_OK) {
      error = "cannot open " + path_ + ": " + (c->db != nullptr ? sqlite3_errmsg(c->db) : "out of memory");
      return nullptr;
    }
    sqlite3_busy_timeout(c->db, 10000);
    // WAL: readers never wait for the writer; FULL: every commit is on disk before it is answered.
    if (role != Role::Reader && !Exec(c->db, "PRAGMA synchronous=FULL")) {
      error = "cannot set up " + path_ + ": " + sqlite3_errmsg(c->db);
      return nullptr;
    }
    if (role == Role::Writer && (!Exec(c->db, "PRAGMA journal_mode=WAL") || !SetUpTable(c->db))) {
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
        c->rank.Prepare(
            c->db,
            "SELECT 1 + (SELECT count(*) FROM entries WHERE mode = ?1 AND hidden = 0 AND score > ?2)"
            " + (SELECT count(*) FROM entries WHERE mode = ?1 AND hidden = 0 AND score = ?2"
            " AND id < ?3)") &&
        c->top.Prepare(c->db,
                       "SELECT id, name, score, dungeon, bosses FROM entries WHERE mode = ?1 AND hidden = 0"
                       " ORDER BY score DESC, id LIMIT ?2") &&
        c->summary.Prepare(c->db,
                           "SELECT summary FROM entries WHERE name = ?1 AND score = ?2 AND hidden = 0"
                           " ORDER BY id LIMIT 1") &&
        c->entry.Prepare(c->db, "SELECT " + columns + " FROM entries WHERE id = ?1 AND hidden = 0") &&
        c->all.Prepare(c->db, "SELECT " + columns + " FROM entries ORDER BY id") &&
        c->adminTop.Prepare(c->db, "SELECT " + columns +
                                       ", address, hidden FROM entries WHERE mode = ?1"
                                       " ORDER BY score DESC, id LIMIT ?2") &&
        c->hide.Prepare(c->db, "UPDATE entries SET hidden = ?2 WHERE id = ?1") &&
        c->remove.Prepare(c->db, "DELETE FROM entries WHERE id = ?1") &&
        c->dataVersion.Prepare(c->db, "PRAGMA data_version");
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
      c = Connect(Role::Reader, error);
      if (c == nullptr) {
        LogLine("SQLite: " + error);
        return false;
      }
    }
    const bool ok = query(*c);
    readers_.Give(std::move(c));
    return ok;
  }

  // Runs the statement the function binds on the editing connection; Missing when it touched no
  // entry.
  template <typename Bind>
  Lookup Edit(Bind bind) {
    std::lock_guard<std::mutex> hold(editLock_);
    if (editor_ == nullptr) {
      std::string error;
      editor_ = Connect(Role::Editor, error);
      if (editor_ == nullptr) {
        LogLine("SQLite: " + error);
        return Lookup::Failed;
      }
    }
    if (!Step(bind(*editor_), editor_->db)) return Lookup::Failed;
    return sqlite3_changes(editor_->db) > 0 ? Lookup::Found : Lookup::Missing;
  }

  bool DataVersion(std::int64_t& version) {
    sqlite3_stmt* s = watcher_->dataVersion.Use();
    const int step = sqlite3_step(s);
    if (step == SQLITE_ROW) version = sqlite3_column_int64(s, 0);
    sqlite3_reset(s);
    if (step != SQLITE_ROW) Report("reading the data version", watcher_->db);
    return step == SQLITE_ROW;
  }

  // Copies the whole database, as one read transaction sees it, into the file.
  bool CopyInto(const std::string& file, std::string& error) {
    sqlite3* copy = nullptr;
    if (sqlite3_open_v2(file.c_str(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
      error = "cannot open " + file + ": " + (copy != nullptr ? sqlite3_errmsg(copy) : "out of memory");
      sqlite3_close_v2(copy);
      return false;
    }
    std::string why = "cannot read the database";
    bool copied = Read([&](Connection& c) {
      sqlite3_backup* backup = sqlite3_backup_init(copy, "main", c.db, "main");
      if (backup == nullptr) {
        why = sqlite3_errmsg(copy);
        return false;
      }
      // All pages in one step: one read transaction, so one consistent state, while the writer
      // goes on committing.
      const int step = sqlite3_backup_step(backup, -1);
      sqlite3_backup_finish(backup);
      if (step != SQLITE_DONE) why = sqlite3_errstr(step);
      return step == SQLITE_DONE;
    });
    // The copy stands alone, without a write-ahead log beside it.
    if (copied && !Exec(copy, "PRAGMA journal_mode=DELETE")) {
      why = sqlite3_errmsg(copy);
      copied = false;
    }
    if (!copied) error = "cannot copy " + path_ + " to " + file + ": " + why;
    if (sqlite3_close(copy) != SQLITE_OK && copied) {
      error = "cannot close " + file;
      copied = false;
    }
    return copied;
  }

  std::string path_;
  std::unique_ptr<Connection> writer_;
  ConnectionPool<Connection> readers_;
  std::mutex editLock_;
  std::unique_ptr<Connection> editor_;
  std::mutex watchLock_;
  std::unique_ptr<Connection> watcher_;
  std::int64_t lastVersion_ = 0;
};

}  // namespace

std::unique_ptr<ScoreStore> OpenSqliteStore(const std::string& path, std::string& error) {
  auto store = std::make_unique<SqliteStore>(path);
  if (!store->Open(error)) return nullptr;
  return store;
}

}  // namespace spellcrypt::server
