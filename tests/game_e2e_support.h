// Driving the whole program on the headless platform as a player would, one step at a time: each
// step waits (on the virtual clock) until what it needs is on screen, then acts through the same
// keys and clicks a player would use. Screenshots of chosen moments go to build/<preset>/shots/.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "platform/headless_platform.h"
#include "tests/test_support.h"

namespace spellcrypt {

class Game;
class RecordingSoundManager;

namespace testing {

class PlayerScript : public ::testing::Test {
 protected:
  void SetUp() override;

  // A step: when `ready` holds, `act` runs (once). A step that is not ready within `timeoutMs` of
  // virtual time fails the test and ends the run.
  void Then(const std::string& what, std::function<bool()> ready, std::function<void()> act,
            std::uint32_t timeoutMs = 60000);
  // A step that acts every frame (`policy`) until `done` holds.
  void Until(const std::string& what, std::function<bool()> done, std::function<void()> policy,
             std::uint32_t timeoutMs = 600000);
  // Whether input queued earlier is still waiting to be delivered.
  bool InputPending() const;
  // Runs the program until the script is done (then quits) or a step times out.
  int Run(const std::string& commandLine = "-WINDOWED");

  // --- Acting, from within a step ---
  void Click(int x, int y);
  void PointAt(int x, int y);
  void Key(int virtualKey, int character = 0);
  void Type(const std::string& text);
  void Shot(const std::string& name);

  // --- Looking ---
  static Game& TheRules();
  static RecordingSoundManager& Sound();
  static bool Named(const char* name);
  // Whether the screen on top is a T.
  template <typename T>
  static bool TopIs() {
    return dynamic_cast<T*>(GetGlobals().TopScreen()) != nullptr;
  }
  // The lines of the summary on top (none when the summary is not on top).
  static std::vector<std::string> SummaryLines();
  std::string Log() const;

  TempDir dir_;
  HeadlessPlatform platform_;
  std::filesystem::path shots_;
  std::vector<std::string> done_;  // the steps that ran, in order

 private:
  struct Step {
    std::string what;
    std::function<bool()> ready;
    std::function<void()> act;
    std::uint32_t timeoutMs;
    std::function<void()> policy;  // run each frame while not ready
  };
  void OnFrame();
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::uint32_t stepStarted_ = 0;
  std::uint32_t inputAt_ = 0;
  bool failed_ = false;
};

}  // namespace testing
}  // namespace spellcrypt
