// The services the game needs from the operating system, behind one small interface.
// Two back ends implement it: SdlPlatform (the real window) and HeadlessPlatform (tests, CI).
// Nothing outside platform/ includes SDL or POSIX headers; the game talks only to this.
#pragma once

#include <cstdint>
#include <string>

namespace spellcrypt {

// Windows virtual-key codes, which the game's input events carry whatever the back end.
namespace vk {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Key0 = 48;  // '0'..'9' are 48..57
constexpr int KeyA = 65;  // 'A'..'Z' are 65..90
constexpr int F1 = 112;   // F1..F12 are 112..123
constexpr int Backquote = 192;
}  // namespace vk

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

enum class MessageBoxIcon { Information, Warning, Error };

// Result of asking the desktop to open a web address.
enum class OpenLinkResult { Ok, FileNotFound, NoAssociation, UnknownError };

// Local calendar time, broken down (for the log's time stamps and the summary's date).
struct LocalTime {
  int year = 2000;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 0;  // 0 = Sunday
  int hour = 0;     // 0..23
  int minute = 0;
  int second = 0;
};

class IPlatform {
 public:
  virtual ~IPlatform() = default;

  // --- Clocks ---
  // High-resolution counter and its frequency (counts per second); frequency 0 means none.
  virtual std::int64_t Counter() = 0;
  virtual std::int64_t CounterFrequency() = 0;
  // Millisecond tick count, 32-bit and wrapping.
  virtual std::uint32_t TickCount() = 0;
  // Sleep for ms milliseconds; 0 yields the processor.
  virtual void Sleep(std::uint32_t ms) = 0;
  virtual LocalTime Now() = 0;
  // Seconds since 1970 (seeds the Mersenne generator).
  virtual std::int64_t UnixTime() = 0;

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
  // A modal box; without a display the text goes to standard error and the call returns at once.
  virtual void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) = 0;
  // The debugger output: standard error.
  virtual void DebugOut(const char* text) = 0;
  virtual bool SetClipboardText(const char* text) = 0;
  virtual OpenLinkResult OpenLink(const char* url) = 0;

  // --- Files ---
  // The directory of the program file, ending with '/'.
  virtual std::string ProgramDir() = 0;
  virtual bool SetWorkingDir(const std::string& dir) = 0;
};

}  // namespace spellcrypt
