// The browser edition's files at /play/, fetched by an HTTP client the server did not write
// (cpp-httplib): types, gzip for clients that take it (unpacked here with zlib), ETags and 304s,
// cache lifetimes, the folder's edges, and the rankings page's link to the game.
#include <gtest/gtest.h>
#include <httplib.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "server/static_files.h"
#include "tests/server_test_support.h"
#include "tests/test_support.h"

namespace spellcrypt::server::testing {
namespace {

std::string Gunzip(const std::string& packed) {
  z_stream z{};
  if (inflateInit2(&z, 15 + 16) != Z_OK) return {};
  std::string out;
  char buffer[65536];
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  int result = Z_OK;
  while (result == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    result = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
  }
  inflateEnd(&z);
  return result == Z_STREAM_END ? out : std::string("(not a whole gzip stream)");
}

class ServerStaticFilesTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& body) {
    std::ofstream(dir_.File(name), std::ios::binary) << body;
  }
  // The score server with the browser edition's files (on a fresh SQLite store); null when the
  // store cannot be opened.
  std::unique_ptr<RunningServer> Serve(const StaticFiles& play) {
    store_ = db_.Open();
    if (store_ == nullptr) return nullptr;
    ServiceOptions options = RunningServer::Quiet();
    options.play = &play;
    return std::make_unique<RunningServer>(*store_, options);
  }
  spellcrypt::testing::TempDir dir_;
  TestDatabase db_{Backend::Sqlite};
  std::unique_ptr<ScoreStore> store_;
};

TEST_F(ServerStaticFilesTest, NamesGiveTypesHashesAndGzipIsTakenOnlyWhereAccepted) {
  EXPECT_EQ(MimeTypeOf("spellcrypt.wasm"), "application/wasm");
  EXPECT_EQ(MimeTypeOf("spellcrypt.JS"), "text/javascript; charset=utf-8");
  EXPECT_EQ(MimeTypeOf("spellcrypt.html"), "text/html; charset=utf-8");
  EXPECT_EQ(MimeTypeOf("spellcrypt.data"), "application/octet-stream");
  EXPECT_EQ(MimeTypeOf("README"), "application/octet-stream");
  EXPECT_TRUE(HasContentHash("spellcrypt.3f2a9c1d.wasm"));
  EXPECT_TRUE(HasContentHash("a.0123456789abcdef.min.js"));
  EXPECT_FALSE(HasContentHash("spellcrypt.wasm"));
  EXPECT_FALSE(HasContentHash("spellcrypt.3f2a9c1.wasm"));     // 7 digits
  EXPECT_FALSE(HasContentHash("spellcrypt.deadbeefxx.wasm"));  // not all hex
  EXPECT_FALSE(HasContentHash("deadbeefcafe"));                // no extension after it
  const std::string yes[] = {"gzip", "br, gzip;q=0.5", "GZIP", " deflate , x-gzip"};
  for (const std::string& header : yes) EXPECT_TRUE(AcceptsGzip(&header)) << header;
  const std::string no[] = {"", "br", "gzip;q=0", "gzip; q=0.0", "identity", "gzipped"};
  for (const std::string& header : no) EXPECT_FALSE(AcceptsGzip(&header)) << header;
  EXPECT_FALSE(AcceptsGzip(nullptr));
}

