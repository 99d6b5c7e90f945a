// One server per SQLite folder: a server holds an exclusive lock on the file scores.lock in its
// data folder while it runs, so a second one started on the same folder stops at once with a
// clear message instead of sharing the database unawares. The lock goes with the process, however
// it ends. The operator's commands do not take it: they work beside the running server.
#pragma once

#include <memory>
#include <string>

namespace spellcrypt::server {

class FolderLock {
 public:
  // Takes the lock of the folder (making scores.lock when missing) without waiting. Null, with the
  // reason in error, when another process holds it ("another spellcrypt-server is using FOLDER
  // (process PID)") or the file cannot be had.
  static std::unique_ptr<FolderLock> Take(const std::string& folder, std::string& error);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  explicit FolderLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace spellcrypt::server
