// The score server's request reader on any bytes, split anywhere: it never reads past its limits,
// never crashes, and reads the same requests whether the bytes come at once or in pieces.
#include <cstddef>
#include <cstdint>
#include <string>

#include "server/http_request.h"

namespace {

using spellcrypt::server::RequestReader;

// Reads every request the bytes hold; a summary of what was read, to compare two ways of feeding.
std::string ReadAll(const std::uint8_t* data, std::size_t size, std::size_t piece) {
  RequestReader::Limits limits;
  limits.headerBytes = 512;
  limits.headerCount = 16;
  limits.bodyBytes = 1024;
  RequestReader reader(limits);
  std::string summary, input;
  for (std::size_t at = 0; at < size; at += piece) {
    input.append(reinterpret_cast<const char*>(data) + at, std::min(piece, size - at));
    for (;;) {
      const RequestReader::State state = reader.Read(input);
      if (state == RequestReader::State::Incomplete) break;
      if (state == RequestReader::State::Failed) return summary + "failed " + std::to_string(reader.Status());
      const auto& r = reader.Request();
      if (r.body.size() > limits.bodyBytes || r.headers.size() > limits.headerCount) __builtin_trap();
      summary += r.method + " " + r.target + " " + std::to_string(r.body.size()) + " " + r.body + "\n";
      reader.Reset();
    }
    if (input.size() > limits.headerBytes + limits.bodyBytes + piece) __builtin_trap();
  }
  return summary;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the size of the pieces the rest arrives in.
  const std::size_t piece = 1 + data[0] % 17;
  const std::string whole = ReadAll(data + 1, size - 1, size);
  const std::string split = ReadAll(data + 1, size - 1, piece);
  if (whole != split) __builtin_trap();
  return 0;
}
