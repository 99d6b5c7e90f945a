// Start-up, the main loop and shut-down, over whichever platform back end the entry point gives.
#pragma once

#include <string>

#include "audio/sound_manager.h"
#include "platform/platform.h"

namespace spellcrypt {

// The program: start-up, the main loop until the quit request, shut-down. Returns the exit code.
// Builds and destroys the global state and application objects itself. The sound plays through
// what makeSound makes (the recording manager, which is silent, when it is empty).
int RunGame(IPlatform& platform, const std::string& commandLine, const SoundManagerFactory& makeSound = {});

// RunGame in its three pieces, for a host that drives the loop itself (a browser runs passes on
// its animation frames). StartGame builds everything up to the title; false when the program
// cannot run (it has then ended already). MainLoopPass takes one event, or else runs and shows
// one frame (frameDone), or the paused notice while the window is in the background (frameDone);
// false once the quit request is reached, with its exit code. EndGame writes the settings and
// takes everything down.
bool StartGame(IPlatform& platform, const std::string& commandLine,
               const SoundManagerFactory& makeSound = {});
bool MainLoopPass(int& exitCode, bool& frameDone);
void EndGame();

// Reads the command-line switches (and a word-list path) into the application object.
void ParseCommandLine(const char* text);

// One frame: timing, sound, things, screens, messages, purge, sort, draw, debug overlay.
void RunFrame();
// Presents the back surface; restores surfaces when the display lost them.
void FlipScreen();
void RestoreSurfaces();
void SetActive(bool isActive);
// Alt+Enter: switches between windowed and full screen.
void ToggleFullscreen();
// Turns one platform event into the game's input events and window reactions.
void HandleWindowEvent(const PlatformEvent& event);
// Posts the quit request; the main loop ends when it reaches it.
void PostQuit(int exitCode);
// Opens a web page in the user's browser (leaving full screen first); writes the address into an
// Internet-shortcut file "temp.url" too. When no browser starts, a box gives the address to type.
void OpenWebLink(const char* address);
// Loads (again) the four bitmap fonts of the application object.
void LoadFonts();
// The program directory, ending with '/'; computed once.
const std::string& GetModuleDir();

}  // namespace spellcrypt
