#include "tests/net_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace spellcrypt::testing {

namespace {

using Clock = std::chrono::steady_clock;

// Each wait looks at the stop flag at least this often.
constexpr int kSliceMs = 5;

int MillisecondsLeft(Clock::time_point end) {
  return static_cast<int>(std::max<long long>(
      0, std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count()));
}

// A listening socket on a free loopback port; -1 when the address family is not available.
int Listen(bool ipv6, int backlog, int& port) {
  const int handle = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (handle < 0) return -1;
  sockaddr_storage storage{};
  socklen_t length;
  if (ipv6) {
    auto& address = reinterpret_cast<sockaddr_in6&>(storage);
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    length = sizeof address;
  } else {
    auto& address = reinterpret_cast<sockaddr_in&>(storage);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    length = sizeof address;
  }
  if (::bind(handle, reinterpret_cast<sockaddr*>(&storage), length) != 0 || ::listen(handle, backlog) != 0 ||
      ::getsockname(handle, reinterpret_cast<sockaddr*>(&storage), &length) != 0) {
    ::close(handle);
    return -1;
  }
  port = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6&>(storage).sin6_port
                    : reinterpret_cast<sockaddr_in&>(storage).sin_port);
  return handle;
}

// The value of a Content-Length line in a header block, 0 without one.
std::size_t ContentLength(const std::string& header) {
  std::string lower(header);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const std::size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

}  // namespace

PeerConnection::PeerConnection(int handle, const std::atomic<bool>& stopping)
    : handle_(handle), stopping_(stopping) {
  ::fcntl(handle_, F_SETFL, ::fcntl(handle_, F_GETFL) | O_NONBLOCK);
}

PeerConnection::~PeerConnection() {
  if (handle_ >= 0) ::close(handle_);
}

bool PeerConnection::WaitFor(short events, int timeoutMs) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!stopping_.load()) {
    const int left = MillisecondsLeft(end);
    if (left == 0) return false;
    pollfd watched{handle_, events, 0};
    if (::poll(&watched, 1, std::min(left, kSliceMs)) > 0) return true;
  }
  return false;
}

bool PeerConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    if (!WaitFor(POLLOUT, 10000)) return false;
    const ssize_t sent = ::send(handle_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (sent > 0) bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

std::string PeerConnection::ReadRequest(int timeoutMs) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string request;
  std::size_t wanted = std::string::npos;
  char buffer[4096];
  for (;;) {
    // Once the whole request is in, a little more time for bytes that trail it.
    const int left = wanted != std::string::npos && request.size() >= wanted
                         ? std::min(30, MillisecondsLeft(end))
                         : MillisecondsLeft(end);
    if (!WaitFor(POLLIN, left)) return request;
    const ssize_t got = ::recv(handle_, buffer, sizeof buffer, 0);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return request;
    if (got > 0) request.append(buffer, static_cast<std::size_t>(got));
    const std::size_t blank = request.find("\r\n\r\n");
    if (wanted == std::string::npos && blank != std::string::npos) {
      wanted = blank + 4 + ContentLength(request.substr(0, blank + 2));
    }
  }
}

bool PeerConnection::WaitForClose(int timeoutMs) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[4096];
  for (;;) {
    if (!WaitFor(POLLIN, MillisecondsLeft(end))) return false;
    const ssize_t got = ::recv(handle_, buffer, sizeof buffer, 0);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return true;
  }
}

void PeerConnection::Sit(int timeoutMs) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!stopping_.load() && Clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
}

void PeerConnection::Reset() {
  const linger abort{1, 0};
  ::setsockopt(handle_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  ::close(handle_);
  handle_ = -1;
}

TestServer::TestServer(Handler handler, bool ipv6) : handler_(std::move(handler)) {
  listener_ = Listen(ipv6, 64, port_);
  if (listener_ >= 0) acceptor_ = std::thread(&TestServer::AcceptLoop, this);
}

TestServer::~TestServer() { Stop(); }

void TestServer::AcceptLoop() {
  while (!stopping_.load()) {
    pollfd watched{listener_, POLLIN, 0};
    if (::poll(&watched, 1, kSliceMs) <= 0) continue;
    const int handle = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (handle < 0) continue;
    accepted_.fetch_add(1);
    std::lock_guard<std::mutex> guard(lock_);
    handlers_.emplace_back([this, handle] {
      PeerConnection connection(handle, stopping_);
      handler_(connection);
    });
  }
}

void TestServer::Stop() {
  stopping_.store(true);
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<std::thread> handlers;
  {
    std::lock_guard<std::mutex> guard(lock_);
    handlers.swap(handlers_);
  }
  for (std::thread& thread : handlers) thread.join();
  if (listener_ >= 0) ::close(listener_);
  listener_ = -1;
}

FullListener::FullListener() {
  listener_ = Listen(false, 0, port_);
  if (listener_ < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port_));
  // Connections that are never accepted, until one is not taken into the queue any more.
  for (int i = 0; i < 8 && !full_; ++i) {
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    fillers_.push_back(filler);
    if (::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) continue;
    pollfd watched{filler, POLLOUT, 0};
    full_ = ::poll(&watched, 1, 200) == 0;
  }
}

FullListener::~FullListener() {
  for (int filler : fillers_) ::close(filler);
  if (listener_ >= 0) ::close(listener_);
}

int UnusedPort() {
  int port = 0;
  const int handle = Listen(false, 1, port);
  if (handle >= 0) ::close(handle);
  return port;
}

}  // namespace spellcrypt::testing
