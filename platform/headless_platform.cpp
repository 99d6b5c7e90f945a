// The headless back end.
#include "platform/headless_platform.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace spellcrypt {

HeadlessPlatform::HeadlessPlatform() : echo_(std::getenv("SPELLCRYPT_ECHO") != nullptr) {
  char cwd[4096];
  programDir_ = ::getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) + "/" : "./";
}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::SetProgramDir(const std::string& dir) {
  programDir_ = dir;
  if (programDir_.empty() || programDir_.back() != '/') programDir_ += '/';
}

void HeadlessPlatform::QueueEvent(std::uint32_t atMs, const PlatformEvent& event) {
  // Keep the script ordered by time; events at the same time keep the order they were queued in.
  auto it = std::upper_bound(script_.begin() + static_cast<std::ptrdiff_t>(nextScripted_), script_.end(),
                             atMs, [](std::uint32_t t, const Scheduled& s) { return t < s.atMs; });
  script_.insert(it, Scheduled{atMs, event});
}

void HeadlessPlatform::QueueKey(std::uint32_t atMs, int virtualKey, int character, bool ctrl, bool alt) {
  PlatformEvent down;
  down.type = PlatformEventType::KeyDown;
  down.key = virtualKey;
  down.ctrl = ctrl;
  down.alt = alt;
  QueueEvent(atMs, down);
  if (character != 0) QueueChar(atMs, character);
}

void HeadlessPlatform::QueueChar(std::uint32_t atMs, int character) {
  PlatformEvent ch;
  ch.type = PlatformEventType::Char;
  ch.key = character;
  QueueEvent(atMs, ch);
}

void HeadlessPlatform::QueueMouseMove(std::uint32_t atMs, int x, int y) {
  PlatformEvent move;
  move.type = PlatformEventType::MouseMove;
  move.x = x;
  move.y = y;
  QueueEvent(atMs, move);
}

void HeadlessPlatform::QueueClick(std::uint32_t atMs, int x, int y) {
  QueueMouseMove(atMs, x, y);
  PlatformEvent down;
  down.type = PlatformEventType::MouseDown;
  down.x = x;
  down.y = y;
  QueueEvent(atMs, down);
  PlatformEvent up = down;
  up.type = PlatformEventType::MouseUp;
  QueueEvent(atMs + 50, up);
}

void HeadlessPlatform::QueueQuit(std::uint32_t atMs, int exitCode) {
  PlatformEvent quit;
  quit.type = PlatformEventType::Quit;
  quit.exitCode = exitCode;
  QueueEvent(atMs, quit);
}

void HeadlessPlatform::Sleep(std::uint32_t ms) {
  // A yield costs a millisecond of virtual time, so loops that wait for the clock always end.
  Advance(ms == 0 ? 1 : ms);
}

bool HeadlessPlatform::CreateMainWindow(const char*, int, int, bool fullscreen) {
  if (failWindowCreation) return false;
  hasWindow_ = true;
  windowShown_ = true;
  fullscreen_ = fullscreen;
  return true;
}

bool HeadlessPlatform::PollEvent(PlatformEvent& event) {
  if (!posted_.empty()) {
    event = posted_.front();
    posted_.erase(posted_.begin());
    return true;
  }
  if (nextScripted_ < script_.size() && script_[nextScripted_].atMs <= VirtualMs()) {
    event = script_[nextScripted_++].event;
    if (event.type == PlatformEventType::MouseMove || event.type == PlatformEventType::MouseDown) {
      pointerX = event.x;
      pointerY = event.y;
    }
    return true;
  }
  return false;
}

void HeadlessPlatform::PostQuit(int exitCode) {
  PlatformEvent quit;
  quit.type = PlatformEventType::Quit;
  quit.exitCode = exitCode;
  posted_.push_back(quit);
}

void HeadlessPlatform::Present(const std::uint32_t* pixels, int width, int height, int pitch) {
  frameWidth_ = width;
  frameHeight_ = height;
  frame_.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    std::copy_n(pixels + static_cast<std::ptrdiff_t>(y) * pitch, width,
                frame_.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  ++framesPresented_;
  Advance(frameMs_);
  if (onPresent) onPresent(framesPresented_);
  if (frameLimit_ > 0 && framesPresented_ == frameLimit_) PostQuit(0);
}

bool HeadlessPlatform::ShowMessageBox(const char* caption, const char* text, MessageBoxIcon) {
  // Recorded for the test; like a machine without a display, nothing is shown, so the log keeps
  // the text.
  messageBoxes.push_back(std::string(caption) + "|" + text);
  return false;
}

void HeadlessPlatform::DebugOut(const char* text) {
  debugLines.emplace_back(text);
  if (echo_) std::fputs(text, stderr);
}

bool HeadlessPlatform::SetWorkingDir(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

}  // namespace spellcrypt
