// Word wrap for the text boxes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace spellcrypt {

// Cuts text into lines no wider than `width` as measured by `measure`. A line ends at a "\n" or
// before the last space that lets it fit; that space (or the "\n", with a "\r" on either side of
// it) is dropped. A single word wider than the width is cut after its last character that fits.
// A measure that answers a negative width (a font without glyphs) makes every line fit.
std::vector<std::string> WrapText(std::string_view text, int width,
                                  const std::function<int(std::string_view)>& measure);

}  // namespace spellcrypt
