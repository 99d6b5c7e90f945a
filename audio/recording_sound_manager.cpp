// The recording sound manager.
#include "audio/recording_sound_manager.h"

#include <algorithm>

namespace spellcrypt {

bool RecordingSoundManager::Init() {
  initialised_ = true;
  return true;
}

void RecordingSoundManager::Shutdown() {
  if (!initialised_) return;
  StopMusic();
  StopAllSounds();
  initialised_ = false;
}

int RecordingSoundManager::Play(Kind kind, const char* name) {
  // Like the real manager, nothing plays before the sound system is started.
  if (!initialised_ || name == nullptr) return -1;
  const int id = nextId_++;
  requests_.push_back({kind, name, id});
  if (kind == Kind::Looped) looping_.push_back(id);
  return id;
}

int RecordingSoundManager::PlayMusic(const char* name, int) {
  if (!initialised_ || name == nullptr) return -1;
  music_ = name;
  const int id = nextId_++;
  requests_.push_back({Kind::Music, name, id});
  return id;
}

void RecordingSoundManager::StopMusic() {
  if (music_.empty()) return;
  music_.clear();
  requests_.push_back({Kind::StopMusic, "", -1});
}

void RecordingSoundManager::StopSound(int id) {
  if (id < 0) return;
  std::erase(looping_, id);
  requests_.push_back({Kind::StopSound, "", id});
}

bool RecordingSoundManager::IsPlaying(int id) const {
  return std::find(looping_.begin(), looping_.end(), id) != looping_.end();
}

void RecordingSoundManager::StopAllSounds() {
  looping_.clear();
  requests_.push_back({Kind::StopAll, "", -1});
}

std::vector<std::string> RecordingSoundManager::Effects() const {
  std::vector<std::string> names;
  for (const Request& r : requests_) {
    if (r.kind == Kind::Effect || r.kind == Kind::Looped) names.push_back(r.name);
  }
  return names;
}

std::vector<std::string> RecordingSoundManager::MusicPlayed() const {
  std::vector<std::string> names;
  for (const Request& r : requests_) {
    if (r.kind == Kind::Music) names.push_back(r.name);
  }
  return names;
}

}  // namespace spellcrypt
