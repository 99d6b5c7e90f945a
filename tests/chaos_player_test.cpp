// The chaos player: the real program on the headless platform, driven by a seeded stream of random
// input (clicks, drags, half clicks, the wheel, keys, typed text, focus changes, window moves,
// Alt+Enter, the window closed) mixed with a player's purposeful moves (the buttons and tiles on
// screen, the keys that open popups, the bot's words and answers), across every screen, until its
// wall-clock budget is spent. The program is started again whenever it quits, keeping its files.
// It fails on a crash or a sanitizer report (the dying process names the seed and the step), on a
// frame of the main loop that does not return in time, on an ERROR line the game does not write on
// purpose, and when a run misses a screen that every run reaches.
//
// SPELLCRYPT_CHAOS_SECONDS sets the budget (60 s), SPELLCRYPT_CHAOS_SEED the seed (a new one each
// run, printed), SPELLCRYPT_CHAOS_FRAMES a number of frames to play instead (to replay a failure:
// the same seed and frames give the same input), SPELLCRYPT_CHAOS_TRACE prints each screen change.
#include <unistd.h>

#include <cxxabi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <typeinfo>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "base/keys.h"
#include "tests/bot/bot.h"
#include "tests/test_support.h"
#include "ui/framework/screen.h"
#include "ui/framework/thing_list.h"
#include "ui/game/tile.h"
#include "ui/widgets/menu_button.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define SPELLCRYPT_CHAOS_SANITIZED 1
#endif

namespace spellcrypt {
namespace {

using WallClock = std::chrono::steady_clock;
constexpr auto kFrameDeadline = std::chrono::seconds(5);
constexpr double kDefaultSeconds = 60;

// What the player sees, by the popup over it or the screen on top. The index is what the dying
// process reports, so the names stand in a fixed table.
constexpr const char* kScreenNames[] = {
    "starting",
    "title",
    "options",
    "help",
    "difficulty",
    "continue question",
    "map",
    "fight",
    "pause",
    "quit question",
    "tip",
    "book",
    "name entry",
    "internet question",
    "score submission",
    "submission answer",
    "rankings download",
    "summary",
    "hall of fame",
    "ending",
    "question",
    "notice",
    "other screen",
};
constexpr int kScreenCount = static_cast<int>(std::size(kScreenNames));

int ScreenIndex(const char* name) {
  for (int i = 0; i < kScreenCount; ++i) {
    if (std::strcmp(kScreenNames[i], name) == 0) return i;
  }
  return kScreenCount - 1;
}

// The screen classes (several live in their own files' anonymous namespaces), by their names.
const std::map<std::string, const char*> kScreenClasses = {
    {"ScreenTitle", "title"},
    {"ScreenOptions", "options"},
    {"ScreenChooseDiff", "difficulty"},
    {"ScreenMap", "map"},
    {"ScreenBook", "book"},
    {"ScreenTip", "tip"},
    {"ScreenEnterName", "name entry"},
    {"ScreenInternetSubmitAsk", "internet question"},
    {"ScreenSubmitScore", "score submission"},
    {"ScreenSubmitResponse", "submission answer"},
    {"ScreenDownloadScores", "rankings download"},
    {"ScreenSummary", "summary"},
    {"ScreenScores", "hall of fame"},
    {"ScreenWin", "ending"},
    {"ScreenYesNo", "question"},
    {"ScreenContinue", "notice"},
};

bool Named(const char* name) { return GetGlobals().things->FindByName(name) != nullptr; }

std::string ClassName(const Screen& screen) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(screen).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled != nullptr ? demangled : typeid(screen).name();
  std::free(demangled);
  const auto colons = name.rfind("::");
  return colons == std::string::npos ? name : name.substr(colons + 2);
}

int CurrentScreen() {
  if (!GlobalsExist() || GetApp() == nullptr) return ScreenIndex("starting");
  // The small popups are things over the title or the game, not screens.
  if (Named("helpbg")) return ScreenIndex("help");
  if (Named("paused_bg")) return ScreenIndex("pause");
  if (Named("giveup")) return ScreenIndex("quit question");
  if (Named("restart")) return ScreenIndex("continue question");
  const Screen* top = GetGlobals().TopScreen();
  if (top == nullptr) return ScreenIndex(Named("board") ? "fight" : "starting");
  const auto known = kScreenClasses.find(ClassName(*top));
  return known != kScreenClasses.end() ? ScreenIndex(known->second) : kScreenCount - 1;
}

// --- Where the run stands, for a process that dies: read by the signal handler, the sanitizer's
// death callback and the frame watchdog's thread, so only atomics and write(2) ---
struct Whereabouts {
  std::atomic<std::uint64_t> seed{0};
  std::atomic<long> step{0};
  std::atomic<long> frame{0};
  std::atomic<int> run{0};
  std::atomic<int> screen{0};
  std::atomic<WallClock::rep> lastBeat{0};
};
Whereabouts where;

void Append(char*& at, const char* end, const char* text) {
  while (*text != '\0' && at < end) *at++ = *text++;
}

void AppendNumber(char*& at, const char* end, unsigned long long value) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0 && at < end) *at++ = digits[--n];
}

