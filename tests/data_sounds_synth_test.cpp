// The sound generator's building blocks: file round trips and damaged files, note and chord names,
// instrument tuning, the loop-aware reverb, the limiter, the loudness meter and determinism.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/sfx/catalogue.h"
#include "tools/sfx/instruments.h"
#include "tools/sfx/mastering.h"
#include "tools/sfx/reverb.h"
#include "tools/sfx/score.h"
#include "tools/sfx/sound_file.h"

namespace spellcrypt::sfx {
namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("spellcrypt_sfx_test_" + name)).string();
}

Stereo Sine(double hz, double seconds, float level, bool stereo) {
  Stereo s(Frames(seconds), stereo);
  for (std::size_t i = 0; i < s.Frames(); ++i) {
    const float v = level * static_cast<float>(std::sin(kTwoPi * hz * static_cast<double>(i) / kRate));
    s.l[i] = v;
    if (stereo) s.r[i] = -v;
  }
  return s;
}

// Fundamental by autocorrelation over `from`..`from + 0.2 s`, searched within 15% of `expect`.
double EstimatePitch(const Mono& x, double from, double expect) {
  const std::size_t start = Frames(from), n = Frames(0.2);
  const int minLag = static_cast<int>(kRate / (expect * 1.15)),
            maxLag = static_cast<int>(kRate / (expect * 0.85)) + 1;
  std::vector<double> score(static_cast<std::size_t>(maxLag + 2), 0.0);
  int best = minLag;
  for (int lag = minLag; lag <= maxLag + 1; ++lag) {
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      sum += static_cast<double>(x[start + i]) *
             static_cast<double>(x[start + i + static_cast<std::size_t>(lag)]);
    }
    score[static_cast<std::size_t>(lag)] = sum;
    if (lag <= maxLag && sum > score[static_cast<std::size_t>(best)]) best = lag;
  }
  const double a = score[static_cast<std::size_t>(best - 1)], b = score[static_cast<std::size_t>(best)],
               c = score[static_cast<std::size_t>(best + 1)];
  const double shift = (a - c) / (2.0 * (a - 2.0 * b + c));
  return kRate / (best + shift);
}

TEST(DataSoundsSynthTest, WavAndOggRoundTripsKeepLengthChannelsAndSignal) {
  const std::string wav = TempPath("round.wav"), ogg = TempPath("round.ogg");
  std::string error;
  for (bool stereo : {false, true}) {
    const Stereo in = Sine(440.0, 0.5, 0.5f, stereo);
    ASSERT_TRUE(WriteWav(wav, in, error)) << error;
    DecodedSound back;
    ASSERT_TRUE(ReadWav(wav, back, error)) << error;
    EXPECT_EQ(back.rate, 44100);
    EXPECT_EQ(back.bitsPerSample, 16);
    EXPECT_EQ(back.channels, stereo ? 2 : 1);
    ASSERT_EQ(back.audio.Frames(), in.Frames());
    for (std::size_t i = 0; i < in.Frames(); i += 97)
      EXPECT_NEAR(back.audio.Channel(1)[i], in.Channel(1)[i], 1.0 / 32000);

    ASSERT_TRUE(WriteOgg(ogg, in, 0.4, {"TITLE=test"}, error)) << error;
    ASSERT_TRUE(ReadSound(ogg, back, error)) << error;
    EXPECT_EQ(back.channels, stereo ? 2 : 1);
    // Vorbis keeps the exact length, which loops depend on.
    ASSERT_EQ(back.audio.Frames(), in.Frames());
    double diff = 0.0;
    for (std::size_t i = 0; i < in.Frames(); ++i)
      diff += static_cast<double>(std::fabs(back.audio.l[i] - in.l[i]));
    EXPECT_LT(diff / static_cast<double>(in.Frames()), 0.01);
  }
  std::remove(wav.c_str());
  std::remove(ogg.c_str());
}

