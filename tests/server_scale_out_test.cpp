// Two server processes on one PostgreSQL database, as behind a load balancer: submissions sent
// through both at once are each stored once, each answer's place agrees with the final rankings,
// and each process lists what was sent through the other within a second and a half.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "scores/ranking.h"
#include "tests/server_test_support.h"

namespace spellcrypt::server::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct Sent {
  std::string name;
  int mode = 0;
  std::int32_t score = 0;
  std::int64_t rank = -1;  // -1: not answered
  Clock::time_point sent, answered;
};

// The place in an answer "msg|Your score of 1,234 is #5 of the Normal rankings."; -1 for another.
std::int64_t PlaceIn(const std::string& reply) {
  if (reply.rfind("msg|Your score of ", 0) != 0) return -1;
  const std::size_t hash = reply.find(" is #");
  if (hash == std::string::npos) return -1;
  std::int64_t place = 0;
  for (std::size_t i = hash + 5; i < reply.size() && reply[i] != ' '; ++i) {
    if (reply[i] == ',') continue;
    if (reply[i] < '0' || reply[i] > '9') return -1;
    place = place * 10 + (reply[i] - '0');
  }
  return place;
}

Sent SubmitThrough(int port, int mode, const std::string& name, std::int32_t score) {
  Sent s;
  s.name = name;
  s.mode = mode;
  s.score = score;
  s.sent = Clock::now();
  s.rank = PlaceIn(BodyOf(Exchange(
      port, GameRequest("splcryp/submit.php", SubmissionForm(Game(mode, name, score), "Game of " + name)))));
  s.answered = Clock::now();
  return s;
}

bool ListsShow(int port, const std::string& name) {
  CRanking rankings[3];
  std::string message;
  if (!ParseScoreLists(BodyOf(Exchange(port, GameRequest("splcryp/getscores.php", "version=2.05"))), rankings,
                       message))
    return false;
  for (int i = 0; i < rankings[1].Count(); ++i) {
    if (rankings[1].EntryAt(i)->name == name) return true;
  }
  return false;
}

bool PageShows(int port, const std::string& name) {
  const std::string page = BodyOf(Exchange(port, "GET /?mode=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n"));
  return page.find(">" + name + "<") != std::string::npos;
}

