// The score server's address.
#include "base/score_server.h"

#include <cstdlib>

#include "base/log.h"

namespace spellcrypt {

bool ParseServerAddress(std::string_view text, ServerAddress& address) {
  if (text.empty()) return false;
  std::string_view host = text;
  std::string_view port;
  if (text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos || close == 1) return false;
    host = text.substr(1, close - 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return false;
      port = rest.substr(1);
    }
  } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  if (host.empty() || host.find_first_of(" /\t\r\n") != std::string_view::npos) return false;
  int number = 80;
  if (!port.empty() || text.back() == ':') {
    if (port.empty() || port.size() > 5) return false;
    number = 0;
    for (char c : port) {
      if (c < '0' || c > '9') return false;
      number = number * 10 + (c - '0');
    }
    if (number < 1 || number > 65535) return false;
  }
  address.host = std::string(host);
  address.port = number;
  return true;
}

ServerAddress ScoreServer() {
  ServerAddress address{SPELLCRYPT_SCORE_HOST, SPELLCRYPT_SCORE_PORT};
  if (const char* chosen = std::getenv("SPELLCRYPT_SCORE_SERVER"); chosen != nullptr && *chosen != '\0') {
    ServerAddress fromEnvironment;
    if (ParseServerAddress(chosen, fromEnvironment)) {
      address = fromEnvironment;
    } else {
      LogError("SPELLCRYPT_SCORE_SERVER=\"%s\" is not a host or host:port; using %s:%d.", chosen,
               address.host.c_str(), address.port);
    }
  }
  return address;
}

std::string WebAddress() {
  const ServerAddress server = ScoreServer();
  const bool bracket = server.host.find(':') != std::string::npos;
  std::string page = bracket ? "[" + server.host + "]" : server.host;
  if (server.port != 80) page += ":" + std::to_string(server.port);
  return page + "/";
}

}  // namespace spellcrypt
