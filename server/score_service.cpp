// The score server's HTTP side.
#include "server/score_service.h"

#include <sys/socket.h>

#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <span>
#include <thread>

#include "base/difficulty.h"
#include "base/version.h"
#include "server/web_page.h"

namespace spellcrypt::server {

namespace {

constexpr const char* kUnreadable = "msg|The score server could not read that submission.\n";
constexpr bool kHtml = true;

// httplib's server with a deeper queue of waiting connections than its default of five.
class Listener : public httplib::Server {
 public:
  void DeepenBacklog() {
    const auto socket = svr_sock_.load();
    if (socket != INVALID_SOCKET) ::listen(socket, 1024);
  }
};

// The form of a request body as the game sends it: its header block ends with an extra CR LF that
// counts as the start of the body, so line ends around the form are not part of it.
httplib::Params FormOf(const std::string& body) {
  std::size_t first = 0, end = body.size();
  while (first < end && (body[first] == '\r' || body[first] == '\n')) ++first;
  while (end > first && (body[end - 1] == '\r' || body[end - 1] == '\n')) --end;
  httplib::Params form;
  httplib::detail::parse_query_text(body.substr(first, end - first), form);
  return form;
}

const std::string* FieldOf(const httplib::Params& form, const char* name) {
  const auto found = form.find(name);
  return found != form.end() ? &found->second : nullptr;
}

// A plain decimal within [low, high].
bool ReadNumber(const std::string* text, std::int64_t low, std::int64_t high, std::int64_t& number) {
  if (text == nullptr || text->empty() || text->size() > 11) return false;
  const bool negative = text->front() == '-';
  if (text->size() == (negative ? 1u : 0u)) return false;
  std::int64_t value = 0;
  for (std::size_t i = negative ? 1 : 0; i < text->size(); ++i) {
    const char c = (*text)[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  number = negative ? -value : value;
  return number >= low && number <= high;
}

// Decodes an encoded field in place; false when its check value is not the one sent with it.
bool DecodeField(std::string& bytes, const std::string* check, std::uint32_t key) {
  std::int64_t sent = 0;
  if (!ReadNumber(check, 0, 0xFFFFFFFFll, sent)) return false;
  return DecodeFromClient(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), key) ==
         static_cast<std::uint32_t>(sent);
}

thread_local std::chrono::steady_clock::time_point requestStart;

}  // namespace

struct ScoreService::Snapshot {
  bool ok = false;
  std::uint64_t generation = 0;
  std::chrono::steady_clock::time_point made;
  std::string listReply;
  std::string pages[kDifficultyCount];
};

bool KnownVersion(std::string_view version) { return version == kVersionText; }

bool IsPlainText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return false;
      ++i;
      continue;
    }
    // A multi-byte sequence: its length, the smallest code point it may carry (no overlong forms).
    std::size_t length;
    std::uint32_t point, least;
    if ((c & 0xE0) == 0xC0) {
      length = 2, point = c & 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3, point = c & 0x0F, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4, point = c & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
    // C1 controls are controls too.
    if (point >= 0x80 && point < 0xA0) return false;
    i += length;
  }
  return true;
}

