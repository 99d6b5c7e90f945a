// spellcrypt-server: the score server. Serves until SIGTERM or SIGINT, then finishes the requests
// under way (every submission answered is committed) and closes its database.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "server/score_service.h"
#include "server/score_store.h"

namespace {

void Usage() {
  std::fprintf(
      stderr,
      "Usage: spellcrypt-server [options]\n"
      "  --host ADDRESS       address to listen on (default 127.0.0.1; 0.0.0.0 for every one)\n"
      "  --port N             port to listen on (default 8077)\n"
      "  --data DIR           folder of the SQLite database scores.sqlite (default server-data)\n"
      "  --postgres CONNINFO  keep the scores in PostgreSQL instead, e.g. \"host=/run/postgresql "
      "dbname=spellcrypt\"\n"
      "  --rate N             submissions per client address and minute (default 10; 0: no limit)\n"
      "  --behind-proxy       take the client's address from X-Forwarded-For on loopback connections\n"
      "  --threads N          connections served at once (default 32)\n"
      "  --timeout SECONDS    drop clients that stall this long (default 10)\n");
}

bool Number(const char* text, int low, int high, int& value) {
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || number < low || number > high) return false;
  value = static_cast<int>(number);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace spellcrypt::server;
  std::string host = "127.0.0.1", data = "server-data", postgres;
  int port = 8077;
  ServiceOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = true;
    if (arg == "--behind-proxy") {
      options.trustForwardedFor = true;
      continue;
    } else if (arg == "--help" || arg == "-h") {
      Usage();
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
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "spellcrypt-server: bad option %s\n", arg.c_str());
      Usage();
      return 2;
    }
    ++i;
  }

  // SIGTERM and SIGINT are taken by one thread that waits for them; every other thread (the
  // server's, made after this) has them blocked.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::string error;
  std::unique_ptr<ScoreStore> store;
  std::string where;
  if (!postgres.empty()) {
    store = OpenPostgresStore(postgres, error);
    where = "PostgreSQL";
    // Other processes may write too: their submissions show here within a second.
    options.listLifetime = std::chrono::milliseconds(1000);
  } else {
    std::error_code made;
    std::filesystem::create_directories(data, made);
    where = data + "/scores.sqlite";
    store = OpenSqliteStore(where, error);
  }
  if (store == nullptr) {
    std::fprintf(stderr, "spellcrypt-server: %s\n", error.c_str());
    return 1;
  }
  ScoreService service(*store, options);
  if (service.Bind(host, port) < 0) {
    std::fprintf(stderr, "spellcrypt-server: cannot listen on %s:%d: %s\n", host.c_str(), port,
                 std::strerror(errno));
    return 1;
  }
  std::fprintf(stderr, "spellcrypt-server: serving on http://%s:%d/ with the scores in %s\n", host.c_str(),
               port, where.c_str());

  std::thread stopper([&service, stopSignals] {
    int received = 0;
    sigwait(&stopSignals, &received);
    std::fprintf(stderr, "spellcrypt-server: %s: finishing the requests under way\n", strsignal(received));
    service.Stop();
  });
  const bool served = service.Run();
  if (!served) {
    // Run ended without a signal: let the waiting thread go.
    pthread_kill(stopper.native_handle(), SIGTERM);
  }
  stopper.join();
  store.reset();
  std::fprintf(stderr, "spellcrypt-server: stopped\n");
  return served ? 0 : 1;
}
