// The PostgreSQL store, for several server processes sharing one database. Each process writes
// submissions through one connection (its group commit's) and reads, and makes the operator's
// edits, through a pool; every query is prepared once per connection and run with its values as
// parameters.
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "server/score_store.h"
#include "server/server_log.h"

namespace spellcrypt::server {

namespace {

// Made by the first process to find the table missing; the advisory lock, held until the change
// has committed, keeps two processes starting together from racing. A table made before entries
// could be hidden gets the column, and the shown entries their index. Each step that changes the
// table runs only when needed: the locks it takes would otherwise make every start wait for, and
// hold up, the other processes.
constexpr const char* kSchema =
    "SET client_min_messages = warning;"
    "SELECT pg_advisory_lock(7716077);"
    "BEGIN;"
    "CREATE TABLE IF NOT EXISTS entries ("
    "  id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
    "  mode SMALLINT NOT NULL,"
    "  name TEXT NOT NULL,"
    "  score INTEGER NOT NULL,"
    "  dungeon INTEGER NOT NULL,"
    "  bosses INTEGER NOT NULL,"
    "  summary TEXT NOT NULL,"
    "  submitted_at BIGINT NOT NULL,"
    "  address TEXT NOT NULL,"
    "  hidden BOOLEAN NOT NULL DEFAULT false);"
    "DO $$ BEGIN"
    "  IF NOT EXISTS (SELECT 1 FROM pg_attribute WHERE attrelid = 'entries'::regclass"
    "                 AND attname = 'hidden' AND NOT attisdropped) THEN"
    "    ALTER TABLE entries ADD COLUMN IF NOT EXISTS hidden BOOLEAN NOT NULL DEFAULT false;"
    "  END IF;"
    "  IF to_regclass('entries_rank') IS NULL THEN"
    "    CREATE INDEX IF NOT EXISTS entries_rank ON entries (mode, score DESC, id);"
    "  END IF;"
    "  IF to_regclass('entries_shown') IS NULL THEN"
    "    CREATE INDEX IF NOT EXISTS entries_shown ON entries (mode, score DESC, id) WHERE NOT hidden;"
    "  END IF;"
    "  IF to_regclass('entries_name_score') IS NULL THEN"
    "    CREATE INDEX IF NOT EXISTS entries_name_score ON entries (name, score, id);"
    "  END IF;"
    "END $$;"
    "COMMIT;"
    "SELECT pg_advisory_unlock(7716077);";

constexpr const char* kColumns = "id, mode, name, score, dungeon, bosses, summary, submitted_at";

struct Query {
  const char* name;
  std::string sql;
  int params;
};

const std::vector<Query>& Queries() {
  static const std::vector<Query> queries = {
      {"insert",
       "INSERT INTO entries (mode, name, score, dungeon, bosses, summary, submitted_at, address) "
       "VALUES ($1, $2, $3, $4, $5, $6, $7, $8) RETURNING id",
       8},
      {"rank",
       "SELECT 1 + (SELECT count(*) FROM entries WHERE mode = $1 AND NOT hidden AND score > $2)"
       " + (SELECT count(*) FROM entries WHERE mode = $1 AND NOT hidden AND score = $2 AND id < $3)",
       3},
      {"top",
       "SELECT id, name, score, dungeon, bosses FROM entries WHERE mode = $1 AND NOT hidden"
       " ORDER BY score DESC, id LIMIT $2",
       2},
      {"summary",
       "SELECT summary FROM entries WHERE name = $1 AND score = $2 AND NOT hidden ORDER BY id LIMIT 1", 2},
      {"entry", std::string("SELECT ") + kColumns + " FROM entries WHERE id = $1 AND NOT hidden", 1},
      {"all", std::string("SELECT ") + kColumns + " FROM entries ORDER BY id", 0},
      {"admin_top",
       std::string("SELECT ") + kColumns +
           ", address, hidden FROM entries WHERE mode = $1 ORDER BY score DESC, id LIMIT $2",
       2},
      {"hide", "UPDATE entries SET hidden = $2 WHERE id = $1 RETURNING id", 2},
      {"delete", "DELETE FROM entries WHERE id = $1 RETURNING id", 1},
  };
  return queries;
}

// A result that clears itself.
class Result {
 public:
  explicit Result(PGresult* result) : result_(result) {}
  Result(Result&& other) noexcept : result_(std::exchange(other.result_, nullptr)) {}
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  ~Result() { PQclear(result_); }
  bool Ok() const {
    const ExecStatusType status = PQresultStatus(result_);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
  }
  int Rows() const { return PQntuples(result_); }
  std::string Text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column),
                       static_cast<std::size_t>(PQgetlength(result_, row, column)));
  }
  std::int64_t Number(int row, int column) const {
    return std::strtoll(PQgetvalue(result_, row, column), nullptr, 10);
  }

 private:
  PGresult* result_;
};

