// WAV files: 16-bit PCM as the sound generator writes them and the tests play them, and a reader
// for any PCM file the game can play (8 or 16 bits, one or two channels, any rate).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace spellcrypt {

struct WavSound {
  int rate = 0;
  int channels = 0;
  int bitsPerSample = 0;
  std::vector<float> samples;  // interleaved, -1 to 1
  std::size_t Frames() const {
    return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0;
  }
};

// A whole 16-bit PCM file from interleaved samples, each clamped to -1..1 and rounded to the
// nearest step. Empty when the channel count is not 1 or 2, the rate is not positive, the samples
// do not fill whole frames, or the data would not fit the file's 32-bit sizes.
std::vector<std::uint8_t> EncodeWav(std::span<const float> samples, int channels, int rate);

// Reads a RIFF WAVE file's format and data chunks (each chunk padded to an even size). False, with
// the reason in `error`, for anything but PCM of 8 or 16 bits and one or two channels, or a chunk
// that runs past the end.
bool DecodeWav(std::span<const std::uint8_t> file, WavSound& out, std::string& error);

}  // namespace spellcrypt