void SayWhere(const char* what) {
  char line[512];
  char* at = line;
  const char* end = line + sizeof line - 1;
  Append(at, end, "\nchaos player: ");
  Append(at, end, what);
  Append(at, end, " at step ");
  AppendNumber(at, end, static_cast<unsigned long long>(where.step.load()));
  Append(at, end, " of seed ");
  AppendNumber(at, end, where.seed.load());
  Append(at, end, " (program run ");
  AppendNumber(at, end, static_cast<unsigned long long>(where.run.load()));
  Append(at, end, ", frame ");
  AppendNumber(at, end, static_cast<unsigned long long>(where.frame.load()));
  Append(at, end, ", on the ");
  const int screen = where.screen.load();
  Append(at, end, kScreenNames[screen >= 0 && screen < kScreenCount ? screen : 0]);
  Append(at, end, " screen); replay with SPELLCRYPT_CHAOS_SEED=");
  AppendNumber(at, end, where.seed.load());
  Append(at, end, " SPELLCRYPT_CHAOS_FRAMES=");
  AppendNumber(at, end, static_cast<unsigned long long>(where.frame.load() + 1));
  Append(at, end, "\n");
  *at = '\0';
  [[maybe_unused]] const ssize_t written = ::write(2, line, static_cast<std::size_t>(at - line));
}

#if defined(SPELLCRYPT_CHAOS_SANITIZED)
void OnSanitizerDeath() { SayWhere("a sanitizer stopped the program"); }
#else
void OnFatalSignal(int number) {
  SayWhere("the program crashed");
  std::signal(number, SIG_DFL);
  std::raise(number);
}
#endif

// For as long as it lives, a crash (or a sanitizer's report) names the seed and the step.
class CrashReport {
 public:
  CrashReport() {
#if defined(SPELLCRYPT_CHAOS_SANITIZED)
    __sanitizer_set_death_callback(OnSanitizerDeath);
#else
    for (int number : kSignals) previous_.push_back(std::signal(number, OnFatalSignal));
#endif
  }
  ~CrashReport() {
#if defined(SPELLCRYPT_CHAOS_SANITIZED)
    __sanitizer_set_death_callback(nullptr);
#else
    for (std::size_t i = 0; i < previous_.size(); ++i) std::signal(kSignals[i], previous_[i]);
#endif
  }
  CrashReport(const CrashReport&) = delete;
  CrashReport& operator=(const CrashReport&) = delete;

 private:
#if !defined(SPELLCRYPT_CHAOS_SANITIZED)
  static constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
  std::vector<void (*)(int)> previous_;
#endif
};

// A frame of the main loop that does not come back within the deadline stops the process: a stuck
// loop would otherwise hold the test until ctest's timeout, and say nothing of where it stuck.
class FrameWatchdog {
 public:
  FrameWatchdog() : thread_([this] { Watch(); }) { Beat(); }
  ~FrameWatchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  FrameWatchdog(const FrameWatchdog&) = delete;
  FrameWatchdog& operator=(const FrameWatchdog&) = delete;

  // The loop came round (a frame presented, or the yield between frames).
  static void Beat() { where.lastBeat = WallClock::now().time_since_epoch().count(); }

