// Buttons, check boxes, keyboard focus and the menu commands.
#include <fstream>
#include <sstream>

#include "base/score_server.h"
#include "tests/ui_test_support.h"
#include "ui/framework/keyboard_focus.h"
#include "ui/framework/thing_mouse.h"
#include "ui/widgets/button.h"
#include "ui/widgets/check_box.h"
#include "ui/widgets/menu_button.h"

namespace spellcrypt {
namespace {

class UiButtonTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    clicks = Add(new InputProbe());
  }
  template <typename T = CThingButton>
  T* Button(int x, int y, int command = 42) {
    auto* button = Add(new T());
    button->AttachImage(Sheet(80, 20), false, kMagenta);
    button->SetPosition(x, y);
    button->command = command;
    return button;
  }
  int LastClickValue() const {
    for (auto it = clicks->records.rbegin(); it != clicks->records.rend(); ++it) {
      if (it->type == InputClicked) return it->value;
    }
    return -1;
  }
  int Clicks(int senderId) const {
    int n = 0;
    for (const InputRecord& r : clicks->records)
      n += (r.type == InputClicked && r.senderId == senderId) ? 1 : 0;
    return n;
  }
  InputProbe* clicks = nullptr;
};

TEST_F(UiButtonTest, ClickFiresOneClickDelayAfterThePressAndOnlyOnce) {
  CThingButton* button = Button(100, 100);
  PointAt(110, 110);
  Frame();
  EXPECT_EQ(button->visualState, kButtonHighlighted);
  Press();
  Release();
  EXPECT_EQ(button->visualState, kButtonPressed);
  Frame(100);
  Press();  // a second click inside the click delay is ignored
  Release();
  Frame(100);
  EXPECT_EQ(Clicks(button->id), 0);
  Frame(60);
  EXPECT_EQ(Clicks(button->id), 1);
  Frames(30, 20);
  EXPECT_EQ(Clicks(button->id), 1);
  EXPECT_EQ(LastClickValue(), 42);
  EXPECT_EQ(button->visualState, kButtonHighlighted);
}

TEST_F(UiButtonTest, PointerThatLeftDuringTheClickLeavesTheButtonNormal) {
  CThingButton* button = Button(100, 100);
  PointAt(110, 110);
  Frame();
  Press();
  PointAt(400, 400);
  Release();
  Frames(20, 20);
  EXPECT_EQ(Clicks(button->id), 1);
  EXPECT_EQ(button->visualState, kButtonNormal);
  EXPECT_TRUE(button->hidden);  // no normal picture: invisible until the pointer is on it
}

TEST_F(UiButtonTest, PopupFreezesGameButtonsAndDropsAHighlightThePointerLeaves) {
  CThingButton* button = Button(100, 100);
  PointAt(110, 110);
  Frame();
  ASSERT_EQ(button->visualState, kButtonHighlighted);

  G().inputLevel = 100;  // a popup opened over the game
  Press();
  Release();
  Frames(20, 20);
  EXPECT_EQ(Clicks(button->id), 0);
  EXPECT_EQ(button->visualState, kButtonHighlighted);  // the pointer is still on it
  PointAt(400, 400);
  Frame();
  EXPECT_EQ(button->visualState, kButtonNormal);
  PointAt(110, 110);
  Frame();
  EXPECT_EQ(button->visualState, kButtonNormal);

  G().inputLevel = 0;  // the popup closed: the pointer on the button highlights it again
  Frame();
  EXPECT_EQ(button->visualState, kButtonHighlighted);
}

TEST_F(UiButtonTest, ClickPendingWhenAPopupOpensCompletesOnlyAfterItCloses) {
  CThingButton* button = Button(100, 100);
  PointAt(110, 110);
  Frame();
  Press();
  Release();
  G().inputLevel = 100;
  Frames(20, 20);
  EXPECT_EQ(Clicks(button->id), 0);
  G().inputLevel = 0;
  Frame();
  EXPECT_EQ(Clicks(button->id), 1);
}

