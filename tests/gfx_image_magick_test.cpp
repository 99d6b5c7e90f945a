// Each decoder against files that an independent encoder writes at test time. ImageMagick
// (Debian's imagemagick, version 6) turns a structured picture into the format and variant under
// test in a temporary folder, then reads that same file itself into raw RGB; the game's decoder
// must give every pixel as ImageMagick reads it (JPEG within a tiny tolerance), and for the
// lossless formats ImageMagick's reading must be the picture it was given, so neither side can
// pass by mangling both the same way. Each file's header is checked too, so that it really is
// the variant named (what `identify -verbose` reports for it).
//
// In CI (CI set) a missing ImageMagick fails these tests; elsewhere they are skipped with a note.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/binary_io.h"
#include "gfx/dx_image.h"
#include "gfx_test_images.h"

namespace spellcrypt {
namespace {

using testimg::Bytes;

std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

using Content = std::uint32_t (*)(int x, int y, int width, int height);

// Red rises left to right, green top to bottom, and blue differs from every neighbour: a flip, a
// shift or swapped channels all show.
std::uint32_t Colours(int x, int y, int w, int h) {
  return Rgb(x * 255 / (w - 1), y * 255 / (h - 1), x * 19 + y * 7 + 3);
}
// The same in runs of 1, 2 and 3 equal pixels, changing from row to row, for the run-length
// writers; the pictures have fewer than 256 pixels, so these fit a palette without loss.
std::uint32_t Runs(int x, int y, int w, int h) { return Colours(x / (1 + y % 3), y, w, h); }
// Greys that differ along rows and columns.
std::uint32_t Greys(int x, int y, int, int) {
  const int v = (x * 7 + y * 41 + 5) & 0xFF;
  return Rgb(v, v, v);
}

// Odd widths, so that every row of every format carries padding or an odd length.
constexpr struct {
  int width;
  int height;
} kSizes[] = {{13, 11}, {37, 6}};

Picture Make(Content content, int width, int height) {
  Picture p{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) p.pixels.push_back(content(x, y, width, height));
  }
  return p;
}

// Header fields at an offset, read with the game's byte reader: 0 where the file is too short,
// which fails every check below.
ByteReader ReaderAt(const Bytes& f, std::size_t at) {
  ByteReader r(f);
  r.Skip(at);
  return r;
}
std::uint16_t Le16(const Bytes& f, std::size_t at) {
  std::uint16_t v = 0;
  ReaderAt(f, at).U16(v);
  return v;
}
std::uint32_t Le32(const Bytes& f, std::size_t at) {
  std::uint32_t v = 0;
  ReaderAt(f, at).U32(v);
  return v;
}
std::uint16_t Be16(const Bytes& f, std::size_t at) {
  std::uint16_t v = 0;
  ReaderAt(f, at).U16Be(v);
  return v;
}
std::uint32_t Be32(const Bytes& f, std::size_t at) {
  std::uint32_t v = 0;
  ReaderAt(f, at).U32Be(v);
  return v;
}

bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && *ci != '\0' && std::string(ci) != "false" && std::string(ci) != "0";
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// How far a JPEG picture may stray from its source, on average over its channels.
constexpr double kLossyError = 12;

int ChannelError(std::uint32_t a, std::uint32_t b, int shift) {
  return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
}

double MeanError(const Picture& a, const Picture& b) {
  if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 255;
  double sum = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) sum += ChannelError(a.pixels[i], b.pixels[i], shift);
  }
  return sum / static_cast<double>(a.pixels.size() * 3);
}

class ImageMagickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (HaveImageMagick()) return;
    if (InCi()) {
      FAIL() << "ImageMagick's convert is missing; scripts/deps.sh installs it (package imagemagick)";
    }
    GTEST_SKIP() << "ImageMagick's convert is missing (apt-get install imagemagick): the decoders are not "
                    "checked against an independent encoder";
  }

  bool HaveImageMagick() {
    static const bool have = Run("convert -version") && Log().find("ImageMagick") != std::string::npos;
    return have;
  }

  // Runs a shell command with its output in the log; true when it succeeds.
  bool Run(const std::string& command) {
    return std::system((command + " >" + Quoted(dir_.File("log.txt")) + " 2>&1").c_str()) == 0;
  }
  std::string Log() const { return testing::ReadText(dir_.File("log.txt")); }

  // Has ImageMagick write `source` with the given options to `name` (the format follows the name,
  // or the `as` prefix such as "BMP3:") and returns the file.
  Bytes Write(const Picture& source, const std::string& options, const std::string& name,
              const std::string& as = "") {
    Bytes ppm;
    const std::string header =
        "P6\n" + std::to_string(source.width) + " " + std::to_string(source.height) + "\n255\n";
    ppm.assign(header.begin(), header.end());
    for (std::uint32_t p : source.pixels) {
      ppm.insert(ppm.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                             static_cast<std::uint8_t>(p)});
    }
    const std::string in = dir_.Write("source.ppm", ppm);
    const std::string out = dir_.File(name);
    EXPECT_TRUE(Run("convert " + Quoted(in) + " " + options + " " + Quoted(as + out))) << Log();
    return testing::ReadBytes(out);
  }

  // ImageMagick's own reading of a file it wrote: its image `frame` (for Photoshop files 0 is the
  // composite, 1 the first layer) as it is meant to be shown (-auto-orient honours a Targa
  // picture's origin, which ImageMagick otherwise only notes), alpha left out, 8 bits a channel.
  Picture Read(const std::string& name, int width, int height, int frame) {
    const std::string raw = dir_.File(name + ".rgb");
    EXPECT_TRUE(Run("convert " + Quoted(dir_.File(name) + "[" + std::to_string(frame) + "]") +
                    " -auto-orient -alpha off -depth 8 " + Quoted("rgb:" + raw)))
        << Log();
    const Bytes rgb = testing::ReadBytes(raw);
    Picture p{width, height, {}};
    EXPECT_EQ(rgb.size(), static_cast<std::size_t>(width * height * 3)) << name;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
      p.pixels.push_back(Rgb(rgb[i], rgb[i + 1], rgb[i + 2]));
    return p;
  }

  // The file goes through recognition and the decoder of `format`; its pixels must be those
  // ImageMagick reads, each channel within `tolerance`. ImageMagick's reading must also be the
  // source picture: exactly for lossless files (tolerance 0), roughly for JPEG.
  void ExpectDecodes(const Bytes& file, const std::string& name, int format, const Picture& source,
                     int tolerance = 0, int frame = 0) {
    SCOPED_TRACE(name);
    const Picture magick = Read(name, source.width, source.height, frame);
    if (tolerance == 0) {
      ExpectSame(magick, source, 0, "ImageMagick's reading differs from its source");
    } else {
      EXPECT_LT(MeanError(magick, source), kLossyError) << "ImageMagick's reading is far from its source";
    }
    ASSERT_EQ(RecogniseImage(file.data(), file.size()), format);
    DXImage image;
    ASSERT_TRUE(DecodeImage(file.data(), file.size(), kImageRecognise, image));
    ExpectSame(Picture{image.width, image.height, image.pixels}, magick, tolerance, "decoded");
  }

  static void ExpectSame(const Picture& got, const Picture& want, int tolerance, const char* what) {
    ASSERT_EQ(got.width, want.width) << what;
    ASSERT_EQ(got.height, want.height) << what;
    ASSERT_EQ(got.pixels.size(), want.pixels.size()) << what;
    int wrong = 0;
    for (int y = 0; y < want.height; ++y) {
      for (int x = 0; x < want.width; ++x) {
        const std::uint32_t a = got.At(x, y);
        const std::uint32_t b = want.At(x, y);
        int worst = 0;
        for (int shift = 0; shift < 24; shift += 8) worst = std::max(worst, ChannelError(a, b, shift));
        if (worst > tolerance && ++wrong <= 5) {
          ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << a << ", not " << b;
        }
      }
    }
    EXPECT_EQ(wrong, 0) << what << ": pixels off by more than " << tolerance;
  }

  testimg::TempDir dir_;
};

