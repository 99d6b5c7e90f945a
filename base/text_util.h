// Small text helpers shared by every subsystem.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace spellcrypt {

// The n-th field (from 1) of text split at separator; a field past the end is empty.
// Line feeds are removed from the result.
std::string GetField(std::string_view text, int n, char separator);
// Replaces every occurrence of find in text by replacement.
void ReplaceAll(std::string_view find, std::string_view replacement, std::string& text);
// Replaces everything from the first '.' by '.' + extension, or appends it when there is no '.'.
std::string SetExtension(std::string_view path, std::string_view extension);
// "1,234,567.89": groups of three integer digits, exactly `decimals` decimals cut (not rounded)
// from a nine-decimal rendering. Negative values keep a leading '-'.
std::string FormatThousands(double value, int decimals);
// h = (h * 4) XOR c over the bytes, each byte taken as a signed char.
std::uint32_t HashString(std::string_view text);
// Copies text into a fixed buffer of `size` bytes, cutting it so that it always ends with a zero.
void CopyText(char* buffer, std::size_t size, std::string_view text);
// Case-insensitive comparison of ASCII texts.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace spellcrypt
