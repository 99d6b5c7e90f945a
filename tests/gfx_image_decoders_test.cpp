// Image files: recognition by content, each decoder against pictures built here, and the refusal
// of damaged files.
#include <gtest/gtest.h>

#include "base/binary_io.h"
#include "gfx/dx_image.h"
#include "gfx/dx_surface.h"
#include "gfx/image_writer.h"
#include "gfx_test_images.h"

namespace spellcrypt {
namespace {

using testimg::Bytes;
using testimg::Seed;

DXImage Decode(const Bytes& file, int format = kImageRecognise) {
  DXImage image;
  DecodeImage(file.data(), file.size(), format, image);
  return image;
}

bool Refused(const Bytes& file) {
  DXImage image;
  const bool ok = DecodeImage(file.data(), file.size(), kImageRecognise, image);
  return !ok && image.pixels.empty() && image.width == 0;
}

void ExpectPattern(const DXImage& image, int width, int height) {
  ASSERT_EQ(image.width, width);
  ASSERT_EQ(image.height, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(image.pixels[static_cast<std::size_t>(y * width + x)], testimg::Pattern(x, y))
          << x << "," << y;
    }
  }
}

// Every prefix of a good file (shorter than `upTo` bytes, if given) is refused, without reading
// past the bytes it was given.
void ExpectTruncationsRefused(const Bytes& file, std::size_t upTo = 0) {
  for (std::size_t n = 0; n < (upTo != 0 ? upTo : file.size()); ++n) {
    Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
    cut.shrink_to_fit();
    DXImage image;
    ASSERT_FALSE(DecodeImage(cut.data(), cut.size(), RecogniseImage(file.data(), file.size()), image))
        << "accepted the first " << n << " of " << file.size() << " bytes";
  }
}

Bytes Bmp8(int width, int height, int coloursUsed, const std::function<std::uint32_t(int, int)>& index) {
  testimg::Bmp bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bits = 8;
  bmp.coloursUsed = static_cast<std::uint32_t>(coloursUsed);
  bmp.palette = testimg::GreyPalette(coloursUsed == 0 ? 256 : coloursUsed);
  bmp.rows = testimg::BmpRows(width, height, 8, index);
  return testimg::Build(bmp);
}

Bytes Rle8(int width, int height, const Bytes& codes, int colours = 4) {
  testimg::Bmp bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bits = 8;
  bmp.compression = 1;
  bmp.coloursUsed = static_cast<std::uint32_t>(colours);
  bmp.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  bmp.palette.resize(static_cast<std::size_t>(colours), 0x777777);
  bmp.rows = codes;
  return testimg::Build(bmp);
}

TEST(ImageRecognitionTest, FormatComesFromContentNotName) {
  testimg::TempDir dir;
  const std::vector<std::uint32_t> pixels = testimg::PatternPixels(8, 6);
  const std::string bmpAsJpg = dir.Write("picture.jpg", EncodeBmp(pixels.data(), 8, 6, 8));
  const std::string jpgAsBmp = dir.Write("picture.bmp", EncodeJpeg(pixels.data(), 8, 6, 8, 95));
  CDXSurface a;
  CDXSurface b;
  ASSERT_EQ(a.Create(nullptr, bmpAsJpg.c_str()), 1);
  EXPECT_EQ(a.ReadPixel(7, 5), testimg::Pattern(7, 5));
  ASSERT_EQ(b.Create(nullptr, jpgAsBmp.c_str()), 1);
  EXPECT_EQ(b.Width(), 8);
  EXPECT_EQ(b.Height(), 6);

  // Unknown content, a missing file, and the Targa/JPEG signature rules.
  const std::string text = dir.Write("notes.bmp", Bytes{'h', 'e', 'l', 'l', 'o'});
  CDXSurface c;
  EXPECT_EQ(c.Create(nullptr, text.c_str()), -2);
  EXPECT_EQ(c.Create(nullptr, dir.File("none.bmp").c_str()), -1);
  EXPECT_FALSE(c.HasImage());

  const Bytes jpeg = EncodeJpeg(pixels.data(), 8, 6, 8, 95);
  EXPECT_EQ(RecogniseImage(jpeg.data(), jpeg.size()), kImageJpeg);
  Bytes exif = jpeg;
  std::memcpy(exif.data() + 6, "Exif", 4);
  EXPECT_EQ(RecogniseImage(exif.data(), exif.size()), kImageRecognise);
  EXPECT_EQ(RecogniseImage(jpeg.data(), 9), kImageRecognise);

  testimg::Tga tga;
  tga.width = 1;
  tga.height = 1;
  tga.data = {1, 2, 3};
  Bytes targa = testimg::Build(tga);
  EXPECT_EQ(RecogniseImage(targa.data(), targa.size()), kImageTga);
  targa.resize(targa.size() - 26);  // without the 2.0 footer it is not recognised
  EXPECT_EQ(RecogniseImage(targa.data(), targa.size()), kImageRecognise);
  // A footer wins over a bitmap signature: Targa is asked first.
  Bytes both = testimg::Build(tga);
  both[0] = 'B';
  both[1] = 'M';
  EXPECT_EQ(RecogniseImage(both.data(), both.size()), kImageTga);
  // A caller may name the format; then nothing is recognised.
  const Bytes bmp = EncodeBmp(pixels.data(), 8, 6, 8);
  EXPECT_TRUE(Decode(bmp, kImageJpeg).pixels.empty());
  EXPECT_EQ(Decode(bmp, kImageBmp).width, 8);
}

TEST(BmpDecoderTest, UncompressedDepthsDecode) {
  const std::vector<std::uint32_t> pixels = testimg::PatternPixels(7, 5);
  ExpectPattern(Decode(Seed("bmp_decoder_fuzz", "rgb24.bmp", EncodeBmp(pixels.data(), 7, 5, 7))), 7,
                5);  // 24 bits, padded rows

  testimg::Bmp bmp;
  bmp.width = 7;
  bmp.height = 5;
  bmp.bits = 32;
  bmp.rows = testimg::BmpRows(7, 5, 32, [](int x, int y) { return testimg::Pattern(x, y) | 0xAB000000u; });
  ExpectPattern(Decode(Seed("bmp_decoder_fuzz", "rgb32.bmp", testimg::Build(bmp))), 7, 5);

  // Top-down rows (negative height).
  bmp.topDown = true;
  ByteWriter topDownRows;
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) topDownRows.U32(testimg::Pattern(x, y));
  }
  bmp.rows = topDownRows.Data();
  ExpectPattern(Decode(Seed("bmp_decoder_fuzz", "rgb32_topdown.bmp", testimg::Build(bmp))), 7, 5);

  // 16 bits: x1555, each channel times 8.
  bmp = testimg::Bmp{};
  bmp.width = 3;
  bmp.height = 1;
  bmp.bits = 16;
  bmp.rows = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x80, 0, 0};  // red, green, blue (top bit ignored)
  const DXImage wide = Decode(Seed("bmp_decoder_fuzz", "rgb16.bmp", testimg::Build(bmp)));
  ASSERT_EQ(wide.width, 3);
  EXPECT_EQ(wide.pixels[0], 0xF80000u);
  EXPECT_EQ(wide.pixels[1], 0x00F800u);
  EXPECT_EQ(wide.pixels[2], 0x0000F8u);

  // 8 bits with a short palette, bottom row first.
  const DXImage grey =
      Decode(Seed("bmp_decoder_fuzz", "index8.bmp",
                  Bmp8(3, 2, 2, [](int x, int y) { return static_cast<std::uint32_t>((x + y) & 1); })));
  ASSERT_EQ(grey.width, 3);
  EXPECT_EQ(grey.pixels[0], 0u);
  EXPECT_EQ(grey.pixels[1], 0xFFFFFFu);
  EXPECT_EQ(grey.pixels[3], 0xFFFFFFu);
}

