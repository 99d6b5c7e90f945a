// Spellcrypt in the browser: the game on the web back end. The page preloads the data into
// /game; the player's files (settings, high scores, the saved game, the log) live in the
// browser's IndexedDB, mounted where the game keeps a user's files and read back before start.
#include <emscripten.h>

#include <memory>

#include "app/game_loop.h"
#include "audio/web_sound_manager.h"
#include "base/log.h"
#include "platform/web_platform.h"

// clang-format off
EM_JS(void, TellThePageTheGameEnded, (int exitCode), {
  if (typeof spellcryptEnded == "function") spellcryptEnded(exitCode);
});
// clang-format on

namespace {

std::unique_ptr<spellcrypt::WebPlatform> gPlatform;
bool gRunning = false;

void Pass() {
  if (!gRunning) return;
  // Every event the page queued since the last animation frame, then one frame.
  int exitCode = 0;
  bool frameDone = false;
  while (!frameDone) {
    if (!spellcrypt::MainLoopPass(exitCode, frameDone)) {
      gRunning = false;
      spellcrypt::EndGame();
      emscripten_cancel_main_loop();
      TellThePageTheGameEnded(exitCode);
      return;
    }
  }
}

}  // namespace

// Called by the page once the player's files are read back from IndexedDB.
extern "C" EMSCRIPTEN_KEEPALIVE void spellcrypt_begin() {
  gPlatform = std::make_unique<spellcrypt::WebPlatform>("#canvas");
  if (!spellcrypt::StartGame(*gPlatform, "",
                             [] { return std::make_unique<spellcrypt::WebSoundManager>(); })) {
    return;
  }
  gRunning = true;
  emscripten_set_main_loop(Pass, 0, 0);
}

int main() {
  // The game's files go to $HOME/.local/share/spellcrypt, which is IndexedDB here; the data it
  // reads are not writable, as for an installed game.
  // clang-format off
  EM_ASM({
    const home = "/home/web_user/.local/share";
    FS.mkdirTree(home);
    FS.mount(IDBFS, {}, home);
    FS.chmod("/game", 0o555);
    FS.syncfs(true, function(error) {
      if (error) console.error("Your saved files could not be read: " + error);
      Module._spellcrypt_begin();
    });
  });
  // clang-format on
  return 0;
}
