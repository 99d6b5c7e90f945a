// Frame timing on the virtual clock: delta, its cap and reset, the FPS count, interval timers.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "base/timing.h"
#include "tests/test_support.h"

namespace spellcrypt {
namespace {

class FrameTimingTest : public testing::HeadlessFixture {
 protected:
  FrameTimingTest() : HeadlessFixture(false) {}
  // Runs the first frame (delta 0, since a new global object asks for a reset).
  void SetUp() override {
    HeadlessFixture::SetUp();
    UpdateFrameTiming();
    ASSERT_EQ(GetGlobals().delta, 0.0f);
  }
  float FrameAfter(std::uint32_t ms) {
    platform_.Advance(ms);
    UpdateFrameTiming();
    return GetGlobals().delta;
  }
};

TEST_F(FrameTimingTest, DeltaCountsStepsOf13Point3Milliseconds) {
  EXPECT_NEAR(FrameAfter(20), 20.0f / 13.3f, 1e-5);
  EXPECT_NEAR(FrameAfter(20), 1.504f, 1e-3);
  EXPECT_NEAR(FrameAfter(133), 8.0f, 1e-6);  // 10 steps, capped at 8
  EXPECT_EQ(FrameAfter(60000), 8.0f);
}

TEST_F(FrameTimingTest, AFrameNeverSeesAZeroInterval) {
  // No time passed since the last frame: the update waits (yields) until the clock moves.
  const std::uint32_t before = GetGlobals().now;
  UpdateFrameTiming();
  EXPECT_GE(GetGlobals().now - before, 1u);
  EXPECT_GT(GetGlobals().delta, 0.0f);
}

TEST_F(FrameTimingTest, ResetMakesTheNextDeltaZeroAndTimesTheOneAfterFromIt) {
  FrameAfter(20);
  ResetDelta();
  EXPECT_EQ(FrameAfter(500), 0.0f);
  EXPECT_NEAR(FrameAfter(20), 20.0f / 13.3f, 1e-5);
}

TEST_F(FrameTimingTest, FpsIsCountedOncePerSecond) {
  CGlobals& g = GetGlobals();
  int updates = 0;
  std::uint32_t lastUpdate = g.nextFpsTime;
  for (int frame = 0; frame < 250; ++frame) {  // four seconds
    FrameAfter(1000 / 60);
    if (g.nextFpsTime != lastUpdate) {
      ++updates;
      EXPECT_EQ(g.nextFpsTime, g.now + 1000);
      EXPECT_EQ(g.framesThisSecond, 0);
      lastUpdate = g.nextFpsTime;
      if (updates > 1) {
        EXPECT_NEAR(g.fps, 62.5f, 1.0f) << "16 ms frames";
      }
    }
  }
  EXPECT_GE(updates, 3);
  EXPECT_LE(updates, 4);
}

TEST_F(FrameTimingTest, IntervalTimerNeverSetIsAlwaysReady) {
  IntervalTimer timer(platform_);
  EXPECT_TRUE(timer.IsReady());
  EXPECT_TRUE(timer.IsReady());
  platform_.Advance(1);
  EXPECT_TRUE(timer.IsReady());
}

TEST_F(FrameTimingTest, IntervalTimerReadyAfterItsIntervalThenRestarts) {
  IntervalTimer timer(platform_);
  timer.SetInterval(2000);
  platform_.Advance(1999);
  EXPECT_FALSE(timer.IsReady());
  platform_.Advance(1);
  EXPECT_TRUE(timer.IsReady());
  platform_.Advance(1999);
  EXPECT_FALSE(timer.IsReady());
  platform_.Advance(5);
  EXPECT_TRUE(timer.IsReady());
  // Found ready late, the next interval still begins at the moment it was found ready.
  platform_.Advance(1999);
  EXPECT_FALSE(timer.IsReady());
}

TEST_F(FrameTimingTest, ClockMsCountsFromTheClockSetUp) {
  const std::uint32_t start = ClockMs();
  platform_.Advance(1234);
  EXPECT_EQ(ClockMs() - start, 1234u);
}

}  // namespace
}  // namespace spellcrypt
