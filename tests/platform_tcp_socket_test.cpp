// TCP connections on the loopback interface: a round trip, a refused port, an unresolvable name,
// a send to a closed peer that must not kill the process, IPv6, and waits that time out or are
// interrupted from another thread.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/tcp_socket.h"
#include "tests/net_test_server.h"

namespace spellcrypt {
namespace {

// A one-shot loopback server on a free port.
class LoopbackServer {
 public:
  LoopbackServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~LoopbackServer() { ::close(listener_); }
  int Port() const { return port_; }
  int Accept() { return ::accept(listener_, nullptr, nullptr); }

 private:
  int listener_ = -1;
  int port_ = 0;
};

TEST(TcpSocketTest, RoundTripUntilThePeerCloses) {
  LoopbackServer server;
  std::thread peer([&] {
    const int connection = server.Accept();
    char request[64] = {};
    const ssize_t n = ::recv(connection, request, sizeof request - 1, 0);
    const std::string reply = "got " + std::string(request, static_cast<std::size_t>(n > 0 ? n : 0));
    ::send(connection, reply.data(), reply.size(), 0);
    ::close(connection);
  });
  TcpSocket socket;
  ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port()));
  EXPECT_EQ(socket.Send("ping", 4), 4);
  std::string received;
  char buffer[16];
  for (int n; (n = socket.Receive(buffer, sizeof buffer)) > 0;)
    received.append(buffer, static_cast<std::size_t>(n));
  peer.join();
  EXPECT_EQ(received, "got ping");
  socket.Close();
  EXPECT_FALSE(socket.IsOpen());
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer), -1);
  EXPECT_EQ(socket.LastError(), 10038);
}

TEST(TcpSocketTest, RefusedAndUnresolvable) {
  int freePort;
  {
    LoopbackServer closedAgain;
    freePort = closedAgain.Port();
  }
  TcpSocket refused;
  EXPECT_FALSE(refused.Connect("127.0.0.1", freePort));
  EXPECT_EQ(refused.LastError(), 10061);
  TcpSocket unknown;
  EXPECT_FALSE(unknown.Connect("no-such-host.invalid", 80));
  EXPECT_EQ(unknown.LastError(), 10022);
}

TEST(TcpSocketTest, SendingToAClosedPeerFailsWithoutSignal) {
  LoopbackServer server;
  TcpSocket socket;
  ASSERT_TRUE(socket.Connect("localhost", server.Port()));
  ::close(server.Accept());
  const std::string chunk(65536, 'x');
  int result = 0;
  for (int i = 0; i < 200 && result >= 0; ++i) result = socket.Send(chunk.data(), chunk.size());
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(socket.LastError() == 10058 || socket.LastError() == 10054) << socket.LastError();
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

TEST(TcpSocketTest, ConnectsOverIpv6) {
  testing::TestServer server([](testing::PeerConnection& peer) { peer.Send("six:" + peer.ReadRequest(200)); },
                             true);
  if (!server.Listening()) GTEST_SKIP() << "no IPv6 loopback here";
  TcpSocket socket;
  ASSERT_TRUE(socket.Connect("::1", server.Port(), 2000)) << socket.LastError();
  EXPECT_EQ(socket.Send("ping", 4, 1000), 4);
  std::string received;
  char buffer[16];
  for (int n; (n = socket.Receive(buffer, sizeof buffer, 2000)) > 0;) received.append(buffer, n);
  EXPECT_EQ(received, "six:ping");
}

TEST(TcpSocketTest, WaitsTimeOutAndAnInterruptEndsThemAtOnce) {
  testing::TestServer silent([](testing::PeerConnection& peer) { peer.Sit(10000); });
  TcpSocket socket;
  ASSERT_TRUE(socket.Connect("127.0.0.1", silent.Port(), 1000));
  char buffer[16];
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 100), -1);
  EXPECT_EQ(socket.LastError(), kSocketTimedOut);
  EXPECT_GE(MillisecondsSince(start), 95);
  EXPECT_LT(MillisecondsSince(start), 1000);

  // A wait without a limit, interrupted from another thread.
  std::thread interrupter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    socket.Interrupt();
  });
  start = std::chrono::steady_clock::now();
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer), -1);
  const double waited = MillisecondsSince(start);
  interrupter.join();
  EXPECT_EQ(socket.LastError(), kSocketInterrupted);
  EXPECT_GE(waited, 95);
  EXPECT_LT(waited, 150);
  // From then on every call fails at once.
  EXPECT_EQ(socket.Send("x", 1), -1);
  EXPECT_FALSE(socket.Connect("127.0.0.1", silent.Port()));
  EXPECT_EQ(socket.LastError(), kSocketInterrupted);

  testing::FullListener full;
  if (!full.Full()) GTEST_SKIP() << "could not fill a listen queue here";
  TcpSocket hanging;
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(hanging.Connect("127.0.0.1", full.Port(), 200));
  EXPECT_EQ(hanging.LastError(), kSocketTimedOut);
  EXPECT_GE(MillisecondsSince(start), 195);
  EXPECT_LT(MillisecondsSince(start), 1000);
  EXPECT_FALSE(hanging.IsOpen());
}

TEST(TcpSocketTest, ErrorNumbersFollowTheClassicTable) {
  EXPECT_EQ(SocketErrorNumber(EWOULDBLOCK), 10035);
  EXPECT_EQ(SocketErrorNumber(EINPROGRESS), 10036);
  EXPECT_EQ(SocketErrorNumber(EALREADY), 10037);
  EXPECT_EQ(SocketErrorNumber(ENOTSOCK), 10038);
  EXPECT_EQ(SocketErrorNumber(EOPNOTSUPP), 10045);
  EXPECT_EQ(SocketErrorNumber(0), 0);
}

}  // namespace
}  // namespace spellcrypt
