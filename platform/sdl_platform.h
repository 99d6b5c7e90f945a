// The SDL2 back end: the real window, its events, presentation and the desktop services.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace spellcrypt {

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
