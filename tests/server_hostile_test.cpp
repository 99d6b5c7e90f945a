// The score server as an attacker and an operator meet it: clients that trickle, stall or idle
// cannot starve the others; a Range header cannot multiply an answer; a stalled request is
// answered 408; log lines cannot be forged; one server per port and per data folder; a clean stop
// leaves a database file that is whole on its own.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/server_test_support.h"

namespace spellcrypt::server::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A connection to the loopback port from the given local address (127.0.0.x), or -1.
int Connect(int port, const char* from = "127.0.0.1") {
  const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, from, &local.sin_addr);
  ::bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof local);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(sock);
    return -1;
  }
  return sock;
}

void SendAll(int sock, std::string_view bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(sock, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

// Reads until the server closes or the time is up; counts the bytes and keeps the first few KiB.
std::string ReadUntilClosed(int sock, std::chrono::milliseconds within, std::size_t* total = nullptr) {
  std::string kept;
  std::size_t count = 0;
  const auto end = Clock::now() + within;
  char buffer[65536];
  while (Clock::now() < end) {
    pollfd p{sock, POLLIN, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (::poll(&p, 1, static_cast<int>(std::max<long long>(1, left))) <= 0) continue;
    const ssize_t n = ::recv(sock, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    count += static_cast<std::size_t>(n);
    if (kept.size() < 8192) kept.append(buffer, static_cast<std::size_t>(std::min<ssize_t>(n, 8192)));
  }
  if (total != nullptr) *total = count;
  return kept;
}

long PeakResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

std::string Submit(int port, const std::string& name, int score, int mode = 1) {
  return BodyOf(Exchange(
      port, GameRequest("splcryp/submit.php", SubmissionForm(Game(mode, name, score), "Score\r\n"))));
}

// Clients that trickle their request a byte a second, and idle ones, all from 127.0.0.2 and all
// reconnecting when dropped, until stopped.
class Siege {
 public:
  Siege(int port, int trickling, int idle) : port_(port) {
    for (int i = 0; i < trickling + idle; ++i) slots_.push_back({-1, 0, i < trickling, {}});
    thread_ = std::thread([this] { Run(); });
  }
  ~Siege() {
    stop_ = true;
    thread_.join();
    for (Slot& s : slots_) {
      if (s.fd >= 0) ::close(s.fd);
    }
  }
  int Refused() const { return refused_; }
  int Answered408() const { return answered408_; }

 private:
  struct Slot {
    int fd;
    std::size_t sent;
    bool trickles;
    Clock::time_point next;
  };
  void Run() {
    static const std::string request =
        "POST /splcryp/getscores.php HTTP/1.1\r\nHost: x\r\nContent-Length: 12\r\n\r\nversion=2.05";
    while (!stop_) {
      const auto now = Clock::now();
      for (Slot& s : slots_) {
        if (s.fd >= 0) {
          // Dropped by the server (refused at the cap, or past the deadline)?
          char buffer[512];
          const ssize_t n = ::recv(s.fd, buffer, sizeof buffer, MSG_DONTWAIT);
          if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
            ::close(s.fd);
            s.fd = -1;
          } else if (n > 0) {
            const std::string_view head(buffer, static_cast<std::size_t>(n));
            if (head.find(" 503 ") != std::string_view::npos) ++refused_;
            if (head.find(" 408 ") != std::string_view::npos) ++answered408_;
          }
        }
        if (s.fd < 0 && now >= s.next) {
          s.fd = Connect(port_, "127.0.0.2");
          s.sent = 0;
          s.next = now + std::chrono::seconds(1);  // reconnects at most once a second
          if (s.fd >= 0 && !s.trickles && (&s - slots_.data()) % 2 == 0) {
            // Half the idle ones make one whole keep-alive request first.
            SendAll(s.fd, "GET / HTTP/1.1\r\nHost: x\r\n\r\n");
          }
        }
        if (s.fd >= 0 && s.trickles && now >= s.next - std::chrono::milliseconds(1) &&
            s.sent < request.size()) {
          [[maybe_unused]] const ssize_t n =
              ::send(s.fd, request.data() + s.sent, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
          ++s.sent;
          s.next = now + std::chrono::seconds(1);
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  int port_;
  std::vector<Slot> slots_;
  std::atomic<bool> stop_{false};
  std::atomic<int> refused_{0}, answered408_{0};
  std::thread thread_;
};

TEST(ServerHostileTest, TricklingAndIdleClientsDoNotStarveTheListsNorHoldUpTheStop) {
  TestDatabase db(Backend::Sqlite);
  spellcrypt::testing::TempDir dir;
  const std::string log = dir.File("server.log");
  Program program(db.ProgramOptions(), log);
  for (int i = 0; i < 20; ++i)
    ASSERT_EQ(Submit(program.Port(), "P" + std::to_string(i), i * 10).rfind("msg|Your", 0), 0u);

  Siege siege(program.Port(), 64, 64);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  // List downloads as the game makes them, a new connection each, for five seconds.
  std::vector<double> took;
  int failed = 0;
  const auto end = Clock::now() + std::chrono::seconds(5);
  while (Clock::now() < end) {
    const auto start = Clock::now();
    const std::string answer = Exchange(program.Port(), GameRequest("splcryp/getscores.php", "version=2.05"));
    took.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    if (BodyOf(answer).find("add|P19|190|") == std::string::npos) ++failed;
  }
  std::sort(took.begin(), took.end());
  const double p99 = took[took.size() * 99 / 100];
  std::printf("list downloads under siege: %zu, median %.2f ms, p99 %.2f ms, max %.2f ms\n", took.size(),
              took[took.size() / 2], p99, took.back());
  EXPECT_EQ(failed, 0);
  EXPECT_GT(took.size(), 200u);
  EXPECT_LT(p99, 50.0);
  EXPECT_GT(siege.Refused(), 0) << "the cap of 32 connections per address never answered";

  // SIGTERM with the siege still on.
  const auto stopping = Clock::now();
  const int status = program.Stop(SIGTERM);
  const double stopSeconds = std::chrono::duration<double>(Clock::now() - stopping).count();
  std::printf("stopped in %.2f s under siege\n", stopSeconds);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_LT(stopSeconds, 5.0);

  // The clean stop folded the write-ahead log in: the database file alone holds every entry.
  const std::string copy = dir.File("copy.sqlite");
  std::filesystem::copy_file(std::filesystem::path(db.ProgramOptions()[1]) / "scores.sqlite", copy);
  sqlite3* sql = nullptr;
  ASSERT_EQ(sqlite3_open_v2(copy.c_str(), &sql, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* count = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(sql, "SELECT count(*) FROM entries", -1, &count, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(count, 0), 20);
  sqlite3_finalize(count);
  sqlite3_close(sql);

  const std::string text = spellcrypt::testing::ReadText(log);
  EXPECT_NE(text.find(" from 127.0.0.2: 32 open (limit 32)"), std::string::npos);
}

TEST(ServerHostileTest, RangeHeadersAreIgnoredAndCannotMultiplyAnAnswer) {
  TestDatabase db(Backend::Sqlite);
  spellcrypt::testing::TempDir dir;
  Program program(db.ProgramOptions(), dir.File("server.log"));
  for (int i = 0; i < 100; ++i) Submit(program.Port(), "Player" + std::to_string(i), i);
  std::size_t plain = 0;
  const int once = Connect(program.Port());
  SendAll(once, "GET /?mode=1 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  ReadUntilClosed(once, std::chrono::seconds(10), &plain);
  ::close(once);
  ASSERT_GT(plain, 10000u);

  std::string ranges = "Range: bytes=";
  for (int i = 0; i < 2000; ++i) ranges += "0-,";
  ranges.back() = '\r';
  ranges += "\n";
  std::vector<std::thread> attackers;
  std::vector<std::size_t> sizes(8);
  std::vector<std::string> heads(8);
  for (int i = 0; i < 8; ++i) {
    attackers.emplace_back([&, i] {
      const int sock = Connect(program.Port());
      SendAll(sock, "GET /?mode=1 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n" + ranges + "\r\n");
      heads[i] = ReadUntilClosed(sock, std::chrono::seconds(20), &sizes[i]).substr(0, 12);
      ::close(sock);
    });
  }
  for (std::thread& t : attackers) t.join();
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(heads[i], "HTTP/1.1 200");
    EXPECT_EQ(sizes[i], plain);  // the whole page once, never a part or many
  }
  const long peak = PeakResidentKiB(program.Pid());
  std::printf("peak resident memory after 8 range requests: %ld KiB\n", peak);
  EXPECT_LT(peak, 64 * 1024);
}

class HostileInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = db_.Open();
    ASSERT_NE(store_, nullptr);
  }
  void Serve(ServiceOptions options) {
    options.log = [this](const std::string& line) {
      std::lock_guard<std::mutex> hold(logLock_);
      log_ += line + "\n";
    };
    server_ = std::make_unique<RunningServer>(*store_, std::move(options));
  }
  std::string Log() {
    std::lock_guard<std::mutex> hold(logLock_);
    return log_;
  }
  TestDatabase db_{Backend::Sqlite};
  std::unique_ptr<ScoreStore> store_;
  std::unique_ptr<RunningServer> server_;
  std::mutex logLock_;
  std::string log_;
};

TEST_F(HostileInProcess, ARequestThatDoesNotArriveInTimeIsAnswered408AndLoggedSo) {
  ServiceOptions options = RunningServer::Quiet();
  options.timeoutSeconds = 1;
  Serve(options);
  // A body that stops halfway.
  const int stalled = Connect(server_->Port());
  SendAll(stalled, "POST /splcryp/submit.php HTTP/1.0\r\nContent-Length: 100\r\n\r\nversion=2.05&da");
  // A header block that comes a byte every 200 ms: each byte in time, the whole too late.
  const int trickling = Connect(server_->Port(), "127.0.0.3");
  const std::string header =
      "GET / HTTP/1.1\r\nHost: x\r\nX-Padding: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\r\n\r\n";
  const auto start = Clock::now();
  std::string answer;
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (::send(trickling, &header[i], 1, MSG_NOSIGNAL) <= 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    pollfd p{trickling, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0) break;
  }
  answer = ReadUntilClosed(trickling, std::chrono::seconds(5));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_EQ(answer.rfind("HTTP/1.1 408 ", 0), 0u) << answer;
  EXPECT_LT(seconds, 2.5);
  const std::string stalledAnswer = ReadUntilClosed(stalled, std::chrono::seconds(5));
  EXPECT_EQ(stalledAnswer.rfind("HTTP/1.1 408 ", 0), 0u) << stalledAnswer;
  EXPECT_NE(BodyOf(stalledAnswer).find("msg|"), std::string::npos);
  ::close(stalled);
  ::close(trickling);
  EXPECT_NE(Log().find("127.0.0.1 POST /splcryp/submit.php 408 "), std::string::npos) << Log();
  EXPECT_NE(Log().find("127.0.0.3 GET / 408 "), std::string::npos) << Log();
  // Nothing of it was stored.
  std::vector<StoredEntry> all;
  ASSERT_TRUE(store_->All(all));
  EXPECT_TRUE(all.empty());
}

TEST_F(HostileInProcess, LogLinesCannotBeForgedAndNameTheRealClient) {
  ServiceOptions options = RunningServer::Quiet();
  options.trustForwardedFor = true;
  Serve(options);
  const int port = server_->Port();
  // Encoded line ends stay encoded; raw control bytes are refused and escaped in the log.
  Exchange(port, "GET /%0a%0d2026-01-01T00:00:00.000Z 1.2.3.4 GET /forged HTTP/1.0\r\n\r\n");
  Exchange(port, "GET /%0a%0dfake HTTP/1.0\r\n\r\n");
  Exchange(port, "GET /x\x1b[31mred HTTP/1.0\r\n\r\n");
  Exchange(port, "\x01\x02 nonsense\r\n\r\n");
  // Behind the proxy, the address it forwards is the client's.
  Exchange(port, "GET /?mode=2 HTTP/1.0\r\nX-Forwarded-For: 203.0.113.9, 198.51.100.7\r\n\r\n");
  Exchange(port, "GET /?mode=0 HTTP/1.0\r\nX-Forwarded-For: not-an-address\r\n\r\n");
  // A client that goes away in the middle of its request is logged with its address.
  const int gone = Connect(port, "127.0.0.4");
  SendAll(gone, "POST /splcryp/submit.php HTTP/1.0\r\nContent-Length: 50\r\n\r\nver");
  ::close(gone);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  const std::string log = Log();
  for (std::size_t at = 0, next; at < log.size(); at = next + 1) {
    next = log.find('\n', at);
    const std::string line = log.substr(at, next - at);
    EXPECT_TRUE(line.rfind("127.0.0.", 0) == 0 || line.rfind("198.51.100.7 ", 0) == 0) << line;
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c < 0x7F; })) << line;
  }
  EXPECT_NE(log.find("127.0.0.1 GET /%0a%0dfake 404 "), std::string::npos) << log;
  EXPECT_NE(log.find("127.0.0.1 GET /x\\x1B[31mred 400 "), std::string::npos) << log;
  EXPECT_NE(log.find(" 400 "), std::string::npos);
  EXPECT_NE(log.find("198.51.100.7 GET /?mode=2 200 "), std::string::npos) << log;
  EXPECT_NE(log.find("127.0.0.1 GET /?mode=0 200 "), std::string::npos) << log;
  EXPECT_NE(log.find("127.0.0.4 POST /splcryp/submit.php - 0 "), std::string::npos) << log;
}

TEST_F(HostileInProcess, EachAddressHoldsAtMostItsShareOfConnections) {
  ServiceOptions options = RunningServer::Quiet();
  options.connectionsPerAddress = 4;
  Serve(options);
  std::vector<int> held;
  for (int i = 0; i < 4; ++i) held.push_back(Connect(server_->Port(), "127.0.0.5"));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const int fifth = Connect(server_->Port(), "127.0.0.5");
  const std::string refused = ReadUntilClosed(fifth, std::chrono::seconds(2));
  EXPECT_EQ(refused.rfind("HTTP/1.1 503 ", 0), 0u) << refused;
  EXPECT_EQ(SubmitReplyMessage(BodyOf(refused)),
            "Too many connections from your address. Please try again later.");
  ::close(fifth);
  // Others are served meanwhile, and a place freed is taken again.
  EXPECT_NE(
      BodyOf(Exchange(server_->Port(), GameRequest("splcryp/getscores.php", "version=2.05"))).find("DIFF|2"),
      std::string::npos);
  ::close(held.back());
  held.pop_back();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const int again = Connect(server_->Port(), "127.0.0.5");
  SendAll(again, "GET /?mode=1 HTTP/1.0\r\n\r\n");
  EXPECT_EQ(ReadUntilClosed(again, std::chrono::seconds(2)).rfind("HTTP/1.1 200 ", 0), 0u);
  ::close(again);
  for (int fd : held) ::close(fd);
  EXPECT_NE(Log().find("refused 1 connection from 127.0.0.5: 4 open (limit 4)"), std::string::npos) << Log();
}

TEST(ServerProgramTest, OneServerPerPortAndPerFolderAndClearMessagesOtherwise) {
  spellcrypt::testing::TempDir dir;
  const std::string data = dir.File("data");
  Program first({"--data", data}, dir.File("first.log"));
  std::string out, err;
  // The same port: refused, whatever the folder.
  EXPECT_EQ(RunToEnd({"--port", std::to_string(first.Port()), "--data", dir.File("other")}, out, err), 1);
  EXPECT_NE(err.find("cannot listen on 127.0.0.1 port " + std::to_string(first.Port()) +
                     ": Address already in use"),
            std::string::npos)
      << err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("other")));
  // The same folder on another port: refused.
  EXPECT_EQ(RunToEnd({"--port", std::to_string(FreePort()), "--data", data}, out, err), 1);
  EXPECT_NE(err.find("another spellcrypt-server is using"), std::string::npos) << err;
  // A host that does not resolve makes nothing on disk and says why.
  EXPECT_EQ(RunToEnd({"--host", "nonsense.invalid", "--data", dir.File("never")}, out, err), 1);
  EXPECT_NE(err.find("cannot resolve nonsense.invalid"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("never")));
  // Help goes to standard output.
  EXPECT_EQ(RunToEnd({"--help"}, out, err), 0);
  EXPECT_NE(out.find("Usage: spellcrypt-server"), std::string::npos);
  EXPECT_NE(out.find("admin"), std::string::npos);
  EXPECT_TRUE(err.empty());
  EXPECT_EQ(RunToEnd({"--port", "0"}, out, err), 2);
  EXPECT_NE(err.find("bad option --port 0"), std::string::npos) << err;
}

TEST(ServerProgramTest, AnIPv6AddressIsWrittenInBracketsInTheBanner) {
  spellcrypt::testing::TempDir dir;
  std::string out, err;
  RunToEnd({"--host", "::1", "--port", std::to_string(FreePort()), "--data", dir.File("data")}, out, err,
           std::chrono::milliseconds(500));
  if (err.find("cannot listen on ::1") != std::string::npos) GTEST_SKIP() << "no IPv6 loopback here";
  EXPECT_NE(err.find("serving on http://[::1]:"), std::string::npos) << err;
  EXPECT_NE(err.find("spellcrypt-server: stopped"), std::string::npos) << err;
}

}  // namespace
}  // namespace spellcrypt::server::testing
