// The score server's HTTP front: connection threads over epoll, and a pool of workers.
#include "server/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace spellcrypt::server {

namespace {

using Clock = std::chrono::steady_clock;

// How often the connection threads look for connections past their time.
constexpr auto kSweepEvery = std::chrono::milliseconds(100);
// How long a connection closed after an early answer keeps reading (and dropping) what the client
// still sends, so that the answer is not destroyed by a reset.
constexpr auto kLinger = std::chrono::milliseconds(2000);
// How long connections that are still sending their request may go on after Stop.
constexpr auto kStopReadGrace = std::chrono::milliseconds(1000);
// Connections refused at the per-address cap are reported at most this often per address.
constexpr auto kRefusalReportEvery = std::chrono::seconds(10);
// Epoll tags of the two descriptors that are not connections.
constexpr std::uint64_t kListenerTag = 1, kWakeTag = 2;

std::string AddressText(const sockaddr_storage& address) {
  char text[INET6_ADDRSTRLEN] = "?";
  if (address.ss_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text, sizeof text);
  } else if (address.ss_family == AF_INET6) {
    const in6_addr& v6 = reinterpret_cast<const sockaddr_in6&>(address).sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) {
      inet_ntop(AF_INET, &v6.s6_addr[12], text, sizeof text);
    } else {
      inet_ntop(AF_INET6, &v6, text, sizeof text);
    }
  }
  return text;
}

bool IsLoopback(const std::string& address) { return address.rfind("127.", 0) == 0 || address == "::1"; }

bool IsAddress(const std::string& text) {
  unsigned char buffer[sizeof(in6_addr)];
  return inet_pton(AF_INET, text.c_str(), buffer) == 1 || inet_pton(AF_INET6, text.c_str(), buffer) == 1;
}

// The address the proxy saw: the last of X-Forwarded-For's list (the one it added itself).
std::string ForwardedClient(const HttpRequest& request, const std::string& peer) {
  const std::string* chain = request.Header("x-forwarded-for");
  if (chain == nullptr) return peer;
  const std::size_t comma = chain->rfind(',');
  std::string last = chain->substr(comma == std::string::npos ? 0 : comma + 1);
  last.erase(0, last.find_first_not_of(" \t"));
  last.erase(last.find_last_not_of(" \t") + 1);
  return IsAddress(last) ? last : peer;
}

double MillisecondsSince(Clock::time_point start, Clock::time_point now) {
  return std::chrono::duration<double, std::milli>(now - start).count();
}

// The head of the answer, and its body unless that is shared (sent from where it is kept).
std::string Serialize(const HttpReply& reply, bool keepAlive, bool withBody) {
  std::string out;
  out.reserve(160 + reply.body.size());
  out += "HTTP/1.1 ";
  out += std::to_string(reply.status);
  out += ' ';
  out += ReasonPhrase(reply.status);
  out += "\r\nContent-Type: ";
  out += reply.contentType;
  out += "\r\nContent-Length: ";
  out += std::to_string(reply.Body().size());
  out += keepAlive ? "\r\nConnection: keep-alive\r\n" : "\r\nConnection: close\r\n";
  for (const auto& [name, value] : reply.headers) {
    out += name;
    out += ": ";
    out += value;
    out += "\r\n";
  }
  out += "\r\n";
  if (withBody && !reply.sharedBody) out += reply.body;
  return out;
}

HttpReply PlainReply(int status, std::string text) {
  HttpReply reply;
  reply.status = status;
  reply.body = std::move(text);
  return reply;
}

std::string StatusText(int status) {
  switch (status) {
    case 408:
      return "The request took too long to arrive.\n";
    case 411:
      return "Send the request's body with a Content-Length.\n";
    case 413:
      return "That request is too large for the score server.\n";
    case 414:
    case 431:
      return "That request's header is too large for the score server.\n";
    case 503:
      return "Too many connections from your address. Please try again later.\n";
    default:
      return "The score server could not read that request.\n";
  }
}

}  // namespace

