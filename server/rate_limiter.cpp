// Per-address token buckets.
#include "server/rate_limiter.h"

#include <algorithm>

namespace spellcrypt::server {

double RateLimiter::Refilled(const Bucket& bucket, Clock::time_point now) const {
  const double minutes = std::chrono::duration<double>(now - bucket.updated).count() / 60.0;
  return std::min(static_cast<double>(perMinute_), bucket.tokens + std::max(0.0, minutes) * perMinute_);
}

void RateLimiter::ForgetFull(Clock::time_point now) {
  std::erase_if(buckets_, [&](const auto& item) { return Refilled(item.second, now) >= perMinute_; });
  // Sweep again once the table has doubled from what is left, so a sweep costs O(1) per insert.
  sweepAt_ = std::max<std::size_t>(1024, buckets_.size() * 2);
}

bool RateLimiter::Allow(const std::string& address, Clock::time_point now) {
  if (perMinute_ <= 0) return true;
  std::lock_guard<std::mutex> hold(lock_);
  auto found = buckets_.find(address);
  if (found == buckets_.end()) {
    if (buckets_.size() >= sweepAt_) ForgetFull(now);
    found = buckets_.emplace(address, Bucket{static_cast<double>(perMinute_), now}).first;
  }
  Bucket& bucket = found->second;
  bucket.tokens = Refilled(bucket, now);
  bucket.updated = now;
  if (bucket.tokens < 1.0) return false;
  bucket.tokens -= 1.0;
  return true;
}

std::size_t RateLimiter::Tracked() const {
  std::lock_guard<std::mutex> hold(lock_);
  return buckets_.size();
}

}  // namespace spellcrypt::server
