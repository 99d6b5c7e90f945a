// The browser back end: the 640x480 frame on a page's canvas (scaled by the page), keyboard,
// mouse and touch from the page's events, the focus and the tab's visibility, the wall clock, and
// the page's services (a new tab for links, the clipboard, an in-page dialog for boxes).
// Built only by the web edition (Emscripten).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace spellcrypt {

class WebPlatform : public IPlatform {
 public:
  // `canvas` is the CSS selector of the page's canvas ("#canvas").
  explicit WebPlatform(std::string canvas);
  ~WebPlatform() override;

  // Queues a page event (the event callbacks of the page call it).
  void Queue(const PlatformEvent& event);
  // Turns a point in the canvas's CSS pixels into frame pixels.
  void ToFrame(double cssX, double cssY, int& x, int& y) const;
  const std::string& Canvas() const { return canvas_; }
  // Frames put on the canvas so far.
  int Presents() const { return presents_; }
  // How long the last frame took to hand to the canvas (its bytes made over, and put), in ms.
  double LastPresentMs() const { return lastPresentMs_; }
  // Called at once when the tab is hidden or the page left (false) or the tab shown again (true),
  // instead of queuing a focus event: a hidden tab runs no frames, so what must happen then cannot
  // wait for one. It may be told it is hidden twice.
  std::function<void(bool visible)> onVisibility;
  // Where a clipboard copy answered (the page calls it): `id` is the copy's number.
  void FinishCopy(int id, bool copied);

  // --- IClock ---
  std::int64_t Counter() override;
  std::int64_t CounterFrequency() override { return 1000000; }
  std::uint32_t TickCount() override;
  // The browser cannot sleep: its animation frames pace the loop.
  void Sleep(std::uint32_t) override {}
  LocalTime Now() override;
  std::int64_t UnixTime() override;

  // --- ILogSink ---
  void DebugOut(const char* text) override;
  bool ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) override;

  // --- IPlatform ---
  bool CreateMainWindow(const char* title, int width, int height, bool fullscreen) override;
  void ShowMainWindow(bool) override {}
  bool HasWindow() const override { return created_; }
  bool SetFullscreen(bool fullscreen) override;
  void CentreWindow() override {}
  bool PollEvent(PlatformEvent& event) override;
  void PostQuit(int exitCode) override;
  void GetPointerPos(int& x, int& y) override {
    x = pointerX_;
    y = pointerY_;
  }
  // The browser does not let a page move the pointer; the game's own pointer thing follows.
  void SetPointerPos(int x, int y) override {
    pointerX_ = x;
    pointerY_ = y;
  }
  void Present(const std::uint32_t* pixels, int width, int height, int pitch) override;
  bool SetClipboardText(const char* text) override;
  void CopyText(const char* text, std::function<void(bool copied)> done) override;
  OpenLinkResult OpenLink(const char* url) override;
  std::string ProgramDir() override { return "/game/"; }
  bool SetWorkingDir(const std::string& dir) override;

  int pointerX_ = 0;
  int pointerY_ = 0;

 private:
  std::string canvas_;
  std::deque<PlatformEvent> events_;
  std::vector<std::uint32_t> rgba_;  // the frame as the canvas takes it (bytes R, G, B, A)
  bool created_ = false;
  int presents_ = 0;
  double lastPresentMs_ = 0;
  std::map<int, std::function<void(bool)>> copies_;  // copies waiting for the clipboard's answer
  int nextCopy_ = 1;
};

}  // namespace spellcrypt
