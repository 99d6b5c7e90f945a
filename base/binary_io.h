// Little-endian reading and writing of the game's fixed-record files, pictures and sounds, with
// the few big-endian fields that PNG and Photoshop files hold.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace spellcrypt {

class ByteWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    U32(bits);
  }
  void U16Be(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v >> 8));
    U8(static_cast<std::uint8_t>(v));
  }
  void U32Be(std::uint32_t v) {
    U16Be(static_cast<std::uint16_t>(v >> 16));
    U16Be(static_cast<std::uint16_t>(v));
  }
  void Bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
  }
  // A fixed-size text field: the text cut to size - 1 bytes, zero-padded to size.
  void FixedText(std::string_view text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
      U8(i + 1 < size && i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  }
  // Overwrites 4 bytes already written (a size field filled in afterwards).
  void PatchU32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes_.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
  }
  const std::vector<std::uint8_t>& Data() const { return bytes_; }
  std::vector<std::uint8_t>& Data() { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Reads from a byte span; every read past the end fails and leaves the reader failed.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit ByteReader(const std::vector<std::uint8_t>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

  bool U8(std::uint8_t& v) {
    if (!Need(1)) return false;
    v = data_[pos_++];
    return true;
  }
  bool U16(std::uint16_t& v) {
    if (!Need(2)) return false;
    v = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return true;
  }
  bool I16(std::int16_t& v) {
    std::uint16_t u;
    if (!U16(u)) return false;
    v = static_cast<std::int16_t>(u);
    return true;
  }
  bool U32(std::uint32_t& v) {
    if (!Need(4)) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(data_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return true;
  }
  bool I32(std::int32_t& v) {
    std::uint32_t u;
    if (!U32(u)) return false;
    v = static_cast<std::int32_t>(u);
    return true;
  }
  bool F32(float& v) {
    std::uint32_t bits;
    if (!U32(bits)) return false;
    std::memcpy(&v, &bits, 4);
    return true;
  }
  bool U16Be(std::uint16_t& v) {
    if (!Need(2)) return false;
    v = static_cast<std::uint16_t>(data_[pos_] << 8 | data_[pos_ + 1]);
    pos_ += 2;
    return true;
  }
  bool U32Be(std::uint32_t& v) {
    std::uint16_t high, low;
    if (!U16Be(high) || !U16Be(low)) return false;
    v = static_cast<std::uint32_t>(high) << 16 | low;
    return true;
  }
  bool Bytes(void* out, std::size_t n) {
    if (!Need(n)) return false;
    std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
  }
  bool Skip(std::size_t n) {
    if (!Need(n)) return false;
    pos_ += n;
    return true;
  }
  std::size_t Remaining() const { return size_ - pos_; }
  std::size_t Position() const { return pos_; }
  bool Failed() const { return failed_; }

 private:
  bool Need(std::size_t n) {
    if (failed_ || n > size_ - pos_) {
      failed_ = true;
      return false;
    }
    return true;
  }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace spellcrypt
