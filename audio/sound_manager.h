// The sound manager interface: effects cached by file name, one piece of music at a time.
// A played sound is identified by its sound id (the channel); -1 means not played.
#pragma once

#include <memory>

namespace spellcrypt {

class ISoundManager {
 public:
  virtual ~ISoundManager() = default;
  virtual int PlaySound(const char* name) = 0;
  virtual int PlaySoundAlt(const char* name) = 0;
  virtual int PlayMusic(const char* name, int loops) = 0;
  virtual bool Init() = 0;
  virtual void Update() = 0;
  virtual void SetMuteAll(bool mute) = 0;
  virtual void Shutdown() = 0;
  virtual void StopMusic() = 0;
  virtual int PlayLooped(const char* name) = 0;
  virtual void StopSound(int id) = 0;
  virtual bool IsInitialised() const = 0;
  virtual bool HasMusic() const = 0;
  virtual void SetFrequencyFactor(int /*id*/, float /*factor*/) {}
  virtual void SetVolume(int /*id*/, float /*level*/) {}
  virtual void AddEffect(int /*id*/, int /*kind*/, float /*start*/, float /*target*/, float /*duration*/) {}
  virtual void ClearEffects(int /*id*/) {}
  virtual void SetPan(int /*id*/, float /*pan*/) {}
  virtual bool IsPlaying(int /*id*/) const { return false; }
  virtual void SetPaused(int /*id*/, bool /*paused*/) {}
  virtual void SetPriority(int /*id*/, int /*priority*/) {}
};

// The game's sound manager.
std::unique_ptr<ISoundManager> CreateSoundManager();

}  // namespace spellcrypt
