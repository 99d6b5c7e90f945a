// Levels, limiting, fades and the loop seam check.
#include "tools/sfx/mastering.h"

#include <algorithm>
#include <deque>

#include "tools/sfx/reverb.h"

namespace spellcrypt::sfx {

namespace {

// Power of the K-weighted signal per frame, channels summed; a mono sound counts twice because the
// mixer plays it on both speakers.
std::vector<double> WeightedPower(const Stereo& s) {
  std::vector<double> power(s.Frames(), 0.0);
  for (int c = 0; c < s.Channels(); ++c) {
    Biquad shelf = Biquad::HighShelf(1681.97, 0.7072, 4.0);
    Biquad high = Biquad::HighPass(38.135, 0.5003);
    const Mono& x = s.Channel(c);
    const double weight = s.IsStereo() ? 1.0 : 2.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
      const double v = high.Process(shelf.Process(x[i]));
      power[i] += weight * v * v;
    }
  }
  return power;
}

double PowerToLufs(double power) { return power > 1e-20 ? -0.691 + 10.0 * std::log10(power) : -200.0; }

// Mean power of each window of `window` frames, stepping by `hop` (windows past the end are padded
// with silence, so a short blip is measured against the whole window).
std::vector<double> WindowPowers(const std::vector<double>& power, std::size_t window, std::size_t hop) {
  std::vector<double> prefix(power.size() + 1, 0.0);
  for (std::size_t i = 0; i < power.size(); ++i) prefix[i + 1] = prefix[i] + power[i];
  std::vector<double> out;
  for (std::size_t start = 0; start == 0 || start + window <= power.size(); start += hop) {
    const std::size_t end = std::min(power.size(), start + window);
    out.push_back((prefix[end] - prefix[start]) / static_cast<double>(window));
    if (end == power.size()) break;
  }
  return out;
}

void LimitOnce(Stereo& s, double ceilingDb) {
  const std::size_t n = s.Frames();
  const std::size_t look = std::max<std::size_t>(1, Frames(0.005));
  const double ceiling = DbToGain(ceilingDb);
  std::vector<double> required(n);
  for (std::size_t i = 0; i < n; ++i) {
    double peak = std::fabs(s.l[i]);
    if (s.IsStereo()) peak = std::max(peak, static_cast<double>(std::fabs(s.r[i])));
    required[i] = peak > ceiling ? ceiling / peak : 1.0;
  }
  // Hold: the smallest gain needed anywhere in the next `look` frames (sliding minimum).
  std::vector<double> held(n);
  std::deque<std::size_t> window;
  for (std::size_t j = 0; j < n + look; ++j) {
    if (j < n) {
      while (!window.empty() && required[window.back()] >= required[j]) window.pop_back();
      window.push_back(j);
    }
    if (j >= look) {
      const std::size_t i = j - look;
      while (window.front() < i) window.pop_front();
      held[i] = required[window.front()];
    }
  }
  // Release slowly back to unity, then smooth the attack over the look-ahead: the average of gains
  // that are all at or below a peak's need can never let that peak through.
  const double release = 1.0 - std::exp(-1.0 / (0.08 * kRate));
  double g = 1.0, sum = 0.0;
  std::vector<double> gains(n);
  for (std::size_t i = 0; i < n; ++i) {
    g = std::min(held[i], g + (1.0 - g) * release);
    if (g > 1.0 - 1e-7) g = 1.0;  // fully recovered: leave the signal bit for bit
    gains[i] = g;
    sum += g;
    if (i >= look) sum -= gains[i - look];
    const double smooth =
        i >= look ? sum / static_cast<double>(look) : std::min(g, sum / static_cast<double>(i + 1));
    const double applied = std::min(smooth, 1.0);
    for (int c = 0; c < s.Channels(); ++c) s.Channel(c)[i] = static_cast<float>(s.Channel(c)[i] * applied);
  }
}

}  // namespace

double PeakDb(const Stereo& s) {
  float peak = 0.0f;
  for (int c = 0; c < s.Channels(); ++c) {
    for (float v : s.Channel(c)) peak = std::max(peak, std::fabs(v));
  }
  return GainToDb(peak);
}

double RmsDb(const Stereo& s) {
  double sum = 0.0;
  std::size_t count = 0;
  for (int c = 0; c < s.Channels(); ++c) {
    for (float v : s.Channel(c)) sum += static_cast<double>(v) * v;
    count += s.Channel(c).size();
  }
  return count ? GainToDb(std::sqrt(sum / static_cast<double>(count))) : -240.0;
}

double ShortTermLoudness(const Stereo& s, double window) {
  const auto windows = WindowPowers(WeightedPower(s), std::max<std::size_t>(1, Frames(window)), Frames(0.01));
  return PowerToLufs(windows.empty() ? 0.0 : *std::max_element(windows.begin(), windows.end()));
}

