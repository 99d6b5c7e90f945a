// Every sound file of the game with its recipe and level, and the mastering chain.
#include "tools/sfx/catalogue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "tools/sfx/mastering.h"
#include "tools/sfx/recipes.h"
#include "tools/sfx/sound_file.h"

namespace spellcrypt::sfx {

namespace {

// Targets, loudest first: what the player must notice (the fight, the jingles) stands out; what
// happens at every keystroke (tiles, buttons) sits well below, and music leaves room for both.
constexpr double kFight = -18.0, kJingle = -19.0, kFeedback = -21.0, kInterface = -24.0, kHover = -27.0;
constexpr double kMusic = -20.0, kCalmMusic = -22.0, kWarning = -24.0;

}  // namespace

const std::vector<Recipe>& Recipes() {
  // The longest pieces first, so parallel generation finishes early.
  static const std::vector<Recipe> recipes = {
      {"sound/title_music.ogg", MakeTitleMusic, true, true, kMusic, 0.0},
      {"sound/dragon_music.ogg", MakeBossMusic, true, true, kMusic + 1.0, 0.0},
      {"sound/map.ogg", MakeMapMusic, true, true, kCalmMusic, 0.0},
      {"sound/ending.ogg", MakeEnding, false, true, kMusic + 1.0, 0.0},
      {"sound/clock.ogg", MakeClock, true, true, kCalmMusic, 0.0},
      {"sound/complete.ogg", MakeComplete, false, false, kJingle, 4.5},
      {"sound/die.ogg", MakeDie, false, false, kJingle, 3.5},
      {"sound/enter.ogg", MakeEnter, false, false, kJingle, 2.6},
      {"sound/encounter2.ogg", MakeEncounter, false, false, kFight, 2.6},
      {"sound/success.ogg", MakeSuccess, false, false, kJingle, 2.2},
      {"sound/oracle.ogg", MakeOracle, false, false, kJingle - 1.0, 2.2},
      {"sound/echo.ogg", MakeEcho, false, false, kFeedback, 2.0},
      {"sound/teleport.ogg", MakeTeleport, false, false, kJingle, 2.0},
      {"sound/skeleton_die.ogg", MakeMonsterDeath, false, false, kFight - 1.0, 1.6},
      {"sound/page_turn.ogg", MakePageTurn, false, false, kFeedback - 1.0, 0.7},
      {"sound/tip_start.ogg", MakeTipStart, false, false, kFeedback - 1.0, 1.2},
      {"sound/tip_end.ogg", MakeTipEnd, false, false, kFeedback - 1.0, 1.0},
      {"sound/spell1.wav", MakeSpell, false, false, kFight, 0.8},
      {"sound/plink.wav", MakePlink, false, false, kFeedback + 1.0, 0.0},
      {"sound/skeleton_attack.wav", MakeMonsterAttack, false, false, kFight - 1.0, 0.0},
      {"sound/skeleton_pain.wav", MakeMonsterPain, false, false, kFight - 2.0, 0.0},
      {"sound/health.wav", MakeHealth, false, false, kFeedback + 1.0, 1.2},
      {"sound/lowhealth.wav", MakeLowHealth, true, false, kWarning, 0.0},
      {"sound/bad_word.wav", MakeBadWord, false, false, kFeedback, 0.0},
      {"sound/blip.wav", MakeBlip, false, false, kFeedback, 0.0},
      {"sound/click.wav", MakeClick, false, false, kInterface, 0.0},
      {"sound/highlight.wav", MakeHighlight, false, false, kHover, 0.0},
      {"sound/tile_move.wav", MakeTileMove, false, false, kInterface - 1.0, 0.0},
      {"sound/tile_move_back.wav", MakeTileMoveBack, false, false, kInterface - 1.0, 0.0},
  };
  return recipes;
}

const Recipe* FindRecipe(const std::string& file) {
  for (const auto& recipe : Recipes()) {
    if (file == recipe.file) return &recipe;
  }
  return nullptr;
}

bool IsOgg(const std::string& file) {
  if (file.size() < 4) return false;
  std::string ext = file.substr(file.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".ogg";
}

double MeasureLoudness(const Stereo& audio, bool music) {
  return music ? IntegratedLoudness(audio) : ShortTermLoudness(audio);
}

bool WriteSoundFile(const std::string& path, Stereo audio, std::string& error) {
  if (!IsOgg(path)) return WriteWav(path, audio, error);
  constexpr double kQuality = 0.4;  // about 110-130 kbit/s for stereo music
  std::string title = path.substr(path.find_last_of('/') + 1);
  title = title.substr(0, title.find('.'));
  const std::vector<std::string> comments = {"TITLE=" + title, "ARTIST=Spellcrypt",
                                             "COMMENT=Synthesised by the Spellcrypt sound generator"};
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (!WriteOgg(path, audio, kQuality, comments, error)) return false;
    DecodedSound decoded;
    if (!ReadOgg(path, decoded, error)) return false;
    const double peak = PeakDb(decoded.audio);
    if (peak <= kCeilingDb - 0.05) return true;
    ApplyGain(audio, -(peak - (kCeilingDb - 0.2)));
  }
  error = path + ": the peak stays above the ceiling after re-encoding";
  return false;
}

Stereo MakeSound(const Recipe& recipe) {
  Rng rng(HashName(recipe.file));
  Stereo audio = recipe.make(rng);
  // A filter pushed past its range would fill the file with noise or silence: refuse to write it.
  for (int c = 0; c < audio.Channels(); ++c) {
    if (!std::all_of(audio.Channel(c).begin(), audio.Channel(c).end(),
                     [](float v) { return std::isfinite(v); })) {
      throw std::runtime_error(std::string(recipe.file) + " produced a sample that is not a number");
    }
  }
  const bool ogg = IsOgg(recipe.file);
  if (!recipe.loop) {
    TrimSilence(audio, -60.0);
    if (recipe.maxSeconds > 0.0 && audio.Frames() > Frames(recipe.maxSeconds)) {
      for (int c = 0; c < audio.Channels(); ++c) audio.Channel(c).resize(Frames(recipe.maxSeconds));
      Fade(audio, 0.0, recipe.maxSeconds * 0.25);
    }
  }
  HighPass(audio, 28.0, recipe.loop);
  ApplyGain(audio, recipe.loudness - MeasureLoudness(audio, recipe.music));
  // A few decibels of limiting are fine for a hit; beyond that the sound is turned down instead,
  // so a short sharp sound never gets squashed to reach a loudness it cannot have.
  const double ceiling = ogg ? kOggCeilingDb : kWavCeilingDb;
  const double over = PeakDb(audio) - ceiling;
  if (over > 4.0) ApplyGain(audio, -(over - 4.0));
  Limit(audio, ceiling, recipe.loop);
  // One-shots start and end in silence, so they never click when started or cut off.
  if (!recipe.loop) Fade(audio, 0.001, 0.01);
  return audio;
}

}  // namespace spellcrypt::sfx
