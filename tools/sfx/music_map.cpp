// The map theme: a calm, wistful walk in A minor while the next dungeon is marked on the map.
// Flute over a rolling harp, a low reed answering, bells taking the last phrase; 12 bars at 72 a
// minute (40 s), the closing E major chord leading back to the opening A minor.
#include <string>
#include <vector>

#include "tools/sfx/recipes.h"
#include "tools/sfx/score.h"

namespace spellcrypt::sfx {

namespace {

const std::vector<std::string> kChords = {"Am", "F", "C", "G", "Am", "F", "Dm", "E", "F", "G", "Am", "E"};

const char* const kFlute =
    "A4:1 C5 E5:1.5 D5:.5 | C5:1 A4 F4:2 | G4:1 C5 E5 G5 | F5:1.5 E5:.5 D5:2 | "
    "E5:1 A5 G5 E5 | F5:1.5 E5:.5 C5:2 | D5:1 F5 E5 D5 | B4:2 G#4:2";
const char* const kBells = "A5:1 G5:.5 F5 C5:2 | D5:1 G5 B4:2 | C5:1 E5 A4:2 | G#4:1 B4 E5:2";
const char* const kReed = "A3:2 C4 | A3:2 F3 | F3:2 A3 | G#3:4";

}  // namespace

Stereo MakeMapMusic(Rng& rng) {
  Score s(72.0, 4, rng.Next());
  const int flute = s.AddVoice({Instrument::kFlute, 0.45f, 0.1, 0.35f, 0.95, 0.01});
  const int bells = s.AddVoice({Instrument::kCelesta, 0.25f, 0.3, 0.4f});
  const int reed = s.AddVoice({Instrument::kReed, 0.3f, -0.2, 0.3f, 0.95, 0.01});
  const int harp = s.AddVoice({Instrument::kHarp, 0.32f, -0.3, 0.35f, 1.0, 0.008});
  const int pad = s.AddVoice({Instrument::kPad, 0.15f, 0.0, 0.4f, 1.0, 0.0});
  const int choir = s.AddVoice({Instrument::kChoirOo, 0.12f, 0.0, 0.45f, 1.0, 0.0});
  const int bass = s.AddVoice({Instrument::kBass, 0.25f, 0.0, 0.05f, 0.95, 0.0});

  s.Melody(flute, 0.0, kFlute, 0.7f);
  s.Melody(reed, s.Bar(4), kReed, 0.55f);
  s.Melody(bells, s.Bar(8), kBells, 0.65f);
  for (int bar = 0; bar < static_cast<int>(kChords.size()); ++bar) {
    const std::string& chord = kChords[static_cast<std::size_t>(bar)];
    s.Arpeggio(harp, s.Bar(bar), chord, 52, {0, 1, 2, 3, 4, 3, 2, 1}, 0.5, bar % 4 == 0 ? 0.6f : 0.5f);
    s.Chord(pad, s.Bar(bar), 4.0, Voicing(chord, 55), 0.45f);
    s.Note(bass, s.Bar(bar), 3.8, Score::Root(chord, 33), 0.6f);
    if (bar >= 8) s.Chord(choir, s.Bar(bar), 4.0, Voicing(chord, 48), 0.45f);
  }
  Score::MixSettings mix;
  mix.hall = {2.6, 5000.0, 0.025, 1.2};
  mix.wet = 0.35f;
  return s.Render(s.Bar(static_cast<double>(kChords.size())), true, mix);
}

}  // namespace spellcrypt::sfx
