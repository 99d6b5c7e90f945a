// The sound and music switches: start-up with both off, the play functions, the options page.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "audio/mixer_sound_manager.h"
#include "tests/sdl/audio_test_files.h"
#include "ui/framework/sound.h"
#include "ui/framework/thing.h"
#include "ui/framework/thing_list.h"

namespace spellcrypt {
namespace {

class SwitchesTest : public testing::AudioTest {
 protected:
  SoundManagerFactory MixerFactory() {
    return [this] { return std::make_unique<CMixerSoundManager>(platform); };
  }
  void SetUp() override {
    AudioTest::SetUp();
    testing::WriteOggTone(dir / "sound" / "title_music.ogg", 44100, 440);
    testing::WriteWavTone(dir / "sound" / "lowhealth.wav", 4410, 330);
  }
};

TEST_F(SwitchesTest, NoSoundAtStartUpNeverInitialisesAndPlaysNothingQuietly) {
  platform.QueueQuit(0);
  RunGame(platform, "", MixerFactory());
  EXPECT_EQ(Lines("SDL_mixer V2."), 1);
  std::filesystem::remove(dir / "defaults.dat");
  platform.debugLines.clear();
  platform.QueueQuit(0);
  RunGame(platform, "-NOSOUND", MixerFactory());
  EXPECT_EQ(Lines("SDL_mixer"), 0);
  EXPECT_EQ(Lines("PlayMusic"), 0);

  // The next run reads both switches from the saved settings.
  StartApp();
  GetApp()->LoadSettings();
  ASSERT_TRUE(GetApp()->settings->soundOff && GetApp()->settings->musicOff);
  platform.debugLines.clear();
  ISoundManager& sound = *GetApp()->soundManager;
  EXPECT_EQ(PlayEffect("sound\\lowhealth.wav") + PlayLoopedEffect("sound\\lowhealth.wav") +
                PlayMusicFile("sound\\title_music.ogg"),
            -3);
  EXPECT_EQ(sound.PlaySound("sound\\lowhealth.wav") + sound.PlayMusic("sound\\title_music.ogg", 999), -2);
  EXPECT_TRUE(platform.debugLines.empty());
}

TEST_F(SwitchesTest, OptionsSwitchSoundAndMusicAtOnce) {
  StartApp();
  Settings& settings = *GetApp()->settings;
  auto& sound = dynamic_cast<CMixerSoundManager&>(*GetApp()->soundManager);
  ApplySoundSettings();
  EXPECT_TRUE(sound.MusicPlaying()) << "the title music starts on the menus";

  // Effects off: what still sounds stops, even a loop; the music plays on.
  const int warning = sound.PlayLooped("sound\\lowhealth.wav");
  settings.soundOff = 1;
  ApplySoundSettings();
  EXPECT_FALSE(sound.IsPlaying(warning));
  EXPECT_TRUE(sound.MusicPlaying());
  EXPECT_EQ(PlayEffect("sound\\lowhealth.wav") + PlayLoopedEffect("sound\\lowhealth.wav"), -2);

  settings.musicOff = 1;
  ApplySoundSettings();
  EXPECT_FALSE(sound.IsInitialised()) << "both off shuts sound down";
  settings.soundOff = 0;
  ApplySoundSettings();
  EXPECT_GE(PlayEffect("sound\\lowhealth.wav"), 0);
  EXPECT_FALSE(sound.HasMusic());

  // In a dungeon the music waits for the next encounter.
  auto* board = new CThing();
  board->SetName("board");
  GetGlobals().things->Add(board);
  settings.musicOff = 0;
  ApplySoundSettings();
  EXPECT_FALSE(sound.HasMusic());
  GetGlobals().things->KillByName("board");
  GetGlobals().things->Purge();
  ApplySoundSettings();
  EXPECT_TRUE(sound.MusicPlaying());
  EXPECT_EQ(Lines("SDL_mixer V2."), 2) << "started, shut down, started again";
}

}  // namespace
}  // namespace spellcrypt
