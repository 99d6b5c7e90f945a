// The audio tests' folder and app, Ogg tones through libvorbisenc, the disk driver's output.
#include "tests/sdl/audio_test_files.h"

#include <unistd.h>

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "app/app.h"
#include "app/globals.h"
#include "audio/mixer_sound_manager.h"
#include "base/binary_io.h"

namespace spellcrypt::testing {

void AudioTest::SetUp() {
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  dir = std::filesystem::temp_directory_path() / ("spellcrypt_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "sound");
  oldDir_ = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  platform.SetProgramDir(dir.string());
}

void AudioTest::TearDown() {
  if (appStarted_) {
    DestroyApp();
    DestroyGlobals();
  }
  std::filesystem::current_path(oldDir_);
  std::filesystem::remove_all(dir);
}

void AudioTest::StartApp() {
  CreateGlobals(platform);
  CreateApp(std::make_unique<CMixerSoundManager>(platform));
  appStarted_ = true;
}

int AudioTest::Lines(const std::string& text) const {
  return static_cast<int>(
      std::count_if(platform.debugLines.begin(), platform.debugLines.end(),
                    [&](const std::string& line) { return line.find(text) != std::string::npos; }));
}

int AudioTest::Errors(const std::string& text) const {
  return static_cast<int>(
      std::count_if(platform.debugLines.begin(), platform.debugLines.end(), [&](const std::string& line) {
        return line.starts_with("ERROR - ") && line.find(text) != std::string::npos;
      }));
}

void AudioTest::Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void WriteOggTone(const std::filesystem::path& path, int frames, double hz, double amplitude) {
  std::ofstream out(path, std::ios::binary);
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, 1, 44100, 0.5f);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);
  ogg_page page;
  ogg_packet packets[3];
  vorbis_analysis_headerout(&dsp, &comment, &packets[0], &packets[1], &packets[2]);
  for (ogg_packet& header : packets) ogg_stream_packetin(&stream, &header);
  auto writePages = [&](int (*next)(ogg_stream_state*, ogg_page*)) {
    while (next(&stream, &page) != 0) {
      out.write(reinterpret_cast<const char*>(page.header), page.header_len);
      out.write(reinterpret_cast<const char*>(page.body), page.body_len);
    }
  };
  writePages(ogg_stream_flush);
  for (int done = 0, n = 0; done < frames || n > 0; done += n) {
    n = std::min(1024, frames - done);  // a last round of 0 ends the stream
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, n);
      for (int i = 0; i < n; ++i) buffer[0][i] = ToneAt(done + i, hz, amplitude);
    }
    vorbis_analysis_wrote(&dsp, n);
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packets[0]) != 0) {
        ogg_stream_packetin(&stream, &packets[0]);
        writePages(ogg_stream_pageout);
      }
    }
  }
  writePages(ogg_stream_flush);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
}

DiskAudio::DiskAudio(const std::filesystem::path& file) : file_(file) {
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  oldDriver_ = driver != nullptr ? driver : "";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
}

DiskAudio::~DiskAudio() {
  setenv("SDL_AUDIODRIVER", oldDriver_.c_str(), 1);
  unsetenv("SDL_DISKAUDIOFILE");
}

std::size_t DiskAudio::Frames() const {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(file_, error);
  return error ? 0 : static_cast<std::size_t>(bytes / 4);
}

bool DiskAudio::Play(std::size_t frames) const {
  const std::size_t until = Frames() + frames;
  for (int waited = 0; Frames() < until; waited += 5) {
    if (waited > 20000) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::vector<std::int16_t> DiskAudio::Samples() const {
  std::ifstream in(file_, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  ByteReader reader(bytes);
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::int16_t& s : samples) reader.I16(s);
  return samples;
}

}  // namespace spellcrypt::testing
