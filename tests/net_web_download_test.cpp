// The HTTP client against servers on the loopback interface: what it sends, how it cuts the
// header from the body, and what it does when the server misbehaves (never answers, never
// closes, sends without end or sends rubbish, breaks off, is not there) or the player cancels.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/log.h"
#include "scores/web_download.h"
#include "tests/net_test_server.h"

namespace spellcrypt {
namespace {

using testing::FullListener;
using testing::PeerConnection;
using testing::TestServer;
using testing::UnusedPort;
using Clock = std::chrono::steady_clock;
namespace hooks = web_download_testing;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Polls until the condition holds or the time is up; answers whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Keeps the log's lines (the worker logs from its own thread).
class LogCapture : public ILogSink {
 public:
  void DebugOut(const char* text) override {
    std::lock_guard<std::mutex> guard(lock_);
    lines_.emplace_back(text);
  }
  LocalTime Now() override { return LocalTime{}; }
  bool ShowMessageBox(const char*, const char*, MessageBoxIcon) override { return false; }
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> guard(lock_);
    return lines_;
  }
  bool Saw(const std::string& text) {
    for (const std::string& line : Lines()) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }
  // True when each text is found on a line after the one of the text before it.
  bool SawInOrder(const std::vector<std::string>& texts) {
    const std::vector<std::string> lines = Lines();
    std::size_t at = 0;
    for (const std::string& text : texts) {
      while (at < lines.size() && lines[at].find(text) == std::string::npos) ++at;
      if (at++ >= lines.size()) return false;
    }
    return true;
  }

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};

// Time-outs short enough for tests, long enough for a loaded machine.
WebLimits QuickLimits() {
  WebLimits limits;
  limits.connectTimeoutMs = 3000;
  limits.receiveTimeoutMs = 3000;
  return limits;
}

// Time-outs for the tests that wait for one.
WebLimits ShortLimits() {
  WebLimits limits;
  limits.connectTimeoutMs = 400;
  limits.receiveTimeoutMs = 300;
  return limits;
}

// A server that answers the nth connection with the nth reply (the last one from then on) and
// closes, keeping each request.
class ReplyServer {
 public:
  explicit ReplyServer(std::vector<std::string> replies)
      : replies_(std::move(replies)), server_([this](PeerConnection& peer) { Serve(peer); }) {}
  int Port() const { return server_.Port(); }
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
  }

 private:
  void Serve(PeerConnection& peer) {
    const std::string request = peer.ReadRequest();
    std::size_t index;
    {
      std::lock_guard<std::mutex> guard(lock_);
      index = std::min(requests_.size(), replies_.size() - 1);
      requests_.push_back(request);
    }
    peer.Send(replies_[index]);
  }

  std::vector<std::string> replies_;
  std::mutex lock_;
  std::vector<std::string> requests_;
  TestServer server_;  // last: its handlers use the members above
};

class WebDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogSink(&log_);
    hooks::ResetPeakBufferBytes();
  }
  void TearDown() override {
    // Every transfer of the test is gone, and so is every thread.
    EXPECT_TRUE(WaitForWebTransfers(2000));
    EXPECT_EQ(hooks::LiveWorkers(), 0);
    SetLogSink(nullptr);
  }

  // Starts a transfer from 127.0.0.1 and waits for its end: an error or done. Answers the time it
  // took in milliseconds.
  static double Run(WebDownload& web, int port, const WebLimits& limits = QuickLimits(),
                    const char* path = "splcryp/getscores.php") {
    web.SetLimits(limits);
    EXPECT_TRUE(web.Prepare("127.0.0.1", port, path));
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(web.Init());
    EXPECT_TRUE(
        WaitUntil([&] { return web.GetError() != kWebNoError || web.GetState() == kWebDone; }, 30000));
    return MillisecondsSince(start);
  }
  static std::string Body(const WebDownload& web) {
    return std::string(web.GetData(), static_cast<std::size_t>(web.GetDataSize()));
  }
  // The body of a transfer from a server that sends the reply and closes.
  static std::string BodyOf(const std::string& reply) {
    ReplyServer server({reply});
    WebDownload web;
    Run(web, server.Port());
    EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
    EXPECT_EQ(web.GetData()[web.GetDataSize()], '\0');
    return Body(web);
  }

  LogCapture log_;
};

