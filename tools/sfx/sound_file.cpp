// WAV and Ogg Vorbis files.
#include "tools/sfx/sound_file.h"

#include <ogg/ogg.h>
#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "audio/wav_file.h"

namespace spellcrypt::sfx {

namespace {

// Writes through "<path>.part" and renames over the target.
bool WriteReplacing(const std::string& path, const std::function<bool(std::FILE*)>& body,
                    std::string& error) {
  const std::string temp = path + ".part";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot create " + temp;
    return false;
  }
  const bool written = body(file);
  const bool closed = std::fclose(file) == 0;
  std::error_code ec;
  if (!written || !closed) {
    std::filesystem::remove(temp, ec);
    if (error.empty()) error = "cannot write " + temp;
    return false;
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    error = "cannot rename " + temp + ": " + ec.message();
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace

bool WriteWav(const std::string& path, const Stereo& audio, std::string& error) {
  const int channels = audio.Channels();
  std::vector<float> interleaved;
  interleaved.reserve(audio.Frames() * static_cast<std::size_t>(channels));
  for (std::size_t i = 0; i < audio.Frames(); ++i) {
    for (int c = 0; c < channels; ++c) interleaved.push_back(audio.Channel(c)[i]);
  }
  const std::vector<std::uint8_t> bytes = EncodeWav(interleaved, channels, kRate);
  if (bytes.empty()) {
    error = path + ": too long for a WAV file";
    return false;
  }
  return WriteReplacing(
      path, [&](std::FILE* f) { return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(); },
      error);
}

bool ReadWav(const std::string& path, DecodedSound& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  WavSound wav;
  if (!DecodeWav(bytes, wav, error)) {
    error = path + ": " + error;
    return false;
  }
  const std::size_t frames = wav.Frames();
  out = DecodedSound{Stereo(frames, wav.channels == 2), wav.rate, wav.channels, wav.bitsPerSample};
  for (std::size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < wav.channels; ++c)
      out.audio.Channel(c)[i] =
          wav.samples[i * static_cast<std::size_t>(wav.channels) + static_cast<std::size_t>(c)];
  }
  return true;
}

bool WriteOgg(const std::string& path, const Stereo& audio, double quality,
              const std::vector<std::string>& comments, std::string& error) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, audio.Channels(), kRate, static_cast<float>(quality)) != 0) {
    vorbis_info_clear(&info);
    error = "the Vorbis encoder refused its settings";
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  for (const auto& c : comments) vorbis_comment_add(&comment, c.c_str());
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  // A fixed serial number keeps the files identical from one build to the next.
  ogg_stream_init(&stream,
                  static_cast<int>(HashName(std::filesystem::path(path).filename().c_str()) & 0x7FFFFFFF));

  const bool ok = WriteReplacing(
      path,
      [&](std::FILE* f) {
        bool good = true;
        ogg_page page;
        auto writePage = [&] {
          good = good && std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), f) ==
                             static_cast<std::size_t>(page.header_len);
          good = good && std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), f) ==
                             static_cast<std::size_t>(page.body_len);
        };
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        while (ogg_stream_flush(&stream, &page) != 0) writePage();

        auto drain = [&] {
          ogg_packet packet;
          while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
              ogg_stream_packetin(&stream, &packet);
              while (ogg_stream_pageout(&stream, &page) != 0) writePage();
            }
          }
        };
        constexpr std::size_t kChunk = 4096;
        for (std::size_t pos = 0; pos < audio.Frames(); pos += kChunk) {
          const std::size_t n = std::min(kChunk, audio.Frames() - pos);
          float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
          for (int c = 0; c < audio.Channels(); ++c)
            std::copy_n(audio.Channel(c).begin() + static_cast<long>(pos), n, buffer[c]);
          vorbis_analysis_wrote(&dsp, static_cast<int>(n));
          drain();
        }
        vorbis_analysis_wrote(&dsp, 0);
        drain();
        while (ogg_stream_flush(&stream, &page) != 0) writePage();
        return good;
      },
      error);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return ok;
}

bool ReadOgg(const std::string& path, DecodedSound& out, std::string& error) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) {
    error = path + " is not an Ogg Vorbis file";
    return false;
  }
  const vorbis_info* info = ov_info(&file, -1);
  const int channels = info ? info->channels : 0;
  if (channels < 1 || channels > 2) {
    ov_clear(&file);
    error = path + ": unsupported channel count";
    return false;
  }
  out = DecodedSound{Stereo(0, channels == 2), static_cast<int>(info->rate), channels, 0};
  const ogg_int64_t total = ov_pcm_total(&file, -1);
  if (total > 0) {
    out.audio.l.reserve(static_cast<std::size_t>(total));
    out.audio.r.reserve(channels == 2 ? static_cast<std::size_t>(total) : 0);
  }
  int section = 0;
  for (;;) {
    float** pcm = nullptr;
    const long n = ov_read_float(&file, &pcm, 4096, &section);
    if (n == 0) break;
    if (n < 0) {
      ov_clear(&file);
      error = path + ": damaged Vorbis data";
      return false;
    }
    out.audio.l.insert(out.audio.l.end(), pcm[0], pcm[0] + n);
    if (channels == 2) out.audio.r.insert(out.audio.r.end(), pcm[1], pcm[1] + n);
  }
  ov_clear(&file);
  return true;
}

bool ReadSound(const std::string& path, DecodedSound& out, std::string& error) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".wav") return ReadWav(path, out, error);
  if (ext == ".ogg") return ReadOgg(path, out, error);
  error = path + ": unknown sound format";
  return false;
}

}  // namespace spellcrypt::sfx
