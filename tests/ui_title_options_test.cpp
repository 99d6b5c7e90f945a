// The title page, the options page with its question and notices, and the quick tips.
#include <cstring>
#include <filesystem>

#include "app/game_loop.h"
#include "tests/ui_test_support.h"
#include "ui/menus/screen_options.h"
#include "ui/menus/screen_tip.h"
#include "ui/menus/screen_title.h"
#include "ui/menus/screen_yes_no.h"
#include "ui/widgets/button.h"
#include "ui/widgets/check_box.h"
#include "ui/widgets/menu_button.h"
#include "ui/widgets/spider_spawn.h"
#include "ui/widgets/text_box.h"

namespace spellcrypt {
namespace {

class UiMenuScreensTest : public UiTest {
 protected:
  // Live things of a class, in list order; with an owner, only that screen's members.
  template <typename T>
  std::vector<T*> Things(const Screen* owner = nullptr) {
    std::vector<T*> found;
    G().things->ForEachLive([&](CThing* thing) {
      if (auto* t = dynamic_cast<T*>(thing); t != nullptr && (owner == nullptr || thing->owner == owner)) {
        found.push_back(t);
      }
    });
    return found;
  }
  void PostMessageToAll(int type, int value = 0) { G().PostMessage(type, 0, nullptr, value); }
  void PostMessageTo(MessageReceiver* receiver, int type, int value) {
    G().PostMessage(type, 0, receiver, value);
  }
  template <typename T>
  T* Top() {
    return dynamic_cast<T*>(G().TopScreen());
  }
  // Clicks a widget. Its pictures are put in place first (small plain ones), so that the pointer
  // can hit it.
  void ClickOn(CThingSprite* widget) {
    if (auto* button = dynamic_cast<CThingButton*>(widget)) {
      for (const char* picture : {button->normalImage, button->overImage, button->pressedImage}) {
        if (picture[0] != '\0') WriteBmp(picture, 40, 20);
      }
    }
    if (!widget->HasImage()) widget->AttachImage(Sheet(40, 20, 2), false, kMagenta);
    PointAt(static_cast<int>(widget->x) + 2, static_cast<int>(widget->y) + 2);
    Frame();
    Press();
    Release();
    Frames(15, 20);
  }
  void OpenOptionsFromTitle() {
    ASSERT_TRUE(GoToTitle());
    Frame();
    ASSERT_TRUE(RunMenuCommand(kCmdOptions));
    Frame();
    options = Top<ScreenOptions>();
    ASSERT_NE(options, nullptr);
    boxes = Things<CCheckBox>(options);
    buttons = Things<CMenuBut>(options);
    ASSERT_EQ(boxes.size(), 4u);
    ASSERT_EQ(buttons.size(), 3u);
  }
  ScreenOptions* options = nullptr;
  std::vector<CCheckBox*> boxes;   // full screen, sound, music, word meanings
  std::vector<CMenuBut*> buttons;  // reset tips, reset scores, back
};

TEST_F(UiMenuScreensTest, TitleHasItsMenuInOrderInvisibleUntilPointedAt) {
  ASSERT_TRUE(GoToTitle());
  Frame();
  ASSERT_NE(Top<ScreenTitle>(), nullptr);
  std::vector<int> commands;
  for (CMenuBut* button : Things<CMenuBut>()) {
    commands.push_back(button->command);
    EXPECT_EQ(button->layer, 3);
    EXPECT_EQ(button->owner, nullptr);
  }
  EXPECT_EQ(commands, (std::vector<int>{kCmdPlay, kCmdOptions, kCmdHelp, kCmdHallOfFame, kCmdVisitWebSite,
                                        kCmdQuit, kCmdVisitWebSite}));
  CMenuBut* play = Things<CMenuBut>().front();
  EXPECT_TRUE(play->hidden);
  EXPECT_STREQ(play->normalImage, "");
  EXPECT_STREQ(play->overImage, "graphics\\title_play.bmp");
  CMenuBut* logo = Things<CMenuBut>().back();
  EXPECT_FALSE(logo->keyboardSelectable);
  EXPECT_FALSE(logo->playHighlightSound);
  EXPECT_TRUE(logo->fading);
  EXPECT_LT(logo->translucency, 256.0f);

  auto* spiders = dynamic_cast<CSpiderSpawn*>(G().things->FindByName("spiders"));
  ASSERT_NE(spiders, nullptr);
  EXPECT_EQ(spiders->layer, 100);
  const std::vector<CTextBox*> texts = Things<CTextBox>();
  ASSERT_EQ(texts.size(), 1u);  // the usual word list: no word-list line
  ASSERT_EQ(texts[0]->Lines().size(), 1u);
  EXPECT_EQ(texts[0]->Lines()[0], "v 2.05");

  // The arrow keys visit play to quit and skip the logo.
  Key(vk::Down);
  EXPECT_EQ(platform.pointerX, 523);
  EXPECT_EQ(platform.pointerY, 407);
  Key(vk::Down);
  EXPECT_EQ(platform.pointerX, 522);
  EXPECT_EQ(platform.pointerY, 208);

  PostMessageToAll(MsgCloseTitle);
  Frame();
  EXPECT_TRUE(G().screens.empty());
  EXPECT_EQ(G().things->FindByName("spiders"), nullptr);
}

TEST_F(UiMenuScreensTest, UnusualWordListIsNamedOnTheTitle) {
  std::strcpy(App().wordListPath, "/tmp/words.txt");
  ASSERT_TRUE(GoToTitle());
  Frame();
  const std::vector<CTextBox*> texts = Things<CTextBox>();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1]->Lines()[0], "Using wordlist /tmp/words.txt.");
}