const char* ReasonPhrase(int status) {
  switch (status) {
    case 100:
      return "Continue";
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 411:
      return "Length Required";
    case 413:
      return "Content Too Large";
    case 414:
      return "URI Too Long";
    case 417:
      return "Expectation Failed";
    case 429:
      return "Too Many Requests";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 503:
      return "Service Unavailable";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Unknown";
  }
}

struct HttpServer::Impl {
  struct Loop;

  struct Connection {
    enum class Phase { Idle, Reading, Handling, Writing, Lingering };
    explicit Connection(RequestReader::Limits limits) : reader(limits) {}
    std::uint64_t id = 0;
    int fd = -1;
    std::string peer;
    bool counted = false;  // holds a place in the per-address count
    Phase phase = Phase::Idle;
    std::string in, out;
    std::shared_ptr<const std::string> outBody;  // sent after `out` (a shared body)
    std::size_t sent = 0;
    RequestReader reader;
    Clock::time_point deadline;  // when the phase has run out of time
    Clock::time_point requestStart;
    bool keepAlive = false, linger = false, head = false;
    bool dead = false;  // closed; forgotten at the end of the loop's turn
    std::uint32_t events = 0;
    AccessRecord record;  // the answer under way, for the log
  };

  struct Job {
    Loop* loop;
    std::uint64_t id;
    HttpRequest request;
  };
  struct Done {
    std::uint64_t id;
    HttpReply reply;
  };

  // One connection thread: its epoll, its connections, and the answers the workers hand back.
  struct Loop {
    int epoll = -1, wake = -1;
    bool listening = false;
    Clock::time_point resumeAccepting{};
    std::unordered_map<std::uint64_t, std::unique_ptr<Connection>> connections;
    std::mutex doneLock;
    std::vector<Done> done;
    std::size_t handling = 0;              // connections waiting for a worker's answer
    std::vector<std::uint64_t> ready;      // kept-alive connections with the next request already in
    std::vector<std::uint64_t> graveyard;  // closed this turn
    Clock::time_point nextSweep{};

    void Wake() const {
      const std::uint64_t one = 1;
      [[maybe_unused]] const ssize_t n = ::write(wake, &one, sizeof one);
    }
  };

  HttpOptions options;
  Handler handler;
  QuickHandler quick;
  AccessLog log;
  Notice notice;
  ErrorReply errorReply;
  int listener = -1;
  std::vector<std::unique_ptr<Loop>> loops;
  std::atomic<bool> stopping{false};
  std::mutex loopsLock;  // Stop may come from another thread while Run makes the loops
  std::atomic<std::uint64_t> nextId{16};

  // Connections per client address, and refusals not yet reported.
  struct Holding {
    int connections = 0;
    int refused = 0;
    Clock::time_point reported{};
  };
  std::mutex holdingLock;
  std::unordered_map<std::string, Holding> holding;
  int total = 0;

  // The workers' queue.
  std::mutex jobLock;
  std::condition_variable jobReady;
  std::deque<Job> jobs;
  bool jobsClosed = false;

  ~Impl() {
    if (listener >= 0) ::close(listener);
    for (auto& loop : loops) {
      if (loop->epoll >= 0) ::close(loop->epoll);
      if (loop->wake >= 0) ::close(loop->wake);
    }
  }

  // ---- connection bookkeeping -------------------------------------------------------------------

  // Takes a place for a new connection from this address; false (and counted as refused) when the
  // address or the server is full.
  bool Admit(const std::string& address, bool exempt, Clock::time_point now) {
    std::string report;
    bool admitted;
    {
      std::lock_guard<std::mutex> hold(holdingLock);
      Holding& h = holding[address];
      admitted = total < options.maxConnections && (exempt || options.connectionsPerAddress <= 0 ||
                                                    h.connections < options.connectionsPerAddress);
      if (admitted) {
        ++h.connections;
        ++total;
        return true;
      }
      ++h.refused;
      if (now - h.reported >= kRefusalReportEvery) {
        report = "refused " + std::to_string(h.refused) + " connection" + (h.refused == 1 ? "" : "s") +
                 " from " + address + ": " + std::to_string(h.connections) + " open (limit " +
                 std::to_string(options.connectionsPerAddress) + "), " + std::to_string(total) + " in all";
        h.refused = 0;
        h.reported = now;
      }
      if (holding.size() > kMostAddressesKept) ForgetIdleAddresses();
    }
    if (!report.empty() && notice) notice(report);
    return admitted;
  }

