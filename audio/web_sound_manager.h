// The browser edition's sound manager over Web Audio: effects read from the preloaded data and
// decoded once by the browser (WAV and Ogg Vorbis), kept, and played on their own sources; one
// piece of music decoded whole and looped by the audio clock, so without a gap. Browsers start
// sound only after the first click or key press: whatever was started before (the title music)
// begins then, from its start.
#pragma once

#include "audio/sound_manager.h"

namespace spellcrypt {

class WebSoundManager final : public ISoundManager {
 public:
  ~WebSoundManager() override;
  int PlaySound(const char* name) override { return Play(name, false); }
  int PlaySoundAlt(const char* name) override { return Play(name, false); }
  int PlayMusic(const char* name, int loops) override;
  bool Init() override;
  void Update() override {}
  void SetMuteAll(bool mute) override;
  void Shutdown() override;
  void StopMusic() override;
  int PlayLooped(const char* name) override { return Play(name, true); }
  void StopSound(int id) override;
  bool IsInitialised() const override { return initialised_; }
  bool HasMusic() const override { return hasMusic_; }
  void StopAllSounds() override;

 private:
  int Play(const char* name, bool looped);

  bool initialised_ = false;
  bool hasMusic_ = false;
  int nextId_ = 1;
};

}  // namespace spellcrypt
