// An HTTP answer arriving in pieces of any size: whatever the bytes and however they are split,
// the body is what follows the first blank line of the whole answer (or all of it), it never
// passes the cap unnoticed, and the memory it holds stays within the cap and one piece.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "scores/http_response.h"

using namespace spellcrypt;

namespace {

constexpr std::size_t kPiece = 2024;

// The body of a whole answer, worked out at once: cut at the first CR LF CR LF once more than
// ten bytes are there.
std::string BodyOf(std::string_view whole) {
  const std::size_t end = whole.size() > 10 ? whole.find("\r\n\r\n") : std::string_view::npos;
  return std::string(end == std::string_view::npos ? whole : whole.substr(end + 4));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  FuzzedDataProvider input(data, size);
  const std::size_t maxBody = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
  HttpResponse response(maxBody, kPiece);
  std::string sent;
  bool withinCap = true;
  while (input.remaining_bytes() > 0 && withinCap) {
    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(1, kPiece);
    const std::string piece = input.ConsumeBytesAsString(count);
    response.Append(piece.data(), piece.size());
    sent += piece;
    withinCap = response.Examine();
    if (response.Capacity() > maxBody + kPiece + 1 && response.Capacity() > 102400) std::abort();
  }
  const std::string expected = BodyOf(sent);
  const std::vector<char>& body = response.Body();
  if (std::string(body.begin(), body.end()) != expected) std::abort();
  if (withinCap != (expected.size() <= maxBody)) std::abort();
  if (response.HeaderFound() != (expected.size() != sent.size())) std::abort();
  if (withinCap) {
    response.Finish();
    if (response.Body().back() != '\0' || response.Body().size() != expected.size() + 1) std::abort();
  }
  return 0;
}
