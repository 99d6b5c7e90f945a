// The frame and the window: what runs every frame, how platform events become the game's input
// events, activation, the full-screen toggle and the surface-restoring step.
#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/notice_boxes.h"
#include "base/log.h"
#include "base/timing.h"
#include "gfx/dx_screen.h"
#include "platform/files.h"
#include "ui/framework/keyboard_focus.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_mouse.h"

namespace spellcrypt {

namespace {

void Broadcast(int type, int key = 0, int value = 0) {
  InputEvent event;
  event.key = static_cast<std::uint8_t>(key & 0xFF);
  event.value = value;
  GetGlobals().things->BroadcastInput(type, &event);
}

void ApplyDisplayMode() {
  CGlobals& g = GetGlobals();
  if (g.display == nullptr) return;
  if (g.colourDepth == 0) {
    g.display->ChangeVideoMode(g.windowWidth, g.windowHeight, 0);
    g.platform->CentreWindow();
  } else {
    g.display->ChangeVideoMode(g.width, g.height, g.colourDepth);
    g.platform->ShowMainWindow(true);
  }
}

}  // namespace

void RunFrame() {
  CGlobals& g = GetGlobals();
  CAppGlo* app = GetApp();
  UpdateFrameTiming();
  g.AdvanceGameTime();
  OpenQueuedNotices();
  if (app != nullptr) app->soundManager->Update();
  g.things->UpdateAll();
  g.UpdateScreens();
  g.DeliverDueMessages();
  g.things->Purge();
  g.things->SortByLayer();
  g.things->DrawAll();
  if (app != nullptr && app->fpsDisplay && g.display != nullptr) {
    char text[96];
    std::snprintf(text, sizeof text, "FPS: %.2f - Delta: %.2f", static_cast<double>(g.fps),
                  static_cast<double>(g.delta));
    g.display->GetBack()->TextXY(5, 5, 0xFF0000, text);
  }
}

void FlipScreen() {
  CGlobals& g = GetGlobals();
  if (g.display != nullptr && g.display->Flip(0, 0, 0)) RestoreSurfaces();
}

void RestoreSurfaces() {
  CGlobals& g = GetGlobals();
  CAppGlo* app = GetApp();
  if (!g.active || app == nullptr) return;
  Log("Restoring surfaces");
  app->settings->fullscreen = g.colourDepth != 0;
  LoadFonts();
  if (app->tileImages) {
    // The letter tiles are keyed white, as at start-up; keying them magenta here would change how
    // they draw after every mode switch.
    app->tileImages->tiles.SetColorKey(kTileSheetKey);
    app->tileImages->fireball.SetColorKey(kFireballKey);
  }
  g.things->RestoreAll();
  g.PostMessage(MsgSurfacesRestored, 0, nullptr, 0);
}

void SetActive(bool isActive) {
  CGlobals& g = GetGlobals();
  g.active = isActive;
  if (isActive) {
    ResetDelta();
  } else {
    g.showPaused = true;
  }
}

void ToggleFullscreen() {
  CGlobals& g = GetGlobals();
  Log("Toggling fullscreen.");
  g.colourDepth = g.colourDepth != 0 ? 0 : g.fullscreenDepth;
  ApplyDisplayMode();
}

void PostQuit(int exitCode) { GetGlobals().platform->PostQuit(exitCode); }

void HandleWindowEvent(const PlatformEvent& event) {
  CGlobals& g = GetGlobals();
  CAppGlo* app = GetApp();
  switch (event.type) {
    case PlatformEventType::Moved:
      ResetDelta();
      break;
    case PlatformEventType::KeyDown:
      Broadcast(InputKeyDown, event.key);
      HandleNavigationKey(event.key);
      if ((event.key == 'F') && event.ctrl && event.alt && g.active && app != nullptr) {
        Log("Toggle FPS display");
        app->fpsDisplay = !app->fpsDisplay;
      }
      break;
    case PlatformEventType::Char:
      Broadcast(InputChar, event.key);
      break;
    case PlatformEventType::ToggleFullscreen:
      ToggleFullscreen();
      RestoreSurfaces();
      break;
    case PlatformEventType::MouseMove:
      // In full screen the pointer thing polls the position itself.
      if (g.colourDepth == 0 && g.mouse != nullptr) g.mouse->SetPosition(event.x, event.y);
      break;
    case PlatformEventType::MouseDown:
      Broadcast(InputMouseDown);
      break;
    case PlatformEventType::MouseUp:
      Broadcast(InputMouseUp);
      break;
    case PlatformEventType::Wheel:
      Broadcast(InputWheel, 0, event.wheel);
      break;
    case PlatformEventType::Activated:
    case PlatformEventType::Deactivated: {
      const bool nowActive = event.type == PlatformEventType::Activated;
      if (app != nullptr) app->soundManager->SetMuteAll(!nowActive);
      SetActive(nowActive);
      if (g.display != nullptr && g.colourDepth != 0 && g.active) RestoreSurfaces();
      break;
    }
    case PlatformEventType::Quit:
      break;
  }
}

void OpenWebLink(const char* address) {
  CGlobals& g = GetGlobals();
  if (g.colourDepth != 0) {
    Log("Leaving full screen so that the browser can be seen.");
    ToggleFullscreen();
    RestoreSurfaces();
  }
  const std::string shortcutPath = WritablePath("temp.url");
  DeleteFile(shortcutPath);
  const std::string body = std::string("[InternetShortcut]\n") + "URL=http://" + address + "\n";
  // The desktop opens the address itself; the shortcut is only a convenience for the player.
  if (!WriteFileAtomically(shortcutPath, body.data(), body.size())) {
    Log("Could not write %s; opening the address directly.", shortcutPath.c_str());
  }
  const OpenLinkResult result = g.platform->OpenLink((std::string("http://") + address).c_str());
  if (result == OpenLinkResult::Ok) return;
  // No opener, or none that could start a browser: the address to type is all the player needs.
  char text[1024];
  std::snprintf(text, sizeof text, "No web browser could be started.\n\nPoint your browser to %s instead.\n",
                address);
  ShowMessageBox("Error", text, MessageBoxIcon::Error);
}

}  // namespace spellcrypt
