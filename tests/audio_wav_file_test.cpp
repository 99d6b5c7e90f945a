// WAV files: the header the game's mixer and other players expect, samples that come back as they
// went in, 8-bit and padded chunks from other writers, and what the encoder refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/wav_file.h"
#include "base/binary_io.h"

namespace spellcrypt {
namespace {

TEST(WavFileTest, StereoRoundTripsThroughAStandardHeader) {
  const std::vector<float> samples = {0.0f, 1.0f, -1.0f, 0.5f, 0.25f, -0.25f};  // three frames, L R
  const std::vector<std::uint8_t> file = EncodeWav(samples, 2, 22050);
  ASSERT_EQ(file.size(), 44u + 12u);

  ByteReader header(file);
  char riff[4], wave[8], data[4];
  std::uint32_t riffSize = 0, fmtSize = 0, rate = 0, bytesPerSecond = 0, dataSize = 0;
  std::uint16_t format = 0, channels = 0, frameBytes = 0, bits = 0;
  header.Bytes(riff, 4);
  header.U32(riffSize);
  header.Bytes(wave, 8);
  header.U32(fmtSize);
  header.U16(format);
  header.U16(channels);
  header.U32(rate);
  header.U32(bytesPerSecond);
  header.U16(frameBytes);
  header.U16(bits);
  header.Bytes(data, 4);
  ASSERT_TRUE(header.U32(dataSize));
  EXPECT_EQ(std::string(riff, 4), "RIFF");
  EXPECT_EQ(riffSize, file.size() - 8);
  EXPECT_EQ(std::string(wave, 8), "WAVEfmt ");
  EXPECT_EQ(fmtSize, 16u);
  EXPECT_EQ(format, 1);
  EXPECT_EQ(channels, 2);
  EXPECT_EQ(rate, 22050u);
  EXPECT_EQ(bytesPerSecond, 22050u * 4);
  EXPECT_EQ(frameBytes, 4);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(std::string(data, 4), "data");
  EXPECT_EQ(dataSize, 12u);
  std::int16_t first = 0, second = 0, third = 0;
  header.I16(first);
  header.I16(second);
  header.I16(third);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 32767);
  EXPECT_EQ(third, -32767) << "full scale is symmetric";

  WavSound back;
  std::string error;
  ASSERT_TRUE(DecodeWav(file, back, error)) << error;
  EXPECT_EQ(back.rate, 22050);
  EXPECT_EQ(back.channels, 2);
  EXPECT_EQ(back.bitsPerSample, 16);
  ASSERT_EQ(back.Frames(), 3u);
  for (std::size_t i = 0; i < samples.size(); ++i) EXPECT_NEAR(back.samples[i], samples[i], 1.0 / 32767) << i;
}

TEST(WavFileTest, OutOfRangeSamplesAreClampedAndRoundedToTheNearestStep) {
  const std::vector<std::uint8_t> file = EncodeWav(std::vector<float>{3.0f, -7.0f, 0.6f / 32767}, 1, 44100);
  ByteReader r(file.data() + 44, file.size() - 44);
  std::int16_t a = 0, b = 0, c = 0;
  r.I16(a);
  r.I16(b);
  ASSERT_TRUE(r.I16(c));
  EXPECT_EQ(a, 32767);
  EXPECT_EQ(b, -32767);
  EXPECT_EQ(c, 1);
}

TEST(WavFileTest, EightBitMonoWithOddChunksBeforeTheDataIsRead) {
  // An odd-sized chunk with its pad byte, then an extended format chunk, then 8-bit data of odd length.
  ByteWriter w;
  w.Bytes("RIFF", 4);
  w.U32(0);
  w.Bytes("WAVE", 4);
  w.Bytes("LIST", 4);
  w.U32(3);
  w.Bytes("abc\0", 4);
  w.Bytes("fmt ", 4);
  w.U32(18);  // an extended format chunk
  w.U16(1);
  w.U16(1);
  w.U32(8000);
  w.U32(8000);
  w.U16(1);
  w.U16(8);
  w.U16(0);
  w.Bytes("data", 4);
  w.U32(3);
  const std::uint8_t pcm[4] = {128, 255, 0, 0};  // with the pad byte
  w.Bytes(pcm, 4);
  w.PatchU32(4, static_cast<std::uint32_t>(w.Size() - 8));

  WavSound sound;
  std::string error;
  ASSERT_TRUE(DecodeWav(w.Data(), sound, error)) << error;
  EXPECT_EQ(sound.rate, 8000);
  EXPECT_EQ(sound.bitsPerSample, 8);
  EXPECT_EQ(sound.samples, (std::vector<float>{0.0f, 127.0f / 128, -1.0f}));
}

TEST(WavFileTest, WhatCannotBeWrittenOrReadIsRefused) {
  const std::vector<float> three = {0.1f, 0.2f, 0.3f};
  EXPECT_TRUE(EncodeWav(three, 2, 44100).empty()) << "half a frame";
  EXPECT_TRUE(EncodeWav(three, 3, 44100).empty());
  EXPECT_TRUE(EncodeWav(three, 1, 0).empty());
  EXPECT_EQ(EncodeWav({}, 1, 44100).size(), 44u) << "silence is still a file";

  const std::vector<std::uint8_t> good = EncodeWav(three, 1, 44100);
  WavSound out;
  std::string error;
  std::vector<std::uint8_t> noData(good.begin(), good.begin() + 36);
  EXPECT_FALSE(DecodeWav(noData, out, error));
  std::vector<std::uint8_t> cut(good.begin(), good.end() - 1);
  EXPECT_FALSE(DecodeWav(cut, out, error));
  EXPECT_NE(error.find("past the end"), std::string::npos) << error;
  std::vector<std::uint8_t> wideSamples = good;
  wideSamples[34] = 24;  // bits per sample
  EXPECT_FALSE(DecodeWav(wideSamples, out, error));
  EXPECT_FALSE(DecodeWav(std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}, out, error));
  EXPECT_FALSE(DecodeWav({}, out, error));
}

}  // namespace
}  // namespace spellcrypt
