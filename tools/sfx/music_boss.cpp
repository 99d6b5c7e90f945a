// Encounter music: the boss theme (a driving D minor ostinato with war drums, horns and voices;
// 24 bars at 140 a minute, about 41 s) and Mr Bomb's ticking clock (8 s).
#include <string>
#include <vector>

#include "tools/sfx/effect_kit.h"
#include "tools/sfx/mastering.h"
#include "tools/sfx/recipes.h"
#include "tools/sfx/score.h"

namespace spellcrypt::sfx {

namespace {

constexpr int kA = 0, kB = 8, kC = 16, kBars = 24;

const std::vector<std::string> kChords = {
    "Dm", "Dm", "Eb", "Dm", "Dm", "Dm", "Bb", "A",  // the ostinato alone, drums and voices
    "Dm", "Bb", "Gm", "A",  "Dm", "Bb", "Eb", "A",  // horns
    "Gm", "Gm", "Dm", "Dm", "Eb", "Eb", "A",  "A",  // voices and bells
};

// Eighths over each bar's root: the semitone above the root is the menace, accents fall 3+3+2.
constexpr int kOstinato[8] = {0, 0, 12, 0, 1, 0, 7, 0};
constexpr float kOstinatoAccent[8] = {1.0f, 0.55f, 0.7f, 0.9f, 0.6f, 0.55f, 0.9f, 0.6f};

const char* const kHorns =
    "D4:1.5 F4:.5 A4:2 | Bb4:1.5 A4:.5 F4:2 | G4:1 Bb4 D5:1.5 C5:.5 | A4:1 C#5 E5:2 | "
    "D5:1.5 C5:.5 A4:2 | Bb4:1 A4:.5 G4 F4:2 | G4:1 Bb4 Eb5:2 | D5:.5 C#5 Bb4 A4 C#5:2";

}  // namespace

Stereo MakeBossMusic(Rng& rng) {
  Score s(140.0, 4, rng.Next());
  const int cello = s.AddVoice({Instrument::kCello, 0.42f, -0.15, 0.2f, 0.7, 0.003});
  const int bass = s.AddVoice({Instrument::kBass, 0.35f, 0.0, 0.05f, 0.95, 0.0});
  const int horns = s.AddVoice({Instrument::kBrass, 0.38f, 0.15, 0.3f, 0.92, 0.004});
  const int hornsLow = s.AddVoice({Instrument::kBrass, 0.3f, -0.1, 0.3f, 0.92, 0.004});
  const int choirOo = s.AddVoice({Instrument::kChoirOo, 0.2f, 0.0, 0.4f, 1.0, 0.0});
  const int choirAh = s.AddVoice({Instrument::kChoirAh, 0.22f, 0.0, 0.4f, 1.0, 0.0});
  const int pad = s.AddVoice({Instrument::kPad, 0.14f, 0.0, 0.35f, 1.0, 0.0});
  const int bells = s.AddVoice({Instrument::kCelesta, 0.16f, 0.35, 0.3f});
  const int toll = s.AddVoice({Instrument::kToll, 0.22f, 0.0, 0.35f});
  const int taiko = s.AddVoice({Instrument::kTaiko, 0.5f, 0.0, 0.25f});
  const int tom = s.AddVoice({Instrument::kTom, 0.3f, 0.1, 0.2f});
  const int snare = s.AddVoice({Instrument::kSnare, 0.16f, 0.05, 0.2f});
  const int shaker = s.AddVoice({Instrument::kShaker, 0.07f, -0.3, 0.1f});
  const int cymbal = s.AddVoice({Instrument::kCymbal, 0.14f, 0.25, 0.3f});
  const int timpani = s.AddVoice({Instrument::kTimpani, 0.4f, 0.0, 0.25f});

  for (int bar = 0; bar < kBars; ++bar) {
    const std::string& chord = kChords[static_cast<std::size_t>(bar)];
    const int root = Score::Root(chord, 38);
    const double start = s.Bar(bar);
    for (int e = 0; e < 8; ++e)
      s.Note(cello, start + e * 0.5, 0.5, root + kOstinato[e], kOstinatoAccent[e] * 0.85f);
    s.Note(bass, start, 4.0, root - 12, 0.7f);
    // War drums: the first four bars only on the strong beats, then the full 3+3+2.
    const bool sparse = bar < 4;
    s.Hit(taiko, start, 62.0, 1.0f);
    s.Hit(taiko, start + 2.0, 62.0, 0.85f);
    if (!sparse) {
      s.Hit(taiko, start + 1.5, 75.0, 0.6f);
      s.Hit(taiko, start + 3.0, 75.0, 0.65f);
      s.Hit(taiko, start + 3.5, 85.0, 0.5f);
    }
    if (bar >= kB) {
      s.Hit(snare, start + 1.0, 190.0, 0.6f);
      s.Hit(snare, start + 3.0, 190.0, 0.7f);
      for (int e = 0; e < 8; ++e) s.Hit(shaker, start + e * 0.5, 1.0, e % 2 ? 0.8f : 0.45f);
    }
    // Fills close every section and lead back round to the top.
    if (bar % 8 == 7) {
      for (int k = 0; k < 8; ++k) s.Hit(tom, start + 2.0 + k * 0.25, 190.0 - k * 12.0, 0.5f + 0.05f * k);
      for (int k = 0; k < 12; ++k) s.Hit(timpani, start + 1.0 + k * 0.25, MidiToHz(33), 0.3f + 0.04f * k);
    }
    if (bar % 8 == 0) s.Hit(cymbal, start, 420.0, 0.8f);

    if (bar < kB) s.Chord(choirOo, start, 4.0, Voicing(chord, 50), 0.5f);
    if (bar >= kB && bar < kC) s.Chord(pad, start, 4.0, Voicing(chord, 53), 0.5f);
    if (bar >= kC) {
      s.Chord(choirAh, start, 4.0, Voicing(chord, 55), 0.55f);
      s.Arpeggio(bells, start, chord, 74, {0, 1, 2, 1, 3, 2, 1, 2}, 0.5, 0.55f);
      if (bar % 2 == 0) {
        s.Chord(hornsLow, start, 1.0, Voicing(chord, 50), 0.85f);
        s.Hit(timpani, start, MidiToHz(Score::Root(chord, 33)), 0.8f);
      }
    }
  }
  s.Note(toll, s.Bar(kA), 6.0, 38, 0.7f);
  s.Note(toll, s.Bar(kA + 4), 6.0, 38, 0.5f);
  // Horns swell into the melody, then carry it doubled an octave apart.
  s.Chord(hornsLow, s.Bar(6), 4.0, Voicing("Bb", 50), 0.6f);
  s.Chord(hornsLow, s.Bar(7), 4.0, Voicing("A", 49), 0.7f);
  s.Melody(horns, s.Bar(kB), kHorns, 0.85f);
  s.Melody(hornsLow, s.Bar(kB), kHorns, 0.7f, -12);

  Score::MixSettings mix;
  mix.hall = {2.0, 5000.0, 0.02, 1.2};
  mix.wet = 0.28f;
  return s.Render(s.Bar(kBars), true, mix);
}

Stereo MakeClock(Rng& rng) {
  // Mr Bomb's timer: tick and tock on every beat, a plucked bass sneaking between them and the
  // fuse hissing underneath. 4 bars at 120 a minute.
  Score s(120.0, 4, rng.Next());
  const int tick = s.AddVoice({Instrument::kTick, 0.7f, 0.0, 0.2f, 1.0, 0.0});
  const int pizz = s.AddVoice({Instrument::kPizzicato, 0.55f, -0.2, 0.2f, 0.5, 0.004});
  const int bass = s.AddVoice({Instrument::kBass, 0.3f, 0.0, 0.05f, 0.5, 0.0});
  const int bells = s.AddVoice({Instrument::kCelesta, 0.12f, 0.3, 0.3f});
  const std::vector<std::string> chords = {"Dm", "Eb", "Dm", "A"};
  for (int bar = 0; bar < 4; ++bar) {
    const int root = Score::Root(chords[static_cast<std::size_t>(bar)], 45);
    for (int beat = 0; beat < 4; ++beat) {
      const double at = s.Bar(bar) + beat;
      s.Hit(tick, at, beat % 2 ? 2300.0 : 3100.0, beat % 2 ? 0.75f : 0.9f);
      s.Note(pizz, at + 0.5, 0.5, beat % 2 ? root - 5 : root, 0.7f);
    }
    s.Note(bass, s.Bar(bar), 1.0, root - 12, 0.6f);
  }
  s.Melody(bells, s.Bar(3) + 2.0, "A5:.5 G#5 A5:1", 0.5f);
  Score::MixSettings mix;
  mix.hall = {0.9, 6000.0, 0.01, 0.7};
  mix.wet = 0.25f;
  Stereo out = s.Render(s.Bar(4), true, mix);

  // The fuse: hiss filtered round the loop so it joins itself, with sparse crackles wrapped in.
  const std::size_t n = out.Frames();
  Stereo hiss(n, false);
  for (float& v : hiss.l) v = rng.Noise() * 0.03f;
  HighPass(hiss, 4000.0, true);
  for (int k = 0; k < 40; ++k) {
    const Mono crackle =
        Knock(rng, rng.Range(2500.0, 6000.0), 2.0, 0.01, static_cast<float>(rng.Range(0.02, 0.06)));
    MixInto(hiss.l, crackle, static_cast<std::size_t>(rng.Uniform() * static_cast<double>(n)), 1.0f, true);
  }
  for (std::size_t i = 0; i < n; ++i) {
    out.l[i] += 0.8f * hiss.l[i];
    out.r[i] += 0.8f * hiss.l[i];
  }
  return out;
}

}  // namespace spellcrypt::sfx