  // Addresses that hold no connection are kept only for their count of refusals; past this many,
  // they are forgotten (their refusals go unreported).
  static constexpr std::size_t kMostAddressesKept = 4096;
  void ForgetIdleAddresses() {
    std::erase_if(holding, [](const auto& entry) { return entry.second.connections == 0; });
  }

  void Release(const std::string& address) {
    std::lock_guard<std::mutex> hold(holdingLock);
    const auto found = holding.find(address);
    if (found == holding.end()) return;
    --found->second.connections;
    --total;
    if (found->second.connections <= 0 && found->second.refused == 0) holding.erase(found);
  }

  void SetEvents(Loop& loop, Connection& c, std::uint32_t events) {
    if (c.fd < 0 || c.events == events) return;
    epoll_event event{};
    event.events = events;
    event.data.u64 = c.id;
    epoll_ctl(loop.epoll, EPOLL_CTL_MOD, c.fd, &event);
    c.events = events;
  }

  void CloseSocket(Connection& c) {
    if (c.fd < 0) return;
    ::close(c.fd);  // also leaves the epoll
    c.fd = -1;
    if (c.counted) Release(c.peer);
    c.counted = false;
  }

  // Closes the connection. It is forgotten at the end of the loop's turn (so that no reference to
  // it dangles meanwhile), or when its worker answers.
  void Close(Loop& loop, Connection& c) {
    CloseSocket(c);
    if (c.phase == Connection::Phase::Handling || c.dead) return;
    c.dead = true;
    loop.graveyard.push_back(c.id);
  }

  void Log(Connection& c, int status, const char* note, Clock::time_point now) {
    if (!log) return;
    c.record.status = status;
    c.record.note = note;
    c.record.milliseconds = MillisecondsSince(c.requestStart, now);
    log(c.record);
  }

  // ---- accepting --------------------------------------------------------------------------------

  void Accept(Loop& loop, Clock::time_point now) {
    for (int i = 0; i < 64; ++i) {
      sockaddr_storage address{};
      socklen_t size = sizeof address;
      const int fd =
          ::accept4(listener, reinterpret_cast<sockaddr*>(&address), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
          // Out of descriptors: stop accepting for a moment rather than spin on the listener.
          PauseAccepting(loop, now);
          if (notice) notice(std::string("cannot accept connections: ") + std::strerror(errno));
        }
        return;
      }
      std::string peer = AddressText(address);
      const bool exempt = options.trustForwardedFor && IsLoopback(peer);
      if (!Admit(peer, exempt, now)) {
        // One short answer, best effort, and closed.
        const std::string refusal = Serialize(ErrorAnswer(503, ""), false, true);
        [[maybe_unused]] const ssize_t n =
            ::send(fd, refusal.data(), refusal.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        ::close(fd);
        continue;
      }
      const int one = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      auto c = std::make_unique<Connection>(options.limits);
      c->id = nextId.fetch_add(1);
      c->fd = fd;
      c->peer = std::move(peer);
      c->counted = true;
      c->deadline = now + options.idleTimeout;
      c->events = EPOLLIN;
      epoll_event event{};
      event.events = EPOLLIN;
      event.data.u64 = c->id;
      if (epoll_ctl(loop.epoll, EPOLL_CTL_ADD, fd, &event) != 0) {
        CloseSocket(*c);
        continue;
      }
      loop.connections.emplace(c->id, std::move(c));
    }
  }

  void PauseAccepting(Loop& loop, Clock::time_point now) {
    if (!loop.listening) return;
    epoll_ctl(loop.epoll, EPOLL_CTL_DEL, listener, nullptr);
    loop.listening = false;
    loop.resumeAccepting = now + std::chrono::milliseconds(100);
  }

