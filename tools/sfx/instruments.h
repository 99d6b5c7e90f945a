// The band of the dungeon: every instrument the music and jingles are played on. Each renders one
// note into a mono buffer that holds the whole note, release and ringing included.
#pragma once

#include "tools/sfx/dsp.h"

namespace spellcrypt::sfx {

enum class Instrument {
  kHarp,       // plucked string (Karplus-Strong), long ring
  kPizzicato,  // plucked string, short and dry: the sneaking bass of the title
  kCelesta,    // FM bell, bright and short
  kToll,       // FM bell, low and inharmonic: the dungeon bell
  kPad,        // detuned saws through a soft filter: string section
  kChoirOo,    // formant voices, "oo"
  kChoirAh,    // formant voices, "ah"
  kReed,       // clarinet/bassoon: square wave through a low-pass, with vibrato
  kFlute,      // sine with breath
  kBrass,      // saws with a filter that opens on the attack
  kBass,       // round sine bass
  kCello,      // short bowed low string: ostinatos
  kTaiko,      // big drum
  kKick,       // small bass drum
  kSnare,      // snare drum
  kTom,        // frame drum
  kShaker,     // high rattling noise
  kTick,       // clock tick
  kCymbal,     // crash
  kTimpani,    // tuned kettle drum
};

struct NoteEvent {
  double hz = 440.0;
  double gate = 0.5;  // seconds the note is held
  float velocity = 0.8f;
};

Mono PlayNote(Instrument instrument, const NoteEvent& note, Rng& rng);

// Instruments whose notes are percussion (the pitch only colours them).
bool IsDrum(Instrument instrument);

// Plucked string with explicit shape, also used directly by effects.
struct PluckShape {
  double t60 = 2.0;         // ring time
  double brightness = 0.5;  // 0 dull .. 1 bright
  double damp = 0.2;        // ring time after the gate ends
  double position = 0.2;    // where along the string it is plucked
};
Mono Pluck(const NoteEvent& note, const PluckShape& shape, Rng& rng);

// FM bell with explicit shape, also used directly by effects.
struct BellShape {
  double ratio = 3.5;  // modulator : carrier
  double index = 1.5;  // brightness of the strike
  double indexDecay = 0.2;
  double t60 = 2.0;
};
Mono Bell(const NoteEvent& note, const BellShape& shape);

// Drums (drums.cpp).
Mono Drum(Instrument instrument, const NoteEvent& note, Rng& rng);

}  // namespace spellcrypt::sfx
