// Building blocks of the sound generator: oscillators, filters, envelopes, mixing.
#include "tools/sfx/dsp.h"

#include <algorithm>
#include <array>

namespace spellcrypt::sfx {

int NoteToMidi(const char* text, std::size_t length) {
  static constexpr int kPitchClass[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (length < 2 || text[0] < 'A' || text[0] > 'G') return -1;
  int pitch = kPitchClass[text[0] - 'A'];
  std::size_t i = 1;
  while (i < length && (text[i] == '#' || text[i] == 'b')) pitch += text[i++] == '#' ? 1 : -1;
  if (i >= length) return -1;
  int octave = 0;
  for (; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    octave = octave * 10 + (text[i] - '0');
  }
  const int midi = (octave + 1) * 12 + pitch;
  return midi >= 0 && midi <= 127 ? midi : -1;
}

namespace {

constexpr int kSineTableSize = 4096;

const std::array<float, kSineTableSize + 1>& SineTable() {
  static const auto table = [] {
    std::array<float, kSineTableSize + 1> t{};
    for (int i = 0; i <= kSineTableSize; ++i)
      t[i] = static_cast<float>(std::sin(kTwoPi * i / kSineTableSize));
    return t;
  }();
  return table;
}

// Smooths the jump of a naive sawtooth over one sample on each side of the wrap.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

float FastSin(double phase) {
  const auto& table = SineTable();
  const double x = (phase - std::floor(phase)) * kSineTableSize;
  const int i = static_cast<int>(x);
  const float frac = static_cast<float>(x - i);
  return table[i] + (table[i + 1] - table[i]) * frac;
}

float Oscillator::Saw() {
  const double value = 2.0 * phase_ - 1.0 - PolyBlep(phase_, inc_);
  phase_ += inc_;
  if (phase_ >= 1.0) phase_ -= 1.0;
  return static_cast<float>(value);
}

float Oscillator::Pulse(double width) {
  double value = phase_ < width ? 1.0 : -1.0;
  value += PolyBlep(phase_, inc_);
  double shifted = phase_ + 1.0 - width;
  shifted -= std::floor(shifted);
  value -= PolyBlep(shifted, inc_);
  phase_ += inc_;
  if (phase_ >= 1.0) phase_ -= 1.0;
  return static_cast<float>(value);
}

float Oscillator::Sine() {
  const float value = FastSin(phase_);
  phase_ += inc_;
  if (phase_ >= 1.0) phase_ -= 1.0;
  return value;
}

float Oscillator::Triangle() {
  const float value = static_cast<float>(4.0 * std::fabs(phase_ - 0.5) - 1.0);
  phase_ += inc_;
  if (phase_ >= 1.0) phase_ -= 1.0;
  return value;
}

void Svf::Set(double cutoffHz, double q) {
  const double fc = std::clamp(cutoffHz, 10.0, kRate * 0.45);
  const double g = std::tan(kPi * fc / kRate);
  k_ = 1.0 / q;
  a1_ = 1.0 / (1.0 + g * (g + k_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

void Svf::Process(float in) {
  const double v3 = in - ic2_;
  const double v1 = a1_ * ic1_ + a2_ * v3;
  const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  low = static_cast<float>(v2);
  band = static_cast<float>(v1);
  high = static_cast<float>(in - k_ * v1 - v2);
}

Biquad Biquad::LowPass(double hz, double q) {
  const double w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
  return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::HighPass(double hz, double q) {
  const double w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
  return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::BandPass(double hz, double q) {
  const double w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
  return Biquad(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::Peak(double hz, double q, double gainDb) {
  const double a = std::pow(10.0, gainDb / 40.0);
  const double w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
  return Biquad(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
}

Biquad Biquad::HighShelf(double hz, double q, double gainDb) {
  const double a = std::pow(10.0, gainDb / 40.0), sa = std::sqrt(a);
  const double w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
  return Biquad(a * ((a + 1) + (a - 1) * c + 2 * sa * alpha), -2 * a * ((a - 1) + (a + 1) * c),
                a * ((a + 1) + (a - 1) * c - 2 * sa * alpha), (a + 1) - (a - 1) * c + 2 * sa * alpha,
                2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - 2 * sa * alpha);
}

Biquad Biquad::LowShelf(double hz, double q, double gainDb) {
  const double a = std::pow(10.0, gainDb / 40.0), sa = std::sqrt(a);
  const double w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
  return Biquad(a * ((a + 1) - (a - 1) * c + 2 * sa * alpha), 2 * a * ((a - 1) - (a + 1) * c),
                a * ((a + 1) - (a - 1) * c - 2 * sa * alpha), (a + 1) + (a - 1) * c + 2 * sa * alpha,
                -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - 2 * sa * alpha);
}

Envelope::Envelope(double attack, double decay60, double sustain, double release60, double gate)
    : attackN_(std::max<std::size_t>(1, Frames(attack))),
      gateN_(Frames(gate)),
      releaseN_(std::max<std::size_t>(1, Frames(release60))),
      sustain_(sustain),
      decayMul_(std::pow(10.0, -3.0 / std::max(1.0, decay60 * kRate))),
      releaseMul_(std::pow(10.0, -3.0 / static_cast<double>(releaseN_))) {}

float Envelope::Next() {
  if (n_ < gateN_) {
    if (n_ < attackN_) {
      // A rounded attack (half a sine) sounds less like a click than a straight ramp.
      level_ = 0.5 - 0.5 * std::cos(kPi * static_cast<double>(n_ + 1) / static_cast<double>(attackN_));
    } else {
      decayState_ *= decayMul_;
      level_ = sustain_ + (1.0 - sustain_) * decayState_;
    }
  } else {
    level_ *= releaseMul_;
  }
  ++n_;
  return static_cast<float>(level_);
}

std::size_t Envelope::Length() const { return gateN_ + releaseN_; }

Mono DecayEnvelope(double attack, double decay60, std::size_t frames) {
  Mono env(frames);
  const std::size_t attackN = Frames(attack);
  const double mul = std::pow(10.0, -3.0 / std::max(1.0, decay60 * kRate));
  double level = 1.0;
  for (std::size_t i = 0; i < frames; ++i) {
    if (i < attackN) {
      env[i] = static_cast<float>(static_cast<double>(i + 1) / static_cast<double>(attackN));
    } else {
      env[i] = static_cast<float>(level);
      level *= mul;
    }
  }
  return env;
}

void MixInto(Mono& dst, const Mono& src, std::size_t offset, float gain, bool wrap) {
  if (src.empty()) return;
  if (!wrap) {
    if (dst.size() < offset + src.size()) dst.resize(offset + src.size(), 0.0f);
    for (std::size_t i = 0; i < src.size(); ++i) dst[offset + i] += gain * src[i];
    return;
  }
  if (dst.empty()) return;
  std::size_t pos = offset % dst.size();
  std::size_t i = 0;
  while (i < src.size()) {
    const std::size_t run = std::min(src.size() - i, dst.size() - pos);
    for (std::size_t k = 0; k < run; ++k) dst[pos + k] += gain * src[i + k];
    i += run;
    pos = 0;
  }
}

Mono ColouredNoise(Rng& rng, std::size_t frames, double lowPassHz, double highPassHz) {
  Mono out(frames);
  OnePole lp(lowPassHz > 0 ? lowPassHz : 1.0), hp(highPassHz > 0 ? highPassHz : 1.0);
  for (auto& s : out) {
    float v = rng.Noise();
    if (lowPassHz > 0) v = lp.Low(v);
    if (highPassHz > 0) v = hp.High(v);
    s = v;
  }
  return out;
}

}  // namespace spellcrypt::sfx