TEST(DataSoundsSynthTest, DamagedFilesAreRefusedWithAReason) {
  const std::string path = TempPath("damaged.wav");
  std::string error;
  ASSERT_TRUE(WriteWav(path, Sine(440.0, 0.1, 0.5f, false), error));
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(std::filesystem::file_size(path)), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  in.close();
  DecodedSound out;
  // Cut short: the data chunk claims more than the file holds.
  std::ofstream(path, std::ios::binary) << bytes.substr(0, 100);
  EXPECT_FALSE(ReadWav(path, out, error));
  EXPECT_NE(error.find("past the end"), std::string::npos) << error;
  // Not PCM (format 3).
  std::string floatWav = bytes;
  floatWav[20] = 3;
  std::ofstream(path, std::ios::binary) << floatWav;
  EXPECT_FALSE(ReadWav(path, out, error));
  // Not a sound at all.
  std::ofstream(path, std::ios::binary) << "hello";
  EXPECT_FALSE(ReadWav(path, out, error));
  EXPECT_FALSE(ReadOgg(path, out, error));
  EXPECT_FALSE(ReadSound(TempPath("missing.wav"), out, error));
  std::remove(path.c_str());
}

TEST(DataSoundsSynthTest, NotesChordsAndMelodiesAreReadAsWritten) {
  const auto midi = [](const std::string& s) { return NoteToMidi(s.c_str(), s.size()); };
  EXPECT_EQ(midi("C4"), 60);
  EXPECT_EQ(midi("A4"), 69);
  EXPECT_EQ(midi("Bb3"), 58);
  EXPECT_EQ(midi("F#2"), 42);
  EXPECT_EQ(midi("C#10"), -1);  // beyond MIDI
  for (const char* bad : {"", "C", "H4", "c4", "C-1", "C4x"}) EXPECT_EQ(midi(bad), -1) << bad;

  EXPECT_EQ(Voicing("Dm", 50), (std::vector<int>{50, 53, 57}));
  EXPECT_EQ(Voicing("Bb", 50), (std::vector<int>{50, 53, 58}));  // first inversion above D3
  EXPECT_EQ(Voicing("A7", 45, 5), (std::vector<int>{45, 49, 52, 55, 57}));
  EXPECT_EQ(Score::Root("Eb", 38), 39);
  EXPECT_EQ(Score::Root("C#dim", 38), 49);
  EXPECT_LT(ParseChord("Dx").root, 0);
  EXPECT_THROW(Voicing("Q", 50), std::invalid_argument);

  Score s(120.0, 4, 1);
  const int v = s.AddVoice({});
  // Lengths carry over, rests take time, bar lines are ignored.
  EXPECT_DOUBLE_EQ(s.Melody(v, 0.0, "C4:.5 D4 | r:1 E4! F4?"), 4.0);
  EXPECT_THROW(s.Melody(v, 0.0, "C4:0"), std::invalid_argument);
  EXPECT_THROW(s.Melody(v, 0.0, "X4"), std::invalid_argument);
}

TEST(DataSoundsSynthTest, InstrumentsPlayInTune) {
  Rng rng(7);
  struct Case {
    Instrument instrument;
    double hz;
  };
  for (const Case& c :
       {Case{Instrument::kHarp, 146.83}, Case{Instrument::kHarp, 880.0}, Case{Instrument::kPizzicato, 110.0},
        Case{Instrument::kReed, 293.66}, Case{Instrument::kFlute, 523.25}, Case{Instrument::kBrass, 220.0},
        Case{Instrument::kCello, 73.42}, Case{Instrument::kBass, 55.0}, Case{Instrument::kCelesta, 1046.5}}) {
    const Mono note = PlayNote(c.instrument, {c.hz, 0.6, 0.8f}, rng);
    ASSERT_GT(note.size(), Frames(0.35));
    // Within 6 cents: audible mistuning starts around there.
    EXPECT_NEAR(EstimatePitch(note, 0.08, c.hz) / c.hz, 1.0, 0.0035)
        << static_cast<int>(c.instrument) << " at " << c.hz;
  }
}

TEST(DataSoundsSynthTest, LoopedReverbAndNotesRingIntoTheStartWithoutASeam) {
  // A short loop with one pluck near its end: the ring must continue at the start.
  Score s(120.0, 4, 3);
  const int harp = s.AddVoice({Instrument::kHarp, 0.8f, 0.0, 0.5f, 1.0, 0.0});
  s.Note(harp, 7.5, 0.5, 57, 0.9f);
  Score::MixSettings mix;
  mix.hall = {1.5, 5000.0, 0.01, 1.0};
  const Stereo loop = s.Render(8.0, true, mix);
  ASSERT_EQ(loop.Frames(), Frames(4.0));
  EXPECT_GT(PeakDb(loop), -20.0);
  Stereo start(Frames(0.1), true);
  std::copy_n(loop.l.begin(), start.Frames(), start.l.begin());
  std::copy_n(loop.r.begin(), start.Frames(), start.r.begin());
  EXPECT_GT(RmsDb(start), -40.0) << "the tail did not wrap round";
  EXPECT_LE(SeamRatio(loop), 1.0);

  // The same note rendered as a one-shot just stops at its length and leaves the start silent.
  const Stereo once = s.Render(8.0, false, mix);
  EXPECT_GT(once.Frames(), Frames(4.0));
  EXPECT_EQ(once.l[0], 0.0f);
}

