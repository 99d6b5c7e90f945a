// spellcrypt-server: the score server. Serves until SIGTERM or SIGINT, then finishes the requests
// under way (every submission answered is committed) and closes its database. With a command after
// the options it runs the operator's command on the same database instead, beside a running server.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "server/admin_commands.h"
#include "server/folder_lock.h"
#include "server/score_service.h"
#include "server/score_store.h"
#include "server/server_log.h"
#include "server/static_files.h"
#include "words/meanings.h"

namespace {

void Usage(std::FILE* to) {
  std::fprintf(
      to,
      "Usage: spellcrypt-server [options]            serve the rankings\n"
      "       spellcrypt-server [options] COMMAND    run an operator's command on the same scores\n"
      "Options:\n"
      "  --host ADDRESS       address to listen on (default 127.0.0.1; 0.0.0.0 or :: for every one)\n"
      "  --port N             port to listen on (default 8077)\n"
      "  --data DIR           folder of the SQLite database scores.sqlite (default server-data)\n"
      "  --postgres CONNINFO  keep the scores in PostgreSQL instead, e.g. \"host=/run/postgresql "
      "dbname=spellcrypt\"\n"
      "  --rate N             submissions per client address and minute (default 10; 0: no limit)\n"
      "  --behind-proxy       take the client's address from X-Forwarded-For on loopback connections\n"
      "  --threads N          requests handled at once (default 32)\n"
      "  --timeout SECONDS    time a client has to send a whole request (default 10)\n"
      "  --max-per-address N  connections one client address may hold (default 32; 0: no limit)\n"
      "  --connection-threads N  threads that accept, read and write connections (default 2)\n"
      "  --play DIR           serve the browser edition from DIR (build/web/play) at /play/\n"
      "  --meanings FILE      list the strong words' meanings on entry pages (data/meanings.dat)\n"
      "  --help               this text\n"
      "Commands:\n%s",
      spellcrypt::server::kAdminUsage);
}

bool Number(const char* text, int low, int high, int& value) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || number < low || number > high) return false;
  value = static_cast<int>(number);
  return true;
}

// Every connection is a descriptor: take all the process may have.
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

// How many connections may be open at once with the descriptors the process has (some are kept
// for the database, the log and the workers).
int ConnectionCeiling() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 10000;
  return static_cast<int>(std::max<rlim_t>(16, std::min<rlim_t>(limit.rlim_cur, 100064) - 64));
}