TEST_F(UiButtonTest, CheckBoxFlipsAtOnceAndReportsItsNewState) {
  auto* box = Add(new CCheckBox());
  box->AttachImage(Sheet(20, 20, 2), true, kMagenta);
  box->SetPosition(300, 300);
  PointAt(305, 305);
  Press();
  EXPECT_TRUE(box->checked);
  ASSERT_EQ(Clicks(box->id), 1);
  EXPECT_EQ(LastClickValue(), 1);
  Release();
  Press();
  EXPECT_FALSE(box->checked);
  EXPECT_EQ(LastClickValue(), 0);
  Release();
  PointAt(10, 10);
  Press();
  EXPECT_FALSE(box->checked);
  EXPECT_EQ(Clicks(box->id), 2);
}

class UiKeyboardFocusTest : public UiButtonTest {
 protected:
  bool PointerOn(const CThingSprite* sprite) const {
    return platform.pointerX == static_cast<int>(sprite->x) &&
           platform.pointerY == static_cast<int>(sprite->y) && mouse->x == sprite->x && mouse->y == sprite->y;
  }
};

TEST_F(UiKeyboardFocusTest, ArrowsVisitTheButtonsInListOrderAndWrapAround) {
  CThingButton* first = Button(10, 10);
  CThingButton* skipped = Button(10, 30);
  skipped->keyboardSelectable = false;
  CThingButton* second = Button(10, 50);
  CThingButton* last = Button(10, 90);
  Frame();

  Key(vk::Down);  // nothing under the pointer: the last one
  EXPECT_TRUE(PointerOn(last));
  Key(vk::Right);
  EXPECT_TRUE(PointerOn(first));
  Key(vk::Down);
  EXPECT_TRUE(PointerOn(second));
  Key(vk::Up);
  EXPECT_TRUE(PointerOn(first));
  Key(vk::Left);
  EXPECT_TRUE(PointerOn(last));
  EXPECT_TRUE(Logged("Wrap to last.."));
  PointAt(600, 400);
  Key(vk::Up);  // nothing under the pointer: the first one
  EXPECT_TRUE(PointerOn(first));
}

TEST_F(UiKeyboardFocusTest, OnlyButtonsOfTheOpenPopupTakeTheFocus) {
  Button(10, 10);
  G().inputLevel = 100;
  CThingButton* popupButton = Button(300, 300);
  Key(vk::Down);
  EXPECT_TRUE(PointerOn(popupButton));
  Key(vk::Down);
  EXPECT_TRUE(PointerOn(popupButton));
}

TEST_F(UiKeyboardFocusTest, EnterAndSpaceClickTheButtonUnderThePointer) {
  CThingButton* button = Button(200, 200);
  CThingButton* other = Button(200, 260);
  Key(vk::Up);
  ASSERT_TRUE(PointerOn(button));
  Key(vk::Enter);
  EXPECT_EQ(button->visualState, kButtonPressed);
  EXPECT_EQ(platform.pointerX, 640);  // the pointer gets out of the way
  EXPECT_EQ(platform.pointerY, 480);
  Frames(20, 20);
  EXPECT_EQ(Clicks(button->id), 1);
  EXPECT_EQ(Clicks(other->id), 0);

  Key(vk::Down);
  ASSERT_TRUE(PointerOn(other));
  Key(vk::Space);
  Frames(20, 20);
  EXPECT_EQ(Clicks(other->id), 1);

  // Under a popup the button's own gate refuses the simulated press.
  Key(vk::Up);
  G().inputLevel = 100;
  Key(vk::Enter);
  G().inputLevel = 0;
  Frames(20, 20);
  EXPECT_EQ(Clicks(button->id), 1);
}

TEST_F(UiKeyboardFocusTest, EnterTicksACheckBox) {
  auto* box = Add(new CCheckBox());
  box->AttachImage(Sheet(20, 20, 2), true, kMagenta);
  box->SetPosition(50, 60);
  Key(vk::Down);
  Key(vk::Enter);
  EXPECT_TRUE(box->checked);
}

