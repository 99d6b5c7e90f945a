// Shared test scaffolding: a temporary program folder, the headless platform and the global objects.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/app.h"
#include "app/globals.h"
#include "platform/headless_platform.h"

namespace spellcrypt::testing {

// A fresh temporary folder, removed again at destruction; the working directory is restored.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes a file below the folder (making its folders) and returns its path.
  std::string Write(const std::string& name, std::string_view bytes) const;
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

 private:
  std::string path_;
  std::filesystem::path savedCwd_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
// True when some captured debugger-output line contains the text.
bool SawLine(const HeadlessPlatform& platform, const std::string& text);
int CountLines(const HeadlessPlatform& platform, const std::string& text);
// A glyph sheet of 128 cells from code 32 in which every printable character is a block of ink,
// cell / 2 - 2 pixels wide, on the magenta key; written as a bitmap (folders made as needed).
void WriteBlockFont(const std::string& path, int cell, std::uint32_t ink);
// Writes pixels (0x00RRGGBB) as a picture whose format follows the name, making its folders.
void WritePicture(const std::string& path, const std::vector<std::uint32_t>& pixels, int width, int height);

// The folders of the game library, bottom layer first, as scripts/layers.txt lists them.
std::vector<std::string> LayerFolders();
// In CI a missing prerequisite (generated data, an outside tool) is a failure; on a developer's
// machine the test is skipped with the reason.
bool InCi();
// A loopback port that nothing listens on: bound for a moment, then let go (0 when none was had).
int DeadPort();
#define SKIP_UNLESS_CI(why)                                          \
  do {                                                               \
    if (::spellcrypt::testing::InCi()) FAIL() << "in CI: " << (why); \
    GTEST_SKIP() << (why);                                           \
  } while (false)

// Global state over a headless platform whose program folder is a temporary folder (also the
// working directory). The application object is built too unless asked not to.
class HeadlessFixture : public ::testing::Test {
 protected:
  explicit HeadlessFixture(bool withApp = true) : withApp_(withApp) {}
  void SetUp() override;
  void TearDown() override;

  TempDir dir_;
  HeadlessPlatform platform_;
  bool withApp_;
};

}  // namespace spellcrypt::testing
