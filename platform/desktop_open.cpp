// Opening a web page with xdg-open.
#include "platform/desktop_open.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <spawn.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "base/log.h"

extern char** environ;

namespace spellcrypt {

namespace {

constexpr int kNoProgramForTheType = 3;  // xdg-open: "a required tool could not be found"
constexpr auto kPoll = std::chrono::milliseconds(10);

void ReapLater(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

OpenLinkResult OpenWithDesktop(const char* url, int waitMs) {
  if (url == nullptr || url[0] == '\0') return OpenLinkResult::UnknownError;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The opener must not read the game's terminal.
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  char program[] = "xdg-open";
  std::string target(url);
  char* argv[] = {program, target.data(), nullptr};
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    Log("Could not run xdg-open: %s", std::strerror(spawned));
    return spawned == ENOENT ? OpenLinkResult::NoAssociation : OpenLinkResult::UnknownError;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return OpenLinkResult::Ok;
      const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      Log("xdg-open could not open %s (exit code %d).", url, code);
      return code == kNoProgramForTheType ? OpenLinkResult::NoAssociation : OpenLinkResult::UnknownError;
    }
    if (done < 0 && errno != EINTR) return OpenLinkResult::UnknownError;
    if (std::chrono::steady_clock::now() >= deadline) {
      ReapLater(pid);
      return OpenLinkResult::Ok;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace spellcrypt
