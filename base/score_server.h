// Where the score server is: the build's default (the CMake cache variables SPELLCRYPT_SCORE_HOST
// and SPELLCRYPT_SCORE_PORT), unless the environment variable SPELLCRYPT_SCORE_SERVER names
// another as "host" or "host:port". Its web page is also the page the title's visit button opens.
#pragma once

#include <string>
#include <string_view>

namespace spellcrypt {

struct ServerAddress {
  std::string host;
  int port = 80;
};

ServerAddress ScoreServer();
// "host:port/" (the port left out when it is 80): the rankings' web page, without the scheme.
std::string WebAddress();
// Reads "host" or "host:port" (an IPv6 address in brackets: "[::1]:8077"); false when it is not one.
bool ParseServerAddress(std::string_view text, ServerAddress& address);

}  // namespace spellcrypt
