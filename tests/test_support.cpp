#include "tests/test_support.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "gfx/image_writer.h"
#include "platform/files.h"

namespace spellcrypt::testing {

namespace fs = std::filesystem;

TempDir::TempDir() : savedCwd_(fs::current_path()) {
  static std::atomic<int> counter{0};
  const fs::path base = fs::temp_directory_path() /
                        ("spellcrypt-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(base);
  fs::create_directories(base);
  path_ = base.string();
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::current_path(savedCwd_, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
  const fs::path file = fs::path(path_) / name;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file.string();
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

bool SawLine(const HeadlessPlatform& platform, const std::string& text) {
  return CountLines(platform, text) > 0;
}

int CountLines(const HeadlessPlatform& platform, const std::string& text) {
  int n = 0;
  for (const std::string& line : platform.debugLines) {
    if (line.find(text) != std::string::npos) ++n;
  }
  return n;
}

void WriteBlockFont(const std::string& path, int cell, std::uint32_t ink) {
  const int columns = 320 / cell;
  const int height = (128 + columns - 1) / columns * cell;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(320 * height), 0xFF00FF);
  for (int c = 1; c < 95; ++c) {
    for (int y = 4; y < cell - 4; ++y) {
      for (int x = 2; x < cell / 2; ++x) {
        px[static_cast<std::size_t>(((c / columns) * cell + y) * 320 + (c % columns) * cell + x)] = ink;
      }
    }
  }
  WritePicture(path, px, 320, height);
}

void WritePicture(const std::string& path, const std::vector<std::uint32_t>& pixels, int width, int height) {
  const std::string resolved = ResolvePath(path);
  const fs::path parent = fs::path(resolved).parent_path();
  if (!parent.empty()) fs::create_directories(parent);
  ASSERT_TRUE(SaveImageFile(resolved.c_str(), pixels.data(), width, height, width));
}

void HeadlessFixture::SetUp() {
  platform_.SetProgramDir(dir_.Path());
  fs::current_path(dir_.Path());
  CreateGlobals(platform_);
  if (withApp_) CreateApp();
}

void HeadlessFixture::TearDown() {
  DestroyApp();
  DestroyGlobals();
}

std::vector<std::string> LayerFolders() {
  std::ifstream in(std::string(SPELLCRYPT_SOURCE_DIR) + "/scripts/layers.txt");
  std::string line;
  std::vector<std::string> folders;
  while (std::getline(in, line)) {
    if (line.rfind("layers:", 0) != 0) continue;
    std::istringstream words(line.substr(7));
    for (std::string folder; words >> folder;) folders.push_back(folder);
  }
  return folders;
}

bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && *ci != '\0' && std::string(ci) != "false" && std::string(ci) != "0";
}

int DeadPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

}  // namespace spellcrypt::testing
