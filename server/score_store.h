// Where the score server keeps its entries: an SQLite file (one server process) or a PostgreSQL
// database (any number of server processes behind a load balancer). Both keep the same table and
// answer the same questions; a submission is stored for good before Submit returns.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "scores/score_protocol.h"

namespace spellcrypt::server {

// One entry as the lists show it.
struct ListEntry {
  std::int64_t id = 0;
  std::string name;
  std::int32_t score = 0;
  std::int32_t dungeon = 0;
  std::int32_t bosses = 0;
};

// One entry with everything stored about it.
struct StoredEntry {
  std::int64_t id = 0;
  int mode = 0;
  std::string name;
  std::int32_t score = 0;
  std::int32_t dungeon = 0;
  std::int32_t bosses = 0;
  std::string summary;
  std::int64_t submittedAt = 0;  // seconds since 1970 (UTC)
};

// One entry as the operator sees it: everything stored, hidden or not.
struct AdminEntry {
  StoredEntry entry;
  std::string address;
  bool hidden = false;
};

struct Submission {
  SubmittedGame game;
  std::string summary;
  std::string address;
  std::int64_t submittedAt = 0;
};

// Where a stored submission landed: its id and its place among its mode's shown entries (from 1;
// equal scores rank in submission order).
struct Placement {
  std::int64_t id = 0;
  std::int64_t rank = 0;
};

enum class Lookup { Found, Missing, Failed };

// Entries the operator hid stay stored but are left out of everything players see: the lists, the
// places submissions are given, the summaries and the entries' pages.
class ScoreStore {
 public:
  using AdminEntry = server::AdminEntry;

  virtual ~ScoreStore() = default;
  ScoreStore() = default;
  ScoreStore(const ScoreStore&) = delete;
  ScoreStore& operator=(const ScoreStore&) = delete;

  // Stores the submission and answers where it landed; false (logged) when it could not be stored.
  // Submissions arriving together share one transaction (and one flush to disk); each caller
  // returns only once that transaction has committed.
  bool Submit(const Submission& submission, Placement& placement);

  // The best `limit` shown entries of a mode, best first, equal scores in submission order.
  virtual bool Top(int mode, int limit, std::vector<ListEntry>& entries) = 0;
  // The summary of the earliest shown entry with this name and score (any mode).
  virtual Lookup SummaryOf(const std::string& name, std::int32_t score, std::string& summary) = 0;
  // A shown entry; Missing for a hidden one.
  virtual Lookup Entry(std::int64_t id, StoredEntry& entry) = 0;
  // Every entry, hidden ones too, in submission order (for checks and exports; not for requests).
  virtual bool All(std::vector<StoredEntry>& entries) = 0;

  // The best `limit` entries of a mode including hidden ones, best first (for the operator).
  virtual bool ListForAdmin(int mode, int limit, std::vector<AdminEntry>& entries) = 0;
  // Hides or shows an entry; Missing when there is no such id.
  virtual Lookup SetHidden(std::int64_t id, bool hidden) = 0;
  virtual Lookup Delete(std::int64_t id) = 0;
  // Writes a consistent copy of the whole store to `file` while it is in use (SQLite's online
  // backup API into a temporary file beside it, then renamed); false with the reason in error.
  // PostgreSQL answers false and names pg_dump, its own tool for this.
  virtual bool Backup(const std::string& file, std::string& error) = 0;
  // True when another connection or process has committed a change since the last call (the first
  // call: since the store was opened). SQLite watches its file's data version from a connection of
  // its own, so this store's own submissions count too; PostgreSQL answers false, as its lists
  // expire within a second anyway. Cheap enough for every list request.
  virtual bool ChangedElsewhere() = 0;

 protected:
  struct Pending {
    const Submission* submission = nullptr;
    Placement placement;
  };
  // Stores every pending submission in one transaction, filling in their placements; all or none.
  virtual bool WriteBatch(const std::vector<Pending*>& batch) = 0;

 private:
  struct Waiting {
    Pending pending;
    bool done = false;
    bool stored = false;
  };
  std::mutex queueLock_;
  std::condition_variable batchDone_;
  std::vector<Waiting*> queue_;
  bool writing_ = false;
};

// The SQLite store in the file at path (made when missing; WAL mode). Null, with the reason in
// error, when it cannot be opened; likewise below.
std::unique_ptr<ScoreStore> OpenSqliteStore(const std::string& path, std::string& error);
// The PostgreSQL store for a libpq connection string ("host=... dbname=..."); the table is made
// when missing.
std::unique_ptr<ScoreStore> OpenPostgresStore(const std::string& connection, std::string& error);

// A small pool of connections of one kind, made on demand and kept for reuse.
template <typename Connection>
class ConnectionPool {
 public:
  std::unique_ptr<Connection> Take() {
    std::lock_guard<std::mutex> hold(lock_);
    if (idle_.empty()) return nullptr;
    std::unique_ptr<Connection> connection = std::move(idle_.back());
    idle_.pop_back();
    return connection;
  }
  void Give(std::unique_ptr<Connection> connection) {
    std::lock_guard<std::mutex> hold(lock_);
    idle_.push_back(std::move(connection));
  }
  // Closes every idle connection.
  void Clear() {
    std::lock_guard<std::mutex> hold(lock_);
    idle_.clear();
  }

 private:
  std::mutex lock_;
  std::vector<std::unique_ptr<Connection>> idle_;
};

}  // namespace spellcrypt::server
