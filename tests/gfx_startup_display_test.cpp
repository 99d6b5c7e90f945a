// The display through the real start-up and main loop on the headless back end: fonts from the
// program's folder, the "Loading..." frame, the frame-rate line and the full-screen toggle.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/game_loop.h"
#include "gfx/image_writer.h"
#include "gfx_test_images.h"
#include "platform/headless_platform.h"

namespace spellcrypt {
namespace {

constexpr std::uint32_t kInk = 0xC0C0C0;

int InkIn(const std::vector<std::uint32_t>& frame, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) n += frame[static_cast<std::size_t>(y * 640 + x)] == colour;
  }
  return n;
}

TEST(StartupDisplayTest, LoadingTextFrameRateLineAndFullScreenToggle) {
  testimg::TempDir dir;
  for (const char* name : {"font3.bmp", "font_grey2.bmp", "font_summary.bmp"}) {
    testing::WriteBlockFont(dir.File(std::string("graphics/font/") + name), 32, kInk);
  }
  testing::WriteBlockFont(dir.File("graphics/font/font_small.bmp"), 16, kInk);
  dir.Write("data/master_word_list.txt", "act cat\n");

  HeadlessPlatform platform;
  platform.SetProgramDir(dir.File(""));
  std::vector<std::uint32_t> loading;
  std::vector<std::uint32_t> withRate;
  platform.onPresent = [&](int frame) {
    if (frame == 1) loading = platform.LastFrame();
    if (frame == 20) withRate = platform.LastFrame();
  };
  platform.QueueKey(1100, 'F', 'f', true, true);  // Ctrl+Alt+F
  PlatformEvent toggle;
  toggle.type = PlatformEventType::ToggleFullscreen;
  platform.QueueEvent(1400, toggle);
  platform.SetFrameLimit(30);
  EXPECT_EQ(RunGame(platform, "-WINDOWED"), 0);

  // "Loading..." in the grey font at (280, 250): ten glyphs of ink, nothing elsewhere.
  ASSERT_EQ(loading.size(), 640u * 480u);
  EXPECT_GT(InkIn(loading, 280, 250, 640, 282, kInk), 10 * 14 * 20);
  EXPECT_EQ(InkIn(loading, 0, 0, 640, 250, kInk), 0);
  // The frame-rate line in red at (5, 5).
  ASSERT_EQ(withRate.size(), 640u * 480u);
  EXPECT_GT(InkIn(withRate, 5, 5, 200, 12, 0xFF0000), 50);
  EXPECT_TRUE(platform.Fullscreen());

  std::ifstream log(dir.File("log.txt"));
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("Toggle FPS display"), std::string::npos);
  EXPECT_NE(text.str().find("Toggling fullscreen."), std::string::npos);
  EXPECT_NE(text.str().find("Restoring surfaces"), std::string::npos);
  EXPECT_EQ(text.str().find("Error loading font"), std::string::npos);
}

}  // namespace
}  // namespace spellcrypt