  void ResumeAccepting(Loop& loop) {
    if (loop.listening || stopping) return;
    epoll_event event{};
    event.events = EPOLLIN | EPOLLEXCLUSIVE;
    event.data.u64 = kListenerTag;
    loop.listening = epoll_ctl(loop.epoll, EPOLL_CTL_ADD, listener, &event) == 0;
  }

  // ---- reading ----------------------------------------------------------------------------------

  void OnReadable(Loop& loop, Connection& c, Clock::time_point now) {
    char buffer[16 * 1024];
    bool closed = false;
    // Up to 64 KiB per turn, so that one busy client does not hold the others up.
    for (int turn = 0; turn < 4; ++turn) {
      const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
      if (n > 0) {
        if (c.phase != Connection::Phase::Lingering) c.in.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<std::size_t>(n) < sizeof buffer) break;
        continue;
      }
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) closed = true;
      break;
    }
    if (c.phase == Connection::Phase::Lingering) {
      if (closed) Close(loop, c);
      return;
    }
    if (!c.in.empty() && c.phase == Connection::Phase::Idle) {
      c.phase = Connection::Phase::Reading;
      c.requestStart = now;
      c.deadline = now + options.requestDeadline;
    }
    if (c.phase == Connection::Phase::Reading) Process(loop, c, now);
    if (closed && c.fd >= 0 &&
        (c.phase == Connection::Phase::Reading || c.phase == Connection::Phase::Idle)) {
      // The client went away: an unfinished request is logged as dropped.
      if (c.phase == Connection::Phase::Reading) {
        StartRecord(c);
        Log(c, 0, "the client closed the connection before its request was whole", now);
      }
      Close(loop, c);
    }
  }

  void StartRecord(Connection& c) {
    c.record = AccessRecord();
    c.record.client = c.reader.Request().client.empty() ? c.peer : c.reader.Request().client;
    c.record.method = c.reader.Method();
    c.record.target = c.reader.Target();
    if (c.record.method.empty() && !c.reader.HeadersRead()) {
      // Cut off before its header block was whole: what its first line said, as far as it came.
      const std::string_view in(c.in);
      const std::size_t lf = std::min(in.find('\n'), in.size());
      const std::size_t space = in.find(' ');
      if (space < lf) {
        const std::string_view target = in.substr(space + 1, lf - space - 1);
        c.record.method = std::string(in.substr(0, std::min<std::size_t>(space, 16)));
        c.record.target = std::string(target.substr(0, std::min(target.find(' '), std::size_t{200})));
      }
    }
    if (c.record.method.empty()) c.record.method = "-";
  }

  // Reads whole requests from what has arrived and answers them, one at a time.
  void Process(Loop& loop, Connection& c, Clock::time_point now) {
    const RequestReader::State state = c.reader.Read(c.in);
    if (state == RequestReader::State::Incomplete) {
      if (c.reader.TakeContinueRequest()) {
        static constexpr char kContinue[] = "HTTP/1.1 100 Continue\r\n\r\n";
        [[maybe_unused]] const ssize_t n = ::send(c.fd, kContinue, sizeof kContinue - 1, MSG_NOSIGNAL);
      }
      return;
    }
    if (state == RequestReader::State::Failed) {
      StartRecord(c);
      c.linger = true;
      Respond(loop, c, ErrorAnswer(c.reader.Status(), c.record.target), false, true, now);
      return;
    }
    HttpRequest& request = c.reader.Request();
    request.client =
        options.trustForwardedFor && IsLoopback(c.peer) ? ForwardedClient(request, c.peer) : c.peer;
    StartRecord(c);
    const bool keepAlive = request.keepAlive && !stopping;
    const bool withBody = request.method != "HEAD";
    HttpReply reply;
    if (quick && quick(request, reply)) {
      Respond(loop, c, std::move(reply), keepAlive, withBody, now);
      return;
    }
    c.phase = Connection::Phase::Handling;
    c.keepAlive = keepAlive;
    c.head = !withBody;
    SetEvents(loop, c, 0);
    ++loop.handling;
    {
      std::lock_guard<std::mutex> hold(jobLock);
      jobs.push_back({&loop, c.id, std::move(request)});
    }
    jobReady.notify_one();
  }

  HttpReply ErrorAnswer(int status, const std::string& target) {
    if (!errorReply) return PlainReply(status, StatusText(status));
    return errorReply(status, target.substr(0, target.find('?')), StatusText(status));
  }

  // ---- writing ----------------------------------------------------------------------------------

  void Respond(Loop& loop, Connection& c, const HttpReply& reply, bool keepAlive, bool withBody,
               Clock::time_point now) {
    c.keepAlive = keepAlive;
    c.out = Serialize(reply, keepAlive, withBody);
    c.outBody = withBody ? reply.sharedBody : nullptr;
    c.sent = 0;
    c.record.status = reply.status;
    c.record.bytes = withBody ? reply.Body().size() : 0;
    c.phase = Connection::Phase::Writing;
    c.deadline = now + options.writeDeadline;
    Write(loop, c, now);
  }

  void Write(Loop& loop, Connection& c, Clock::time_point now) {
    const std::size_t length = c.out.size() + (c.outBody ? c.outBody->size() : 0);
    while (c.sent < length) {
      // The head and the shared body go out together; `sent` counts through both.
      iovec parts[2];
      int count = 0;
      if (c.sent < c.out.size()) {
        parts[count++] = {const_cast<char*>(c.out.data()) + c.sent, c.out.size() - c.sent};
      }
      if (c.outBody) {
        const std::size_t from = c.sent > c.out.size() ? c.sent - c.out.size() : 0;
        parts[count++] = {const_cast<char*>(c.outBody->data()) + from, c.outBody->size() - from};
      }
      msghdr message{};
      message.msg_iov = parts;
      message.msg_iovlen = static_cast<std::size_t>(count);
      const ssize_t n = ::sendmsg(c.fd, &message, MSG_NOSIGNAL);
      if (n > 0) {
        c.sent += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        SetEvents(loop, c, EPOLLOUT);
        return;
      }
      if (n < 0 && errno == EINTR) continue;
      Log(c, c.record.status, "the client closed the connection before the answer was sent", now);
      Close(loop, c);
      return;
    }
    Log(c, c.record.status, "", now);
    c.out.clear();
    c.out.shrink_to_fit();
    c.outBody.reset();
    if (!c.keepAlive || stopping) {
      Finish(loop, c, now);
      return;
    }
    c.reader.Reset();
    c.phase = Connection::Phase::Idle;
    c.deadline = now + options.idleTimeout;
    SetEvents(loop, c, EPOLLIN);
    if (!c.in.empty()) {
      // A request that came right behind the last one: read once this turn's events are done.
      c.phase = Connection::Phase::Reading;
      c.requestStart = now;
      c.deadline = now + options.requestDeadline;
      loop.ready.push_back(c.id);
    }
  }

  // Closes after an answer. When the request may not have been read whole, the connection reads
  // and drops what still comes for a moment first, so the answer reaches the client.
  void Finish(Loop& loop, Connection& c, Clock::time_point now) {
    if (!c.linger) {
      Close(loop, c);
      return;
    }
    ::shutdown(c.fd, SHUT_WR);
    c.phase = Connection::Phase::Lingering;
    c.deadline = now + kLinger;
    SetEvents(loop, c, EPOLLIN);
  }

  // ---- answers from the workers -----------------------------------------------------------------

  void TakeAnswers(Loop& loop, Clock::time_point now) {
    std::vector<Done> done;
    {
      std::lock_guard<std::mutex> hold(loop.doneLock);
      done.swap(loop.done);
    }
    for (Done& d : done) {
      --loop.handling;
      const auto found = loop.connections.find(d.id);
      if (found == loop.connections.end()) continue;
      Connection& c = *found->second;
      if (c.fd < 0) {
        // The client left while its request was handled.
        c.record.status = d.reply.status;
        Log(c, d.reply.status, "the client closed the connection before the answer was sent", now);
        loop.connections.erase(found);
        continue;
      }
      Respond(loop, c, d.reply, c.keepAlive && !stopping, !c.head, now);
    }
  }

  void Work() {
    for (;;) {
      Job job;
      {
        std::unique_lock<std::mutex> hold(jobLock);
        jobReady.wait(hold, [this] { return !jobs.empty() || jobsClosed; });
        if (jobs.empty()) return;
        job = std::move(jobs.front());
        jobs.pop_front();
      }
      HttpReply reply;
      try {
        reply = handler(job.request);
      } catch (...) {
        reply = PlainReply(500, "The score server ran into a problem. Please try again later.\n");
      }
      {
        std::lock_guard<std::mutex> hold(job.loop->doneLock);
        job.loop->done.push_back({job.id, std::move(reply)});
      }
      job.loop->Wake();
    }
  }

  // ---- time -------------------------------------------------------------------------------------

  void Sweep(Loop& loop, Clock::time_point now) {
    if (!loop.listening && !stopping && now >= loop.resumeAccepting) ResumeAccepting(loop);
    std::vector<Connection*> expired;
    for (auto& [id, c] : loop.connections) {
      if (c->fd >= 0 && c->phase != Connection::Phase::Handling && now >= c->deadline)
        expired.push_back(c.get());
    }
    for (Connection* c : expired) {
      switch (c->phase) {
        case Connection::Phase::Reading:
          // A request that did not arrive in time is answered so, and closed.
          StartRecord(*c);
          c->linger = true;
          c->reader.Reset();
          Respond(loop, *c, ErrorAnswer(408, c->record.target), false, true, now);
          break;
        case Connection::Phase::Writing:
          Log(*c, c->record.status, "the client did not take the answer in time", now);
          Close(loop, *c);
          break;
        default:
          Close(loop, *c);
          break;
      }
    }
  }

  // What Stop means to one connection thread, once.
  void BeginStop(Loop& loop, Clock::time_point now) {
    if (loop.listening) epoll_ctl(loop.epoll, EPOLL_CTL_DEL, listener, nullptr);
    loop.listening = false;
    std::vector<Connection*> all;
    for (auto& [id, c] : loop.connections) all.push_back(c.get());
    for (Connection* c : all) {
      switch (c->phase) {
        case Connection::Phase::Idle:
        case Connection::Phase::Lingering:
          Close(loop, *c);
          break;
        case Connection::Phase::Reading:
          c->deadline = std::min(c->deadline, now + kStopReadGrace);
          break;
        case Connection::Phase::Writing:
          c->deadline = std::min(c->deadline, now + options.stopGrace);
          break;
        case Connection::Phase::Handling:
          break;
      }
    }
  }

  void RunLoop(Loop& loop) {
    epoll_event events[128];
    bool stopSeen = false;
    for (;;) {
      const int count = epoll_wait(loop.epoll, events, 128, static_cast<int>(kSweepEvery.count()));
      const Clock::time_point now = Clock::now();
      if (stopping && !stopSeen) {
        stopSeen = true;
        BeginStop(loop, now);
      }
      for (int i = 0; i < count; ++i) {
        const std::uint64_t tag = events[i].data.u64;
        if (tag == kListenerTag) {
          if (!stopping) Accept(loop, now);
          continue;
        }
        if (tag == kWakeTag) {
          std::uint64_t value;
          [[maybe_unused]] const ssize_t n = ::read(loop.wake, &value, sizeof value);
          continue;
        }
        const auto found = loop.connections.find(tag);
        if (found == loop.connections.end()) continue;
        Connection& c = *found->second;
        if (c.fd < 0 || c.dead) continue;
        const std::uint32_t what = events[i].events;
        if (c.phase == Connection::Phase::Handling) {
          // Only a hang-up or an error come while a worker has the request.
          if (what & (EPOLLHUP | EPOLLERR)) CloseSocket(c);
          continue;
        }
        if (c.phase == Connection::Phase::Writing) {
          if (what & (EPOLLOUT | EPOLLHUP | EPOLLERR)) Write(loop, c, now);
          continue;
        }
        if (what & (EPOLLIN | EPOLLHUP | EPOLLERR)) OnReadable(loop, c, now);
      }
      TakeAnswers(loop, now);
      while (!loop.ready.empty()) {
        std::vector<std::uint64_t> ready;
        ready.swap(loop.ready);
        for (const std::uint64_t id : ready) {
          const auto found = loop.connections.find(id);
          if (found != loop.connections.end() && !found->second->dead &&
              found->second->phase == Connection::Phase::Reading) {
            Process(loop, *found->second, now);
          }
        }
      }
      if (now >= loop.nextSweep) {
        Sweep(loop, now);
        loop.nextSweep = now + kSweepEvery;
      }
      for (const std::uint64_t id : loop.graveyard) loop.connections.erase(id);
      loop.graveyard.clear();
      if (stopSeen && loop.connections.empty() && loop.handling == 0) return;
    }
  }
};

