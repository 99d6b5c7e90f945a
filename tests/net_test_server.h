// Servers on the loopback interface for the network tests: each accepted connection is handed to
// the test's handler on a thread of its own. Every wait is bounded in time and ends when the
// server stops, so a test that fails never hangs.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace spellcrypt::testing {

// One accepted connection.
class PeerConnection {
 public:
  PeerConnection(int handle, const std::atomic<bool>& stopping);
  ~PeerConnection();
  PeerConnection(const PeerConnection&) = delete;
  PeerConnection& operator=(const PeerConnection&) = delete;

  // Sends all the bytes; false once the client has gone or the server stops.
  bool Send(std::string_view bytes);
  // The request: up to its blank line, the Content-Length bytes after it, and whatever else comes
  // within a short while after that (so a request's trailing bytes are seen too).
  std::string ReadRequest(int timeoutMs = 5000);
  // Reads and drops whatever comes until the client closes (true), or the time is up or the server
  // stops (false).
  bool WaitForClose(int timeoutMs);
  // Does nothing until the server stops or the time is up.
  void Sit(int timeoutMs);
  // Ends the connection with a reset rather than a close.
  void Reset();

 private:
  // Waits for the events: true when ready, false when the time is up or the server stops.
  bool WaitFor(short events, int timeoutMs);

  int handle_;
  const std::atomic<bool>& stopping_;
};

class TestServer {
 public:
  using Handler = std::function<void(PeerConnection&)>;
  // Listens on 127.0.0.1 (or ::1 when ipv6) on a free port.
  explicit TestServer(Handler handler, bool ipv6 = false);
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  bool Listening() const { return listener_ >= 0; }
  int Port() const { return port_; }
  int Accepted() const { return accepted_.load(); }
  // Ends every wait of the handlers and joins their threads.
  void Stop();

 private:
  void AcceptLoop();

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  std::mutex lock_;
  std::vector<std::thread> handlers_;
  std::thread acceptor_;
};

// A listener that never accepts and whose queue is full, so a connection attempt to it hangs.
class FullListener {
 public:
  FullListener();
  ~FullListener();
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;
  int Port() const { return port_; }
  // False when the queue could not be filled on this machine.
  bool Full() const { return full_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  bool full_ = false;
  std::vector<int> fillers_;
};

// A loopback port that nothing listens on.
int UnusedPort();

}  // namespace spellcrypt::testing
