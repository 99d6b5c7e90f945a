// A transfer where the platform runs HTTP exchanges itself (the browser's fetch): the request it
// is handed, and how the exchange's progress, failures and answer read through the transfer.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/http_exchange.h"
#include "scores/web_download.h"

namespace spellcrypt {
namespace {

struct Seen {
  HttpExchangeRequest request;
  HttpExchange::State state = HttpExchange::State::Connecting;
  std::string body;
  int started = 0;
  bool refuse = false;
};
Seen* gSeen = nullptr;

class ScriptedExchange final : public HttpExchange {
 public:
  State GetState() const override { return gSeen->state; }
  const std::string& Body() const override { return gSeen->body; }
};

std::unique_ptr<HttpExchange> StartScripted(const HttpExchangeRequest& request) {
  gSeen->request = request;
  ++gSeen->started;
  if (gSeen->refuse) return nullptr;
  return std::make_unique<ScriptedExchange>();
}

class HttpExchangeTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gSeen = &seen_;
    OfferHttpExchanges(&StartScripted);
  }
  void TearDown() override {
    OfferHttpExchanges(nullptr);
    gSeen = nullptr;
  }
  Seen seen_;
};

TEST_F(HttpExchangeTransferTest, AFormIsPostedToTheRootOfThePagesServerAndItsAnswerRead) {
  WebDownload transfer;
  WebLimits limits;
  limits.connectTimeoutMs = 3000;
  limits.receiveTimeoutMs = 4000;
  limits.maxBody = 5000;
  transfer.SetLimits(limits);
  ASSERT_TRUE(transfer.Prepare("scores.example.org", 8077, "splcryp/getscores.php"));
  ASSERT_TRUE(transfer.AddFormField("version", "2.05"));
  ASSERT_TRUE(transfer.AddFormField("name", "Tess & Co"));
  ASSERT_TRUE(transfer.Init());
  EXPECT_FALSE(transfer.AddFormField("late", "x")) << "the form is sent already";
  EXPECT_EQ(seen_.started, 1);
  EXPECT_EQ(seen_.request.method, "POST");
  EXPECT_EQ(seen_.request.path, "/splcryp/getscores.php");
  EXPECT_EQ(seen_.request.form, "version=2%2E05&name=Tess+%26+Co");
  EXPECT_EQ(seen_.request.timeoutMs, 7000);
  EXPECT_EQ(seen_.request.maxBody, 5000u);

  EXPECT_EQ(transfer.GetState(), kWebConnecting);
  EXPECT_STREQ(transfer.GetData(), "");
  seen_.state = HttpExchange::State::Receiving;
  EXPECT_EQ(transfer.GetState(), kWebReceiving);
  seen_.body = "1|0\nmsg|Hello";
  seen_.state = HttpExchange::State::Done;
  EXPECT_EQ(transfer.GetError(), kWebNoError);
  EXPECT_EQ(transfer.GetState(), kWebDone);
  EXPECT_STREQ(transfer.GetData(), "1|0\nmsg|Hello");
  EXPECT_EQ(transfer.GetDataSize(), 13);
  transfer.Cancel();
  EXPECT_EQ(transfer.GetState(), kWebConnecting);
  EXPECT_EQ(transfer.GetDataSize(), 0);
}

TEST_F(HttpExchangeTransferTest, FailuresReadAsTheDesktopsAndAFieldlessTransferIsAGet) {
  WebDownload transfer;
  ASSERT_TRUE(transfer.Prepare("h", 80, "/page"));
  ASSERT_TRUE(transfer.Init());
  EXPECT_EQ(seen_.request.method, "GET");
  EXPECT_EQ(seen_.request.path, "/page");
  seen_.state = HttpExchange::State::Failed;
  EXPECT_EQ(transfer.GetError(), kWebSendFailed);
  EXPECT_STREQ(transfer.GetErrorText(), "Error connecting.  Try again later");
  seen_.state = HttpExchange::State::TooLarge;
  EXPECT_EQ(transfer.GetError(), kWebTooLarge);
  EXPECT_NE(transfer.GetState(), kWebDone);

  seen_.refuse = true;
  WebDownload refused;
  ASSERT_TRUE(refused.Prepare("h", 80, "page"));
  EXPECT_FALSE(refused.Init());
  EXPECT_EQ(refused.GetError(), kWebStartFailed);
}

}  // namespace
}  // namespace spellcrypt
