// Percussion: drums, clock ticks and a crash, built from swept sines, resonators and noise.
#include <algorithm>
#include <array>

#include "tools/sfx/instruments.h"

namespace spellcrypt::sfx {

namespace {

// A sine whose pitch falls from `bend` times the note to the note: the skin of a struck drum.
struct SweptSine {
  double phase = 0.0;
  float Next(double hz) {
    const float v = FastSin(phase);
    phase += hz / kRate;
    if (phase >= 1.0) phase -= 1.0;
    return v;
  }
};

Mono Taiko(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(1.3));
  SweptSine body, mode;
  OnePole slap(1200.0);
  const double bodyMul = std::pow(10.0, -3.0 / (1.0 * kRate)),
               modeMul = std::pow(10.0, -3.0 / (0.35 * kRate));
  double bodyLevel = 1.0, modeLevel = 0.35;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double hz = note.hz * (1.0 + 1.5 * std::exp(-t / 0.015));
    const float v = static_cast<float>(body.Next(hz) * bodyLevel + mode.Next(hz * 1.58) * modeLevel) +
                    slap.Low(rng.Noise()) * static_cast<float>(1.2 * std::exp(-t / 0.012));
    bodyLevel *= bodyMul;
    modeLevel *= modeMul;
    out[i] = std::tanh(1.3f * v) * note.velocity;
  }
  return out;
}

Mono Kick(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(0.5));
  SweptSine body;
  const double mul = std::pow(10.0, -3.0 / (0.35 * kRate));
  double level = 1.0;
  OnePole click(3000.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const float v = static_cast<float>(body.Next(note.hz * (1.0 + 2.0 * std::exp(-t / 0.02))) * level) +
                    click.High(rng.Noise()) * static_cast<float>(0.3 * std::exp(-t / 0.002));
    level *= mul;
    out[i] = std::tanh(1.2f * v) * note.velocity;
  }
  return out;
}

Mono Snare(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(0.35));
  SweptSine a, b;
  Biquad rattle = Biquad::HighPass(1800.0, 0.7);
  const Mono toneEnv = DecayEnvelope(0.0005, 0.12, out.size());
  const Mono noiseEnv = DecayEnvelope(0.001, 0.28, out.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    const float tone = 0.5f * (a.Next(note.hz) + 0.6f * b.Next(note.hz * 1.65));
    out[i] = (tone * toneEnv[i] + 0.8f * rattle.Process(rng.Noise()) * noiseEnv[i]) * note.velocity;
  }
  return out;
}

Mono Tom(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(0.8));
  SweptSine body;
  OnePole thump(900.0);
  const Mono env = DecayEnvelope(0.0005, 0.5, out.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    out[i] = (body.Next(note.hz * (1.0 + 0.3 * std::exp(-t / 0.03))) * env[i] +
              thump.Low(rng.Noise()) * static_cast<float>(0.8 * std::exp(-t / 0.01))) *
             note.velocity;
  }
  return out;
}

Mono Shaker(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(0.12));
  Biquad high = Biquad::HighPass(5500.0, 0.7);
  Biquad sheen = Biquad::Peak(9000.0, 1.0, 4.0);
  const Mono env = DecayEnvelope(0.004, 0.07, out.size());
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = sheen.Process(high.Process(rng.Noise())) * env[i] * note.velocity;
  return out;
}

// A clock's escapement: a sharp click ringing at the note's pitch over a small wooden body.
Mono Tick(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(0.09));
  Svf ring, body;
  ring.Set(note.hz, 18.0);
  body.Set(note.hz * 0.41, 6.0);
  const std::size_t burst = Frames(0.0015);
  const Mono env = DecayEnvelope(0.0003, 0.06, out.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    const float x = i < burst ? rng.Noise() : 0.0f;
    ring.Process(x);
    body.Process(x);
    out[i] = (ring.band * 0.12f + body.band * 0.2f + x * 0.15f) * env[i] * note.velocity * 3.0f;
  }
  return out;
}

Mono Cymbal(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(2.6));
  static constexpr std::array<double, 6> kRatios = {1.0, 1.342, 1.2312, 1.6532, 1.9523, 2.1523};
  std::array<Oscillator, kRatios.size()> metal;
  for (std::size_t k = 0; k < metal.size(); ++k) {
    metal[k].SetFrequency(note.hz * kRatios[k]);
    metal[k].SetPhase(rng.Uniform());
  }
  Biquad high = Biquad::HighPass(4000.0, 0.7);
  Biquad air = Biquad::HighPass(6000.0, 0.7);
  const Mono env = DecayEnvelope(0.002, 2.2, out.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    float m = 0.0f;
    for (auto& o : metal) m += o.Pulse(0.5);
    out[i] = (high.Process(m * 0.15f) + 0.5f * air.Process(rng.Noise())) * env[i] * note.velocity;
  }
  return out;
}

Mono Timpani(const NoteEvent& note, Rng& rng) {
  Mono out(Frames(2.5));
  static constexpr std::array<double, 5> kRatios = {1.0, 1.5, 1.98, 2.44, 2.9};
  static constexpr std::array<double, 5> kGains = {1.0, 0.55, 0.3, 0.15, 0.08};
  static constexpr std::array<double, 5> kRing = {2.2, 1.4, 1.0, 0.7, 0.5};
  std::array<SweptSine, 5> modes;
  std::array<double, 5> levels{}, muls{};
  for (std::size_t k = 0; k < modes.size(); ++k) {
    levels[k] = kGains[k];
    muls[k] = std::pow(10.0, -3.0 / (kRing[k] * kRate));
  }
  OnePole mallet(600.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double hz = note.hz * (1.0 + 0.02 * std::exp(-t / 0.08));
    double v = 0.0;
    for (std::size_t k = 0; k < modes.size(); ++k) {
      v += modes[k].Next(hz * kRatios[k]) * levels[k];
      levels[k] *= muls[k];
    }
    v += mallet.Low(rng.Noise()) * 1.5 * std::exp(-t / 0.008);
    out[i] = static_cast<float>(v * 0.7) * note.velocity;
  }
  return out;
}

}  // namespace

Mono Drum(Instrument instrument, const NoteEvent& note, Rng& rng) {
  switch (instrument) {
    case Instrument::kTaiko:
      return Taiko(note, rng);
    case Instrument::kKick:
      return Kick(note, rng);
    case Instrument::kSnare:
      return Snare(note, rng);
    case Instrument::kTom:
      return Tom(note, rng);
    case Instrument::kShaker:
      return Shaker(note, rng);
    case Instrument::kTick:
      return Tick(note, rng);
    case Instrument::kCymbal:
      return Cymbal(note, rng);
    case Instrument::kTimpani:
      return Timpani(note, rng);
    default:
      return {};
  }
}

}  // namespace spellcrypt::sfx
