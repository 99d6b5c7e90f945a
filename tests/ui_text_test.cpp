// Text widgets: word wrap, text box scrolling (wheel, slider, buttons), the text input, the
// message line and the big message.
#include <string>

#include "app/game_loop.h"
#include "tests/ui_test_support.h"
#include "ui/framework/text_wrap.h"
#include "ui/widgets/big_message.h"
#include "ui/widgets/slider.h"
#include "ui/widgets/text_box.h"
#include "ui/widgets/text_input.h"
#include "ui/widgets/thing_message.h"

namespace spellcrypt {
namespace {

// Every character 10 pixels wide.
int TenEach(std::string_view text) { return static_cast<int>(text.size()) * 10; }

TEST(UiWrapTextTest, BreaksBeforeTheLastSpaceThatFitsAndDropsIt) {
  EXPECT_EQ(WrapText("the quick brown fox", 100, TenEach),
            (std::vector<std::string>{"the quick", "brown fox"}));
  EXPECT_EQ(WrapText("short", 100, TenEach), (std::vector<std::string>{"short"}));
  EXPECT_EQ(WrapText("", 100, TenEach), (std::vector<std::string>{}));
}

TEST(UiWrapTextTest, LineEndsEndLinesAndLeaveNoReturnsBehind) {
  EXPECT_EQ(WrapText("one\ntwo\r\nthree\n\rfour\n\nfive", 100, TenEach),
            (std::vector<std::string>{"one", "two", "three", "four", "", "five"}));
}

TEST(UiWrapTextTest, WordWiderThanTheBoxIsCutAfterItsLastFittingCharacter) {
  EXPECT_EQ(WrapText("abcdefghijkl mn", 50, TenEach), (std::vector<std::string>{"abcde", "fghij", "kl mn"}));
  // Narrower than one letter: still one letter a line, never stuck.
  EXPECT_EQ(WrapText("abc", 5, TenEach), (std::vector<std::string>{"a", "b", "c"}));
  // A font without glyphs measures -1: nothing is wrapped but line ends.
  EXPECT_EQ(WrapText("a b c\nd", 1, [](std::string_view) { return -1; }),
            (std::vector<std::string>{"a b c", "d"}));
}

class UiTextBoxTest : public UiTest {
 protected:
  CTextBox* BoxOfLines(int count) {
    auto* box = Add(new CTextBox());
    for (int i = 0; i < count; ++i) box->AddLine("line " + std::to_string(i));
    return box;
  }
};

TEST_F(UiTextBoxTest, TwentyFiveLinesInTenScrollFromZeroToFifteen) {
  CTextBox* box = BoxOfLines(25);
  ASSERT_EQ(box->VisibleLines(), 10);
  box->Scroll(-3);
  EXPECT_EQ(box->ScrollPos(), 0);
  box->Scroll(100);
  EXPECT_EQ(box->ScrollPos(), 15);
  box->ScrollToFraction(0.5f);
  EXPECT_EQ(box->ScrollPos(), 7);
  box->ScrollToFraction(0.0f);
  EXPECT_EQ(box->ScrollPos(), 0);
  CTextBox* fits = BoxOfLines(4);
  fits->Scroll(2);
  EXPECT_EQ(fits->ScrollPos(), 0);
}

TEST_F(UiTextBoxTest, WheelTowardTheUserScrollsDownEvenUnderAPopup) {
  CTextBox* box = BoxOfLines(25);
  Wheel(1);
  EXPECT_EQ(box->ScrollPos(), 1);
  G().inputLevel = 100;
  Wheel(2);
  EXPECT_EQ(box->ScrollPos(), 3);
  Wheel(-1);
  EXPECT_EQ(box->ScrollPos(), 2);
}

TEST_F(UiTextBoxTest, ScrollButtonsMoveAPageAndFollowTheBox) {
  CTextBox* box = BoxOfLines(25);
  box->SetPosition(100, 50);
  auto* up = Add(new CThingSprite());
  auto* down = Add(new CThingSprite());
  box->SetUpButton(up->id, 300, 0);
  box->SetDownButton(down->id, 300, 200);
  EXPECT_EQ(down->x, 400.0f);
  EXPECT_EQ(down->y, 250.0f);
  G().things->BroadcastInput(InputClicked, down->id, 0);
  EXPECT_EQ(box->ScrollPos(), 10);
  G().things->BroadcastInput(InputClicked, up->id, 0);
  EXPECT_EQ(box->ScrollPos(), 0);
  // The buttons go with the box.
  const int upId = up->id;
  G().things->KillById(box->id);
  Frame();
  EXPECT_EQ(G().things->FindById(upId), nullptr);
}

TEST_F(UiTextBoxTest, SliderFollowsTheTextAndTheTextFollowsADrag) {
  CTextBox* box = BoxOfLines(25);
  box->AttachSlider("graphics\\knob.bmp", 400, 20, 100);
  CSlider* slider = box->Slider();
  ASSERT_NE(slider, nullptr);
  slider->AttachImage(Sheet(16, 16), true, kMagenta);
  Frame();
  // One notch at a time must not be pulled back by the slider's rounding.
  for (int i = 1; i <= 15; ++i) {
    Wheel(1);
    Frame();
    EXPECT_EQ(box->ScrollPos(), i);
  }
  EXPECT_EQ(static_cast<int>(slider->y), 20 + 100);

  // Dragging the knob halfway up scrolls the text with it.
  PointAt(405, 125);
  Press();
  PointAt(405, 75);
  Frame();
  Frame();
  Release();
  EXPECT_EQ(static_cast<int>(slider->y), 70);
  EXPECT_EQ(box->ScrollPos(), 7);
}

class UiFontTextTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    WriteFont("graphics\\font\\font_summary.bmp", 32);
    LoadFonts();
  }
};

