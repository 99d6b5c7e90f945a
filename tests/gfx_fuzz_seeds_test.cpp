// The seed pictures of the image fuzz targets: each must decode, so that fuzzing starts from
// inside every decoder. SPELLCRYPT_WRITE_FUZZ_SEEDS=1 writes them afresh into fuzz/corpus/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "gfx/dx_image.h"
#include "gfx/image_writer.h"
#include "gfx_test_images.h"

namespace spellcrypt {
namespace {

namespace fs = std::filesystem;
using testimg::Bytes;
using Seeds = std::map<std::string, Bytes>;

Seeds BmpSeeds() {
  Seeds seeds;
  const std::vector<std::uint32_t> px = testimg::PatternPixels(5, 4);
  seeds["rgb24.bmp"] = EncodeBmp(px.data(), 5, 4, 5);
  testimg::Bmp bmp;
  bmp.width = 3;
  bmp.height = 2;
  bmp.bits = 8;
  bmp.coloursUsed = 4;
  bmp.palette = testimg::GreyPalette(4);
  bmp.rows = testimg::BmpRows(3, 2, 8, [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 4); });
  seeds["index8.bmp"] = testimg::Build(bmp);
  bmp.compression = 1;  // every escape code: run, absolute (padded), end of line, delta, end
  bmp.width = 6;
  bmp.height = 3;
  bmp.rows = {2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 1, 3, 0, 1};
  seeds["rle8.bmp"] = testimg::Build(bmp);
  bmp = testimg::Bmp{};
  bmp.width = 3;
  bmp.height = 2;
  bmp.bits = 16;
  bmp.rows = testimg::BmpRows(
      3, 2, 16, [](int x, int y) { return static_cast<std::uint32_t>(x * 0x1234 + y * 0x421); });
  seeds["rgb16.bmp"] = testimg::Build(bmp);
  bmp.bits = 32;
  bmp.topDown = true;
  bmp.rows = testimg::BmpRows(3, 2, 32, testimg::Pattern);
  seeds["rgb32_topdown.bmp"] = testimg::Build(bmp);
  return seeds;
}

Seeds TgaSeeds() {
  Seeds seeds;
  testimg::Tga t;
  t.width = 3;
  t.height = 2;
  for (int i = 0; i < 6; ++i) testimg::Le(t.data, testimg::Pattern(i, 0), 3);
  seeds["truecolour.tga"] = testimg::Build(t);
  testimg::Tga rle;
  rle.type = 10;
  rle.width = 3;
  rle.height = 2;
  rle.bits = 32;
  rle.topDown = false;
  rle.data = {0x81, 1, 2, 3, 4, 0x03, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
  seeds["rle32.tga"] = testimg::Build(rle);
  testimg::Tga mapped;
  mapped.type = 9;
  mapped.width = 4;
  mapped.height = 1;
  mapped.bits = 8;
  mapped.mapType = 1;
  mapped.mapLength = 2;
  mapped.mapBits = 16;
  mapped.map = {0x1F, 0x00, 0xE0, 0x7F};
  mapped.data = {0x81, 0, 0x01, 1, 0};
  seeds["mapped_rle.tga"] = testimg::Build(mapped);
  testimg::Tga grey;
  grey.type = 3;
  grey.width = 2;
  grey.height = 2;
  grey.bits = 8;
  grey.data = {0, 80, 160, 240};
  seeds["grey.tga"] = testimg::Build(grey);
  testimg::Tga sixteen = grey;
  sixteen.type = 2;
  sixteen.bits = 16;
  sixteen.data = {0x1F, 0x7C, 0xE0, 0x03, 0x00, 0x7C, 0x1F, 0x00};
  seeds["rgb16.tga"] = testimg::Build(sixteen);
  return seeds;
}

Seeds PcxSeeds() {
  Seeds seeds;
  Bytes raw;
  for (int y = 0; y < 2; ++y) {
    for (int c = 0; c < 3; ++c) {
      for (int x = 0; x < 4; ++x) raw.push_back(static_cast<std::uint8_t>(testimg::Pattern(x, y) >> (8 * c)));
    }
  }
  seeds["rgb.pcx"] = testimg::BuildPcx(3, 2, 3, 4, testimg::PackPcx(raw));
  seeds["index.pcx"] = testimg::BuildPcx(4, 2, 1, 4, testimg::PackPcx({1, 1, 1, 200, 7, 7, 250, 0}),
                                         testimg::GreyPalette(256));
  return seeds;
}

Seeds PsdSeeds() {
  Seeds seeds;
  seeds["raw3.psd"] = testimg::BuildPsd(3, 2, 3, 0, testimg::PsdPlanes(3, 2, 3));
  Bytes packed;
  for (int i = 0; i < 4; ++i) testimg::Be(packed, 4, 2);
  for (int c = 0; c < 4; ++c) packed.insert(packed.end(), {0, static_cast<std::uint8_t>(c * 60), 0xFD, 0x80});
  seeds["packbits4.psd"] = testimg::BuildPsd(5, 1, 4, 1, packed);
  return seeds;
}

Seeds JpegSeeds() {
  Seeds seeds;
  const std::vector<std::uint32_t> small = testimg::PatternPixels(16, 8);
  seeds["small.jpg"] = EncodeJpeg(small.data(), 16, 8, 16, 75);
  const std::vector<std::uint32_t> odd = testimg::PatternPixels(19, 13);
  seeds["odd_size.jpg"] = EncodeJpeg(odd.data(), 19, 13, 19, 40);
  return seeds;
}

struct Target {
  const char* name;
  int format;
  Seeds (*seeds)();
};
constexpr Target kTargets[] = {
    {"bmp_decoder_fuzz", kImageBmp, BmpSeeds},    {"tga_decoder_fuzz", kImageTga, TgaSeeds},
    {"pcx_decoder_fuzz", kImagePcx, PcxSeeds},    {"psd_decoder_fuzz", kImagePsd, PsdSeeds},
    {"jpeg_decoder_fuzz", kImageJpeg, JpegSeeds},
};

void WriteSeeds(const fs::path& dir, const Seeds& seeds) {
  fs::create_directories(dir);
  for (const auto& [name, bytes] : seeds) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

TEST(FuzzSeedsTest, EverySeedDecodesWithItsTargetsDecoderAndByRecognition) {
  const fs::path corpus = fs::path(SPELLCRYPT_SOURCE_DIR) / "fuzz" / "corpus";
  const bool write = std::getenv("SPELLCRYPT_WRITE_FUZZ_SEEDS") != nullptr;
  for (const Target& target : kTargets) {
    const Seeds seeds = target.seeds();
    if (write) {
      WriteSeeds(corpus / target.name, seeds);
      WriteSeeds(corpus / "image_loader_fuzz", seeds);
    }
    for (const char* dirName : {target.name, "image_loader_fuzz"}) {
      for (const auto& [name, built] : seeds) {
        std::ifstream in(corpus / dirName / name, std::ios::binary);
        ASSERT_TRUE(in.good()) << dirName << "/" << name
                               << " is missing: run with SPELLCRYPT_WRITE_FUZZ_SEEDS=1";
        const Bytes stored{std::istreambuf_iterator<char>(in), {}};
        DXImage image;
        EXPECT_TRUE(DecodeImage(stored.data(), stored.size(), target.format, image)) << name;
        EXPECT_EQ(RecogniseImage(stored.data(), stored.size()), target.format) << name;
        EXPECT_TRUE(DecodeImage(built.data(), built.size(), kImageRecognise, image)) << name;
      }
    }
  }
}

}  // namespace
}  // namespace spellcrypt
