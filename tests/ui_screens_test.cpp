// The screen stack: adoption order, closing in the frame's screen step, input reaching the top
// screen first, and the input gate of things owned by screens.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/game_loop.h"
#include "tests/test_support.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {
namespace {

class TestScreen : public Screen {
 public:
  TestScreen(std::vector<std::string>& journal, std::string label, bool consume = false)
      : journal_(journal), label_(std::move(label)), consume_(consume) {}
  ~TestScreen() override { journal_.push_back(label_ + ":deleted"); }
  bool HandleInput(int type, const InputEvent*) override {
    journal_.push_back(label_ + ":input" + std::to_string(type));
    return consume_;
  }
  void HandleMessage(const Message& m) override {
    journal_.push_back(label_ + ":msg" + std::to_string(m.type));
    Screen::HandleMessage(m);
  }

 private:
  std::vector<std::string>& journal_;
  std::string label_;
  bool consume_;
};

class GatedThing : public CThing {
 public:
  GatedThing(std::vector<std::string>& journal, std::string label)
      : journal_(journal), label_(std::move(label)) {}
  void HandleInput(int type, const InputEvent*) override {
    if (!InputAllowed()) return;
    journal_.push_back(label_ + ":input" + std::to_string(type));
  }

 private:
  std::vector<std::string>& journal_;
  std::string label_;
};

class ScreenStackTest : public testing::HeadlessFixture {
 protected:
  ScreenStackTest() : HeadlessFixture(false) {}
  void SetUp() override {
    HeadlessFixture::SetUp();
    RunFrame();
  }
  void Frame() {
    platform_.Advance(16);
    RunFrame();
  }
  CGlobals& G() { return GetGlobals(); }
  std::vector<std::string> journal_;
};

TEST_F(ScreenStackTest, ScreensStartedInOneFrameStackInReverse) {
  auto* first = new TestScreen(journal_, "first");
  auto* second = new TestScreen(journal_, "second");
  ASSERT_TRUE(first->Start());
  ASSERT_TRUE(second->Start());
  EXPECT_EQ(G().TopScreen(), nullptr);
  Frame();
  ASSERT_EQ(G().screens.size(), 2u);
  EXPECT_EQ(G().TopScreen(), first);
}

TEST_F(ScreenStackTest, ClosingTheTopMakesTheOneBelowTopInTheSameStep) {
  auto* below = new TestScreen(journal_, "below");
  below->Start();
  Frame();
  auto* popup = new TestScreen(journal_, "popup");
  popup->Start();
  Frame();
  ASSERT_EQ(G().TopScreen(), popup);
  popup->Close();
  Frame();
  EXPECT_EQ(G().TopScreen(), below);
  EXPECT_NE(std::find(journal_.begin(), journal_.end(), "popup:deleted"), journal_.end());
}

TEST_F(ScreenStackTest, AConsumingTopScreenHidesTheEventFromEveryThing) {
  G().things->Add(new GatedThing(journal_, "thing"));
  auto* popup = new TestScreen(journal_, "popup", true);
  popup->Start();
  Frame();
  G().things->BroadcastInput(InputMouseDown, nullptr);
  EXPECT_EQ(journal_, (std::vector<std::string>{"popup:input0"}));
}

TEST_F(ScreenStackTest, AScreenThatClosedHearsNothingMoreNorDoItsThings) {
  auto* below = new TestScreen(journal_, "below");
  below->Start();
  Frame();
  auto* popup = new TestScreen(journal_, "popup");
  popup->Start();
  Frame();
  // A screen member: the screen's owner keeps it (here the test), the list only lists it.
  auto member = std::make_unique<GatedThing>(journal_, "member");
  member->AddToList(popup);
  G().things->BroadcastInput(InputChar, nullptr);
  // Closed by its first key, the popup stays listed until the frame's screen step; a second key
  // in the same frame goes to the screen below, and the popup's things ignore it.
  popup->Close();
  G().things->BroadcastInput(InputChar, nullptr);
  EXPECT_EQ(journal_, (std::vector<std::string>{"popup:input8", "member:input8", "below:input8"}));
  EXPECT_EQ(G().TopScreen(), popup);
  EXPECT_EQ(G().InputScreen(), below);
  Frame();
  EXPECT_EQ(G().TopScreen(), below);
}

TEST_F(ScreenStackTest, AMessageToAClosedScreenIsNeverDelivered) {
  auto* screen = new TestScreen(journal_, "tip");
  screen->Start();
  Frame();
  G().PostMessage(MsgCloseScreen, 500, screen, 0);
  screen->Close();
  Frame();  // deleted here
  for (int i = 0; i < 40; ++i) Frame();
  EXPECT_EQ(journal_, (std::vector<std::string>{"tip:deleted"}));
}

TEST_F(ScreenStackTest, MsgCloseScreenClosesAtTheNextScreenStep) {
  auto* screen = new TestScreen(journal_, "tip");
  screen->Start();
  Frame();
  G().PostMessage(MsgCloseScreen, 0, screen, 0);
  EXPECT_TRUE(screen->closed);
  Frame();
  EXPECT_TRUE(G().screens.empty());
}

TEST_F(ScreenStackTest, InputLevelAndOwnerGateTheThings) {
  auto* title = new TestScreen(journal_, "title");
  title->Start();
  Frame();
  GatedThing free(journal_, "free");  // level 0, no owner
  free.AddToList(nullptr);
  GatedThing member(journal_, "member");  // owned by the title screen
  member.AddToList(title);
  G().things->BroadcastInput(InputMouseDown, nullptr);
  EXPECT_EQ(journal_, (std::vector<std::string>{"title:input0", "member:input0", "free:input0"}));

  // A popup at level 100: level-0 things ignore input, and the member's owner is no longer on top.
  journal_.clear();
  G().inputLevel = 100;
  auto* popup = new TestScreen(journal_, "popup");
  popup->Start();
  GatedThing popupButton(journal_, "button");
  popupButton.AddToList(popup);
  Frame();
  G().things->BroadcastInput(InputMouseDown, nullptr);
  EXPECT_EQ(journal_, (std::vector<std::string>{"popup:input0", "button:input0"}));

  // Lowering the level again is not enough for a member whose screen is not the top one.
  journal_.clear();
  G().inputLevel = 0;
  G().things->BroadcastInput(InputMouseDown, nullptr);
  EXPECT_EQ(journal_, (std::vector<std::string>{"popup:input0", "button:input0", "free:input0"}));
}

}  // namespace
}  // namespace spellcrypt
