// The score server's small checks: the per-address rate limit over time, what counts as plain
// text in a summary, and the escaping of the pages.
#include <gtest/gtest.h>

#include "server/rate_limiter.h"
#include "server/score_service.h"
#include "server/web_page.h"

namespace spellcrypt::server {
namespace {

TEST(RateLimiterTest, EachAddressHasItsOwnBucketRefilledOverAMinute) {
  RateLimiter limiter(10);
  const auto start = RateLimiter::Clock::now();
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(limiter.Allow("1.1.1.1", start)) << i;
  EXPECT_FALSE(limiter.Allow("1.1.1.1", start));
  EXPECT_TRUE(limiter.Allow("2.2.2.2", start));
  // One token comes back every six seconds, no more than ten are kept.
  EXPECT_FALSE(limiter.Allow("1.1.1.1", start + std::chrono::seconds(5)));
  EXPECT_TRUE(limiter.Allow("1.1.1.1", start + std::chrono::seconds(7)));
  EXPECT_FALSE(limiter.Allow("1.1.1.1", start + std::chrono::seconds(8)));
  const auto later = start + std::chrono::hours(1);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(limiter.Allow("1.1.1.1", later)) << i;
  EXPECT_FALSE(limiter.Allow("1.1.1.1", later));

  RateLimiter unlimited(0);
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(unlimited.Allow("1.1.1.1", start));
}

TEST(RateLimiterTest, ForgetsAddressesWhoseBucketIsFullAgain) {
  RateLimiter limiter(10);
  const auto start = RateLimiter::Clock::now();
  for (int i = 0; i < 5000; ++i) limiter.Allow("10.0." + std::to_string(i), start);
  EXPECT_EQ(limiter.Tracked(), 5000u);  // all used a token a moment ago
  // A minute on, every bucket is full again and the next newcomers sweep them out.
  const auto later = start + std::chrono::minutes(2);
  for (int i = 0; i < 20000; ++i) limiter.Allow("10.1." + std::to_string(i), later);
  EXPECT_EQ(limiter.Tracked(), 20000u);  // the first 5000 are gone, the newcomers all kept
}

TEST(PlainTextTest, PrintableUtf8WithLineEndsOnly) {
  for (const char* good : {"", "Score: 1,234\r\n", "tab\there", "caf\xC3\xA9", "\xE2\x82\xAC 5",
                           "\xF0\x9F\x90\x89", "\xC2\xA0"}) {
    EXPECT_TRUE(IsPlainText(good)) << good;
  }
  for (const char* bad : {"bell\x07", "esc\x1b[2J", "del\x7f", "caf\xE9", "\xC0\xAF" /* overlong "/" */,
                          "\xED\xA0\x80" /* a surrogate */, "\xF4\x90\x80\x80" /* past U+10FFFF */,
                          "\xE2\x82", "\xC2\x85" /* C1 control */, "\xFF"}) {
    EXPECT_FALSE(IsPlainText(bad)) << bad;
  }
  EXPECT_FALSE(IsPlainText(std::string_view("a\0b", 3)));
}

TEST(WebPageTest, PlayersTextsAreEscapedAndScoresGrouped) {
  EXPECT_EQ(HtmlEscape("<a href=\"x\">O'Neil & co</a>"),
            "&lt;a href=&quot;x&quot;&gt;O&#39;Neil &amp; co&lt;/a&gt;");
  EXPECT_EQ(GroupedDigits(0), "0");
  EXPECT_EQ(GroupedDigits(999), "999");
  EXPECT_EQ(GroupedDigits(2147483647), "2,147,483,647");
  StoredEntry entry;
  entry.id = 3;
  entry.mode = 0;
  entry.name = "</pre><script>";
  entry.summary = "</pre><script>alert(1)</script>";
  const std::string page = EntryPage(entry);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_NE(page.find("&lt;/pre&gt;&lt;script&gt;alert(1)"), std::string::npos);
}

}  // namespace
}  // namespace spellcrypt::server
