// Sine tones as 16-bit PCM WAV files at 44.1 kHz, for the audio tests and benchmarks.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <utility>

namespace spellcrypt::testing {

inline float ToneAt(int frame, double hz, double amplitude) {
  return static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * frame / 44100.0));
}

inline void WriteWavTone(const std::filesystem::path& path, int frames, double hz, double amplitude = 0.5) {
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  const auto dataBytes = static_cast<std::uint32_t>(frames) * 2;
  out.write("RIFF", 4);
  put(36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  // Chunk size, PCM, mono, rate, bytes per second, bytes per frame, bits per sample.
  const std::pair<std::uint32_t, int> format[] = {{16, 4},    {1, 2}, {1, 2}, {44100, 4},
                                                  {88200, 4}, {2, 2}, {16, 2}};
  for (const auto& [value, bytes] : format) put(value, bytes);
  out.write("data", 4);
  put(dataBytes, 4);
  for (int f = 0; f < frames; ++f)
    put(static_cast<std::uint16_t>(std::lround(ToneAt(f, hz, amplitude) * 32767.0f)), 2);
}

}  // namespace spellcrypt::testing
