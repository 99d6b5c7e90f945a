// The browser edition's files, served at /play/ from memory: read once at start, each with its
// MIME type, a strong ETag and, where it pays, a gzip copy for the clients that accept one.
// Content-hashed names ("spellcrypt.3f2a9c1d.wasm") may be kept by browsers for a year; the
// others are checked again each time (their ETag makes that a short 304).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "server/http_request.h"
#include "server/http_server.h"

namespace spellcrypt::server {

struct StaticFile {
  std::string type;
  // Shared with the answers that carry them: a file is never copied per request.
  std::shared_ptr<const std::string> body;
  std::shared_ptr<const std::string> gzip;  // null when compressing does not pay
  std::string etag;
  bool hashedName = false;
};

// The MIME type a file's name calls for.
std::string MimeTypeOf(const std::string& name);
// Whether a file name carries a content hash (a dot-separated part of 8 or more hex digits).
bool HasContentHash(const std::string& name);
// Whether an Accept-Encoding header accepts gzip (and does not refuse it with q=0).
bool AcceptsGzip(const std::string* acceptEncoding);

class StaticFiles {
 public:
  // Reads the regular files directly in `folder`. False, with the reason, when the folder cannot
  // be read or holds no "spellcrypt.html".
  bool Load(const std::string& folder, std::string& error);
  bool Loaded() const { return !files_.empty(); }
  std::size_t Count() const { return files_.size(); }
  // The answer for /play and what is under /play/; false for other paths.
  bool Answer(const HttpRequest& request, HttpReply& reply) const;

 private:
  std::map<std::string, StaticFile, std::less<>> files_;
};

}  // namespace spellcrypt::server
