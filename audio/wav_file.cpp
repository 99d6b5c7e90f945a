// WAV encoding and parsing over the shared little-endian reader and writer.
#include "audio/wav_file.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "base/binary_io.h"

namespace spellcrypt {

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::size_t kHeaderBytes = 44;

std::int16_t ToPcm16(float v) {
  return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
}

bool Tag(ByteReader& in, std::string& tag) {
  char text[4];
  if (!in.Bytes(text, 4)) return false;
  tag.assign(text, 4);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(std::span<const float> samples, int channels, int rate) {
  if (channels < 1 || channels > 2 || rate <= 0 || samples.size() % static_cast<std::size_t>(channels) != 0)
    return {};
  if (samples.size() > (std::numeric_limits<std::uint32_t>::max() - kHeaderBytes) / 2) return {};
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  const auto frameBytes = static_cast<std::uint16_t>(channels * 2);
  ByteWriter out;
  out.Data().reserve(kHeaderBytes + dataBytes);
  out.Bytes("RIFF", 4);
  out.U32(static_cast<std::uint32_t>(kHeaderBytes - 8) + dataBytes);
  out.Bytes("WAVEfmt ", 8);
  out.U32(16);  // the format chunk's size
  out.U16(kPcm);
  out.U16(static_cast<std::uint16_t>(channels));
  out.U32(static_cast<std::uint32_t>(rate));
  out.U32(static_cast<std::uint32_t>(rate) * frameBytes);
  out.U16(frameBytes);
  out.U16(16);
  out.Bytes("data", 4);
  out.U32(dataBytes);
  for (float v : samples) out.I16(ToPcm16(v));
  return std::move(out.Data());
}

bool DecodeWav(std::span<const std::uint8_t> file, WavSound& out, std::string& error) {
  ByteReader in(file.data(), file.size());
  std::string riff, wave;
  // The RIFF size is not trusted: the chunks are walked to the end of the bytes there are.
  if (!Tag(in, riff) || !in.Skip(4) || !Tag(in, wave) || riff != "RIFF" || wave != "WAVE") {
    error = "not a RIFF WAVE file";
    return false;
  }
  std::uint16_t format = 0, channels = 0, bits = 0;
  std::uint32_t rate = 0;
  std::span<const std::uint8_t> data;
  bool haveData = false;
  std::string id;
  std::uint32_t size = 0;
  while (in.Remaining() >= 8 && Tag(in, id) && in.U32(size)) {
    if (size > in.Remaining()) {
      error = "chunk '" + id + "' runs past the end of the file";
      return false;
    }
    const std::size_t body = in.Position();
    if (id == "fmt " && size >= 16) {
      in.U16(format);
      in.U16(channels);
      in.U32(rate);
      in.Skip(6);  // bytes per second and per frame, which follow from the rest
      in.U16(bits);
    } else if (id == "data") {
      data = file.subspan(body, size);
      haveData = true;
    }
    // The next chunk starts after the body and its pad byte; a missing last pad byte is harmless.
    const std::size_t next = std::min<std::size_t>(body + size + (size & 1), file.size());
    in.Skip(next - in.Position());
  }
  if (format != kPcm || (bits != 8 && bits != 16) || channels < 1 || channels > 2 || rate == 0 ||
      rate > static_cast<std::uint32_t>(std::numeric_limits<int>::max()) || !haveData) {
    error = "not 8/16-bit PCM with one or two channels and a data chunk";
    return false;
  }
  const std::size_t sampleBytes = bits / 8u;
  const std::size_t frameBytes = sampleBytes * channels;
  const std::size_t count = data.size() / frameBytes * channels;  // whole frames only
  out = WavSound{static_cast<int>(rate), channels, bits, {}};
  out.samples.resize(count);
  ByteReader samples(data.data(), count * sampleBytes);
  for (float& v : out.samples) {
    if (bits == 16) {
      std::int16_t s = 0;
      samples.I16(s);
      v = static_cast<float>(s) / 32768.0f;
    } else {
      std::uint8_t s = 0;
      samples.U8(s);
      v = (static_cast<float>(s) - 128.0f) / 128.0f;
    }
  }
  return true;
}

}  // namespace spellcrypt
