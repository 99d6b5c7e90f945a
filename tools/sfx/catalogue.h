// The catalogue of the game's sounds: for each file, how it is made, whether it loops and how loud
// it should feel, and the mastering that brings it there.
#pragma once

#include <string>
#include <vector>

#include "tools/sfx/dsp.h"

namespace spellcrypt::sfx {

// Peaks of the files the game gets; the Ogg encoder is given a little headroom below it because
// lossy coding lifts peaks slightly.
constexpr double kCeilingDb = -1.0;
constexpr double kWavCeilingDb = -1.2;
constexpr double kOggCeilingDb = -1.6;

struct Recipe {
  const char* file;  // path under the runtime folder, e.g. "sound/click.wav"
  Stereo (*make)(Rng&);
  bool loop;
  bool music;         // measured over its whole length; effects and jingles by their loudest moment
  double loudness;    // target, LUFS-like
  double maxSeconds;  // a one-shot is faded out by then (the game moves on); 0: no limit
};

const std::vector<Recipe>& Recipes();
const Recipe* FindRecipe(const std::string& file);

bool IsOgg(const std::string& file);
double MeasureLoudness(const Stereo& audio, bool music);

// Writes WAV or Ogg Vorbis by the file's extension. An Ogg file is decoded again and, should the
// encoder have lifted a peak over the ceiling, turned down and encoded anew.
bool WriteSoundFile(const std::string& path, Stereo audio, std::string& error);

// Renders and masters one sound (deterministic: its noise is seeded from its name). Mono results
// stay mono; loops keep their exact length. Throws std::runtime_error (or the score's
// std::invalid_argument) when a recipe is broken; the generator reports that sound as failed.
Stereo MakeSound(const Recipe& recipe);

}  // namespace spellcrypt::sfx
