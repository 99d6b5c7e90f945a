// Helpers shared by the one-off sound effects.
#include "tools/sfx/effect_kit.h"

#include <algorithm>

namespace spellcrypt::sfx {

double Swell(double t, double start, double peak, double end) {
  if (t <= start || t >= end) return 0.0;
  if (t < peak) return 0.5 - 0.5 * std::cos(kPi * (t - start) / (peak - start));
  return 0.5 + 0.5 * std::cos(kPi * (t - peak) / (end - peak));
}

Mono SweptNoise(Rng& rng, double seconds, double fromHz, double toHz, double q,
                const std::function<double(double)>& level) {
  Mono out(Frames(seconds));
  Svf filter;
  const double ratio = toHz / fromHz;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    if (i % 16 == 0) filter.Set(fromHz * std::pow(ratio, t / seconds), q);
    filter.Process(rng.Noise());
    // The band output rises with Q; dividing keeps the level independent of how narrow it is.
    out[i] = static_cast<float>(filter.band / q * level(t));
  }
  return out;
}

Mono Glide(double seconds, double fromHz, double toHz, const std::function<double(double)>& level,
           bool bright) {
  Mono out(Frames(seconds));
  Oscillator osc;
  OnePole soften(std::max(fromHz, toHz) * 3.0);
  const double ratio = toHz / fromHz;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    osc.SetFrequency(fromHz * std::pow(ratio, t / seconds));
    const float v = bright ? soften.Low(osc.Saw()) : osc.Sine();
    out[i] = static_cast<float>(v * level(t));
  }
  return out;
}

Mono Knock(Rng& rng, double hz, double q, double t60, float velocity, double snap) {
  Mono out(Frames(t60 + 0.01));
  Svf ring;
  ring.Set(hz, q);
  const std::size_t burst = std::max<std::size_t>(2, Frames(0.0012));
  float peak = 1e-9f;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const float x = i < burst ? rng.Noise() : 0.0f;
    ring.Process(x);
    out[i] = static_cast<float>((ring.band + snap * x) * Decay(static_cast<double>(i) / kRate, t60));
    peak = std::max(peak, std::fabs(out[i]));
  }
  for (float& v : out) v *= velocity / peak;
  return out;
}

void Place(Mono& dst, const Mono& src, double offset, float gain) {
  MixInto(dst, src, Frames(offset), gain, false);
}

void Place(Stereo& dst, const Mono& src, double offset, float gain, double pan) {
  float gl = 0.0f, gr = 0.0f;
  PanGains(pan, gl, gr);
  if (dst.r.size() < dst.l.size()) dst.r.resize(dst.l.size(), 0.0f);
  MixInto(dst.l, src, Frames(offset), gain * gl, false);
  MixInto(dst.r, src, Frames(offset), gain * gr, false);
  const std::size_t n = std::max(dst.l.size(), dst.r.size());
  dst.l.resize(n, 0.0f);
  dst.r.resize(n, 0.0f);
}

Mono InRoom(const Mono& dry, const ReverbParams& room, float wet) {
  Stereo in;
  in.l = dry;
  const Stereo tail = Reverberate(in, room, false);
  Mono out(tail.Frames(), 0.0f);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = (i < dry.size() ? dry[i] : 0.0f) + wet * 0.5f * (tail.l[i] + tail.r[i]);
  }
  return out;
}

Stereo InRoom(const Stereo& dry, const ReverbParams& room, float wet) {
  const Stereo tail = Reverberate(dry, room, false);
  Stereo out(tail.Frames(), true);
  const Mono& dryR = dry.IsStereo() ? dry.r : dry.l;
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    out.l[i] = (i < dry.Frames() ? dry.l[i] : 0.0f) + wet * tail.l[i];
    out.r[i] = (i < dry.Frames() ? dryR[i] : 0.0f) + wet * tail.r[i];
  }
  return out;
}

}  // namespace spellcrypt::sfx