// How long until the check passes, polled every 50 ms for up to three seconds; -1 when it never does.
template <typename Check>
long long MillisecondsUntil(Clock::time_point since, Check check) {
  const Clock::time_point deadline = since + std::chrono::seconds(3);
  while (Clock::now() < deadline) {
    if (check()) {
      return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

TEST(ScaleOut, TwoServersOnOneDatabaseStoreEachSubmissionOnceAndShowEachOthersEntries) {
  TestDatabase db(Backend::Postgres);
  REQUIRE_DATABASE(db);
  spellcrypt::testing::TempDir dir;
  Program first(db.ProgramOptions(), dir.File("first.log"));
  Program second(db.ProgramOptions(), dir.File("second.log"));
  const int ports[2] = {first.Port(), second.Port()};

  // Players on both servers at once, a new connection per submission as the game makes, scores
  // with many ties across three difficulties.
  constexpr int kThreads = 8, kEach = 75;
  const Clock::time_point start = Clock::now();
  std::vector<std::vector<Sent>> sent(kThreads);
  std::vector<std::thread> players;
  for (int t = 0; t < kThreads; ++t) {
    players.emplace_back([&, t] {
      std::mt19937 random(static_cast<unsigned>(t));
      for (int i = 0; i < kEach && Clock::now() - start < std::chrono::seconds(10); ++i) {
        const int mode = static_cast<int>(random() % 3);
        const auto score = static_cast<std::int32_t>(random() % 40) * 25;
        sent[t].push_back(SubmitThrough(ports[(t + i) % 2], mode,
                                        "P" + std::to_string(t) + "-" + std::to_string(i), score));
      }
    });
  }
  for (std::thread& player : players) player.join();
  // The last one, after all the others have been answered, is placed among all of them.
  const Sent last = SubmitThrough(ports[1], 1, "Last", 500);
  const double loadSeconds = std::chrono::duration<double>(Clock::now() - start).count();

  std::vector<Sent> all;
  for (const auto& mine : sent) all.insert(all.end(), mine.begin(), mine.end());
  all.push_back(last);
  EXPECT_GE(all.size(), 200u);
  std::unique_ptr<ScoreStore> store = db.Open();
  ASSERT_NE(store, nullptr);
  std::vector<StoredEntry> stored;
  ASSERT_TRUE(store->All(stored));
  std::map<std::string, const StoredEntry*> byName;
  for (const StoredEntry& e : stored) {
    EXPECT_TRUE(byName.emplace(e.name, &e).second) << e.name << " stored twice";
  }
  int answered = 0;
  for (const Sent& s : all) {
    if (s.rank < 0) continue;
    ++answered;
    ASSERT_EQ(byName.count(s.name), 1u) << s.name << " answered but not stored";
  }
  EXPECT_EQ(answered, static_cast<int>(all.size()));  // nothing refused under this load
  EXPECT_EQ(stored.size(), all.size());

  // Final places: best first, equal scores in submission (id) order.
  const auto above = [](const StoredEntry& a, const StoredEntry& b) {
    return a.score > b.score || (a.score == b.score && a.id < b.id);
  };
  std::map<std::string, std::int64_t> finalPlace;
  for (int mode = 0; mode < 3; ++mode) {
    std::vector<const StoredEntry*> ranked;
    for (const StoredEntry& e : stored) {
      if (e.mode == mode) ranked.push_back(&e);
    }
    std::sort(ranked.begin(), ranked.end(),
              [&](const StoredEntry* a, const StoredEntry* b) { return above(*a, *b); });
    for (std::size_t i = 0; i < ranked.size(); ++i)
      finalPlace[ranked[i]->name] = static_cast<std::int64_t>(i) + 1;
  }
  // A submission is placed among the entries committed when it was ranked. Those answered before it
  // was sent had surely committed by then; those committed after it can only push it down since.
  // So: 1 + the entries above it answered before it was sent <= its place <= its final place.
  for (const Sent& s : all) {
    if (s.rank < 0) continue;
    const StoredEntry& mine = *byName.at(s.name);
    std::int64_t surelyAbove = 0;
    for (const Sent& other : all) {
      if (other.rank < 0 || other.mode != s.mode || other.answered >= s.sent) continue;
      if (above(*byName.at(other.name), mine)) ++surelyAbove;
    }
    EXPECT_GE(s.rank, 1 + surelyAbove) << s.name;
    EXPECT_LE(s.rank, finalPlace.at(s.name)) << s.name;
  }
  EXPECT_EQ(last.rank, finalPlace.at("Last"));

  // An entry sent through one server shows in the other's lists and page within 1.5 s (each keeps
  // them for at most a second).
  for (int through = 0; through < 2; ++through) {
    const std::string name = "Seen" + std::to_string(through);
    const int other = ports[1 - through];
    // The other has just made its lists and page, as a server in use always has.
    EXPECT_FALSE(ListsShow(other, name));
    EXPECT_FALSE(PageShows(other, name));
    const Sent probe = SubmitThrough(ports[through], 1, name, 1000000000 + through);
    ASSERT_EQ(probe.rank, 1) << name;
    const long long lists = MillisecondsUntil(probe.answered, [&] { return ListsShow(other, name); });
    const long long page = MillisecondsUntil(probe.answered, [&] { return PageShows(other, name); });
    std::printf(
        "[ figures  ] entry sent through server %d: in the other's lists after %lld ms, page %lld ms\n",
        through + 1, lists, page);
    EXPECT_GE(lists, 0);
    EXPECT_LE(lists, 1500);
    EXPECT_GE(page, 0);
    EXPECT_LE(page, 1500);
    // Its own server shows it at once.
    EXPECT_TRUE(ListsShow(ports[through], name));
    EXPECT_TRUE(PageShows(ports[through], name));
  }
  std::printf("[ figures  ] %zu submissions through two servers in %.2f s\n", all.size(), loadSeconds);
  if (HasFailure()) {
    for (const char* log : {"first.log", "second.log"}) {
      const std::string text = spellcrypt::testing::ReadText(dir.File(log));
      std::printf("--- the end of %s:\n%s\n", log,
                  text.substr(text.size() - std::min<std::size_t>(text.size(), 3000)).c_str());
    }
  }
}

}  // namespace
}  // namespace spellcrypt::server::testing
