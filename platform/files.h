// Files the game names: every path goes through ResolvePath, so "graphics\Rat.bmp" finds
// "graphics/rat.bmp". Whole-file reads and atomic replacement live here too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace spellcrypt {

// Backslashes become '/', and each component that does not exist as written is matched without
// regard to case. Components that match nothing are kept as written (a file about to be created).
std::string ResolvePath(std::string_view path);
// fopen after ResolvePath.
std::FILE* OpenFile(std::string_view path, const char* mode);
bool FileExists(std::string_view path);
bool DeleteFile(std::string_view path);
// Reads the whole file; false when it cannot be opened or read completely.
bool ReadWholeFile(std::string_view path, std::vector<std::uint8_t>& out);
// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it over
// the target, so a crash mid-write never leaves a truncated or mixed file.
bool WriteFileAtomically(std::string_view path, const void* data, std::size_t size);
// Called with a file's absolute path after it was replaced by WriteFileAtomically or removed by
// DeleteFile (the browser edition copies the player's files to lasting storage then); none by
// default.
void SetFilesChangedHook(void (*hook)(const char* path));
// Appends text to a file, creating it when needed; nothing for an empty text or path.
void AppendToFile(std::string_view text, std::string_view path);

// Where the files the game writes (log, settings, scores, saved game) go: the working directory,
// which is the program's folder, as a rule; a folder of the user's when the program's folder cannot
// be written (an installed game). An empty folder means the working directory.
void SetWriteFolder(std::string_view folder);
const std::string& WriteFolder();
// The path a file the game writes is kept at.
std::string WritablePath(std::string_view name);
bool IsWritableFolder(std::string_view folder);
// $XDG_DATA_HOME/spellcrypt/ (by default ~/.local/share/spellcrypt/), made when missing, ending
// with '/'; empty when there is no such folder and it cannot be made.
std::string UserDataFolder();

}  // namespace spellcrypt
