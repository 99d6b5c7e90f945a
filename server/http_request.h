// One HTTP/1.x request as the score server reads it off a connection, byte by byte as they come.
// The reader is strict where leniency has been abused (smuggling through two lengths or a transfer
// coding beside a length, folded header lines, control characters) and bounded everywhere (the header
// block, the number of headers, the body), and it never reads past the request it is given: bytes
// that follow stay for the next request on the same connection.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace spellcrypt::server {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  std::string method;  // "GET", "HEAD" or "POST"
  std::string target;  // as sent: path and query
  std::string path;    // the target up to '?'
  std::string query;   // after '?', still encoded
  int minorVersion = 1;
  Fields headers;  // names in lower case, values trimmed
  std::string body;
  bool keepAlive = false;
  // The client: the connection's peer, or the address a trusted proxy forwarded.
  std::string client;

  // The first header of that name (lower case), or null.
  const std::string* Header(std::string_view name) const;
};

// Decodes an application/x-www-form-urlencoded text ("a=1&b=x+y%21"): every pair in order,
// duplicates kept. Pairs without '=' have an empty value; empty pairs are skipped.
Fields DecodeForm(std::string_view text);
// The value of the first field of that name, or null.
const std::string* FieldOf(const Fields& fields, std::string_view name);

class RequestReader {
 public:
  enum class State { Incomplete, Complete, Failed };

  struct Limits {
    std::size_t headerBytes = 16 * 1024;
    std::size_t headerCount = 64;
    std::size_t bodyBytes = 256 * 1024;
  };

  explicit RequestReader(Limits limits) : limits_(limits) {}

  // Reads from the front of `input` and erases what it used. Complete: the request is in Request()
  // and input holds what followed it. Failed: Status() says which answer to send (400, 411, 413,
  // 431, 501, 505), and the connection must close after it.
  State Read(std::string& input);
  // Whether the header block has been read (the body may still be coming).
  bool HeadersRead() const { return headersRead_; }
  // The header block asked for "100 Continue" before the body: answered once, then cleared.
  bool TakeContinueRequest();
  int Status() const { return status_; }
  // What the request line held (for the log of a request that failed), cut to a few hundred bytes.
  const std::string& Method() const { return request_.method; }
  const std::string& Target() const { return request_.target; }

  HttpRequest& Request() { return request_; }
  // Ready for the next request of the connection.
  void Reset();

 private:
  State Fail(int status);
  bool ParseHead(std::string_view head);

  Limits limits_;
  HttpRequest request_;
  bool headersRead_ = false;
  bool wantsContinue_ = false;
  std::size_t bodyLength_ = 0;
  int status_ = 0;
};

}  // namespace spellcrypt::server