TEST_F(UiMenuScreensTest, OptionsSwitchSoundAndMusicAndGoBack) {
  OpenOptionsFromTitle();
  EXPECT_EQ(G().inputLevel, 100);
  EXPECT_EQ(G().things->FindByName("spiders")->layer, 503);
  ASSERT_FALSE(App().settings->soundOff);
  EXPECT_TRUE(boxes[1]->checked);
  ClickOn(boxes[1]);
  EXPECT_EQ(App().settings->soundOff, 1);
  ClickOn(boxes[2]);
  EXPECT_EQ(App().settings->musicOff, 1);
  ClickOn(boxes[2]);
  EXPECT_EQ(App().settings->musicOff, 0);

  // The title's buttons stay quiet under the options page.
  ClickOn(Things<CMenuBut>(nullptr).front());
  EXPECT_FALSE(Logged("Playing a game"));

  ClickOn(buttons[2]);
  Frame();
  EXPECT_NE(Top<ScreenTitle>(), nullptr);
  EXPECT_EQ(G().inputLevel, 0);
  EXPECT_EQ(G().things->FindByName("spiders")->layer, 4);
}

TEST_F(UiMenuScreensTest, MeaningsBoxSwitchesThemAndKeepsTheChoiceInItsOwnFile) {
  OpenOptionsFromTitle();
  EXPECT_TRUE(boxes[3]->checked);
  ClickOn(boxes[3]);
  EXPECT_FALSE(App().preferences.showMeanings);
  EXPECT_EQ(testing::ReadBytes("preferences.txt").size(),
            std::string("# Spellcrypt preferences\nmeanings=off\n").size());
  ClickOn(boxes[3]);
  EXPECT_TRUE(App().preferences.showMeanings);
  App().preferences.showMeanings = false;
  App().LoadSettings();
  EXPECT_TRUE(App().preferences.showMeanings);
}

TEST_F(UiMenuScreensTest, FullScreenBoxSwitchesTheDisplayAndFollowsAltEnter) {
  App().settings->fullscreen = 0;
  OpenOptionsFromTitle();
  EXPECT_FALSE(boxes[0]->checked);
  ClickOn(boxes[0]);
  EXPECT_EQ(G().colourDepth, 32);
  EXPECT_EQ(App().settings->fullscreen, 1);
  EXPECT_TRUE(Logged("Toggling fullscreen."));
  // Alt+Enter on the page: the box follows the display.
  PlatformEvent toggle;
  toggle.type = PlatformEventType::ToggleFullscreen;
  HandleWindowEvent(toggle);
  EXPECT_EQ(G().colourDepth, 0);
  EXPECT_FALSE(boxes[0]->checked);
}

TEST_F(UiMenuScreensTest, ResetTipsShowsANoticeAndEveryTipComesBackOnce) {
  OpenOptionsFromTitle();
  App().settings->tipShown[0] = 1;
  App().settings->tipShown[5] = 1;
  ClickOn(buttons[0]);
  EXPECT_EQ(App().settings->tipShown[0], 0);
  EXPECT_EQ(App().settings->tipShown[5], 0);
  EXPECT_EQ(G().inputLevel, 200);
  auto* notice = Top<ScreenContinue>();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->text, "Quick tips have been reset and will be shown again.");
  Char(13);
  Frame();
  EXPECT_EQ(Top<ScreenOptions>(), options);
  EXPECT_EQ(G().inputLevel, 100);

  ClickOn(buttons[2]);
  EXPECT_TRUE(ShowTip(5, -1));
  Frame();
  EXPECT_NE(Top<ScreenTip>(), nullptr);
}

