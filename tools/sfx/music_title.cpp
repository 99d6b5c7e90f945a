// The title theme: a sneaking, tongue-in-cheek dance in D minor. A bassoon-like reed carries the
// tune over plucked strings; the middle turns to F major on flute and bells; the return brings the
// whole band. 28 bars at 96 a minute (70 s), looping from the last bar back into the quiet intro.
#include <string>
#include <vector>

#include "tools/sfx/recipes.h"
#include "tools/sfx/score.h"

namespace spellcrypt::sfx {

namespace {

constexpr int kIntro = 0, kA = 4, kB = 12, kReturn = 20, kBars = 28;

// One chord per bar.
const std::vector<std::string> kChords = {
    "Dm", "Dm", "Bb", "A",                          // intro
    "Dm", "Dm", "Bb", "A", "Dm", "Gm", "A",  "Dm",  // A
    "F",  "C",  "Dm", "A", "Bb", "F",  "Gm", "A7",  // B
    "Dm", "Dm", "Bb", "A", "Dm", "Gm", "A",  "Dm",  // A again
};

// The tune: a little figure that creeps up, trips over its leading note and lands back on D.
const char* const kTuneA =
    "A3:.5 D4 F4 E4:.25 D4 C#4:.5 D4 A3:1 | r:.5 D4 F4 A4 G4 F4 E4:1 | "
    "F4:.5 Bb4 D5 C5:.25 Bb4 A4:.5 Bb4 F4:1 | r:.5 E4 G4 Bb4 A4:1.5 r:.5 | "
    "A3:.5 D4 F4 E4:.25 D4 C#4:.5 D4 A3:1 | r:.5 G4 Bb4 D5 C5 Bb4 A4:1 | "
    "G4:.5 Bb4 A4 G4 F4 E4 D4 C#4 | D4:1 A3:.5 D4 r:2";

// The middle: the same creeping steps turned bright, in F major.
const char* const kTuneB =
    "C5:1 A4:.5 C5 F5:1 E5:.5 D5 | E5:1 C5:.5 E5 G5:1.5 r:.5 | F5:.5 E5 D5 C5 D5:1 A4 | "
    "C#5:.5 D5 E5 C#5 A4:2 | D5:1 Bb4:.5 D5 F5:1 E5:.5 D5 | C5:1 A4:.5 C5 F5:2 | "
    "G5:.5 F5 E5 D5 Bb4 D5 G4:1 | A4:.5 C#5 E5 G5 A5:1 r:1";

// The return's descant: long notes high above the tune, so the last pass is not a plain repeat.
const char* const kDescant =
    "F5:2 E5 | D5:2 A5 | Bb5:2 A5:1 F5 | E5:2 C#5 | D5:2 F5 | G5:2 Bb5:1 A5 | A5:2 G5:1 E5 | D5:2 r";

}  // namespace

Stereo MakeTitleMusic(Rng& rng) {
  Score s(96.0, 4, rng.Next());
  const int reed = s.AddVoice({Instrument::kReed, 0.5f, 0.1, 0.22f, 0.62, 0.008});
  const int flute = s.AddVoice({Instrument::kFlute, 0.42f, 0.15, 0.3f, 0.92, 0.008});
  const int bells = s.AddVoice({Instrument::kCelesta, 0.16f, 0.35, 0.3f});
  const int pizz = s.AddVoice({Instrument::kPizzicato, 0.6f, -0.25, 0.15f, 0.5, 0.006});
  const int harp = s.AddVoice({Instrument::kHarp, 0.3f, -0.4, 0.3f, 1.0, 0.006});
  const int pad = s.AddVoice({Instrument::kPad, 0.16f, 0.0, 0.35f, 1.0, 0.0});
  const int choir = s.AddVoice({Instrument::kChoirOo, 0.14f, 0.0, 0.4f, 1.0, 0.0});
  const int bass = s.AddVoice({Instrument::kBass, 0.3f, 0.0, 0.05f, 0.9, 0.0});
  const int toll = s.AddVoice({Instrument::kToll, 0.18f, 0.0, 0.4f});
  const int tom = s.AddVoice({Instrument::kTom, 0.3f, -0.1, 0.15f});
  const int shaker = s.AddVoice({Instrument::kShaker, 0.08f, 0.3, 0.1f});
  const int taiko = s.AddVoice({Instrument::kTaiko, 0.3f, 0.0, 0.25f});

  // Intro: the dungeon bell, a slow harp and a held chord; bells tease the tune's last turn.
  s.Note(toll, s.Bar(kIntro), 4.0, 38, 0.7f);
  s.Note(toll, s.Bar(kIntro + 2), 4.0, 34, 0.55f);
  for (int bar = kIntro; bar < kIntro + 4; ++bar) {
    s.Arpeggio(harp, s.Bar(bar), kChords[bar], 50, {0, 1, 2, 3, 4, 3, 2, 1}, 0.5, 0.55f);
    s.Chord(pad, s.Bar(bar), 4.0, Voicing(kChords[bar], 50), 0.45f);
  }
  s.Melody(bells, s.Bar(kIntro + 3), "E5:.5 F5 E5 C#5 A4:2", 0.6f);

  // A: the tune on the reed over the sneaking pizzicato (root and fifth on every beat).
  s.Melody(reed, s.Bar(kA), kTuneA, 0.8f);
  for (int bar = kA; bar < kA + 8; ++bar) {
    const int root = Score::Root(kChords[bar], 45);
    for (int beat = 0; beat < 4; ++beat)
      s.Note(pizz, s.Bar(bar) + beat, 1.0, beat % 2 ? root - 5 : root, beat % 2 ? 0.6f : 0.8f);
    s.Hit(tom, s.Bar(bar), 110.0, 0.6f);
    s.Hit(tom, s.Bar(bar) + 2.5, 140.0, 0.4f);
    for (int eighth = 0; eighth < 8; ++eighth)
      s.Hit(shaker, s.Bar(bar) + eighth * 0.5, 1.0, eighth % 2 ? 0.7f : 0.35f);
  }
  s.Note(toll, s.Bar(kA), 4.0, 38, 0.45f);

  // B: F major, flute with bells an octave above, the harp rolling in eighths.
  s.Melody(flute, s.Bar(kB), kTuneB, 0.75f);
  s.Melody(bells, s.Bar(kB), kTuneB, 0.55f, 12);
  for (int bar = kB; bar < kB + 8; ++bar) {
    s.Arpeggio(harp, s.Bar(bar), kChords[bar], 53, {0, 1, 2, 3, 2, 1, 2, 3}, 0.5, 0.6f);
    s.Chord(pad, s.Bar(bar), 4.0, Voicing(kChords[bar], 53), 0.5f);
    const int root = Score::Root(kChords[bar], 40);
    s.Note(pizz, s.Bar(bar), 2.0, root, 0.75f);
    s.Note(pizz, s.Bar(bar) + 2.0, 2.0, root + 7, 0.6f);
  }

  // The return: the tune again with bells doubling it, voices and drums under it.
  s.Melody(reed, s.Bar(kReturn), kTuneA, 0.85f);
  s.Melody(bells, s.Bar(kReturn), kTuneA, 0.45f, 24);
  s.Melody(flute, s.Bar(kReturn), kDescant, 0.5f);
  for (int bar = kReturn; bar < kBars; ++bar) {
    // The last bar thins out after its downbeat so that the quiet intro can follow.
    const bool last = bar == kBars - 1;
    const int beats = last ? 2 : 4;
    const int root = Score::Root(kChords[bar], 45);
    for (int beat = 0; beat < beats; ++beat) {
      s.Note(pizz, s.Bar(bar) + beat, 1.0, beat % 2 ? root - 5 : root, beat % 2 ? 0.6f : 0.8f);
    }
    s.Note(bass, s.Bar(bar), 2.0, root - 12, 0.7f);
    if (!last) s.Note(bass, s.Bar(bar) + 2.0, 2.0, root - 12, 0.55f);
    s.Chord(choir, s.Bar(bar), beats, Voicing(kChords[bar], 50), 0.5f);
    s.Chord(pad, s.Bar(bar), beats, Voicing(kChords[bar], 57), 0.4f);
    s.Hit(taiko, s.Bar(bar), 70.0, 0.7f);
    if (!last) {
      s.Hit(tom, s.Bar(bar) + 1.5, 120.0, 0.45f);
      s.Hit(tom, s.Bar(bar) + 2.0, 110.0, 0.55f);
      s.Hit(tom, s.Bar(bar) + 3.5, 150.0, 0.4f);
    }
    for (int eighth = 0; eighth < beats * 2; ++eighth) {
      s.Hit(shaker, s.Bar(bar) + eighth * 0.5, 1.0, eighth % 2 ? 0.8f : 0.4f);
    }
  }
  Score::MixSettings mix;
  mix.hall = {2.2, 5500.0, 0.02, 1.1};
  mix.wet = 0.3f;
  return s.Render(s.Bar(kBars), true, mix);
}

}  // namespace spellcrypt::sfx
