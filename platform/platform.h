// The services the game needs from the operating system, behind one small interface.
// Two back ends implement it: SdlPlatform (the real window) and HeadlessPlatform (tests, CI).
// Nothing outside platform/ includes SDL or POSIX headers; the game talks only to this.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/clock.h"
#include "base/keys.h"
#include "base/log.h"

namespace spellcrypt {

enum class PlatformEventType {
  Quit,              // window closed, SIGINT/SIGTERM or PostQuit; exitCode says with what
  Activated,         // the window gained the focus
  Deactivated,       // the window lost the focus
  Moved,             // the window was moved
  KeyDown,           // key = virtual-key code; ctrl/alt = modifier state
  Char,              // key = the character a Windows character message would carry
  ToggleFullscreen,  // Alt+Enter; never reported as a KeyDown
  MouseMove,         // x, y in frame coordinates (0..639, 0..479)
  MouseDown,         // left button pressed
  MouseUp,           // left button released
  Wheel,             // wheel = notches, +1 for one notch toward the user
};

struct PlatformEvent {
  PlatformEventType type = PlatformEventType::Quit;
  int key = 0;
  bool ctrl = false;
  bool alt = false;
  int x = 0;
  int y = 0;
  int wheel = 0;
  int exitCode = 0;
};

// Result of asking the desktop to open a web address.
enum class OpenLinkResult { Ok, FileNotFound, NoAssociation, UnknownError };

// The clocks (IClock) and what the log needs (ILogSink: debugger output, local time, message
// boxes) come with every platform.
class IPlatform : public IClock, public ILogSink {
 public:
  ~IPlatform() override = default;

  // --- Window and events ---
  // Creates the one game window with a client area of width x height frame pixels, centred.
  virtual bool CreateMainWindow(const char* title, int width, int height, bool fullscreen) = 0;
  virtual void ShowMainWindow(bool show) = 0;
  virtual bool HasWindow() const = 0;
  // Desktop full screen on or off; the frame stays 640x480, letterboxed.
  virtual bool SetFullscreen(bool fullscreen) = 0;
  virtual void CentreWindow() = 0;
  // Next queued event without waiting; false when the queue is empty.
  virtual bool PollEvent(PlatformEvent& event) = 0;
  // Queues a quit request; PollEvent reports it.
  virtual void PostQuit(int exitCode) = 0;
  // Pointer position in frame coordinates, and moving the pointer there.
  virtual void GetPointerPos(int& x, int& y) = 0;
  virtual void SetPointerPos(int x, int y) = 0;
  // Presents one frame: pixels are 0x00RRGGBB, pitch in pixels.
  virtual void Present(const std::uint32_t* pixels, int width, int height, int pitch) = 0;

  // --- Desktop services ---
  // ShowMessageBox (false without a display: the log keeps the text) and DebugOut (standard
  // error) come from ILogSink; Now and the clocks from IClock.
  virtual bool SetClipboardText(const char* text) = 0;
  // Copies text to the clipboard and tells `done` whether it got there: at once where the
  // clipboard answers at once, later where it answers later (a browser's). `done` is not called
  // when the platform goes away first.
  virtual void CopyText(const char* text, std::function<void(bool copied)> done) {
    done(SetClipboardText(text));
  }
  virtual OpenLinkResult OpenLink(const char* url) = 0;

  // --- Files ---
  // The directory of the program file, ending with '/'.
  virtual std::string ProgramDir() = 0;
  virtual bool SetWorkingDir(const std::string& dir) = 0;
};

}  // namespace spellcrypt
