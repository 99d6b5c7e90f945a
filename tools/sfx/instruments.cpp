// Tonal instruments: plucked strings, bells, bowed and blown voices.
#include "tools/sfx/instruments.h"

#include <algorithm>
#include <array>
#include <complex>
#include <functional>

namespace spellcrypt::sfx {

namespace {

// How often slowly moving parameters (filter cutoffs, vibrato) are recomputed.
constexpr int kControlStep = 16;

// Fades the last few milliseconds so a note cut at its length never clicks.
void FadeEnd(Mono& out) {
  const std::size_t n = std::min<std::size_t>(out.size(), Frames(0.004));
  for (std::size_t i = 0; i < n; ++i)
    out[out.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(n);
}

// Vibrato that fades in after `delay`, as players do on held notes.
double Vibrato(double t, double rate, double depth, double delay, double phase) {
  const double fade = std::clamp((t - delay) / 0.3, 0.0, 1.0);
  return 1.0 + depth * fade * std::sin(kTwoPi * (rate * t + phase));
}

Mono Pad(const NoteEvent& note, Rng& rng) {
  Envelope env(0.45, 14.0, 0.85, 1.3, note.gate);
  Mono out(env.Length());
  static constexpr std::array<double, 3> kDetune = {-9.0, 1.0, 10.0};
  std::array<Oscillator, 3> osc;
  for (auto& o : osc) o.SetPhase(rng.Uniform());
  Svf filter;
  const double vibPhase = rng.Uniform(), sweepPhase = rng.Uniform();
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i % kControlStep == 0) {
      const double t = static_cast<double>(i) / kRate;
      const double vib = Vibrato(t, 4.8, 0.0012, 0.3, vibPhase);
      for (std::size_t k = 0; k < osc.size(); ++k) osc[k].SetFrequency(note.hz * Cents(kDetune[k]) * vib);
      const double sweep = 1.0 + 0.12 * std::sin(kTwoPi * (0.23 * t + sweepPhase));
      filter.Set(std::min(5500.0, (note.hz * 2.2 + 350.0 + 1400.0 * note.velocity) * sweep), 0.6);
    }
    const float s = (osc[0].Saw() + osc[1].Saw() + osc[2].Saw()) * (1.0f / 3.0f);
    filter.Process(s);
    out[i] = filter.low * env.Next() * note.velocity * 0.7f;
  }
  return out;
}

struct Formant {
  double hz, gain, width;
};

Mono Choir(const NoteEvent& note, Rng& rng, const std::array<Formant, 3>& vowel) {
  Envelope env(0.35, 20.0, 1.0, 0.9, note.gate);
  Mono out(env.Length());
  static constexpr std::array<double, 3> kDetune = {-8.0, 0.0, 7.0};
  static constexpr std::array<double, 3> kRates = {5.1, 5.6, 4.7};
  std::array<Oscillator, 3> osc;
  std::array<double, 3> phases{};
  for (std::size_t k = 0; k < osc.size(); ++k) {
    osc[k].SetPhase(rng.Uniform());
    phases[k] = rng.Uniform();
  }
  std::array<Svf, 3> formants;
  for (std::size_t k = 0; k < formants.size(); ++k)
    formants[k].Set(vowel[k].hz, vowel[k].hz / vowel[k].width);
  OnePole breathHigh(3000.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i % kControlStep == 0) {
      const double t = static_cast<double>(i) / kRate;
      for (std::size_t k = 0; k < osc.size(); ++k) {
        osc[k].SetFrequency(note.hz * Cents(kDetune[k]) * Vibrato(t, kRates[k], 0.005, 0.15, phases[k]));
      }
    }
    const float src =
        (osc[0].Saw() + osc[1].Saw() + osc[2].Saw()) * (1.0f / 3.0f) + 0.04f * breathHigh.High(rng.Noise());
    float v = 0.0f;
    for (std::size_t k = 0; k < formants.size(); ++k) {
      formants[k].Process(src);
      // The band output peaks at the filter's Q; scale each formant back to its own gain.
      v += formants[k].band * static_cast<float>(vowel[k].gain * vowel[k].width / vowel[k].hz);
    }
    out[i] = v * env.Next() * note.velocity * 2.2f;
  }
  return out;
}