// How far right the codes of an 8-bit run-length bitmap reach before an end of line.
int FurthestRunEnd(const Bytes& f) {
  std::size_t p = Le32(f, 10);
  int x = 0;
  int furthest = 0;
  while (p + 1 < f.size()) {
    const int count = f[p];
    const int code = f[p + 1];
    p += 2;
    if (count > 0) {
      x += count;
    } else if (code == 0) {
      x = 0;
    } else if (code == 1) {
      break;
    } else if (code == 2) {
      x += f.at(p);
      p += 2;
    } else {
      x += code;
      p += static_cast<std::size_t>(code + (code & 1));
    }
    furthest = std::max(furthest, x);
  }
  return furthest;
}

TEST_F(ImageMagickTest, BitmapsOfEveryDepthAndRunLength) {
  for (const auto& size : kSizes) {
    const int w = size.width;
    const std::string tag = std::to_string(w);
    const Picture colours = Make(Colours, w, size.height);
    const Picture runs = Make(Runs, w, size.height);

    // BMP3: the 40-byte information header. 24 bits: convert src.ppm -type TrueColor BMP3:x.bmp
    Bytes f = Write(colours, "-type TrueColor", "rgb24_" + tag + ".bmp", "BMP3:");
    EXPECT_EQ(Le32(f, 14), 40u);
    EXPECT_EQ(Le16(f, 28), 24);
    EXPECT_EQ(Le32(f, 30), 0u);
    ExpectDecodes(f, "rgb24_" + tag + ".bmp", kImageBmp, colours);

    // 32 bits, with an alpha byte of 60 % in every pixel that the decoder must drop:
    // convert src.ppm -alpha set -channel A -evaluate set 60% +channel -define bmp3:alpha=true BMP3:x.bmp
    f = Write(colours, "-alpha set -channel A -evaluate set 60% +channel -define bmp3:alpha=true",
              "rgb32_" + tag + ".bmp", "BMP3:");
    EXPECT_EQ(Le16(f, 28), 32);
    EXPECT_EQ(Le32(f, 30), 0u);
    EXPECT_EQ(f.at(Le32(f, 10) + 3), 153);  // the first pixel's alpha byte
    ExpectDecodes(f, "rgb32_" + tag + ".bmp", kImageBmp, colours);

    // 8 bits, uncompressed (convert makes palette bitmaps run-length encoded unless told not to):
    // convert src.ppm -type Palette -compress None BMP3:x.bmp
    f = Write(runs, "-type Palette -compress None", "index8_" + tag + ".bmp", "BMP3:");
    EXPECT_EQ(Le16(f, 28), 8);
    EXPECT_EQ(Le32(f, 30), 0u);
    ExpectDecodes(f, "index8_" + tag + ".bmp", kImageBmp, runs);

    // 8-bit run-length (compression 1), every row encoded with its padding to four bytes, so the
    // codes reach to 16 or 40 pixels: convert src.ppm -type Palette -compress RLE BMP3:x.bmp
    f = Write(runs, "-type Palette -compress RLE", "rle8_" + tag + ".bmp", "BMP3:");
    EXPECT_EQ(Le16(f, 28), 8);
    EXPECT_EQ(Le32(f, 30), 1u);
    EXPECT_EQ(FurthestRunEnd(f), (w + 3) / 4 * 4);
    ExpectDecodes(testimg::Seed("bmp_decoder_fuzz", "magick_rle8_" + tag + ".bmp", f), "rle8_" + tag + ".bmp",
                  kImageBmp, runs);
  }
}