class UiMenuCommandTest : public UiButtonTest {};

TEST_F(UiMenuCommandTest, ClickedMenuButtonOpensAndClosesTheHelpPopup) {
  auto* help = Button<CMenuBut>(420, 287, kCmdHelp);
  PointAt(430, 290);
  Frame();
  Press();
  Release();
  Frames(15, 20);
  EXPECT_NE(G().things->FindByName("helpbg"), nullptr);
  auto* back = dynamic_cast<CMenuBut*>(G().things->FindByName("help_go_back"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->command, kCmdHelpBack);
  EXPECT_EQ(back->layer, 502);
  EXPECT_EQ(G().inputLevel, 100);
  EXPECT_FALSE(help->InputAllowed());

  EXPECT_TRUE(RunMenuCommand(kCmdHelpBack));
  Frame();
  EXPECT_EQ(G().things->FindByName("helpbg"), nullptr);
  EXPECT_EQ(G().things->FindByName("help_go_back"), nullptr);
  EXPECT_EQ(G().inputLevel, 0);
}

TEST_F(UiMenuCommandTest, QuitAndVisitReachThePlatform) {
  EXPECT_TRUE(RunMenuCommand(kCmdQuit));
  PlatformEvent event;
  ASSERT_TRUE(platform.PollEvent(event));
  EXPECT_EQ(event.type, PlatformEventType::Quit);
  EXPECT_EQ(event.exitCode, 0);

  EXPECT_TRUE(RunMenuCommand(kCmdVisitWebSite));
  ASSERT_EQ(platform.openedLinks.size(), 1u);
  EXPECT_EQ(platform.openedLinks[0], std::string("http://") + WebAddress());
  std::stringstream shortcut;
  shortcut << std::ifstream("temp.url").rdbuf();
  EXPECT_EQ(shortcut.str(), std::string("[InternetShortcut]\nURL=http://") + WebAddress() + "\n");
}

TEST_F(UiMenuCommandTest, PlayOpensTheChooserAndBoardCommandsNeedABoard) {
  // Without its pictures the high-score screen cannot be built: it says so and closes at once.
  EXPECT_TRUE(RunMenuCommand(kCmdHallOfFame));
  EXPECT_TRUE(Logged("Unable to init the high-score screen"));
  EXPECT_TRUE(RunMenuCommand(kCmdJumble));
  EXPECT_TRUE(Logged("Couldn't find tile board object"));
  Frame();
  EXPECT_EQ(G().inputLevel, 0);
  EXPECT_TRUE(G().screens.empty());
  // Without a saved game, play opens the difficulty chooser above the title.
  EXPECT_TRUE(RunMenuCommand(kCmdPlay));
  Frame();
  EXPECT_EQ(G().inputLevel, 100);
  EXPECT_EQ(G().screens.size(), 1u);
  EXPECT_NE(G().things->FindByName("Normal"), nullptr);
  EXPECT_FALSE(RunMenuCommand(99));
}

TEST_F(UiMenuCommandTest, EscapeClosesTheQuitQuestionWithoutAnswering) {
  G().inputLevel = 100;
  auto* giveUp = Add(new CThingSprite());
  giveUp->SetName("giveup");
  auto* no = Button<CMenuBut>(300, 300, kCmdQuitNo);
  no->SetName("quit_no");
  auto* yes = Button<CMenuBut>(150, 300, kCmdQuitYes);
  yes->SetName("quit_yes");
  Char(27);
  Frame();
  EXPECT_EQ(G().things->FindByName("giveup"), nullptr);
  EXPECT_EQ(G().things->FindByName("quit_no"), nullptr);
  EXPECT_EQ(G().things->FindByName("quit_yes"), nullptr);
  EXPECT_EQ(G().inputLevel, 0);
  EXPECT_FALSE(Logged("Saving and leaving a game"));
}

}  // namespace
}  // namespace spellcrypt
