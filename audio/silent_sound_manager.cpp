// Until the mixer back end lands, the game runs silently: Init fails and every play returns -1.
#include "app/log.h"
#include "audio/sound_manager.h"

namespace spellcrypt {

namespace {

class SilentSoundManager final : public ISoundManager {
 public:
  int PlaySound(const char*) override { return -1; }
  int PlaySoundAlt(const char*) override { return -1; }
  int PlayMusic(const char*, int) override { return -1; }
  bool Init() override {
    LogError("Sound is not built into this version yet; the game runs silently.");
    return false;
  }
  void Update() override {}
  void SetMuteAll(bool) override {}
  void Shutdown() override {}
  void StopMusic() override {}
  int PlayLooped(const char*) override { return -1; }
  void StopSound(int) override {}
  bool IsInitialised() const override { return false; }
  bool HasMusic() const override { return false; }
};

}  // namespace

std::unique_ptr<ISoundManager> CreateSoundManager() { return std::make_unique<SilentSoundManager>(); }

}  // namespace spellcrypt