TEST_F(ImageMagickTest, TargaOfEveryTypeFromEitherOrigin) {
  // ImageMagick stores a picture's rows in the order it holds them and sets the origin bit from
  // the picture's orientation: "-orient TopLeft" makes a top-down file, "-flip -orient BottomLeft"
  // a bottom-up one (with plain "convert src.ppm x.tga" it would mark top-down rows bottom-left).
  // It writes no 2.0 footer, which recognition needs, so the test appends one.
  const struct {
    const char* name;
    Content content;
    const char* options;
    int type;
    int bits;
  } kinds[] = {
      {"truecolour", Colours, "-type TrueColor", 2, 24},
      {"truecolour32", Colours, "-alpha set -channel A -evaluate set 60% +channel -type TrueColorAlpha", 2,
       32},
      {"grey", Greys, "-type Grayscale", 3, 8},
      {"mapped", Runs, "-type Palette", 1, 8},
  };
  for (const auto& size : kSizes) {
    for (const auto& kind : kinds) {
      const Picture source = Make(kind.content, size.width, size.height);
      for (const bool runLength : {false, true}) {
        for (const bool topDown : {false, true}) {
          const std::string name = std::string(kind.name) + (runLength ? "_rle" : "") +
                                   (topDown ? "_topdown_" : "_bottomup_") + std::to_string(size.width) +
                                   ".tga";
          const std::string options = std::string(kind.options) +
                                      (runLength ? " -compress RLE" : " -compress None") +
                                      (topDown ? " -orient TopLeft" : " -flip -orient BottomLeft");
          Bytes f = Write(source, options, name);
          SCOPED_TRACE(name + ": convert src.ppm " + options + " x.tga");
          ASSERT_GE(f.size(), 18u);
          EXPECT_EQ(f[2], kind.type + (runLength ? 8 : 0));
          EXPECT_EQ(f[16], kind.bits);
          EXPECT_EQ((f[17] & 0x20) != 0, topDown);
          if (kind.type == 1) {
            EXPECT_EQ(f[1], 1);   // a colour map
            EXPECT_EQ(f[7], 24);  // of 24-bit entries
          }
          if (kind.type == 2 && !runLength) {  // the first row stored is the top or the bottom one
            const std::size_t first = 18 + f[0];
            const std::uint32_t stored = Rgb(f.at(first + 2), f.at(first + 1), f.at(first));
            EXPECT_EQ(stored, source.At(0, topDown ? 0 : size.height - 1));
          }
          testimg::AppendTgaFooter(f);
          ExpectDecodes(runLength && !topDown && size.width == 13
                            ? testimg::Seed("tga_decoder_fuzz", "magick_" + name, f)
                            : f,
                        name, kImageTga, source);
        }
      }
    }
  }
}

TEST_F(ImageMagickTest, PcxPalettedAndThreePlane) {
  for (const auto& size : kSizes) {
    const std::string tag = std::to_string(size.width);
    // One 8-bit plane and the 256-colour palette at the end: convert src.ppm -type Palette x.pcx
    const Picture runs = Make(Runs, size.width, size.height);
    Bytes f = Write(runs, "-type Palette", "index_" + tag + ".pcx");
    EXPECT_EQ(f.at(1), 5);   // version 5
    EXPECT_EQ(f.at(2), 1);   // run-length encoded
    EXPECT_EQ(f.at(3), 8);   // bits per plane
    EXPECT_EQ(f.at(65), 1);  // planes
    EXPECT_EQ(f.at(f.size() - 769), 12);
    ExpectDecodes(f, "index_" + tag + ".pcx", kImagePcx, runs);

    // Three 8-bit planes (24 bits): convert src.ppm -type TrueColor x.pcx
    const Picture colours = Make(Colours, size.width, size.height);
    f = Write(colours, "-type TrueColor", "rgb_" + tag + ".pcx");
    EXPECT_EQ(f.at(3), 8);
    EXPECT_EQ(f.at(65), 3);
    ExpectDecodes(f, "rgb_" + tag + ".pcx", kImagePcx, colours);
  }
}

