// The line reader behind the letter table, the score-server replies and the text boxes.
#include "words/text_parse.h"

#include <cstring>
#include <limits>
#include <new>

#include "base/log.h"
#include "base/text_util.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

constexpr std::size_t kMaxPrefix = 255;
constexpr std::uint32_t kMaxText = std::numeric_limits<std::uint32_t>::max();

}  // namespace

CTextParse::CTextParse() { AllocateBuffers(); }

bool CTextParse::AllocateBuffers() {
  try {
    lineCapacity_ = kLineCapacity;
    line_.assign(static_cast<std::size_t>(lineCapacity_), '\0');
    fieldBuffer_.reserve(static_cast<std::size_t>(kLineCapacity));
    fieldBuffer_.clear();
  } catch (const std::bad_alloc&) {
    LogError("Out of memory in CTextParse");
    line_.clear();
    return false;
  }
  return true;
}

void CTextParse::SetPrefix(std::string_view prefix) { prefix_ = prefix.substr(0, kMaxPrefix); }

bool CTextParse::Open(const char* name) {
  const std::string path = prefix_ + (name != nullptr ? name : "");
  std::vector<std::uint8_t> bytes;
  // Texts past 4 GB cannot be addressed by the 32-bit positions; they count as unreadable.
  if (!ReadWholeFile(path, bytes) || bytes.size() > kMaxText - 2) {
    Log("Couldn't open %s..", path.c_str());
    return false;
  }
  const bool empty = bytes.empty();
  bytes.push_back(0);
  bytes.push_back(0);
  data_ = std::move(bytes);
  hasData_ = true;
  size_ = static_cast<std::uint32_t>(data_.size());
  unicode = false;
  pos_ = 0;
  // A UTF-16 file begins with FF FE; positions count 16-bit units, so 1 skips the mark.
  if (!empty && data_[0] == 0xFF) {
    unicode = true;
    pos_ = 1;
  }
  return true;
}

void CTextParse::SetText(std::string text) {
  if (text.size() > kMaxText) text.resize(kMaxText);
  data_.assign(text.begin(), text.end());
  hasData_ = true;
  size_ = static_cast<std::uint32_t>(data_.size());
  pos_ = 0;
  // A handed-over text is 8-bit even if the previous file was UTF-16.
  unicode = false;
}

void CTextParse::AppendData(const void* bytes, std::size_t count) {
  if (count > kMaxText - size_) {
    LogError("CTextParse: text too large, %zu bytes dropped.", count);
    return;
  }
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  if (count > 0) data_.insert(data_.end(), p, p + count);
  hasData_ = true;
  size_ += static_cast<std::uint32_t>(count);
}

void CTextParse::Close() {
  data_ = {};
  hasData_ = false;
  size_ = 0;
  pos_ = 0;
  unicode = false;
  line_ = {};
  fieldBuffer_ = {};
}

bool CTextParse::GrowLine() {
  LogError("Line too big, let's realocate the buffer");
  if (lineCapacity_ > std::numeric_limits<int>::max() / 2) {
    LogError("CTextParse:  Error doing realloc.");
    return false;
  }
  try {
    lineCapacity_ *= 2;
    line_.resize(static_cast<std::size_t>(lineCapacity_), '\0');
  } catch (const std::bad_alloc&) {
    lineCapacity_ = static_cast<int>(line_.size());
    LogError("CTextParse:  Error doing realloc.");
    return false;
  }
  return true;
}

// The line buffer may have moved while it grew: hand out its address only once the line is complete.
bool CTextParse::LineReady(const char** out) {
  if (out != nullptr) *out = line_.data();
  return true;
}

bool CTextParse::GetNextLine(const char** out) {
  if (!line_.empty()) line_[0] = '\0';
  if (!hasData_) {
    Log("Can't get next line, no file was opened.");
    return false;
  }
  // A reader reused after Close gets its buffers back.
  if (line_.empty() && !AllocateBuffers()) return false;
  return unicode ? NextWideLine(out) : NextNarrowLine(out);
}

bool CTextParse::NextNarrowLine(const char** out) {
  if (pos_ >= size_) {
    pos_ = 0;
    if (out != nullptr) *out = nullptr;
    return false;
  }
  std::size_t length = 0;
  while (pos_ < size_) {
    const char c = static_cast<char>(data_[pos_++]);
    if (c == '\n') {
      if (length > 0 && line_[length - 1] == '\r') --length;
      line_[length] = '\0';
      return LineReady(out);
    }
    line_[length++] = c;
    if (length >= static_cast<std::size_t>(lineCapacity_ - 2) && !GrowLine()) {
      line_[0] = '\0';
      return false;
    }
  }
  line_[length] = '\0';
  return LineReady(out);
}

bool CTextParse::NextWideLine(const char** out) {
  const std::uint32_t units = size_ / 2;
  if (pos_ >= units) {
    pos_ = 1;
    if (out != nullptr) *out = nullptr;
    return false;
  }
  auto store = [this](std::size_t index, std::uint16_t unit) {
    std::memcpy(line_.data() + 2 * index, &unit, 2);
  };
  std::size_t count = 0;
  while (pos_ < units) {
    std::uint16_t unit = static_cast<std::uint16_t>(data_[2 * pos_] | (data_[2 * pos_ + 1] << 8));
    ++pos_;
    if (unit == 10) {
      std::uint16_t last = 0;
      if (count > 0) std::memcpy(&last, line_.data() + 2 * (count - 1), 2);
      if (last == 13) --count;
      store(count, 0);
      return LineReady(out);
    }
    if (unit == 9 && tabsToSpaces) unit = 32;
    store(count++, unit);
    // Long UTF-16 lines grow the buffer like 8-bit ones instead of running past it.
    if (2 * count >= static_cast<std::size_t>(lineCapacity_ - 2) && !GrowLine()) {
      store(0, 0);
      return false;
    }
  }
  store(count, 0);
  return LineReady(out);
}

std::u16string CTextParse::WideLine() const {
  std::u16string text;
  for (std::size_t i = 0; 2 * i + 1 < line_.size(); ++i) {
    std::uint16_t unit;
    std::memcpy(&unit, line_.data() + 2 * i, 2);
    if (unit == 0) break;
    text.push_back(static_cast<char16_t>(unit));
  }
  return text;
}

const char* CTextParse::GetField(int n, char separator) {
  if (line_.empty()) return "";
  fieldBuffer_ = spellcrypt::GetField(std::string_view(line_.data()), n, separator);
  return fieldBuffer_.c_str();
}

}  // namespace spellcrypt
