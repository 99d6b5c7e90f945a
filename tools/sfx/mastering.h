// Levels and the last touches before a sound is written: loudness measured as the ear weighs it,
// gain, peak limiting, fades, and the seam check of loops.
#pragma once

#include "tools/sfx/dsp.h"

namespace spellcrypt::sfx {

double PeakDb(const Stereo& s);
double RmsDb(const Stereo& s);

// Loudness in LUFS-like units (K-weighted power of the channels summed, as broadcast meters do).
// Short sounds: the loudest 200 ms window, which is how loud a blip or a hit feels.
double ShortTermLoudness(const Stereo& s, double window = 0.2);
// Long pieces: the mean over the whole piece, leaving out near-silent stretches.
double IntegratedLoudness(const Stereo& s);

void ApplyGain(Stereo& s, double db);

// Removes rumble and any DC offset; a loop is filtered as a loop.
void HighPass(Stereo& s, double hz, bool loop);

// Look-ahead peak limiter: peaks stay at or below `ceilingDb`, quieter passages are untouched.
void Limit(Stereo& s, double ceilingDb, bool loop);

// Fades: the start rises over `in` seconds, the end falls to silence over `out` seconds.
void Fade(Stereo& s, double in, double out);

// Cuts the end where the sound has died below `floorDb` (relative to its peak), with a short fade.
void TrimSilence(Stereo& s, double floorDb);

// How a loop joins: the step from its last frame to its first divided by the largest step between
// neighbouring frames within `window` seconds on either side of the seam (worst channel). A smooth
// join stays at or below 1; a click stands far above.
double SeamRatio(const Stereo& s, double window = 0.01);

// Mixes `b` into `a` at `offset` seconds with `gain`, growing `a` as needed (both stereo or mono).
void MixAt(Stereo& a, const Stereo& b, double offset, float gain = 1.0f);

}  // namespace spellcrypt::sfx
