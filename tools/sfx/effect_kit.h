// Small helpers shared by the one-off sound effects: shaped noise, swept tones, rooms.
#pragma once

#include <functional>

#include "tools/sfx/dsp.h"
#include "tools/sfx/reverb.h"

namespace spellcrypt::sfx {

// Renders `seconds` of sound from a function of time.
template <class F>
Mono Generate(double seconds, F&& sample) {
  Mono out(Frames(seconds));
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<float>(sample(static_cast<double>(i) / kRate));
  return out;
}

// exp-shaped fall reaching -60 dB after `t60`; 0 before time 0.
inline double Decay(double t, double t60) { return t < 0.0 ? 0.0 : std::exp(-6.907755 * t / t60); }
// Raised-cosine rise over `attack`; 1 after it, 0 before time 0.
inline double Rise(double t, double attack) {
  if (t <= 0.0) return 0.0;
  return t >= attack ? 1.0 : 0.5 - 0.5 * std::cos(kPi * t / attack);
}
// A smooth bump from `start` to `end`, loudest at `peak` (for whooshes).
double Swell(double t, double start, double peak, double end);

// Noise through a band-pass whose centre glides from `fromHz` to `toHz` (exponentially).
Mono SweptNoise(Rng& rng, double seconds, double fromHz, double toHz, double q,
                const std::function<double(double)>& level);

// A sine (or with `bright`, a softened sawtooth) gliding exponentially from `fromHz` to `toHz`.
Mono Glide(double seconds, double fromHz, double toHz, const std::function<double(double)>& level,
           bool bright = false);

// A short resonant knock (wood, bone, stone): a noise click ringing at `hz` with quality `q`.
// `snap` is how much of the bare click is heard over the ring (0 for soft thuds).
Mono Knock(Rng& rng, double hz, double q, double t60, float velocity, double snap = 0.3);

// Adds `src` into `dst` at `offset` seconds, growing `dst` to fit.
void Place(Mono& dst, const Mono& src, double offset, float gain = 1.0f);
void Place(Stereo& dst, const Mono& src, double offset, float gain, double pan);

// A mono sound in a room: the dry sound plus the reverb folded back to mono.
Mono InRoom(const Mono& dry, const ReverbParams& room, float wet);
// The same for stereo sounds (dry panned sources are mixed by the caller).
Stereo InRoom(const Stereo& dry, const ReverbParams& room, float wet);

inline Stereo MonoSound(Mono m) {
  Stereo s;
  s.l = std::move(m);
  return s;
}

}  // namespace spellcrypt::sfx
