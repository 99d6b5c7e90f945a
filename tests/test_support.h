// Shared test scaffolding: a temporary program folder, the headless platform and the global objects.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
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
