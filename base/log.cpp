// The log: every line goes to the debugger output and, once a file is set, is appended to it.
// One process-wide re-entrant lock serialises writers (the HTTP worker logs from its own thread).
#include "base/log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace spellcrypt {

namespace {

// Created on first use, which is before anything else in the program logs.
std::recursive_mutex& LogLock() {
  static std::recursive_mutex lock;
  return lock;
}

struct LogTarget {
  ILogSink* sink = nullptr;
  MessageBoxRoute route = nullptr;
  std::string file;
};

LogTarget& Target() {
  static LogTarget target;
  return target;
}

void SendToDebugger(const char* text) {
  if (ILogSink* sink = Target().sink) {
    sink->DebugOut(text);
  } else {
    std::fputs(text, stderr);
  }
}

void AppendToLogFile(const std::string& line) {
  const std::string& path = Target().file;
  if (path.empty()) return;
  if (std::FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

LocalTime CurrentTime() {
  if (ILogSink* sink = Target().sink) return sink->Now();
  return LocalTime{};
}

// The format comes from Log and LogError, which the compiler checks.
__attribute__((format(printf, 2, 0))) void WriteLine(bool error, const char* format, va_list args) {
  std::lock_guard<std::recursive_mutex> guard(LogLock());
  const std::string time = GetTimeString();
  char text[kMaxLogLine + 1];
  std::vsnprintf(text, sizeof text, format, args);
  char line[kMaxLogLine + 1];
  // The whole line, time and separators included, stays within kMaxLogLine characters.
  const int prefix = std::snprintf(line, sizeof line, error ? "ERROR - %s - " : "%s - ", time.c_str());
  const int room = kMaxLogLine - 2 - prefix;
  std::snprintf(line + prefix, sizeof line - static_cast<std::size_t>(prefix), "%.*s\r\n", room, text);
  SendToDebugger(line);
  AppendToLogFile(line);
}

const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

}  // namespace

void SetLogSink(ILogSink* sink) {
  std::lock_guard<std::recursive_mutex> guard(LogLock());
  Target().sink = sink;
}

void SetLogFile(const char* path) {
  std::lock_guard<std::recursive_mutex> guard(LogLock());
  Target().file = path != nullptr ? path : "";
}

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteLine(false, format, args);
  va_end(args);
}

void LogError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteLine(true, format, args);
  va_end(args);
}

void DebugOut(const char* format, ...) {
  char text[kMaxLogLine + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text - 2, format, args);
  va_end(args);
  std::string line(text);
  line += "\r\n";
  std::lock_guard<std::recursive_mutex> guard(LogLock());
  SendToDebugger(line.c_str());
}

void SetMessageBoxRoute(MessageBoxRoute route) {
  std::lock_guard<std::recursive_mutex> guard(LogLock());
  Target().route = route;
}

void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) {
  ILogSink* sink = nullptr;
  MessageBoxRoute route = nullptr;
  {
    std::lock_guard<std::recursive_mutex> guard(LogLock());
    sink = Target().sink;
    route = Target().route;
  }
  // The game's own box and the log take the text without its closing line ends.
  std::string body(text);
  while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
  const bool inGame = route != nullptr && route(caption, body.c_str(), icon);
  // A modal box waits for the player: the lock is not held meanwhile.
  if (!inGame && sink != nullptr && sink->ShowMessageBox(caption, text, icon)) return;
  Log("[%s] %s", caption, body.c_str());
}

void ReportError(const char* caption, const char* format, ...) {
  char text[kMaxReportText + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::string message(text);
  message += "\r\n";
  ShowMessageBox(caption, message.c_str(), MessageBoxIcon::Information);
}

std::string GetDateString() {
  const LocalTime t = CurrentTime();
  if (t.weekday < 0 || t.weekday > 6 || t.month < 1 || t.month > 12) {
    LogError("Get date function failed.\n");
    return std::string();
  }
  char text[64];
  std::snprintf(text, sizeof text, "%s, %s %02d %04d", kWeekdays[t.weekday], kMonths[t.month - 1], t.day,
                t.year);
  return text;
}

std::string GetTimeString() {
  const LocalTime t = CurrentTime();
  int hour = t.hour % 12;
  if (hour == 0) hour = 12;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d %s", hour, t.minute, t.hour < 12 ? "AM" : "PM");
  return text;
}

}  // namespace spellcrypt
