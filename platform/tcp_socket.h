// A blocking IPv4 TCP connection for the score server's HTTP transfers, which run on worker
// threads. Errors are reported as the game's socket error numbers (10035 would-block, ...).
#pragma once

#include <cstddef>

namespace spellcrypt {

class TcpSocket {
 public:
  TcpSocket() = default;
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // Connects to a dotted IPv4 address, or to the first IPv4 address a host name resolves to
  // (a name that does not resolve fails with the invalid-argument error, 10022).
  bool Connect(const char* host, int port);
  // One send call: bytes sent, or -1 (LastError says why). A closed peer never raises SIGPIPE.
  int Send(const void* data, std::size_t length);
  // One receive call: bytes read, 0 when the peer has closed the connection, -1 on error.
  int Receive(void* buffer, std::size_t size);
  void Close();
  bool IsOpen() const { return handle_ >= 0; }
  int LastError() const { return lastError_; }

 private:
  int handle_ = -1;
  int lastError_ = 0;
};

// The game's socket error number for a system error number (10035 for would-block, ...).
int SocketErrorNumber(int systemError);

}  // namespace spellcrypt
