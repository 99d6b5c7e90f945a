// The sound entry points over the application's sound manager.
#include "ui/framework/sound.h"

#include "app/app.h"
#include "app/globals.h"
#include "audio/sound_manager.h"
#include "base/assets.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {

namespace {

// The manager, when the application and its settings exist.
ISoundManager* Manager(const Settings*& settings) {
  CAppGlo* app = GetApp();
  if (app == nullptr || app->settings == nullptr || app->soundManager == nullptr) return nullptr;
  settings = app->settings.get();
  return app->soundManager.get();
}

}  // namespace

int PlayEffect(const char* name) {
  const Settings* settings = nullptr;
  ISoundManager* sound = Manager(settings);
  if (sound == nullptr || settings->soundOff) return -1;
  return sound->PlaySound(name);
}

int PlayLoopedEffect(const char* name) {
  const Settings* settings = nullptr;
  ISoundManager* sound = Manager(settings);
  if (sound == nullptr || settings->soundOff) return -1;
  return sound->PlayLooped(name);
}

int PlayMusicFile(const char* name) {
  const Settings* settings = nullptr;
  ISoundManager* sound = Manager(settings);
  if (sound == nullptr || settings->musicOff) return -1;
  return sound->PlayMusic(name, 999);
}

int PlayMusicOnce(const char* name) {
  const Settings* settings = nullptr;
  ISoundManager* sound = Manager(settings);
  if (sound == nullptr || settings->musicOff) return -1;
  return sound->PlayMusic(name, 1);
}

void ApplySoundSettings() {
  const Settings* settings = nullptr;
  ISoundManager* sound = Manager(settings);
  if (sound == nullptr) return;
  if (settings->musicOff) sound->StopMusic();
  // Switching effects off silences the ones still sounding too (a looping warning would go on).
  if (settings->soundOff) sound->StopAllSounds();
  if (settings->soundOff && settings->musicOff) {
    sound->Shutdown();
    return;
  }
  if (!sound->IsInitialised()) sound->Init();
  if (settings->musicOff) return;
  // Music comes back by itself on the menus only; in a dungeon the next encounter brings its own.
  const bool inDungeon =
      GlobalsExist() && GetGlobals().things != nullptr && GetGlobals().things->FindByName("board") != nullptr;
  if (!sound->HasMusic() && !inDungeon) sound->PlayMusic(asset::kTitleMusic, 999);
}

}  // namespace spellcrypt
