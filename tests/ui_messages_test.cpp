// The timed message queue: immediate and delayed delivery, ordering, cancellation, and the
// fan-out of broadcast messages to screens, things and the application object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game_loop.h"
#include "tests/test_support.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {
namespace {

class Recorder : public MessageReceiver {
 public:
  Recorder(std::vector<std::string>& journal, std::string label)
      : journal_(journal), label_(std::move(label)) {}
  void HandleMessage(const Message& m) override {
    journal_.push_back(label_ + ":" + std::to_string(m.type) + "/" + std::to_string(m.value));
  }

 private:
  std::vector<std::string>& journal_;
  std::string label_;
};

class RecordingThing : public CThing {
 public:
  RecordingThing(std::vector<std::string>& journal, std::string label)
      : journal_(journal), label_(std::move(label)) {}
  void HandleMessage(const Message& m) override { journal_.push_back(label_ + ":" + std::to_string(m.type)); }

 private:
  std::vector<std::string>& journal_;
  std::string label_;
};

class RecordingScreen : public Screen {
 public:
  RecordingScreen(std::vector<std::string>& journal, std::string label)
      : journal_(journal), label_(std::move(label)) {}
  void HandleMessage(const Message& m) override {
    journal_.push_back(label_ + ":" + std::to_string(m.type));
    Screen::HandleMessage(m);
  }
  bool HandleInput(int, const InputEvent*) override { return false; }

 private:
  std::vector<std::string>& journal_;
  std::string label_;
};

class MessageQueueTest : public testing::HeadlessFixture {
 protected:
  MessageQueueTest() : HeadlessFixture(false) {}
  void SetUp() override {
    HeadlessFixture::SetUp();
    RunFrame();  // the first frame sets the clock
  }
  void Frame(std::uint32_t ms) {
    platform_.Advance(ms);
    RunFrame();
  }
  CGlobals& G() { return GetGlobals(); }
  std::vector<std::string> journal_;
};

TEST_F(MessageQueueTest, DelayZeroIsHandledBeforePostReturns) {
  Recorder r(journal_, "r");
  G().PostMessage(MsgAnswerYes, 0, &r, 42);
  EXPECT_EQ(journal_, (std::vector<std::string>{"r:7/42"}));
  EXPECT_TRUE(G().messages.empty());
}

TEST_F(MessageQueueTest, DelayedMessagesWaitForAFrameAfterTheirDueTime) {
  Recorder r(journal_, "r");
  G().PostMessage(MsgMapReveal, 100, &r, 1);
  G().DeliverDueMessages();  // the posting frame: never delivered there
  EXPECT_TRUE(journal_.empty());
  Frame(60);
  EXPECT_TRUE(journal_.empty());
  Frame(60);
  EXPECT_EQ(journal_, (std::vector<std::string>{"r:22/1"}));
  Frame(60);
  EXPECT_EQ(journal_.size(), 1u);
  EXPECT_TRUE(G().messages.empty());
}

TEST_F(MessageQueueTest, EqualDueTimesKeepPostingOrder) {
  Recorder r(journal_, "r");
  G().PostMessage(MsgRewardTile, 50, &r, 1);
  G().PostMessage(MsgRewardTile, 50, &r, 2);
  G().PostMessage(MsgRewardTile, 50, &r, 3);
  Frame(100);
  EXPECT_EQ(journal_, (std::vector<std::string>{"r:10/1", "r:10/2", "r:10/3"}));
}

TEST_F(MessageQueueTest, MessagesPostedDuringDeliveryWaitForALaterFrame) {
  class Chain : public MessageReceiver {
   public:
    explicit Chain(std::vector<std::string>& j) : journal(j) {}
    void HandleMessage(const Message& m) override {
      journal.push_back("chain:" + std::to_string(m.value));
      if (m.value == 1) GetGlobals().PostMessage(MsgPlayerEvent, 1, this, 2);
      if (m.value == 2) GetGlobals().PostMessage(MsgPlayerEvent, 500, this, 3);
    }
    std::vector<std::string>& journal;
  } chain(journal_);
  G().PostMessage(MsgPlayerEvent, 10, &chain, 1);
  // A message posted while the queue is walked is due after this frame's time, so never in it.
  Frame(100);
  EXPECT_EQ(journal_, (std::vector<std::string>{"chain:1"}));
  Frame(16);
  EXPECT_EQ(journal_, (std::vector<std::string>{"chain:1", "chain:2"}));
  Frame(400);
  EXPECT_EQ(journal_.size(), 2u);
  Frame(200);
  EXPECT_EQ(journal_.back(), "chain:3");
}

TEST_F(MessageQueueTest, ADestroyedReceiverGetsNothing) {
  auto* thing = new RecordingThing(journal_, "thing");
  G().things->Add(thing);
  G().PostMessage(MsgBookGrow, 100, thing, 0);
  G().PostMessage(MsgBookOpen, 200, thing, 0);
  G().things->KillByPointer(thing);
  Frame(16);  // purged this frame
  Frame(300);
  EXPECT_TRUE(journal_.empty());
  EXPECT_TRUE(G().messages.empty());
}

TEST_F(MessageQueueTest, CancelAllDropsEverything) {
  Recorder r(journal_, "r");
  G().PostMessage(MsgRewardTile, 50, &r, 1);
  G().PostMessage(MsgBookFound, 70, &r, 2);
  G().CancelAllMessages();
  Frame(100);
  EXPECT_TRUE(journal_.empty());
}

TEST_F(MessageQueueTest, BroadcastGoesToScreensThenThingsThenTheApplication) {
  Recorder app(journal_, "app");
  G().extraReceiver = &app;
  auto* bottom = new RecordingScreen(journal_, "bottom");
  auto* top = new RecordingScreen(journal_, "top");
  G().screens = {bottom, top};
  G().things->Add(new RecordingThing(journal_, "thing"));
  G().PostMessage(MsgNoticeClosed, 0, nullptr, 0);
  EXPECT_EQ(journal_, (std::vector<std::string>{"bottom:9", "top:9", "thing:9", "app:9/0"}));
  G().extraReceiver = nullptr;
}

TEST_F(MessageQueueTest, ScreenWalkStopsWhenTheScreenCountChanges) {
  class Closer : public Screen {
   public:
    explicit Closer(std::vector<std::string>& j) : journal(j) {}
    void HandleMessage(const Message&) override {
      journal.push_back("closer");
      // Removing itself from the stack changes the count of active screens.
      auto& screens = GetGlobals().screens;
      screens.erase(std::find(screens.begin(), screens.end(), this));
      GetGlobals().pendingScreens.push_back(this);  // deleted with the global object
    }
    bool HandleInput(int, const InputEvent*) override { return false; }
    std::vector<std::string>& journal;
  };
  auto* closer = new Closer(journal_);
  auto* above = new RecordingScreen(journal_, "above");
  G().screens = {closer, above};
  G().PostMessage(MsgSurfacesRestored, 0, nullptr, 0);
  EXPECT_EQ(journal_, (std::vector<std::string>{"closer"}));
}

}  // namespace
}  // namespace spellcrypt