TEST(BmpDecoderTest, DamagedBitmapsAreRefused) {
  const std::vector<std::uint32_t> pixels = testimg::PatternPixels(5, 4);
  const Bytes good = EncodeBmp(pixels.data(), 5, 4, 5);
  ExpectTruncationsRefused(good);

  auto patched = [&](std::size_t at, std::uint32_t value) {
    Bytes b = good;
    for (int i = 0; i < 4; ++i)
      b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return b;
  };
  EXPECT_TRUE(Refused(patched(18, 0)));            // width 0
  EXPECT_TRUE(Refused(patched(18, 16385)));        // wider than any picture we take
  EXPECT_TRUE(Refused(patched(18, 0x80000000u)));  // negative width
  EXPECT_TRUE(Refused(patched(22, 0x80000000u)));  // the most negative height
  EXPECT_TRUE(Refused(patched(22, 10000)));        // more rows than the file holds
  EXPECT_TRUE(Refused(patched(10, 0xFFFFFFF0u)));  // pixel data past the end
  EXPECT_TRUE(Refused(patched(14, 0xFFFFFFFFu)));  // an information header longer than the file
  EXPECT_TRUE(Refused(patched(30, 3)));            // bit-field masks: another compression
  Bytes four = patched(28, 4);                     // 4 bits per pixel
  EXPECT_TRUE(Refused(four));
  // Sizes whose product overflows 32 bits.
  Bytes huge = patched(18, 16384);
  for (int i = 0; i < 4; ++i)
    huge[22 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(16384 >> (8 * i));
  EXPECT_TRUE(Refused(huge));

  // Palettes: more than 256 entries, or an index past the palette.
  EXPECT_TRUE(Refused(Bmp8(2, 2, 300, [](int, int) { return 0u; })));
  EXPECT_TRUE(Refused(Bmp8(2, 2, 2, [](int x, int) { return x == 1 ? 2u : 0u; })));
  EXPECT_FALSE(Refused(Bmp8(2, 2, 3, [](int x, int) { return x == 1 ? 2u : 0u; })));
}

TEST(BmpDecoderTest, RunLengthCodesFollowTheirRules) {
  // Each escape code on its own.
  auto pixelsOf = [](const Bytes& data, int w, int h) {
    DXImage image = Decode(
        Seed("bmp_decoder_fuzz", ("rle8_" + std::to_string(data.size()) + ".bmp").c_str(), Rle8(w, h, data)));
    return image.pixels;
  };
  const std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, K = 0;
  // Runs and end of line; rows are stored bottom first, the picture is top first.
  EXPECT_EQ(pixelsOf({2, 1, 1, 2, 0, 0, 3, 3, 0, 1}, 3, 2), (std::vector<std::uint32_t>{B, B, B, R, R, G}));
  // End of line early: the rest of the row is index 0. End of picture early: the rest too.
  EXPECT_EQ(pixelsOf({1, 1, 0, 0, 1, 2, 0, 1}, 3, 2), (std::vector<std::uint32_t>{G, K, K, R, K, K}));
  // Delta: right 1, up 1, from (1, 0) to (2, 1).
  EXPECT_EQ(pixelsOf({1, 3, 0, 2, 1, 1, 1, 1, 0, 1}, 3, 2), (std::vector<std::uint32_t>{K, K, R, B, K, K}));
  // An absolute run of 3 is padded to 4 bytes; one of 4 is not.
  EXPECT_EQ(pixelsOf({0, 3, 1, 2, 3, 0, 0, 0, 0, 4, 3, 2, 1, 0, 0, 1}, 4, 2),
            (std::vector<std::uint32_t>{B, G, R, K, R, G, B, K}));
  // Data that ends exactly after the last row's end of line is complete.
  EXPECT_EQ(pixelsOf({2, 1, 0, 0, 2, 2, 0, 0}, 2, 2), (std::vector<std::uint32_t>{G, G, R, R}));
  // Rows encoded with their padding to four bytes, as ImageMagick writes them: a run or an
  // absolute run reaching into the padding, and a run of padding alone, are dropped there.
  EXPECT_EQ(pixelsOf({3, 1, 1, 0, 0, 0, 2, 2, 2, 3, 0, 0, 0, 1}, 3, 2),
            (std::vector<std::uint32_t>{G, G, B, R, R, R}));
  EXPECT_EQ(pixelsOf({0, 4, 3, 2, 1, 2, 0, 0, 4, 1, 0, 1}, 3, 2),
            (std::vector<std::uint32_t>{R, R, R, B, G, R}));
  EXPECT_EQ(pixelsOf({8, 2, 0, 0, 1, 3, 0, 1}, 5, 2),
            (std::vector<std::uint32_t>{B, K, K, K, K, G, G, G, G, G}));
  EXPECT_TRUE(Refused(Rle8(5, 2, {9, 2, 0, 1})));  // a run past the padding of a 5-pixel row

  // Runs past the padded row or the picture, deltas past them, missing data: refused.
  for (const Bytes& bad : std::vector<Bytes>{
           {5, 1, 0, 1},                    // run longer than the padded row
           {2, 1, 3, 1, 0, 1},              // second run passes the padded row's end
           {0, 5, 1, 1, 1, 1, 1, 0, 0, 1},  // absolute run longer than the padded row
           {0, 3, 1, 1},                    // absolute run cut short by the end of the data
           {0, 0, 0, 0, 1, 1, 0, 1},        // a run after the last row
           {0, 2, 0, 5, 0, 1},              // delta past the top
           {0, 2, 9, 0, 0, 1},              // delta past the right edge
           {0, 2, 1},                       // delta without its bytes
           {1, 1},                          // data ends in the first row
           {1, 9, 0, 1},                    // index past the palette
       }) {
    EXPECT_TRUE(Refused(Rle8(3, 2, bad))) << ::testing::PrintToString(bad);
  }
  // Run-length data stored top-down is not a thing bitmaps have.
  testimg::Bmp topDown;
  topDown.width = 1;
  topDown.height = 1;
  topDown.topDown = true;
  topDown.bits = 8;
  topDown.compression = 1;
  topDown.palette = {0};
  topDown.coloursUsed = 1;
  topDown.rows = {1, 0, 0, 1};
  EXPECT_TRUE(Refused(testimg::Build(topDown)));
  // A tiny file may still describe a big, mostly empty picture; it decodes within bounds.
  const DXImage big = Decode(Rle8(2000, 1500, {1, 1, 0, 1}));
  ASSERT_EQ(big.width, 2000);
  EXPECT_EQ(big.pixels[static_cast<std::size_t>(1499) * 2000], 0xFF0000u);
}

TEST(TgaDecoderTest, EveryTypeDecodesAndBadMapsAreRefused) {
  // True colour, 24 and 32 bits, raw, top row first and bottom row first.
  testimg::Tga t;
  t.width = 4;
  t.height = 3;
  ByteWriter topRowFirst;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) testimg::PutPixel(topRowFirst, testimg::Pattern(x, y), 24);
  }
  t.data = topRowFirst.Data();
  ExpectPattern(Decode(Seed("tga_decoder_fuzz", "truecolour.tga", testimg::Build(t))), 4, 3);
  ExpectTruncationsRefused(testimg::Build(t), testimg::Build(t).size() - 26);  // the footer is not needed
  testimg::Tga up = t;
  up.topDown = false;
  ByteWriter bottomRowFirst;
  for (int y = 2; y >= 0; --y) {
    for (int x = 0; x < 4; ++x) bottomRowFirst.U32(testimg::Pattern(x, y) | 0x7F000000u);
  }
  up.data = bottomRowFirst.Data();
  up.bits = 32;
  ExpectPattern(Decode(Seed("tga_decoder_fuzz", "bottom_up32.tga", testimg::Build(up))), 4, 3);

  // Run-length true colour: a run of 3 and a raw packet of 2 crossing the row end.
  testimg::Tga rle;
  rle.type = 10;
  rle.width = 3;
  rle.height = 2;
  rle.data = {0x82, 1, 2, 3, 0x02, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  DXImage image = Decode(Seed("tga_decoder_fuzz", "rle24.tga", testimg::Build(rle)));
  ASSERT_EQ(image.width, 3);
  EXPECT_EQ(image.pixels[0], 0x030201u);
  EXPECT_EQ(image.pixels[2], 0x030201u);
  EXPECT_EQ(image.pixels[3], 0x060504u);
  EXPECT_EQ(image.pixels[5], 0x0C0B0Au);
  rle.data[0] = 0x83;  // a run past the end of the picture
  EXPECT_TRUE(Refused(testimg::Build(rle)));

  // 16-bit pixels widen each channel times 8; grey pictures.
  testimg::Tga sixteen;
  sixteen.width = 1;
  sixteen.height = 1;
  sixteen.bits = 16;
  sixteen.data = {0x1F, 0x7C};
  EXPECT_EQ(Decode(Seed("tga_decoder_fuzz", "rgb16.tga", testimg::Build(sixteen))).pixels.at(0), 0xF800F8u);
  testimg::Tga grey;
  grey.type = 11;
  grey.width = 2;
  grey.height = 1;
  grey.bits = 8;
  grey.data = {0x81, 0x40};
  EXPECT_EQ(Decode(Seed("tga_decoder_fuzz", "grey_rle.tga", testimg::Build(grey))).pixels,
            (std::vector<std::uint32_t>{0x404040, 0x404040}));

  // Colour-mapped through a map starting at entry 2 with 24-bit and 16-bit entries.
  testimg::Tga mapped;
  mapped.type = 1;
  mapped.width = 2;
  mapped.height = 1;
  mapped.bits = 8;
  mapped.mapType = 1;
  mapped.mapFirst = 2;
  mapped.mapLength = 2;
  mapped.map = {0x30, 0x20, 0x10, 0x03, 0x02, 0x01};
  mapped.data = {3, 2};
  EXPECT_EQ(Decode(Seed("tga_decoder_fuzz", "mapped.tga", testimg::Build(mapped))).pixels,
            (std::vector<std::uint32_t>{0x010203, 0x102030}));
  testimg::Tga bad = mapped;
  bad.data = {1, 2};  // index below the map
  EXPECT_TRUE(Refused(testimg::Build(bad)));
  bad.data = {4, 2};  // index past the map
  EXPECT_TRUE(Refused(testimg::Build(bad)));
  bad = mapped;
  bad.mapFirst = 250;  // the map reaches past 256 entries
  bad.mapLength = 10;
  bad.map.assign(30, 0);
  EXPECT_TRUE(Refused(testimg::Build(bad)));
  bad = mapped;
  bad.mapLength = 2000;  // longer than the file
  EXPECT_TRUE(Refused(testimg::Build(bad)));
  bad = t;
  bad.bits = 8;  // true colour cannot be 8 bits
  EXPECT_TRUE(Refused(testimg::Build(bad)));
  bad = rle;
  bad.width = 60000;  // a side past the limit
  bad.height = 60000;
  EXPECT_TRUE(Refused(testimg::Build(bad)));
}

