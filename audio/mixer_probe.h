// Times how long a played sound takes to reach the mixed output, for measuring the latency of
// effects. It listens at the mixer's last stage, so it needs sound initialised; one at a time.
#pragma once

#include <atomic>
#include <cstdint>

namespace spellcrypt {

class MixerProbe {
 public:
  MixerProbe();
  ~MixerProbe();
  MixerProbe(const MixerProbe&) = delete;
  MixerProbe& operator=(const MixerProbe&) = delete;

  // Starts the clock: the next buffer that is not silent stops it.
  void Arm();
  // Milliseconds from Arm until a buffer with sound in it was mixed; negative until then.
  double HeardAfterMs() const;

 private:
  static void Listen(void* probe, std::uint8_t* stream, int length);
  std::atomic<std::uint64_t> armedAt_{0};
  std::atomic<std::uint64_t> heardAt_{0};
};

}  // namespace spellcrypt
