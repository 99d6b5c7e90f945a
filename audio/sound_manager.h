// The sound manager interface: effects cached by file name, one piece of music at a time.
// A played sound is identified by its sound id; -1 means not played.
#pragma once

#include <functional>
#include <memory>

namespace spellcrypt {

class ISoundManager {
 public:
  virtual ~ISoundManager() = default;
  // Plays an effect once (loading and caching it on first use); the sound id or -1.
  virtual int PlaySound(const char* name) = 0;
  virtual int PlaySoundAlt(const char* name) = 0;
  // Stops the current music and streams this piece; loops above 1 repeat it until stopped.
  virtual int PlayMusic(const char* name, int loops) = 0;
  // Shuts down first, so it may be called again at any time.
  virtual bool Init() = 0;
  virtual void Update() = 0;
  // Silences (or restores) every channel and the music at once, keeping their volumes.
  virtual void SetMuteAll(bool mute) = 0;
  virtual void Shutdown() = 0;
  virtual void StopMusic() = 0;
  // Plays an effect that repeats until stopped, at the priority that keeps its channel.
  virtual int PlayLooped(const char* name) = 0;
  virtual void StopSound(int id) = 0;
  virtual bool IsInitialised() const = 0;
  // A piece of music was loaded and not stopped since (it may have finished playing).
  virtual bool HasMusic() const = 0;
  virtual void SetFrequencyFactor(int /*id*/, float /*factor*/) {}
  // Level 0..1.
  virtual void SetVolume(int /*id*/, float /*level*/) {}
  // Kind 0, the only kind, moves the volume from start to target over duration milliseconds.
  virtual void AddEffect(int /*id*/, int /*kind*/, float /*start*/, float /*target*/, float /*duration*/) {}
  virtual void ClearEffects(int /*id*/) {}
  // -1 left, 0 centre, 1 right.
  virtual void SetPan(int /*id*/, float /*pan*/) {}
  virtual bool IsPlaying(int /*id*/) const { return false; }
  // A paused sound keeps its channel: no other sound is given it meanwhile.
  virtual void SetPaused(int /*id*/, bool /*paused*/) {}
  // When every channel is busy a new effect (priority 0) may take only a channel of priority 0.
  virtual void SetPriority(int /*id*/, int /*priority*/) {}
  // Stops every effect, looped ones included; the music plays on.
  virtual void StopAllSounds() {}
};

// Priorities of a played effect and of a looped one.
constexpr int kEffectPriority = 0;
constexpr int kLoopPriority = 100;

// Makes the sound manager the program plays through (SDL_mixer in the game; the recording
// manager where none is given).
using SoundManagerFactory = std::function<std::unique_ptr<ISoundManager>()>;

}  // namespace spellcrypt
