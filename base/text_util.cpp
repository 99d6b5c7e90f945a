// Small text helpers shared by every subsystem.
#include "base/text_util.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace spellcrypt {

std::string GetField(std::string_view text, int n, char separator) {
  std::string field;
  if (n < 1) return field;
  int current = 1;
  for (char c : text) {
    if (c == '\0') break;
    if (c == separator) {
      if (current == n) break;
      ++current;
      continue;
    }
    if (current == n && c != '\n') field.push_back(c);
  }
  return field;
}

void ReplaceAll(std::string_view find, std::string_view replacement, std::string& text) {
  if (find.empty()) return;
  std::size_t pos = 0;
  while ((pos = text.find(find, pos)) != std::string::npos) {
    text.replace(pos, find.size(), replacement);
    pos += replacement.size();
  }
}

std::string SetExtension(std::string_view path, std::string_view extension) {
  std::string result(path.substr(0, path.find('.')));
  result.push_back('.');
  result.append(extension);
  return result;
}

std::string FormatThousands(double value, int decimals) {
  if (!std::isfinite(value)) return "0";
  std::string sign;
  if (value < 0) {
    sign = "-";
    value = -value;
  }
  char rendering[400];
  std::snprintf(rendering, sizeof rendering, "%.9f", value);
  const char* point = std::strchr(rendering, '.');
  const std::size_t integerDigits =
      point ? static_cast<std::size_t>(point - rendering) : std::strlen(rendering);
  std::string result = sign;
  for (std::size_t i = 0; i < integerDigits; ++i) {
    if (i > 0 && (integerDigits - i) % 3 == 0) result.push_back(',');
    result.push_back(rendering[i]);
  }
  if (decimals > 0 && point != nullptr) {
    result.push_back('.');
    for (int i = 1; i <= decimals && point[i] != '\0'; ++i) result.push_back(point[i]);
  }
  return result;
}

std::uint32_t HashString(std::string_view text) {
  std::uint32_t h = 0;
  for (char c : text) {
    const auto signedByte = static_cast<std::int32_t>(static_cast<signed char>(c));
    h = (h * 4u) ^ static_cast<std::uint32_t>(signedByte);
  }
  return h;
}

void CopyText(char* buffer, std::size_t size, std::string_view text) {
  if (size == 0) return;
  const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace spellcrypt
