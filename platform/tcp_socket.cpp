// TCP connections over POSIX sockets. The handles are non-blocking: every wait is a poll in short
// slices, so an interrupt from another thread is seen within one slice and time limits hold.
#include "platform/tcp_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

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

namespace {

// The longest a wait sleeps before it looks at the interrupt flag again.
constexpr int kSliceMs = 10;

using Clock = std::chrono::steady_clock;

Clock::time_point DeadlineIn(int timeoutMs) {
  if (timeoutMs < 0) return Clock::time_point::max();
  return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

// Milliseconds left until the deadline, rounded up, at most one slice.
int NextSliceMs(Clock::time_point deadline) {
  if (deadline == Clock::time_point::max()) return kSliceMs;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, kSliceMs));
}

// An equal part of what is left until the deadline, for one of several addresses to try.
Clock::time_point ShareOf(Clock::time_point deadline, std::size_t parts) {
  if (deadline == Clock::time_point::max() || parts <= 1) return deadline;
  const Clock::time_point now = Clock::now();
  if (deadline <= now) return deadline;
  return now + (deadline - now) / static_cast<int>(std::min<std::size_t>(parts, 64));
}

struct Address {
  sockaddr_storage storage{};
  socklen_t length = 0;
  int family = 0;
};

// One name resolution. The resolver cannot be interrupted, so it runs on a thread of its own
// that the caller may leave behind: it shares nothing with the caller but this record.
struct Resolution {
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  int status = EAI_FAIL;
  std::vector<Address> addresses;
};

void Resolve(Resolution& job, const std::string& host, const std::string& service, int flags) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  hints.ai_flags = flags | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int status = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
  std::vector<Address> addresses;
  for (const addrinfo* at = status == 0 ? found : nullptr; at != nullptr; at = at->ai_next) {
    if (at->ai_addr == nullptr || at->ai_addrlen > sizeof(sockaddr_storage)) continue;
    if (at->ai_family != AF_INET && at->ai_family != AF_INET6) continue;
    Address address;
    std::memcpy(&address.storage, at->ai_addr, at->ai_addrlen);
    address.length = at->ai_addrlen;
    address.family = at->ai_family;
    addresses.push_back(address);
  }
  if (found != nullptr) ::freeaddrinfo(found);
  std::lock_guard<std::mutex> guard(job.lock);
  job.status = status;
  job.addresses = std::move(addresses);
  job.done = true;
  job.finished.notify_all();
}

// Resolves a host (an address is taken as it is) into its addresses: 0, or the error number.
int LookUp(const char* host, int port, Clock::time_point deadline, const std::atomic<bool>& interrupted,
           std::vector<Address>& addresses) {
  const std::string name(host);
  const std::string service = std::to_string(port);
  auto job = std::make_shared<Resolution>();
  Resolve(*job, name, service, AI_NUMERICHOST);
  if (job->status != 0) {
    job = std::make_shared<Resolution>();
    try {
      std::thread([job, name, service] { Resolve(*job, name, service, 0); }).detach();
    } catch (const std::system_error&) {
      Resolve(*job, name, service, 0);
    }
  }
  std::unique_lock<std::mutex> guard(job->lock);
  while (!job->done) {
    if (interrupted.load(std::memory_order_relaxed)) return kSocketInterrupted;
    const int sliceMs = NextSliceMs(deadline);
    if (sliceMs == 0) return kSocketTimedOut;
    job->finished.wait_for(guard, std::chrono::milliseconds(sliceMs));
  }
  if (job->status != 0 || job->addresses.empty()) return kSocketInvalidArgument;
  addresses = job->addresses;
  return 0;
}

}  // namespace

TcpSocket::~TcpSocket() { Close(); }

int TcpSocket::WaitFor(short events, Clock::time_point deadline) const {
  for (;;) {
    if (Interrupted()) return kSocketInterrupted;
    const int sliceMs = NextSliceMs(deadline);
    if (sliceMs == 0) return kSocketTimedOut;
    pollfd watched{handle_, events, 0};
    const int ready = ::poll(&watched, 1, sliceMs);
    // An error or a hang-up counts as ready: the call that follows reports it.
    if (ready > 0) return 0;
    if (ready < 0 && errno != EINTR) return SocketErrorNumber(errno);
  }
}

int TcpSocket::ConnectTo(const void* address, unsigned length, int family, Clock::time_point deadline) {
  handle_ = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (handle_ < 0) return SocketErrorNumber(errno);
  int result = ::connect(handle_, static_cast<const sockaddr*>(address), length);
  int error = result == 0 ? 0 : errno;
  if (error == EINPROGRESS || error == EINTR) {
    if (const int waited = WaitFor(POLLOUT, deadline); waited != 0) {
      Close();
      return waited;
    }
    socklen_t size = sizeof error;
    if (::getsockopt(handle_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
  }
  if (error != 0) {
    Close();
    return SocketErrorNumber(error);
  }
  return 0;
}

bool TcpSocket::Connect(const char* host, int port, int timeoutMs) {
  Close();
  const Clock::time_point deadline = DeadlineIn(timeoutMs);
  std::vector<Address> addresses;
  int error = kSocketInvalidArgument;
  if (Interrupted()) {
    error = kSocketInterrupted;
  } else if (host != nullptr && *host != '\0' && port > 0 && port <= 65535) {
    error = LookUp(host, port, deadline, interrupted_, addresses);
  }
  resolved_ = error == 0;
  if (error == 0) {
    // Each address in turn, each with its share of the time left; the last one's error counts.
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const Address& to = addresses[i];
      error = ConnectTo(&to.storage, to.length, to.family, ShareOf(deadline, addresses.size() - i));
      if (error == 0 || error == kSocketInterrupted) break;
    }
  }
  lastError_ = error;
  return error == 0;
}

int TcpSocket::Send(const void* data, std::size_t length, int timeoutMs) {
  if (handle_ < 0) return Fail(SocketErrorNumber(ENOTSOCK));
  const Clock::time_point deadline = DeadlineIn(timeoutMs);
  for (;;) {
    if (const int waited = WaitFor(POLLOUT, deadline); waited != 0) return Fail(waited);
    const ssize_t sent = ::send(handle_, data, length, MSG_NOSIGNAL);
    if (sent >= 0) return static_cast<int>(std::min<ssize_t>(sent, INT_MAX));
    if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return Fail(SocketErrorNumber(errno));
  }
}

int TcpSocket::Receive(void* buffer, std::size_t size, int timeoutMs) {
  if (handle_ < 0) return Fail(SocketErrorNumber(ENOTSOCK));
  const Clock::time_point deadline = DeadlineIn(timeoutMs);
  for (;;) {
    if (const int waited = WaitFor(POLLIN, deadline); waited != 0) return Fail(waited);
    const ssize_t got = ::recv(handle_, buffer, size, 0);
    if (got >= 0) return static_cast<int>(std::min<ssize_t>(got, INT_MAX));
    if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return Fail(SocketErrorNumber(errno));
  }
}

int TcpSocket::Fail(int socketError) {
  lastError_ = socketError;
  return socketError == 0 ? 0 : -1;
}

void TcpSocket::Close() {
  if (handle_ >= 0) {
    ::close(handle_);
    handle_ = -1;
  }
}

}  // namespace spellcrypt
