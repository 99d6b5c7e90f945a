// The application object and the game-mode names.
#include "app/app.h"

#include "app/globals.h"
#include "audio/recording_sound_manager.h"
#include "base/assets.h"
#include "base/difficulty.h"
#include "base/log.h"
#include "base/text_util.h"
#include "base/version.h"
#include "platform/files.h"
#include "ui/menus/screen_tip.h"

namespace spellcrypt {

namespace {
// A plain pointer rather than a smart one: GetApp must still answer while the destructor runs,
// so that its save and log lines reach "log.txt".
CAppGlo* g_app = nullptr;
}  // namespace

CAppGlo* GetApp() { return g_app; }

CAppGlo* CreateApp(std::unique_ptr<ISoundManager> sound) {
  AdoptApp(new CAppGlo(std::move(sound)));
  return g_app;
}

void AdoptApp(CAppGlo* app) {
  if (g_app != app) delete g_app;
  g_app = app;
  // From now on the log keeps its lines in the file too (until the object is gone).
  SetLogFile(app != nullptr ? WritablePath(app->logPath).c_str() : nullptr);
}

void DestroyApp() {
  delete g_app;
  g_app = nullptr;
  SetLogFile(nullptr);
}

CAppGlo::CAppGlo(std::unique_ptr<ISoundManager> sound)
    : soundManager(sound ? std::move(sound) : std::make_unique<RecordingSoundManager>()),
      settings(std::make_unique<Settings>()) {
  ResetSettings(*settings);
  CopyText(versionText, sizeof versionText, kVersionText);
  CopyText(wordListPath, sizeof wordListPath, asset::kWordList);
}

CAppGlo::~CAppGlo() {
  SaveSettings();
  tileImages.reset();
  settings.reset();
}

void CAppGlo::HandleMessage(const Message& message) {
  if (message.type == MsgShowTip) ShowTip(message.value, -1);
}

bool CAppGlo::LoadSettings() {
  if (!settings) {
    LogError("Defaults not initted?!");
    return false;
  }
  const bool loaded = LoadSettingsFile(*settings, WritablePath("defaults.dat").c_str());
  LoadPreferencesFile(preferences, WritablePath(kPreferencesFile).c_str());
  return loaded;
}

bool CAppGlo::SavePreferences() {
  return SavePreferencesFile(preferences, WritablePath(kPreferencesFile).c_str());
}

bool CAppGlo::SaveSettings() {
  if (!settings) {
    LogError("Defaults not initted?!");
    return false;
  }
  return SaveSettingsFile(*settings, WritablePath("defaults.dat").c_str());
}

void CAppGlo::LoadScores() {
  scoreTable.Clear();
  if (const char* file = GetScoreFileName(settings ? settings->mode : -1))
    scoreTable.Load(WritablePath(file));
}

bool CAppGlo::SaveScores() {
  const char* file = GetScoreFileName(settings ? settings->mode : -1);
  return file != nullptr && scoreTable.Save(WritablePath(file), CRanking::kTablePlaces);
}
bool CAppGlo::DeleteScores() {
  bool erased = true;
  for (int mode = 0; mode < kDifficultyCount; ++mode) {
    const std::string file = WritablePath(ScoreFileName(mode));
    DeleteFile(file);
    if (FileExists(file)) {
      LogError("Couldn't delete %s.", file.c_str());
      erased = false;
    }
  }
  LoadScores();
  return erased;
}

const char* GetModeName() {
  CAppGlo* app = GetApp();
  return DifficultyName((app != nullptr && app->settings) ? app->settings->mode : -1);
}

const char* GetScoreFileName(int mode) {
  const char* name = ScoreFileName(mode);
  if (name == nullptr) LogError("Unhandled game mode");
  return name;
}

}  // namespace spellcrypt
