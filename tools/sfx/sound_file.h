// Reading and writing the game's two sound formats: 16-bit PCM WAV and Ogg Vorbis.
#pragma once

#include <string>
#include <vector>

#include "tools/sfx/dsp.h"

namespace spellcrypt::sfx {

struct DecodedSound {
  Stereo audio;
  int rate = 0;
  int channels = 0;
  int bitsPerSample = 0;  // 16 for our WAV files; 0 for Ogg Vorbis
};

// Every writer goes through a temporary name and renames, so a failed run never leaves half a file.
// Failures return false with the reason in `error`.
bool WriteWav(const std::string& path, const Stereo& audio, std::string& error);
bool WriteOgg(const std::string& path, const Stereo& audio, double quality,
              const std::vector<std::string>& comments, std::string& error);

// Readers accept what the game can play: WAV as PCM (any rate, 8/16 bits), Ogg Vorbis.
bool ReadWav(const std::string& path, DecodedSound& out, std::string& error);
bool ReadOgg(const std::string& path, DecodedSound& out, std::string& error);
// By extension (".wav" or ".ogg", any case).
bool ReadSound(const std::string& path, DecodedSound& out, std::string& error);

}  // namespace spellcrypt::sfx
