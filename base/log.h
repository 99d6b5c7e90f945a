// The game's log: time-stamped lines to the debugger output (standard error) and "log.txt".
// The log knows nothing of the program around it: start-up gives it a sink (the debugger output,
// the local time and message boxes) and the file to append to.
#pragma once

#include <string>

#include "base/clock.h"

namespace spellcrypt {

enum class MessageBoxIcon { Information, Warning, Error };

class ILogSink {
 public:
  virtual ~ILogSink() = default;
  // The debugger output (standard error on Linux).
  virtual void DebugOut(const char* text) = 0;
  virtual LocalTime Now() = 0;
  // A modal box; false when none could be shown (no display), so the text must be kept elsewhere.
  virtual bool ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) = 0;
};

// Where lines go. Without a sink they go to standard error only, with the time of day 0:00 AM;
// without a file (the default, and before the application exists) only to the debugger output.
void SetLogSink(ILogSink* sink);
void SetLogFile(const char* path);

// Shows a box inside the running game instead of the sink's modal one (the text comes without its
// closing line ends): true when it was taken
// (the box then shows over the live frame while the main loop goes on, and the call returns at
// once), false to leave it to the sink.
using MessageBoxRoute = bool (*)(const char* caption, const char* text, MessageBoxIcon icon);
// While set, every box is offered to `route` first; nullptr gives them back to the sink.
void SetMessageBoxRoute(MessageBoxRoute route);

// One information line "<time> - <text>\r\n".
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// One error line "ERROR - <time> - <text>\r\n".
void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Formats the text, adds "\r\n" and sends it to the debugger output only.
void DebugOut(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A modal box with the given caption and an information icon; the text is cut at 1021 characters.
void ReportError(const char* caption, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A modal box (or the game's own, see SetMessageBoxRoute). Where none can be shown, and whenever
// the game shows it, the text goes to the debugger output and the log file; without a box the
// program carries on as if it had been dismissed.
void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon);

// Today's local date as "Monday, December 07 2026".
std::string GetDateString();
// The local time as "3:07 PM".
std::string GetTimeString();

// Longest line the log writes, line end included; longer texts are cut.
constexpr int kMaxLogLine = 4047;
// Longest message-box text.
constexpr int kMaxReportText = 1021;

}  // namespace spellcrypt
