// Shared set-up for the widget and screen tests.
#include "tests/ui_test_support.h"

#include "app/game_loop.h"
#include "gfx/dx_screen.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_mouse.h"

namespace spellcrypt {

void UiTest::SetUp() {
  HeadlessFixture::SetUp();
  CGlobals& g = GetGlobals();
  g.extraReceiver = GetApp();
  g.display = new CDXScreen(platform);
  g.display->CreateWindowed(g.width, g.height);
  mouse = new CThingMouse();
  mouse->hidden = true;
  g.mouse = mouse;
  g.things->Add(mouse);
  Frame();
}

void UiTest::TearDown() {
  HeadlessFixture::TearDown();
  sheets_.clear();
}

void UiTest::Frame(std::uint32_t ms) {
  platform.Advance(ms);
  RunFrame();
}

void UiTest::Frames(int count, std::uint32_t ms) {
  for (int i = 0; i < count; ++i) Frame(ms);
}

namespace {
void Send(PlatformEventType type, int key = 0, int x = 0, int y = 0, int wheel = 0) {
  PlatformEvent event;
  event.type = type;
  event.key = key;
  event.x = x;
  event.y = y;
  event.wheel = wheel;
  HandleWindowEvent(event);
}
}  // namespace

void UiTest::PointAt(int x, int y) {
  platform.pointerX = x;
  platform.pointerY = y;
  Send(PlatformEventType::MouseMove, 0, x, y);
}
void UiTest::Press() { Send(PlatformEventType::MouseDown); }
void UiTest::Release() { Send(PlatformEventType::MouseUp); }
void UiTest::Key(int virtualKey) { Send(PlatformEventType::KeyDown, virtualKey); }
void UiTest::Char(int character) { Send(PlatformEventType::Char, character); }
void UiTest::Wheel(int notches) { Send(PlatformEventType::Wheel, 0, 0, 0, notches); }

CDXTile* UiTest::Sheet(int w, int h, int frames) {
  auto sheet = std::make_unique<CDXTile>();
  sheet->CreateBlank(nullptr, w * frames, h);
  sheet->LayOutCells(w, h, frames);
  sheets_.push_back(std::move(sheet));
  return sheets_.back().get();
}

void UiTest::WriteBmp(const std::string& path, int w, int h, std::uint32_t rgb) {
  testing::WritePicture(path, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, rgb), w, h);
}

void UiTest::WriteFont(const std::string& path, int cell) { testing::WriteBlockFont(path, cell, kFontInk); }

int UiTest::InkIn(int x0, int y0, int x1, int y1, std::uint32_t colour) {
  CDXSurface* back = GetGlobals().display->GetBack();
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) n += back->ReadPixel(x, y) == colour ? 1 : 0;
  }
  return n;
}

bool UiTest::Logged(const std::string& text) const { return testing::SawLine(platform_, text); }
int UiTest::CountLogged(const std::string& text) const { return testing::CountLines(platform_, text); }

}  // namespace spellcrypt
