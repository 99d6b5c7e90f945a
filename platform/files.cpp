// Path resolution and file helpers over the standard library and POSIX.
#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/text_util.h"

namespace spellcrypt {

namespace fs = std::filesystem;

std::string ResolvePath(std::string_view path) {
  std::string unified(path);
  for (char& c : unified) {
    if (c == '\\') c = '/';
  }
  std::error_code ec;
  if (unified.empty() || fs::exists(unified, ec)) return unified;

  // Walk the components, matching each without regard to case where the exact name is absent.
  std::string resolved = unified[0] == '/' ? "/" : "";
  bool matching = true;
  std::size_t pos = 0;
  while (pos <= unified.size()) {
    std::size_t next = unified.find('/', pos);
    if (next == std::string::npos) next = unified.size();
    const std::string_view component(unified.data() + pos, next - pos);
    pos = next + 1;
    if (component.empty()) continue;
    std::string candidate = resolved.empty() || resolved.back() == '/'
                                ? resolved + std::string(component)
                                : resolved + "/" + std::string(component);
    if (matching && !fs::exists(candidate, ec) && component != "." && component != "..") {
      const fs::path dir = resolved.empty() ? fs::path(".") : fs::path(resolved);
      bool found = false;
      for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (EqualsNoCase(name, component)) {
          candidate = resolved.empty() || resolved.back() == '/' ? resolved + name : resolved + "/" + name;
          found = true;
          break;
        }
      }
      if (!found) matching = false;
    }
    resolved = candidate;
  }
  return resolved;
}

std::FILE* OpenFile(std::string_view path, const char* mode) {
  return std::fopen(ResolvePath(path).c_str(), mode);
}

bool FileExists(std::string_view path) {
  std::error_code ec;
  return fs::exists(ResolvePath(path), ec);
}

namespace {
void (*gFilesChanged)(const char*) = nullptr;

bool Changed(bool done, const std::string& path) {
  if (done && gFilesChanged != nullptr) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    gFilesChanged(ec ? path.c_str() : absolute.c_str());
  }
  return done;
}
}  // namespace

void SetFilesChangedHook(void (*hook)(const char* path)) { gFilesChanged = hook; }

bool DeleteFile(std::string_view path) {
  std::error_code ec;
  const std::string resolved = ResolvePath(path);
  return Changed(fs::remove(resolved, ec), resolved);
}

bool ReadWholeFile(std::string_view path, std::vector<std::uint8_t>& out) {
  out.clear();
  const std::string resolved = ResolvePath(path);
  std::error_code ec;
  // A folder opens like a file but reports an absurd size.
  if (!fs::is_regular_file(resolved, ec)) return false;
  std::FILE* f = std::fopen(resolved.c_str(), "rb");
  if (f == nullptr) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    out.resize(static_cast<std::size_t>(size));
    ok = size == 0 || std::fread(out.data(), 1, out.size(), f) == out.size();
  }
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

bool WriteFileAtomically(std::string_view path, const void* data, std::size_t size) {
  const std::string target = ResolvePath(path);
  const std::string temporary = target + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = ::write(fd, bytes + written, size - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool ok = written == size && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !ok || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return Changed(true, target);
}

namespace {
std::string& WriteFolderSlot() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetWriteFolder(std::string_view folder) {
  std::string& slot = WriteFolderSlot();
  slot = folder;
  if (!slot.empty() && slot.back() != '/') slot += '/';
}

const std::string& WriteFolder() { return WriteFolderSlot(); }

std::string WritablePath(std::string_view name) { return WriteFolderSlot() + std::string(name); }

bool IsWritableFolder(std::string_view folder) {
  const std::string path = folder.empty() ? std::string(".") : std::string(folder);
  return ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = std::string(home) + "/.local/share";
  } else {
    return std::string();
  }
  const std::string folder = base + "/spellcrypt/";
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec) && IsWritableFolder(folder) ? folder : std::string();
}

void AppendToFile(std::string_view text, std::string_view path) {
  if (text.empty() || path.empty()) return;
  std::FILE* f = OpenFile(path, "ab");
  if (f == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

}  // namespace spellcrypt