struct Connection {
  PGconn* conn = nullptr;
  ~Connection() { PQfinish(conn); }

  // Runs a prepared query with text parameters. A broken connection is reset for the next use.
  Result Run(const char* name, const std::vector<std::string>& values) {
    std::vector<const char*> pointers;
    std::vector<int> lengths;
    for (const std::string& value : values) {
      pointers.push_back(value.c_str());
      lengths.push_back(static_cast<int>(value.size()));
    }
    Result result(PQexecPrepared(conn, name, static_cast<int>(values.size()), pointers.data(), lengths.data(),
                                 nullptr, 0));
    if (!result.Ok()) Report(name);
    return result;
  }
  bool Plain(const char* sql) {
    Result result(PQexec(conn, sql));
    if (!result.Ok()) Report(sql);
    return result.Ok();
  }
  void Report(const char* what) {
    std::string message = PQerrorMessage(conn);
    while (!message.empty() && message.back() == '\n') message.pop_back();
    LogLine(std::string("PostgreSQL error in ") + what + ": " + TerminalText(message));
    if (PQstatus(conn) == CONNECTION_BAD) {
      PQreset(conn);
      if (PQstatus(conn) == CONNECTION_OK) Prepare();
    }
  }
  bool Prepare() {
    for (const Query& query : Queries()) {
      Result result(PQprepare(conn, query.name, query.sql.c_str(), query.params, nullptr));
      if (!result.Ok()) return false;
    }
    return true;
  }
};

StoredEntry ReadEntry(const Result& r, int row) {
  StoredEntry entry;
  entry.id = r.Number(row, 0);
  entry.mode = static_cast<int>(r.Number(row, 1));
  entry.name = r.Text(row, 2);
  entry.score = static_cast<std::int32_t>(r.Number(row, 3));
  entry.dungeon = static_cast<std::int32_t>(r.Number(row, 4));
  entry.bosses = static_cast<std::int32_t>(r.Number(row, 5));
  entry.summary = r.Text(row, 6);
  entry.submittedAt = r.Number(row, 7);
  return entry;
}

class PostgresStore : public ScoreStore {
 public:
  explicit PostgresStore(std::string connection) : connection_(std::move(connection)) {}

  bool Open(std::string& error) {
    writer_ = Connect(error);
    if (writer_ == nullptr) return false;
    if (!writer_->Plain(kSchema) || !writer_->Prepare()) {
      error = std::string("cannot set up the table: ") + PQerrorMessage(writer_->conn);
      return false;
    }
    database_ = PQdb(writer_->conn);
    return true;
  }

  bool Top(int mode, int limit, std::vector<ListEntry>& entries) override {
    return Read([&](Connection& c) {
      Result r = c.Run("top", {std::to_string(mode), std::to_string(limit)});
      if (!r.Ok()) return false;
      entries.clear();
      for (int row = 0; row < r.Rows(); ++row) {
        entries.push_back({r.Number(row, 0), r.Text(row, 1), static_cast<std::int32_t>(r.Number(row, 2)),
                           static_cast<std::int32_t>(r.Number(row, 3)),
                           static_cast<std::int32_t>(r.Number(row, 4))});
      }
      return true;
    });
  }

  Lookup SummaryOf(const std::string& name, std::int32_t score, std::string& summary) override {
    Lookup result = Lookup::Failed;
    Read([&](Connection& c) {
      Result r = c.Run("summary", {name, std::to_string(score)});
      if (!r.Ok()) return false;
      if (r.Rows() > 0) summary = r.Text(0, 0);
      result = r.Rows() > 0 ? Lookup::Found : Lookup::Missing;
      return true;
    });
    return result;
  }

  Lookup Entry(std::int64_t id, StoredEntry& entry) override {
    Lookup result = Lookup::Failed;
    Read([&](Connection& c) {
      Result r = c.Run("entry", {std::to_string(id)});
      if (!r.Ok()) return false;
      if (r.Rows() > 0) entry = ReadEntry(r, 0);
      result = r.Rows() > 0 ? Lookup::Found : Lookup::Missing;
      return true;
    });
    return result;
  }

