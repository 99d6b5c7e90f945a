// Building blocks of the sound generator: buffers, seeded noise, oscillators, filters, envelopes.
// Everything runs at one rate (44.1 kHz) in float samples of -1..1.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace spellcrypt::sfx {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

using Mono = std::vector<float>;

// Two channels of equal length; a mono sound leaves `r` empty.
struct Stereo {
  Mono l;
  Mono r;

  Stereo() = default;
  Stereo(std::size_t frames, bool stereo) : l(frames, 0.0f), r(stereo ? frames : 0, 0.0f) {}
  std::size_t Frames() const { return l.size(); }
  bool IsStereo() const { return !r.empty(); }
  Mono& Channel(int c) { return c == 0 || r.empty() ? l : r; }
  const Mono& Channel(int c) const { return c == 0 || r.empty() ? l : r; }
  int Channels() const { return IsStereo() ? 2 : 1; }
};

inline std::size_t Frames(double seconds) { return static_cast<std::size_t>(std::lround(seconds * kRate)); }
inline double DbToGain(double db) { return std::pow(10.0, db / 20.0); }
inline double GainToDb(double gain) { return gain > 1e-12 ? 20.0 * std::log10(gain) : -240.0; }
inline double MidiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }
inline double Cents(double cents) { return std::pow(2.0, cents / 1200.0); }

// Parses a note name such as "C4", "F#3" or "Bb5" (octave 4 holds middle C) into a MIDI number;
// -1 when the text is not a note.
int NoteToMidi(const char* text, std::size_t length);

// FNV-1a: seeds each sound's noise from its name and keeps file serial numbers stable.
inline std::uint64_t HashName(const char* text) {
  std::uint64_t h = 1469598103934665603ull;
  for (; *text; ++text) h = (h ^ static_cast<unsigned char>(*text)) * 1099511628211ull;
  return h;
}

// Sine from a table: the generator makes millions of partials, and std::sin dominates otherwise.
float FastSin(double phase);  // phase in cycles; any value

// Seeded generator (xorshift64*): every sound draws from its own stream, so the output never depends
// on the order in which sounds are made.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
    if (state_ == 0) state_ = 1;
  }
  std::uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }  // 0..1
  float Noise() { return static_cast<float>(Uniform() * 2.0 - 1.0); }                          // -1..1
  double Range(double a, double b) { return a + (b - a) * Uniform(); }
  int Int(int n) { return static_cast<int>(Uniform() * n); }

 private:
  std::uint64_t state_;
};

// Band-limited sawtooth and pulse (polyBLEP), so high notes do not alias into whistles.
class Oscillator {
 public:
  void SetFrequency(double hz) { inc_ = hz / kRate; }
  void SetPhase(double phase) { phase_ = phase - std::floor(phase); }
  float Saw();
  float Pulse(double width);  // width 0.5 is a square
  float Sine();
  float Triangle();

 private:
  double phase_ = 0.0;
  double inc_ = 0.0;
  float triState_ = 0.0f;
};

// State-variable filter (trapezoidal): stays stable while its cutoff moves every few samples.
class Svf {
 public:
  void Set(double cutoffHz, double q);
  void Process(float in);
  float low = 0.0f, band = 0.0f, high = 0.0f;
  void Reset() { ic1_ = ic2_ = 0.0; }

 private:
  double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0, k_ = 1.0, ic1_ = 0.0, ic2_ = 0.0;
};

// Classic second-order sections (peaking, shelving and pass filters), used for weighting and EQ.
class Biquad {
 public:
  static Biquad LowPass(double hz, double q);
  static Biquad HighPass(double hz, double q);
  static Biquad BandPass(double hz, double q);  // 0 dB at the centre
  static Biquad Peak(double hz, double q, double gainDb);
  static Biquad HighShelf(double hz, double q, double gainDb);
  static Biquad LowShelf(double hz, double q, double gainDb);
  float Process(float sample) {
    const double in = sample;
    const double out = b0_ * in + z1_;
    z1_ = b1_ * in - a1_ * out + z2_;
    z2_ = b2_ * in - a2_ * out;
    return static_cast<float>(out);
  }
  void Reset() { z1_ = z2_ = 0.0; }

 private:
  Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
      : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}
  double b0_, b1_, b2_, a1_, a2_;
  double z1_ = 0.0, z2_ = 0.0;
};

// One-pole smoother / low-pass.
class OnePole {
 public:
  OnePole() { Set(1000.0); }
  explicit OnePole(double hz) { Set(hz); }
  void Set(double hz) { a_ = 1.0 - std::exp(-kTwoPi * hz / kRate); }
  float Low(float in) {
    state_ += a_ * (static_cast<double>(in) - state_);
    return static_cast<float>(state_);
  }
  float High(float in) { return in - Low(in); }

 private:
  double a_ = 0.0;
  double state_ = 0.0;
};

// Attack, decay to a sustain level, release after the gate. Decay and release are given as the
// time to fall by 60 dB, which is how instrument decays are usually described.
class Envelope {
 public:
  Envelope(double attack, double decay60, double sustain, double release60, double gate);
  float Next();
  // Frames until the release has fallen 60 dB (the length worth rendering).
  std::size_t Length() const;

 private:
  std::size_t n_ = 0, attackN_, gateN_, releaseN_;
  double sustain_, decayMul_, releaseMul_;
  double decayState_ = 1.0, level_ = 0.0, releaseLevel_ = -1.0;
};

// Percussive shape: instant (or short) attack, exponential decay reaching -60 dB after `decay60`.
Mono DecayEnvelope(double attack, double decay60, std::size_t frames);

// Gentle saturation that keeps small signals linear.
inline float SoftClip(float x) { return std::tanh(x); }

// Adds `src` scaled by `gain` into `dst` at `offset`; with `wrap` the part past the end comes back at
// the start (a looping piece's tails ring into its beginning), else `dst` grows to fit.
void MixInto(Mono& dst, const Mono& src, std::size_t offset, float gain, bool wrap);

// Equal-power pan: -1 left, 0 centre, 1 right.
inline void PanGains(double pan, float& left, float& right) {
  const double a = (pan + 1.0) * kPi / 4.0;
  left = static_cast<float>(std::cos(a) * std::sqrt(2.0));
  right = static_cast<float>(std::sin(a) * std::sqrt(2.0));
}

// White noise shaped by a gentle low-pass and high-pass (rustle, breath, hiss); 0 Hz skips a filter.
Mono ColouredNoise(Rng& rng, std::size_t frames, double lowPassHz, double highPassHz);

}  // namespace spellcrypt::sfx
