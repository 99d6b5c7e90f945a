// The score server's request reader and form decoding.
#include "server/http_request.h"

#include <algorithm>
#include <cstring>

namespace spellcrypt::server {

namespace {

// The longest request target kept; longer ones are refused (the server's are a few dozen bytes).
constexpr std::size_t kMaxTarget = 8 * 1024;

bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::strchr("!#$%&'*+-.^_`|~", c) != nullptr && c != '\0';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string DecodeComponent(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && Lower(a) == Lower(b);
}

// Whether a comma-separated header value holds the token (case ignored).
bool HasToken(std::string_view value, std::string_view token) {
  while (!value.empty()) {
    const std::size_t comma = value.find(',');
    std::string_view item = value.substr(0, comma);
    while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.remove_suffix(1);
    if (EqualsNoCase(item, token)) return true;
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace

const std::string* HttpRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key == name) return &value;
  }
  return nullptr;
}

Fields DecodeForm(std::string_view text) {
  Fields fields;
  while (!text.empty()) {
    const std::size_t amp = text.find('&');
    const std::string_view pair = text.substr(0, amp);
    if (!pair.empty()) {
      const std::size_t eq = pair.find('=');
      fields.emplace_back(DecodeComponent(pair.substr(0, eq)), eq == std::string_view::npos
                                                                   ? std::string()
                                                                   : DecodeComponent(pair.substr(eq + 1)));
    }
    if (amp == std::string_view::npos) break;
    text.remove_prefix(amp + 1);
  }
  return fields;
}

const std::string* FieldOf(const Fields& fields, std::string_view name) {
  for (const auto& [key, value] : fields) {
    if (key == name) return &value;
  }
  return nullptr;
}

RequestReader::State RequestReader::Fail(int status) {
  status_ = status;
  return State::Failed;
}

void RequestReader::Reset() {
  request_ = HttpRequest();
  headersRead_ = false;
  wantsContinue_ = false;
  bodyLength_ = 0;
  status_ = 0;
}

bool RequestReader::TakeContinueRequest() { return std::exchange(wantsContinue_, false); }

RequestReader::State RequestReader::Read(std::string& input) {
  if (status_ != 0) return State::Failed;
  if (!headersRead_) {
    // Blank lines before a request are allowed (and skipped).
    std::size_t skip = 0;
    while (skip < input.size() && (input[skip] == '\r' || input[skip] == '\n')) ++skip;
    if (skip > 0) input.erase(0, skip);
    // The header block ends at the first empty line; lines may end in CR LF or a bare LF.
    const std::size_t bare = input.find("\n\n"), full = input.find("\n\r\n");
    const std::size_t end = std::min(bare, full);
    const std::size_t bodyStart = end == std::string::npos ? 0 : end + (end == full ? 3 : 2);
    if (end == std::string::npos) {
      // Without an end yet. (The empty line that ends a block of the largest size allowed may
      // take three bytes more.)
      if (input.size() > limits_.headerBytes + 3) return Fail(431);
      return State::Incomplete;
    }
    if (end > limits_.headerBytes) return Fail(431);
    if (!ParseHead(std::string_view(input).substr(0, end))) return State::Failed;
    input.erase(0, bodyStart);
    headersRead_ = true;
  }
  if (input.size() < bodyLength_) {
    request_.body += input;
    bodyLength_ -= input.size();
    input.clear();
    return State::Incomplete;
  }
  request_.body.append(input, 0, bodyLength_);
  input.erase(0, bodyLength_);
  bodyLength_ = 0;
  return State::Complete;
}

bool RequestReader::ParseHead(std::string_view head) {
  std::vector<std::string_view> lines;
  while (!head.empty()) {
    const std::size_t lf = head.find('\n');
    std::string_view line = head.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    head.remove_prefix(lf + 1);
  }
  if (lines.empty()) return Fail(400), false;

  // The request line: METHOD SP target SP HTTP/1.x, nothing else.
  const std::string_view line = lines.front();
  const std::size_t first = line.find(' ');
  const std::size_t last = line.rfind(' ');
  if (first == std::string_view::npos || first == last) {
    request_.target = std::string(line.substr(0, 200));
    return Fail(400), false;
  }
  const std::string_view method = line.substr(0, first);
  const std::string_view target = line.substr(first + 1, last - first - 1);
  const std::string_view version = line.substr(last + 1);
  request_.method = std::string(method.substr(0, 16));
  request_.target = std::string(target.substr(0, 200));
  if (method.empty() || method.size() > 16 || !std::all_of(method.begin(), method.end(), IsTokenChar)) {
    return Fail(400), false;
  }
  if (target.empty() || target.front() != '/' || target.size() > kMaxTarget ||
      std::any_of(target.begin(), target.end(),
                  [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; })) {
    return Fail(target.size() > kMaxTarget ? 414 : 400), false;
  }
  if (version.size() != 8 || version.substr(0, 7) != "HTTP/1." || (version[7] != '0' && version[7] != '1')) {
    return Fail(version.substr(0, 5) == "HTTP/" ? 505 : 400), false;
  }
  request_.target = std::string(target);
  request_.minorVersion = version[7] - '0';
  const std::size_t question = target.find('?');
  request_.path = std::string(target.substr(0, question));
  request_.query =
      question == std::string_view::npos ? std::string() : std::string(target.substr(question + 1));

  if (lines.size() - 1 > limits_.headerCount) return Fail(431), false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view header = lines[i];
    // A line folded onto the previous one is an old form that proxies read differently: refused.
    if (header.empty() || header.front() == ' ' || header.front() == '\t') return Fail(400), false;
    const std::size_t colon = header.find(':');
    if (colon == 0 || colon == std::string_view::npos) return Fail(400), false;
    const std::string_view name = header.substr(0, colon);
    if (!std::all_of(name.begin(), name.end(), IsTokenChar)) return Fail(400), false;
    std::string_view value = header.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    if (std::any_of(value.begin(), value.end(), [](char c) {
          const auto u = static_cast<unsigned char>(c);
          return (u < 0x20 && c != '\t') || u == 0x7F;
        })) {
      return Fail(400), false;
    }
    request_.headers.emplace_back(Lower(name), std::string(value));
  }

  // The body's length: one Content-Length (repeated only with the same value), no transfer coding.
  bool haveLength = false;
  std::size_t length = 0;
  for (const auto& [name, value] : request_.headers) {
    if (name == "transfer-encoding") {
      return Fail(request_.Header("content-length") != nullptr ? 400 : 411), false;
    }
    if (name != "content-length") continue;
    if (value.empty() || value.size() > 12 ||
        !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return Fail(400), false;
    }
    const std::size_t parsed = std::stoull(value);
    if (haveLength && parsed != length) return Fail(400), false;
    haveLength = true;
    length = parsed;
  }
  if (length > limits_.bodyBytes) return Fail(413), false;
  bodyLength_ = length;
  request_.body.reserve(length);

  const std::string* connection = request_.Header("connection");
  request_.keepAlive = request_.minorVersion == 1
                           ? !(connection != nullptr && HasToken(*connection, "close"))
                           : connection != nullptr && HasToken(*connection, "keep-alive");
  const std::string* expect = request_.Header("expect");
  if (expect != nullptr) {
    if (!EqualsNoCase(*expect, "100-continue")) return Fail(417), false;
    wantsContinue_ = request_.minorVersion == 1 && length > 0;
  }
  return true;
}

}  // namespace spellcrypt::server