TEST(WebRequestTest, GetWithoutFieldsAndPostWithAForm) {
  EXPECT_EQ(BuildRequest("h", "p", ""), "GET /p HTTP/1.0\r\nAccept: */*\r\nHost: h\r\n\r\n\r\n");
  EXPECT_EQ(BuildRequest("h", "p", "a=1"),
            "POST /p HTTP/1.0\r\nAccept: */*\r\nHost: h\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 5\r\n\r\n\r\na=1");
}

TEST(WebRequestTest, UrlEncodingKeepsOnlyLettersAndDigits) {
  EXPECT_EQ(UrlEncode("a b&c", 5), "a+b%26c");
  const unsigned char accented = 0xE9;
  EXPECT_EQ(UrlEncode(&accented, 1), "%E9");
  EXPECT_EQ(UrlEncode("-_.~", 4), "%2D%5F%2E%7E");
  EXPECT_EQ(UrlEncode("AZaz09", 6), "AZaz09");
  EXPECT_EQ(UrlEncode("\0\x01\xFF", 3), "%00%01%FF");
  EXPECT_EQ(UrlEncode(nullptr, 0), "");
}

TEST_F(WebDownloadTest, PostsTheFormAndKeepsTheBodyAfterTheHeader) {
  ReplyServer server({"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nhello"});
  WebDownload web;
  web.SetLimits(QuickLimits());
  ASSERT_TRUE(web.Prepare("127.0.0.1", server.Port(), "splcryp/submit.php"));
  EXPECT_TRUE(web.AddFormField("version", "2.05"));
  EXPECT_TRUE(web.AddFormField("data", "a b&c\0\xE9", 7));
  EXPECT_TRUE(web.AddFormField("empty", nullptr, 5));
  ASSERT_TRUE(web.Init());
  ASSERT_TRUE(WaitUntil([&] { return web.GetError() != kWebNoError || web.GetState() == kWebDone; }, 5000));

  EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
  EXPECT_EQ(web.GetState(), kWebDone);
  EXPECT_EQ(web.GetDataSize(), 5);
  EXPECT_STREQ(web.GetData(), "hello");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0],
            BuildRequest("127.0.0.1", "splcryp/submit.php", "version=2%2E05&data=a+b%26c%00%E9&empty="));
  EXPECT_TRUE(
      log_.SawInOrder({"Running thread!", "Connecting to 127.0.0.1", "Connected OK",
                       "Downloading chunk (got 50 bytes)", "Total downloadsize is 50 bytes",
                       "Located end of header.", "Downloading chunk (got 0 bytes)", "Got everything"}));
  EXPECT_FALSE(log_.Saw("Winsock Error"));
}

TEST_F(WebDownloadTest, AGetAndShortAnswersThatAreNotSearchedForAHeader) {
  ReplyServer server({"\r\n\r\nabc", "ab\r\n\r\ncdef", "ab\r\n\r\ncdefg", ""});
  const char* const bodies[] = {"\r\n\r\nabc", "ab\r\n\r\ncdef", "cdefg", ""};
  for (const char* body : bodies) {
    WebDownload web;
    Run(web, server.Port(), QuickLimits(), "p");
    EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
    EXPECT_EQ(Body(web), body);
  }
  // Without fields the request is a GET, with its two extra bytes after the header block.
  EXPECT_EQ(server.Requests()[0], "GET /p HTTP/1.0\r\nAccept: */*\r\nHost: 127.0.0.1\r\n\r\n\r\n");
}

TEST_F(WebDownloadTest, HeaderEndingPastTheFirstReadIsCutWhereverItFalls) {
  std::string body;
  for (int i = 0; i < 3000; ++i) body += static_cast<char>(i * 7);  // NUL bytes included
  // Header blocks whose CR LF CR LF ends in the second read, straddles the first two reads, or
  // comes after several reads.
  for (std::size_t endAt : {2025u, 2022u, 2023u, 7000u}) {
    std::string header = "HTTP/1.0 200 OK\r\nX-Pad: ";
    header.append(endAt - header.size() - 2, 'x');
    header += "\r\n";
    ASSERT_EQ(header.size(), endAt);
    EXPECT_TRUE(BodyOf(header + "\r\n" + body) == body) << "header of " << endAt << " bytes";
  }
  // An empty header is a header all the same: a later CR LF CR LF belongs to the body.
  const std::string tail(3000, 'y');
  EXPECT_TRUE(BodyOf("\r\n\r\nfirst\r\n\r\n" + tail) == "first\r\n\r\n" + tail);
}