ScoreService::ScoreService(ScoreStore& store, ServiceOptions options)
    : store_(store), options_(std::move(options)), limiter_(options_.submissionsPerMinute) {
  auto listener = std::make_unique<Listener>();
  httplib::Server& http = *listener;
  http_ = std::move(listener);
  const int threads = std::max(1, options_.threads);
  http.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<std::size_t>(threads)); };
  http.set_payload_max_length(options_.maxRequestBytes);
  http.set_read_timeout(options_.timeoutSeconds);
  http.set_write_timeout(options_.timeoutSeconds);
  http.set_keep_alive_timeout(2);
  // An answer goes out in two writes (head and body): without this the second waits for the
  // client's delayed acknowledgement, some 40 ms.
  http.set_tcp_nodelay(true);
  http.set_keep_alive_max_count(1000);

  http.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
    requestStart = std::chrono::steady_clock::now();
    return httplib::Server::HandlerResponse::Unhandled;
  });
  const auto send = [](httplib::Response& res, Reply reply) {
    res.status = reply.status;
    res.set_header("X-Content-Type-Options", "nosniff");
    if (reply.html) {
      res.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'");
      res.set_header("Referrer-Policy", "no-referrer");
    }
    res.set_content(std::move(reply.body),
                    reply.html ? "text/html; charset=utf-8" : "text/plain; charset=utf-8");
  };
  // The bodies are read here rather than by httplib, whose own form reading stops at 8 KiB (a
  // submission with a long game's summary is larger); the size limit is kept here too.
  const std::size_t limit = options_.maxRequestBytes;
  const auto bodyOf = [limit](const httplib::ContentReader& reader, std::string& body) {
    bool fits = true;
    const bool read = reader([&](const char* data, std::size_t length) {
      fits = body.size() + length <= limit;
      if (fits) body.append(data, length);
      return fits;
    });
    return read && fits;
  };
  const Reply tooLarge{413, "msg|That request is too large for the score server.\n"};
  http.Post("/splcryp/submit.php",
            [this, send, bodyOf, tooLarge](const httplib::Request& req, httplib::Response& res,
                                           const httplib::ContentReader& reader) {
              std::string address = req.remote_addr;
              if (options_.trustForwardedFor && (address == "127.0.0.1" || address == "::1") &&
                  req.has_header("X-Forwarded-For")) {
                // The proxy appends the address it saw last.
                const std::string chain = req.get_header_value("X-Forwarded-For");
                const std::size_t comma = chain.rfind(',');
                std::string last = chain.substr(comma == std::string::npos ? 0 : comma + 1);
                last.erase(0, last.find_first_not_of(' '));
                last.erase(last.find_last_not_of(' ') + 1);
                if (!last.empty()) address = last;
              }
              std::string body;
              send(res, bodyOf(reader, body) ? Submit(body, address) : tooLarge);
            });
  http.Post("/splcryp/getscores.php",
            [this, send, bodyOf, tooLarge](const httplib::Request&, httplib::Response& res,
                                           const httplib::ContentReader& reader) {
              std::string body;
              send(res, bodyOf(reader, body) ? GetScores(body) : tooLarge);
            });
  http.Get("/", [this, send](const httplib::Request& req, httplib::Response& res) {
    send(res, RankingsPage(req.has_param("mode") ? req.get_param_value("mode") : "1"));
  });
  http.Get("/entry", [this, send](const httplib::Request& req, httplib::Response& res) {
    send(res, EntryPage(req.get_param_value("id")));
  });
  // Errors that no handler answered (no such page, a body too large, a request that does not
  // read): the game's endpoints answer with a line the game shows, the rest with a page.
  http.set_error_handler(
      httplib::Server::HandlerWithResponse([send](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        const bool game = req.path.rfind("/splcryp/", 0) == 0;
        std::string text = res.status == 413   ? "That request is too large for the score server."
                           : res.status == 404 ? "There is no such page here."
                                               : "The score server could not read that request.";
        send(res, game ? Reply{res.status, "msg|" + text + "\n"}
                       : Reply{res.status, MessagePage("Spellcrypt", text), kHtml});
        return httplib::Server::HandlerResponse::Handled;
      }));
  http.set_exception_handler([send](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    send(res, {500, "msg|The score server ran into a problem. Please try again later.\n"});
  });
  http.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
    const auto now = std::chrono::steady_clock::now();
    const double ms = requestStart.time_since_epoch().count() == 0
                          ? 0.0
                          : std::chrono::duration<double, std::milli>(now - requestStart).count();
    requestStart = {};
    char line[512];
    std::snprintf(line, sizeof line, "%s %.200s %d %zu %.1fms %s", req.method.c_str(), req.path.c_str(),
                  res.status, res.body.size(), ms, req.remote_addr.c_str());
    Log(line);
  });
}

ScoreService::~ScoreService() { Stop(); }

int ScoreService::Bind(const std::string& host, int port) {
  const bool bound = port == 0 ? (port = http_->bind_to_any_port(host)) > 0 : http_->bind_to_port(host, port);
  if (!bound) return -1;
  static_cast<Listener&>(*http_).DeepenBacklog();
  return port;
}

bool ScoreService::Run() {
  runStarted_ = true;
  bool served = true;
  if (!stopRequested_) served = http_->listen_after_bind();
  runEnded_ = true;
  return served;
}

