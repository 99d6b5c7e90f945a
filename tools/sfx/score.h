// A small score: voices (an instrument with its level, place and reverb), notes written as text in
// beats, chords by name, and the mixdown through the hall's reverb.
#pragma once

#include <string>
#include <vector>

#include "tools/sfx/dsp.h"
#include "tools/sfx/instruments.h"
#include "tools/sfx/reverb.h"

namespace spellcrypt::sfx {

struct VoiceSettings {
  Instrument instrument = Instrument::kHarp;
  float gain = 0.5f;
  double pan = 0.0;         // -1 left .. 1 right
  float reverb = 0.25f;     // send level into the hall
  double legato = 0.9;      // share of a written length that the note is held
  double humanise = 0.006;  // seconds of timing wobble, so the players do not sound like a machine
};

// The intervals (semitones above the root) and root of a chord name: "Dm", "Bb", "A7", "F#dim",
// "Gsus4", "Cmaj7", "Am7", "E5". Empty when the name is not a chord.
struct ChordShape {
  int root = -1;  // pitch class 0..11 (C = 0)
  std::vector<int> intervals;
};
ChordShape ParseChord(const std::string& name);

// The chord's notes in close position from the lowest note at or above `floorMidi`.
std::vector<int> Voicing(const std::string& chordName, int floorMidi, int count = 0);

class Score {
 public:
  Score(double bpm, int beatsPerBar, std::uint64_t seed);

  int AddVoice(const VoiceSettings& settings);

  // Notes as text: "A4:.5 r D5:1.5! C#5:.5? ..." — a pitch or "r" (rest), an optional ":beats"
  // (otherwise the previous length, 1 to begin with), then "!" for an accent or "?" for a soft note.
  // "|" may stand between bars for the reader's sake. Returns the beat after the last note.
  double Melody(int voice, double beat, const std::string& text, float velocity = 0.8f, int transpose = 0);
  // One note by MIDI number.
  void Note(int voice, double beat, double beats, int midi, float velocity = 0.8f);
  void Hit(int voice, double beat, double hz, float velocity = 0.8f);  // drums: pitch in Hz
  // All notes of `midis` at once.
  void Chord(int voice, double beat, double beats, const std::vector<int>& midis, float velocity = 0.6f);

  // The chord's tones (close position from `floorMidi`, doubled upward as needed), played in the
  // order of `pattern` (indices into the tones), one every `step` beats.
  void Arpeggio(int voice, double beat, const std::string& chord, int floorMidi,
                const std::vector<int>& pattern, double step, float velocity = 0.7f);
  // The chord's root at or above `floorMidi`.
  static int Root(const std::string& chord, int floorMidi);

  double Bar(double bar) const { return bar * beatsPerBar_; }
  double Seconds(double beats) const { return beats * 60.0 / bpm_; }
  int BeatsPerBar() const { return beatsPerBar_; }
  Rng& Random() { return rng_; }

  struct MixSettings {
    ReverbParams hall;
    float wet = 0.35f;
  };
  // Mixes every voice. As a loop the result is exactly `lengthBeats` long and the tails of its end
  // (notes and reverb) sound at its start; otherwise it runs on until the last note has died away.
  Stereo Render(double lengthBeats, bool loop, const MixSettings& mix);

 private:
  struct Event {
    int voice;
    double beat, beats, hz;
    float velocity;
  };
  double bpm_;
  int beatsPerBar_;
  Rng rng_;
  std::vector<VoiceSettings> voices_;
  std::vector<Event> events_;
};

}  // namespace spellcrypt::sfx
