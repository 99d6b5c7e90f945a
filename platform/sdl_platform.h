// The SDL2 back end: the real window, its events, presentation and the desktop services.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace spellcrypt {

// The frame last shown, kept so that an unchanged frame is neither uploaded nor presented again.
class ShownFrame {
 public:
  // An unchanged frame is still presented this often, in case the window lost its contents
  // without telling.
  static constexpr std::uint64_t kRepeatMicros = 1000000;

  struct Change {
    bool show = false;  // present this frame
    int firstRow = 0;   // the rows to upload: those that changed, all after Invalidate
    int rows = 0;
  };

  // Compares the frame (pitch in pixels) with the one last shown and keeps it.
  Change Compare(const std::uint32_t* pixels, int width, int height, int pitch, std::uint64_t nowMicros);
  // The window needs the whole frame again (exposed, resized, full screen toggled, renderer reset).
  void Invalidate() { valid_ = false; }

 private:
  std::vector<std::uint32_t> kept_;
  int width_ = 0;
  int height_ = 0;
  bool valid_ = false;
  std::uint64_t lastShown_ = 0;
};

// How long the loop rests after each frame so that it runs at the display's refresh rate.
// A present that really waits for the refresh paces the loop itself; the clock then only caps it
// at one and a half times the rate. Where presents return at once (a vsync that is only claimed,
// as OpenGL drawn by the processor or the software renderer report it, or no vsync at all) and
// for frames not presented, the clock paces the loop at the rate.
class FramePacer {
 public:
  // claimedVsync: the renderer says its presents wait for the refresh. Until presents show
  // otherwise, they are believed.
  void Reset(int refreshHz, bool claimedVsync);
  // How long presenting one frame took: upload, drawing and the present call.
  void RecordPresent(std::uint64_t micros);
  bool PresentsWait() const { return presentsWait_; }
  std::uint64_t RefreshMicros() const { return refreshMicros_; }
  // Called after each frame, presented or not, at nowMicros on a steady clock: how long to rest so
  // that frames keep their cadence. A frame late by less than one interval rests nothing and the
  // cadence holds; a later one starts the cadence again from now.
  std::uint64_t RestAfterFrame(std::uint64_t nowMicros, bool presented);

 private:
  std::uint64_t refreshMicros_ = 1000000 / 60;
  bool claimedVsync_ = false;
  bool presentsWait_ = false;
  bool havePresent_ = false;
  std::uint64_t averagePresent_ = 0;
  bool haveFrame_ = false;
  std::uint64_t lastDue_ = 0;
};

class SdlPlatform : public IPlatform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  std::int64_t Counter() override;
  std::int64_t CounterFrequency() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t ms) override;
  LocalTime Now() override;
  std::int64_t UnixTime() override;
  bool CreateMainWindow(const char* title, int width, int height, bool fullscreen) override;
  void ShowMainWindow(bool show) override;
  bool HasWindow() const override;
  bool SetFullscreen(bool fullscreen) override;
  void CentreWindow() override;
  bool PollEvent(PlatformEvent& event) override;
  void PostQuit(int exitCode) override;
  void GetPointerPos(int& x, int& y) override;
  void SetPointerPos(int x, int y) override;
  void Present(const std::uint32_t* pixels, int width, int height, int pitch) override;
  bool ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) override;
  void DebugOut(const char* text) override;
  bool SetClipboardText(const char* text) override;
  OpenLinkResult OpenLink(const char* url) override;
  std::string ProgramDir() override;
  bool SetWorkingDir(const std::string& dir) override;

 private:
  void RestoreWindowedGeometry();

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace spellcrypt