TEST_F(ImageMagickTest, PhotoshopRawAndPackBits) {
  // ImageMagick writes a layer section as well as the composite image the decoder reads:
  // convert src.ppm -compress None|RLE [-alpha set ...] x.psd
  // With alpha it stores the composite's colours as they are, yet reads a composite back as if
  // matted with white; its reading of the single layer, which holds the same pixels, is the
  // reference then.
  const struct {
    const char* name;
    const char* options;
    int compression;
    int channels;
    int frame;
  } kinds[] = {
      {"raw", "-compress None", 0, 3, 0},
      {"packbits", "-compress RLE", 1, 3, 0},
      {"packbits_alpha", "-alpha set -channel A -evaluate set 60% +channel -compress RLE", 1, 4, 1},
  };
  for (const auto& size : kSizes) {
    const Picture colours = Make(Colours, size.width, size.height);
    for (const auto& kind : kinds) {
      const std::string name = std::string(kind.name) + "_" + std::to_string(size.width) + ".psd";
      const Bytes f = Write(colours, kind.options, name);
      SCOPED_TRACE(name);
      EXPECT_EQ(Be16(f, 12), kind.channels);
      EXPECT_EQ(Be16(f, 22), 8);  // bits a channel
      EXPECT_EQ(Be16(f, 24), 3);  // RGB
      std::size_t p = 26;
      std::uint32_t length = 0;
      for (int section = 0; section < 3; ++section) {  // colour mode data, resources, layers
        length = Be32(f, p);
        p += 4 + length;
      }
      EXPECT_GT(length, 0u);  // a layer section
      EXPECT_EQ(Be16(f, p), kind.compression);
      ExpectDecodes(size.width == 13 ? testimg::Seed("psd_decoder_fuzz", "magick_" + name, f) : f, name,
                    kImagePsd, colours, 0, kind.frame);
    }
  }
}

// The frame header of a JPEG file: its marker (0xC0 baseline, 0xC2 progressive), components
// and the first component's sampling factors.
struct JpegFrame {
  int marker = 0;
  int components = 0;
  int sampling = 0;
};

JpegFrame FrameOf(const Bytes& f) {
  std::size_t p = 2;
  while (p + 12 < f.size() && f[p] == 0xFF) {
    const int marker = f[p + 1];
    if (marker >= 0xC0 && marker <= 0xC2) return JpegFrame{marker, f[p + 9], f[p + 11]};
    p += 2 + Be16(f, p + 2);
  }
  return JpegFrame{};
}

TEST_F(ImageMagickTest, JpegBaselineProgressiveAndGrey) {
  // libjpeg-turbo decodes for both sides and today they agree exactly; one step is allowed for
  // an ImageMagick that picks other decoding settings, a wrong pixel is not.
  constexpr int kTolerance = 1;
  const struct {
    const char* name;
    Content content;
    const char* options;
    int marker;
    int components;
    int sampling;
  } kinds[] = {
      {"baseline", Colours, "-quality 90 -sampling-factor 1x1", 0xC0, 3, 0x11},
      {"baseline420", Colours, "-quality 85 -sampling-factor 2x2", 0xC0, 3, 0x22},
      {"progressive", Colours, "-quality 90 -sampling-factor 2x2 -interlace Plane", 0xC2, 3, 0x22},
      {"grey", Greys, "-quality 90 -type Grayscale", 0xC0, 1, 0x11},
  };
  for (const auto& size : kSizes) {
    for (const auto& kind : kinds) {
      const Picture source = Make(kind.content, size.width, size.height);
      const std::string name = std::string(kind.name) + "_" + std::to_string(size.width) + ".jpg";
      const Bytes f = Write(source, kind.options, name);
      SCOPED_TRACE(name + ": convert src.ppm " + kind.options + " x.jpg");
      ASSERT_GE(f.size(), 10u);
      EXPECT_EQ(std::string(f.begin() + 6, f.begin() + 10), "JFIF");
      const JpegFrame frame = FrameOf(f);
      EXPECT_EQ(frame.marker, kind.marker);
      EXPECT_EQ(frame.components, kind.components);
      EXPECT_EQ(frame.sampling, kind.sampling);
      ExpectDecodes(size.width == 37 ? testimg::Seed("jpeg_decoder_fuzz", "magick_" + name, f) : f, name,
                    kImageJpeg, source, kTolerance);
    }
  }
}

}  // namespace
}  // namespace spellcrypt
