// The answer of a transfer: header cut, body capped.
#include "scores/http_response.h"

#include <algorithm>

#include "base/log.h"

namespace spellcrypt {

namespace {

// Room for the answer reserved up front: more than a score list needs.
constexpr std::size_t kReserved = 102400;
constexpr char kEndOfHeader[] = "\r\n\r\n";
constexpr std::size_t kEndOfHeaderLength = sizeof kEndOfHeader - 1;

}  // namespace

HttpResponse::HttpResponse(std::size_t maxBody, std::size_t piece) : maxBody_(maxBody), piece_(piece) {
  data_.reserve(std::min(kReserved, maxBody_ + piece_ + 1));
}

void HttpResponse::Append(const char* bytes, std::size_t count) {
  // The buffer grows by doubling, but never past the cap and one piece (and the final NUL).
  const std::size_t needed = data_.size() + count + 1;
  if (needed > data_.capacity()) {
    const std::size_t most = std::max(maxBody_ + piece_ + 1, needed);
    data_.reserve(std::min(std::max(data_.capacity() * 2, needed), most));
  }
  data_.insert(data_.end(), bytes, bytes + count);
}

bool HttpResponse::Examine() {
  if (!headerFound_ && data_.size() > 10) CutHeader();
  return data_.size() <= maxBody_;
}

void HttpResponse::Finish() { data_.push_back('\0'); }

void HttpResponse::CutHeader() {
  // The search goes on where the last one stopped (less what could be the start of a split
  // CR LF CR LF), so a long answer without one is not searched again and again.
  const auto from = data_.begin() + static_cast<std::ptrdiff_t>(std::min(searchedTo_, data_.size()));
  const auto end = std::search(from, data_.end(), kEndOfHeader, kEndOfHeader + kEndOfHeaderLength);
  if (end == data_.end()) {
    searchedTo_ = data_.size() - std::min(data_.size(), kEndOfHeaderLength - 1);
    return;
  }
  Log("Located end of header.");
  header_.assign(data_.begin(), end);
  data_.erase(data_.begin(), end + static_cast<std::ptrdiff_t>(kEndOfHeaderLength));
  headerFound_ = true;
}

}  // namespace spellcrypt