HttpServer::HttpServer(HttpOptions options, Handler handler, QuickHandler quick, AccessLog log, Notice notice,
                       ErrorReply errorReply)
    : impl_(std::make_unique<Impl>()) {
  impl_->errorReply = std::move(errorReply);
  impl_->options = options;
  impl_->handler = std::move(handler);
  impl_->quick = std::move(quick);
  impl_->log = std::move(log);
  impl_->notice = std::move(notice);
}

HttpServer::~HttpServer() { Stop(); }

int HttpServer::Bind(const std::string& host, int port, std::string& error) {
  int boundPort = -1;
  const int fd = Listen(host, port, boundPort, error);
  if (fd < 0) return -1;
  Adopt(fd);
  return boundPort;
}

void HttpServer::Adopt(int listener) {
  if (impl_->listener >= 0) ::close(impl_->listener);
  impl_->listener = listener;
}

int HttpServer::Listen(const std::string& host, int port, int& boundPort, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  const int resolved = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
  if (resolved != 0) {
    error = "cannot resolve " + host + ": " + gai_strerror(resolved);
    return -1;
  }
  int fd = -1;
  error = "no address to listen on";
  for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) {
      error = std::strerror(errno);
      continue;
    }
    // SO_REUSEADDR lets a restarted server bind while old connections linger in TIME_WAIT; unlike
    // SO_REUSEPORT it never lets a second server listen on the same port.
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, 1024) != 0) {
      error = std::strerror(errno);
      ::close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  if (fd < 0) return -1;
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size);
  boundPort = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(bound).sin6_port
                                                : reinterpret_cast<sockaddr_in&>(bound).sin_port);
  error.clear();
  return fd;
}

