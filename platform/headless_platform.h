// The headless back end: a virtual clock the test advances, a scripted queue of input events,
// frames kept in memory, desktop services recorded instead of performed. The real start-up, main
// loop and shut-down run on it unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace spellcrypt {

class HeadlessPlatform : public IPlatform {
 public:
  HeadlessPlatform();
  ~HeadlessPlatform() override;

  // --- Scripting ---
  // Queues an event for delivery once the virtual clock reaches atMs (events keep their order).
  void QueueEvent(std::uint32_t atMs, const PlatformEvent& event);
  // A key press: KeyDown with the virtual-key code, then Char when the key types a character.
  void QueueKey(std::uint32_t atMs, int virtualKey, int character = 0, bool ctrl = false, bool alt = false);
  void QueueChar(std::uint32_t atMs, int character);
  void QueueMouseMove(std::uint32_t atMs, int x, int y);
  // Move, press and release (the release 50 ms later).
  void QueueClick(std::uint32_t atMs, int x, int y);
  void QueueQuit(std::uint32_t atMs, int exitCode = 0);
  // Scripted events not yet delivered (the loop takes one per pass).
  std::size_t EventsPending() const { return script_.size() - nextScripted_; }
  // A quit is posted automatically once this many frames were presented (a safety net; 0 = never).
  void SetFrameLimit(int frames) { frameLimit_ = frames; }

  // --- Virtual clock ---
  std::uint32_t VirtualMs() const { return static_cast<std::uint32_t>(micros_ / 1000); }
  void Advance(std::uint32_t ms) { micros_ += static_cast<std::uint64_t>(ms) * 1000; }
  // How far one presented frame moves the clock (default 15 ms; the yield after it adds 1 ms).
  void SetFrameMs(std::uint32_t ms) { frameMs_ = ms; }
  void SetLocalTime(const LocalTime& time, std::int64_t unixTime) {
    localTime_ = time;
    unixTime_ = unixTime;
  }
  void SetProgramDir(const std::string& dir);

  // --- What the game did ---
  // Called after every presented frame, with the frame number (from 1).
  std::function<void(int)> onPresent;
  const std::vector<std::uint32_t>& LastFrame() const { return frame_; }
  int FrameWidth() const { return frameWidth_; }
  int FrameHeight() const { return frameHeight_; }
  int FramesPresented() const { return framesPresented_; }
  bool Fullscreen() const { return fullscreen_; }
  bool WindowShown() const { return windowShown_; }
  // Lines sent to the debugger output (they are not echoed unless SPELLCRYPT_ECHO is set).
  std::vector<std::string> debugLines;
  std::vector<std::string> messageBoxes;  // "caption|text"
  std::string clipboard;
  std::vector<std::string> openedLinks;
  OpenLinkResult openLinkResult = OpenLinkResult::Ok;
  bool failWindowCreation = false;
  int pointerX = 0;
  int pointerY = 0;

  // --- IPlatform ---
  std::int64_t Counter() override { return static_cast<std::int64_t>(micros_); }
  std::int64_t CounterFrequency() override { return 1000000; }
  std::uint32_t TickCount() override { return VirtualMs(); }
  void Sleep(std::uint32_t ms) override;
  LocalTime Now() override { return localTime_; }
  std::int64_t UnixTime() override { return unixTime_; }
  bool CreateMainWindow(const char* title, int width, int height, bool fullscreen) override;
  void ShowMainWindow(bool show) override { windowShown_ = show; }
  bool HasWindow() const override { return hasWindow_; }
  bool SetFullscreen(bool fullscreen) override {
    fullscreen_ = fullscreen;
    return true;
  }
  void CentreWindow() override {}
  bool PollEvent(PlatformEvent& event) override;
  void PostQuit(int exitCode) override;
  void GetPointerPos(int& x, int& y) override {
    x = pointerX;
    y = pointerY;
  }
  void SetPointerPos(int x, int y) override {
    pointerX = x;
    pointerY = y;
  }
  void Present(const std::uint32_t* pixels, int width, int height, int pitch) override;
  bool ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) override;
  void DebugOut(const char* text) override;
  bool SetClipboardText(const char* text) override {
    clipboard = text;
    return true;
  }
  OpenLinkResult OpenLink(const char* url) override {
    openedLinks.emplace_back(url);
    return openLinkResult;
  }
  std::string ProgramDir() override { return programDir_; }
  bool SetWorkingDir(const std::string& dir) override;

 private:
  struct Scheduled {
    std::uint32_t atMs;
    PlatformEvent event;
  };
  std::uint64_t micros_ = 1000000;  // the clock starts at one second, never at zero
  std::uint32_t frameMs_ = 15;
  std::vector<Scheduled> script_;
  std::size_t nextScripted_ = 0;
  std::vector<PlatformEvent> posted_;
  LocalTime localTime_{2026, 12, 7, 1, 21, 5, 0};
  std::int64_t unixTime_ = 1796677500;
  std::string programDir_;
  std::vector<std::uint32_t> frame_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  int framesPresented_ = 0;
  int frameLimit_ = 0;
  bool hasWindow_ = false;
  bool windowShown_ = false;
  bool fullscreen_ = false;
  bool echo_ = false;
};

}  // namespace spellcrypt
