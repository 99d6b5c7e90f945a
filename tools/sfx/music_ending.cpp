// The ending: the title's creeping tune comes back in D major, unhurried, and closes on a long
// chord with horns, voices, bells and a crash. About 14 s, fading out as the ending screen closes.
#include "tools/sfx/mastering.h"
#include "tools/sfx/recipes.h"
#include "tools/sfx/score.h"

namespace spellcrypt::sfx {

Stereo MakeEnding(Rng& rng) {
  Score s(80.0, 4, rng.Next());
  const int flute = s.AddVoice({Instrument::kFlute, 0.45f, 0.1, 0.35f, 0.95, 0.008});
  const int bells = s.AddVoice({Instrument::kCelesta, 0.2f, 0.35, 0.35f});
  const int harp = s.AddVoice({Instrument::kHarp, 0.32f, -0.35, 0.35f, 1.0, 0.004});
  const int pad = s.AddVoice({Instrument::kPad, 0.18f, 0.0, 0.4f, 1.0, 0.0});
  const int choir = s.AddVoice({Instrument::kChoirAh, 0.2f, 0.0, 0.45f, 1.0, 0.0});
  const int horns = s.AddVoice({Instrument::kBrass, 0.32f, 0.0, 0.35f, 0.95, 0.004});
  const int bass = s.AddVoice({Instrument::kBass, 0.28f, 0.0, 0.05f, 0.95, 0.0});
  const int timpani = s.AddVoice({Instrument::kTimpani, 0.45f, 0.0, 0.3f});
  const int cymbal = s.AddVoice({Instrument::kCymbal, 0.2f, 0.2, 0.35f});

  const char* const kTune =
      "A4:.5 D5 F#5 E5:.25 D5 C#5:.5 D5 A4:1 | r:.5 D5 F#5 A5 G5 F#5 E5:1 | B4:.5 D5 G5:1 A4:.5 C#5 E5:1 | "
      "F#5:4!";
  s.Melody(flute, 0.0, kTune, 0.75f);
  s.Melody(bells, 0.0, kTune, 0.5f, 12);
  const char* const kChords[] = {"D", "Bm", "G", "A", "D"};
  const double at[] = {0.0, 4.0, 8.0, 10.0, 12.0};
  const double len[] = {4.0, 4.0, 2.0, 2.0, 6.0};
  for (int k = 0; k < 5; ++k) {
    s.Chord(pad, at[k], len[k], Voicing(kChords[k], 55), 0.5f);
    s.Note(bass, at[k], len[k], Score::Root(kChords[k], 38) - 12, 0.6f);
    const double step = len[k] >= 4.0 ? 0.5 : 0.25;
    s.Arpeggio(harp, at[k], kChords[k], 50, {0, 1, 2, 3, 4, 5, 4, 3}, step, 0.55f);
  }
  s.Chord(horns, 8.0, 2.0, Voicing("G", 50), 0.6f);
  s.Chord(horns, 10.0, 2.0, Voicing("A", 49), 0.7f);
  s.Chord(horns, 12.0, 5.0, Voicing("D", 50, 4), 0.85f);
  s.Chord(choir, 12.0, 5.0, Voicing("D", 62), 0.6f);
  for (int k = 0; k < 8; ++k) s.Hit(timpani, 11.0 + k * 0.125, MidiToHz(33), 0.3f + 0.05f * k);
  s.Hit(timpani, 12.0, MidiToHz(38), 0.9f);
  s.Hit(cymbal, 12.0, 420.0, 0.7f);
  s.Melody(bells, 12.5, "D6:.5 F#6 A6 D7:2", 0.55f);

  Score::MixSettings mix;
  mix.hall = {2.6, 5000.0, 0.025, 1.2};
  mix.wet = 0.35f;
  Stereo out = s.Render(18.0, false, mix);
  // The ending screen moves on after 12.5 s; let the last chord fade by then plus a breath.
  const std::size_t keep = std::min(out.Frames(), Frames(14.0));
  out.l.resize(keep);
  out.r.resize(keep);
  Fade(out, 0.0, 2.5);
  return out;
}

}  // namespace spellcrypt::sfx