bool HttpServer::Run() {
  Impl& impl = *impl_;
  if (impl.listener < 0) return false;
  const int loopCount = std::max(1, impl.options.connectionThreads);
  for (int i = 0; i < loopCount; ++i) {
    auto loop = std::make_unique<Impl::Loop>();
    loop->epoll = epoll_create1(EPOLL_CLOEXEC);
    loop->wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (loop->epoll < 0 || loop->wake < 0) return false;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kWakeTag;
    epoll_ctl(loop->epoll, EPOLL_CTL_ADD, loop->wake, &event);
    impl.ResumeAccepting(*loop);
    std::lock_guard<std::mutex> hold(impl.loopsLock);
    impl.loops.push_back(std::move(loop));
  }
  running_ = true;
  std::vector<std::thread> workers;
  for (int i = 0; i < std::max(1, impl.options.workers); ++i) workers.emplace_back([&impl] { impl.Work(); });
  std::vector<std::thread> threads;
  for (std::size_t i = 1; i < impl.loops.size(); ++i) {
    threads.emplace_back([&impl, &loop = *impl.loops[i]] { impl.RunLoop(loop); });
  }
  impl.RunLoop(*impl.loops[0]);
  for (std::thread& t : threads) t.join();
  {
    std::lock_guard<std::mutex> hold(impl.jobLock);
    impl.jobsClosed = true;
  }
  impl.jobReady.notify_all();
  for (std::thread& t : workers) t.join();
  ::close(impl.listener);
  impl.listener = -1;
  running_ = false;
  return true;
}

void HttpServer::Stop() {
  Impl& impl = *impl_;
  if (impl.stopping.exchange(true)) return;
  std::lock_guard<std::mutex> hold(impl.loopsLock);
  for (auto& loop : impl.loops) loop->Wake();
}

}  // namespace spellcrypt::server