double IntegratedLoudness(const Stereo& s) {
  const auto blocks = WindowPowers(WeightedPower(s), Frames(0.4), Frames(0.1));
  auto gatedMean = [&](double floorLufs) {
    double sum = 0.0;
    int count = 0;
    for (double p : blocks) {
      if (PowerToLufs(p) > floorLufs) {
        sum += p;
        ++count;
      }
    }
    return count ? sum / count : 0.0;
  };
  const double ungated = gatedMean(-70.0);
  return PowerToLufs(gatedMean(std::max(-70.0, PowerToLufs(ungated) - 10.0)));
}

void ApplyGain(Stereo& s, double db) {
  const auto g = static_cast<float>(DbToGain(db));
  for (int c = 0; c < s.Channels(); ++c) {
    for (float& v : s.Channel(c)) v *= g;
  }
}

void HighPass(Stereo& s, double hz, bool loop) {
  const int passes = loop ? CyclicPasses(s.Frames(), 0.5) : 1;
  for (int c = 0; c < s.Channels(); ++c) {
    Mono& x = s.Channel(c);
    Biquad filter = Biquad::HighPass(hz, 0.7071);
    for (int pass = 0; pass < passes; ++pass) {
      const bool keep = pass == passes - 1;
      for (float& v : x) {
        const float y = filter.Process(v);
        if (keep) v = y;
      }
    }
  }
}

void Limit(Stereo& s, double ceilingDb, bool loop) {
  if (!loop) {
    LimitOnce(s, ceilingDb);
    return;
  }
  // A loop is limited as three turns in a row and the middle one kept, so the gain at its end
  // already knows the peaks at its start.
  const std::size_t n = s.Frames();
  Stereo three(n * 3, s.IsStereo());
  for (int c = 0; c < s.Channels(); ++c) {
    for (int k = 0; k < 3; ++k)
      std::copy(s.Channel(c).begin(), s.Channel(c).end(), three.Channel(c).begin() + k * n);
  }
  LimitOnce(three, ceilingDb);
  for (int c = 0; c < s.Channels(); ++c) {
    std::copy(three.Channel(c).begin() + n, three.Channel(c).begin() + 2 * n, s.Channel(c).begin());
  }
}

void Fade(Stereo& s, double in, double out) {
  const std::size_t n = s.Frames();
  const std::size_t inN = std::min(n, Frames(in)), outN = std::min(n, Frames(out));
  for (int c = 0; c < s.Channels(); ++c) {
    Mono& x = s.Channel(c);
    for (std::size_t i = 0; i < inN; ++i) x[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / inN));
    for (std::size_t i = 0; i < outN; ++i)
      x[n - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / outN));
  }
}

void TrimSilence(Stereo& s, double floorDb) {
  const double floor = DbToGain(PeakDb(s) + floorDb);
  std::size_t last = 0;
  for (int c = 0; c < s.Channels(); ++c) {
    const Mono& x = s.Channel(c);
    for (std::size_t i = x.size(); i-- > last;) {
      if (std::fabs(x[i]) > floor) {
        last = i;
        break;
      }
    }
  }
  const std::size_t keep = std::min(s.Frames(), last + Frames(0.01));
  for (int c = 0; c < s.Channels(); ++c) s.Channel(c).resize(keep);
  Fade(s, 0.0, 0.01);
}

double SeamRatio(const Stereo& s, double window) {
  const std::size_t n = s.Frames(), w = std::max<std::size_t>(2, Frames(window));
  if (n < 2 * w + 2) return 0.0;
  double worst = 0.0;
  for (int c = 0; c < s.Channels(); ++c) {
    const Mono& x = s.Channel(c);
    const double seam = std::fabs(x[0] - x[n - 1]);
    double local = 0.0;
    for (std::size_t i = n - w; i + 1 < n; ++i)
      local = std::max(local, static_cast<double>(std::fabs(x[i + 1] - x[i])));
    for (std::size_t i = 0; i + 1 < w; ++i)
      local = std::max(local, static_cast<double>(std::fabs(x[i + 1] - x[i])));
    // Below -80 dB nothing can be heard, whatever the ratio.
    if (seam < 1e-4) continue;
    worst = std::max(worst, seam / std::max(local, 1e-9));
  }
  return worst;
}

void MixAt(Stereo& a, const Stereo& b, double offset, float gain) {
  const std::size_t start = Frames(offset);
  const std::size_t need = start + b.Frames();
  if (a.Frames() < need) {
    a.l.resize(need, 0.0f);
    if (a.IsStereo()) a.r.resize(need, 0.0f);
  }
  for (int c = 0; c < a.Channels(); ++c) {
    const Mono& src = b.Channel(c);
    Mono& dst = a.Channel(c);
    for (std::size_t i = 0; i < src.size(); ++i) dst[start + i] += gain * src[i];
  }
}

}  // namespace spellcrypt::sfx
