// Showing frames in the SDL window: which frames and rows go to the display, how long the loop
// rests after a frame, and both together in a real SDL window on the dummy video driver.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <vector>

#include "platform/sdl_platform.h"

namespace spellcrypt {
namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 6;
constexpr int kPitch = 10;  // two pixels of padding after each row

std::vector<std::uint32_t> Frame(std::uint32_t colour) {
  return std::vector<std::uint32_t>(static_cast<std::size_t>(kPitch) * kHeight, colour);
}

ShownFrame::Change Compare(ShownFrame& shown, const std::vector<std::uint32_t>& frame, std::uint64_t now) {
  return shown.Compare(frame.data(), kWidth, kHeight, kPitch, now);
}

void ExpectRows(const ShownFrame::Change& change, int firstRow, int rows) {
  EXPECT_TRUE(change.show);
  EXPECT_EQ(change.firstRow, firstRow);
  EXPECT_EQ(change.rows, rows);
}

TEST(ShownFrameTest, AnUnchangedFrameIsNotShownAgainAndOnlyChangedRowsAreUploaded) {
  ShownFrame shown;
  std::vector<std::uint32_t> frame = Frame(0x102030);
  ExpectRows(Compare(shown, frame, 1000), 0, kHeight);
  EXPECT_FALSE(Compare(shown, frame, 2000).show);

  // Padding beyond the frame's width is not part of the picture.
  frame[kWidth] = 0xFFFFFF;
  frame[static_cast<std::size_t>(3) * kPitch + kWidth + 1] = 0xFFFFFF;
  EXPECT_FALSE(Compare(shown, frame, 3000).show);

  frame[static_cast<std::size_t>(2) * kPitch + kWidth - 1] = 0x000001;  // last pixel of row 2
  ExpectRows(Compare(shown, frame, 4000), 2, 1);
  EXPECT_FALSE(Compare(shown, frame, 5000).show);

  // Changes in rows 1 and 4 upload the rows between them as well.
  frame[static_cast<std::size_t>(1) * kPitch] = 0x000002;
  frame[static_cast<std::size_t>(4) * kPitch + 3] = 0x000003;
  ExpectRows(Compare(shown, frame, 6000), 1, 4);

  // Back to a frame shown before still counts as a change against the last one.
  frame = Frame(0x102030);
  ExpectRows(Compare(shown, frame, 7000), 1, 4);
  EXPECT_FALSE(Compare(shown, frame, 8000).show);
}

TEST(ShownFrameTest, TheWindowGetsTheWholeFrameAgainWhenItAsksAndFromTimeToTime) {
  ShownFrame shown;
  const std::vector<std::uint32_t> frame = Frame(0x445566);
  const std::uint64_t start = 5000000;
  Compare(shown, frame, start);

  shown.Invalidate();  // exposed, resized or full screen toggled
  ExpectRows(Compare(shown, frame, start + 10), 0, kHeight);
  EXPECT_FALSE(Compare(shown, frame, start + 20).show);

  // Unchanged, it is presented once more after a while, with nothing to upload.
  EXPECT_FALSE(Compare(shown, frame, start + 10 + ShownFrame::kRepeatMicros - 1).show);
  ExpectRows(Compare(shown, frame, start + 10 + ShownFrame::kRepeatMicros), 0, 0);
  EXPECT_FALSE(Compare(shown, frame, start + 20 + ShownFrame::kRepeatMicros).show);

  // A frame of another size is new as a whole.
  const std::vector<std::uint32_t> smaller(static_cast<std::size_t>(kWidth) * 2, 0x445566);
  const ShownFrame::Change change = shown.Compare(smaller.data(), kWidth, 2, kWidth, start + 30);
  EXPECT_TRUE(change.show);
  EXPECT_EQ(change.rows, 2);
}

// Runs frames that each take `work` microseconds of the game's own and, when presented, `present`
// more for presenting, resting as the pacer says. Returns the average period from the end of the
// second frame on (by then any change of cadence has settled).
std::uint64_t AveragePeriod(FramePacer& pacer, std::uint64_t& now, int frames, std::uint64_t work,
                            std::uint64_t present, bool presented = true) {
  std::uint64_t from = 0;
  for (int i = 0; i < frames; ++i) {
    now += work;
    if (presented) {
      now += present;
      pacer.RecordPresent(present);
    }
    now += pacer.RestAfterFrame(now, presented);
    if (i == 1) from = now;
  }
  return (now - from) / static_cast<std::uint64_t>(frames - 2);
}

TEST(FramePacerTest, WithoutVsyncFramesKeepTheRefreshCadence) {
  FramePacer pacer;
  pacer.Reset(60, false);
  const std::uint64_t period = pacer.RefreshMicros();
  EXPECT_EQ(period, 16666u);
  EXPECT_EQ(pacer.RestAfterFrame(1000000, true), 0u);  // the first frame starts the cadence
  EXPECT_EQ(pacer.RestAfterFrame(1002000, true), period - 2000);
  // A frame a little late rests nothing, and the next is due on the old cadence again.
  const std::uint64_t due = 1000000 + 2 * period;
  EXPECT_EQ(pacer.RestAfterFrame(due + 3000, true), 0u);
  EXPECT_EQ(pacer.RestAfterFrame(due + 5000, true), period - 5000);
  // After a long stall the cadence starts again from then instead of racing to catch up.
  const std::uint64_t stall = due + period + 500000;
  EXPECT_EQ(pacer.RestAfterFrame(stall, true), 0u);
  EXPECT_EQ(pacer.RestAfterFrame(stall + 1000, true), period - 1000);

  std::uint64_t now = stall + period;
  EXPECT_EQ(AveragePeriod(pacer, now, 100, 1000, 500), period);
  pacer.Reset(30, false);
  EXPECT_EQ(AveragePeriod(pacer, now, 50, 1000, 500), 1000000u / 30);
  pacer.Reset(5, false);  // implausible rates are kept to at least 30 Hz
  EXPECT_EQ(pacer.RefreshMicros(), 1000000u / 30);
}

TEST(FramePacerTest, ClaimedVsyncIsBelievedOnlyWhilePresentsReallyWait) {
  FramePacer pacer;
  pacer.Reset(60, true);
  const std::uint64_t period = pacer.RefreshMicros();
  EXPECT_TRUE(pacer.PresentsWait());
  // Presents that wait for the refresh: the clock only caps the loop, at 1.5 times the rate, and
  // a frame not presented waits its whole period.
  const std::uint64_t t = 1000000;
  pacer.RecordPresent(period - 1000);
  EXPECT_EQ(pacer.RestAfterFrame(t, true), 0u);
  pacer.RecordPresent(period - 1000);
  EXPECT_TRUE(pacer.PresentsWait());
  EXPECT_EQ(pacer.RestAfterFrame(t + 1000, true), period * 2 / 3 - 1000);
  EXPECT_EQ(pacer.RestAfterFrame(t + period * 2 / 3 + 1000, false), period - 1000);

  // Presents returning at once: within a few frames the clock paces the loop at the rate.
  std::uint64_t now = t + 2 * period;
  AveragePeriod(pacer, now, 20, 1000, 500);
  EXPECT_FALSE(pacer.PresentsWait());
  EXPECT_EQ(AveragePeriod(pacer, now, 60, 1000, 500), period);

  // Presents that start waiting are believed again; frames not presented keep the rate.
  AveragePeriod(pacer, now, 40, 1000, period - 1000);
  EXPECT_TRUE(pacer.PresentsWait());
  EXPECT_EQ(AveragePeriod(pacer, now, 30, 1000, 0, false), period);

  // Without a claimed vsync, slow presents do not make the pacer believe in one.
  pacer.Reset(60, false);
  AveragePeriod(pacer, now, 30, 1000, period - 1000);
  EXPECT_FALSE(pacer.PresentsWait());
}

TEST(SdlPresentTest, UnchangedFramesStillRestTheLoopOnTheDummyDriver) {
  const std::chrono::steady_clock::time_point before = std::chrono::steady_clock::now();
  {
    SdlPlatform platform;
    ASSERT_TRUE(platform.CreateMainWindow("Spellcrypt", 640, 480, false));
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(640) * 480, 0x336699);
    for (int i = 0; i < 31; ++i) {
      if (i == 10) frame[1234] = 0xFFFFFF;
      platform.Present(frame.data(), 640, 480, 640);
    }
  }
  // Thirty frames after the first at no more than 60 a second (one may go at 90 while the pacer
  // still believes the claimed vsync), presented or not: without the rest the loop would spin a
  // processor core.
  const auto elapsed = std::chrono::steady_clock::now() - before;
  EXPECT_GE(elapsed, std::chrono::microseconds(29 * 16666));
  // The platform installs its own SIGINT and SIGTERM handlers; give the runner its defaults back.
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

}  // namespace
}  // namespace spellcrypt
