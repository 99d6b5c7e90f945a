// The mixer sound manager, playing into a file through SDL's disk audio driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/app.h"
#include "app/game_loop.h"
#include "audio/mixer_sound_manager.h"
#include "tests/sdl/audio_test_files.h"

namespace spellcrypt {
namespace {

using testing::DiskAudio;
using testing::WriteWavTone;

class MixerTest : public testing::AudioTest {
 protected:
  void SetUp() override {
    AudioTest::SetUp();
    StartApp();
    WriteWavTone(dir / "sound" / "drone.wav", 88200, 441);  // 2 s
    disk = std::make_unique<DiskAudio>(dir / "out.raw");
  }
  void TearDown() override {
    sound.Shutdown();
    disk.reset();
    AudioTest::TearDown();
  }
  // Lets the mixer play on for this many milliseconds of sound.
  void Play(int ms) { ASSERT_TRUE(disk->Play(static_cast<std::size_t>(ms) * 441 / 10)); }
  CMixerSoundManager sound{platform};
  std::unique_ptr<DiskAudio> disk;
};

// Frames of the left side louder than the level, between two frame numbers.
int LoudFrames(const std::vector<std::int16_t>& out, int level, std::size_t from = 0,
               std::size_t to = SIZE_MAX) {
  int loud = 0;
  for (std::size_t f = from; f < to && 2 * f < out.size(); ++f) loud += std::abs(out[2 * f]) > level ? 1 : 0;
  return loud;
}

TEST_F(MixerTest, EffectsAreCachedByNameAndEveryFailedLoadIsLogged) {
  ASSERT_TRUE(sound.Init());
  ASSERT_TRUE(sound.Init());
  EXPECT_EQ(Lines("SDL_mixer V2."), 1) << "logged on the way up only";

  EXPECT_GE(sound.PlaySound("SOUND/Drone.WAV"), 0) << "resolved like every path";
  EXPECT_GE(sound.PlaySound("sound\\drone.wav"), 0);
  std::filesystem::remove(dir / "sound" / "drone.wav");
  EXPECT_GE(sound.PlaySound("sound\\drone.wav"), 0) << "played from the cache";

  for (int i = 0; i < 3; ++i) EXPECT_EQ(sound.PlaySound("sound\\late.wav"), -1);
  EXPECT_EQ(Errors("Unable to load sound sound\\late.wav."), 3);
  EXPECT_EQ(sound.FindSample("sound\\late.wav")->failures, 3);
  // A file that turns up after failing is cached from then on.
  WriteWavTone(dir / "sound" / "late.wav", 441, 440);
  EXPECT_GE(sound.PlaySound("sound\\late.wav"), 0);
  std::filesystem::remove(dir / "sound" / "late.wav");
  EXPECT_GE(sound.PlaySound("sound\\late.wav"), 0);
  EXPECT_EQ(sound.CachedSamples(), 3u);
}

TEST_F(MixerTest, MusicLoopsOnlyWhenAskedAndANewPieceStopsTheOld) {
  WriteWavTone(dir / "sound" / "tune.wav", 2205, 440);  // 50 ms
  std::FILE* junk = std::fopen("sound/junk.ogg", "wb");
  std::fputs("not a sound at all", junk);
  std::fclose(junk);
  ASSERT_TRUE(sound.Init());

  EXPECT_EQ(sound.PlayMusic("sound\\tune.wav", 999), 1);
  EXPECT_EQ(sound.PlayMusic("sound\\tune.wav", 1), 1);
  Play(250);
  EXPECT_FALSE(sound.MusicPlaying());
  EXPECT_TRUE(sound.HasMusic()) << "held until stopped";
  EXPECT_EQ(sound.PlayMusic("sound\\tune.wav", 999), 1);
  Play(250);
  EXPECT_TRUE(sound.MusicPlaying());

  EXPECT_EQ(sound.PlayMusic("sound\\gone.ogg", 999), -1);
  EXPECT_FALSE(sound.MusicPlaying()) << "the old piece stopped before the new one loaded";
  EXPECT_FALSE(sound.HasMusic());
  EXPECT_EQ(sound.PlayMusic("sound\\junk.ogg", 999), -1);
  EXPECT_EQ(Lines("PlayMusic: Error loading sound\\gone.ogg: File not found\n"), 1);
  EXPECT_EQ(Lines("PlayMusic: Error loading sound\\junk.ogg: Unknown file format\n"), 1);
}

TEST_F(MixerTest, EffectsNeedAPlayingSoundAndAKnownKindAndFadeTheVolume) {
  WriteWavTone(dir / "sound" / "blip.wav", 441, 440);
  ASSERT_TRUE(sound.Init());
  const int blip = sound.PlaySound("sound\\blip.wav");
  Play(100);
  sound.AddEffect(blip, 0, 1.0f, 0.0f, 100.0f);
  EXPECT_EQ(Lines("SoundID " + std::to_string(blip) + " isn't playing, won't add effect."), 1);

  const int drone = sound.PlaySound("sound\\drone.wav");
  sound.AddEffect(drone, 1, 1.0f, 0.0f, 100.0f);
  EXPECT_EQ(Errors("Unknown sound effect: 1"), 1);
  EXPECT_EQ(sound.EffectsOf(blip) + sound.EffectsOf(drone), 0u);

  sound.AddEffect(drone, 0, 0.8f, 0.0f, 100.0f);
  platform.Advance(50);
  sound.Update();
  EXPECT_NEAR(sound.VolumeOf(drone), 0.4f, 0.02f);
  platform.Advance(60);
  sound.Update();
  EXPECT_EQ(sound.VolumeOf(drone), 0.0f);
  EXPECT_EQ(sound.EffectsOf(drone), 0u);
}

TEST_F(MixerTest, TheLoopKeepsItsChannelWhenEffectsCompete) {
  ASSERT_TRUE(sound.Init());
  const int loop = sound.PlayLooped("sound\\drone.wav");
  int effects[10];
  for (int& id : effects) id = sound.PlaySound("sound\\drone.wav");
  // Seven free channels; the next three effects take the oldest effects' channels.
  EXPECT_TRUE(sound.IsPlaying(loop));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(sound.IsPlaying(effects[i]), i >= 3) << i;

  // A paused sound keeps its channel; an old id never reaches the sound now on its channel.
  sound.SetPaused(effects[3], true);
  const int next = sound.PlaySound("sound\\drone.wav");
  EXPECT_TRUE(sound.IsPlaying(effects[3]));
  EXPECT_FALSE(sound.IsPlaying(effects[4]));
  sound.StopSound(effects[4]);
  EXPECT_TRUE(sound.IsPlaying(next));

  for (int id : {effects[5], effects[6], effects[7], effects[8], effects[9], next})
    sound.SetPriority(id, 100);
  EXPECT_EQ(sound.PlaySound("sound\\drone.wav"), -1);
  EXPECT_EQ(Errors("Unable to play sound sound\\drone.wav: Failed to allocate a new channel"), 1);
  // Ids kept across a restart of sound stay stale too.
  ASSERT_TRUE(sound.Init());
  sound.PlaySound("sound\\drone.wav");
  EXPECT_FALSE(sound.IsPlaying(loop));
}

TEST_F(MixerTest, PanMovesTheSoundBetweenTheSpeakers) {
  ASSERT_TRUE(sound.Init());
  for (const auto& [pan, mapped] : {std::pair{-1.0f, 0}, {0.0f, 128}, {1.0f, 255}}) {
    const int id = sound.PlaySound("sound\\drone.wav");
    sound.SetPan(id, pan);
    EXPECT_EQ(sound.PanOf(id), mapped);
    Play(100);
    sound.StopSound(id);
  }
  sound.Shutdown();

  int left = 0, right = 0, both = 0;
  const std::vector<std::int16_t> out = disk->Samples();
  for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
    const int l = std::abs(out[i]), r = std::abs(out[i + 1]);
    left += l > 2000 && r < 10 ? 1 : 0;
    right += r > 2000 && l < 10 ? 1 : 0;
    both += l > 2000 && l == r ? 1 : 0;
  }
  EXPECT_GT(left, 2000);
  EXPECT_GT(both, 2000);
  EXPECT_GT(right, 2000);
}

TEST_F(MixerTest, FocusLossSilencesEverythingAndFocusGainBringsItBack) {
  ISoundManager& app = *GetApp()->soundManager;
  ASSERT_TRUE(app.Init());
  PlatformEvent focus;
  focus.type = PlatformEventType::Deactivated;
  HandleWindowEvent(focus);
  app.PlaySound("sound\\drone.wav");
  app.PlayMusic("sound\\drone.wav", 999);
  Play(100);
  const std::size_t unfocused = disk->Frames();  // all mixed before the focus came back
  focus.type = PlatformEventType::Activated;
  HandleWindowEvent(focus);
  Play(100);
  app.Shutdown();

  const std::vector<std::int16_t> out = disk->Samples();
  EXPECT_GT(unfocused, 2000u);
  EXPECT_EQ(LoudFrames(out, 0, 0, unfocused), 0) << "nothing heard while unfocused";
  EXPECT_GT(LoudFrames(out, 8000, unfocused), 1000) << "heard again";
}

TEST_F(MixerTest, TitleMusicInOggLoopsWithoutAGap) {
  testing::WriteOggTone(dir / "sound" / "title_music.ogg", 6600, 441, 0.4);  // 150 ms, whole periods
  ASSERT_TRUE(sound.Init());
  ASSERT_EQ(sound.PlayMusic("sound\\title_music.ogg", 999), 1);
  Play(500);
  sound.Shutdown();

  const std::vector<std::int16_t> out = disk->Samples();
  std::size_t first = SIZE_MAX, last = 0, quiet = 0, longestQuiet = 0;
  for (std::size_t f = 0; 2 * f < out.size(); ++f) {
    if (std::abs(out[2 * f]) <= 300) {
      ++quiet;
      continue;
    }
    if (first != SIZE_MAX) longestQuiet = std::max(longestQuiet, quiet);
    first = std::min(first, f);
    last = f;
    quiet = 0;
  }
  EXPECT_GT(last - first, 3u * 6600u) << "heard well past its length";
  // This tone stays under 300 for a frame or two around each zero crossing, never longer.
  EXPECT_LE(longestQuiet, 4u);
}

TEST_F(MixerTest, WithoutADeviceTheGameRunsSilently) {
  setenv("SDL_AUDIODRIVER", "no_such_device", 1);  // put back by the fixture
  EXPECT_FALSE(sound.Init());
  EXPECT_EQ(Errors("Error initializing output device.\n"), 1);
  EXPECT_EQ(sound.PlaySound("sound\\drone.wav"), -1);
  EXPECT_EQ(sound.PlayLooped("sound\\drone.wav"), -1);
  EXPECT_EQ(sound.PlayMusic("sound\\drone.wav", 999), -1);
}

}  // namespace
}  // namespace spellcrypt
