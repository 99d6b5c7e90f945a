// A sound manager that plays nothing and remembers what it was asked to play, in order: the
// headless game's sound, and how tests hear it ("casting this word played spell1.wav, then the
// monster's pain sound").
#pragma once

#include <string>
#include <vector>

#include "audio/sound_manager.h"

namespace spellcrypt {

class RecordingSoundManager final : public ISoundManager {
 public:
  enum class Kind { Effect, Looped, Music, StopSound, StopMusic, StopAll };
  struct Request {
    Kind kind;
    std::string name;  // the file as the caller named it; empty for the stops
    int id;            // the sound id handed out (or stopped)
  };

  int PlaySound(const char* name) override { return Play(Kind::Effect, name); }
  int PlaySoundAlt(const char* name) override { return Play(Kind::Effect, name); }
  int PlayMusic(const char* name, int loops) override;
  bool Init() override;
  void Update() override {}
  void SetMuteAll(bool mute) override { muted_ = mute; }
  void Shutdown() override;
  void StopMusic() override;
  int PlayLooped(const char* name) override { return Play(Kind::Looped, name); }
  void StopSound(int id) override;
  bool IsInitialised() const override { return initialised_; }
  bool HasMusic() const override { return !music_.empty(); }
  // A looped sound plays until stopped; a single effect counts as over at once.
  bool IsPlaying(int id) const override;
  void StopAllSounds() override;

  const std::vector<Request>& Requests() const { return requests_; }
  // The effects (single and looped) in the order they were played.
  std::vector<std::string> Effects() const;
  // The music pieces in the order they were started.
  std::vector<std::string> MusicPlayed() const;
  const std::string& CurrentMusic() const { return music_; }
  bool Muted() const { return muted_; }
  void Forget() { requests_.clear(); }

 private:
  int Play(Kind kind, const char* name);

  std::vector<Request> requests_;
  std::vector<int> looping_;
  std::string music_;
  int nextId_ = 1;
  bool initialised_ = false;
  bool muted_ = false;
};

}  // namespace spellcrypt
