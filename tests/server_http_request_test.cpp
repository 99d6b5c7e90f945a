// The score server's request reader: whole requests however the bytes are split, the game's own
// framing, requests that follow one another on a connection, and everything it must refuse.
#include <gtest/gtest.h>

#include "scores/web_download.h"
#include "server/http_request.h"

namespace spellcrypt::server {
namespace {

using State = RequestReader::State;

// Feeds the bytes in pieces of `step` and answers the final state.
State ReadInPieces(RequestReader& reader, std::string_view bytes, std::size_t step, std::string& rest) {
  State state = State::Incomplete;
  for (std::size_t at = 0; at < bytes.size() && state == State::Incomplete; at += step) {
    rest.append(bytes.substr(at, step));
    state = reader.Read(rest);
  }
  return state;
}

State ReadWhole(RequestReader& reader, std::string_view bytes) {
  std::string input(bytes);
  return reader.Read(input);
}

TEST(HttpRequestTest, TheGamesRequestReadsTheSameHoweverItIsSplit) {
  const std::string form = "version=2.05&data=%41b&extra=x+y";
  const std::string request = BuildRequest("scores.example.org", "splcryp/submit.php", form);
  for (std::size_t step : {std::size_t{1}, std::size_t{2}, std::size_t{7}, request.size()}) {
    RequestReader reader({});
    std::string rest;
    ASSERT_EQ(ReadInPieces(reader, request, step, rest), State::Complete) << step;
    const HttpRequest& r = reader.Request();
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.path, "/splcryp/submit.php");
    EXPECT_EQ(r.minorVersion, 0);
    EXPECT_FALSE(r.keepAlive);  // HTTP/1.0: the game reads until the server closes
    EXPECT_EQ(r.body, "\r\n" + form);
    ASSERT_NE(r.Header("host"), nullptr);
    EXPECT_EQ(*r.Header("host"), "scores.example.org");
    EXPECT_TRUE(rest.empty());
  }
}

TEST(HttpRequestTest, RequestsThatFollowOneAnotherAreReadOneAtATime) {
  std::string input =
      "\r\nGET /?mode=2 HTTP/1.1\nHost: a\n\n"
      "POST /splcryp/getscores.php HTTP/1.1\r\nContent-Length: 12\r\nConnection: close\r\n\r\nversion=2.05"
      "GET /entry?id=7 HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n";
  RequestReader reader({});
  ASSERT_EQ(reader.Read(input), State::Complete);
  EXPECT_EQ(reader.Request().path, "/");
  EXPECT_EQ(reader.Request().query, "mode=2");
  EXPECT_TRUE(reader.Request().keepAlive);
  reader.Reset();
  ASSERT_EQ(reader.Read(input), State::Complete);
  EXPECT_EQ(reader.Request().body, "version=2.05");
  EXPECT_FALSE(reader.Request().keepAlive);
  reader.Reset();
  ASSERT_EQ(reader.Read(input), State::Complete);
  EXPECT_EQ(reader.Request().target, "/entry?id=7");
  EXPECT_TRUE(reader.Request().keepAlive);
  EXPECT_TRUE(input.empty());
  reader.Reset();
  EXPECT_EQ(reader.Read(input), State::Incomplete);
}

TEST(HttpRequestTest, ABodyIsAwaitedAndContinueIsAskedForOnce) {
  RequestReader reader({});
  std::string input = "POST /x HTTP/1.1\r\nContent-Length: 5\r\nExpect: 100-continue\r\n\r\nab";
  EXPECT_EQ(reader.Read(input), State::Incomplete);
  EXPECT_TRUE(reader.HeadersRead());
  EXPECT_TRUE(reader.TakeContinueRequest());
  EXPECT_FALSE(reader.TakeContinueRequest());
  input = "cdeGET";
  EXPECT_EQ(reader.Read(input), State::Complete);
  EXPECT_EQ(reader.Request().body, "abcde");
  EXPECT_EQ(input, "GET");
}

TEST(HttpRequestTest, WhatIsAmbiguousOrTooLargeIsRefusedWithItsStatus) {
  RequestReader::Limits limits;
  limits.headerBytes = 1024;
  limits.headerCount = 8;
  limits.bodyBytes = 100;
  const struct {
    const char* why;
    std::string request;
    int status;
  } cases[] = {
      {"length and transfer coding (smuggling)",
       "POST / HTTP/1.1\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
      {"chunked body", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 411},
      {"two lengths that differ", "POST / HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\n", 400},
      {"length not a number", "POST / HTTP/1.1\r\nContent-Length: 3x\r\n\r\n", 400},
      {"negative length", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
      {"body too large", "POST / HTTP/1.1\r\nContent-Length: 101\r\n\r\n", 413},
      {"huge length", "POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n", 400},
      {"folded header", "GET / HTTP/1.1\r\nX-A: 1\r\n continued\r\n\r\n", 400},
      {"space before colon", "GET / HTTP/1.1\r\nHost : x\r\n\r\n", 400},
      {"no colon", "GET / HTTP/1.1\r\nHost\r\n\r\n", 400},
      {"control in a value", std::string("GET / HTTP/1.1\r\nX-A: a\x01") + "b\r\n\r\n", 400},
      {"control in the target", "GET /a\x1b[2J HTTP/1.1\r\n\r\n", 400},
      {"absolute target", "GET http://x/ HTTP/1.1\r\n\r\n", 400},
      {"no version", "GET /\r\n\r\n", 400},
      {"HTTP/2", "GET / HTTP/2.0\r\n\r\n", 505},
      {"not HTTP", "GET / SPDY/1.1\r\n\r\n", 400},
      {"odd method", "G(T / HTTP/1.1\r\n\r\n", 400},
      {"too many headers",
       "GET / HTTP/1.1\r\nA: 1\r\nA: 1\r\nA: 1\r\nA: 1\r\nA: 1\r\nA: 1\r\nA: 1\r\nA: 1\r\nA: 1\r\n\r\n", 431},
      {"header block too large", "GET / HTTP/1.1\r\nX-A: " + std::string(2000, 'a') + "\r\n\r\n", 431},
      {"endless header block", "GET / HTTP/1.1\r\nX-A: " + std::string(2000, 'a'), 431},
      {"unknown expectation", "POST / HTTP/1.1\r\nContent-Length: 1\r\nExpect: magic\r\n\r\n", 417},
  };
  for (const auto& c : cases) {
    RequestReader reader(limits);
    EXPECT_EQ(ReadWhole(reader, c.request), State::Failed) << c.why;
    EXPECT_EQ(reader.Status(), c.status) << c.why;
    // A reader that failed stays failed.
    std::string more = "GET / HTTP/1.1\r\n\r\n";
    EXPECT_EQ(reader.Read(more), State::Failed) << c.why;
  }
  // A target longer than any of the server's, within a header block of the default size.
  RequestReader longTarget({});
  EXPECT_EQ(ReadWhole(longTarget, "GET /" + std::string(9000, 'a') + " HTTP/1.1\r\n\r\n"), State::Failed);
  EXPECT_EQ(longTarget.Status(), 414);
  // The same length twice is one length.
  RequestReader reader(limits);
  EXPECT_EQ(ReadWhole(reader, "POST / HTTP/1.1\r\nContent-Length: 2\r\ncontent-length: 2\r\n\r\nok"),
            State::Complete);
  EXPECT_EQ(reader.Request().body, "ok");
}

TEST(HttpRequestTest, FormsDecodeInOrderWithTheirRepeats) {
  const Fields fields = DecodeForm("a=1&b=x+y%21&&c&a=%zz&d=%4&=e");
  ASSERT_EQ(fields.size(), 6u);
  EXPECT_EQ(fields[0], (std::pair<std::string, std::string>{"a", "1"}));
  EXPECT_EQ(fields[1], (std::pair<std::string, std::string>{"b", "x y!"}));
  EXPECT_EQ(fields[2], (std::pair<std::string, std::string>{"c", ""}));
  EXPECT_EQ(fields[3], (std::pair<std::string, std::string>{"a", "%zz"}));  // not an escape: kept
  EXPECT_EQ(fields[4], (std::pair<std::string, std::string>{"d", "%4"}));
  EXPECT_EQ(fields[5], (std::pair<std::string, std::string>{"", "e"}));
  ASSERT_NE(FieldOf(fields, "a"), nullptr);
  EXPECT_EQ(*FieldOf(fields, "a"), "1");
  EXPECT_EQ(FieldOf(fields, "z"), nullptr);
  // What the game's encoder makes, byte for byte, including NUL and bytes above 0x7F.
  const std::string bytes("a\0b\xff &=+%", 9);
  const Fields game = DecodeForm("extra=" + UrlEncode(bytes.data(), bytes.size()));
  ASSERT_EQ(game.size(), 1u);
  EXPECT_EQ(game[0].second, bytes);
}

}  // namespace
}  // namespace spellcrypt::server
