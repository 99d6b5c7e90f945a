// Submissions allowed per client address: a bucket of `perMinute` tokens per address, refilled
// steadily over a minute. The table forgets addresses whose bucket is full again, so it stays small.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace spellcrypt::server {

class RateLimiter {
 public:
  using Clock = std::chrono::steady_clock;
  // 0 or less: no limit.
  explicit RateLimiter(int perMinute) : perMinute_(perMinute) {}
  // Takes a token of the address's bucket; false when it is empty.
  bool Allow(const std::string& address, Clock::time_point now = Clock::now());
  std::size_t Tracked() const;

 private:
  struct Bucket {
    double tokens = 0;
    Clock::time_point updated;
  };
  double Refilled(const Bucket& bucket, Clock::time_point now) const;
  void ForgetFull(Clock::time_point now);

  int perMinute_;
  mutable std::mutex lock_;
  std::unordered_map<std::string, Bucket> buckets_;
  std::size_t sweepAt_ = 1024;
};

}  // namespace spellcrypt::server
