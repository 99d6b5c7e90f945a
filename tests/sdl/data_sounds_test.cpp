// The generated sound files: every file of the sound manifest is in the runtime folder, decodes,
// lasts as long as the manifest says, stays under the peak ceiling, sits in the common loudness
// range, starts and ends cleanly or (for loops) joins itself without a click, and loads through
// the mixer the game plays it with. The game's code names no sound the manifest lacks.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tools/sfx/mastering.h"
#include "tools/sfx/sound_file.h"

namespace spellcrypt::sfx {
namespace {

struct SoundEntry {
  std::string name, format, size, frames, key, where, by;
  bool Loops() const { return where.rfind("loops", 0) == 0; }
  bool IsMusic() const { return where.find("music") != std::string::npos; }
  std::string Path() const { return std::string(SPELLCRYPT_BIN_DIR) + "/" + name; }
};

std::vector<SoundEntry> ReadManifest() {
  std::ifstream in(std::string(SPELLCRYPT_SOURCE_DIR) + "/tools/manifest/sounds.tsv");
  std::vector<SoundEntry> entries;
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "name\tformat\tsize\tframes\tkey\twhere\tby");
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::vector<std::string> cells;
    std::stringstream cellStream(line);
    for (std::string cell; std::getline(cellStream, cell, '\t');) cells.push_back(cell);
    EXPECT_EQ(cells.size(), 7u) << line;
    if (cells.size() != 7) continue;
    entries.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]});
  }
  return entries;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The manifest is read for every test; the files are decoded only by the tests that look inside
// them, once per test program.
class DataSoundsTest : public ::testing::Test {
 protected:
  void SetUp() override { manifest_ = ReadManifest(); }
  static void TearDownTestSuite() {
    decoded_.clear();
    errors_.clear();
  }
  void Decode() {
    if (!decoded_.empty()) return;
    for (const auto& entry : manifest_) {
      DecodedSound sound;
      std::string error;
      if (!ReadSound(entry.Path(), sound, error)) sound = DecodedSound{};
      decoded_.push_back(std::move(sound));
      errors_.push_back(error);
    }
  }
  std::vector<SoundEntry> manifest_;
  static std::vector<DecodedSound> decoded_;
  static std::vector<std::string> errors_;
};

std::vector<DecodedSound> DataSoundsTest::decoded_;
std::vector<std::string> DataSoundsTest::errors_;

TEST_F(DataSoundsTest, EveryFileDecodesInTheFormatAndLengthTheManifestStates) {
  Decode();
  ASSERT_FALSE(manifest_.empty());
  std::set<std::string> names;
  for (std::size_t i = 0; i < manifest_.size(); ++i) {
    const SoundEntry& e = manifest_[i];
    const DecodedSound& d = decoded_[i];
    SCOPED_TRACE(e.name);
    EXPECT_TRUE(names.insert(e.name).second) << "listed twice";
    EXPECT_EQ(e.name, Lower(e.name)) << "file names are lower case";
    ASSERT_TRUE(errors_[i].empty()) << errors_[i];
    EXPECT_EQ(d.rate, 44100);
    const std::string ext = e.name.substr(e.name.size() - 3);
    EXPECT_EQ(e.format.substr(0, 3), ext);
    EXPECT_NE(e.format.find(d.channels == 2 ? "stereo" : "mono"), std::string::npos) << e.format;
    if (ext == "wav") {
      EXPECT_EQ(d.bitsPerSample, 16);
    }
    EXPECT_EQ(e.frames, "-");
    EXPECT_EQ(e.key, "-");
    ASSERT_FALSE(e.size.empty());
    EXPECT_EQ(e.size.back(), 's');
    const double seconds = static_cast<double>(d.audio.Frames()) / d.rate;
    EXPECT_NEAR(seconds, std::stod(e.size), 0.05) << "manifest says " << e.size;
  }
}

TEST_F(DataSoundsTest, PeaksStayBelowMinusOneDecibel) {
  Decode();
  for (std::size_t i = 0; i < manifest_.size(); ++i) {
    if (!errors_[i].empty()) continue;  // reported by the decoding test
    EXPECT_LE(PeakDb(decoded_[i].audio), -1.0) << manifest_[i].name;
    EXPECT_GT(PeakDb(decoded_[i].audio), -30.0) << manifest_[i].name << " is nearly silent";
  }
}

