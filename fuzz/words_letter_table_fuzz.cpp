// Letter tables: the ".lft" text through the line reader (8-bit and UTF-16), and the stored form.
// Nothing may read outside its data, and Pick must always answer with an index of the table or 0.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/binary_io.h"
#include "base/random.h"
#include "fuzz/fuzz_support.h"
#include "words/letter_table.h"
#include "words/text_parse.h"

using namespace spellcrypt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::EnsureGlobals();
  if (size == 0) return 0;
  LetterTable table;
  const std::uint8_t mode = data[0] % 3;
  ++data;
  --size;
  if (mode == 2) {
    ByteReader in(data, size);
    table.Load(in);
  } else {
    // The text arrives in two blocks, split where its first byte says.
    CTextParse reader;
    const std::size_t split = size > 0 ? data[0] % (size + 1) : 0;
    reader.AppendData(data, split);
    reader.AppendData(data + split, size - split);
    if (mode == 1) {
      reader.unicode = true;  // read as UTF-16 lines
      const char* line = nullptr;
      int lines = 0;
      while (reader.GetNextLine(&line) && lines++ < 100000) reader.WideLine();
      reader.SetText(std::string(reinterpret_cast<const char*>(data), size));
    }
    table.LoadFrom(reader);
  }
  SimpleGenerator random;
  random.Seed(static_cast<std::uint32_t>(size));
  for (int i = 0; i < 20; ++i) {
    const int pick = table.Pick(random);
    if (pick < 0 || (pick > 0 && pick >= table.Count())) __builtin_trap();
  }
  ByteWriter out;
  table.Save(out);
  ByteReader back(out.Data());
  LetterTable copy;
  if (!copy.Load(back) || copy.Count() != table.Count()) __builtin_trap();
  return 0;
}
