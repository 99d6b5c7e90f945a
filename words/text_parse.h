// CTextParse: reads a text held wholly in memory line by line and cuts lines into fields. The text
// comes from a whole file, from a string the caller hands over, or from blocks appended as they
// arrive from the network. A file that starts with the UTF-16 little-endian byte-order mark is read
// in 16-bit units; everything else as 8-bit characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace spellcrypt {

class CTextParse {
 public:
  static constexpr int kLineCapacity = 4048;

  CTextParse();
  ~CTextParse() = default;
  CTextParse(const CTextParse&) = delete;
  CTextParse& operator=(const CTextParse&) = delete;

  // Reads the whole file prefix + name. The text is followed by two zero bytes, which count in
  // Size(); a file that starts with the byte 0xFF is taken as UTF-16. On failure the earlier text
  // stays and "Couldn't open %s.." is logged.
  bool Open(const char* name);
  // Takes over the text (8-bit), replacing the current one; no zero bytes are added.
  void SetText(std::string text);
  // Adds bytes to the end of the text (a reply arriving in blocks).
  void AppendData(const void* bytes, std::size_t count);
  // The next line, without its line end, into the line buffer; out then points to it. At the end of
  // the text returns false (out null) and rewinds, so the next call starts again from the top.
  // UTF-16 lines are 16-bit units ending in a zero unit: read them with WideLine.
  bool GetNextLine(const char** out);
  // The n-th field (from 1) of the current 8-bit line at the separator; empty when absent.
  const char* GetField(int n, char separator);
  // Frees the text and the buffers; a closed reader has no text until the next load.
  void Close();

  // Prepended to every name given to Open (at most 255 characters).
  void SetPrefix(std::string_view prefix);
  // The current UTF-16 line as a string.
  std::u16string WideLine() const;

  std::uint32_t Size() const { return size_; }
  std::uint32_t Position() const { return pos_; }
  int LineCapacity() const { return lineCapacity_; }

  bool unicode = false;      // the text is UTF-16 (it began with the byte 0xFF)
  bool tabsToSpaces = true;  // UTF-16 text only: TAB units become spaces

 private:
  bool AllocateBuffers();
  bool GrowLine();
  bool NextNarrowLine(const char** out);
  bool NextWideLine(const char** out);
  bool LineReady(const char** out);

  std::string prefix_;
  std::vector<char> line_;  // lineCapacity_ bytes while allocated
  std::vector<std::uint8_t> data_;
  bool hasData_ = false;
  std::uint32_t size_ = 0;
  std::uint32_t pos_ = 0;  // bytes for 8-bit text, 16-bit units for UTF-16
  std::string fieldBuffer_;
  int lineCapacity_ = kLineCapacity;
};

}  // namespace spellcrypt
