// Shared pieces of the word tests: a scratch folder, the global state, log inspection.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/globals.h"
#include "platform/headless_platform.h"

namespace spellcrypt::testing {

// A fresh folder under the system's temporary folder, removed with its content afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("spellcrypt_words_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string Path() const { return path_.string(); }
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

// A test with the global state on the headless platform; log lines land in platform.debugLines.
class WordsTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateGlobals(platform); }
  void TearDown() override { DestroyGlobals(); }

  int LogLinesWith(std::string_view text) const {
    int n = 0;
    for (const std::string& line : platform.debugLines) n += line.find(text) != std::string::npos ? 1 : 0;
    return n;
  }
  int ErrorLines() const { return LogLinesWith("ERROR - "); }
  // Error lines holding the text.
  int ErrorLinesWith(std::string_view text) const {
    int n = 0;
    for (const std::string& line : platform.debugLines) {
      n += line.rfind("ERROR - ", 0) == 0 && line.find(text) != std::string::npos ? 1 : 0;
    }
    return n;
  }

  HeadlessPlatform platform;
};

}  // namespace spellcrypt::testing