TEST_F(DataSoundsTest, NoEffectIsJarringlyLouderThanTheOthers) {
  Decode();
  std::vector<std::pair<double, std::string>> effects;
  for (std::size_t i = 0; i < manifest_.size(); ++i) {
    if (!errors_[i].empty()) continue;
    const SoundEntry& e = manifest_[i];
    if (e.IsMusic()) {
      const double loudness = IntegratedLoudness(decoded_[i].audio);
      EXPECT_GE(loudness, -26.0) << e.name;
      EXPECT_LE(loudness, -16.0) << e.name;
    } else {
      effects.emplace_back(ShortTermLoudness(decoded_[i].audio), e.name);
    }
  }
  ASSERT_GE(effects.size(), 3u);
  std::sort(effects.begin(), effects.end());
  const double median = effects[effects.size() / 2].first;
  for (const auto& [loudness, name] : effects) {
    EXPECT_LE(loudness, median + 6.0) << name << " stands out above the other effects";
    EXPECT_GE(loudness, median - 12.0) << name << " is lost under the other effects";
  }
}

TEST_F(DataSoundsTest, OneShotsStartAndEndInSilenceAndLoopsJoinWithoutAClick) {
  Decode();
  int loops = 0;
  for (std::size_t i = 0; i < manifest_.size(); ++i) {
    if (!errors_[i].empty()) continue;
    const SoundEntry& e = manifest_[i];
    const Stereo& a = decoded_[i].audio;
    ASSERT_GT(a.Frames(), 100u) << e.name;
    if (e.Loops()) {
      ++loops;
      // The step from the last frame to the first is no larger than the steps around it.
      EXPECT_LE(SeamRatio(a), 1.0) << e.name;
      continue;
    }
    for (int c = 0; c < a.Channels(); ++c) {
      EXPECT_LT(std::fabs(a.Channel(c).front()), 0.01f) << e.name << " starts with a click";
      EXPECT_LT(std::fabs(a.Channel(c).back()), 0.01f) << e.name << " ends with a click";
    }
  }
  EXPECT_GE(loops, 5);  // title, map and boss music, the clock and the low-life warning
}

TEST_F(DataSoundsTest, MixerLoadsEverySound) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    const std::string why = std::string("no audio device, not even the dummy one: ") + Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SKIP_UNLESS_CI(why);
  }
  for (std::size_t i = 0; i < manifest_.size(); ++i) {
    const SoundEntry& e = manifest_[i];
    Mix_Chunk* chunk = Mix_LoadWAV(e.Path().c_str());
    EXPECT_NE(chunk, nullptr) << e.name << ": " << Mix_GetError();
    if (chunk == nullptr) continue;
    // 16-bit stereo at the mixer's rate: four bytes a frame, as long as the manifest says.
    EXPECT_NEAR(static_cast<double>(chunk->alen) / 4.0 / 44100.0, std::stod(e.size), 0.05) << e.name;
    Mix_FreeChunk(chunk);
    if (e.IsMusic()) {
      Mix_Music* music = Mix_LoadMUS(e.Path().c_str());
      EXPECT_NE(music, nullptr) << e.name << ": " << Mix_GetError();
      if (music != nullptr) Mix_FreeMusic(music);
    }
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Every "sound\..." or "sound/..." file named in the game's code must be one the generator makes
// (compared without regard to case, as the game resolves names).
TEST_F(DataSoundsTest, GameCodeNamesOnlySoundsTheManifestLists) {
  std::set<std::string> listed;
  for (const auto& e : manifest_) listed.insert(Lower(e.name.substr(e.name.find('/') + 1)));
  const std::string root = SPELLCRYPT_SOURCE_DIR;
  int named = 0;
  for (const std::string& folder : spellcrypt::testing::LayerFolders()) {
    const std::filesystem::path dir = std::filesystem::path(root) / folder;
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& item : std::filesystem::recursive_directory_iterator(dir)) {
      const std::string ext = item.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      std::ifstream in(item.path(), std::ios::binary);
      std::string text(static_cast<std::size_t>(std::filesystem::file_size(item.path())), '\0');
      in.read(text.data(), static_cast<std::streamsize>(text.size()));
      for (std::size_t pos = text.find("sound"); pos != std::string::npos;
           pos = text.find("sound", pos + 5)) {
        std::size_t p = pos + 5;
        if (p >= text.size() || (text[p] != '\\' && text[p] != '/')) continue;
        while (p < text.size() && (text[p] == '\\' || text[p] == '/')) ++p;
        std::size_t end = p;
        while (end < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_' || text[end] == '.'))
          ++end;
        const std::string file = Lower(text.substr(p, end - p));
        if (file.size() < 5 ||
            (file.substr(file.size() - 4) != ".wav" && file.substr(file.size() - 4) != ".ogg")) {
          continue;
        }
        EXPECT_TRUE(listed.count(file))
            << item.path().string() << " plays " << file << ", which the sound manifest does not list";
        ++named;
      }
    }
  }
  // The title music, the clicks, the tips and more: a scan that finds nothing has looked nowhere.
  EXPECT_GE(named, 8);
}

}  // namespace
}  // namespace spellcrypt::sfx
