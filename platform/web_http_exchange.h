// The browser edition's HTTP exchanges: Emscripten's fetch to the server the page came from.
#pragma once

#include <memory>

#include "platform/http_exchange.h"

namespace spellcrypt {

std::unique_ptr<HttpExchange> StartWebHttpExchange(const HttpExchangeRequest& request);

}  // namespace spellcrypt
