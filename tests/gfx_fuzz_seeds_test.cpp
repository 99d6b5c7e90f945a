// The fuzz targets' seed pictures (written by the decoder tests with SPELLCRYPT_WRITE_FUZZ_SEEDS=1)
// must all decode, so that fuzzing starts from inside every decoder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "gfx/dx_image.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;

TEST(FuzzSeedsTest, EverySeedDecodesWithItsTargetsDecoderAndByRecognition) {
  const struct {
    const char* target;
    int format;
  } targets[] = {{"bmp_decoder_fuzz", kImageBmp},   {"tga_decoder_fuzz", kImageTga},
                 {"pcx_decoder_fuzz", kImagePcx},   {"psd_decoder_fuzz", kImagePsd},
                 {"jpeg_decoder_fuzz", kImageJpeg}, {"image_loader_fuzz", kImageRecognise}};
  const fs::path corpus = fs::path(SPELLCRYPT_SOURCE_DIR) / "fuzz" / "corpus";
  for (const auto& t : targets) {
    int seeds = 0;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus / t.target, ec)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
      DXImage image;
      EXPECT_TRUE(DecodeImage(file.data(), file.size(), t.format, image)) << entry.path();
      EXPECT_NE(RecogniseImage(file.data(), file.size()), kImageRecognise) << entry.path();
      if (t.format != kImageRecognise) {
        EXPECT_EQ(RecogniseImage(file.data(), file.size()), t.format) << entry.path();
      }
      ++seeds;
    }
    EXPECT_GE(seeds, 1) << t.target << ": run the tests with SPELLCRYPT_WRITE_FUZZ_SEEDS=1";
  }
}

}  // namespace
}  // namespace spellcrypt