std::string UrlHost(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace spellcrypt::server;
  std::string host = "127.0.0.1", data = "server-data", postgres, playFolder, meaningsFile;
  int port = 8077;
  ServiceOptions options;
  std::vector<std::string> command;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (IsAdminCommand(arg)) {
      command.assign(argv + i, argv + argc);
      break;
    }
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = true;
    if (arg == "--behind-proxy") {
      options.trustForwardedFor = true;
      continue;
    } else if (arg == "--help" || arg == "-h") {
      Usage(stdout);
      return 0;
    } else if (value == nullptr) {
      ok = false;
    } else if (arg == "--host") {
      host = value;
    } else if (arg == "--port") {
      ok = Number(value, 1, 65535, port);
    } else if (arg == "--data") {
      data = value;
    } else if (arg == "--postgres") {
      postgres = value;
    } else if (arg == "--rate") {
      ok = Number(value, 0, 1000000, options.submissionsPerMinute);
    } else if (arg == "--threads") {
      ok = Number(value, 1, 1024, options.threads);
    } else if (arg == "--timeout") {
      ok = Number(value, 1, 3600, options.timeoutSeconds);
    } else if (arg == "--connection-threads") {
      ok = Number(value, 1, 64, options.connectionThreads);
    } else if (arg == "--play") {
      playFolder = value;
    } else if (arg == "--meanings") {
      meaningsFile = value;
    } else if (arg == "--max-per-address") {
      ok = Number(value, 0, 1000000, options.connectionsPerAddress);
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "spellcrypt-server: bad option %s%s%s\n", arg.c_str(), value ? " " : "",
                   value ? value : "");
      Usage(stderr);
      return 2;
    }
    ++i;
  }

  // An operator's command: the store is opened beside a server that may be running on it.
  if (!command.empty()) {
    std::string error;
    const std::string file = data + "/scores.sqlite";
    if (postgres.empty() && !std::filesystem::exists(file)) {
      std::fprintf(stderr, "spellcrypt-server: no scores in %s (give --data or --postgres)\n", data.c_str());
      return 1;
    }
    std::unique_ptr<ScoreStore> store =
        postgres.empty() ? OpenSqliteStore(file, error) : OpenPostgresStore(postgres, error);
    if (store == nullptr) {
      std::fprintf(stderr, "spellcrypt-server: %s\n", error.c_str());
      return 1;
    }
    return RunAdminCommand(*store, command, stdout, stderr);
  }

  // SIGTERM and SIGINT are taken by one thread that waits for them; every other thread (the
  // server's, made after this) has them blocked.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  RaiseDescriptorLimit();

  options.maxConnections = ConnectionCeiling();

  // The browser edition's files are read once, before anything listens.
  StaticFiles play;
  if (!playFolder.empty()) {
    std::string playError;
    if (!play.Load(playFolder, playError)) {
      std::fprintf(stderr, "spellcrypt-server: cannot serve the browser edition: %s\n", playError.c_str());
      return 1;
    }
    options.play = &play;
  }

  // The words' meanings likewise (a few milliseconds; then only read, by every thread).
  spellcrypt::Meanings meanings;
  if (!meaningsFile.empty()) {
    if (!meanings.Load(meaningsFile)) {
      std::fprintf(stderr, "spellcrypt-server: cannot read the meanings in %s\n", meaningsFile.c_str());
      return 1;
    }
    options.meanings = &meanings;
  }

  // The port first: nothing is made on disk for a server that cannot listen.
  std::string error;
  int bound = -1;
  const int listener = HttpServer::Listen(host, port, bound, error);
  if (listener < 0) {
    std::fprintf(stderr, "spellcrypt-server: cannot listen on %s port %d: %s\n", host.c_str(), port,
                 error.c_str());
    return 1;
  }
  std::unique_ptr<ScoreStore> store;
  std::unique_ptr<FolderLock> lock;
  std::string where;
  if (!postgres.empty()) {
    store = OpenPostgresStore(postgres, error);
    where = "PostgreSQL";
    // Other processes may write too: their submissions show here within a second.
    options.listLifetime = std::chrono::milliseconds(1000);
  } else {
    std::error_code made;
    std::filesystem::create_directories(data, made);
    if (made) {
      std::fprintf(stderr, "spellcrypt-server: cannot make the data folder %s: %s\n", data.c_str(),
                   made.message().c_str());
      return 1;
    }
    // One server per folder: a second one would share the file unawares.
    lock = FolderLock::Take(data, error);
    where = data + "/scores.sqlite";
    if (lock != nullptr) store = OpenSqliteStore(where, error);
  }
  if (store == nullptr) {
    std::fprintf(stderr, "spellcrypt-server: %s\n", error.c_str());
    return 1;
  }
  ScoreService service(*store, options);
  service.Adopt(listener);
  char settings[512];
  std::snprintf(settings, sizeof settings,
                "spellcrypt-server: serving on http://%s:%d/ with the scores in %s; rate %d a minute per "
                "address, %d requests at once, %d s per request, %d connections per address%s",
                UrlHost(host).c_str(), bound, where.c_str(), options.submissionsPerMinute, options.threads,
                options.timeoutSeconds, options.connectionsPerAddress,
                options.trustForwardedFor ? ", client addresses from X-Forwarded-For on loopback" : "");
  LogLine(settings);
  if (play.Loaded()) {
    LogLine("spellcrypt-server: the browser edition (" + std::to_string(play.Count()) + " files from " +
            playFolder + ") at http://" + UrlHost(host) + ":" + std::to_string(bound) + "/play/");
  }

  std::thread stopper([&service, stopSignals] {
    int received = 0;
    sigwait(&stopSignals, &received);
    LogLine(std::string("spellcrypt-server: ") + strsignal(received) + ": finishing the requests under way");
    service.Stop();
  });
  const bool served = service.Run();
  if (!served) {
    // Run ended without a signal: let the waiting thread go.
    pthread_kill(stopper.native_handle(), SIGTERM);
  }
  stopper.join();
  store.reset();
  LogLine("spellcrypt-server: stopped");
  return served ? 0 : 1;
}