TEST(PcxDecoderTest, PalettedAndThreePlanePicturesDecode) {
  // Three planes, lines padded to an even length.
  testimg::Bytes raw;
  for (int y = 0; y < 3; ++y) {
    for (int c = 0; c < 3; ++c) {
      for (int x = 0; x < 6; ++x)
        raw.push_back(x < 5 ? static_cast<std::uint8_t>(testimg::Pattern(x, y) >> (16 - 8 * c)) : 0);
    }
  }
  const Bytes rgb = testimg::BuildPcx(5, 3, 3, 6, testimg::PackPcx(raw));
  ExpectPattern(Decode(Seed("pcx_decoder_fuzz", "rgb.pcx", rgb)), 5, 3);
  ExpectTruncationsRefused(rgb);

  // One plane with the palette at the end of the file.
  const Bytes paletted = testimg::BuildPcx(4, 2, 1, 4, testimg::PackPcx({0, 1, 1, 200, 200, 200, 200, 3}),
                                           testimg::GreyPalette(256));
  const DXImage image = Decode(Seed("pcx_decoder_fuzz", "index.pcx", paletted));
  ASSERT_EQ(image.width, 4);
  EXPECT_EQ(image.pixels[0], 0u);
  EXPECT_EQ(image.pixels[3], 0xC8C8C8u);
  EXPECT_EQ(image.pixels[7], 0x030303u);

  Bytes noMarker = paletted;
  noMarker[noMarker.size() - 769] = 0;
  EXPECT_TRUE(Refused(noMarker));
  EXPECT_TRUE(
      Refused(testimg::BuildPcx(4, 2, 1, 4, {0xFF, 7}, testimg::GreyPalette(256))));  // run past the end
  EXPECT_TRUE(
      Refused(testimg::BuildPcx(4, 2, 1, 3, {0xC8, 7}, testimg::GreyPalette(256))));  // lines too short
  EXPECT_TRUE(Refused(testimg::BuildPcx(4, 2, 2, 4, {0xC8, 7})));                     // two planes
  EXPECT_TRUE(Refused(testimg::BuildPcx(16000, 16000, 3, 16000, {0xFF, 7})));  // far more than the data
}

