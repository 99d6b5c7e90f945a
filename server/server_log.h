// The score server's log: one line per event on standard error, each stamped with the UTC time in
// ISO 8601 and written in one piece, so lines from many threads never interleave. Anything a client
// sent is escaped before it reaches the log: a request cannot forge a line or drive the operator's
// terminal.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace spellcrypt::server {

// "2026-12-09T03:04:05.123Z"
std::string Timestamp(std::chrono::system_clock::time_point when);
// Text a client sent, safe to print on a terminal as one field of a line: control characters (tab
// and line ends too, C1 controls, the marks that turn text's direction), bytes that are not UTF-8
// and the backslash itself print as \xNN.
std::string TerminalText(std::string_view text);
// Writes "<timestamp> <text>" as one line to standard error.
void LogLine(std::string_view text);

}  // namespace spellcrypt::server
