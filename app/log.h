// The game's log: time-stamped lines to the debugger output (standard error) and "log.txt".
#pragma once

#include <string>

namespace spellcrypt {

// One information line "<time> - <text>\r\n".
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// One error line "ERROR - <time> - <text>\r\n".
void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Formats the text, adds "\r\n" and sends it to the debugger output only.
void DebugOut(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A modal box with the given caption and an information icon; the text is cut at 1021 characters.
void ReportError(const char* caption, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Today's local date as "Monday, December 07 2026".
std::string GetDateString();
// The local time as "3:07 PM".
std::string GetTimeString();

// Longest line the log writes, line end included; longer texts are cut.
constexpr int kMaxLogLine = 4047;
// Longest message-box text.
constexpr int kMaxReportText = 1021;

}  // namespace spellcrypt
