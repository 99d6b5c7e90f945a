// The score server's HTTP side.
#include "server/score_service.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <span>

#include "base/difficulty.h"
#include "base/version.h"
#include "server/server_log.h"
#include "server/static_files.h"
#include "server/utf8.h"
#include "server/web_page.h"

namespace spellcrypt::server {

namespace {

constexpr bool kHtml = true;

// The form of a request body as the game sends it: its header block ends with an extra CR LF that
// counts as the start of the body, so line ends around the form are not part of it.
Fields FormOf(const std::string& body) {
  std::size_t first = 0, end = body.size();
  while (first < end && (body[first] == '\r' || body[first] == '\n')) ++first;
  while (end > first && (body[end - 1] == '\r' || body[end - 1] == '\n')) --end;
  return DecodeForm(std::string_view(body).substr(first, end - first));
}

// The name of a field sent more than once, or null.
const std::string* RepeatedField(const Fields& form) {
  for (std::size_t i = 0; i < form.size(); ++i) {
    for (std::size_t k = i + 1; k < form.size(); ++k) {
      if (form[i].first == form[k].first) return &form[i].first;
    }
  }
  return nullptr;
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

// A submission refused, with the reason the player reads.
HttpReply Refusal(const std::string& reason) {
  return {400, "text/plain; charset=utf-8", "msg|Score refused: " + reason + "\n", {}};
}

const char* GameLineReason(GameLineFault fault) {
  switch (fault) {
    case GameLineFault::Mode:
      return "the difficulty is not one of the three.";
    case GameLineFault::Name:
      return "the name must be at most 19 plain characters.";
    case GameLineFault::Score:
      return "the score must be a number of 0 or more.";
    case GameLineFault::Dungeon:
      return "the dungeon must be 1 to 25.";
    case GameLineFault::Bosses:
      return "the bosses beaten must be 0 to 25.";
    default:
      return "the game's record is not in the game's form.";
  }
}

HttpReply Text(int status, std::string text) {
  return {status, "text/plain; charset=utf-8", std::move(text), {}};
}

HttpReply Page(int status, std::string html) {
  return {status,
          "text/html; charset=utf-8",
          std::move(html),
          {{"Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'"},
           {"Referrer-Policy", "no-referrer"}}};
}

HttpReply WithSafetyHeaders(HttpReply reply) {
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  return reply;
}

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
    std::uint32_t point = 0;
    if (!NextCodePoint(text, i, point)) return false;
    // Control characters, C1 ones too, but for tab and line ends.
    if ((point < 0x20 && point != '\t' && point != '\r' && point != '\n') ||
        (point >= 0x7F && point < 0xA0)) {
      return false;
    }
  }
  return true;
}

ScoreService::ScoreService(ScoreStore& store, ServiceOptions options)
    : store_(store), options_(std::move(options)), limiter_(options_.submissionsPerMinute) {
  HttpOptions http;
  http.limits.bodyBytes = options_.maxRequestBytes;
  http.requestDeadline = std::chrono::seconds(options_.timeoutSeconds);
  http.workers = std::max(1, options_.threads);
  http.connectionThreads = std::max(1, options_.connectionThreads);
  http.connectionsPerAddress = options_.connectionsPerAddress;
  http.maxConnections = options_.maxConnections;
  http.trustForwardedFor = options_.trustForwardedFor;
  http_ = std::make_unique<HttpServer>(
      http, [this](const HttpRequest& request) { return WithSafetyHeaders(Handle(request)); },
      [this](const HttpRequest& request, HttpReply& reply) {
        if (!AnswerFromMemory(request, reply)) return false;
        reply = WithSafetyHeaders(std::move(reply));
        return true;
      },
      [this](const AccessRecord& r) {
        char timing[32];
        std::snprintf(timing, sizeof timing, "%.1fms", r.milliseconds);
        std::string line = TerminalText(r.client) + " " + TerminalText(r.method) + " " +
                           TerminalText(r.target.empty() ? "-" : r.target) + " " +
                           (r.status == 0 ? std::string("-") : std::to_string(r.status)) + " " +
                           std::to_string(r.bytes) + " " + timing;
        if (*r.note != '\0') line += std::string(" (") + r.note + ")";
        Log(line);
      },
      [this](const std::string& notice) { Log(notice); },
      [](int status, const std::string& path, const std::string& text) {
        // The game's endpoints answer with a line the game shows, the rest with a page.
        std::string line = text;
        while (!line.empty() && line.back() == '\n') line.pop_back();
        // A connection refused at the cap is answered before its request is read: in the game's
        // form, which is what most connections are.
        const bool game = path.empty() ? status == 503 : path.rfind("/splcryp/", 0) == 0;
        return WithSafetyHeaders(game ? Text(status, "msg|" + text)
                                      : Page(status, MessagePage("Spellcrypt", line)));
      });
}

ScoreService::~ScoreService() { Stop(); }

int ScoreService::Bind(const std::string& host, int port, std::string& error) {
  return http_->Bind(host, port, error);
}

void ScoreService::Adopt(int listener) { http_->Adopt(listener); }

bool ScoreService::Run() { return http_->Run(); }

void ScoreService::Stop() { http_->Stop(); }

bool ScoreService::Running() const { return http_->Running(); }

void ScoreService::Log(const std::string& line) const {
  if (options_.log) {
    options_.log(line);
  } else {
    LogLine(line);
  }
}

HttpReply ScoreService::Handle(const HttpRequest& request) {
  const bool read = request.method == "GET" || request.method == "HEAD";
  if (request.path == "/splcryp/submit.php" || request.path == "/splcryp/getscores.php") {
    if (request.method != "POST") {
      HttpReply reply = Text(405, "msg|The score server takes this page by POST only.\n");
      reply.headers.emplace_back("Allow", "POST");
      return reply;
    }
    return request.path == "/splcryp/submit.php" ? Submit(request.body, request.client)
                                                 : GetScores(request.body);
  }
  if (request.path == "/" || request.path == "/entry") {
    if (!read) {
      HttpReply reply = Page(405, MessagePage("Spellcrypt", "This page can only be read."));
      reply.headers.emplace_back("Allow", "GET, HEAD");
      return reply;
    }
    const Fields query = DecodeForm(request.query);
    if (request.path == "/entry") {
      const std::string* id = FieldOf(query, "id");
      return EntryPage(id != nullptr ? *id : std::string());
    }
    const std::string* mode = FieldOf(query, "mode");
    return RankingsPage(mode != nullptr ? *mode : "1");
  }
  return request.path.rfind("/splcryp/", 0) == 0
             ? Text(404, "msg|There is no such page here.\n")
             : Page(404, MessagePage("Spellcrypt", "There is no such page here."));
}

bool ScoreService::AnswerFromMemory(const HttpRequest& request, HttpReply& reply) {
  if (options_.play != nullptr && options_.play->Answer(request, reply)) return true;
  const bool page = request.path == "/" && (request.method == "GET" || request.method == "HEAD");
  const bool lists = request.path == "/splcryp/getscores.php" && request.method == "POST";
  if (!page && !lists) return false;
  std::string mode = "1";
  if (page) {
    const Fields query = DecodeForm(request.query);
    const std::string* asked = FieldOf(query, "mode");
    if (asked != nullptr) mode = *asked;
    if (mode.size() != 1 || !IsDifficulty(mode[0] - '0')) return false;
  } else {
    const Fields form = FormOf(request.body);
    if (FieldOf(form, "name") != nullptr || FieldOf(form, "score") != nullptr) return false;
  }
  const std::shared_ptr<const Snapshot> fresh = FreshLists();
  if (fresh == nullptr) return false;
  reply = page ? Page(200, fresh->pages[mode[0] - '0']) : Text(200, fresh->listReply);
  return true;
}

ScoreService::Reply ScoreService::Submit(const std::string& body, const std::string& address) {
  if (!limiter_.Allow(address)) {
    return Text(429,
                "msg|Too many scores were sent from your address. Please wait a minute and try again.\n");
  }
  const Fields form = FormOf(body);
  if (const std::string* repeated = RepeatedField(form)) {
    return Refusal("the field \"" + TerminalText(repeated->substr(0, 20)) + "\" was sent twice.");
  }
  const std::string* version = FieldOf(form, "version");
  if (version == nullptr || !KnownVersion(*version)) {
    return Text(400, "msg|This version of Spellcrypt cannot send scores to this server.\n");
  }
  const std::string* data = FieldOf(form, "data");
  if (data == nullptr) return Refusal("the game's record is missing.");
  std::string line = *data;
  if (!DecodeField(line, FieldOf(form, "datacrc"), options_.key)) {
    return Refusal("the game's record does not match its check value.");
  }
  Submission submission;
  const GameLineFault fault = CheckGameLine(line, submission.game);
  if (fault != GameLineFault::None) return Refusal(GameLineReason(fault));
  const std::string* extra = FieldOf(form, "extra");
  if (extra == nullptr) return Refusal("the game summary is missing.");
  if (extra->size() > kMaxSummaryBytes) return Refusal("the game summary is longer than 64 KiB.");
  submission.summary = *extra;
  if (!DecodeField(submission.summary, FieldOf(form, "extracrc"), options_.key)) {
    return Refusal("the game summary does not match its check value.");
  }
  if (!IsPlainText(submission.summary)) return Refusal("the game summary holds bytes that are not text.");
  submission.address = address;
  submission.submittedAt = static_cast<std::int64_t>(std::time(nullptr));
  Placement placement;
  if (!store_.Submit(submission, placement)) {
    return Text(503, "msg|The score server could not store your score just now. Please try again later.\n");
  }
  ++generation_;
  return Text(200, "msg|Your score of " + GroupedDigits(submission.game.score) + " is #" +
                       GroupedDigits(placement.rank) + " of the " + DifficultyName(submission.game.mode) +
                       " rankings.\n");
}

ScoreService::Reply ScoreService::GetScores(const std::string& body) {
  const Fields form = FormOf(body);
  const std::string* name = FieldOf(form, "name");
  const std::string* score = FieldOf(form, "score");
  if (name == nullptr && score == nullptr) {
    const std::shared_ptr<const Snapshot> lists = Lists();
    if (!lists->ok)
      return Text(503, "msg|The score server cannot read its rankings just now. Please try again later.\n");
    return Text(200, lists->listReply);
  }
  std::int64_t number = 0;
  if (name == nullptr || !ReadNumber(score, INT32_MIN, INT32_MAX, number)) {
    return Text(400, "The score server could not read that request.\r\n");
  }
  std::string summary;
  switch (store_.SummaryOf(*name, static_cast<std::int32_t>(number), summary)) {
    case Lookup::Found:
      return Text(200, summary);
    case Lookup::Missing:
      return Text(404, "No game summary is kept for that entry.\r\n");
    case Lookup::Failed:
      break;
  }
  return Text(503, "The score server cannot read that summary just now. Please try again later.\r\n");
}

ScoreService::Reply ScoreService::RankingsPage(const std::string& mode) {
  if (mode.size() != 1 || !IsDifficulty(mode[0] - '0')) {
    return Page(404, MessagePage("Spellcrypt", "There is no such difficulty."));
  }
  const std::shared_ptr<const Snapshot> lists = Lists();
  if (!lists->ok) return Page(503, MessagePage("Spellcrypt", "The rankings cannot be read just now."));
  return Page(200, lists->pages[mode[0] - '0']);
}

ScoreService::Reply ScoreService::EntryPage(const std::string& id) {
  std::int64_t number = 0;
  StoredEntry entry;
  const Lookup found =
      ReadNumber(&id, 1, INT64_MAX / 10, number) ? store_.Entry(number, entry) : Lookup::Missing;
  switch (found) {
    case Lookup::Found:
      return Page(200, server::EntryPage(entry, options_.meanings));
    case Lookup::Missing:
      return Page(404, MessagePage("Spellcrypt", "There is no such entry."));
    case Lookup::Failed:
      break;
  }
  return Page(503, MessagePage("Spellcrypt", "That entry cannot be read just now."));
}

std::shared_ptr<const ScoreService::Snapshot> ScoreService::FreshLists() {
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard<std::mutex> hold(snapshotLock_);
  // The operator's commands (and, on a shared file, other writers) change the store behind this
  // process's back: seen here at once.
  if (store_.ChangedElsewhere()) ++generation_;
  if (snapshot_ != nullptr && snapshot_->generation == generation_.load() &&
      (options_.listLifetime.count() == 0 || now - snapshot_->made < options_.listLifetime)) {
    return snapshot_;
  }
  return nullptr;
}

std::shared_ptr<const ScoreService::Snapshot> ScoreService::Lists() {
  if (std::shared_ptr<const Snapshot> fresh = FreshLists()) return fresh;
  // One worker makes them; the others wait for it rather than read the store too. The snapshot's
  // own lock is held only to swap it, so answers from memory never wait for the store.
  std::lock_guard<std::mutex> making(rebuildLock_);
  if (std::shared_ptr<const Snapshot> fresh = FreshLists()) return fresh;
  const auto now = std::chrono::steady_clock::now();
  const std::uint64_t generation = generation_.load();
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
    made->pages[mode] = server::RankingsPage(mode, entries, options_.play != nullptr);
  }
  made->listReply +=
      "msg|The " + std::to_string(kGameListLength) +
      " best heroes of each difficulty. The web button on the title shows the whole rankings.\n";
  if (!made->ok) return made;  // not kept: the next request tries again
  std::lock_guard<std::mutex> hold(snapshotLock_);
  snapshot_ = made;
  return made;
}

}  // namespace spellcrypt::server
