// Opening a web page with the desktop's opener, against stand-in openers put first on PATH.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/desktop_open.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

class DesktopOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    oldPath_ = path != nullptr ? path : "";
  }
  void TearDown() override { ::setenv("PATH", oldPath_.c_str(), 1); }

  // An xdg-open that records its arguments and then runs `body`.
  void Opener(const std::string& body) {
    const std::string script = dir_.File("xdg-open");
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << dir_.File("args") << "'\n"
                          << body << "\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    ::setenv("PATH", (dir_.Path() + ":/usr/bin:/bin").c_str(), 1);
  }
  std::string Args() const { return testing::ReadText(dir_.File("args")); }

  testing::TempDir dir_;
  std::string oldPath_;
};

TEST_F(DesktopOpenTest, TheOpenersVerdictIsTheResult) {
  Opener("exit 0");
  EXPECT_EQ(OpenWithDesktop("http://example.org/a b;$(touch x)"), OpenLinkResult::Ok);
  EXPECT_EQ(Args(), "http://example.org/a b;$(touch x)|") << "one argument, no shell";
  EXPECT_FALSE(std::filesystem::exists(dir_.File("x")));

  Opener("exit 3");  // no program for web pages
  EXPECT_EQ(OpenWithDesktop("http://example.org/"), OpenLinkResult::NoAssociation);
  Opener("exit 4");  // the browser failed
  EXPECT_EQ(OpenWithDesktop("http://example.org/"), OpenLinkResult::UnknownError);
  Opener("kill -9 $$");
  EXPECT_EQ(OpenWithDesktop("http://example.org/"), OpenLinkResult::UnknownError);

  ::setenv("PATH", dir_.File("nowhere").c_str(), 1);
  EXPECT_EQ(OpenWithDesktop("http://example.org/"), OpenLinkResult::NoAssociation);
  EXPECT_EQ(OpenWithDesktop(""), OpenLinkResult::UnknownError);
}

TEST_F(DesktopOpenTest, AnOpenerThatStaysWithItsBrowserDoesNotHoldTheGame) {
  Opener("sleep 5");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(OpenWithDesktop("http://example.org/", 200), OpenLinkResult::Ok);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_LT(waited, std::chrono::seconds(3));
}

}  // namespace
}  // namespace spellcrypt
