// Sounds of the interface and the letter board: buttons, tiles, refusals, pages and tips.
#include "tools/sfx/effect_kit.h"
#include "tools/sfx/instruments.h"
#include "tools/sfx/recipes.h"

namespace spellcrypt::sfx {

namespace {

// The small stone chamber every interface sound is heard in: just enough air to not sound dry.
const ReverbParams kChamber{0.35, 6000.0, 0.004, 0.45};

// Paper crackle: a rough, fast-moving level with sparse sharp grains.
Mono Crinkle(Rng& rng, double seconds) {
  OnePole smooth(70.0);
  return Generate(seconds, [&](double) {
    double v = std::fabs(smooth.Low(rng.Noise())) * 6.0;
    if (rng.Uniform() < 0.004) v += 1.5;
    return v;
  });
}

// A whoosh with a tone cue: `rising` for something arriving, else leaving.
Stereo TipSound(Rng& rng, bool arriving) {
  Stereo out(0, true);
  const double from = arriving ? 450.0 : 3200.0, to = arriving ? 3200.0 : 450.0;
  Place(out, SweptNoise(rng, 0.32, from, to, 1.2, [](double t) { return Swell(t, 0.0, 0.2, 0.32); }), 0.0,
        0.9f, arriving ? -0.35 : 0.35);
  const int first = arriving ? 76 : 81, second = arriving ? 81 : 76;  // E5 and A5
  const double at = arriving ? 0.14 : 0.04;
  Place(out, PlayNote(Instrument::kCelesta, {MidiToHz(first), 0.1, 0.7f}, rng), at, 0.5f, -0.1);
  Place(out, PlayNote(Instrument::kCelesta, {MidiToHz(second), 0.1, 0.8f}, rng), at + 0.1, 0.5f, 0.1);
  Place(out, PlayNote(Instrument::kHarp, {MidiToHz(second - 12), 0.3, 0.7f}, rng), at + 0.1, 0.35f, 0.0);
  return InRoom(out, kChamber, 0.3f);
}

// A tile sliding along the rack and settling into its slot.
Stereo TileSlide(Rng& rng, bool up) {
  Mono out;
  Place(out,
        SweptNoise(rng, 0.07, up ? 1200.0 : 3200.0, up ? 3200.0 : 1100.0, 2.0,
                   [](double t) { return Swell(t, 0.0, 0.045, 0.07); }),
        0.0, 0.7f);
  Place(out,
        Glide(0.05, up ? 700.0 : 1000.0, up ? 1050.0 : 650.0,
              [](double t) { return Rise(t, 0.004) * Decay(t, 0.05); }),
        0.0, 0.2f);
  Place(out, Knock(rng, up ? 1500.0 : 1050.0, 6.0, 0.04, 0.8f), 0.055);
  Place(out, Knock(rng, up ? 520.0 : 430.0, 3.0, 0.05, 0.35f), 0.056);
  return MonoSound(InRoom(out, kChamber, 0.15f));
}

}  // namespace

Stereo MakeClick(Rng& rng) {
  Mono out = Knock(rng, 1900.0, 7.0, 0.05, 1.0f);
  Place(out, Knock(rng, 650.0, 4.0, 0.07, 0.7f), 0.0);
  Place(out, Generate(0.04, [](double t) { return std::sin(kTwoPi * 1250.0 * t) * Decay(t, 0.03); }), 0.0,
        0.2f);
  return MonoSound(InRoom(out, kChamber, 0.12f));
}

Stereo MakeHighlight(Rng& /*rng: no noise in it*/) {
  // A glint: two tiny bell strikes, the second a fifth higher and softer.
  Mono out = Bell({2093.0, 0.05, 0.8f}, {3.5, 0.7, 0.02, 0.14});
  Place(out, Bell({3136.0, 0.05, 0.5f}, {3.5, 0.5, 0.02, 0.1}), 0.012, 0.4f);
  return MonoSound(InRoom(out, kChamber, 0.15f));
}

Stereo MakeBlip(Rng& /*rng: no noise in it*/) {
  // "Bli-ip": A5 then E6 on a soft pulse, with a bell an octave above the second note.
  Oscillator osc;
  OnePole soften(4500.0);
  Mono out = Generate(0.26, [&](double t) {
    osc.SetFrequency(t < 0.05 ? 880.0 : 1318.5);
    const double level = t < 0.05 ? Rise(t, 0.003) : Decay(t - 0.05, 0.2);
    const double gap = 1.0 - 0.7 * Swell(t, 0.043, 0.05, 0.057);
    return soften.Low(osc.Pulse(0.3)) * level * gap;
  });
  Place(out, Bell({2637.0, 0.1, 0.7f}, {3.5, 0.8, 0.05, 0.3}), 0.05, 0.35f);
  return MonoSound(InRoom(out, kChamber, 0.15f));
}

Stereo MakeBadWord(Rng& /*rng: no noise in it*/) {
  // A muted horn's "wah-wah": two falling notes, the second sagging further, each opening and
  // closing its tone like a hand over the bell.
  Oscillator saw, pulse;
  Svf wah;
  Mono out = Generate(0.46, [&](double t) {
    const bool second = t >= 0.135;
    const double local = second ? t - 0.135 : t;
    const double hz = second ? 185.0 * std::pow(170.0 / 185.0, std::min(1.0, local / 0.25)) : 196.0;
    saw.SetFrequency(hz);
    pulse.SetFrequency(hz);
    wah.Set(350.0 + 1300.0 * Swell(local, 0.0, 0.045, second ? 0.3 : 0.13), 2.5);
    wah.Process(0.6f * saw.Saw() + 0.4f * pulse.Pulse(0.35));
    const double level = second ? Rise(local, 0.01) * (local < 0.22 ? 1.0 : Decay(local - 0.22, 0.12))
                                : Rise(local, 0.01) * (local < 0.11 ? 1.0 : Decay(local - 0.11, 0.03));
    const double growl = 1.0 - 0.15 * (0.5 + 0.5 * std::sin(kTwoPi * 28.0 * t));
    return wah.low * level * growl;
  });
  return MonoSound(InRoom(out, kChamber, 0.15f));
}

Stereo MakeTileMove(Rng& rng) { return TileSlide(rng, true); }
Stereo MakeTileMoveBack(Rng& rng) { return TileSlide(rng, false); }

Stereo MakePageTurn(Rng& rng) {
  Stereo out(0, true);
  // The page lifts (a crinkle on the left), flips through the air, and lands on the right.
  const Mono crinkle = Crinkle(rng, 0.24);
  Mono lift = SweptNoise(rng, 0.24, 2200.0, 3800.0, 1.2, [](double t) { return Swell(t, 0.0, 0.16, 0.24); });
  for (std::size_t i = 0; i < lift.size(); ++i) lift[i] *= crinkle[i];
  Place(out, lift, 0.0, 0.5f, -0.4);
  Place(out, SweptNoise(rng, 0.26, 5000.0, 900.0, 0.8, [](double t) { return Swell(t, 0.0, 0.12, 0.26); }),
        0.17, 0.9f, 0.0);
  Place(out, Knock(rng, 1100.0, 1.5, 0.05, 0.5f), 0.41, 1.0f, 0.35);
  OnePole air(3000.0);
  Place(out, Generate(0.08, [&](double t) { return air.Low(rng.Noise()) * Decay(t, 0.06); }), 0.41, 0.6f,
        0.35);
  return InRoom(out, kChamber, 0.2f);
}

Stereo MakeTipStart(Rng& rng) { return TipSound(rng, true); }
Stereo MakeTipEnd(Rng& rng) { return TipSound(rng, false); }

}  // namespace spellcrypt::sfx