TEST_F(UiFontTextTest, OverWideWordIsCutAtTheLastLetterThatFitsTheBox) {
  auto* box = Add(new CTextBox());
  box->SetFont(&App().summaryFont);
  box->SetArea(0, 0, 100, 200);  // letters advance 15 pixels: six fit
  box->AddText("abcdefghij ab");
  EXPECT_EQ(box->Lines(), (std::vector<std::string>{"abcdef", "ghij ab"}));
  EXPECT_EQ(box->VisibleLines(), 200 / (32 - 10));
  // Drawn inside the area only.
  box->SetPosition(100, 100);
  Frame();
  EXPECT_GT(InkIn(100, 100, 200, 300), 0);
  EXPECT_EQ(InkIn(200, 100, 640, 480), 0);
}

TEST_F(UiFontTextTest, BigMessageKeepsItsTextWhenTheDisplayIsRebuilt) {
  WriteBmp("graphics\\popup.jpg", 380, 190, 0x604020);
  auto* big = Add(new CBigMessage());
  ASSERT_TRUE(big->LoadImage("graphics\\popup.jpg", false, kMagenta));
  big->SetPosition(130, 143);
  big->SetText("Paused");
  Frame();
  const int ink = InkIn(130, 143 + 67, 510, 143 + 67 + 32);
  EXPECT_GT(ink, 0);
  // Alt+Enter reloads every picture from its file; the text is written again.
  PlatformEvent toggle;
  toggle.type = PlatformEventType::ToggleFullscreen;
  HandleWindowEvent(toggle);
  Frame();
  EXPECT_EQ(InkIn(130, 143 + 67, 510, 143 + 67 + 32), ink);
}

class UiTextInputTest : public UiTest {};

TEST_F(UiTextInputTest, TwentyLongInputKeepsNineteenCharacters) {
  auto* input = Add(new CTextInput());
  for (char c : std::string("abcdefghijklmnopqrstuvwxyz")) Char(c);
  EXPECT_STREQ(input->text, "abcdefghijklmnopqrs");
  Char(27);  // Escape changes nothing
  EXPECT_STREQ(input->text, "abcdefghijklmnopqrs");
  for (int i = 0; i < 25; ++i) Char(8);
  EXPECT_STREQ(input->text, "");
  input->maxLength = 100000;  // never past the buffer
  for (int i = 0; i < 300; ++i) Char('x');
  EXPECT_EQ(std::string(input->text).size(), sizeof input->text - 1);
}

