// Word wrap.
#include "ui/framework/text_wrap.h"

namespace spellcrypt {

namespace {

std::string_view WithoutTrailingReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int width,
                                  const std::function<int(std::string_view)>& measure) {
  std::vector<std::string> lines;
  auto fits = [&](std::string_view part) { return measure(part) <= width; };
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t newline = text.find('\n', pos);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline;
    const std::string_view rest = text.substr(pos, end - pos);
    if (fits(WithoutTrailingReturn(rest))) {
      lines.emplace_back(WithoutTrailingReturn(rest));
      pos = end;
      if (newline != std::string_view::npos) {
        ++pos;
        if (pos < text.size() && text[pos] == '\r') ++pos;
      }
      continue;
    }
    // The longest prefix that ends before a space and fits (widths only grow with length).
    std::size_t cut = std::string_view::npos;
    for (std::size_t space = rest.find(' ', 1); space != std::string_view::npos;
         space = rest.find(' ', space + 1)) {
      if (!fits(rest.substr(0, space))) break;
      cut = space;
    }
    if (cut != std::string_view::npos) {
      lines.emplace_back(rest.substr(0, cut));
      pos += cut + 1;
      continue;
    }
    // One word wider than the box: cut after its last character that fits (always at least one,
    // so the wrap makes progress in a box narrower than a letter).
    std::size_t count = 1;
    while (count < rest.size() && fits(rest.substr(0, count + 1))) ++count;
    lines.emplace_back(rest.substr(0, count));
    pos += count;
  }
  return lines;
}

}  // namespace spellcrypt
