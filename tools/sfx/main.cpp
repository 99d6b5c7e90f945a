// The sound generator: synthesises every sound file named in the sound manifest into the runtime
// folder and prints a table of their levels.
//
//   spellcrypt_sfx --manifest tools/manifest/sounds.tsv --out build/default/bin [--only sound/x.wav]...
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tools/sfx/catalogue.h"
#include "tools/sfx/mastering.h"
#include "tools/sfx/sound_file.h"

namespace sfx = spellcrypt::sfx;

namespace {

constexpr const char* kManifestHeader = "name\tformat\tsize\tframes\tkey\twhere\tby";

struct Result {
  std::string file;
  bool ok = false;
  std::string error;
  double seconds = 0.0, peakDb = 0.0, rmsDb = 0.0, loudness = 0.0, seam = 0.0, renderMs = 0.0;
  int channels = 0;
  std::uintmax_t bytes = 0;
};

// The file names of the manifest, and the length each line states (its "size" column, "2.50s").
bool ReadManifest(const std::string& path, std::vector<std::string>& names,
                  std::map<std::string, double>& seconds, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::string line;
  if (!std::getline(in, line) || line != kManifestHeader) {
    error = path + ": the first line must be the column header";
    return false;
  }
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    names.push_back(line.substr(0, line.find('\t')));
    std::istringstream cells(line);
    std::string cell;
    for (int column = 0; column < 3 && std::getline(cells, cell, '\t'); ++column) {
      if (column == 2) seconds[names.back()] = std::atof(cell.c_str());
    }
  }
  return true;
}

Result Generate(const sfx::Recipe& recipe, const std::string& outDir) {
  Result r;
  r.file = recipe.file;
  const auto start = std::chrono::steady_clock::now();
  const std::string path = (std::filesystem::path(outDir) / recipe.file).string();
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  // A malformed score in a recipe throws; it is reported as that sound's failure.
  try {
    if (!sfx::WriteSoundFile(path, sfx::MakeSound(recipe), r.error)) return r;
  } catch (const std::exception& e) {
    r.error = e.what();
    return r;
  }
  sfx::DecodedSound decoded;
  if (!sfx::ReadSound(path, decoded, r.error)) return r;
  r.renderMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  r.seconds = static_cast<double>(decoded.audio.Frames()) / decoded.rate;
  r.channels = decoded.channels;
  r.peakDb = sfx::PeakDb(decoded.audio);
  r.rmsDb = sfx::RmsDb(decoded.audio);
  r.loudness = sfx::MeasureLoudness(decoded.audio, recipe.music);
  r.seam = recipe.loop ? sfx::SeamRatio(decoded.audio) : 0.0;
  r.bytes = std::filesystem::file_size(path, ec);
  r.ok = true;
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  std::string manifest, outDir;
  std::set<std::string> only;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--manifest" && i + 1 < argc) {
      manifest = argv[++i];
    } else if (arg == "--out" && i + 1 < argc) {
      outDir = argv[++i];
    } else if (arg == "--only" && i + 1 < argc) {
      only.insert(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s --manifest sounds.tsv --out DIR [--only sound/NAME]...\n", argv[0]);
      return 2;
    }
  }
  if (manifest.empty() || outDir.empty()) {
    std::fprintf(stderr, "spellcrypt_sfx: --manifest and --out are required\n");
    return 2;
  }

  std::vector<std::string> names;
  std::map<std::string, double> stated;
  std::string error;
  if (!ReadManifest(manifest, names, stated, error)) {
    std::fprintf(stderr, "spellcrypt_sfx: %s\n", error.c_str());
    return 1;
  }
  // The manifest and the catalogue must agree both ways: every listed file is made, and every sound
  // the generator knows is listed.
  bool agree = true;
  for (const auto& name : names) {
    if (sfx::FindRecipe(name) == nullptr) {
      std::fprintf(stderr, "spellcrypt_sfx: no recipe for %s\n", name.c_str());
      agree = false;
    }
  }
  for (const auto& recipe : sfx::Recipes()) {
    if (std::find(names.begin(), names.end(), recipe.file) == names.end()) {
      std::fprintf(stderr, "spellcrypt_sfx: %s is missing from %s\n", recipe.file, manifest.c_str());
      agree = false;
    }
  }
  if (!agree) return 1;

  std::vector<const sfx::Recipe*> jobs;
  for (const auto& recipe : sfx::Recipes()) {
    if (only.empty() || only.count(recipe.file)) jobs.push_back(&recipe);
  }
  const auto start = std::chrono::steady_clock::now();
  std::vector<Result> results(jobs.size());
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) results[i] = Generate(*jobs[i], outDir);
  };
  const unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (auto& t : pool) t.join();
  const double totalSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::printf("%-28s %7s %2s %7s %7s %7s %6s %8s %7s\n", "file", "seconds", "ch", "peak", "rms", "loud",
              "seam", "bytes", "ms");
  std::uintmax_t totalBytes = 0;
  int failures = 0;
  for (const auto& r : results) {
    if (!r.ok) {
      std::fprintf(stderr, "spellcrypt_sfx: %s: %s\n", r.file.c_str(), r.error.c_str());
      ++failures;
      continue;
    }
    totalBytes += r.bytes;
    // The data tests hold the manifest to the files; say so here already, while the recipe is fresh.
    if (std::fabs(stated[r.file] - r.seconds) > 0.02) {
      std::fprintf(stderr, "spellcrypt_sfx: warning: %s lasts %.2fs, the manifest says %.2fs\n",
                   r.file.c_str(), r.seconds, stated[r.file]);
    }
    std::printf("%-28s %7.2f %2d %7.2f %7.2f %7.2f %6.2f %8ju %7.0f\n", r.file.c_str(), r.seconds, r.channels,
                r.peakDb, r.rmsDb, r.loudness, r.seam, r.bytes, r.renderMs);
  }
  std::printf("%zu sounds, %.1f KiB, %.2f s on %u threads\n",
              results.size() - static_cast<std::size_t>(failures), static_cast<double>(totalBytes) / 1024.0,
              totalSeconds, threads);
  return failures == 0 ? 0 : 1;
}
