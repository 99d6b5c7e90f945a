// The offered HTTP exchanges.
#include "platform/http_exchange.h"

namespace spellcrypt {

namespace {
HttpExchangeStarter gStarter = nullptr;
}  // namespace

void OfferHttpExchanges(HttpExchangeStarter starter) { gStarter = starter; }

bool HttpExchangesOffered() { return gStarter != nullptr; }

std::unique_ptr<HttpExchange> StartHttpExchange(const HttpExchangeRequest& request) {
  return gStarter != nullptr ? gStarter(request) : nullptr;
}

}  // namespace spellcrypt
