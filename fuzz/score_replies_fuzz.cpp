// The score server's replies as the game reads them, and the game line as the server reads it:
// whatever the bytes, the lists hold names a score file can keep, the submission's answer is one
// field of one line, and what the server accepts is a game the game could have sent.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "scores/ranking.h"
#include "scores/score_protocol.h"

using namespace spellcrypt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  CRanking lists[3];
  std::string message = "untouched";
  const bool messageCame = ParseScoreLists(bytes, lists, message);
  if (!messageCame && message != "untouched") std::abort();
  if (messageCame && (message.find('\n') != std::string::npos || message.find('|') != std::string::npos))
    std::abort();
  for (const CRanking& list : lists) {
    for (int i = 0; i < list.Count(); ++i) {
      const CScoreObject& entry = *list.EntryAt(i);
      if (entry.name.size() >= CRanking::kNameSize || entry.name.find('\0') != std::string::npos)
        std::abort();
      if (!entry.summary.empty()) std::abort();
    }
  }

  const std::string answer = SubmitReplyMessage(bytes);
  if (answer != "Error!" && (answer.find('\n') != std::string::npos || answer.find('|') != std::string::npos))
    std::abort();

  // The server's side: decoding undoes encoding with the same check value, and a game line it
  // accepts is exactly the line the game would send for that game.
  std::vector<std::uint8_t> encoded(data, data + size);
  const std::uint32_t key = size > 0 ? data[0] * 257u : 0u;
  const std::uint32_t sentCheck = EncodeForServer(encoded.data(), encoded.size(), key);
  if (DecodeFromClient(encoded.data(), encoded.size(), key) != sentCheck) std::abort();
  if (encoded != std::vector<std::uint8_t>(data, data + size)) std::abort();
  SubmittedGame game;
  if (ParseGameLine(bytes, game)) {
    // What the server takes, the game could have sent: formatted again, it reads back the same.
    SubmittedGame again;
    if (!ParseGameLine(GameLine(game.mode, game.name, game.score, game.dungeon, game.bosses), again) ||
        again.mode != game.mode || again.name != game.name || again.score != game.score ||
        again.dungeon != game.dungeon || again.bosses != game.bosses) {
      std::abort();
    }
  }
  return 0;
}
