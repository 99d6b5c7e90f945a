// Spellcrypt in the browser: the game on the web back end. The page preloads the data into
// /game; the player's files (settings, high scores, the saved game, the log) live in the
// browser's IndexedDB, mounted where the game keeps a user's files and read back before start.
// The page's address may carry switches: "?debug" starts the game as -DEBUG does, "?measure"
// plays the busiest fight and times its frames (read with spellcrypt_state()).
#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/busy_fight.h"
#include "app/game_loop.h"
#include "app/state_report.h"
#include "audio/web_sound_manager.h"
#include "base/log.h"
#include "game/saved_game.h"
#include "gfx/image_jpeg_web.h"
#include "platform/files.h"
#include "platform/web_platform.h"
#include "ui/game/game_screen.h"
#include "words/meanings.h"

// clang-format off
EM_JS(void, TellThePageTheGameEnded, (int exitCode), {
  if (typeof spellcryptEnded == "function") spellcryptEnded(exitCode);
});

EM_JS(int, PageSwitch, (const char* name), {
  return new URLSearchParams(location.search).has(UTF8ToString(name)) ? 1 : 0;
});

EM_JS(int, PageHidden, (), {
  return document.visibilityState == "hidden" ? 1 : 0;
});

EM_JS(void, PageHost, (char* out, int size), {
  stringToUTF8(location.host, out, size);
});
// clang-format on

namespace {

using namespace spellcrypt;

std::unique_ptr<WebPlatform> gPlatform;
bool gRunning = false;
bool gHidden = false;
bool gKeptForLater = false;  // the saved game was written as the tab hid, not by the player

// What the page's scripted player and the figures read besides the game's state.
struct Watch {
  int frames = 0;
  int titleFrame = 0;  // the number of the first frame put on the canvas with the title on top
  double titleMs = 0;  // when it was presented (ms since the page's navigation began)
  std::unique_ptr<BusyFight> measure;
  bool measuring = false;          // the frame about to run is drawn at full bustle
  std::vector<double> passesUs;    // the time of each such frame
  std::vector<double> presentsUs;  // of which handing it to the canvas
  double meaningsLoadMs = 0;       // reading the word meanings, as the first lookup of a game does
  double meaningsFindNs = 0;       // one lookup
} gWatch;

void NoteFrame(double startedMs) {
  Watch& w = gWatch;
  ++w.frames;
  const double now = emscripten_get_now();
  if (w.measuring && w.passesUs.size() < 100000) {
    w.passesUs.push_back((now - startedMs) * 1000.0);
    w.presentsUs.push_back(gPlatform->LastPresentMs() * 1000.0);
  }
  if (w.titleFrame == 0 && TitleOnTop()) {
    w.titleFrame = gPlatform->Presents();
    w.titleMs = now;
  }
  w.measuring = w.measure != nullptr && w.measure->Step();
}

void Pass() {
  if (!gRunning) return;
  // Every event the page queued since the last animation frame, then one frame.
  int exitCode = 0;
  bool frameDone = false;
  const double started = emscripten_get_now();
  while (!frameDone) {
    if (!MainLoopPass(exitCode, frameDone)) {
      gRunning = false;
      EndGame();
      emscripten_cancel_main_loop();
      TellThePageTheGameEnded(exitCode);
      return;
    }
  }
  NoteFrame(started);
}

// A hidden tab runs no frames and may be closed without a word: the game pauses and falls silent
// at once, the settings are written as a closing program writes them, and a game in play is saved
// as the quit question's yes saves it. Back in view, that save goes again, as the game goes on (a
// game left by the player's own quit keeps its save).
void OnVisibility(bool visible) {
  if (!gRunning || visible != gHidden) return;
  gHidden = !visible;
  PlatformEvent event;
  event.type = visible ? PlatformEventType::Activated : PlatformEventType::Deactivated;
  if (!visible) {
    HandleWindowEvent(event);
    if (CAppGlo* app = GetApp()) app->SaveSettings();
    gKeptForLater = KeepGameForLater();
    if (gKeptForLater) Log("The tab was hidden: the game in play was saved.");
    return;
  }
  if (gKeptForLater) DeleteFile(WritablePath(kSaveFileName));
  gKeptForLater = false;
  HandleWindowEvent(event);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2),
                   values.end());
  return values[values.size() / 2];
}

// The word meanings read from the data pack nine times over, and lookups of found and unknown
// words (many to a timing: the page's clock steps by a tenth of a millisecond); medians.
void MeasureMeanings() {
  static const char* const kWords[] = {"crowd", "mice", "packager", "oyez",
                                       "youse", "qwxz", "running",  "greyer"};
  constexpr int kRounds = 2000;
  std::vector<double> loads, finds;
  for (int i = 0; i < 9; ++i) {
    Meanings meanings;
    double started = emscripten_get_now();
    if (!meanings.Load(kMeaningsPath)) return;
    loads.push_back(emscripten_get_now() - started);
    int found = 0;
    started = emscripten_get_now();
    for (int round = 0; round < kRounds; ++round) {
      for (const char* word : kWords) found += meanings.Find(word).has_value() ? 1 : 0;
    }
    const double lookups = static_cast<double>(kRounds) * static_cast<double>(std::size(kWords));
    finds.push_back((emscripten_get_now() - started) * 1e6 / lookups);
    if (found == 0) return;
  }
  gWatch.meaningsLoadMs = Median(loads);
  gWatch.meaningsFindNs = Median(finds);
}

}  // namespace

// The game's state and the page's figures, as JSON, for a scripted player.
extern "C" EMSCRIPTEN_KEEPALIVE const char* spellcrypt_state() {
  static std::string report;
  report = StateReport();
  report.pop_back();  // the closing brace
  const Watch& w = gWatch;
  report += ",\"frames\":" + std::to_string(w.frames) + ",\"titleFrame\":" + std::to_string(w.titleFrame) +
            ",\"titleMs\":" + std::to_string(w.titleMs) +
            ",\"measured\":" + std::to_string(w.passesUs.size()) +
            ",\"frameUs\":" + std::to_string(Median(w.passesUs)) +
            ",\"presentUs\":" + std::to_string(Median(w.presentsUs)) +
            ",\"meaningsLoadMs\":" + std::to_string(w.meaningsLoadMs) +
            ",\"meaningsFindNs\":" + std::to_string(w.meaningsFindNs) + "}";
  return report.c_str();
}

// Once the player's files are read back and the pictures decoded.
static void Begin() {
  // The score server is the one that served the page.
  char host[256] = {};
  PageHost(host, sizeof host);
  if (host[0] != '\0') setenv("SPELLCRYPT_SCORE_SERVER", host, 1);
  gPlatform = std::make_unique<WebPlatform>("#canvas");
  gPlatform->onVisibility = OnVisibility;
  std::string commandLine = PageSwitch("debug") != 0 ? "-DEBUG" : "";
  if (PageSwitch("measure") != 0) {
    gWatch.measure = std::make_unique<BusyFight>();
    commandLine += " -NOSOUND";
  }
  if (!StartGame(*gPlatform, commandLine, [] { return std::make_unique<WebSoundManager>(); })) return;
  if (gWatch.measure != nullptr) MeasureMeanings();
  gRunning = true;
  gHidden = PageHidden() != 0;
  emscripten_set_main_loop(Pass, 0, 0);
}

// Called by the page once the player's files are read back from IndexedDB.
extern "C" EMSCRIPTEN_KEEPALIVE void spellcrypt_files_read() { DecodePicturesAhead("/game", &Begin); }

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
      Module._spellcrypt_files_read();
    });
  });
  // clang-format on
  return 0;
}
