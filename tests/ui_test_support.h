// Shared set-up for the widget and screen tests: the headless fixture (platform, global state and
// application objects, a private working folder) plus a display and the pointer thing.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/globals.h"
#include "gfx/dx_tile.h"
#include "platform/headless_platform.h"
#include "tests/test_support.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_sprite.h"

namespace spellcrypt {

class CThingMouse;
class CThing;

class UiTest : public testing::HeadlessFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  CGlobals& G() { return GetGlobals(); }
  CAppGlo& App() { return *GetApp(); }

  // Advances the virtual clock by ms and runs one frame.
  void Frame(std::uint32_t ms = 15);
  void Frames(int count, std::uint32_t ms = 15);
  // Window events, as the platform would deliver them.
  void PointAt(int x, int y);
  void Press();
  void Release();
  void Key(int virtualKey);
  void Char(int character);
  void Wheel(int notches);

  // A blank sheet of `frames` cells of w x h, kept alive until the test ends.
  CDXTile* Sheet(int w, int h, int frames = 1);
  // Writes a 24-bit picture file of w x h (all one colour) at a path of the game's.
  void WriteBmp(const std::string& path, int w, int h, std::uint32_t rgb = 0x336699);
  // A glyph sheet whose every printable character is a block of ink kFontInk, cell/2 - 2 wide
  // (so it advances cell/2 - 1 pixels); the space advances cell/4.
  void WriteFont(const std::string& path, int cell);
  static constexpr std::uint32_t kFontInk = 0xFFFFFF;
  // Pixels of that colour in a rectangle of the last drawn back surface.
  int InkIn(int x0, int y0, int x1, int y1, std::uint32_t colour = kFontInk);
  // Whether a line sent to the debugger output contains the text; how many do.
  bool Logged(const std::string& text) const;
  int CountLogged(const std::string& text) const;

  // Adds a list-owned thing and returns it.
  template <typename T>
  T* Add(T* thing) {
    GetGlobals().things->Add(thing);
    return thing;
  }

  HeadlessPlatform& platform = platform_;
  CThingMouse* mouse = nullptr;

 private:
  std::vector<std::unique_ptr<CDXTile>> sheets_;
};

struct InputRecord {
  int type;
  int senderId;
  int value;
};

// A sprite that records every input event it is offered.
class InputProbe : public CThingSprite {
 public:
  void HandleInput(int type, const InputEvent* event) override {
    records.push_back({type, event != nullptr ? event->senderId : -1, event != nullptr ? event->value : 0});
    CThingSprite::HandleInput(type, event);
  }
  int Count(int type) const {
    int n = 0;
    for (const InputRecord& r : records) n += r.type == type ? 1 : 0;
    return n;
  }
  std::vector<InputRecord> records;
};

}  // namespace spellcrypt