TEST_F(WebDownloadTest, AHeaderTrickledByteByByteAndRubbishWithoutABlankLine) {
  TestServer trickle([](PeerConnection& peer) {
    peer.ReadRequest();
    for (char c : std::string("HTTP/1.0 200 OK\r\nX: y\r\n\r\nhello world")) {
      if (!peer.Send(std::string(1, c))) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  WebDownload web;
  Run(web, trickle.Port());
  EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
  EXPECT_EQ(Body(web), "hello world");

  // Binary bytes with CR, LF and NUL but never a blank line: all of it is the body.
  std::string rubbish;
  for (int i = 0; i < 5000; ++i) rubbish += "\r\n\r\0\xFF\x80"[i * 31 % 7];
  ASSERT_EQ(rubbish.find("\r\n\r\n"), std::string::npos);
  EXPECT_TRUE(BodyOf(rubbish) == rubbish);
}

TEST_F(WebDownloadTest, AnAnswerBrokenOffIsAnErrorNotAShortList) {
  TestServer breaker([](PeerConnection& peer) {
    peer.ReadRequest();
    std::string reply = "HTTP/1.0 200 OK\r\n\r\n";
    for (int i = 0; i < 300; ++i) reply += "add|Ann|4200|7|1\n";
    peer.Send(reply);
    peer.Reset();
  });
  WebDownload web;
  Run(web, breaker.Port());
  EXPECT_EQ(web.GetError(), kWebReceiveFailed);
  EXPECT_STREQ(web.GetErrorText(), "The server stopped answering.  Try again later");
  EXPECT_NE(web.GetState(), kWebDone);
  EXPECT_EQ(web.GetDataSize(), 0);
  EXPECT_STREQ(web.GetData(), "");
  EXPECT_TRUE(
      log_.SawInOrder({"RawSocket got blocked.", "Winsock Error: Unknown.", "Socket error number 10054"}));
}

TEST_F(WebDownloadTest, ServersThatStopAnsweringTimeOut) {
  TestServer silent([](PeerConnection& peer) {
    peer.ReadRequest();
    peer.Sit(20000);
  });
  TestServer neverCloses([](PeerConnection& peer) {
    peer.ReadRequest();
    peer.Send("HTTP/1.0 200 OK\r\n\r\nhel");
    peer.Sit(20000);
  });
  for (TestServer* server : {&silent, &neverCloses}) {
    WebDownload web;
    const double ms = Run(web, server->Port(), ShortLimits());
    EXPECT_EQ(web.GetError(), kWebReceiveFailed);
    EXPECT_EQ(web.GetState(), kWebReceiving);
    EXPECT_EQ(web.GetDataSize(), 0);
    EXPECT_GE(ms, 250);
    EXPECT_LT(ms, 3000);
  }
  EXPECT_TRUE(log_.Saw("No data from 127.0.0.1 for 300 ms"));
  EXPECT_TRUE(log_.Saw("Socket error number 10060"));
}

TEST_F(WebDownloadTest, AnEndlessAnswerStopsAtTheCapHoldingNoMore) {
  std::atomic<std::size_t> sent{0};
  std::atomic<bool> sawClose{false};
  TestServer flood([&](PeerConnection& peer) {
    peer.ReadRequest();
    const std::string chunk(64 * 1024, 'z');
    bool ok = peer.Send("HTTP/1.0 200 OK\r\n\r\n");
    while (ok && sent.load() < 100u * 1024 * 1024) {
      ok = peer.Send(chunk);
      if (ok) sent += chunk.size();
    }
    sawClose = !ok;
  });
  WebDownload web;
  WebLimits limits;  // the real cap
  limits.connectTimeoutMs = 2000;
  limits.receiveTimeoutMs = 2000;
  const double ms = Run(web, flood.Port(), limits);
  EXPECT_EQ(web.GetError(), kWebTooLarge);
  EXPECT_STREQ(web.GetErrorText(), "The server's answer was too large.");
  EXPECT_EQ(web.GetDataSize(), 0);
  EXPECT_LE(hooks::PeakBufferBytes(), kWebMaxBody + 2025);
  EXPECT_GE(hooks::PeakBufferBytes(), kWebMaxBody);
  EXPECT_LT(ms, 10000);
  // The transfer dropped the connection itself, without waiting for its owner.
  EXPECT_TRUE(WaitUntil([&] { return sawClose.load(); }, 5000));
  EXPECT_LT(sent.load(), 32u * 1024 * 1024);
  EXPECT_TRUE(log_.Saw("The answer from 127.0.0.1 is over 1048576 bytes"));
}

TEST_F(WebDownloadTest, TheCapAllowsExactlyItsSize) {
  WebLimits limits = QuickLimits();
  limits.maxBody = 4096;
  for (std::size_t size : {4096u, 4097u}) {
    ReplyServer server({"HTTP/1.0 200 OK\r\n\r\n" + std::string(size, 'b')});
    WebDownload web;
    Run(web, server.Port(), limits);
    if (size == 4096) {
      EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
      EXPECT_EQ(web.GetDataSize(), 4096);
    } else {
      EXPECT_EQ(web.GetError(), kWebTooLarge);
    }
  }
  EXPECT_LE(hooks::PeakBufferBytes(), 4096u + 2025);
}

TEST_F(WebDownloadTest, ServersThatAreNotThereFailToConnect) {
  // A refused connection says so; only a name that does not resolve speaks of the URL.
  WebDownload refused;
  double ms = Run(refused, UnusedPort());
  EXPECT_EQ(refused.GetError(), kWebSendFailed);
  EXPECT_STREQ(refused.GetErrorText(), "Error connecting.  Try again later");
  EXPECT_EQ(refused.GetState(), kWebConnecting);
  EXPECT_LT(ms, 2000);
  EXPECT_TRUE(
      log_.SawInOrder({"Connecting to 127.0.0.1", "Winsock Error: Unknown.", "Socket error number 10061"}));

  WebDownload unknown;
  unknown.SetLimits(QuickLimits());
  ASSERT_TRUE(unknown.Prepare("no-such-host.invalid", 80, "p"));
  ASSERT_TRUE(unknown.Init());
  EXPECT_TRUE(WaitUntil([&] { return unknown.GetError() != kWebNoError; }, 3000));
  EXPECT_EQ(unknown.GetError(), kWebConnectFailed);
  EXPECT_TRUE(log_.Saw("Connecting to no-such-host.invalid"));
  EXPECT_TRUE(log_.Saw("Socket error number 10022") || log_.Saw("Socket error number 10060"));

  FullListener full;
  if (!full.Full()) GTEST_SKIP() << "could not fill a listen queue here";
  WebDownload hanging;
  ms = Run(hanging, full.Port(), ShortLimits());
  EXPECT_EQ(hanging.GetError(), kWebSendFailed);
  EXPECT_GE(ms, 350);
  EXPECT_LT(ms, 3000);
  EXPECT_TRUE(log_.Saw("No connection to 127.0.0.1 within 400 ms"));
}

TEST_F(WebDownloadTest, CancelAnswersAtOnceWhileConnectingOrReceiving) {
  FullListener full;
  std::atomic<bool> clientClosed{false};
  TestServer silent([&](PeerConnection& peer) {
    peer.ReadRequest();
    clientClosed = peer.WaitForClose(20000);
  });
  // The real time-outs: only the cancel ends these transfers.
  for (int receiving = 0; receiving < 2; ++receiving) {
    if (!receiving && !full.Full()) continue;
    WebDownload web;
    ASSERT_TRUE(web.Prepare("127.0.0.1", receiving ? silent.Port() : full.Port(), "p"));
    ASSERT_TRUE(web.Init());
    const int blockedIn = receiving ? kWebReceiving : kWebConnecting;
    ASSERT_TRUE(WaitUntil([&] { return web.GetState() == blockedIn; }, 2000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(web.GetError(), kWebNoError);
    ASSERT_EQ(hooks::LiveThreads(), 1);

    const Clock::time_point start = Clock::now();
    web.Cancel();
    EXPECT_LT(MillisecondsSince(start), 50) << (receiving ? "receiving" : "connecting");
    EXPECT_EQ(web.GetError(), kWebNoError);
    EXPECT_EQ(web.GetState(), kWebConnecting);
    EXPECT_TRUE(WaitUntil([] { return hooks::LiveThreads() == 0 && hooks::LiveWorkers() == 0; }, 500));
  }
  EXPECT_TRUE(WaitUntil([&] { return clientClosed.load(); }, 1000));
}

TEST_F(WebDownloadTest, HandingOverAtAnyMomentDeletesTheTransferOnce) {
  ReplyServer server({"HTTP/1.0 200 OK\r\n\r\nok"});
  for (int i = 0; i < 120; ++i) {
    WebDownload web;
    web.SetLimits(QuickLimits());
    ASSERT_TRUE(web.Prepare("127.0.0.1", server.Port(), "p"));
    ASSERT_TRUE(web.Init());
    // Cancelled at every point of the transfer, ended or not; the owner lets go by destruction
    // for every third one.
    const Clock::time_point until = Clock::now() + std::chrono::microseconds(i * 25);
    while (Clock::now() < until) {
    }
    if (i % 3 != 0) web.Cancel();
  }
  EXPECT_TRUE(WaitForWebTransfers(2000));
  EXPECT_EQ(hooks::LiveWorkers(), 0);
  // Preparing again cancels the transfer under way.
  WebDownload web;
  web.SetLimits(QuickLimits());
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(web.Prepare("127.0.0.1", server.Port(), "p"));
    ASSERT_TRUE(web.Init());
  }
  EXPECT_TRUE(WaitUntil([&] { return web.GetError() != kWebNoError || web.GetState() == kWebDone; }, 10000));
  EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
  EXPECT_EQ(Body(web), "ok");
  EXPECT_TRUE(WaitUntil([] { return hooks::LiveWorkers() == 1; }, 2000));
}

TEST_F(WebDownloadTest, TheRealTimeOutsAreLongEnoughForASlowServer) {
  const WebDownload fresh;
  EXPECT_EQ(fresh.Limits().connectTimeoutMs, 10000);
  EXPECT_EQ(fresh.Limits().receiveTimeoutMs, 20000);
  EXPECT_EQ(fresh.Limits().maxBody, 1024u * 1024u);

  // An answer after a second of silence is still taken.
  TestServer slow([](PeerConnection& peer) {
    peer.ReadRequest();
    peer.Sit(1200);
    peer.Send("HTTP/1.0 200 OK\r\n\r\nlate");
  });
  WebDownload web;
  Run(web, slow.Port(), WebLimits{});
  EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
  EXPECT_EQ(Body(web), "late");
}

TEST_F(WebDownloadTest, AFailedStartIsAnErrorAtOnce) {
  WebDownload web;
  EXPECT_EQ(web.GetError(), kWebNoError);
  EXPECT_EQ(web.GetState(), kWebConnecting);
  EXPECT_EQ(web.GetDataSize(), 0);
  EXPECT_STREQ(web.GetData(), "");
  EXPECT_FALSE(web.AddFormField("a", "1"));

  EXPECT_FALSE(web.Init());
  EXPECT_EQ(web.GetError(), kWebStartFailed);
  EXPECT_STREQ(web.GetErrorText(), "Unable to start the transfer.  Try again later");

  // Hosts and paths that would break the request's lines.
  const std::pair<const char*, const char*> bad[] = {{"", "p"},    {"a b", "p"}, {"h\r\nX-Evil: 1", "p"},
                                                     {"h", "p q"}, {"h", "p\n"}, {"h", "\x7F"}};
  for (const auto& [host, path] : bad) {
    EXPECT_FALSE(web.Prepare(host, 80, path)) << host << " " << path;
    EXPECT_EQ(web.GetError(), kWebStartFailed);
  }
  ASSERT_TRUE(web.Prepare("127.0.0.1", UnusedPort(), ""));
  EXPECT_EQ(web.GetError(), kWebNoError);

  hooks::FailThreadStarts(true);
  EXPECT_FALSE(web.Init());
  hooks::FailThreadStarts(false);
  EXPECT_EQ(web.GetError(), kWebStartFailed);
  EXPECT_TRUE(log_.Saw("initting a new thread in WebDownload::Init"));
  EXPECT_EQ(hooks::LiveThreads(), 0);

  // A running transfer keeps its form and its one thread.
  TestServer silent([](PeerConnection& peer) { peer.Sit(20000); });
  ASSERT_TRUE(web.Prepare("127.0.0.1", silent.Port(), "p"));
  ASSERT_TRUE(web.Init());
  EXPECT_FALSE(web.AddFormField("late", "1"));
  EXPECT_FALSE(web.Init());
  EXPECT_EQ(web.GetError(), kWebNoError);
  EXPECT_EQ(hooks::LiveThreads(), 1);
  web.Cancel();

  EXPECT_STREQ(WebDownload::ErrorText(kWebNoError), "No error");
  EXPECT_STREQ(WebDownload::ErrorText(kWebSendFailed), "Error connecting.  Try again later");
  EXPECT_STREQ(WebDownload::ErrorText(99), "Unknown error");
}

}  // namespace
}  // namespace spellcrypt
