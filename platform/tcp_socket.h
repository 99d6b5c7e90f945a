// A TCP connection for the score server's HTTP transfers, which run on worker threads. Every wait
// (resolving, connecting, sending, receiving) can be given a time limit and can be interrupted
// from another thread, so a dead or hostile server never holds a transfer for long. Errors are
// reported as the game's socket error numbers (10035 would-block, ...).
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>

namespace spellcrypt {

// Socket error numbers the callers look at.
constexpr int kSocketInterrupted = 10004;
constexpr int kSocketInvalidArgument = 10022;
constexpr int kSocketTimedOut = 10060;

class TcpSocket {
 public:
  // A wait without a time limit.
  static constexpr int kNoTimeout = -1;

  TcpSocket() = default;
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // Connects to an IPv4 or IPv6 address, or to a host name, trying each address the name resolves
  // to in turn. A name that does not resolve fails with the invalid-argument error (10022); no
  // connection within timeoutMs, resolving included, fails with the time-out error (10060).
  bool Connect(const char* host, int port, int timeoutMs = kNoTimeout);
  // Waits up to timeoutMs for room, then makes one send call: bytes sent, or -1 (LastError says
  // why). A closed peer never raises SIGPIPE.
  int Send(const void* data, std::size_t length, int timeoutMs = kNoTimeout);
  // Waits up to timeoutMs for a byte, then makes one receive call: bytes read, 0 when the peer has
  // closed the connection, -1 on error (10060 when nothing came in time).
  int Receive(void* buffer, std::size_t size, int timeoutMs = kNoTimeout);
  // Safe from any thread while another one uses the socket: its current wait ends within a few
  // milliseconds and every call fails from then on with the interrupted error (10004).
  void Interrupt() { interrupted_.store(true, std::memory_order_relaxed); }
  bool Interrupted() const { return interrupted_.load(std::memory_order_relaxed); }
  void Close();
  bool IsOpen() const { return handle_ >= 0; }
  int LastError() const { return lastError_; }
  // Whether the last Connect found the host's addresses (it may still have failed to connect).
  bool Resolved() const { return resolved_; }

 private:
  using Clock = std::chrono::steady_clock;
  // Waits until the handle is ready for the events: 0, or the socket error number of why not.
  int WaitFor(short events, Clock::time_point deadline) const;
  // Opens a handle and connects it to one address by the deadline: 0, or the socket error number.
  int ConnectTo(const void* address, unsigned length, int family, Clock::time_point deadline);
  // Keeps the error number and answers what a failed call answers: -1 (0 for no error).
  int Fail(int socketError);

  int handle_ = -1;
  int lastError_ = 0;
  bool resolved_ = false;
  std::atomic<bool> interrupted_{false};
};

// The game's socket error number for a system error number (10035 for would-block, ...).
int SocketErrorNumber(int systemError);

}  // namespace spellcrypt