Mono Reed(const NoteEvent& note, Rng& rng) {
  Envelope env(0.022, 2.5, 0.72, 0.08, note.gate);
  Mono out(env.Length());
  Oscillator square, saw;
  Svf filter;
  OnePole breath(2500.0);
  const double vibPhase = rng.Uniform();
  // Low notes get some sawtooth: the buzzier bassoon colour instead of the hollow clarinet.
  const float sawMix = static_cast<float>(std::clamp((330.0 - note.hz) / 250.0, 0.0, 0.6));
  float level = 0.0f;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i % kControlStep == 0) {
      const double t = static_cast<double>(i) / kRate;
      const double hz = note.hz * Vibrato(t, 5.4, 0.0035, 0.2, vibPhase);
      square.SetFrequency(hz);
      saw.SetFrequency(hz);
      filter.Set(std::min(7000.0, note.hz * (2.0 + 2.5 * note.velocity) * (0.6 + 0.6 * level)), 0.8);
    }
    level = env.Next();
    const float s = square.Pulse(0.5) * (1.0f - sawMix) + saw.Saw() * sawMix;
    filter.Process(s + 0.02f * breath.High(rng.Noise()));
    out[i] = filter.low * level * note.velocity * 0.8f;
  }
  FadeEnd(out);
  return out;
}

Mono Flute(const NoteEvent& note, Rng& rng) {
  Envelope env(0.07, 12.0, 0.9, 0.14, note.gate);
  Mono out(env.Length());
  // Breath: noise narrowed round the second harmonic and kept well under the tone, plus a short
  // chiff as the note speaks.
  Svf breath;
  breath.Set(note.hz * 2.0, 4.0);
  OnePole chiffTone(3000.0);
  const double vibPhase = rng.Uniform();
  double phase = 0.0, inc = note.hz / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    if (i % kControlStep == 0) inc = note.hz * Vibrato(t, 5.0, 0.0045, 0.2, vibPhase) / kRate;
    const float tone = FastSin(phase) + 0.18f * FastSin(2.0 * phase) + 0.05f * FastSin(3.0 * phase);
    phase += inc;
    if (phase >= 1.0) phase -= 1.0;
    const float noise = rng.Noise();
    breath.Process(noise);
    const float chiff = chiffTone.Low(noise) * static_cast<float>(0.25 * std::exp(-t / 0.025));
    out[i] = (tone + 0.05f * breath.band + chiff) * env.Next() * note.velocity * 0.6f;
  }
  return out;
}

// Two detuned sawtooths through a low-pass whose cutoff follows `cutoff(t)`, with an optional pitch
// scoop on the attack and gentle saturation: horns and bowed low strings differ only in these.
Mono SawPair(const NoteEvent& note, Rng& rng, Envelope env, double detuneCents, double scoopCents, double q,
             float drive, const std::function<double(double)>& cutoff) {
  Mono out(env.Length());
  std::array<Oscillator, 2> osc;
  for (auto& o : osc) o.SetPhase(rng.Uniform());
  Svf filter;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i % kControlStep == 0) {
      const double t = static_cast<double>(i) / kRate;
      const double scoop = Cents(scoopCents * std::exp(-t / 0.025));
      osc[0].SetFrequency(note.hz * scoop * Cents(-detuneCents));
      osc[1].SetFrequency(note.hz * scoop * Cents(detuneCents));
      filter.Set(std::min(9000.0, cutoff(t)), q);
    }
    filter.Process((osc[0].Saw() + osc[1].Saw()) * 0.5f);
    const float v = drive > 0.0f ? std::tanh(drive * filter.low) / drive : filter.low;
    out[i] = v * env.Next() * note.velocity;
  }
  return out;
}

Mono Brass(const NoteEvent& note, Rng& rng) {
  // The lip scoops up into the pitch and the tone opens, then settles.
  return SawPair(note, rng, Envelope(0.035, 4.0, 0.85, 0.14, note.gate), 6.0, -35.0, 1.0, 1.4f,
                 [&](double t) {
                   const double open = (1.0 - std::exp(-t / 0.02)) * (0.55 + 0.45 * std::exp(-t / 0.25));
                   return note.hz * (1.2 + (3.0 + 5.0 * note.velocity) * open);
                 });
}

Mono Bass(const NoteEvent& note) {
  Envelope env(0.006, 2.2, 0.0, 0.12, note.gate);
  Mono out(env.Length());
  Oscillator sine, tri;
  sine.SetFrequency(note.hz);
  tri.SetFrequency(note.hz);
  for (auto& s : out)
    s = std::tanh(1.2f * (sine.Sine() + 0.25f * tri.Triangle())) * env.Next() * note.velocity;
  return out;
}

Mono Cello(const NoteEvent& note, Rng& rng) {
  // The bow bites on the attack: a brighter moment, then the darker body.
  return SawPair(note, rng, Envelope(0.012, 0.9, 0.35, 0.1, note.gate), 5.0, 0.0, 0.9, 0.0f, [&](double t) {
    return std::min(3500.0, note.hz * (2.5 + 4.0 * note.velocity * (0.4 + std::exp(-t / 0.05))));
  });
}

}  // namespace

