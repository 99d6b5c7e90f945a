// Sound effects: what a cached play costs the frame, and how long until it is mixed for the device.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/mixer_probe.h"
#include "audio/mixer_sound_manager.h"
#include "platform/headless_platform.h"
#include "tests/audio_wav.h"

namespace spellcrypt {
namespace {

// A folder of effects under their game-like names, and sound started on the dummy device.
struct EffectsOnDummyDevice {
  static constexpr int kNames = 40;  // the game has a few dozen sound files
  EffectsOnDummyDevice() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    dir = std::filesystem::temp_directory_path() / "spellcrypt_audio_bench";
    std::filesystem::create_directories(dir);
    for (int i = 0; i < kNames; ++i) {
      names.push_back((dir / ("effect" + std::to_string(i) + ".wav")).string());
      testing::WriteWavTone(names.back(), 4410, 440.0 + i);
    }
    ready = sound.Init();
  }
  ~EffectsOnDummyDevice() {
    sound.Shutdown();
    std::filesystem::remove_all(dir);
  }
  std::filesystem::path dir;
  std::vector<std::string> names;
  HeadlessPlatform clock;
  CMixerSoundManager sound{clock};
  bool ready = false;
};

void BM_PlayCachedEffect(benchmark::State& state) {
  EffectsOnDummyDevice fx;
  if (!fx.ready) {
    state.SkipWithError("no sound device");
    return;
  }
  for (const std::string& name : fx.names) fx.sound.PlaySound(name.c_str());
  // The last name is the slowest to find in the cache.
  const char* name = fx.names.back().c_str();
  for (auto _ : state) benchmark::DoNotOptimize(fx.sound.PlaySound(name));
}
BENCHMARK(BM_PlayCachedEffect);

// Time from PlaySound until a buffer holding the sound has been mixed and handed to the device.
// The device then holds it for at most one more buffer before it is heard.
void BM_EffectReachesTheMix(benchmark::State& state) {
  EffectsOnDummyDevice fx;
  if (!fx.ready) {
    state.SkipWithError("no sound device");
    return;
  }
  MixerProbe probe;
  const char* name = fx.names.front().c_str();
  std::vector<double> samples;
  for (auto _ : state) {
    fx.sound.StopAllSounds();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // let a silent buffer pass
    probe.Arm();
    fx.sound.PlaySound(name);
    while (probe.HeardAfterMs() < 0.0) std::this_thread::sleep_for(std::chrono::microseconds(100));
    samples.push_back(probe.HeardAfterMs());
    state.SetIterationTime(samples.back() / 1000.0);
  }
  std::sort(samples.begin(), samples.end());
  state.counters["median_ms"] = samples[samples.size() / 2];
  state.counters["max_ms"] = samples.back();
  state.counters["buffer_ms"] = 1000.0 * kMixBufferFrames / kMixRate;
}
BENCHMARK(BM_EffectReachesTheMix)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace spellcrypt