TEST(PsdDecoderTest, RawAndPackBitsChannelsDecode) {
  // Four channels raw: the alpha plane is read past and dropped.
  ExpectPattern(Decode(Seed("psd_decoder_fuzz", "raw4.psd",
                            testimg::BuildPsd(5, 3, 4, 0, testimg::PsdPlanes(5, 3, 4)))),
                5, 3);
  ExpectTruncationsRefused(testimg::BuildPsd(3, 2, 3, 0, testimg::PsdPlanes(3, 2, 3)));
  // One channel: green and blue are 0.
  const DXImage red = Decode(testimg::BuildPsd(2, 1, 1, 0, {0x80, 0x40}));
  EXPECT_EQ(red.pixels, (std::vector<std::uint32_t>{0x800000, 0x400000}));

  // PackBits: a row of a literal pair and a repeat of three, per channel.
  ByteWriter packedWriter;
  for (int i = 0; i < 3; ++i) packedWriter.U16Be(5);  // three rows (one per channel), 5 bytes each
  for (int c = 0; c < 3; ++c) {
    const std::uint8_t v = static_cast<std::uint8_t>(0x10 * (c + 1));
    const std::uint8_t row[5] = {1, v, static_cast<std::uint8_t>(v + 1), 0xFE,
                                 static_cast<std::uint8_t>(v + 2)};
    packedWriter.Bytes(row, 5);
  }
  const Bytes packed = packedWriter.Data();
  const Bytes good = testimg::BuildPsd(5, 1, 3, 1, packed);
  const DXImage image = Decode(Seed("psd_decoder_fuzz", "packbits3.psd", good));
  EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0x102030, 0x112131, 0x122232, 0x122232, 0x122232}));
  ExpectTruncationsRefused(good);

  // Lying row lengths, channel counts, sizes, modes and depths.
  Bytes lie = good;
  lie[lie.size() - 15 - 5] = 0x7F;  // first row length far past the data
  EXPECT_TRUE(Refused(lie));
  lie = good;
  lie[lie.size() - 15 - 5] = 4;  // rows shift: each unpacks to the wrong width
  EXPECT_TRUE(Refused(lie));
  EXPECT_TRUE(Refused(testimg::BuildPsd(5, 1, 24, 1, packed)));  // 24 channels' lengths not there
  EXPECT_TRUE(Refused(testimg::BuildPsd(5, 1, 25, 0, testimg::PsdPlanes(5, 1, 25))));
  EXPECT_TRUE(Refused(testimg::BuildPsd(5, 1, 0, 0, {})));
  EXPECT_TRUE(Refused(testimg::BuildPsd(16384, 16384, 3, 0, {1, 2, 3})));
  EXPECT_TRUE(Refused(testimg::BuildPsd(2, 1, 3, 0, testimg::PsdPlanes(2, 1, 3), 4)));      // CMYK
  EXPECT_TRUE(Refused(testimg::BuildPsd(2, 1, 3, 0, testimg::PsdPlanes(2, 1, 3), 3, 16)));  // 16 bits
  EXPECT_TRUE(Refused(testimg::BuildPsd(2, 1, 3, 2, testimg::PsdPlanes(2, 1, 3))));         // zip
  Bytes section = testimg::BuildPsd(2, 1, 3, 0, testimg::PsdPlanes(2, 1, 3));
  section[29] = 0xFF;  // the resources section claims more than the file holds
  EXPECT_TRUE(Refused(section));
}