TEST_F(UiTextInputTest, EnterAnnouncesTheTextAndInputUnderAPopupIsIgnored) {
  auto* probe = Add(new InputProbe());
  auto* input = Add(new CTextInput());
  input->SetText("Merlin");
  Char(13);
  EXPECT_EQ(probe->Count(InputTextEntered), 1);
  G().inputLevel = 100;
  Char('x');
  Char(13);
  EXPECT_STREQ(input->text, "Merlin");
  EXPECT_EQ(probe->Count(InputTextEntered), 1);
}

class UiMessageLineTest : public UiTest {
 protected:
  // Whether the message is still showing after `ms` (the line draws, and times out, every frame).
  CThingMessage* line = nullptr;
  void SetUp() override {
    UiTest::SetUp();
    line = Add(new CThingMessage());
  }
};

// The line's time is time of play, run here in frames of 10 ms.
TEST_F(UiMessageLineTest, ShowsForTwoSecondsOrEightyMillisecondsACharacter) {
  ShowMessage("0123456789");
  Frames(198, 10);
  EXPECT_EQ(line->active, 1);
  Frames(3, 10);
  EXPECT_EQ(line->active, 0);

  ShowMessage(std::string(30, 'x').c_str());
  Frames(238, 10);
  EXPECT_EQ(line->active, 1);
  Frames(3, 10);
  EXPECT_EQ(line->active, 0);
}

TEST_F(UiMessageLineTest, APauseKeepsTheRestOfTheLinesTimeForAfterIt) {
  ShowMessage("You are attacked by a Skeleton!\r\n");  // 2,640 ms
  Frames(100, 10);
  G().inputLevel = 1000;  // a quick tip over the fight
  Frames(1000, 10);
  G().inputLevel = 0;
  Frames(160, 10);
  EXPECT_EQ(line->active, 1) << "its time ran while the tip was up";
  Frames(8, 10);
  EXPECT_EQ(line->active, 0);
}

TEST_F(UiMessageLineTest, FiveHundredTwelveCharactersFitAndOneMoreIsRefused) {
  const std::string longest(512, 'a');
  ShowMessage(longest.c_str());
  EXPECT_EQ(std::string(line->text), longest);
  ShowStickyMessage(std::string(513, 'b').c_str());
  EXPECT_TRUE(Logged("ERROR - ") && Logged("CThingMessage:  Message is too large!"));
  EXPECT_EQ(std::string(line->text), longest);
  EXPECT_FALSE(line->sticky);
}

TEST_F(UiMessageLineTest, StickyStaysAndAGivenTimeReplacesTheComputedOne) {
  ShowStickyMessage("Stay");
  Frames(500, 10);
  EXPECT_EQ(line->active, 1);
  ShowMessageFor("Brief", 500);
  EXPECT_FALSE(line->sticky);
  Frames(52, 10);
  EXPECT_EQ(line->active, 0);
  ShowMessageFor("Default", 0);
  Frames(198, 10);
  EXPECT_EQ(line->active, 1);
}

TEST_F(UiMessageLineTest, WithoutTheMessageLineNothingIsShown) {
  G().things->KillByPointer(line);
  Frame();
  ShowMessage("lost");
  EXPECT_TRUE(Logged("Unable to show message, CThingMessage not initted yet I guess."));
}

TEST_F(UiMessageLineTest, BigMessageTakesFiveHundredTwelveCharactersAndNoMore) {
  auto* big = Add(new CBigMessage());
  big->SetSticky(true);
  big->SetText(std::string(512, 'c').c_str());
  EXPECT_EQ(std::string(big->text).size(), 512u);
  EXPECT_FALSE(big->sticky);
  big->SetText(std::string(513, 'd').c_str());
  EXPECT_TRUE(Logged("CBigMessage:  Message is too large!"));
  EXPECT_EQ(big->text[0], 'c');
}

}  // namespace
}  // namespace spellcrypt
