// Sprite things: motion, fades, animation modes, hit testing, hover and press tracking, and the
// input gate that keeps things under a popup (or of another screen) quiet.
#include <cmath>

#include "app/game_loop.h"
#include "gfx/dx_screen.h"
#include "tests/ui_test_support.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing_list.h"
#include "ui/framework/thing_mouse.h"

namespace spellcrypt {
namespace {

class UiSpriteTest : public UiTest {};

TEST_F(UiSpriteTest, HeadingPiMovesUpAboutOnePixelPerDeltaAndHardlySideways) {
  auto* sprite = Add(new CThingSprite());
  sprite->SetPosition(100.0f, 100.0f);
  sprite->heading = 3.14f;
  sprite->speed = 1.0f;
  Frames(10, 40);  // 10 x 40 ms = 30.08 delta units
  const float travelled = 10 * 40 / 13.3f;
  EXPECT_NEAR(sprite->y, 100.0f - travelled, 0.05f);
  EXPECT_NEAR(sprite->x, 100.0f, 0.1f);
}

TEST_F(UiSpriteTest, SteadyMoveArrivesInItsTimeAndFreeMotionDoesNotFollow) {
  auto* sprite = Add(new CThingSprite());
  sprite->heading = 1.0f;
  sprite->MoveTo(100, 50, 20.0f, kMoveSteady);
  // 20 delta units at 13.3 ms each, plus a frame of slack.
  Frames(20, 14);
  EXPECT_FALSE(sprite->moving);
  EXPECT_EQ(sprite->speed, 0.0f);
  EXPECT_EQ(sprite->x, 100.0f);
  EXPECT_EQ(sprite->y, 50.0f);
  Frames(5, 40);
  EXPECT_EQ(sprite->x, 100.0f);
  EXPECT_EQ(sprite->y, 50.0f);
}

TEST_F(UiSpriteTest, EasedMoveFadeAndScaleReachTheirTargetsExactlyAndStop) {
  auto* sprite = Add(new CThingSprite());
  sprite->translucency = 255.0f;
  sprite->FadeTo(0.0f, 0.05f);
  sprite->ScaleTo(3.0f, 0.01f);
  sprite->MoveTo(-300, 200, 0.04f, kMoveEase);
  for (int i = 0; i < 2000 && (sprite->fading || sprite->scaling || sprite->moving); ++i) Frame(30);
  EXPECT_FALSE(sprite->fading);
  EXPECT_FALSE(sprite->scaling);
  EXPECT_FALSE(sprite->moving);
  EXPECT_EQ(sprite->translucency, 0.0f);
  EXPECT_EQ(sprite->scale, 3.0f);
  EXPECT_EQ(static_cast<int>(sprite->x), -300);
  EXPECT_EQ(static_cast<int>(sprite->y), 200);
}

TEST_F(UiSpriteTest, MoveOfNoTimeArrivesWithoutBreakingThePosition) {
  auto* sprite = Add(new CThingSprite());
  sprite->SetPosition(0.5f, 0.0f);
  sprite->MoveTo(0, 0, 0.0f, kMoveSteady);
  Frame(20);
  EXPECT_FALSE(std::isnan(sprite->x));
  EXPECT_FALSE(sprite->moving);
}

// The frames a sprite shows over `steps` animation steps (one every 333 ms), until it is gone.
std::vector<int> FramesShown(HeadlessPlatform& platform, int spriteId, int steps) {
  std::vector<int> shown;
  for (int i = 0; i < steps; ++i) {
    platform.Advance(340);
    RunFrame();
    auto* sprite = dynamic_cast<CThingSprite*>(GetGlobals().things->FindById(spriteId));
    if (sprite == nullptr) break;
    shown.push_back(sprite->Frame());
  }
  return shown;
}

class UiAnimationTest : public UiTest {
 protected:
  CThingSprite* Animated(int mode, int loopStart = 0, bool dieAtEnd = false) {
    auto* sprite = Add(new CThingSprite());
    sprite->AttachImage(Sheet(8, 8, 4), false, kMagenta);
    sprite->loopStart = loopStart;
    sprite->dieAtEnd = dieAtEnd;
    G().PostMessage(MsgAnimMode, 0, sprite, mode);
    sprite->animTimer.Restart();
    return sprite;
  }
};

TEST_F(UiAnimationTest, LoopReturnsToItsLoopStart) {
  CThingSprite* sprite = Animated(kAnimLoop, 1);
  EXPECT_EQ(FramesShown(platform, sprite->id, 7), (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
}

TEST_F(UiAnimationTest, PingPongTurnsAtBothEnds) {
  CThingSprite* sprite = Animated(kAnimPingPong);
  EXPECT_EQ(FramesShown(platform, sprite->id, 8), (std::vector<int>{1, 2, 3, 2, 1, 0, 1, 2}));
}

TEST_F(UiAnimationTest, PingPongOnceStopsOnFrameZeroAndCanDie) {
  CThingSprite* keeps = Animated(kAnimPingPongOnce);
  EXPECT_EQ(FramesShown(platform, keeps->id, 9), (std::vector<int>{1, 2, 3, 2, 1, 0, 0, 0, 0}));
  EXPECT_EQ(keeps->animMode, kAnimNone);
  EXPECT_FALSE(keeps->dead);

  const int dies = Animated(kAnimPingPongOnce, 0, true)->id;
  EXPECT_EQ(FramesShown(platform, dies, 9), (std::vector<int>{1, 2, 3, 2, 1, 0}));
  EXPECT_EQ(G().things->FindById(dies), nullptr);
}

TEST_F(UiAnimationTest, PlayOnceStopsOnTheLastFrame) {
  CThingSprite* sprite = Animated(kAnimPlayOnce);
  EXPECT_EQ(FramesShown(platform, sprite->id, 5), (std::vector<int>{1, 2, 3, 3, 3}));
  EXPECT_EQ(sprite->animMode, kAnimNone);
  EXPECT_TRUE(sprite->animForward);
}

TEST_F(UiSpriteTest, ScaledSpriteStartingToFadeIsDrawnTranslucentAtNaturalSize) {
  WriteBmp("graphics/square.bmp", 20, 20, 0x336699);
  auto* sprite = Add(new CThingSprite());
  ASSERT_TRUE(sprite->LoadImage("graphics\\square.bmp", false, kMagenta));
  sprite->SetPosition(100, 100);
  sprite->scale = 2.0f;
  for (float level : {0.5f, 0.0f}) {
    SCOPED_TRACE(level);
    sprite->translucency = level;
    G().display->GetBack()->Fill(0);
    sprite->Draw();
    // Translucent (whatever the level's whole part) keeps the natural size; only an opaque
    // sprite is scaled.
    const int expected = level != 0.0f ? 20 * 20 : 40 * 40;
    EXPECT_EQ(InkIn(90, 90, 160, 160, 0x336699), expected);
  }
}

TEST_F(UiSpriteTest, HitTestExcludesRightAndBottomEdges) {
  auto* sprite = Add(new CThingSprite());
  sprite->AttachImage(Sheet(30, 40), false, kMagenta);
  sprite->SetPosition(10.7f, 20.2f);  // counts as (10, 20)
  EXPECT_TRUE(sprite->HitTest(10, 20));
  EXPECT_TRUE(sprite->HitTest(39, 59));
  EXPECT_FALSE(sprite->HitTest(40, 20));
  EXPECT_FALSE(sprite->HitTest(10, 60));
  EXPECT_FALSE(sprite->HitTest(9, 20));
}

TEST_F(UiSpriteTest, HitTestWithoutAPictureMissesAndSaysSoOnce) {
  auto* sprite = Add(new CThingSprite());
  sprite->SetName("blank");
  EXPECT_FALSE(sprite->HitTest(0, 0));
  EXPECT_FALSE(sprite->HitTest(0, 0));
  EXPECT_EQ(CountLogged("Can't check against blank, has no height."), 1);
  EXPECT_FALSE(sprite->LoadImage("graphics\\missing.bmp", false, kMagenta));
  EXPECT_TRUE(Logged("ERROR - ") && Logged("Error loading graphics\\missing.bmp."));
}

class UiTrackingTest : public UiTest {
 protected:
  InputProbe* Probe() {
    auto* probe = Add(new InputProbe());
    probe->AttachImage(Sheet(50, 50), false, kMagenta);
    probe->SetPosition(100, 100);
    probe->SetMouseAware(true);
    return probe;
  }
};

TEST_F(UiTrackingTest, HoverReportsEnterAndLeaveOnce) {
  InputProbe* probe = Probe();
  PointAt(120, 120);
  Frames(3);
  EXPECT_EQ(probe->Count(InputMouseEnter), 1);
  EXPECT_TRUE(probe->hovering);
  PointAt(10, 10);
  Frames(3);
  EXPECT_EQ(probe->Count(InputMouseLeave), 1);
  EXPECT_FALSE(probe->hovering);
}

TEST_F(UiTrackingTest, PressBeginsOnlyOnTheSpriteAndEndsOnRelease) {
  InputProbe* probe = Probe();
  PointAt(10, 10);
  Press();
  Release();
  EXPECT_EQ(probe->Count(InputPressBegin), 0);
  PointAt(149, 149);
  Press();
  EXPECT_TRUE(probe->pressed);
  PointAt(10, 10);  // a drag off the sprite still ends with the release
  Release();
  EXPECT_FALSE(probe->pressed);
  EXPECT_EQ(probe->Count(InputPressBegin), 1);
  EXPECT_EQ(probe->Count(InputPressEnd), 1);
}

TEST_F(UiTrackingTest, ThingsBelowTheInputLevelNeitherHoverNorPress) {
  InputProbe* probe = Probe();
  G().inputLevel = 100;
  PointAt(120, 120);
  Frames(2);
  Press();
  EXPECT_EQ(probe->Count(InputMouseEnter), 0);
  EXPECT_EQ(probe->Count(InputPressBegin), 0);
  Release();
  G().inputLevel = 0;
  Frame();
  EXPECT_EQ(probe->Count(InputMouseEnter), 1);
}

class QuietScreen : public Screen {
 public:
  bool HandleInput(int, const InputEvent*) override { return false; }
};

TEST_F(UiTrackingTest, ThingsOfAScreenThatIsNotOnTopIgnoreInput) {
  auto* lower = new QuietScreen();
  lower->Start();
  Frame();
  InputProbe* probe = Probe();
  probe->owner = lower;
  auto* upper = new QuietScreen();
  upper->Start();
  Frame();
  ASSERT_EQ(G().TopScreen(), upper);
  PointAt(120, 120);
  Frame();
  Press();
  EXPECT_EQ(probe->Count(InputMouseEnter), 0);
  EXPECT_EQ(probe->Count(InputPressBegin), 0);
  Release();
  upper->Close();
  Frames(2);
  EXPECT_EQ(probe->Count(InputMouseEnter), 1);
}

TEST_F(UiTrackingTest, PointerFollowsWindowMovesOnlyWhenWindowed) {
  PointAt(200, 300);
  EXPECT_EQ(mouse->x, 200.0f);
  EXPECT_EQ(mouse->y, 300.0f);
  // Full screen: the pointer thing polls the platform instead of following move events.
  G().colourDepth = 32;
  PointAt(5, 6);
  EXPECT_EQ(mouse->x, 200.0f);
  Frame();
  EXPECT_EQ(mouse->x, 5.0f);
  EXPECT_EQ(mouse->y, 6.0f);
}

}  // namespace
}  // namespace spellcrypt
