// The sound manager over SDL_mixer. Effects are decoded once and kept by name; music is streamed
// from its file. SDL_mixer hands out channels first come, first served, so the choice of channel
// (free first, then the oldest of the lowest priority, never a paused one) is made here.
#include "audio/mixer_sound_manager.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/log.h"
#include "platform/files.h"

namespace spellcrypt {

namespace {

// The failure texts of the log, in the wording the game has always used.
constexpr const char* kTextInitFailed = "Error initializing output device.";
constexpr const char* kTextPlayFailed = "Playing the sound failed.";
constexpr const char* kTextFileNotFound = "File not found";
constexpr const char* kTextUnknownFormat = "Unknown file format";
constexpr const char* kTextLoadFailed = "Error loading file";
constexpr const char* kTextNoChannel = "Failed to allocate a new channel";

// Sound ids carry the channel's play serial, so a finished sound's id never reaches the next
// sound on its channel (the low-life warning keeps its id across many other sounds).
constexpr unsigned kSerialWrap = static_cast<unsigned>(INT_MAX / kMixChannels);

int MakeId(int channel, unsigned serial) { return static_cast<int>(serial) * kMixChannels + channel; }

// Why a file would not load, told by its first bytes: a file of none of the formats the mixer
// reads is of an unknown format; one that starts like a sound file is damaged.
const char* LoadFailureText(const char* name) {
  std::FILE* file = OpenFile(name, "rb");
  if (file == nullptr) return kTextFileNotFound;
  char magic[4] = {};
  const std::size_t got = std::fread(magic, 1, sizeof magic, file);
  std::fclose(file);
  static constexpr const char* kSignatures[] = {"RIFF", "OggS", "fLaC", "FORM", "ID3"};
  for (const char* signature : kSignatures) {
    const std::size_t length = std::strlen(signature);
    if (got >= length && std::memcmp(magic, signature, length) == 0) return kTextLoadFailed;
  }
  return kTextUnknownFormat;
}

void LogInitFailure(const char* what) {
  LogError("%s\n", kTextInitFailed);
  Log("%s: %s", what, SDL_GetError());
}

}  // namespace

PanGains PanToGains(float pan) {
  PanGains gains;
  if (!(pan >= -1.0f)) pan = -1.0f;  // NaN too
  if (pan > 1.0f) pan = 1.0f;
  gains.pan = std::min(255, static_cast<int>((pan + 1.0f) * 128.0f));
  if (gains.pan <= 128) {
    gains.right = static_cast<std::uint8_t>(gains.pan * 255 / 128);
  } else {
    gains.left = static_cast<std::uint8_t>((255 - gains.pan) * 255 / 127);
  }
  return gains;
}

int VolumeToMixer(float level) {
  if (!(level > 0.0f)) return 0;
  if (level >= 1.0f) return kMixMaxVolume;
  return static_cast<int>(std::lround(level * static_cast<float>(kMixMaxVolume)));
}

CMixerSoundManager::CMixerSoundManager(IClock& clock) : clock_(&clock) {}

CMixerSoundManager::~CMixerSoundManager() { Shutdown(); }

bool CMixerSoundManager::Init() {
  const bool wasInitialised = initialised_;
  Shutdown();

  const SDL_version* linked = Mix_Linked_Version();
  if (SDL_VERSIONNUM(linked->major, linked->minor, linked->patch) < SDL_MIXER_COMPILEDVERSION) {
    LogError("You are using the wrong SDL_mixer version!  You should be using SDL_mixer %d.%d.%d\n",
             SDL_MIXER_MAJOR_VERSION, SDL_MIXER_MINOR_VERSION, SDL_MIXER_PATCHLEVEL);
    return false;
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    LogInitFailure("SDL audio");
    return false;
  }
  // Decoders load on demand anyway; asking now tells us early when Ogg files would stay silent.
  if ((Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) == 0) {
    LogError("Ogg Vorbis decoding is unavailable (%s); Ogg sounds and music stay silent.", Mix_GetError());
  }
  // No format changes allowed: SDL converts for the device, and we always mix 16-bit stereo.
  if (Mix_OpenAudioDevice(kMixRate, AUDIO_S16SYS, 2, kMixBufferFrames, nullptr, 0) != 0) {
    LogInitFailure("SDL_mixer");
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(kMixChannels);
  // Serials carry on across a restart, so ids kept from before it stay stale.
  for (Channel& channel : channels_) channel = Channel{.serial = channel.serial};
  initialised_ = true;
  for (int c = 0; c < kMixChannels; ++c) ApplyVolume(c);
  Mix_VolumeMusic(muted_ ? 0 : kMixMaxVolume);
  if (!wasInitialised) {
    Log("SDL_mixer V%d.%d.%d Sound System Initialized", linked->major, linked->minor, linked->patch);
  }
  return true;
}

void CMixerSoundManager::Shutdown() {
  effects_.clear();
  if (initialised_) {
    StopMusic();
    Mix_HaltChannel(-1);
    for (SampleEntry& entry : samples_) Mix_FreeChunk(entry.handle);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  initialised_ = false;
  samples_.clear();
}

const SampleEntry* CMixerSoundManager::FindSample(const char* name) const {
  for (const SampleEntry& entry : samples_) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

// The cache entry of the name, loaded; -1 (logged) while the file cannot be loaded. A failed
// load is tried again at the next play, on the same entry, so a file that turns up later is
// cached like any other.
int CMixerSoundManager::LoadSample(const char* name) {
  const SampleEntry* found = FindSample(name);
  std::size_t index = found != nullptr ? static_cast<std::size_t>(found - samples_.data()) : samples_.size();
  if (found == nullptr) {
    samples_.emplace_back();
    samples_.back().name = name;
  }
  SampleEntry& entry = samples_[index];
  if (entry.handle == nullptr) {
    entry.handle = Mix_LoadWAV(ResolvePath(name).c_str());
    if (entry.handle == nullptr) {
      ++entry.failures;
      LogError("Unable to load sound %s.", name);
      DebugOut("  %s", Mix_GetError());
      return -1;
    }
  }
  return static_cast<int>(index);
}

int CMixerSoundManager::ChooseChannel(int priority) const {
  for (int c = 0; c < kMixChannels; ++c) {
    if (!Mix_Playing(c)) return c;  // a paused channel counts as playing
  }
  int best = -1;
  for (int c = 0; c < kMixChannels; ++c) {
    const Channel& channel = channels_[c];
    if (channel.paused || channel.priority > priority) continue;
    if (best < 0 || channel.priority < channels_[best].priority ||
        (channel.priority == channels_[best].priority && channel.order < channels_[best].order)) {
      best = c;
    }
  }
  return best;
}

int CMixerSoundManager::PlayCached(const char* name, int loops, int priority) {
  if (!initialised_ || name == nullptr) return -1;
  const int index = LoadSample(name);
  if (index < 0) return -1;
  const int c = ChooseChannel(priority);
  if (c < 0) {
    LogError("Unable to play sound %s: %s", name, kTextNoChannel);
    return -1;
  }
  Channel& channel = channels_[c];
  channel.volume = kMixMaxVolume;
  ApplyVolume(c);
  // Playing on a busy channel halts what was there (and drops its pan).
  if (Mix_PlayChannel(c, samples_[static_cast<std::size_t>(index)].handle, loops) < 0) {
    LogError("Unable to play sound %s: %s", name, kTextPlayFailed);
    DebugOut("  %s", Mix_GetError());
    return -1;
  }
  channel.serial = channel.serial + 1 < kSerialWrap ? channel.serial + 1 : 1;
  channel.priority = priority;
  channel.paused = false;
  channel.pan = 128;
  channel.order = ++playCount_;
  return MakeId(c, channel.serial);
}

int CMixerSoundManager::PlaySound(const char* name) { return PlayCached(name, 0, kEffectPriority); }

int CMixerSoundManager::PlayLooped(const char* name) { return PlayCached(name, -1, kLoopPriority); }

int CMixerSoundManager::PlayMusic(const char* name, int loops) {
  if (!initialised_ || name == nullptr) return -1;
  StopMusic();
  music_ = Mix_LoadMUS(ResolvePath(name).c_str());
  if (music_ == nullptr) {
    Log("PlayMusic: Error loading %s: %s\n", name, LoadFailureText(name));
    DebugOut("  %s", Mix_GetError());
    return -1;
  }
  // Looping is done inside the stream, so the piece starts again without a gap.
  if (Mix_PlayMusic(music_, loops > 1 ? -1 : 0) != 0) {
    Log("PlayMusic: Error loading %s: %s\n", name, kTextPlayFailed);
    DebugOut("  %s", Mix_GetError());
    StopMusic();
    return -1;
  }
  return 1;
}

void CMixerSoundManager::StopMusic() {
  if (music_ == nullptr) return;
  Mix_HaltMusic();
  Mix_FreeMusic(music_);
  music_ = nullptr;
}

bool CMixerSoundManager::MusicPlaying() const {
  return initialised_ && music_ != nullptr && Mix_PlayingMusic() != 0;
}

int CMixerSoundManager::ChannelOf(int id) const {
  if (!initialised_ || id < 0) return -1;
  const int c = id % kMixChannels;
  return channels_[c].serial == static_cast<unsigned>(id / kMixChannels) ? c : -1;
}

bool CMixerSoundManager::IsPlaying(int id) const {
  const int c = ChannelOf(id);
  return c >= 0 && Mix_Playing(c) != 0;
}

void CMixerSoundManager::StopSound(int id) {
  const int c = ChannelOf(id);
  if (c < 0) return;
  channels_[c].paused = false;
  Mix_HaltChannel(c);
}

void CMixerSoundManager::StopAllSounds() {
  if (!initialised_) return;
  for (Channel& channel : channels_) channel.paused = false;
  Mix_HaltChannel(-1);
}

void CMixerSoundManager::SetPaused(int id, bool paused) {
  const int c = ChannelOf(id);
  if (c < 0 || !Mix_Playing(c)) return;
  channels_[c].paused = paused;
  if (paused) {
    Mix_Pause(c);
  } else {
    Mix_Resume(c);
  }
}

void CMixerSoundManager::SetPriority(int id, int priority) {
  const int c = ChannelOf(id);
  if (c >= 0) channels_[c].priority = priority;
}

void CMixerSoundManager::ApplyVolume(int c) const { Mix_Volume(c, muted_ ? 0 : channels_[c].volume); }

void CMixerSoundManager::SetVolume(int id, float level) {
  const int c = ChannelOf(id);
  if (c < 0) return;
  channels_[c].volume = VolumeToMixer(level);
  ApplyVolume(c);
}

void CMixerSoundManager::SetPan(int id, float pan) {
  const int c = ChannelOf(id);
  if (c < 0) return;
  const PanGains gains = PanToGains(pan);
  channels_[c].pan = gains.pan;
  // Full gain on both sides removes the panning stage altogether.
  Mix_SetPanning(c, gains.left, gains.right);
}

void CMixerSoundManager::SetFrequencyFactor(int id, float factor) {
  (void)factor;
  // SDL_mixer plays a sample at the mixing rate only; changing a channel's pitch would mean
  // resampling outside the mixer. Nothing in the game asks for it, so the call is noted and ignored.
  if (ChannelOf(id) >= 0 && !frequencyWarned_) {
    frequencyWarned_ = true;
    Log("SetFrequencyFactor: the mixer cannot change a sound's frequency; it plays at its own rate.");
  }
}

void CMixerSoundManager::SetMuteAll(bool mute) {
  // Remembered while the device is closed too: the focus may go before sound starts again.
  muted_ = mute;
  if (!initialised_) return;
  for (int c = 0; c < kMixChannels; ++c) ApplyVolume(c);
  Mix_VolumeMusic(mute ? 0 : kMixMaxVolume);
}

void CMixerSoundManager::AddEffect(int id, int kind, float start, float target, float duration) {
  if (!IsPlaying(id)) {
    Log("SoundID %d isn't playing, won't add effect.", id);
    return;
  }
  std::vector<SoundEffect>& list = effects_[id];
  if (kind != 0) {
    LogError("Unknown sound effect: %d", kind);
    return;
  }
  SetVolume(id, start);
  SoundEffect effect;
  effect.target = target;
  effect.duration = duration > 0.0f ? static_cast<int>(std::min(duration, 86400000.0f)) : 0;
  effect.level = VolumeOf(id);
  effect.soundId = id;
  effect.startMs = clock_->TickCount();
  list.push_back(effect);
}

void CMixerSoundManager::ClearEffects(int id) { effects_.erase(id); }

// Runs the recorded volume changes: each moves its sound's volume from where it was to the
// target over its duration. Effects of sounds that ended are dropped with them.
void CMixerSoundManager::Update() {
  if (effects_.empty()) return;
  const std::uint32_t now = clock_->TickCount();
  for (auto it = effects_.begin(); it != effects_.end();) {
    if (!IsPlaying(it->first)) {
      it = effects_.erase(it);
      continue;
    }
    for (SoundEffect& effect : it->second) {
      effect.elapsed = static_cast<int>(std::min<std::uint32_t>(now - effect.startMs, INT_MAX));
      const float done = effect.elapsed >= effect.duration
                             ? 1.0f
                             : static_cast<float>(effect.elapsed) / static_cast<float>(effect.duration);
      SetVolume(it->first, effect.level + (effect.target - effect.level) * done);
      if (done >= 1.0f) effect.state = 1;
    }
    std::erase_if(it->second, [](const SoundEffect& effect) { return effect.state != 0; });
    it = it->second.empty() ? effects_.erase(it) : std::next(it);
  }
}

float CMixerSoundManager::VolumeOf(int id) const {
  const int c = ChannelOf(id);
  return c < 0 ? -1.0f : static_cast<float>(channels_[c].volume) / static_cast<float>(kMixMaxVolume);
}

int CMixerSoundManager::PanOf(int id) const {
  const int c = ChannelOf(id);
  return c < 0 ? -1 : channels_[c].pan;
}

int CMixerSoundManager::PriorityOf(int id) const {
  const int c = ChannelOf(id);
  return c < 0 ? -1 : channels_[c].priority;
}

std::size_t CMixerSoundManager::EffectsOf(int id) const {
  const auto it = effects_.find(id);
  return it == effects_.end() ? 0 : it->second.size();
}

}  // namespace spellcrypt