  bool All(std::vector<StoredEntry>& entries) override {
    return Read([&](Connection& c) {
      Result r = c.Run("all", {});
      if (!r.Ok()) return false;
      entries.clear();
      for (int row = 0; row < r.Rows(); ++row) entries.push_back(ReadEntry(r, row));
      return true;
    });
  }

  bool ListForAdmin(int mode, int limit, std::vector<AdminEntry>& entries) override {
    return Read([&](Connection& c) {
      Result r = c.Run("admin_top", {std::to_string(mode), std::to_string(limit)});
      if (!r.Ok()) return false;
      entries.clear();
      for (int row = 0; row < r.Rows(); ++row) {
        entries.push_back({ReadEntry(r, row), r.Text(row, 8), r.Text(row, 9) == "t"});
      }
      return true;
    });
  }

  Lookup SetHidden(std::int64_t id, bool hidden) override {
    return Edit("hide", {std::to_string(id), hidden ? "true" : "false"});
  }

  Lookup Delete(std::int64_t id) override { return Edit("delete", {std::to_string(id)}); }

  bool Backup(const std::string&, std::string& error) override {
    error =
        "use pg_dump: PostgreSQL keeps the scores and backs them up itself, e.g. pg_dump -Fc -t entries " +
        database_ + " > FILE";
    return false;
  }

  // The lists of every process expire within a second: nothing to watch.
  bool ChangedElsewhere() override { return false; }

 protected:
  bool WriteBatch(const std::vector<Pending*>& batch) override {
    Connection& c = *writer_;
    if (!c.Plain("BEGIN")) return false;
    bool ok = true;
    for (Pending* pending : batch) {
      const Submission& sub = *pending->submission;
      Result inserted =
          c.Run("insert", {std::to_string(sub.game.mode), sub.game.name, std::to_string(sub.game.score),
                           std::to_string(sub.game.dungeon), std::to_string(sub.game.bosses), sub.summary,
                           std::to_string(sub.submittedAt), sub.address});
      if (!inserted.Ok() || inserted.Rows() != 1) {
        ok = false;
        break;
      }
      pending->placement.id = inserted.Number(0, 0);
      Result rank = c.Run("rank", {std::to_string(sub.game.mode), std::to_string(sub.game.score),
                                   std::to_string(pending->placement.id)});
      if (!rank.Ok() || rank.Rows() != 1) {
        ok = false;
        break;
      }
      pending->placement.rank = rank.Number(0, 0);
    }
    if (ok && c.Plain("COMMIT")) return true;
    c.Plain("ROLLBACK");
    return false;
  }

 private:
  std::unique_ptr<Connection> Connect(std::string& error) {
    auto c = std::make_unique<Connection>();
    c->conn = PQconnectdb(connection_.c_str());
    if (PQstatus(c->conn) != CONNECTION_OK) {
      error = std::string("cannot connect to PostgreSQL: ") + PQerrorMessage(c->conn);
      return nullptr;
    }
    if (PQsetClientEncoding(c->conn, "UTF8") != 0) {
      error = std::string("cannot use UTF8: ") + PQerrorMessage(c->conn);
      return nullptr;
    }
    return c;
  }

  // Runs an edit (one statement, committed on its own) answering the ids it touched.
  Lookup Edit(const char* query, const std::vector<std::string>& values) {
    Lookup result = Lookup::Failed;
    Read([&](Connection& c) {
      Result r = c.Run(query, values);
      if (!r.Ok()) return false;
      result = r.Rows() > 0 ? Lookup::Found : Lookup::Missing;
      return true;
    });
    return result;
  }

  template <typename Work>
  bool Read(Work work) {
    std::unique_ptr<Connection> c = readers_.Take();
    if (c == nullptr) {
      std::string error;
      c = Connect(error);
      if (c == nullptr || !c->Prepare()) {
        LogLine("PostgreSQL: " + (error.empty() ? std::string("cannot prepare the queries") : error));
        return false;
      }
    }
    const bool ok = work(*c);
    readers_.Give(std::move(c));
    return ok;
  }

  std::string connection_, database_;
  std::unique_ptr<Connection> writer_;
  ConnectionPool<Connection> readers_;
};

}  // namespace

std::unique_ptr<ScoreStore> OpenPostgresStore(const std::string& connection, std::string& error) {
  auto store = std::make_unique<PostgresStore>(connection);
  if (!store->Open(error)) return nullptr;
  return store;
}

}  // namespace spellcrypt::server
