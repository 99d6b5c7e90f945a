// The shared byte reader and writer: field order and sign of the 16-bit fields, the big-endian
// fields of PNG and Photoshop headers, size fields patched in afterwards, and reads that stop
// safely at the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/binary_io.h"

namespace spellcrypt {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BinaryIoTest, SixteenBitFieldsRoundTripLowByteFirst) {
  ByteWriter w;
  w.U16(0x1234);
  w.I16(-2);
  w.I16(-32768);
  w.U16(0xFFFF);
  EXPECT_EQ(w.Data(), (Bytes{0x34, 0x12, 0xFE, 0xFF, 0x00, 0x80, 0xFF, 0xFF}));

  ByteReader r(w.Data());
  std::uint16_t u = 0;
  std::int16_t i = 0;
  ASSERT_TRUE(r.U16(u));
  EXPECT_EQ(u, 0x1234);
  ASSERT_TRUE(r.I16(i));
  EXPECT_EQ(i, -2);
  ASSERT_TRUE(r.I16(i));
  EXPECT_EQ(i, -32768);
  ASSERT_TRUE(r.U16(u));
  EXPECT_EQ(u, 0xFFFF);
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_FALSE(r.Failed());
}

TEST(BinaryIoTest, BigEndianFieldsRoundTripHighByteFirst) {
  ByteWriter w;
  w.U16Be(0x0102);
  w.U32Be(0x0A0B0C0D);
  EXPECT_EQ(w.Data(), (Bytes{0x01, 0x02, 0x0A, 0x0B, 0x0C, 0x0D}));
  ByteReader r(w.Data());
  std::uint16_t u16 = 0;
  std::uint32_t u32 = 0;
  ASSERT_TRUE(r.U16Be(u16));
  ASSERT_TRUE(r.U32Be(u32));
  EXPECT_EQ(u16, 0x0102);
  EXPECT_EQ(u32, 0x0A0B0C0Du);
}

TEST(BinaryIoTest, PatchU32FillsASizeFieldInPlaceAndRefusesToGrowTheData) {
  ByteWriter w;
  w.Bytes("RIFF", 4);
  const std::size_t sizeAt = w.Size();
  w.U32(0);
  w.U16(7);
  w.PatchU32(sizeAt, static_cast<std::uint32_t>(w.Size() - 8));
  EXPECT_EQ(w.Data(), (Bytes{'R', 'I', 'F', 'F', 2, 0, 0, 0, 7, 0}));
  // Four bytes from the last written byte would run past the end: nothing is changed or added.
  EXPECT_THROW(w.PatchU32(w.Size() - 3, 0xFFFFFFFF), std::out_of_range);
  EXPECT_EQ(w.Size(), 10u);
}

TEST(BinaryIoTest, ReadsPastTheEndFailAndLeaveTheReaderFailed) {
  const Bytes bytes = {0x01, 0x02, 0x03};
  ByteReader r(bytes);
  std::uint16_t u16 = 0xAAAA;
  std::uint32_t u32 = 0xAAAAAAAA;
  EXPECT_FALSE(r.U32(u32));  // three bytes are not enough
  EXPECT_EQ(u32, 0xAAAAAAAAu);
  EXPECT_TRUE(r.Failed());
  EXPECT_FALSE(r.U16(u16)) << "a failed reader stays failed, though two bytes remain";
  EXPECT_EQ(r.Position(), 0u);

  ByteReader tail(bytes);
  ASSERT_TRUE(tail.U16(u16));
  EXPECT_FALSE(tail.U16Be(u16));
  EXPECT_EQ(u16, 0x0201);
  ByteReader empty(nullptr, 0);
  std::uint8_t u8 = 0;
  EXPECT_FALSE(empty.U8(u8));
  EXPECT_FALSE(empty.Skip(1));
}

}  // namespace
}  // namespace spellcrypt
