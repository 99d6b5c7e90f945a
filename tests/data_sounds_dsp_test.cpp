// The sound generator's signal processing: envelopes, string and room decay times, echoes, mixing
// into loops, filtering, note timing, clean ends, and the peak guard of Ogg files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "tools/sfx/catalogue.h"
#include "tools/sfx/instruments.h"
#include "tools/sfx/mastering.h"
#include "tools/sfx/reverb.h"
#include "tools/sfx/score.h"
#include "tools/sfx/sound_file.h"

namespace spellcrypt::sfx {
namespace {

// RMS in dB of `x` between two times.
double WindowDb(const Mono& x, double from, double to) {
  double sum = 0.0;
  const std::size_t a = Frames(from), b = std::min(x.size(), Frames(to));
  for (std::size_t i = a; i < b; ++i) sum += static_cast<double>(x[i]) * static_cast<double>(x[i]);
  return GainToDb(std::sqrt(sum / static_cast<double>(b - a)));
}

std::size_t LoudestFrame(const Mono& x, std::size_t from, std::size_t to) {
  return static_cast<std::size_t>(
      std::max_element(x.begin() + static_cast<long>(from), x.begin() + static_cast<long>(to),
                       [](float a, float b) { return std::fabs(a) < std::fabs(b); }) -
      x.begin());
}

TEST(DataSoundsDspTest, EnvelopeRisesDecaysToSustainAndReleasesOnTime) {
  Envelope env(0.01, 1.0, 0.5, 0.2, 0.5);
  ASSERT_EQ(env.Length(), Frames(0.5) + Frames(0.2));
  Mono levels(env.Length());
  for (auto& v : levels) v = env.Next();
  EXPECT_NEAR(levels[Frames(0.01) - 1], 1.0, 0.01);
  // Half a second into a one-second decay: 30 dB of the way from 1 down to the sustain.
  EXPECT_NEAR(levels[Frames(0.5) - 1], 0.5 + 0.5 * std::pow(10.0, -1.5 * 0.98), 0.01);
  EXPECT_NEAR(GainToDb(levels.back() / levels[Frames(0.5) - 1]), -60.0, 0.5);
  EXPECT_TRUE(
      std::is_sorted(levels.begin() + static_cast<long>(Frames(0.01)), levels.end(), std::greater<float>()));
}

TEST(DataSoundsDspTest, StringsAndRoomsDieAwayInTheirRingTime) {
  Rng rng(5);
  // The fundamental alone (the overtones of a real string die sooner): 30 dB in half its ring time.
  Mono pluck = Pluck({220.0, 3.0, 0.8f}, {1.0, 1.0, 0.2, 0.2}, rng);
  Biquad low = Biquad::LowPass(300.0, 0.7);
  for (auto& v : pluck) v = low.Process(v);
  EXPECT_NEAR(WindowDb(pluck, 0.6, 0.7) - WindowDb(pluck, 0.1, 0.2), -30.0, 4.0);

  Stereo impulse(Frames(0.05), false);
  impulse.l[0] = 1.0f;
  const Stereo tail = Reverberate(impulse, {1.0, 20000.0, 0.0, 1.0}, false);
  EXPECT_NEAR(WindowDb(tail.l, 0.7, 0.8) - WindowDb(tail.l, 0.2, 0.3), -30.0, 5.0);
  EXPECT_NEAR(WindowDb(tail.r, 0.7, 0.8) - WindowDb(tail.r, 0.2, 0.3), -30.0, 5.0);
}

TEST(DataSoundsDspTest, EchoBouncesFromLeftToRight) {
  Stereo click(Frames(0.01), false);
  click.l[0] = 1.0f;
  const EchoParams echo{0.1, 0.5, 8000.0, 1.0};
  const Stereo wet = PingPong(click, echo, false);
  const std::size_t d = Frames(0.1);
  EXPECT_NEAR(static_cast<double>(LoudestFrame(wet.l, 0, d * 3 / 2)), static_cast<double>(d), 3.0);
  EXPECT_NEAR(static_cast<double>(LoudestFrame(wet.r, 0, d * 5 / 2)), static_cast<double>(2 * d), 3.0);
  EXPECT_LT(std::fabs(wet.r[LoudestFrame(wet.r, 0, d * 5 / 2)]),
            std::fabs(wet.l[LoudestFrame(wet.l, 0, d * 3 / 2)]));
}

TEST(DataSoundsDspTest, MixingWrapsIntoLoopsAndGrowsOneShots) {
  Mono loop(10, 0.0f);
  MixInto(loop, Mono{1, 2, 3, 4}, 8, 1.0f, true);
  EXPECT_EQ(loop, (Mono{3, 4, 0, 0, 0, 0, 0, 0, 1, 2}));
  MixInto(loop, Mono(25, 1.0f), 23, 0.5f, true);  // longer than the loop: it goes round more than once
  EXPECT_FLOAT_EQ(loop[3], 0.0f + 1.5f);
  EXPECT_FLOAT_EQ(loop[2], 0.0f + 1.0f);
  Mono once(2, 1.0f);
  MixInto(once, Mono{5, 5}, 3, 1.0f, false);
  EXPECT_EQ(once, (Mono{1, 1, 0, 5, 5}));
}

TEST(DataSoundsDspTest, HighPassTakesAwayOffsetButNotTheTone) {
  for (bool loop : {false, true}) {
    Stereo s(Frames(1.0), false);
    for (std::size_t i = 0; i < s.Frames(); ++i) {
      s.l[i] = 0.3f + 0.5f * static_cast<float>(std::sin(kTwoPi * 441.0 * static_cast<double>(i) / kRate));
    }
    HighPass(s, 28.0, loop);
    double mean = 0.0;
    for (std::size_t i = s.Frames() / 2; i < s.Frames(); ++i) mean += static_cast<double>(s.l[i]);
    EXPECT_NEAR(mean / static_cast<double>(s.Frames() / 2), 0.0, 0.005) << loop;
    EXPECT_NEAR(WindowDb(s.l, 0.5, 1.0), GainToDb(0.5 / std::sqrt(2.0)), 0.2) << loop;
  }
}

TEST(DataSoundsDspTest, NotesSoundOnTheirBeat) {
  Score s(120.0, 4, 9);
  const int tick = s.AddVoice({Instrument::kTick, 1.0f, 0.0, 0.0f, 1.0, 0.0});
  s.Hit(tick, 2.0, 3000.0, 1.0f);
  Score::MixSettings dry;
  dry.wet = 0.0f;
  const Stereo out = s.Render(4.0, false, dry);
  const auto first = std::find_if(out.l.begin(), out.l.end(), [](float v) { return v != 0.0f; });
  EXPECT_EQ(static_cast<std::size_t>(first - out.l.begin()), Frames(1.0));  // beat 2 at 120 a minute
}

TEST(DataSoundsDspTest, TrimmedAndFadedSoundsEndCleanly) {
  Stereo s(Frames(2.0), true);
  for (std::size_t i = 0; i < Frames(1.0); ++i) {
    s.l[i] = s.r[i] = 0.5f * static_cast<float>(std::sin(kTwoPi * 300.0 * static_cast<double>(i) / kRate));
  }
  TrimSilence(s, -60.0);
  EXPECT_NEAR(static_cast<double>(s.Frames()) / kRate, 1.01, 0.01);
  Fade(s, 0.01, 0.0);
  EXPECT_EQ(s.l.front(), 0.0f);
  EXPECT_LT(std::fabs(s.l.back()), 1e-4f);
}

TEST(DataSoundsDspTest, HotOggFilesAreTurnedDownUnderTheCeiling) {
  // A square wave right at the ceiling: lossy coding rings above it unless the writer steps in.
  Stereo square(Frames(1.0), true);
  for (std::size_t i = 0; i < square.Frames(); ++i) square.l[i] = square.r[i] = (i / 50) % 2 ? 0.89f : -0.89f;
  const std::string path = (std::filesystem::temp_directory_path() / "spellcrypt_sfx_test_hot.ogg").string();
  std::string error;
  ASSERT_TRUE(WriteSoundFile(path, square, error)) << error;
  DecodedSound back;
  ASSERT_TRUE(ReadSound(path, back, error)) << error;
  EXPECT_LE(PeakDb(back.audio), kCeilingDb);
  EXPECT_GT(PeakDb(back.audio), kCeilingDb - 3.0);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace spellcrypt::sfx
