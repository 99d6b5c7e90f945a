// Shared pieces of the word tests: a scratch folder, the global state, log inspection.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/globals.h"
#include "platform/headless_platform.h"
#include "tests/test_support.h"

namespace spellcrypt::testing {

// The word tests' scratch folder is the shared temporary folder.
using ScratchDir = TempDir;

// A test with the global state on the headless platform; log lines land in platform.debugLines.
class WordsTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateGlobals(platform); }
  void TearDown() override { DestroyGlobals(); }

  int LogLinesWith(std::string_view text) const { return CountLines(platform, std::string(text)); }
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
