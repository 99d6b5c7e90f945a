#include "scores/validation_key.h"

#include <cstdio>

#include "base/text_util.h"

namespace spellcrypt {

std::uint32_t ValidationKey(std::string_view text) {
  return HashString(text) + 3u * static_cast<std::uint32_t>(text.size());
}

std::string SummaryWithKey(std::string_view text) {
  char line[48];
  std::snprintf(line, sizeof line, "\r\nValidation key: %u\r\n", ValidationKey(text));
  std::string out(text);
  out += line;
  return out;
}

}  // namespace spellcrypt