void ScoreService::Stop() {
  // A stop asked for before Run has begun to listen is kept until it has (or Run sees it first).
  stopRequested_ = true;
  if (!runStarted_) return;
  while (!http_->is_running() && !runEnded_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (http_->is_running()) http_->stop();
}

bool ScoreService::Running() const { return http_->is_running(); }

void ScoreService::Log(const std::string& line) const {
  if (options_.log) {
    options_.log(line);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

ScoreService::Reply ScoreService::Submit(const std::string& body, const std::string& address) {
  if (!limiter_.Allow(address)) {
    return {429, "msg|Too many scores were sent from your address. Please wait a minute and try again.\n"};
  }
  const httplib::Params form = FormOf(body);
  const std::string* version = FieldOf(form, "version");
  if (version == nullptr || !KnownVersion(*version)) {
    return {400, "msg|This version of Spellcrypt cannot send scores to this server.\n"};
  }
  const std::string* data = FieldOf(form, "data");
  const std::string* extra = FieldOf(form, "extra");
  if (data == nullptr || extra == nullptr || extra->size() > kMaxSummaryBytes) return {400, kUnreadable};
  std::string line = *data;
  Submission submission;
  submission.summary = *extra;
  if (!DecodeField(line, FieldOf(form, "datacrc"), options_.key) ||
      !DecodeField(submission.summary, FieldOf(form, "extracrc"), options_.key) ||
      !ParseGameLine(line, submission.game) || !IsPlainText(submission.summary)) {
    return {400, kUnreadable};
  }
  submission.address = address;
  submission.submittedAt = static_cast<std::int64_t>(std::time(nullptr));
  Placement placement;
  if (!store_.Submit(submission, placement)) {
    return {503, "msg|The score server could not store your score just now. Please try again later.\n"};
  }
  ++generation_;
  return {200, "msg|Your score of " + GroupedDigits(submission.game.score) + " is #" +
                   GroupedDigits(placement.rank) + " of the " + DifficultyName(submission.game.mode) +
                   " rankings.\n"};
}

ScoreService::Reply ScoreService::GetScores(const std::string& body) {
  const httplib::Params form = FormOf(body);
  const std::string* name = FieldOf(form, "name");
  const std::string* score = FieldOf(form, "score");
  if (name == nullptr && score == nullptr) {
    const std::shared_ptr<const Snapshot> lists = Lists();
    if (!lists->ok)
      return {503, "msg|The score server cannot read its rankings just now. Please try again later.\n"};
    return {200, lists->listReply};
  }
  std::int64_t number = 0;
  if (name == nullptr || !ReadNumber(score, INT32_MIN, INT32_MAX, number)) {
    return {400, "The score server could not read that request.\r\n"};
  }
  std::string summary;
  switch (store_.SummaryOf(*name, static_cast<std::int32_t>(number), summary)) {
    case Lookup::Found:
      return {200, summary};
    case Lookup::Missing:
      return {404, "No game summary is kept for that entry.\r\n"};
    case Lookup::Failed:
      break;
  }
  return {503, "The score server cannot read that summary just now. Please try again later.\r\n"};
}

ScoreService::Reply ScoreService::RankingsPage(const std::string& mode) {
  if (mode.size() != 1 || !IsDifficulty(mode[0] - '0')) {
    return {404, MessagePage("Spellcrypt", "There is no such difficulty."), kHtml};
  }
  const std::shared_ptr<const Snapshot> lists = Lists();
  if (!lists->ok) return {503, MessagePage("Spellcrypt", "The rankings cannot be read just now."), kHtml};
  return {200, lists->pages[mode[0] - '0'], kHtml};
}

ScoreService::Reply ScoreService::EntryPage(const std::string& id) {
  std::int64_t number = 0;
  StoredEntry entry;
  const Lookup found =
      ReadNumber(&id, 1, INT64_MAX / 10, number) ? store_.Entry(number, entry) : Lookup::Missing;
  switch (found) {
    case Lookup::Found:
      return {200, server::EntryPage(entry), kHtml};
    case Lookup::Missing:
      return {404, MessagePage("Spellcrypt", "There is no such entry."), kHtml};
    case Lookup::Failed:
      break;
  }
  return {503, MessagePage("Spellcrypt", "That entry cannot be read just now."), kHtml};
}

std::shared_ptr<const ScoreService::Snapshot> ScoreService::Lists() {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard<std::mutex> hold(snapshotLock_);
  const std::uint64_t generation = generation_.load();
  if (snapshot_ != nullptr && snapshot_->generation == generation &&
      (options_.listLifetime.count() == 0 || now - snapshot_->made < options_.listLifetime)) {
    return snapshot_;
  }
  auto made = std::make_shared<Snapshot>();
  made->generation = generation;
  made->made = now;
  made->ok = true;
  for (int mode = 0; mode < kDifficultyCount && made->ok; ++mode) {
    std::vector<ListEntry> entries;
    made->ok = store_.Top(mode, kListLength, entries);
    made->listReply += "DIFF|" + std::to_string(mode) + "\n";
    const std::size_t inGame = std::min(entries.size(), static_cast<std::size_t>(kGameListLength));
    for (const ListEntry& e : std::span(entries).first(inGame)) {
      made->listReply += "add|" + e.name + "|" + std::to_string(e.score) + "|" + std::to_string(e.dungeon) +
                         "|" + std::to_string(e.bosses) + "\n";
    }
    made->pages[mode] = server::RankingsPage(mode, entries);
  }
  made->listReply +=
      "msg|The " + std::to_string(kGameListLength) +
      " best heroes of each difficulty. The web button on the title shows the whole rankings.\n";
  if (!made->ok) return made;  // not kept: the next request tries again
  snapshot_ = made;
  return snapshot_;
}

}  // namespace spellcrypt::server
