// What the score server's tests share: a fresh database of either kind per test, submissions
// encoded by the game's own encoder, the server running in the test on a free loopback port, and
// the game's own HTTP/1.0 framing sent over a plain socket.
#pragma once

#include <sys/types.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "scores/score_protocol.h"
#include "server/score_service.h"
#include "server/score_store.h"
#include "tests/test_support.h"

namespace spellcrypt::server::testing {

enum class Backend { Sqlite, Postgres };
std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

// One new empty database, dropped again at the end (PostgreSQL) or removed with its folder.
class TestDatabase {
 public:
  explicit TestDatabase(Backend backend);
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;
  // Empty when the database is there; otherwise why not (PostgreSQL was not started).
  const std::string& Missing() const { return missing_; }
  // Opens the database (again); fails the test when it cannot.
  std::unique_ptr<ScoreStore> Open() const;
  // The server program's options that select this database.
  std::vector<std::string> ProgramOptions() const;

 private:
  Backend backend_;
  spellcrypt::testing::TempDir dir_;
  std::string admin_, connection_, name_, missing_;
};

// Skips the test (fails it in CI) when the database could not be had.
#define REQUIRE_DATABASE(db)                                     \
  do {                                                           \
    if (!(db).Missing().empty()) SKIP_UNLESS_CI((db).Missing()); \
  } while (false)

// The game's submission form for a game and its summary, encoded with the key.
std::string SubmissionForm(const SubmittedGame& game, std::string_view summary,
                           std::uint32_t key = kSubmissionKey, std::string_view version = "2.05");
SubmittedGame Game(int mode, std::string name, std::int32_t score, std::int32_t dungeon = 5,
                   std::int32_t bosses = 1);

// The names of a mode's best `limit` shown entries, best first.
std::vector<std::string> TopNames(ScoreStore& store, int mode, int limit);

// The request the game sends (its client's own framing) to the loopback address.
std::string GameRequest(std::string_view path, std::string_view form);
// Sends the bytes to the loopback port and reads the whole answer until the server closes.
std::string Exchange(int port, std::string_view request);
// The body of a whole HTTP answer (everything after its first blank line).
std::string BodyOf(const std::string& response);

// The service running on a free loopback port until destroyed.
class RunningServer {
 public:
  RunningServer(ScoreStore& store, ServiceOptions options = Quiet());
  ~RunningServer();
  int Port() const { return port_; }
  static ServiceOptions Quiet();

 private:
  ScoreService service_;
  int port_ = -1;
  std::thread thread_;
};

// A port that was free a moment ago.
int FreePort();

// The server program run to its end with these arguments (sent SIGTERM after stopAfter, when
// given; killed after 20 s); answers the exit status and what it printed.
int RunToEnd(const std::vector<std::string>& options, std::string& out, std::string& err,
             std::chrono::milliseconds stopAfter = std::chrono::milliseconds(0));

// The server program run as its own process on a free loopback port (with --rate 0 and the given
// options), its standard error appended to the log file; killed when destroyed.
class Program {
 public:
  Program(const std::vector<std::string>& options, const std::string& log);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  // Sends the signal and answers the exit status.
  int Stop(int signal);

 private:
  int port_;
  pid_t pid_ = -1;
};

}  // namespace spellcrypt::server::testing
