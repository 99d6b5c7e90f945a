// The sound entry points over the application's sound manager.
#include "audio/sound.h"

#include "app/app.h"
#include "audio/sound_manager.h"

namespace spellcrypt {

int PlayEffect(const char* name) {
  CAppGlo* app = GetApp();
  if (app == nullptr || app->settings == nullptr || app->soundManager == nullptr) return -1;
  if (app->settings->soundOff) return -1;
  return app->soundManager->PlaySound(name);
}

int PlayMusicFile(const char* name) {
  CAppGlo* app = GetApp();
  if (app == nullptr || app->settings == nullptr || app->soundManager == nullptr) return -1;
  if (app->settings->musicOff) return -1;
  return app->soundManager->PlayMusic(name, 999);
}

void ApplySoundSettings() {
  // Comes with the sound manager and the options page.
}

}  // namespace spellcrypt
