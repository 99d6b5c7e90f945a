// Sounds of the fight: spells, armour, the monster's attack, pain and collapse, potions and the
// heartbeat of a player close to death.
#include <algorithm>
#include <array>

#include "tools/sfx/effect_kit.h"
#include "tools/sfx/instruments.h"
#include "tools/sfx/recipes.h"

namespace spellcrypt::sfx {

namespace {

const ReverbParams kCrypt{0.8, 5000.0, 0.008, 0.75};

// A throaty voice: a buzzing source through three vocal formants, its pitch given by `pitch` (Hz
// over time) and a little rough wobble.
Mono Voice(Rng& rng, double seconds, const std::function<double(double)>& pitch,
           const std::function<double(double)>& level, double f1, double f2, double f3) {
  Oscillator saw, pulse;
  OnePole wobble(30.0), rasp(1500.0);
  std::array<Svf, 3> formants;
  const std::array<double, 3> hz = {f1, f2, f3}, gains = {1.0, 0.5, 0.2};
  for (std::size_t k = 0; k < 3; ++k) formants[k].Set(hz[k], hz[k] / 90.0);
  return Generate(seconds, [&](double t) {
    const double f = pitch(t) * (1.0 + 0.5 * wobble.Low(rng.Noise()));
    saw.SetFrequency(f);
    pulse.SetFrequency(f);
    const float src = 0.6f * saw.Saw() + 0.4f * pulse.Pulse(0.3) + 0.3f * rasp.High(rng.Noise());
    double v = 0.0;
    for (std::size_t k = 0; k < 3; ++k) {
      formants[k].Process(src);
      v += formants[k].band * gains[k] * 90.0 / hz[k];
    }
    return v * level(t);
  });
}

}  // namespace

Stereo MakeSpell(Rng& rng) {
  Mono out;
  // The spell gathers (a rising rush), strikes as a falling bolt, and bursts into crackling sparks.
  Place(out, SweptNoise(rng, 0.2, 400.0, 3500.0, 1.5, [](double t) { return Swell(t, 0.0, 0.16, 0.2); }), 0.0,
        0.7f);
  double pc = 0.0, pm = 0.0;
  Place(out,
        Generate(0.22,
                 [&](double t) {
                   const double f = 1600.0 * std::pow(180.0 / 1600.0, t / 0.22);
                   pc += f / kRate;
                   pm += 1.5 * f / kRate;
                   return FastSin(pc + 0.35 * Decay(t, 0.25) * FastSin(pm)) * Rise(t, 0.005) * Decay(t, 0.22);
                 }),
        0.12, 0.5f);
  Place(out, Glide(0.3, 95.0, 48.0, [](double t) { return Rise(t, 0.002) * Decay(t, 0.25); }), 0.18, 0.9f);
  OnePole fizz(2500.0);
  Place(out,
        Generate(0.35,
                 [&](double t) {
                   double v = fizz.High(rng.Noise()) * 0.5;
                   if (rng.Uniform() < 0.006) v += rng.Noise() * 2.0;
                   return v * Decay(t, 0.3);
                 }),
        0.18, 0.5f);
  for (int k = 0; k < 5; ++k) {
    Place(out, Bell({rng.Range(2500.0, 5000.0), 0.05, 0.6f}, {2.76, 1.0, 0.03, 0.25}), rng.Range(0.2, 0.45),
          0.15f);
  }
  return MonoSound(InRoom(out, kCrypt, 0.2f));
}

Stereo MakePlink(Rng& rng) {
  // The spell rings off hard armour: a struck plate, then a smaller ricochet.
  Mono out = Bell({1760.0, 0.05, 0.9f}, {2.76, 2.2, 0.04, 0.45});
  Place(out, Bell({4280.0, 0.05, 0.5f}, {1.0, 0.3, 0.05, 0.18}), 0.0, 0.35f);
  Place(out, Knock(rng, 3200.0, 3.0, 0.015, 0.6f), 0.0);
  Place(out, Bell({2350.0, 0.05, 0.6f}, {2.76, 1.5, 0.03, 0.3}), 0.085, 0.4f);
  return MonoSound(InRoom(out, kCrypt, 0.2f));
}

Stereo MakeMonsterAttack(Rng& rng) {
  Mono out;
  // A swing through the air, then the blow lands: a punch, a smack and the clack of bone.
  Place(out, SweptNoise(rng, 0.22, 350.0, 1400.0, 1.4, [](double t) { return Swell(t, 0.0, 0.15, 0.22); }),
        0.0, 1.0f);
  Place(out, Glide(0.25, 130.0, 55.0, [](double t) { return Rise(t, 0.001) * Decay(t, 0.18); }), 0.19, 1.0f);
  OnePole smack(2500.0);
  Place(out, Generate(0.06, [&](double t) { return smack.Low(rng.Noise()) * Decay(t, 0.05); }), 0.19, 1.2f);
  Place(out, Knock(rng, 900.0, 9.0, 0.06, 0.5f), 0.19);
  Place(out, Knock(rng, 1450.0, 10.0, 0.05, 0.4f), 0.215);
  return MonoSound(InRoom(out, kCrypt, 0.15f));
}

Stereo MakeMonsterPain(Rng& rng) {
  // "Urgh!": a grunt that jumps up and sags, with a rattle of bones.
  Mono out = Voice(
      rng, 0.45,
      [](double t) { return 150.0 * (1.0 + 0.15 * Swell(t, 0.0, 0.04, 0.12)) * std::pow(0.7, t / 0.4); },
      [](double t) { return Rise(t, 0.02) * (t < 0.2 ? 1.0 : Decay(t - 0.2, 0.25)); }, 560.0, 1000.0, 2450.0);
  Place(out, Knock(rng, 1200.0, 10.0, 0.05, 0.25f, 0.1), 0.0);
  Place(out, Knock(rng, 1800.0, 10.0, 0.04, 0.2f, 0.1), 0.03);
  return MonoSound(InRoom(out, kCrypt, 0.15f));
}

Stereo MakeMonsterDeath(Rng& rng) {
  Stereo out(0, true);
  // A last falling groan, then the bones come apart and clatter down, faster and softer.
  Place(out,
        Voice(
            rng, 0.95, [](double t) { return 180.0 * std::pow(75.0 / 180.0, t / 0.95); },
            [](double t) { return Swell(t, 0.0, 0.15, 0.95); }, 420.0, 800.0, 2300.0),
        0.0, 0.8f, 0.0);
  double t = 0.28;
  for (int k = 0; k < 14; ++k) {
    const float velocity = static_cast<float>(std::pow(0.9, k) * rng.Range(0.6, 1.0));
    Place(out,
          Knock(rng, rng.Range(600.0, 2600.0), rng.Range(6.0, 14.0), rng.Range(0.04, 0.09), velocity, 0.08),
          t, 0.5f, rng.Range(-0.6, 0.6));
    t += 0.09 * std::pow(0.85, k) + rng.Range(0.0, 0.02);
  }
  Place(out, Glide(0.3, 110.0, 50.0, [](double s) { return Rise(s, 0.002) * Decay(s, 0.25); }), 0.3, 0.6f,
        0.0);
  return InRoom(out, {1.2, 5000.0, 0.01, 0.9}, 0.25f);
}

Stereo MakeHealth(Rng& rng) {
  Mono out;
  // Bubbles rise in the flask, then a bright major arpeggio: life flows back.
  for (int k = 0; k < 9; ++k) {
    const double f0 = rng.Range(350.0, 900.0);
    Place(out, Glide(0.05, f0, f0 * 1.8, [](double t) { return Rise(t, 0.003) * Decay(t, 0.045); }),
          rng.Range(0.0, 0.38), static_cast<float>(rng.Range(0.5, 0.9)));
  }
  static constexpr int kArpeggio[] = {84, 88, 91, 96};  // C6 E6 G6 C7
  for (int k = 0; k < 4; ++k) {
    Place(out, PlayNote(Instrument::kCelesta, {MidiToHz(kArpeggio[k]), 0.2, 0.6f + 0.07f * k}, rng),
          0.35 + 0.06 * k, 0.45f);
  }
  Place(out, PlayNote(Instrument::kHarp, {MidiToHz(72), 0.4, 0.7f}, rng), 0.35, 0.4f);
  return MonoSound(InRoom(out, {1.0, 6000.0, 0.01, 0.8}, 0.25f));
}

Stereo MakeLowHealth(Rng& rng) {
  // A heartbeat, two beats per turn (80 a minute). The beats sit away from the loop's seam and
  // their tails wrap round, so the warning can loop for as long as the player bleeds.
  Mono out(Frames(1.5), 0.0f);
  auto thump = [](double fromHz, double toHz, double t60) {
    return Generate(t60 + 0.05, [=](double t) {
      // The pitch falls from fromHz to toHz; the phase is its integral.
      const double body =
          std::sin(kTwoPi * (toHz * t + (fromHz - toHz) * 0.03 * (1.0 - std::exp(-t / 0.03))));
      return std::tanh(2.5 * body * Rise(t, 0.004) * Decay(t, t60));
    });
  };
  Mono lub = thump(85.0, 50.0, 0.22), dub = thump(100.0, 60.0, 0.18);
  // Small speakers hardly reach below 150 Hz: a soft knock on each beat keeps it heard there.
  Place(lub, Knock(rng, 190.0, 2.0, 0.12, 0.5f, 0.0), 0.0);
  Place(dub, Knock(rng, 230.0, 2.0, 0.1, 0.4f, 0.0), 0.0);
  for (double beat : {0.3, 1.05}) {
    MixInto(out, lub, Frames(beat), 1.0f, true);
    MixInto(out, dub, Frames(beat + 0.2), 0.7f, true);
  }
  return MonoSound(std::move(out));
}

}  // namespace spellcrypt::sfx