TEST(JpegDecoderTest, PicturesDecodeAtTheirSizeAndDamageIsRefused) {
  std::vector<std::uint32_t> pixels(64 * 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x)
      pixels[static_cast<std::size_t>(y * 64 + x)] = x < 32 ? 0xC03020u : 0x2040E0u;
  }
  const Bytes jpeg = EncodeJpeg(pixels.data(), 64, 48, 64, 95);
  const DXImage image = Decode(Seed("jpeg_decoder_fuzz", "two_colours.jpg", jpeg));
  ASSERT_EQ(image.width, 64);
  ASSERT_EQ(image.height, 48);
  auto near = [](std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
      if (d < -8 || d > 8) return false;
    }
    return true;
  };
  EXPECT_TRUE(near(image.pixels[10 * 64 + 5], 0xC03020u));
  EXPECT_TRUE(near(image.pixels[40 * 64 + 60], 0x2040E0u));

  // Truncated pictures are refused, not shown half grey, and never end the program.
  for (std::size_t n : {jpeg.size() / 4, jpeg.size() / 2, jpeg.size() - 3}) {
    EXPECT_TRUE(Refused(Bytes(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(n)))) << n;
  }
  Bytes garbage = jpeg;
  for (std::size_t i = garbage.size() / 2; i < garbage.size() - 2; i += 7) garbage[i] = 0xFF;
  EXPECT_TRUE(Refused(garbage));
}

