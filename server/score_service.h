// The score server's HTTP side: the game's two form endpoints and the rankings' web pages.
//
//   POST /splcryp/submit.php     version, data, datacrc, extra, extracrc -> "msg|..." (200; 400 for a
//                                submission that does not read, 429 past the rate limit, 503 when it
//                                could not be stored)
//   POST /splcryp/getscores.php  version -> "DIFF|n" and "add|name|score|dungeon|bosses" lines per
//                                difficulty (the best 100, best first), then "msg|..."
//                                version, name, score -> the summary of that entry, plain text
//   GET  /?mode=0..2             the rankings of a difficulty (Normal without a mode)
//   GET  /entry?id=N             one entry and its game summary
//   GET  /play/...               the browser edition's files, when the server was given them
//
// The lists' reply and the three pages are made once and kept until a submission (or the operator)
// changes them; with a store shared by several processes, for at most listLifetime. Served from
// memory, they are answered on the connection's own thread; everything that reads or writes the
// store goes to a worker.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "scores/ranking.h"
#include "server/http_server.h"
#include "server/rate_limiter.h"
#include "server/score_store.h"

namespace spellcrypt {
class Meanings;
}

namespace spellcrypt::server {

class StaticFiles;

struct ServiceOptions {
  std::uint32_t key = kSubmissionKey;
  // Submissions per client address and minute; 0 for none.
  int submissionsPerMinute = 10;
  // Take the client's address from X-Forwarded-For when the request comes from the loopback
  // address (a reverse proxy on the same machine).
  bool trustForwardedFor = false;
  // The largest request body. A submission's summary may be 64 KiB, which the form's URL encoding
  // makes up to three times as long.
  std::size_t maxRequestBytes = 256 * 1024;
  // A whole request (header block and body) must arrive within this many seconds.
  int timeoutSeconds = 10;
  // Handlers run at once (one worker thread each); submissions wait in them for their commit.
  int threads = 32;
  // Connections one client address may hold at once (0: no limit).
  int connectionsPerAddress = 32;
  // Threads that accept, read and write connections.
  int connectionThreads = 2;
  // Connections open at once in all (the process's descriptors bound it).
  int maxConnections = 10000;
  // How long the lists may be kept without seeing another process's submissions; 0 when this
  // process is the only writer.
  std::chrono::milliseconds listLifetime{0};
  // The browser edition's files, served at /play/ (none: no such pages, and no link to them).
  const StaticFiles* play = nullptr;
  // The words' meanings, listed for an entry's strong words on its page (none: no such list).
  const Meanings* meanings = nullptr;
  // Where the log goes (one line per request, and notices); standard error with a timestamp when
  // empty.
  std::function<void(const std::string&)> log;
};

// How many entries per difficulty the web page lists.
constexpr int kListLength = 100;
// How many the game is sent: the rows its hall of fame shows.
constexpr int kGameListLength = CRanking::kTablePlaces;
// The longest summary a submission may carry (what a score file keeps, without its NUL).
constexpr std::size_t kMaxSummaryBytes = 64 * 1024 - 1;
// The program versions whose submissions are taken.
bool KnownVersion(std::string_view version);
// Printable text: valid UTF-8 without control characters other than tab, CR and LF.
bool IsPlainText(std::string_view text);

class ScoreService {
 public:
  ScoreService(ScoreStore& store, ServiceOptions options);
  ~ScoreService();
  ScoreService(const ScoreService&) = delete;
  ScoreService& operator=(const ScoreService&) = delete;

  // Binds the listening socket; port 0 takes a free one. Answers the port, or -1 with the reason
  // in error.
  int Bind(const std::string& host, int port, std::string& error);
  // Serves a socket made by HttpServer::Listen instead.
  void Adopt(int listener);
  // Serves until Stop; false when it could not.
  bool Run();
  // Stops taking connections, lets the requests under way finish, and makes Run return.
  void Stop();
  bool Running() const;

 private:
  using Reply = HttpReply;
  struct Snapshot;

  HttpReply Handle(const HttpRequest& request);
  bool AnswerFromMemory(const HttpRequest& request, HttpReply& reply);
  Reply Submit(const std::string& body, const std::string& address);
  Reply GetScores(const std::string& body);
  Reply RankingsPage(const std::string& mode);
  Reply EntryPage(const std::string& id);
  // The lists as they stand: made again when stale. The fresh ones only, or null, without waiting
  // for the store.
  std::shared_ptr<const Snapshot> Lists();
  std::shared_ptr<const Snapshot> FreshLists();
  void Log(const std::string& line) const;

  ScoreStore& store_;
  ServiceOptions options_;
  RateLimiter limiter_;
  std::unique_ptr<HttpServer> http_;
  std::atomic<std::uint64_t> generation_{0};
  std::mutex snapshotLock_, rebuildLock_;
  std::shared_ptr<const Snapshot> snapshot_;
};

}  // namespace spellcrypt::server
