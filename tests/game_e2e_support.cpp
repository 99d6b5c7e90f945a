// The player script.
#include "tests/game_e2e_support.h"

#include <algorithm>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "audio/recording_sound_manager.h"
#include "gfx/dx_screen.h"
#include "ui/framework/thing_list.h"
#include "ui/scores/screen_summary.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt::testing {

namespace fs = std::filesystem;

void PlayerScript::SetUp() {
  const fs::path bin = SPELLCRYPT_BIN_DIR;
  if (!fs::exists(bin / "graphics" / "game_screen.jpg") || !fs::exists(bin / "data")) {
    SKIP_UNLESS_CI("the generated pictures and data are not built");
  }
  for (const char* folder : {"data", "graphics", "sound"}) {
    fs::create_directory_symlink(bin / folder, fs::path(dir_.Path()) / folder);
  }
  shots_ = bin.parent_path() / "shots";
  fs::create_directories(shots_);
  platform_.SetProgramDir(dir_.Path());
  platform_.onPresent = [this](int) { OnFrame(); };
}

void PlayerScript::Then(const std::string& what, std::function<bool()> ready, std::function<void()> act,
                        std::uint32_t timeoutMs) {
  steps_.push_back(Step{what, std::move(ready), std::move(act), timeoutMs, nullptr});
}

void PlayerScript::Until(const std::string& what, std::function<bool()> done, std::function<void()> policy,
                         std::uint32_t timeoutMs) {
  steps_.push_back(Step{what, std::move(done), [] {}, timeoutMs, std::move(policy)});
}

bool PlayerScript::InputPending() const { return inputAt_ > platform_.VirtualMs(); }

int PlayerScript::Run(const std::string& commandLine) {
  platform_.SetFrameLimit(2000000);
  return RunGame(platform_, commandLine);
}

void PlayerScript::OnFrame() {
  if (failed_ || !GlobalsExist() || GetApp() == nullptr) return;
  const std::uint32_t now = platform_.VirtualMs();
  if (next_ >= steps_.size()) {
    platform_.PostQuit(0);
    failed_ = true;  // nothing more to do
    return;
  }
  if (stepStarted_ == 0) stepStarted_ = now;
  Step& step = steps_[next_];
  if (step.ready()) {
    inputAt_ = std::max(inputAt_, now + 1);
    step.act();
    done_.push_back(step.what);
    ++next_;
    stepStarted_ = now;
  } else if (now - stepStarted_ <= step.timeoutMs) {
    if (step.policy && !InputPending()) {
      inputAt_ = std::max(inputAt_, now + 1);
      step.policy();
    }
  } else {
    ADD_FAILURE() << "step \"" << step.what << "\" was not ready within " << step.timeoutMs << " ms";
    Shot("timeout_" + std::to_string(next_));
    failed_ = true;
    platform_.PostQuit(0);
  }
}

void PlayerScript::Click(int x, int y) {
  platform_.QueueClick(inputAt_, x, y);
  inputAt_ += 60;
}

void PlayerScript::PointAt(int x, int y) {
  platform_.QueueMouseMove(inputAt_, x, y);
  inputAt_ += 30;
}

void PlayerScript::Key(int virtualKey, int character) {
  platform_.QueueKey(inputAt_, virtualKey, character);
  inputAt_ += 1;
}

void PlayerScript::Type(const std::string& text) {
  for (char c : text) {
    const int upper = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
    Key(upper, c);
  }
}

void PlayerScript::Shot(const std::string& name) {
  GetGlobals().display->SaveScreenshot((shots_ / (name + ".png")).string().c_str());
}

Game& PlayerScript::TheRules() { return *GetApp()->game; }

RecordingSoundManager& PlayerScript::Sound() {
  return dynamic_cast<RecordingSoundManager&>(*GetApp()->soundManager);
}

bool PlayerScript::Named(const char* name) { return GetGlobals().things->FindByName(name) != nullptr; }

std::vector<std::string> PlayerScript::SummaryLines() {
  auto* summary = dynamic_cast<ScreenSummary*>(GetGlobals().TopScreen());
  return summary != nullptr ? summary->Box().Lines() : std::vector<std::string>{};
}

std::string PlayerScript::Log() const { return ReadText((fs::path(dir_.Path()) / "log.txt").string()); }

}  // namespace spellcrypt::testing
