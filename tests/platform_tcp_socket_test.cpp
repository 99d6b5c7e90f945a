// TCP connections on the loopback interface: a round trip, a refused port, an unresolvable name,
// and a send to a closed peer that must not kill the process.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/tcp_socket.h"

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
