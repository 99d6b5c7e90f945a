// The HTTP client against a web server that is not the game's: Python's own, which serves a file
// to a GET and parses a posted form strictly (tests/net_http_peer.py).
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <spawn.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "scores/web_download.h"

extern char** environ;

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

// The Python server on a folder of its own, stopped again at destruction.
class PythonServer {
 public:
  PythonServer() : folder_(fs::temp_directory_path() / ("spellcrypt-http-" + std::to_string(::getpid()))) {
    fs::create_directories(folder_ / "splcryp");
    int output[2];
    if (::pipe(output) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    const std::string script = std::string(SPELLCRYPT_SOURCE_DIR) + "/tests/net_http_peer.py";
    const std::string folder = folder_.string();
    // Debian's Python (scripts/packages.txt) where it is, else the first on the path.
    const char* python = ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
    char* const argv[] = {const_cast<char*>(python), const_cast<char*>(script.c_str()),
                          const_cast<char*>(folder.c_str()), nullptr};
    if (posix_spawnp(&pid_, python, &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    // Its first line is its port.
    std::string line;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pid_ > 0 && line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
      pollfd watched{output[0], POLLIN, 0};
      if (::poll(&watched, 1, 100) <= 0) continue;
      char c;
      if (::read(output[0], &c, 1) != 1) break;
      line += c;
    }
    ::close(output[0]);
    port_ = std::atoi(line.c_str());
  }
  ~PythonServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  int Port() const { return port_; }
  const fs::path& Folder() const { return folder_; }

 private:
  fs::path folder_;
  pid_t pid_ = -1;
  int port_ = 0;
};

std::string Fetch(WebDownload& web) {
  EXPECT_TRUE(web.Init());
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (web.GetError() == kWebNoError && web.GetState() != kWebDone &&
         std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(web.GetError(), kWebNoError) << web.GetErrorText();
  EXPECT_EQ(web.GetState(), kWebDone);
  return std::string(web.GetData(), static_cast<std::size_t>(web.GetDataSize()));
}

TEST(RealHttpServerTest, PythonsServerAnswersOurGetAndParsesOurPost) {
  PythonServer server;
  if (server.Port() <= 0) {
    if (std::getenv("CI") != nullptr) FAIL() << "in CI: python3 is needed for this test";
    GTEST_SKIP() << "python3 did not start";
  }
  const std::string scores = "DIFF|0\nadd|Ann|4200|7|1\nmsg|Welcome\n";
  std::ofstream(server.Folder() / "splcryp" / "scores.txt", std::ios::binary) << scores;

  WebDownload get;
  ASSERT_TRUE(get.Prepare("127.0.0.1", server.Port(), "splcryp/scores.txt"));
  EXPECT_EQ(Fetch(get), scores);

  WebDownload post;
  ASSERT_TRUE(post.Prepare("127.0.0.1", server.Port(), "splcryp/submit.php"));
  post.AddFormField("version", "2.05");
  post.AddFormField("data", "1|Ann Lee|4200|7|1|\0\xE9&=+%", 25);
  post.AddFormField("empty", "");
  EXPECT_EQ(Fetch(post),
            "version=322e3035\n"
            "data=317c416e6e204c65657c343230307c377c317c00e9263d2b25\n"
            "empty=\n");
}

}  // namespace
}  // namespace spellcrypt
