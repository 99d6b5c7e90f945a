// Feedback-delay-network reverb and ping-pong echo.
#include "tools/sfx/reverb.h"

#include <algorithm>
#include <array>

namespace spellcrypt::sfx {

namespace {

class DelayLine {
 public:
  explicit DelayLine(std::size_t length) : buf_(std::max<std::size_t>(1, length), 0.0f) {}
  float Read() const { return buf_[pos_]; }  // the value written `length` frames ago
  void Write(float v) {
    buf_[pos_] = v;
    if (++pos_ == buf_.size()) pos_ = 0;
  }
  std::size_t Length() const { return buf_.size(); }

 private:
  std::vector<float> buf_;
  std::size_t pos_ = 0;
};

class Allpass {
 public:
  Allpass(std::size_t length, float gain) : line_(length), gain_(gain) {}
  float Process(float x) {
    const float d = line_.Read();
    const float v = x + gain_ * d;
    line_.Write(v);
    return d - gain_ * v;
  }

 private:
  DelayLine line_;
  float gain_;
};

constexpr int kLines = 8;
// Mutually prime lengths (frames at size 1) spread over 30..67 ms so the echoes never line up.
constexpr std::array<std::size_t, kLines> kLineLengths = {1321, 1637, 1811, 1931, 2087, 2341, 2647, 2969};
constexpr std::array<std::size_t, 4> kDiffuserLengths = {211, 157, 563, 409};

class Fdn {
 public:
  explicit Fdn(const ReverbParams& p) : predelay_(Frames(p.predelay) + 1) {
    for (int i = 0; i < kLines; ++i) {
      const auto length = static_cast<std::size_t>(static_cast<double>(kLineLengths[i]) * p.size);
      lines_.emplace_back(length);
      gains_[i] = static_cast<float>(std::pow(10.0, -3.0 * static_cast<double>(length) / (p.t60 * kRate)));
      damp_[i] = OnePole(p.dampHz);
    }
    for (std::size_t length : kDiffuserLengths) {
      diffusers_.emplace_back(static_cast<std::size_t>(static_cast<double>(length) * p.size), 0.6f);
    }
  }

  void Process(float inL, float inR, float& outL, float& outR) {
    float x = predelay_.Read();
    predelay_.Write(0.5f * (inL + inR));
    for (auto& d : diffusers_) x = d.Process(x);
    std::array<float, kLines> taps{};
    float sum = 0.0f;
    for (int i = 0; i < kLines; ++i) {
      taps[i] = lines_[i].Read();
      feedback_[i] = damp_[i].Low(taps[i]) * gains_[i];
      sum += feedback_[i];
    }
    // Householder mixing: every line feeds every other, energy preserved.
    const float mix = sum * (2.0f / kLines);
    for (int i = 0; i < kLines; ++i) {
      const float sign = (i & 1) ? -1.0f : 1.0f;
      lines_[i].Write(feedback_[i] - mix + sign * x * 0.35f);
    }
    outL = 0.5f * (taps[0] - taps[2] + taps[4] - taps[6] + 0.3f * (taps[1] - taps[5]));
    outR = 0.5f * (taps[1] - taps[3] + taps[5] - taps[7] + 0.3f * (taps[2] - taps[6]));
  }

 private:
  DelayLine predelay_;
  std::vector<DelayLine> lines_;
  std::vector<Allpass> diffusers_;
  std::array<float, kLines> gains_{};
  std::array<float, kLines> feedback_{};
  std::array<OnePole, kLines> damp_{};
};

// Feeds `process` every frame of `in` (mono or stereo): once with a tail of silence, or, for a loop,
// over as many turns as the effect's memory needs, keeping only the last turn.
template <class Process>
Stereo RunEffect(const Stereo& in, std::size_t tailFrames, double memorySeconds, bool cyclic,
                 Process&& process) {
  const std::size_t n = in.Frames();
  const Mono& inR = in.IsStereo() ? in.r : in.l;
  if (!cyclic) {
    Stereo out(n + tailFrames, true);
    for (std::size_t i = 0; i < out.Frames(); ++i) {
      const float l = i < n ? in.l[i] : 0.0f, r = i < n ? inR[i] : 0.0f;
      process(l, r, out.l[i], out.r[i]);
    }
    return out;
  }
  Stereo out(n, true);
  const int passes = CyclicPasses(n, memorySeconds);
  float dummyL = 0.0f, dummyR = 0.0f;
  for (int pass = 0; pass < passes; ++pass) {
    const bool keep = pass == passes - 1;
    for (std::size_t i = 0; i < n; ++i) {
      process(in.l[i], inR[i], keep ? out.l[i] : dummyL, keep ? out.r[i] : dummyR);
    }
  }
  return out;
}

}  // namespace

int CyclicPasses(std::size_t frames, double memorySeconds) {
  if (frames == 0) return 1;
  const double turns = memorySeconds * kRate / static_cast<double>(frames);
  return 1 + static_cast<int>(std::ceil(std::max(1.0, turns)));
}

Stereo Reverberate(const Stereo& send, const ReverbParams& params, bool cyclic) {
  Fdn fdn(params);
  const double memory = params.t60 * 1.5 + params.predelay;
  return RunEffect(send, Frames(memory), memory, cyclic,
                   [&](float l, float r, float& outL, float& outR) { fdn.Process(l, r, outL, outR); });
}

Stereo PingPong(const Stereo& in, const EchoParams& params, bool cyclic) {
  DelayLine left(Frames(params.delay)), right(Frames(params.delay));
  OnePole dampL(params.dampHz), dampR(params.dampHz);
  const float fb = static_cast<float>(params.feedback);
  // Memory: until the repeats have fallen 60 dB.
  const double memory =
      params.delay * (3.0 / std::max(0.05, -std::log10(std::max(1e-3, params.feedback))) + 1.0);
  return RunEffect(in, Frames(params.tail), memory, cyclic, [&](float l, float r, float& outL, float& outR) {
    const float dl = left.Read(), dr = right.Read();
    // The input enters on the left; each repeat crosses to the other side.
    left.Write(dampL.Low(0.5f * (l + r) + fb * dr));
    right.Write(dampR.Low(fb * dl));
    outL = dl;
    outR = dr;
  });
}

}  // namespace spellcrypt::sfx
