// What the audio tests share: a fresh working folder with the app around it, Ogg tones, and the
// disk audio driver's output read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "tests/audio_wav.h"

namespace spellcrypt::testing {

// Each test runs in its own folder (with "sound" in it), the working and program directory.
class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void StartApp();
  // Log lines holding the text; Errors counts only error lines.
  int Lines(const std::string& text) const;
  int Errors(const std::string& text) const;
  static void Wait(int ms);

  HeadlessPlatform platform;
  std::filesystem::path dir;

 private:
  std::filesystem::path oldDir_;
  bool appStarted_ = false;
};

// A mono sine tone as Ogg Vorbis.
void WriteOggTone(const std::filesystem::path& path, int frames, double hz, double amplitude = 0.5);

// While alive, sound started meanwhile goes to a raw S16LE stereo file instead of a device.
class DiskAudio {
 public:
  explicit DiskAudio(const std::filesystem::path& file);
  ~DiskAudio();
  // Left and right samples, interleaved (read once the device is closed).
  std::vector<std::int16_t> Samples() const;
  // Frames written so far (up to a few buffers behind the mixer).
  std::size_t Frames() const;
  // Waits until this many more frames have been written: the driver plays in real time, and on
  // a busy machine a wall-clock wait may find far less mixed than it expects. False on timeout.
  bool Play(std::size_t frames) const;

 private:
  std::filesystem::path file_;
  std::string oldDriver_;
};

}  // namespace spellcrypt::testing