TEST_F(UiMenuScreensTest, ResetScoresAnsweredNoChangesNothingAndYesClearsThem) {
  for (const char* file : {"scores_easy.dat", "scores_normal.dat", "scores_hard.dat"}) {
    testing::WriteText(file, "a table");
  }
  for (const char* picture :
       {"graphics\\yes.bmp", "graphics\\yes_over.bmp", "graphics\\no.bmp", "graphics\\no_over.bmp"}) {
    WriteBmp(picture, 40, 20);
  }
  OpenOptionsFromTitle();
  ClickOn(buttons[1]);
  auto* question = Top<ScreenYesNo>();
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(question->question, "Completely erase all local high scores?");
  EXPECT_EQ(G().inputLevel, 200);
  Char(13);  // a typed Enter character does not answer
  Frame();
  ASSERT_EQ(Top<ScreenYesNo>(), question);
  Char(27);  // Escape answers no
  Char(27);  // and only once
  Frame();
  EXPECT_EQ(Top<ScreenOptions>(), options);
  EXPECT_EQ(G().inputLevel, 100);
  EXPECT_FALSE(Logged("Clearing highscores"));

  // The Enter key with no button highlighted presses the answer that erases nothing.
  ClickOn(buttons[1]);
  ASSERT_NE(Top<ScreenYesNo>(), nullptr);
  PointAt(0, 0);
  Frame();
  Key(vk::Enter);
  Frames(15, 20);
  EXPECT_EQ(Top<ScreenOptions>(), options);
  EXPECT_FALSE(Logged("Clearing highscores"));

  // With the pointer on yes, Enter presses yes.
  ClickOn(buttons[1]);
  question = Top<ScreenYesNo>();
  ASSERT_NE(question, nullptr);
  const std::vector<CMenuBut*> answers = Things<CMenuBut>(question);
  ASSERT_EQ(answers.size(), 2u);
  PointAt(static_cast<int>(answers[0]->x) + 2, static_cast<int>(answers[0]->y) + 2);
  Frame();
  Key(vk::Enter);
  Frames(15, 20);
  EXPECT_EQ(CountLogged("Clearing highscores"), 1);
  for (const char* file : {"scores_easy.dat", "scores_normal.dat", "scores_hard.dat"}) {
    EXPECT_FALSE(std::filesystem::exists(file)) << file;
  }
  auto* notice = Top<ScreenContinue>();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->text, "Local highscores have been reset to defaults.  Now go fill 'em up!");
  EXPECT_EQ(G().inputLevel, 200);
  Char(27);
  Frame();
  EXPECT_EQ(Top<ScreenOptions>(), options);
  EXPECT_EQ(G().inputLevel, 100);
}

TEST_F(UiMenuScreensTest, ResetScoresNeverClaimsSuccessItDidNotHave) {
  // A score file the game cannot delete (here a folder of that name with something in it).
  std::filesystem::create_directories("scores_normal.dat/kept");
  OpenOptionsFromTitle();
  ClickOn(buttons[1]);
  auto* question = Top<ScreenYesNo>();
  ASSERT_NE(question, nullptr);
  ClickOn(Things<CMenuBut>(question)[0]);
  auto* notice = Top<ScreenContinue>();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->text, "The local high scores could not be erased.  See log.txt for why.");
  EXPECT_TRUE(Logged("Couldn't delete scores_normal.dat."));
}

TEST_F(UiMenuScreensTest, EachTipShowsOnceAndGivesTheInputLevelBack) {
  G().inputLevel = 100;
  PostMessageTo(&App(), MsgShowTip, 2);
  Frame();
  auto* tip = Top<ScreenTip>();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->tip, 2);
  EXPECT_EQ(G().inputLevel, 1000);
  Char(27);
  Frame(100);
  ASSERT_EQ(Top<ScreenTip>(), tip);  // it slides out first
  Frames(30, 20);
  EXPECT_TRUE(G().screens.empty());
  EXPECT_EQ(G().inputLevel, 100);
  EXPECT_TRUE(ShowTip(2, -1));
  Frame();
  EXPECT_TRUE(G().screens.empty());
  EXPECT_FALSE(ShowTip(6, -1));
  EXPECT_FALSE(ShowTip(-1, -1));
}

TEST_F(UiMenuScreensTest, TwoTipsAtOnceLeaveTheGameUsableAfterwards) {
  ShowTip(3, -1);
  ShowTip(5, -1);
  Frame();
  ASSERT_EQ(G().screens.size(), 2u);
  Char(13);
  Frames(40, 20);
  ASSERT_EQ(G().screens.size(), 1u);
  EXPECT_EQ(G().inputLevel, 1000);  // the second tip still holds the input
  Char(13);
  Frames(40, 20);
  EXPECT_TRUE(G().screens.empty());
  EXPECT_EQ(G().inputLevel, 0);
}

}  // namespace
}  // namespace spellcrypt