TEST(DataSoundsSynthTest, SeamCheckTellsAWholeLoopFromACutOne) {
  Stereo whole = Sine(441.0, 1.0, 0.5f, true);  // exactly 441 turns
  EXPECT_LE(SeamRatio(whole), 1.0);
  Stereo cut = whole;
  cut.l.resize(cut.Frames() - 37);
  cut.r.resize(cut.l.size());
  EXPECT_GT(SeamRatio(cut), 3.0);
  EXPECT_EQ(SeamRatio(Stereo(Frames(1.0), false)), 0.0);  // silence joins anything
}

TEST(DataSoundsSynthTest, LimiterHoldsTheCeilingAndLeavesQuietPassagesAlone) {
  Stereo s = Sine(200.0, 1.0, 0.2f, true);
  for (std::size_t i = Frames(0.5); i < Frames(0.52); ++i)
    s.l[i] = s.r[i] = (i % 2 ? 1.5f : -1.5f);  // a burst
  const Stereo before = s;
  Limit(s, -1.0, false);
  EXPECT_LE(PeakDb(s), -1.0 + 1e-4);
  for (std::size_t i = 0; i < Frames(0.4); i += 101) EXPECT_FLOAT_EQ(s.l[i], before.l[i]);
  // After the burst the gain recovers smoothly rather than jumping back.
  for (std::size_t i = Frames(0.9); i < Frames(1.0); i += 101) EXPECT_NEAR(s.l[i], before.l[i], 0.01);
  // A loop is limited round its seam: a peak at the very start is caught at the end as well.
  Stereo loop = Sine(441.0, 1.0, 0.5f, false);
  loop.l[0] = 1.4f;
  const float last = loop.l[loop.Frames() - 3];
  Limit(loop, -1.0, true);
  EXPECT_LE(PeakDb(loop), -1.0 + 1e-4);
  EXPECT_LT(std::fabs(loop.l[loop.Frames() - 3]), 0.7f * std::fabs(last));
}

TEST(DataSoundsSynthTest, LoudnessMeterReadsAFullScaleToneAtZero) {
  // The reference: a 1 kHz sine at full scale in both speakers reads about 0 LUFS; mono counts
  // for both speakers, as the mixer plays it.
  EXPECT_NEAR(ShortTermLoudness(Sine(1000.0, 1.0, 1.0f, true)), 0.0, 0.4);
  EXPECT_NEAR(ShortTermLoudness(Sine(1000.0, 1.0, 1.0f, false)), 0.0, 0.4);
  EXPECT_NEAR(IntegratedLoudness(Sine(1000.0, 2.0, 0.5f, true)), -6.0, 0.4);
  // A 50 ms blip is judged over the whole 200 ms window: about 6 dB softer than the steady tone.
  EXPECT_NEAR(ShortTermLoudness(Sine(1000.0, 0.05, 1.0f, true)), -6.0, 0.5);
  EXPECT_LT(ShortTermLoudness(Stereo(Frames(0.5), true)), -100.0);
}

TEST(DataSoundsSynthTest, SoundsAreTheSameOnEveryRun) {
  for (const char* file : {"sound/click.wav", "sound/skeleton_die.ogg", "sound/lowhealth.wav"}) {
    const Recipe* recipe = FindRecipe(file);
    ASSERT_NE(recipe, nullptr) << file;
    const Stereo a = MakeSound(*recipe), b = MakeSound(*recipe);
    EXPECT_EQ(a.l, b.l) << file;
    EXPECT_EQ(a.r, b.r) << file;
  }
  EXPECT_EQ(FindRecipe("sound/nothing.wav"), nullptr);
}

}  // namespace
}  // namespace spellcrypt::sfx
