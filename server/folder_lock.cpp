// The folder's lock: flock on scores.lock, which also holds the holder's process id for the
// message a second server gives.
#include "server/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace spellcrypt::server {

namespace {

// The process id written in the lock file; empty when there is none (yet).
std::string HolderOf(int fd) {
  char text[32] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  std::string pid;
  for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i) pid += text[i];
  return pid;
}

}  // namespace

std::unique_ptr<FolderLock> FolderLock::Take(const std::string& folder, std::string& error) {
  const std::string path = folder + "/scores.lock";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  int taken;
  while ((taken = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (taken != 0) {
    const int why = errno;
    if (why == EWOULDBLOCK) {
      const std::string pid = HolderOf(fd);
      error = "another spellcrypt-server is using " + folder + (pid.empty() ? "" : " (process " + pid + ")");
    } else {
      error = "cannot lock " + path + ": " + std::strerror(why);
    }
    ::close(fd);
    return nullptr;
  }
  // Ours now: the id of this process replaces whatever an earlier holder left.
  const std::string pid = std::to_string(::getpid()) + "\n";
  // The lock holds all the same when this fails; a second server's message then lacks the id.
  const bool written =
      ::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
  static_cast<void>(written);
  return std::unique_ptr<FolderLock>(new FolderLock(fd));
}

FolderLock::~FolderLock() {
  // Emptied first, so a stale id is never reported; closing releases the lock.
  const bool emptied = ::ftruncate(fd_, 0) == 0;
  static_cast<void>(emptied);
  ::close(fd_);
}

}  // namespace spellcrypt::server
