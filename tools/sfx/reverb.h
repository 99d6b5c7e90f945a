// Room and echo effects: a feedback-delay-network reverb (the dungeon's stone halls) and a
// ping-pong echo. Both handle loops: the tail of a loop's end rings into its start.
#pragma once

#include "tools/sfx/dsp.h"

namespace spellcrypt::sfx {

struct ReverbParams {
  double t60 = 2.0;        // seconds for the tail to fall 60 dB
  double dampHz = 6000.0;  // high frequencies die sooner, like in stone rooms
  double predelay = 0.015;
  double size = 1.0;  // scales the delay lengths (small chamber 0.6, great hall 1.4)
};

// The wet signal of `send` (mono or stereo) as stereo. Without `cyclic` the result is longer than
// the input by the tail; with it the input is taken as one turn of a loop and the result has the
// same length and joins its own start without a seam.
Stereo Reverberate(const Stereo& send, const ReverbParams& params, bool cyclic);

struct EchoParams {
  double delay = 0.25;  // seconds between repeats
  double feedback = 0.45;
  double dampHz = 4000.0;
  double tail = 2.0;  // seconds rendered after the input when not cyclic
};

// Repeats bouncing between left and right (wet only, stereo).
Stereo PingPong(const Stereo& in, const EchoParams& params, bool cyclic);

// Passes needed over a loop of `frames` for a process whose memory lasts `memorySeconds`.
int CyclicPasses(std::size_t frames, double memorySeconds);

}  // namespace spellcrypt::sfx
