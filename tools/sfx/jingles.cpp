// Short jingles that accompany the game's moments: a kill, a cleared dungeon, the way in, death,
// the oracle, the chosen page, a secret word and a monster's arrival.
#include "tools/sfx/effect_kit.h"
#include "tools/sfx/mastering.h"
#include "tools/sfx/recipes.h"
#include "tools/sfx/score.h"

namespace spellcrypt::sfx {

namespace {

Score::MixSettings Hall(double t60, float wet) {
  Score::MixSettings mix;
  mix.hall = {t60, 5500.0, 0.02, 1.1};
  mix.wet = wet;
  return mix;
}

// Bells with an echo bouncing between the walls.
Stereo EchoedBells(Score& bells, double beats, double delay, double feedback) {
  Stereo dry = bells.Render(beats, false, Hall(1.2, 0.2));
  const Stereo echo = PingPong(dry, {delay, feedback, 3500.0, 2.0}, false);
  MixAt(dry, echo, 0.0, 0.6f);
  return dry;
}

}  // namespace

Stereo MakeSuccess(Rng& rng) {
  // The monster falls: a harp runs up, brass answers "ta-daa" in D major, bells sparkle on top.
  Score s(150.0, 4, rng.Next());
  const int harp = s.AddVoice({Instrument::kHarp, 0.5f, -0.3, 0.3f, 1.0, 0.003});
  const int brass = s.AddVoice({Instrument::kBrass, 0.4f, 0.1, 0.3f, 0.9, 0.004});
  const int bells = s.AddVoice({Instrument::kCelesta, 0.28f, 0.35, 0.35f});
  const int timpani = s.AddVoice({Instrument::kTimpani, 0.6f, 0.0, 0.25f});
  s.Melody(harp, 0.0, "D4:.25 F#4 A4 D5 F#5:1.5", 0.8f);
  s.Melody(brass, 0.5, "A3:.5", 0.7f);
  s.Chord(brass, 1.0, 1.5, {62, 66, 69}, 0.85f);
  s.Melody(bells, 1.0, "A5:.5 D6:.5 F#6:1", 0.7f);
  s.Hit(timpani, 1.0, MidiToHz(38), 0.8f);
  return s.Render(4.0, false, Hall(1.4, 0.3));
}

Stereo MakeComplete(Rng& rng) {
  // Dungeon cleared: a brass call with a triplet pickup, then the heroic turn Bb - C - D, with a
  // timpani roll, a harp sweep and a crash on the last chord.
  Score s(120.0, 4, rng.Next());
  const int lead = s.AddVoice({Instrument::kBrass, 0.42f, 0.15, 0.3f, 0.92, 0.003});
  const int second = s.AddVoice({Instrument::kBrass, 0.34f, -0.15, 0.3f, 0.92, 0.003});
  const int low = s.AddVoice({Instrument::kBrass, 0.36f, 0.0, 0.3f, 0.92, 0.003});
  const int pad = s.AddVoice({Instrument::kPad, 0.25f, 0.0, 0.4f, 1.0, 0.0});
  const int timpani = s.AddVoice({Instrument::kTimpani, 0.55f, 0.0, 0.25f});
  const int cymbal = s.AddVoice({Instrument::kCymbal, 0.25f, 0.2, 0.3f});
  const int harp = s.AddVoice({Instrument::kHarp, 0.35f, -0.4, 0.35f, 1.0, 0.002});
  const int bells = s.AddVoice({Instrument::kCelesta, 0.25f, 0.4, 0.35f});
  s.Melody(lead, 0.0, "A4:.333 A4:.333 A4:.334 D5:1.5! D5:.5 E5:.5 F#5:2!", 0.85f);
  s.Melody(second, 0.0, "D4:.333 D4:.333 D4:.334 A4:1.5 F4:.5 G4:.5 A4:2", 0.8f);
  s.Melody(low, 0.0, "D3:1 D3:1.5 Bb2:.5 C3:.5 D3:2", 0.8f);
  s.Chord(pad, 1.0, 1.5, Voicing("D", 50), 0.6f);
  s.Chord(pad, 2.5, 0.5, Voicing("Bb", 50), 0.6f);
  s.Chord(pad, 3.0, 0.5, Voicing("C", 50), 0.6f);
  s.Chord(pad, 3.5, 2.0, Voicing("D", 50), 0.65f);
  s.Hit(timpani, 1.0, MidiToHz(38), 0.85f);
  for (int k = 0; k < 8; ++k) s.Hit(timpani, 3.0 + k * 0.0625, MidiToHz(33), 0.35f + 0.05f * k);
  s.Hit(timpani, 3.5, MidiToHz(38), 1.0f);
  s.Hit(cymbal, 3.5, 420.0, 0.8f);
  s.Melody(harp, 3.0, "D4:.042 E4 F#4 G4 A4 B4 C#5 D5 E5 F#5 A5 D6", 0.7f);
  s.Melody(bells, 3.5, "D6:.5 F#6:.5 A6:.5 D7:1", 0.7f);
  return s.Render(6.0, false, Hall(1.8, 0.3));
}

Stereo MakeEnter(Rng& rng) {
  // The dungeon door grinds open, it booms shut behind you, a bell tolls and low voices hum.
  Score s(60.0, 4, rng.Next());
  const int taiko = s.AddVoice({Instrument::kTaiko, 0.8f, 0.0, 0.35f});
  const int toll = s.AddVoice({Instrument::kToll, 0.35f, 0.0, 0.4f});
  const int choir = s.AddVoice({Instrument::kChoirOo, 0.35f, 0.0, 0.45f, 1.0, 0.0});
  const int cello = s.AddVoice({Instrument::kCello, 0.3f, 0.0, 0.35f, 1.0, 0.0});
  s.Hit(taiko, 0.55, 62.0, 1.0f);
  s.Note(toll, 0.55, 2.0, 38, 0.8f);
  s.Chord(choir, 0.6, 1.0, {50, 53, 57}, 0.6f);
  s.Note(cello, 0.55, 1.2, 38, 0.5f);
  Stereo out = s.Render(2.0, false, Hall(2.5, 0.35));
  OnePole grind(350.0), rough(25.0);
  const Mono door = Generate(0.75, [&](double t) {
    const double roughness = 0.4 + 4.0 * std::fabs(rough.Low(rng.Noise()));
    return grind.Low(rng.Noise()) * roughness * Swell(t, 0.0, 0.45, 0.75);
  });
  Stereo doorSound(0, true);
  Place(doorSound, door, 0.0, 2.5f, -0.2);
  MixAt(out, InRoom(doorSound, {1.5, 3000.0, 0.01, 1.0}, 0.3f), 0.0);
  Fade(out, 0.0, 0.4);
  return out;
}

Stereo MakeDie(Rng& rng) {
  // You fall: a bassoon sighs down by half steps over an open fifth, and the dungeon bell answers.
  Score s(120.0, 4, rng.Next());
  const int bassoon = s.AddVoice({Instrument::kReed, 0.55f, 0.1, 0.3f, 0.95, 0.004});
  const int choir = s.AddVoice({Instrument::kChoirOo, 0.3f, -0.1, 0.4f, 1.0, 0.0});
  const int pad = s.AddVoice({Instrument::kPad, 0.25f, 0.0, 0.4f, 1.0, 0.0});
  const int toll = s.AddVoice({Instrument::kToll, 0.35f, 0.0, 0.45f});
  const int timpani = s.AddVoice({Instrument::kTimpani, 0.45f, 0.0, 0.3f});
  s.Melody(bassoon, 0.0, "A3:.75 G#3:.75 G3:.75 F#3:2.2", 0.85f);
  s.Melody(choir, 0.0, "A2:.75 G#2:.75 G2:.75 F#2:2.2", 0.6f);
  s.Chord(pad, 0.0, 4.3, {38, 45}, 0.6f);
  s.Note(toll, 2.25, 2.0, 26, 0.8f);
  s.Hit(timpani, 2.25, MidiToHz(38), 0.6f);
  Stereo out = s.Render(5.0, false, Hall(2.0, 0.35));
  return out;
}

Stereo MakeOracle(Rng& rng) {
  // The oracle stirs: a shimmer rises, voices open on a hollow chord, bells fall through an echo.
  Score s(90.0, 4, rng.Next());
  const int choir = s.AddVoice({Instrument::kChoirAh, 0.35f, 0.0, 0.45f, 1.0, 0.0});
  const int toll = s.AddVoice({Instrument::kToll, 0.25f, 0.0, 0.4f});
  const int harp = s.AddVoice({Instrument::kHarp, 0.3f, -0.3, 0.4f, 1.0, 0.002});
  s.Chord(choir, 0.0, 1.2, {62, 69, 76}, 0.6f);
  s.Note(toll, 0.0, 1.0, 50, 0.6f);
  s.Melody(harp, 0.0, "D4:.125 A4 E5 F5 A5", 0.6f);
  Stereo out = s.Render(2.0, false, Hall(2.0, 0.4));
  Score b(90.0, 4, rng.Next());
  const int bells = b.AddVoice({Instrument::kCelesta, 0.3f, 0.2, 0.3f});
  b.Melody(bells, 0.25, "A6:.25 E6:.25 D6:.25 A5:.75", 0.7f);
  MixAt(out, EchoedBells(b, 2.0, 0.16, 0.45), 0.0);
  Stereo shimmer(0, true);
  Place(shimmer, SweptNoise(rng, 0.6, 800.0, 6000.0, 3.0, [](double t) { return Swell(t, 0.0, 0.4, 0.6); }),
        0.0, 0.4f, 0.0);
  MixAt(out, shimmer, 0.0);
  return out;
}

Stereo MakeEcho(Rng& rng) {
  // The chosen page: one clear chime whose echo runs round the chamber.
  Score s(100.0, 4, rng.Next());
  const int harp = s.AddVoice({Instrument::kHarp, 0.4f, 0.0, 0.35f});
  const int choir = s.AddVoice({Instrument::kChoirAh, 0.2f, 0.0, 0.45f, 1.0, 0.0});
  s.Note(harp, 0.0, 1.0, 69, 0.8f);
  s.Note(choir, 0.0, 1.0, 69, 0.5f);
  Stereo out = s.Render(2.0, false, Hall(1.6, 0.3));
  Score b(100.0, 4, rng.Next());
  const int bells = b.AddVoice({Instrument::kCelesta, 0.35f, -0.2, 0.3f});
  b.Chord(bells, 0.0, 0.5, {81, 88}, 0.8f);
  MixAt(out, EchoedBells(b, 1.0, 0.17, 0.5), 0.0);
  return out;
}

Stereo MakeTeleport(Rng& rng) {
  // A secret word: space folds. A shimmering glide rises while bells climb through an echo.
  Stereo out(0, true);
  double pc = 0.0, pm = 0.0, pc2 = 0.0;
  const Mono glide = Generate(0.9, [&](double t) {
    const double f = 220.0 * std::pow(8.0, t / 0.9);
    pc += f / kRate;
    pm += 1.5 * f / kRate;
    pc2 += 1.012 * f / kRate;
    const double v = FastSin(pc + 0.25 * FastSin(pm)) + FastSin(pc2 + 0.2 * FastSin(pm));
    return v * Swell(t, 0.0, 0.7, 0.9);
  });
  Place(out, glide, 0.0, 0.3f, 0.0);
  Place(out, SweptNoise(rng, 0.9, 600.0, 7000.0, 2.0, [](double t) { return Swell(t, 0.0, 0.7, 0.9); }), 0.0,
        0.5f, 0.0);
  Score b(120.0, 4, rng.Next());
  const int bells = b.AddVoice({Instrument::kCelesta, 0.3f, 0.0, 0.3f});
  b.Melody(bells, 0.5, "D5:.14 F#5 A5 D6 F#6 A6 D7:1", 0.75f);
  MixAt(out, EchoedBells(b, 2.0, 0.12, 0.4), 0.0);
  return InRoom(out, {1.5, 6000.0, 0.02, 1.0}, 0.25f);
}

Stereo MakeEncounter(Rng& rng) {
  // A monster steps out: two short stabs on a tritone, then the full minor chord with drums.
  Score s(130.0, 4, rng.Next());
  const int brass = s.AddVoice({Instrument::kBrass, 0.4f, 0.0, 0.3f, 0.85, 0.002});
  const int choir = s.AddVoice({Instrument::kChoirAh, 0.3f, 0.0, 0.45f, 1.0, 0.0});
  const int taiko = s.AddVoice({Instrument::kTaiko, 0.7f, 0.0, 0.3f});
  const int timpani = s.AddVoice({Instrument::kTimpani, 0.5f, 0.0, 0.3f});
  const int cymbal = s.AddVoice({Instrument::kCymbal, 0.2f, 0.2, 0.35f});
  const int cello = s.AddVoice({Instrument::kCello, 0.35f, -0.2, 0.3f, 0.95, 0.0});
  for (double beat : {0.0, 0.5}) {
    s.Chord(brass, beat, 0.3, {45, 51, 57}, 0.9f);
    s.Hit(taiko, beat, 65.0, beat == 0.0 ? 0.9f : 0.7f);
  }
  s.Chord(brass, 1.5, 1.5, {50, 53, 57, 62}, 1.0f);
  s.Chord(choir, 1.5, 1.5, {62, 65, 69}, 0.7f);
  s.Note(cello, 1.5, 1.5, 38, 0.8f);
  s.Hit(taiko, 1.5, 58.0, 1.0f);
  s.Hit(timpani, 1.5, MidiToHz(38), 0.8f);
  s.Hit(cymbal, 1.5, 400.0, 0.6f);
  return s.Render(3.0, false, Hall(1.8, 0.3));
}

}  // namespace spellcrypt::sfx
