// The score server's log lines.
#include "server/server_log.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "server/utf8.h"

namespace spellcrypt::server {

std::string Timestamp(std::chrono::system_clock::time_point when) {
  using namespace std::chrono;
  const auto milliseconds = duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[40];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  std::string stamp(text, length);
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, ".%03dZ", static_cast<int>(milliseconds % 1000));
  return stamp + fraction;
}

namespace {

bool IsDirectionMark(std::uint32_t point) {
  return point == 0x200E || point == 0x200F || point == 0x061C || (point >= 0x202A && point <= 0x202E) ||
         (point >= 0x2066 && point <= 0x2069) || point == 0x2028 || point == 0x2029;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string safe;
  safe.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t next = i;
    std::uint32_t point = 0;
    // A whole sequence of a printable code point goes through; anything else byte by byte. C1
    // controls are controls too, and the marks that turn text right to left could make a field
    // show as another.
    if (NextCodePoint(text, next, point) && point >= 0x20 && point != 0x7F && point != '\\' &&
        !(point >= 0x80 && point < 0xA0) && !IsDirectionMark(point)) {
      safe.append(text.substr(i, next - i));
      i = next;
      continue;
    }
    const auto byte = static_cast<unsigned char>(text[i++]);
    safe += "\\x";
    safe += kHex[byte >> 4];
    safe += kHex[byte & 0x0F];
  }
  return safe;
}

void LogLine(std::string_view text) {
  std::string line = Timestamp(std::chrono::system_clock::now());
  line += ' ';
  line += text;
  line += '\n';
  // One write(2): lines from several threads stay whole.
  std::size_t written = 0;
  while (written < line.size()) {
    const ssize_t n = ::write(STDERR_FILENO, line.data() + written, line.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
}

}  // namespace spellcrypt::server
