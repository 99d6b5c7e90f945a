// TCP connections over POSIX sockets.
#include "platform/tcp_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace spellcrypt {

int SocketErrorNumber(int systemError) {
  // The numbers follow the classic socket error table, so the game's texts stay the same.
  switch (systemError) {
    case 0:
      return 0;
    case EINTR:
      return 10004;
    case EBADF:
      return 10009;
    case EACCES:
      return 10013;
    case EFAULT:
      return 10014;
    case EINVAL:
      return 10022;
    case EMFILE:
      return 10024;
    case EWOULDBLOCK:
      return 10035;
    case EINPROGRESS:
      return 10036;
    case EALREADY:
      return 10037;
    case ENOTSOCK:
      return 10038;
    case EDESTADDRREQ:
      return 10039;
    case EMSGSIZE:
      return 10040;
    case EPROTOTYPE:
      return 10041;
    case ENOPROTOOPT:
      return 10042;
    case EPROTONOSUPPORT:
      return 10043;
    case ESOCKTNOSUPPORT:
      return 10044;
    case EOPNOTSUPP:
      return 10045;
    case EAFNOSUPPORT:
      return 10047;
    case EADDRINUSE:
      return 10048;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case ECONNABORTED:
      return 10053;
    case ECONNRESET:
      return 10054;
    case ENOBUFS:
      return 10055;
    case EISCONN:
      return 10056;
    case ENOTCONN:
      return 10057;
    case ETIMEDOUT:
      return 10060;
    case ECONNREFUSED:
      return 10061;
    case EHOSTUNREACH:
      return 10065;
    case EPIPE:
      return 10058;
    default:
      return 10000 + systemError;
  }
}

TcpSocket::~TcpSocket() { Close(); }

bool TcpSocket::Connect(const char* host, int port) {
  lastError_ = 0;
  if (host == nullptr || port <= 0 || port > 65535) {
    lastError_ = SocketErrorNumber(EINVAL);
    return false;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::inet_pton(AF_INET, host, &address.sin_addr) != 1) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) {
      lastError_ = SocketErrorNumber(EINVAL);
      return false;
    }
    address.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
  }
  if (handle_ < 0) {
    handle_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle_ < 0) {
      lastError_ = SocketErrorNumber(errno);
      return false;
    }
  }
  int result;
  do {
    result = ::connect(handle_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    lastError_ = SocketErrorNumber(errno);
    return false;
  }
  return true;
}

int TcpSocket::Send(const void* data, std::size_t length) {
  if (handle_ < 0) {
    lastError_ = SocketErrorNumber(ENOTSOCK);
    return -1;
  }
  ssize_t sent;
  do {
    sent = ::send(handle_, data, length, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  if (sent < 0) {
    lastError_ = SocketErrorNumber(errno);
    return -1;
  }
  return static_cast<int>(sent);
}

int TcpSocket::Receive(void* buffer, std::size_t size) {
  if (handle_ < 0) {
    lastError_ = SocketErrorNumber(ENOTSOCK);
    return -1;
  }
  ssize_t got;
  do {
    got = ::recv(handle_, buffer, size, 0);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    lastError_ = SocketErrorNumber(errno);
    return -1;
  }
  return static_cast<int>(got);
}

void TcpSocket::Close() {
  if (handle_ >= 0) {
    ::close(handle_);
    handle_ = -1;
  }
}

}  // namespace spellcrypt