TEST(JpegDecoderTest, StrayBytesBeforeAMarkerAreSkipped) {
  // libjpeg warns about bytes between segments and skips them; no picture data is lost, so the
  // picture decodes exactly as without them.
  const std::vector<std::uint32_t> pixels = testimg::PatternPixels(19, 13);
  const Bytes clean = EncodeJpeg(pixels.data(), 19, 13, 19, 90);
  ASSERT_EQ(clean[20], 0xFF);  // the segment after the 16-byte JFIF header
  const DXImage expected = Decode(clean);
  ASSERT_EQ(expected.width, 19);
  const Bytes stray = {0x00, 0x12, 0x34};
  Bytes afterHeader = clean;
  afterHeader.insert(afterHeader.begin() + 20, stray.begin(), stray.end());
  Bytes beforeEnd = clean;
  beforeEnd.insert(beforeEnd.end() - 2, stray.begin(), stray.end());
  Seed("jpeg_decoder_fuzz", "stray_bytes.jpg", afterHeader);
  for (const Bytes& file : {afterHeader, beforeEnd}) {
    const DXImage image = Decode(file);
    EXPECT_EQ(image.width, 19);
    EXPECT_EQ(image.pixels, expected.pixels);
  }
  // Stray bytes do not excuse a picture cut short.
  EXPECT_TRUE(Refused(Bytes(afterHeader.begin(), afterHeader.end() - 40)));
}

}  // namespace
}  // namespace spellcrypt
