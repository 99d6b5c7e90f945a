// The browser edition's files.
#include "server/static_files.h"

#include <zlib.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace spellcrypt::server {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "/play/";
constexpr const char* kIndex = "spellcrypt.html";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ExtensionOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : Lower(name.substr(dot + 1));
}

// FNV-1a, 64 bits: enough to tell two versions of a file apart.
std::string EtagOf(const std::string& body) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : body) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[24];
  std::snprintf(text, sizeof text, "\"%016llx\"", static_cast<unsigned long long>(hash));
  return text;
}

// A gzip member of the body; empty when zlib fails.
std::string Gzip(const std::string& body) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::string out(deflateBound(&z, body.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
  z.avail_in = static_cast<uInt>(body.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return result == Z_STREAM_END ? out : std::string();
}

bool ReadFile(const fs::path& path, std::string& body) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return false;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return false;
  body.resize(static_cast<std::size_t>(size));
  const std::size_t read = body.empty() ? 0 : std::fread(body.data(), 1, body.size(), in);
  const bool whole = read == body.size() && std::fgetc(in) == EOF;
  std::fclose(in);
  return whole;
}

}  // namespace

std::string MimeTypeOf(const std::string& name) {
  const std::string ext = ExtensionOf(name);
  if (ext == "html" || ext == "htm") return "text/html; charset=utf-8";
  if (ext == "js" || ext == "mjs") return "text/javascript; charset=utf-8";
  if (ext == "wasm") return "application/wasm";
  if (ext == "css") return "text/css; charset=utf-8";
  if (ext == "json") return "application/json";
  if (ext == "txt") return "text/plain; charset=utf-8";
  if (ext == "png") return "image/png";
  if (ext == "svg") return "image/svg+xml";
  if (ext == "ico") return "image/x-icon";
  return "application/octet-stream";
}

bool HasContentHash(const std::string& name) {
  std::size_t start = name.find('.');
  while (start != std::string::npos) {
    const std::size_t end = name.find('.', start + 1);
    if (end == std::string::npos) return false;  // the last part is the extension
    const std::size_t length = end - start - 1;
    bool hex = length >= 8;
    for (std::size_t i = start + 1; hex && i < end; ++i) {
      hex = std::isxdigit(static_cast<unsigned char>(name[i])) != 0;
    }
    if (hex) return true;
    start = end;
  }
  return false;
}

bool AcceptsGzip(const std::string* acceptEncoding) {
  if (acceptEncoding == nullptr) return false;
  const std::string value = Lower(*acceptEncoding);
  std::size_t at = 0;
  while (at <= value.size()) {
    std::size_t comma = value.find(',', at);
    if (comma == std::string::npos) comma = value.size();
    std::string item = value.substr(at, comma - at);
    const std::size_t semicolon = item.find(';');
    std::string coding = item.substr(0, semicolon);
    coding.erase(0, coding.find_first_not_of(" \t"));
    coding.erase(coding.find_last_not_of(" \t") + 1);
    if (coding == "gzip" || coding == "x-gzip") {
      if (semicolon == std::string::npos) return true;
      const std::string params = item.substr(semicolon + 1);
      const std::size_t q = params.find("q=");
      if (q == std::string::npos) return true;
      return std::strtod(params.c_str() + q + 2, nullptr) > 0.0;
    }
    at = comma + 1;
  }
  return false;
}

bool StaticFiles::Load(const std::string& folder, std::string& error) {
  files_.clear();
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) {
    error = "cannot read " + folder + ": " + ec.message();
    return false;
  }
  for (const fs::directory_entry& entry : it) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    StaticFile file;
    std::string body;
    if (!ReadFile(entry.path(), body)) {
      error = "cannot read " + entry.path().string();
      files_.clear();
      return false;
    }
    file.type = MimeTypeOf(name);
    file.etag = EtagOf(body);
    file.hashedName = HasContentHash(name);
    std::string packed = Gzip(body);
    if (!packed.empty() && packed.size() < body.size() - body.size() / 10)
      file.gzip = std::make_shared<const std::string>(std::move(packed));
    file.body = std::make_shared<const std::string>(std::move(body));
    files_.emplace(name, std::move(file));
  }
  if (files_.find(kIndex) == files_.end()) {
    error = folder + " holds no " + std::string(kIndex);
    files_.clear();
    return false;
  }
  return true;
}

bool StaticFiles::Answer(const HttpRequest& request, HttpReply& reply) const {
  if (request.path == "/play") {
    reply = HttpReply{};
    reply.status = 301;
    reply.headers.emplace_back("Location", kPrefix);
    reply.body = "The game is at /play/\n";
    return true;
  }
  if (request.path.rfind(kPrefix, 0) != 0) return false;
  std::string name = request.path.substr(std::char_traits<char>::length(kPrefix));
  if (name.empty()) name = kIndex;
  const auto found = name.find('/') == std::string::npos ? files_.find(name) : files_.end();
  if (found == files_.end()) return false;
  const StaticFile& file = found->second;
  reply = HttpReply{};
  if (request.method != "GET" && request.method != "HEAD") {
    reply.status = 405;
    reply.body = "This file can only be read.\n";
    reply.headers.emplace_back("Allow", "GET, HEAD");
    return true;
  }
  reply.headers.emplace_back("ETag", file.etag);
  reply.headers.emplace_back("Cache-Control",
                             file.hashedName ? "public, max-age=31536000, immutable" : "no-cache");
  reply.headers.emplace_back("Vary", "Accept-Encoding");
  const std::string* match = request.Header("if-none-match");
  if (match != nullptr && *match == file.etag) {
    reply.status = 304;
    return true;
  }
  reply.contentType = file.type;
  if (file.gzip && AcceptsGzip(request.Header("accept-encoding"))) {
    reply.sharedBody = file.gzip;
    reply.headers.emplace_back("Content-Encoding", "gzip");
  } else {
    reply.sharedBody = file.body;
  }
  return true;
}

}  // namespace spellcrypt::server
