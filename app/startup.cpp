// Start-up and shut-down: the entry point's body, window and display creation, the resources the
// application object loads, and the orderly teardown.
#include <new>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/notice_boxes.h"
#include "base/assets.h"
#include "base/log.h"
#include "base/timing.h"
#include "gfx/dx_screen.h"
#include "platform/files.h"
#include "scores/web_download.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_mouse.h"
#include "ui/game/monster_view.h"
#include "ui/game/player_view.h"
#include "ui/menus/screen_title.h"
#include "ui/widgets/thing_message.h"

namespace spellcrypt {

namespace {

constexpr const char* kWindowTitle = "Spellcrypt Gold Edition";

struct FontFile {
  BitmapFont CAppGlo::*font;
  const char* path;
  int cell;
};
constexpr FontFile kFonts[] = {
    {&CAppGlo::bigFont, "graphics\\font\\font3.bmp", 32},
    {&CAppGlo::smallFont, "graphics\\font\\font_small.bmp", 16},
    {&CAppGlo::greyFont, "graphics\\font\\font_grey2.bmp", 32},
    {&CAppGlo::summaryFont, "graphics\\font\\font_summary.bmp", 32},
};

bool CreateMainWindow() {
  CGlobals& g = GetGlobals();
  if (!g.platform->CreateMainWindow(kWindowTitle, g.width, g.height, g.colourDepth != 0)) return false;
  // The client area is the frame; the window system keeps its decorations to itself.
  g.windowWidth = g.width;
  g.windowHeight = g.height;
  return true;
}

void InitDisplay() {
  CGlobals& g = GetGlobals();
  g.display = new (std::nothrow) CDXScreen(*g.platform);
  if (g.display == nullptr) {
    LogError("Unable to init screen");
    return;
  }
  if (g.colourDepth != 0) {
    const int result = g.display->CreateFullScreen(g.width, g.height, g.colourDepth);
    if (result >= 0) {
      g.platform->ShowMainWindow(true);
      return;
    }
    LogError("CreateFullScreen failed with error %d.", result);
    g.colourDepth = 0;
  }
  const int result = g.display->CreateWindowed(g.width, g.height);
  if (result < 0) LogError("CreateWindow failed with error %d.", result);
}

// Loads one of the start-up pictures, retrying in system memory as the video-memory load fails.
// The first error line differs between the two pictures ("%s. (%d)" and "%s (%d)").
void LoadStartupImage(CDXTile& image, const char* path, int frames, std::uint32_t key,
                      const char* separator) {
  CDXScreen* display = GetGlobals().display;
  int result = image.Create(display, path, 0, 0, frames, kPlacementVideo);
  if (result < 1) {
    LogError("Error loading %s%s(%d), attempting system memory.", path, separator, result);
    result = image.Create(display, path, 0, 0, frames, kPlacementSystem);
    if (result < 1) {
      LogError("No good, failed again.  File is missing or graphics card driver problem?");
      return;
    }
  }
  image.SetColorKey(key);
}

void LoadAppGraphics() {
  CAppGlo& app = *GetApp();
  app.tileImages = std::make_unique<TileImages>();
  if (!(app.settings->soundOff && app.settings->musicOff)) app.soundManager->Init();
  LoadFonts();
  LoadStartupImage(app.tileImages->fireball, asset::kFireball, 11, kFireballKey, ". ");
  LoadStartupImage(app.tileImages->tiles, asset::kTileSheet, 12, kTileSheetKey, " ");
}

bool InitGame() {
  CGlobals& g = GetGlobals();
  CAppGlo& app = *GetApp();
  g.extraReceiver = &app;
  InitDisplay();
  LoadAppGraphics();
  g.mouse = new CThingMouse();
  g.mouse->hidden = true;  // the user sees the system's own cursor
  g.things->Add(g.mouse);

  if (!app.soundManager->HasMusic()) PlayMusicFile(asset::kTitleMusic);
  // The title picture shows while the word list loads.
  auto* preload = new CThingSprite();
  preload->SetName("preload1");
  preload->layer = 0;
  preload->LoadImage(asset::kTitlePicture, true, kMagenta);
  g.things->Add(preload);
  app.game = std::make_unique<Game>(
      GameServices{app.playClock, g.mersenne, g.simpleRandom, app.dictionary, app.letterTable, app.gameView});
  app.game->allowCheats = app.debugMode;
  g.things->Add(new CPlayer());
  g.things->Add(new CMonster());
  app.LoadScores();

  RunFrame();
  if (g.display != nullptr) app.greyFont.DrawAt(280, 250, "Loading...", g.display->GetBack());
  FlipScreen();

  if (!app.dictionary.Load(app.wordListPath)) {
    ReportError("Problem!", "Unable to locate %s!", app.wordListPath);
    return false;
  }
  app.letterTable.LoadFile(LetterTable::PathFor(app.wordListPath));
  ResetDelta();
  g.things->KillByName("preload1");
  g.inputLevel = 0;
  GoToTitle();
  g.things->Add(new CThingMessage());
  return true;
}

void ShutdownGame() {
  CGlobals& g = GetGlobals();
  if (CAppGlo* app = GetApp()) {
    app->tileImages.reset();
    app->soundManager->Shutdown();
  }
  g.platform->ShowMainWindow(false);
  DestroyApp();
}

}  // namespace

bool MainLoopPass(int& exitCode, bool& frameDone) {
  CGlobals& g = GetGlobals();
  PlatformEvent event;
  frameDone = false;
  if (g.platform->PollEvent(event)) {
    if (event.type == PlatformEventType::Quit) {
      Log("Shuttong down");
      exitCode = event.exitCode;
      return false;
    }
    HandleWindowEvent(event);
  } else if (g.active) {
    RunFrame();
    FlipScreen();
    g.platform->Sleep(0);
    frameDone = true;
  } else {
    if (g.display != nullptr && g.colourDepth == 0 && g.showPaused) {
      g.display->GetBack()->Fill(0);
      GetApp()->bigFont.DrawAt(230, 230, "Game paused.", g.display->GetBack());
      FlipScreen();
    }
    g.platform->Sleep(100);
    frameDone = true;
  }
  return true;
}

void LoadFonts() {
  CAppGlo& app = *GetApp();
  for (const FontFile& f : kFonts) {
    if ((app.*f.font).Load(GetGlobals().display, f.path, f.cell, f.cell, 32, 128, kPlacementAny) != 0) {
      LogError("Error loading font %s.", f.path);
    }
  }
}

const std::string& GetModuleDir() {
  CGlobals& g = GetGlobals();
  if (g.moduleDir.empty()) g.moduleDir = g.platform->ProgramDir();
  return g.moduleDir;
}

bool StartGame(IPlatform& platform, const std::string& commandLine, const SoundManagerFactory& makeSound) {
  CreateGlobals(platform);
  CAppGlo* app = new (std::nothrow) CAppGlo(makeSound ? makeSound() : nullptr);
  if (app == nullptr) {
    ReportError("Error", "Serious error trying to start game");
    DestroyGlobals();
    return false;
  }
  AdoptApp(app);
  platform.SetWorkingDir(GetModuleDir());
  // An installed game cannot write beside itself: its files go to the user's data folder.
  const bool installed = !IsWritableFolder(GetModuleDir());
  SetWriteFolder(installed ? UserDataFolder() : std::string());
  SetLogFile(WritablePath(app->logPath).c_str());
  DeleteFile(WritablePath(app->logPath));
  if (installed)
    Log("The program's folder cannot be written: its files are kept in %s", WriteFolder().c_str());
  app->LoadSettings();
  ParseCommandLine(commandLine.c_str());
  LoadConfig(true);
  Log("Game started on %s.", GetDateString().c_str());

  CGlobals& g = GetGlobals();
  if (app->settings->fullscreen) {
    g.colourDepth = 32;
    g.fullscreenDepth = 32;
  }
  if (!CreateMainWindow()) {
    ShowMessageBox("Problems, man!", "Unknown error initializing the game.", MessageBoxIcon::Warning);
    ShutdownGame();
    DestroyGlobals();
    return false;
  }
  if (!InitGame()) {
    PostQuit(0);
    EndGame();
    return false;
  }
  RouteBoxesToNotices(true);
  return true;
}

void EndGame() {
  RouteBoxesToNotices(false);
  ShutdownGame();
  DestroyGlobals();
  // A transfer cancelled on the way out ends within moments; the program does not leave under it.
  if (!WaitForWebTransfers(500)) Log("A score transfer was still ending as the program left.");
}

int RunGame(IPlatform& platform, const std::string& commandLine, const SoundManagerFactory& makeSound) {
  if (!StartGame(platform, commandLine, makeSound)) return 0;
  int exitCode = 0;
  bool frameDone = false;
  while (MainLoopPass(exitCode, frameDone)) {
  }
  EndGame();
  return exitCode;
}

}  // namespace spellcrypt