TEST_F(ServerStaticFilesTest, TheGameIsServedWholeTypedCompressedAndRevalidated) {
  const std::string page =
      "<!doctype html><title>Spellcrypt</title>" + std::string(4000, ' ') + "<canvas></canvas>";
  std::string wasm("\0asm\x01\0\0\0", 8);
  for (int i = 0; i < 20000; ++i) wasm += static_cast<char>(i % 7);
  Write("spellcrypt.html", page);
  Write("spellcrypt.wasm", wasm);
  Write("spellcrypt.0a1b2c3d4e.js", "console.log('hashed');");
  Write(".hidden", "secret");
  std::filesystem::create_directories(dir_.File("sub"));
  Write("sub/inner.txt", "inner");
  StaticFiles play;
  std::string error;
  ASSERT_TRUE(play.Load(dir_.Path(), error)) << error;
  EXPECT_EQ(play.Count(), 3u);

  std::unique_ptr<RunningServer> served = Serve(play);
  ASSERT_NE(served, nullptr);
  RunningServer& server = *served;
  httplib::Client client("127.0.0.1", server.Port());
  client.set_decompress(false);

  auto index = client.Get("/play/");
  ASSERT_TRUE(index);
  EXPECT_EQ(index->status, 200);
  EXPECT_EQ(index->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(index->get_header_value("Cache-Control"), "no-cache");
  EXPECT_EQ(index->body, page);
  auto moved = client.Get("/play");
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->status, 301);
  EXPECT_EQ(moved->get_header_value("Location"), "/play/");

  auto packed = client.Get("/play/spellcrypt.wasm", {{"Accept-Encoding", "gzip, deflate"}});
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->status, 200);
  EXPECT_EQ(packed->get_header_value("Content-Type"), "application/wasm");
  EXPECT_EQ(packed->get_header_value("Content-Encoding"), "gzip");
  EXPECT_EQ(packed->get_header_value("Vary"), "Accept-Encoding");
  EXPECT_LT(packed->body.size(), wasm.size() / 4);
  EXPECT_EQ(Gunzip(packed->body), wasm);
  auto plain = client.Get("/play/spellcrypt.wasm", {{"Accept-Encoding", "gzip;q=0"}});
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->has_header("Content-Encoding"));
  EXPECT_EQ(plain->body, wasm);

  const std::string etag = plain->get_header_value("ETag");
  ASSERT_FALSE(etag.empty());
  auto again = client.Get("/play/spellcrypt.wasm", {{"If-None-Match", etag}});
  ASSERT_TRUE(again);
  EXPECT_EQ(again->status, 304);
  EXPECT_TRUE(again->body.empty());
  auto hashed = client.Get("/play/spellcrypt.0a1b2c3d4e.js");
  ASSERT_TRUE(hashed);
  EXPECT_EQ(hashed->get_header_value("Cache-Control"), "public, max-age=31536000, immutable");
  auto head = client.Head("/play/spellcrypt.wasm");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_TRUE(head->body.empty());
  EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(wasm.size()));

  for (const char* path : {"/play/.hidden", "/play/sub/inner.txt", "/play/../scores.sqlite",
                           "/play/nothing.js", "/play/%2e%2e/spellcrypt.html"}) {
    auto missing = client.Get(path);
    ASSERT_TRUE(missing) << path;
    EXPECT_EQ(missing->status, 404) << path;
  }
  auto posted = client.Post("/play/spellcrypt.html", "x", "text/plain");
  ASSERT_TRUE(posted);
  EXPECT_EQ(posted->status, 405);

  auto rankings = client.Get("/");
  ASSERT_TRUE(rankings);
  EXPECT_NE(rankings->body.find("<a href=\"/play/\">Play in your browser</a>"), std::string::npos);
}

// The data pack is megabytes: it is sent from the one copy in memory, in many partial writes while
// several clients take it at once, slowly or quickly, and arrives whole in each.
TEST_F(ServerStaticFilesTest, ABigFileReachesManyClientsAtOnceWhole) {
  std::string pack(6 << 20, '\0');
  std::uint32_t x = 2463534242u;
  for (char& c : pack) {  // xorshift: nothing gzip could shrink
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x);
  }
  Write("spellcrypt.html", "<!doctype html>");
  Write("spellcrypt.0123456789ab.data", pack);
  StaticFiles play;
  std::string error;
  ASSERT_TRUE(play.Load(dir_.Path(), error)) << error;

  std::unique_ptr<RunningServer> served = Serve(play);
  ASSERT_NE(served, nullptr);
  RunningServer& server = *served;
  std::vector<std::thread> clients;
  std::vector<std::string> got(4);
  for (std::size_t i = 0; i < got.size(); ++i) {
    clients.emplace_back([&, i] {
      httplib::Client client("127.0.0.1", server.Port());
      client.set_decompress(false);
      std::string body;
      auto reply = client.Get("/play/spellcrypt.0123456789ab.data", {{"Accept-Encoding", "gzip"}},
                              [&](const char* data, std::size_t length) {
                                body.append(data, length);
                                // Half the clients read slowly, so the server's writes wait on them.
                                if (i % 2 == 1 && body.size() % (1 << 20) < length) {
                                  std::this_thread::sleep_for(std::chrono::milliseconds(30));
                                }
                                return true;
                              });
      if (reply && reply->status == 200 && !reply->has_header("Content-Encoding")) got[i] = body;
    });
  }
  for (std::thread& t : clients) t.join();
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].size(), pack.size()) << "client " << i;
    EXPECT_TRUE(got[i] == pack) << "client " << i;
  }
}

TEST_F(ServerStaticFilesTest, AFolderWithoutTheGameIsRefusedAndNoLinkIsShownWithoutIt) {
  StaticFiles play;
  std::string error;
  EXPECT_FALSE(play.Load(dir_.File("none"), error));
  EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
  Write("spellcrypt.js", "x");
  EXPECT_FALSE(play.Load(dir_.Path(), error));
  EXPECT_NE(error.find("spellcrypt.html"), std::string::npos) << error;
  EXPECT_FALSE(play.Loaded());

  TestDatabase db(Backend::Sqlite);
  std::unique_ptr<ScoreStore> store = db.Open();
  ASSERT_NE(store, nullptr);
  RunningServer server(*store);
  httplib::Client client("127.0.0.1", server.Port());
  auto rankings = client.Get("/");
  ASSERT_TRUE(rankings);
  EXPECT_EQ(rankings->body.find("/play/"), std::string::npos);
  auto game = client.Get("/play/");
  ASSERT_TRUE(game);
  EXPECT_EQ(game->status, 404);
}

}  // namespace
}  // namespace spellcrypt::server::testing
