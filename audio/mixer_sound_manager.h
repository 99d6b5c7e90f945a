// The sound manager over SDL_mixer: effects decoded once into samples and played on eight mixing
// channels whose priorities we keep ourselves; music streamed from its file, one piece at a time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "audio/sound_manager.h"
#include "base/clock.h"

struct Mix_Chunk;
struct _Mix_Music;  // SDL_mixer's own name behind Mix_Music

namespace spellcrypt {

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 8;
// 512 frames at 44.1 kHz is 11.6 ms a buffer: a sound waits at most one buffer to be mixed and
// one more in the device, which keeps a click under 25 ms from the button.
constexpr int kMixBufferFrames = 512;
// The mixer's full volume (SDL_mixer's MIX_MAX_VOLUME).
constexpr int kMixMaxVolume = 128;

// A pan of -1..1 as the 0..255 channel pan (0 left, 128 centre, 255 right) and the two gains the
// mixer applies. The centre plays both sides at full gain, as an unpanned sound does.
struct PanGains {
  int pan = 128;
  std::uint8_t left = 255;
  std::uint8_t right = 255;
};
PanGains PanToGains(float pan);
// A level of 0..1 as the mixer's 0..128; out-of-range levels are clamped, NaN is silence.
int VolumeToMixer(float level);

// One cached effect: its sample, or null while the file cannot be loaded.
struct SampleEntry {
  Mix_Chunk* handle = nullptr;
  std::string name;  // as the caller gave it
  int failures = 0;  // loads that failed, each one logged
};

// A recorded volume change of a playing sound.
struct SoundEffect {
  int state = 0;  // 0 running, 1 done
  float target = 0.0f;
  float level = 0.0f;  // the volume when it was added, 0..1
  int soundId = -1;
  int duration = 0;  // ms
  int elapsed = 0;   // ms
  std::uint32_t startMs = 0;
};

class CMixerSoundManager final : public ISoundManager {
 public:
  // Volume fades run on the clock's tick count.
  explicit CMixerSoundManager(IClock& clock);
  ~CMixerSoundManager() override;
  CMixerSoundManager(const CMixerSoundManager&) = delete;
  CMixerSoundManager& operator=(const CMixerSoundManager&) = delete;

  int PlaySound(const char* name) override;
  int PlaySoundAlt(const char* name) override { return PlaySound(name); }
  int PlayMusic(const char* name, int loops) override;
  bool Init() override;
  void Update() override;
  void SetMuteAll(bool mute) override;
  void Shutdown() override;
  void StopMusic() override;
  int PlayLooped(const char* name) override;
  void StopSound(int id) override;
  bool IsInitialised() const override { return initialised_; }
  bool HasMusic() const override { return music_ != nullptr; }
  void SetFrequencyFactor(int id, float factor) override;
  void SetVolume(int id, float level) override;
  void AddEffect(int id, int kind, float start, float target, float duration) override;
  void ClearEffects(int id) override;
  void SetPan(int id, float pan) override;
  bool IsPlaying(int id) const override;
  void SetPaused(int id, bool paused) override;
  void SetPriority(int id, int priority) override;
  void StopAllSounds() override;

  // What the manager holds, for checks and diagnostics.
  std::size_t CachedSamples() const { return samples_.size(); }
  const SampleEntry* FindSample(const char* name) const;
  // Whether the music is being heard now; HasMusic stays true after a piece played once ends.
  bool MusicPlaying() const;
  bool Muted() const { return muted_; }
  // Of a playing sound: level 0..1, pan 0..255, priority; -1 for a sound that is not playing.
  float VolumeOf(int id) const;
  int PanOf(int id) const;
  int PriorityOf(int id) const;
  std::size_t EffectsOf(int id) const;

 private:
  // What we keep per mixing channel: SDL_mixer knows nothing of priorities or ids.
  struct Channel {
    unsigned serial = 0;  // bumped at every play, so the ids of earlier sounds go stale
    int priority = kEffectPriority;
    bool paused = false;
    int volume = kMixMaxVolume;
    int pan = 128;
    std::uint64_t order = 0;  // when it started, to take the oldest channel first
  };

  int PlayCached(const char* name, int loops, int priority);
  int LoadSample(const char* name);
  int ChooseChannel(int priority) const;
  // The channel of a sound that still owns it, or -1.
  int ChannelOf(int id) const;
  void ApplyVolume(int channel) const;

  IClock* clock_;
  bool initialised_ = false;
  bool muted_ = false;
  bool frequencyWarned_ = false;
  _Mix_Music* music_ = nullptr;
  std::vector<SampleEntry> samples_;
  std::map<int, std::vector<SoundEffect>> effects_;
  Channel channels_[kMixChannels];
  std::uint64_t playCount_ = 0;
};

}  // namespace spellcrypt
