// Fetch exchanges.
#include "platform/web_http_exchange.h"

#include <emscripten/fetch.h>

#include <cstring>
#include <string>

#include "base/log.h"

namespace spellcrypt {

namespace {

class FetchExchange final : public HttpExchange {
 public:
  explicit FetchExchange(std::size_t maxBody) : maxBody_(maxBody) {}
  ~FetchExchange() override {
    // Closing a fetch under way aborts it; its callbacks do not come any more.
    if (fetch_ != nullptr) emscripten_fetch_close(fetch_);
  }

  bool Start(const HttpExchangeRequest& request) {
    form_ = request.form;
    emscripten_fetch_attr_t attr;
    emscripten_fetch_attr_init(&attr);
    std::strncpy(attr.requestMethod, request.method.c_str(), sizeof attr.requestMethod - 1);
    attr.attributes = EMSCRIPTEN_FETCH_LOAD_TO_MEMORY;
    attr.userData = this;
    attr.onsuccess = &FetchExchange::OnEnd;
    attr.onerror = &FetchExchange::OnEnd;
    attr.onprogress = &FetchExchange::OnProgress;
    attr.timeoutMSecs = static_cast<unsigned long>(request.timeoutMs);
    if (request.method == "POST") {
      attr.requestHeaders = kFormHeaders;
      attr.requestData = form_.data();
      attr.requestDataSize = form_.size();
    }
    fetch_ = emscripten_fetch(&attr, request.path.c_str());
    return fetch_ != nullptr;
  }

  State GetState() const override { return state_; }
  const std::string& Body() const override { return body_; }

 private:
  static constexpr const char* kFormHeaders[] = {"Content-Type", "application/x-www-form-urlencoded",
                                                 nullptr};

  static FetchExchange* Of(emscripten_fetch_t* fetch) { return static_cast<FetchExchange*>(fetch->userData); }

  static void OnProgress(emscripten_fetch_t* fetch) {
    FetchExchange* self = Of(fetch);
    if (self->state_ == State::Connecting) self->state_ = State::Receiving;
    if (fetch->totalBytes > self->maxBody_ || fetch->dataOffset + fetch->numBytes > self->maxBody_) {
      Log("The answer to %s is over %zu bytes", fetch->url, self->maxBody_);
      self->Finish(State::TooLarge);
    }
  }

  static void OnEnd(emscripten_fetch_t* fetch) {
    FetchExchange* self = Of(fetch);
    if (self->state_ == State::TooLarge) return;
    // Status 0: no answer at all (refused, unreachable, timed out); any HTTP status is an answer.
    if (fetch->status == 0) {
      Log("No answer to %s", fetch->url);
      self->Finish(State::Failed);
      return;
    }
    if (fetch->numBytes > self->maxBody_) {
      self->Finish(State::TooLarge);
      return;
    }
    self->body_.assign(fetch->data, static_cast<std::size_t>(fetch->numBytes));
    self->Finish(State::Done);
  }

  void Finish(State state) {
    state_ = state;
    if (fetch_ != nullptr) {
      emscripten_fetch_t* fetch = fetch_;
      fetch_ = nullptr;
      emscripten_fetch_close(fetch);
    }
  }

  std::size_t maxBody_;
  std::string form_;
  std::string body_;
  emscripten_fetch_t* fetch_ = nullptr;
  State state_ = State::Connecting;
};

}  // namespace

std::unique_ptr<HttpExchange> StartWebHttpExchange(const HttpExchangeRequest& request) {
  auto exchange = std::make_unique<FetchExchange>(request.maxBody);
  if (!exchange->Start(request)) return nullptr;
  return exchange;
}

}  // namespace spellcrypt
