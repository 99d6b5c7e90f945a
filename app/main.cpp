// Spellcrypt: the game on the SDL2 back end.
#include <string>

#include "app/game_loop.h"
#include "audio/mixer_sound_manager.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  spellcrypt::SdlPlatform platform;
  return spellcrypt::RunGame(platform, commandLine, [&platform] {
    return std::make_unique<spellcrypt::CMixerSoundManager>(platform);
  });
}
