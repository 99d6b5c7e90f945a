// The score: note text, chord names and the mixdown.
#include "tools/sfx/score.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace spellcrypt::sfx {

namespace {

struct ChordQuality {
  const char* suffix;
  std::vector<int> intervals;
};

const std::vector<ChordQuality>& Qualities() {
  static const std::vector<ChordQuality> table = {
      {"", {0, 4, 7}},          {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
      {"m7", {0, 3, 7, 10}},    {"maj7", {0, 4, 7, 11}}, {"dim", {0, 3, 6}},
      {"dim7", {0, 3, 6, 9}},   {"aug", {0, 4, 8}},      {"sus4", {0, 5, 7}},
      {"sus2", {0, 2, 7}},      {"5", {0, 7}},           {"add9", {0, 4, 7, 14}},
      {"madd9", {0, 3, 7, 14}}, {"m6", {0, 3, 7, 9}},    {"7b9", {0, 4, 7, 10, 13}},
  };
  return table;
}

}  // namespace

ChordShape ParseChord(const std::string& name) {
  static constexpr int kPitchClass[7] = {9, 11, 0, 2, 4, 5, 7};
  ChordShape shape;
  if (name.empty() || name[0] < 'A' || name[0] > 'G') return shape;
  int root = kPitchClass[name[0] - 'A'];
  std::size_t i = 1;
  if (i < name.size() && (name[i] == '#' || name[i] == 'b')) root += name[i++] == '#' ? 1 : -1;
  const std::string suffix = name.substr(i);
  for (const auto& quality : Qualities()) {
    if (suffix == quality.suffix) {
      shape.root = (root + 12) % 12;
      shape.intervals = quality.intervals;
      return shape;
    }
  }
  return shape;
}

std::vector<int> Voicing(const std::string& chordName, int floorMidi, int count) {
  const ChordShape shape = ParseChord(chordName);
  if (shape.root < 0) throw std::invalid_argument("not a chord: " + chordName);
  std::vector<int> notes;
  for (int interval : shape.intervals) {
    int midi = floorMidi + ((shape.root + interval - floorMidi) % 12 + 12) % 12;
    if (interval >= 12) midi += 12;
    notes.push_back(midi);
  }
  std::sort(notes.begin(), notes.end());
  const std::size_t base = notes.size();
  for (std::size_t k = base; static_cast<int>(k) < count; ++k) notes.push_back(notes[k - base] + 12);
  if (count > 0 && static_cast<int>(notes.size()) > count) notes.resize(static_cast<std::size_t>(count));
  return notes;
}

Score::Score(double bpm, int beatsPerBar, std::uint64_t seed)
    : bpm_(bpm), beatsPerBar_(beatsPerBar), rng_(seed) {}

int Score::AddVoice(const VoiceSettings& settings) {
  voices_.push_back(settings);
  return static_cast<int>(voices_.size()) - 1;
}

double Score::Melody(int voice, double beat, const std::string& text, float velocity, int transpose) {
  std::istringstream in(text);
  std::string token;
  double length = 1.0;
  while (in >> token) {
    if (token == "|") continue;
    float v = velocity;
    if (token.back() == '!') {
      v = std::min(1.0f, velocity * 1.2f);
      token.pop_back();
    } else if (token.back() == '?') {
      v = velocity * 0.7f;
      token.pop_back();
    }
    const std::size_t colon = token.find(':');
    if (colon != std::string::npos) {
      char* end = nullptr;
      length = std::strtod(token.c_str() + colon + 1, &end);
      if (end == nullptr || *end != '\0' || length <= 0.0)
        throw std::invalid_argument("bad length: " + token);
    }
    const std::string pitch = token.substr(0, colon);
    if (pitch != "r") {
      const int midi = NoteToMidi(pitch.c_str(), pitch.size());
      if (midi < 0) throw std::invalid_argument("bad note: " + token);
      Note(voice, beat, length, midi + transpose, v);
    }
    beat += length;
  }
  return beat;
}

void Score::Note(int voice, double beat, double beats, int midi, float velocity) {
  events_.push_back({voice, beat, beats, MidiToHz(midi), velocity});
}

void Score::Hit(int voice, double beat, double hz, float velocity) {
  events_.push_back({voice, beat, 0.1, hz, velocity});
}

void Score::Chord(int voice, double beat, double beats, const std::vector<int>& midis, float velocity) {
  for (int midi : midis) Note(voice, beat, beats, midi, velocity);
}

void Score::Arpeggio(int voice, double beat, const std::string& chord, int floorMidi,
                     const std::vector<int>& pattern, double step, float velocity) {
  int highest = 0;
  for (int index : pattern) highest = std::max(highest, index);
  const std::vector<int> tones = Voicing(chord, floorMidi, highest + 1);
  for (int index : pattern) {
    if (index >= 0) Note(voice, beat, step, tones[static_cast<std::size_t>(index)], velocity);
    beat += step;
  }
}

int Score::Root(const std::string& chord, int floorMidi) {
  const ChordShape shape = ParseChord(chord);
  if (shape.root < 0) throw std::invalid_argument("not a chord: " + chord);
  return floorMidi + ((shape.root - floorMidi) % 12 + 12) % 12;
}

Stereo Score::Render(double lengthBeats, bool loop, const MixSettings& mix) {
  const std::size_t loopFrames = Frames(Seconds(lengthBeats));
  Mono dryL(loop ? loopFrames : 0, 0.0f), dryR(dryL), send(dryL);
  for (const Event& e : events_) {
    const VoiceSettings& v = voices_[static_cast<std::size_t>(e.voice)];
    const double start = Seconds(e.beat) + v.humanise * rng_.Range(-1.0, 1.0);
    const double gate = IsDrum(v.instrument) ? 0.05 : Seconds(e.beats) * v.legato;
    const float velocity = std::clamp(e.velocity * (1.0f + 0.06f * rng_.Noise()), 0.05f, 1.0f);
    const Mono note = PlayNote(v.instrument, {e.hz, gate, velocity}, rng_);
    auto frame = static_cast<long long>(std::llround(start * kRate));
    std::size_t offset = 0;
    if (loop) {
      const auto n = static_cast<long long>(loopFrames);
      offset = static_cast<std::size_t>(((frame % n) + n) % n);
    } else {
      offset = static_cast<std::size_t>(std::max(0LL, frame));
    }
    float gl = 0.0f, gr = 0.0f;
    PanGains(v.pan, gl, gr);
    MixInto(dryL, note, offset, v.gain * gl, loop);
    MixInto(dryR, note, offset, v.gain * gr, loop);
    MixInto(send, note, offset, v.gain * v.reverb, loop);
  }
  const std::size_t dryFrames = std::max({dryL.size(), dryR.size(), send.size()});
  dryL.resize(dryFrames, 0.0f);
  dryR.resize(dryFrames, 0.0f);
  send.resize(dryFrames, 0.0f);

  Stereo sendBus;
  sendBus.l = std::move(send);
  const Stereo wet = Reverberate(sendBus, mix.hall, loop);
  Stereo out(loop ? loopFrames : std::max(dryFrames, wet.Frames()), true);
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    const float l = i < dryFrames ? dryL[i] : 0.0f, r = i < dryFrames ? dryR[i] : 0.0f;
    out.l[i] = l + mix.wet * (i < wet.Frames() ? wet.l[i] : 0.0f);
    out.r[i] = r + mix.wet * (i < wet.Frames() ? wet.r[i] : 0.0f);
  }
  return out;
}

}  // namespace spellcrypt::sfx
