// The command line: switches and an optional word-list path.
#include <cstring>
#include <string>

#include "app/app.h"
#include "app/game_loop.h"
#include "base/log.h"
#include "base/text_util.h"

namespace spellcrypt {

namespace {
constexpr std::size_t kMaxCommandLine = 255;
constexpr std::size_t kMaxField = 91;
constexpr int kMaxArguments = 19;
}  // namespace

void ParseCommandLine(const char* text) {
  CAppGlo* app = GetApp();
  if (app == nullptr || text == nullptr) return;
  // Over-long input is cut, never overflowed.
  const std::string line(text, std::min(std::strlen(text), kMaxCommandLine));
  for (int n = 1; n <= kMaxArguments; ++n) {
    std::string field = GetField(line, n, ' ');
    if (field.empty()) break;
    if (field.size() > kMaxField) field.resize(kMaxField);
    if (EqualsNoCase(field, "-DEBUG")) {
      app->fpsDisplay = true;
      app->debugMode = true;
      Log("Debug mode activated. (-debug parm)");
    } else if (EqualsNoCase(field, "-FULLSCREEN")) {
      app->settings->fullscreen = 1;
      Log("Fullscreen mode activated. (-fullscreen parm)");
    } else if (EqualsNoCase(field, "-WINDOWED") || EqualsNoCase(field, "-WINDOW")) {
      app->settings->fullscreen = 0;
      Log("Windowed mode activated. (-windowed parm)");
    } else if (EqualsNoCase(field, "-NOSOUND")) {
      app->settings->soundOff = 1;
      app->settings->musicOff = 1;
      Log("Sound disabled. (-nosound parm)");
    } else {
      CopyText(app->wordListPath, sizeof app->wordListPath, field);
    }
  }
}

}  // namespace spellcrypt
