#include "tests/server_test_support.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <httplib.h>
#include <libpq-fe.h>

#include <atomic>
#include <fstream>

#include "scores/web_download.h"

namespace spellcrypt::server::testing {

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

namespace {

std::string AdminConnection() {
  std::ifstream in(SPELLCRYPT_TEST_POSTGRES);
  std::string line;
  std::getline(in, line);
  return line;
}

bool RunAdmin(const std::string& connection, const std::string& sql, std::string& error) {
  PGconn* conn = PQconnectdb(connection.c_str());
  bool ok = PQstatus(conn) == CONNECTION_OK;
  if (ok) {
    PGresult* result = PQexec(conn, sql.c_str());
    ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
  }
  if (!ok) error = PQerrorMessage(conn);
  PQfinish(conn);
  return ok;
}

}  // namespace

TestDatabase::TestDatabase(Backend backend) : backend_(backend) {
  if (backend_ == Backend::Sqlite) return;
  admin_ = AdminConnection();
  if (admin_.empty()) {
    missing_ = "no PostgreSQL for the tests (scripts/postgres_test.sh start, run by ctest, writes " +
               std::string(SPELLCRYPT_TEST_POSTGRES) + ")";
    return;
  }
  static std::atomic<int> counter{0};
  name_ = "test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
  std::string error;
  if (!RunAdmin(admin_, "CREATE DATABASE " + name_, error)) {
    missing_ = "cannot make a PostgreSQL database: " + error;
    return;
  }
  connection_ = admin_;
  connection_.replace(connection_.find("dbname=postgres"), 15, "dbname=" + name_);
}

TestDatabase::~TestDatabase() {
  if (!connection_.empty()) {
    std::string error;
    RunAdmin(admin_, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)", error);
  }
}

std::unique_ptr<ScoreStore> TestDatabase::Open() const {
  std::string error;
  std::unique_ptr<ScoreStore> store = backend_ == Backend::Sqlite
                                          ? OpenSqliteStore(dir_.File("scores.sqlite"), error)
                                          : OpenPostgresStore(connection_, error);
  EXPECT_NE(store, nullptr) << error;
  return store;
}

std::vector<std::string> TestDatabase::ProgramOptions() const {
  if (backend_ == Backend::Sqlite) return {"--data", dir_.Path()};
  return {"--postgres", connection_};
}

namespace {

std::string Encoded(std::string_view bytes) { return spellcrypt::UrlEncode(bytes.data(), bytes.size()); }

}  // namespace

std::string SubmissionForm(const SubmittedGame& game, std::string_view summary, std::uint32_t key,
                           std::string_view version) {
  std::string line = GameLine(game.mode, game.name, game.score, game.dungeon, game.bosses);
  const std::uint32_t lineCheck =
      EncodeForServer(reinterpret_cast<std::uint8_t*>(line.data()), line.size(), key);
  std::string extra(summary);
  const std::uint32_t extraCheck =
      EncodeForServer(reinterpret_cast<std::uint8_t*>(extra.data()), extra.size(), key);
  return "version=" + Encoded(version) + "&data=" + Encoded(line) + "&datacrc=" + std::to_string(lineCheck) +
         "&extra=" + Encoded(extra) + "&extracrc=" + std::to_string(extraCheck);
}

SubmittedGame Game(int mode, std::string name, std::int32_t score, std::int32_t dungeon,
                   std::int32_t bosses) {
  SubmittedGame game;
  game.mode = mode;
  game.name = std::move(name);
  game.score = score;
  game.dungeon = dungeon;
  game.bosses = bosses;
  return game;
}

std::vector<std::string> TopNames(ScoreStore& store, int mode, int limit) {
  std::vector<ListEntry> entries;
  EXPECT_TRUE(store.Top(mode, limit, entries));
  std::vector<std::string> names;
  for (const ListEntry& e : entries) names.push_back(e.name);
  return names;
}

std::string GameRequest(std::string_view path, std::string_view form) {
  return BuildRequest("127.0.0.1", path, form);
}

std::string Exchange(int port, std::string_view request) {
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::size_t sent = 0;
    while (sent < request.size()) {
      const ssize_t n = ::send(sock, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) break;
      sent += static_cast<std::size_t>(n);
    }
    char buffer[4096];
    ssize_t n;
    while ((n = ::recv(sock, buffer, sizeof buffer, 0)) > 0)
      answer.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(sock);
  return answer;
}

std::string BodyOf(const std::string& response) {
  const std::size_t end = response.find("\r\n\r\n");
  return end == std::string::npos ? response : response.substr(end + 4);
}

ServiceOptions RunningServer::Quiet() {
  ServiceOptions options;
  options.log = [](const std::string&) {};
  options.submissionsPerMinute = 0;
  return options;
}

RunningServer::RunningServer(ScoreStore& store, ServiceOptions options)
    : service_(store, std::move(options)) {
  std::string error;
  port_ = service_.Bind("127.0.0.1", 0, error);
  EXPECT_GT(port_, 0) << error;
  if (port_ <= 0) return;
  thread_ = std::thread([this] { service_.Run(); });
  while (!service_.Running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

RunningServer::~RunningServer() {
  service_.Stop();
  if (thread_.joinable()) thread_.join();
}

int FreePort() {
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(sock);
  return ntohs(address.sin_port);
}

int RunToEnd(const std::vector<std::string>& options, std::string& out, std::string& err,
             std::chrono::milliseconds stopAfter) {
  spellcrypt::testing::TempDir logs;
  const std::string outFile = logs.File("out"), errFile = logs.File("err");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<std::string> args = {SPELLCRYPT_SERVER_BIN};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    alarm(20);  // a program that does not end is killed, and the test sees it
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (stopAfter.count() > 0) {
    const auto until = std::chrono::steady_clock::now() + stopAfter;
    while (std::chrono::steady_clock::now() < until && waitpid(pid, &status, WNOHANG) == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(pid, SIGTERM);
  }
  waitpid(pid, &status, 0);
  out = spellcrypt::testing::ReadText(outFile);
  err = spellcrypt::testing::ReadText(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Program::Program(const std::vector<std::string>& options, const std::string& log) : port_(FreePort()) {
  std::vector<std::string> args = {SPELLCRYPT_SERVER_BIN, "--port", std::to_string(port_), "--rate", "0"};
  args.insert(args.end(), options.begin(), options.end());
  pid_ = fork();
  if (pid_ == 0) {
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(fd, 2);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  httplib::Client client("127.0.0.1", port_);
  for (int i = 0; i < 500 && !client.Get("/"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

Program::~Program() {
  if (pid_ > 0) Stop(SIGKILL);
}

int Program::Stop(int signal) {
  kill(pid_, signal);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return status;
}

}  // namespace spellcrypt::server::testing