 private:
  void Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::milliseconds(200), [this] { return stop_; })) {
      const WallClock::time_point beat{WallClock::duration(where.lastBeat.load())};
      if (WallClock::now() - beat > kFrameDeadline) {
        SayWhere("a frame of the main loop did not return within 5 s");
        std::signal(SIGABRT, SIG_DFL);  // said once is enough
        std::abort();
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

// The headless platform, with the loop's heartbeat and the log lines kept (they also come from
// the transfers' threads) for the frame that reads them.
class ChaosPlatform : public HeadlessPlatform {
 public:
  void Sleep(std::uint32_t ms) override {
    HeadlessPlatform::Sleep(ms);
    FrameWatchdog::Beat();
  }
  void DebugOut(const char* text) override {
    std::lock_guard<std::mutex> lock(linesMutex_);
    lines_.emplace_back(text);
  }
  std::vector<std::string> TakeLines() {
    std::lock_guard<std::mutex> lock(linesMutex_);
    return std::exchange(lines_, {});
  }

 private:
  std::mutex linesMutex_;
  std::vector<std::string> lines_;
};

// ERROR lines the game writes on purpose when the chaos player does what it does.
struct AllowedError {
  const char* text;
  const char* reason;
};
constexpr AllowedError kAllowedErrors[] = {
    {"GetLowerTileByLetter failed!",
     "the last word recalled ('1' or '~') with one of its letters no longer on the rack: the letters "
     "there come up, the missing one is skipped and named in the log"},
    {"MoveTileToUpper got a null", "the same recall, the missing letter's tile"},
};

bool Allowed(const std::string& line) {
  return std::any_of(std::begin(kAllowedErrors), std::end(kAllowedErrors),
                     [&](const AllowedError& a) { return line.find(a.text) != std::string::npos; });
}

struct Options {
  std::uint64_t seed = 0;
  double seconds = kDefaultSeconds;
  long frames = 0;     // 0: play until the time is spent
  bool trace = false;  // each program run and change of screen printed
};

Options ReadOptions() {
  Options options;
  if (const char* seconds = std::getenv("SPELLCRYPT_CHAOS_SECONDS")) options.seconds = std::atof(seconds);
  if (const char* frames = std::getenv("SPELLCRYPT_CHAOS_FRAMES")) options.frames = std::atol(frames);
  options.trace = std::getenv("SPELLCRYPT_CHAOS_TRACE") != nullptr;
  if (const char* seed = std::getenv("SPELLCRYPT_CHAOS_SEED")) {
    options.seed = std::strtoull(seed, nullptr, 10);
  } else {
    std::random_device device;
    options.seed = (static_cast<std::uint64_t>(device()) << 32 | device()) % 1000000000000ULL;
  }
  return options;
}

// The player: one decision whenever its last one has been delivered and its pause is over.
class ChaosPlayer {
 public:
  explicit ChaosPlayer(const Options& options) : options_(options), random_(options.seed) {}

  // Plays program runs until the budget is spent.
  void Play(const std::string& programDir) {
    const auto end = WallClock::now() + std::chrono::duration_cast<WallClock::duration>(
                                            std::chrono::duration<double>(options_.seconds));
    while (!finished_) {
      ChaosPlatform platform;
      platform.SetProgramDir(programDir);
      platform.SetLocalTime(LocalTime{2026, 12, 7, 1, 21, 5, 0},
                            1796677500 + static_cast<std::int64_t>(Below(1000000)));
      platform_ = &platform;
      bot_.reset();
      nextAt_ = 0;  // a new program, a new clock
      moodEnds_ = 0;
      lastFrame_ = {};
      ++where.run;
      ++runs_;
      // Half the runs with -DEBUG, whose poison key ends games sooner.
      static const char* const kCommandLines[] = {
          "-WINDOWED",          "-WINDOWED -DEBUG", "-debug -window",  "-FULLSCREEN",
          "-DEBUG -FULLSCREEN", "-window -nosound", "-nosound -debug", ""};
      const char* commandLine = kCommandLines[Below(static_cast<int>(std::size(kCommandLines)))];
      cheats_ = strcasestr(commandLine, "-debug") != nullptr;
      if (options_.trace) std::printf("program run %d: spellcrypt %s\n", runs_, commandLine);
      // A slow machine's frames now and then: the game moves on by larger steps.
      static const std::uint32_t kFrameMs[] = {15, 15, 25, 40};
      platform.SetFrameMs(kFrameMs[Below(static_cast<int>(std::size(kFrameMs)))]);
      platform.onPresent = [this, end](int) { OnFrame(end); };
      FrameWatchdog::Beat();
      const int exitCode = RunGame(platform, commandLine);
      if (exitCode != 0) {
        ADD_FAILURE() << "program run " << runs_ << " (" << commandLine << ") ended with " << exitCode
                      << "; seed " << options_.seed;
      }
      for (const std::string& line : platform.TakeLines()) CheckLine(line);
      const std::string log = testing::ReadText(programDir + "/log.txt");
      for (std::size_t at = log.find("ERROR"); at != std::string::npos; at = log.find("ERROR", at + 1)) {
        const std::string line = log.substr(at, log.find('\n', at) - at);
        if (!Allowed(line) && !Reported(line)) {
          errors_.push_back("in the log of program run " + std::to_string(runs_) + ": " + line);
        }
      }
      platform_ = nullptr;
    }
  }

  long Frames() const { return frames_; }
  long Steps() const { return step_; }
  int Runs() const { return runs_; }
  double SlowestFrameMs() const { return std::chrono::duration<double, std::milli>(slowest_).count(); }
  const std::vector<std::string>& Errors() const { return errors_; }
  int Visits(int screen) const { return visits_[screen]; }
  long FramesOn(int screen) const { return framesOn_[screen]; }

 private:
  enum class Mood { Play, Explore, Wild };

  int Below(int n) { return n <= 1 ? 0 : static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

  void OnFrame(WallClock::time_point end) {
    const auto now = WallClock::now();
    if (lastFrame_ != WallClock::time_point{}) slowest_ = std::max(slowest_, now - lastFrame_);
    lastFrame_ = now;
    FrameWatchdog::Beat();
    where.frame = ++frames_;
    for (const std::string& line : platform_->TakeLines()) CheckLine(line);
    const int screen = CurrentScreen();
    where.screen = screen;
    ++framesOn_[screen];
    if (screen != lastScreen_) {
      ++visits_[screen];
      if (options_.trace) std::printf("frame %ld, step %ld: %s\n", frames_, step_, kScreenNames[screen]);
    }
    lastScreen_ = screen;
    if (finished_) return;
    if (options_.frames > 0 ? frames_ >= options_.frames : now >= end) {
      finished_ = true;
      platform_->PostQuit(0);
      return;
    }
    if (!GlobalsExist() || GetApp() == nullptr || !GetApp()->game) return;
    const std::uint32_t virtualNow = platform_->VirtualMs();
    if (virtualNow < nextAt_) return;
    where.step = ++step_;
    nextAt_ = virtualNow;
    Decide();
  }

  void CheckLine(const std::string& line) {
    if (line.rfind("ERROR", 0) != 0 || Allowed(line)) return;
    const std::string text = line.substr(0, line.find_last_not_of("\r\n") + 1);
    reported_.push_back(text);
    errors_.push_back("at step " + std::to_string(step_) + " (frame " + std::to_string(frames_) +
                      ", on the " + kScreenNames[lastScreen_] + " screen): " + text);
  }
  bool Reported(const std::string& line) const {
    return std::find(reported_.begin(), reported_.end(), line.substr(0, line.find_last_not_of("\r\n") + 1)) !=
           reported_.end();
  }

  // Decisions come as often as every frame (the bot answers as soon as the game lets it), so the
  // odds of the rarer moves are per mille.
  void Decide() {
    const std::uint32_t now = platform_->VirtualMs();
    if (now >= moodEnds_) {
      const int roll = Below(20);
      mood_ = roll < 12 ? Mood::Play : roll < 17 ? Mood::Explore : Mood::Wild;
      moodEnds_ = now + (mood_ == Mood::Play ? 5000 + Below(55000) : 1000 + Below(15000));
    }
    const int roll = Below(1000);
    // Poison (10 life), mostly once the game has a score to keep: the name entry follows the fall.
    if (cheats_ && lastScreen_ == ScreenIndex("fight") &&
        roll < (GetApp()->game->player.record.score > 0 ? 20 : 1)) {
      return Key('8');
    }
    // Where the bot always takes the same way on (Play, no, on, back), a player looks around first.
    static const int kLookAround[] = {ScreenIndex("title"), ScreenIndex("internet question"),
                                      ScreenIndex("summary"), ScreenIndex("hall of fame")};
    if (roll < 500 &&
        std::find(std::begin(kLookAround), std::end(kLookAround), lastScreen_) != std::end(kLookAround)) {
      return ClickSomethingOnScreen(50 + Below(450));
    }
    switch (mood_) {
      case Mood::Play:  // the bot's game, a stray press now and then
        if (InTheBotsWay()) return Chance(60) ? ClickSomethingOnScreen(Below(300)) : PopupKey(Below(300));
        if (roll < 5) return ClickSomethingOnScreen(Below(300));
        if (roll < 12) return RawInput(Below(300));
        return BotMove(Below(30));
      case Mood::Explore:  // the buttons and the keys that open popups
        if (roll < 500) return ClickSomethingOnScreen(50 + Below(450));
        if (roll < 650) return PopupKey(50 + Below(450));
        if (roll < 800) return BotMove(2 + Below(10));
        return RawInput(20 + Below(300));
      case Mood::Wild:  // anything at all, fast
        if (roll < 750) return RawInput(Below(60));
        if (roll < 900) return ClickSomethingOnScreen(Below(100));
        return BotMove(Below(30));
    }
  }

  // A screen the bot leaves alone: the player closes it to play on.
  bool InTheBotsWay() const {
    static const int kScreens[] = {
        ScreenIndex("options"),          ScreenIndex("help"),   ScreenIndex("pause"),
        ScreenIndex("question"),         ScreenIndex("notice"), ScreenIndex("quit question"),
        ScreenIndex("rankings download")};
    return std::find(std::begin(kScreens), std::end(kScreens), lastScreen_) != std::end(kScreens);
  }

  // --- The bot: real words in fights, and a player's answers to every screen ---
  void BotMove(std::uint32_t pauseMs) {
    if (!bot_ || bot_->Record().done) {
      BotPlan plan;
      plan.difficulty = Below(3);
      static const char* const kNames[] = {"Chaos", "Wren", "Ann O Neil", "X",
                                           "abcdefghijklmnopqrstuvwxyz0123"};
      plan.name = kNames[Below(static_cast<int>(std::size(kNames)))];
      plan.quitAfterCasts = Chance(40) ? Below(6) : -1;
      plan.continueSaved = Chance(70);
      plan.maxLetters = 3 + Below(6);
      // A slow player falls sooner; one who only watches falls in the first dungeon.
      const int pace = Below(10);
      plan.thinkMs = pace < 4 ? 0 : pace < 8 ? 2000 + Below(12000) : 600000;
      bot_ = std::make_unique<Bot>(*platform_, plan);
    }
    bot_->OnFrame();
    nextAt_ += pauseMs;
  }

  // --- Something a player would click: a button, a check box, a slider, a tile, a page ---
  void ClickSomethingOnScreen(std::uint32_t pauseMs) {
    std::vector<const CThingSprite*> targets;
    const bool allowQuit = Chance(3);  // the title's quit ends the program (it starts again)
    GetGlobals().things->ForEachLive([&](CThing* thing) {
      const auto* sprite = dynamic_cast<const CThingSprite*>(thing);
      if (sprite == nullptr || !thing->InputAllowed() || sprite->Width() <= 0) return;
      // Buttons with only a highlight picture stay hidden until the pointer is on them.
      if (sprite->hidden && thing->kind != 1) return;
      const auto* button = dynamic_cast<const CThingButton*>(thing);
      if (button != nullptr && button->command == kCmdQuit && !allowQuit) return;
      const bool clickable = thing->kind == 1 || sprite->mouseAware || dynamic_cast<const CTile*>(thing) ||
                             std::strncmp(thing->name, "page_", 5) == 0;
      if (clickable) targets.push_back(sprite);
    });
    if (targets.empty()) return RawInput(pauseMs);
    const CThingSprite* target = targets[static_cast<std::size_t>(Below(static_cast<int>(targets.size())))];
    const int x = std::clamp(static_cast<int>(target->x) + Below(target->Width()), 0, 639);
    const int y = std::clamp(static_cast<int>(target->y) + Below(target->Height()), 0, 479);
    if (Chance(20)) Queue(MouseEvent(PlatformEventType::MouseMove, x, y));  // hovers first
    platform_->QueueClick(nextAt_, x, y);
    nextAt_ += 60 + pauseMs;
  }

  // --- The keys that open and answer popups, and move between buttons ---
  void PopupKey(std::uint32_t pauseMs) {
    static const int kKeys[] = {vk::F1,    vk::Escape, vk::Escape, vk::Enter, vk::Space, vk::Left,
                                vk::Right, vk::Up,     vk::Down,   vk::Tab,   '1',       '2'};
    Key(kKeys[Below(static_cast<int>(std::size(kKeys)))]);
    nextAt_ += pauseMs;
  }

  // --- Anything a mouse, a keyboard or a window manager can send ---
  void RawInput(std::uint32_t pauseMs) {
    const int x = Below(640);
    const int y = Below(480);
    const int roll = Below(1000);
    if (roll < 200) {
      platform_->QueueMouseMove(nextAt_, x, y);
    } else if (roll < 400) {
      // A click, its release anywhere from at once to a long hold later.
      Queue(MouseEvent(PlatformEventType::MouseMove, x, y));
      Queue(MouseEvent(PlatformEventType::MouseDown, x, y));
      nextAt_ += static_cast<std::uint32_t>(Below(400));
      Queue(MouseEvent(PlatformEventType::MouseUp, x, y));
    } else if (roll < 440) {
      // A drag.
      Queue(MouseEvent(PlatformEventType::MouseDown, x, y));
      for (int i = Below(6); i >= 0; --i) {
        nextAt_ += static_cast<std::uint32_t>(Below(40));
        Queue(MouseEvent(PlatformEventType::MouseMove, Below(640), Below(480)));
      }
      Queue(MouseEvent(PlatformEventType::MouseUp, Below(640), Below(480)));
    } else if (roll < 470) {
      // Half a click: a press or a release alone.
      Queue(MouseEvent(Chance(50) ? PlatformEventType::MouseDown : PlatformEventType::MouseUp, x, y));
    } else if (roll < 510) {
      PlatformEvent wheel;
      wheel.type = PlatformEventType::Wheel;
      wheel.wheel = Chance(50) ? 1 + Below(3) : -1 - Below(3);  // never 0: no back end sends that
      Queue(wheel);
    } else if (roll < 800) {
      static const int kKeys[] = {vk::Enter, vk::Backspace, vk::Space, vk::Tab,  vk::Escape,   vk::F1,
                                  vk::Left,  vk::Up,        vk::Right, vk::Down, vk::Backquote};
      if (Chance(50)) {
        Key('A' + Below(26));
      } else if (Chance(30)) {
        Key('0' + Below(10));
      } else {
        Key(kKeys[Below(static_cast<int>(std::size(kKeys)))]);
      }
    } else if (roll < 900) {
      // Typed text: printable characters, letters with their keys.
      for (int i = 1 + Below(12); i > 0; --i) {
        const int c = 32 + Below(95);
        if (c >= 'a' && c <= 'z') {
          platform_->QueueKey(nextAt_, c - 'a' + 'A', c);
        } else if (c >= 'A' && c <= 'Z') {
          platform_->QueueKey(nextAt_, c, c);
        } else {
          platform_->QueueChar(nextAt_, c);
        }
        nextAt_ += static_cast<std::uint32_t>(Below(30));
      }
    } else if (roll < 930) {
      // The window loses the focus, and gets it back.
      Queue(WindowEvent(PlatformEventType::Deactivated));
      nextAt_ += static_cast<std::uint32_t>(Below(3000));
      Queue(WindowEvent(PlatformEventType::Activated));
    } else if (roll < 955) {
      Queue(WindowEvent(PlatformEventType::Moved));
    } else if (roll < 975) {
      Queue(WindowEvent(PlatformEventType::ToggleFullscreen));  // Alt+Enter
    } else if (roll < 990) {
      platform_->QueueKey(nextAt_, 'F', 0, true, true);  // Ctrl+Alt+F: the frame-rate line
    } else if (roll < 993) {
      Queue(WindowEvent(PlatformEventType::Quit));  // the window closed (the program starts again)
    } else {
      platform_->QueueKey(nextAt_, 'A' + Below(26), 0, Chance(50), !Chance(50));  // Ctrl or Alt
    }
    nextAt_ += pauseMs;
  }

  // A key as the SDL back end sends it: the key, then the character it types, if any.
  void Key(int key) {
    int character = 0;
    if (key >= 'A' && key <= 'Z') {
      character = Chance(80) ? key - 'A' + 'a' : key;
    } else if ((key >= '0' && key <= '9') || key == vk::Enter || key == vk::Backspace || key == vk::Space ||
               key == vk::Tab || key == vk::Escape) {
      character = key;
    } else if (key == vk::Backquote) {
      character = Chance(50) ? '`' : '~';
    }
    platform_->QueueKey(nextAt_, key, character);
    nextAt_ += 1;
  }
  static PlatformEvent MouseEvent(PlatformEventType type, int x, int y) {
    PlatformEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    return event;
  }
  static PlatformEvent WindowEvent(PlatformEventType type) {
    PlatformEvent event;
    event.type = type;
    return event;
  }
  void Queue(const PlatformEvent& event) { platform_->QueueEvent(nextAt_, event); }

  Options options_;
  std::mt19937_64 random_;
  ChaosPlatform* platform_ = nullptr;
  std::unique_ptr<Bot> bot_;
  Mood mood_ = Mood::Play;
  std::uint32_t moodEnds_ = 0;  // on the virtual clock
  std::uint32_t nextAt_ = 0;
  long frames_ = 0;
  long step_ = 0;
  int runs_ = 0;
  bool finished_ = false;
  bool cheats_ = false;  // started with -DEBUG: the 8 key drinks poison
  int lastScreen_ = 0;
  int visits_[kScreenCount] = {};
  long framesOn_[kScreenCount] = {};
  WallClock::time_point lastFrame_{};
  WallClock::duration slowest_{};
  std::vector<std::string> errors_;
  std::vector<std::string> reported_;
};

// The screens every run of a minute reaches, whatever the seed, even under the sanitizers (about
// 30,000 to 50,000 frames there, 350,000 in the optimised build). The end of a game (name entry,
// the internet question, the summary, the hall of fame and its download), the continue question,
// the book and the ending come in most runs but not in every sanitized one (a run may be one long
// game): they are counted and printed, not required. The server's answer never comes, as there is
// no server.
constexpr const char* kScreensReached[] = {
    "title", "options", "help", "difficulty", "map", "fight", "tip", "quit question",
};

TEST(ChaosPlayer, RandomInputOnEveryScreenNeitherCrashesNorHangsNorLogsAnError) {
  testing::TempDir dir;
  if (!LinkGameData(dir.Path())) SKIP_UNLESS_CI("the generated pictures and data are not built");
  const Options options = ReadOptions();
  where.seed = options.seed;
  std::printf("chaos player: seed %llu, %s\n", static_cast<unsigned long long>(options.seed),
              options.frames > 0 ? (std::to_string(options.frames) + " frames").c_str()
                                 : (std::to_string(options.seconds) + " s").c_str());
  std::fflush(stdout);
  // The score server is a port nothing listens on: every transfer fails at once, and nothing
  // leaves this machine.
  setenv("SPELLCRYPT_SCORE_SERVER", ("127.0.0.1:" + std::to_string(testing::DeadPort())).c_str(), 1);

  ChaosPlayer player(options);
  {
    CrashReport crashes;
    FrameWatchdog watchdog;
    player.Play(dir.Path());
  }
  unsetenv("SPELLCRYPT_SCORE_SERVER");

  std::printf("chaos player: seed %llu: %ld frames, %ld steps, %d program runs, slowest frame %.1f ms\n",
              static_cast<unsigned long long>(options.seed), player.Frames(), player.Steps(), player.Runs(),
              player.SlowestFrameMs());
  for (int i = 1; i < kScreenCount; ++i) {
    std::printf("  %-20s %6d visits %9ld frames\n", kScreenNames[i], player.Visits(i), player.FramesOn(i));
  }
  std::fflush(stdout);
  for (const std::string& error : player.Errors()) ADD_FAILURE() << "seed " << options.seed << ": " << error;
  // A short run (or a replay) need not see them all.
  if (options.frames == 0 && options.seconds >= kDefaultSeconds) {
    for (const char* screen : kScreensReached) {
      EXPECT_GT(player.Visits(ScreenIndex(screen)), 0)
          << "seed " << options.seed << " never saw the " << screen;
    }
  }
}

}  // namespace
}  // namespace spellcrypt
