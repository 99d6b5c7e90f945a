// The score server's HTTP/1.1 front: made to face the open internet.
//
// A few connection threads (one epoll each) accept connections and do all the reading and writing;
// a pool of workers runs the handlers that may wait (the store). So a connection costs a worker
// only while its handler runs: clients that trickle their bytes, stall, or sit idle between
// keep-alive requests hold nothing but their socket. Each whole request (header block and body) must
// arrive within a deadline, or it is answered 408 and closed; each client address may hold a limited
// number of connections at once. Only what the score server needs is spoken: GET, HEAD and POST with
// a Content-Length body; no ranges, no transfer codings, no upgrades.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "server/http_request.h"

namespace spellcrypt::server {

struct HttpReply {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  Fields headers;  // sent after the standard ones
  // A large body kept elsewhere (a served file) is sent from there, never copied; it takes the
  // place of `body` when set.
  std::shared_ptr<const std::string> sharedBody{};

  const std::string& Body() const { return sharedBody ? *sharedBody : body; }
};

struct HttpOptions {
  RequestReader::Limits limits;
  // A whole request, from its first byte to its last, must arrive within this.
  std::chrono::milliseconds requestDeadline{10000};
  // A kept-alive connection (or a new one) that sends nothing for this long is closed.
  std::chrono::milliseconds idleTimeout{5000};
  // An answer must be taken by the client within this.
  std::chrono::milliseconds writeDeadline{30000};
  // Connections one client address may hold at once (0: no limit); loopback is exempt behind a
  // proxy, whose own connections carry every player's.
  int connectionsPerAddress = 32;
  // Connections held in all; more are refused until some close.
  int maxConnections = 10000;
  // Handlers run at once (the store's work waits in them).
  int workers = 32;
  // Threads that accept, read and write.
  int connectionThreads = 2;
  // Take the client's address from X-Forwarded-For on loopback connections.
  bool trustForwardedFor = false;
  // On Stop, how long answers already under way may take to leave.
  std::chrono::milliseconds stopGrace{3000};
};

// What the access log is told of each request that was answered (or dropped unanswered).
struct AccessRecord {
  std::string client;
  std::string method;  // "-" when none could be read
  std::string target;  // raw bytes as sent
  int status = 0;      // 0: nothing was sent
  std::size_t bytes = 0;
  double milliseconds = 0;
  const char* note = "";  // why a request ended without a whole answer
};

class HttpServer {
 public:
  // Runs on a worker thread.
  using Handler = std::function<HttpReply(const HttpRequest&)>;
  // Runs on the connection's thread and must not wait: answers from memory, or false to send the
  // request to a worker.
  using QuickHandler = std::function<bool(const HttpRequest&, HttpReply&)>;
  using AccessLog = std::function<void(const AccessRecord&)>;
  // Lines for the operator that are not requests (connections refused at the cap).
  using Notice = std::function<void(const std::string&)>;
  // Shapes the answer to a request refused before any handler saw it (too large, too slow, not
  // HTTP): status, the request's path as far as it was read, and a plain text saying why.
  using ErrorReply = std::function<HttpReply(int status, const std::string& path, const std::string& text)>;

  HttpServer(HttpOptions options, Handler handler, QuickHandler quick, AccessLog log, Notice notice,
             ErrorReply errorReply = nullptr);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // A listening socket (one process per port: a busy port is an error); port 0 takes a free one.
  // Answers the socket and the port it got, or -1 with the reason in error.
  static int Listen(const std::string& host, int port, int& boundPort, std::string& error);
  // Serves that socket (and closes it when done).
  void Adopt(int listener);
  // Both: answers the port, or -1.
  int Bind(const std::string& host, int port, std::string& error);
  // Serves until Stop; false when it could not start.
  bool Run();
  // Stops taking connections, closes idle ones, lets the requests under way finish (bounded by
  // stopGrace for their answers) and makes Run return. Safe from any thread, before or during Run.
  void Stop();
  bool Running() const { return running_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::atomic<bool> running_{false};
};

// The reason phrase of a status code the server sends.
const char* ReasonPhrase(int status);

}  // namespace spellcrypt::server
