// Writes the desktop game's first title frame, for the browser test to compare with the page's:
// the real start-up on the headless back end over the generated data, stopped at the first frame
// presented with the title on top. The frame is written as 640x480 RGB bytes, row by row.
//   spellcrypt_title_frame <folder with data, graphics and sound> <out.rgb>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/game_loop.h"
#include "app/state_report.h"
#include "platform/headless_platform.h"

using namespace spellcrypt;
namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <program folder> <out.rgb>\n", argv[0]);
    return 2;
  }
  // A folder of its own beside the output, so the run writes no settings or log beside the real
  // data. Paths are made absolute first: the game moves into its folder.
  std::error_code ec;
  const fs::path outPath = fs::absolute(argv[2]);
  const fs::path folder = outPath.string() + ".run";
  fs::remove_all(folder, ec);
  fs::create_directories(folder);
  for (const char* name : {"data", "graphics", "sound"}) {
    fs::create_directory_symlink(fs::absolute(fs::path(argv[1]) / name), folder / name, ec);
  }
  HeadlessPlatform platform;
  platform.SetProgramDir(folder.string() + "/");
  std::vector<std::uint8_t> rgb;
  platform.onPresent = [&](int) {
    if (!rgb.empty() || !TitleOnTop()) return;
    for (const std::uint32_t pixel : platform.LastFrame()) {
      rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
      rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
      rgb.push_back(static_cast<std::uint8_t>(pixel));
    }
    platform.PostQuit(0);
  };
  platform.SetFrameLimit(1000);
  RunGame(platform, "-WINDOWED");
  fs::remove_all(folder, ec);
  if (rgb.size() != 640u * 480u * 3u) {
    std::fprintf(stderr, "The title never showed.\n");
    return 1;
  }
  std::FILE* out = std::fopen(outPath.c_str(), "wb");
  const bool written = out != nullptr && std::fwrite(rgb.data(), 1, rgb.size(), out) == rgb.size();
  if (out != nullptr && std::fclose(out) != 0) return 1;
  return written ? 0 : 1;
}