Mono Pluck(const NoteEvent& note, const PluckShape& shape, Rng& rng) {
  const double period = kRate / note.hz;
  const double b = 0.5 - 0.4 * std::clamp(shape.brightness, 0.0, 1.0);  // loop low-pass, delay b samples
  const double total = period - b;
  const int n = std::max(2, static_cast<int>(std::floor(total - 0.1)));
  const double frac = total - n;  // tuned by a first-order all-pass
  const double c = (1.0 - frac) / (1.0 + frac);
  // Loop gain per turn, undoing the low-pass's loss at the fundamental so the ring time holds.
  const double w = kTwoPi * note.hz / kRate;
  const double h = std::abs(std::complex<double>(1.0 - b + b * std::cos(w), -b * std::sin(w)));
  const double ring = std::min(0.99995, std::pow(10.0, -3.0 / (shape.t60 * note.hz)) / h);
  const double damped = std::min(ring, std::pow(10.0, -3.0 / (shape.damp * note.hz)) / h);

  // Excitation: a burst of noise, darker for a softer pluck, with the notch of the pluck position.
  std::vector<float> line(static_cast<std::size_t>(n));
  OnePole tone(std::max(2.0 * note.hz, 400.0 + 9000.0 * shape.brightness * note.velocity));
  Mono burst(line.size());
  for (auto& s : burst) s = tone.Low(rng.Noise());
  const auto offset = static_cast<std::size_t>(std::max(1.0, shape.position * n));
  double mean = 0.0, peak = 1e-9;
  for (std::size_t i = 0; i < line.size(); ++i) {
    line[i] = burst[i] - burst[(i + offset) % line.size()];
    mean += line[i];
  }
  mean /= static_cast<double>(line.size());
  for (auto& s : line) {
    s = static_cast<float>(s - mean);
    peak = std::max(peak, static_cast<double>(std::fabs(s)));
  }
  for (auto& s : line) s = static_cast<float>(s / peak * note.velocity);

  Mono out(Frames(std::min(shape.t60, note.gate + shape.damp) + 0.01));
  const std::size_t gateN = Frames(note.gate);
  std::size_t p = 0;
  double prev = 0.0, apIn = 0.0, apOut = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double x = line[p];
    out[i] = static_cast<float>(x);
    const double lp = (1.0 - b) * x + b * prev;
    prev = x;
    const double ap = c * lp + apIn - c * apOut;
    apIn = lp;
    apOut = ap;
    line[p] = static_cast<float>(ap * (i < gateN ? ring : damped));
    if (++p == line.size()) p = 0;
  }
  FadeEnd(out);
  return out;
}

Mono Bell(const NoteEvent& note, const BellShape& shape) {
  Mono out(Frames(shape.t60 + 0.01));
  const Mono env = DecayEnvelope(0.0015, shape.t60, out.size());
  const double indexMul = std::exp(-1.0 / (shape.indexDecay * kRate));
  double index = shape.index * (0.6 + 0.4 * note.velocity) / kTwoPi;
  double pc = 0.0, pm = 0.0;
  const double ic = note.hz / kRate, im = note.hz * shape.ratio / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = FastSin(pc + index * FastSin(pm)) * env[i] * note.velocity;
    pc += ic;
    pm += im;
    if (pc >= 1.0) pc -= 1.0;
    if (pm >= 1.0) pm -= 1.0;
    index *= indexMul;
  }
  FadeEnd(out);
  return out;
}

bool IsDrum(Instrument instrument) { return instrument >= Instrument::kTaiko; }

Mono PlayNote(Instrument instrument, const NoteEvent& note, Rng& rng) {
  static constexpr std::array<Formant, 3> kOo = {{{290, 1.0, 70}, {750, 0.3, 80}, {2300, 0.08, 120}}};
  static constexpr std::array<Formant, 3> kAh = {{{700, 1.0, 90}, {1150, 0.55, 90}, {2600, 0.18, 120}}};
  switch (instrument) {
    case Instrument::kHarp:
      return Pluck(note, {std::min(4.0, 2.6 * std::pow(220.0 / note.hz, 0.35)), 0.55, 0.8, 0.15}, rng);
    case Instrument::kPizzicato:
      return Pluck(note, {0.55, 0.3, 0.09, 0.25}, rng);
    case Instrument::kCelesta:
      return Bell(note, {4.0, 1.1, 0.12, 1.6});
    case Instrument::kToll:
      return Bell(note, {1.41, 2.6, 1.2, 5.0});
    case Instrument::kPad:
      return Pad(note, rng);
    case Instrument::kChoirOo:
      return Choir(note, rng, kOo);
    case Instrument::kChoirAh:
      return Choir(note, rng, kAh);
    case Instrument::kReed:
      return Reed(note, rng);
    case Instrument::kFlute:
      return Flute(note, rng);
    case Instrument::kBrass:
      return Brass(note, rng);
    case Instrument::kBass:
      return Bass(note);
    case Instrument::kCello:
      return Cello(note, rng);
    default:
      return Drum(instrument, note, rng);
  }
}

}  // namespace spellcrypt::sfx
