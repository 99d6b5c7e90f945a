// The latency probe: a post-mix hook that notes when sound first comes out after being armed.
#include "audio/mixer_probe.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace spellcrypt {

MixerProbe::MixerProbe() { Mix_SetPostMix(&MixerProbe::Listen, this); }

MixerProbe::~MixerProbe() { Mix_SetPostMix(nullptr, nullptr); }

void MixerProbe::Arm() {
  heardAt_.store(0);
  armedAt_.store(SDL_GetPerformanceCounter());
}

double MixerProbe::HeardAfterMs() const {
  const std::uint64_t heard = heardAt_.load();
  if (heard == 0) return -1.0;
  return static_cast<double>(heard - armedAt_.load()) * 1000.0 /
         static_cast<double>(SDL_GetPerformanceFrequency());
}

// Runs on the audio thread, after every buffer is mixed.
void MixerProbe::Listen(void* probe, std::uint8_t* stream, int length) {
  auto* self = static_cast<MixerProbe*>(probe);
  if (self->armedAt_.load() == 0 || self->heardAt_.load() != 0) return;
  for (int i = 0; i < length; ++i) {
    if (stream[i] != 0) {
      self->heardAt_.store(SDL_GetPerformanceCounter());
      return;
    }
  }
}

}  // namespace spellcrypt
