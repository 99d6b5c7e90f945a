#include "tests/test_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

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

}  // namespace spellcrypt::testing
