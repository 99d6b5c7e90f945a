// The application object: owns the long-lived resources (sound, fonts, the word list, the
// settings, the tile images) and reacts to the quick-tip message. One instance, through GetApp.
#pragma once

#include <cstdint>
#include <memory>

#include "app/play_clock.h"
#include "app/preferences.h"
#include "app/settings.h"
#include "audio/sound_manager.h"
#include "game/game.h"
#include "gfx/bitmap_font.h"
#include "gfx/dx_tile.h"
#include "scores/word_rank.h"
#include "ui/framework/message.h"
#include "ui/game/game_view.h"
#include "words/dictionary.h"
#include "words/letter_table.h"
#include "words/meanings.h"

namespace spellcrypt {

class CPlayer;
class CMonster;

// The colour keys of the two start-up pictures.
constexpr std::uint32_t kTileSheetKey = 0xFFFFFF;
constexpr std::uint32_t kFireballKey = 0xFF00FF;

// The words' meanings, beside the word list (read at the first hit, not at start-up).
constexpr const char* kMeaningsPath = "data\\meanings.dat";

// The letter-tile sheet and the spell picture, loaded at start-up.
struct TileImages {
  CDXTile tiles;     // "graphics\tiles_new.jpg", 12 frames, keyed white
  CDXTile fireball;  // "graphics\fireball.bmp", keyed magenta
};

class CAppGlo : public MessageReceiver {
 public:
  // Plays through the given sound manager; a recording one (silent) when none is given.
  explicit CAppGlo(std::unique_ptr<ISoundManager> sound = nullptr);
  // Saves the settings, then releases what the object owns in reverse order.
  ~CAppGlo() override;
  CAppGlo(const CAppGlo&) = delete;
  CAppGlo& operator=(const CAppGlo&) = delete;

  // Handles MsgShowTip only.
  void HandleMessage(const Message& message) override;

  // The settings record and, beside it, the preferences file.
  bool LoadSettings();
  bool SaveSettings();
  bool SavePreferences();
  // The local table of the current difficulty from its file (empty when there is none).
  void LoadScores();
  // Its best 12 into the file; false when the file could not be replaced (the old one stays).
  bool SaveScores();
  // Deletes the score files of all three difficulties, then loads the (now empty) table. False
  // when a file is still there afterwards.
  bool DeleteScores();

  std::unique_ptr<ISoundManager> soundManager;
  BitmapFont bigFont;
  BitmapFont smallFont;
  BitmapFont greyFont;
  Dictionary dictionary;
  CPlayer* player = nullptr;    // not owned
  CMonster* monster = nullptr;  // not owned
  bool fpsDisplay = false;
  // Started with -DEBUG: the frame-rate line, and the cheat keys of the game screen.
  bool debugMode = false;
  char logPath[8] = "log.txt";
  CWordRank scoreTable;  // the local high scores of the current difficulty
  std::unique_ptr<Settings> settings;
  PlayClock playClock;          // what the game's timers read: stands still while it is paused
  char versionText[5] = {};     // kVersionText
  char wordListPath[260] = {};  // asset::kWordList unless the command line names another
  std::unique_ptr<TileImages> tileImages;
  BitmapFont summaryFont;
  // The letter weights of the word list's table, as loaded at start-up; every dungeon's board and
  // every refresh tile starts again from them.
  LetterTable letterTable;
  // The rules of the game, and the screen side they report to (made at start-up with the player).
  GameView gameView;
  std::unique_ptr<Game> game;
  Preferences preferences;
  // What the words cast in a fight mean.
  MeaningsOnDemand meanings{kMeaningsPath};
};

// The application object; null before it is built and after shut-down.
CAppGlo* GetApp();
// Builds (or takes ownership of) and destroys the one application object.
CAppGlo* CreateApp(std::unique_ptr<ISoundManager> sound = nullptr);
void AdoptApp(CAppGlo* app);
void DestroyApp();

// "Kidmode", "Normal", "Wizard" (or "Unknown") for the current mode.
const char* GetModeName();
// "scores_easy.dat", "scores_normal.dat", "scores_hard.dat"; null (and an error line) otherwise.
const char* GetScoreFileName(int mode);

}  // namespace spellcrypt
