// The stored form of word lists: lying counts and lengths are refused without reading past the
// data; what loads saves back to exactly the bytes it was read from.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/binary_io.h"
#include "fuzz/fuzz_support.h"
#include "words/string_list.h"

using namespace spellcrypt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  StringList list;
  ByteReader in(data, size);
  if (!list.Load(in)) {
    if (list.Count() != 0) __builtin_trap();
    return 0;
  }
  ByteWriter out;
  list.Save(out);
  if (out.Size() != in.Position() || std::memcmp(out.Data().data(), data, out.Size()) != 0) __builtin_trap();
  for (const std::string& s : list.Strings()) {
    if (s.size() >= StringList::kMaxStoredLength) __builtin_trap();
  }
  return 0;
}
