// Shared set-up for the widget and screen tests.
#include "tests/ui_test_support.h"

#include <filesystem>
#include <fstream>

#include "app/game_loop.h"
#include "gfx/dx_screen.h"
#include "gfx/image_writer.h"
#include "platform/files.h"
#include "ui/thing_list.h"
#include "ui/thing_mouse.h"

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
  const int rowBytes = (w * 3 + 3) & ~3;
  const int dataSize = rowBytes * h;
  std::vector<std::uint8_t> bytes(54 + static_cast<std::size_t>(dataSize), 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(w));
  put32(22, static_cast<std::uint32_t>(h));
  bytes[26] = 1;
  bytes[28] = 24;
  put32(34, static_cast<std::uint32_t>(dataSize));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::size_t at = 54 + static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x) * 3;
      bytes[at] = static_cast<std::uint8_t>(rgb);
      bytes[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
      bytes[at + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }
  }
  const std::string resolved = ResolvePath(path);
  const std::filesystem::path parent = std::filesystem::path(resolved).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::ofstream(resolved, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void UiTest::WriteFont(const std::string& path, int cell) {
  const int columns = 320 / cell;
  const int height = (128 + columns - 1) / columns * cell;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(320 * height), 0xFF00FF);
  for (int c = 1; c < 95; ++c) {
    for (int y = 4; y < cell - 4; ++y) {
      for (int x = 2; x < cell / 2; ++x) {
        px[static_cast<std::size_t>(((c / columns) * cell + y) * 320 + (c % columns) * cell + x)] = kFontInk;
      }
    }
  }
  const std::string resolved = ResolvePath(path);
  std::filesystem::create_directories(std::filesystem::path(resolved).parent_path());
  ASSERT_TRUE(SaveImageFile(resolved.c_str(), px.data(), 320, height, 320));
}

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
