// HTTP exchanges the platform runs itself. A web page cannot open sockets: the browser edition's
// back end offers its fetch here, and the game's transfers use it when it is offered. The desktop
// offers none; its transfers run on sockets of their own.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace spellcrypt {

struct HttpExchangeRequest {
  std::string method;  // "GET" or "POST"
  std::string path;    // on the server the page came from
  std::string form;    // the URL-encoded form of a POST
  int timeoutMs = 0;   // the whole exchange; 0 for none
  std::size_t maxBody = 0;
};

class HttpExchange {
 public:
  enum class State { Connecting, Receiving, Done, Failed, TooLarge };
  virtual ~HttpExchange() = default;
  // Where the exchange stands; it moves on between frames (the page's events).
  virtual State GetState() const = 0;
  // The answer's body once done, whatever its HTTP status (the score server explains refusals in
  // its body).
  virtual const std::string& Body() const = 0;
};

using HttpExchangeStarter = std::unique_ptr<HttpExchange> (*)(const HttpExchangeRequest& request);
// Offered by a back end that has exchanges of its own (nullptr takes the offer back).
void OfferHttpExchanges(HttpExchangeStarter starter);
bool HttpExchangesOffered();
// Starts an exchange; null when none is offered or it could not start.
std::unique_ptr<HttpExchange> StartHttpExchange(const HttpExchangeRequest& request);

}  // namespace spellcrypt
