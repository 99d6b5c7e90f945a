// Sine tones as 16-bit PCM WAV files at 44.1 kHz, for the audio tests and benchmarks.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

#include "audio/wav_file.h"

namespace spellcrypt::testing {

inline float ToneAt(int frame, double hz, double amplitude) {
  return static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * frame / 44100.0));
}

inline void WriteWavTone(const std::filesystem::path& path, int frames, double hz, double amplitude = 0.5) {
  std::vector<float> samples;
  for (int f = 0; f < frames; ++f) samples.push_back(ToneAt(f, hz, amplitude));
  const std::vector<std::uint8_t> file = EncodeWav(samples, 1, 44100);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

}  // namespace spellcrypt::testing
