// Prints the form the game posts to the score server for a game, URL-encoded as the game sends it
// (version, data, datacrc, extra, extracrc), so that another HTTP client (curl) can submit it.
//
//   score_form MODE NAME SCORE DUNGEON BOSSES SUMMARY_FILE
//
// MODE is 0 Kidmode, 1 Normal, 2 Wizard; the summary is the file's bytes as they are.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/version.h"
#include "scores/score_protocol.h"
#include "scores/web_download.h"

using namespace spellcrypt;

namespace {

std::string Field(const char* name, const std::string& value) {
  return std::string(name) + "=" + UrlEncode(value.data(), value.size());
}

// Encodes the text in place, as the game does before sending it, and answers its check value.
std::string Encode(std::string& text) {
  return std::to_string(
      EncodeForServer(reinterpret_cast<std::uint8_t*>(text.data()), text.size(), kSubmissionKey));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: %s MODE NAME SCORE DUNGEON BOSSES SUMMARY_FILE\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[6], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "score_form: %s cannot be read\n", argv[6]);
    return 1;
  }
  std::string summary;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    summary.append(chunk, static_cast<std::size_t>(in.gcount()));
  std::string line =
      GameLine(std::atoi(argv[1]), argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  const std::string lineCheck = Encode(line);
  const std::string summaryCheck = Encode(summary);
  const std::string form = Field("version", kVersionText) + "&" + Field("data", line) + "&" +
                           Field("datacrc", lineCheck) + "&" + Field("extra", summary) + "&" +
                           Field("extracrc", summaryCheck);
  std::fwrite(form.data(), 1, form.size(), stdout);
  return 0;
}
