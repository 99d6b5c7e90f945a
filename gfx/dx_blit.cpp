// Clipping and the pixel loops behind every surface draw.
#include "gfx/dx_blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace spellcrypt {

namespace {

DXRect Intersect(const DXRect& a, const DXRect& b) {
  return DXRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// The row operations: the same loops serve plain, stretched (after gathering) and clipped draws.
// Keyed and blended rows take four pixels at a time with SSE2 (every x86-64 has it); the plain
// loops after them finish the row and are the whole story elsewhere.
void CopyRow(std::uint32_t* d, const std::uint32_t* s, int n) {
  std::memmove(d, s, static_cast<std::size_t>(n) * sizeof *d);
}

#if defined(__SSE2__)
// Blends four pixels: (s (256 - t) + d t) >> 8 in 16-bit lanes. Neither product nor their sum can
// pass 255 * 256, so nothing overflows.
inline __m128i Blend4(__m128i s, __m128i d, __m128i t, __m128i inv) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), inv),
                                                  _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), t)),
                                    8);
  const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), inv),
                                                  _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), t)),
                                    8);
  return _mm_packus_epi16(lo, hi);
}

// Where the source is the key, the destination stays.
inline __m128i KeepKeyed(__m128i s, __m128i result, __m128i d, __m128i key) {
  const __m128i keyed = _mm_cmpeq_epi32(s, key);
  return _mm_or_si128(_mm_andnot_si128(keyed, result), _mm_and_si128(keyed, d));
}

inline __m128i Load4(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store4(std::uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
#endif

void KeyedRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  for (; i + 4 <= n; i += 4) {
    const __m128i sv = Load4(s + i);
    const __m128i dv = Load4(d + i);
    Store4(d + i, KeepKeyed(sv, sv, dv, k));
  }
#endif
  for (; i < n; ++i) d[i] = s[i] != key ? s[i] : d[i];
}

void BlendRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t t) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i tv = _mm_set1_epi16(static_cast<short>(t));
  const __m128i inv = _mm_set1_epi16(static_cast<short>(256 - t));
  for (; i + 4 <= n; i += 4) Store4(d + i, Blend4(Load4(s + i), Load4(d + i), tv, inv));
#endif
  for (; i < n; ++i) d[i] = BlendPixel(s[i], d[i], t);
}

void KeyedBlendRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key, std::uint32_t t) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  const __m128i tv = _mm_set1_epi16(static_cast<short>(t));
  const __m128i inv = _mm_set1_epi16(static_cast<short>(256 - t));
  for (; i + 4 <= n; i += 4) {
    const __m128i sv = Load4(s + i);
    const __m128i dv = Load4(d + i);
    Store4(d + i, KeepKeyed(sv, Blend4(sv, dv, tv, inv), dv, k));
  }
#endif
  for (; i < n; ++i) {
    if (s[i] != key) d[i] = BlendPixel(s[i], d[i], t);
  }
}

// Picks the source pixels of one stretched row, nearest neighbour.
void GatherRow(std::uint32_t* out, const std::uint32_t* s, int n, std::uint32_t u, std::uint32_t du) {
  for (int i = 0; i < n; ++i, u += du) out[i] = s[u >> 16];
}

}  // namespace

bool PlanBlit(const DXRect& sourceClip, DXRect source, const DXRect& destClip, int x, int y, float scale,
              BlitPlan& plan) {
  // The source first: a trimmed left or top edge moves the destination with it.
  // Positions are worked in 64 bits: a far-off position or a large scale may reach far outside.
  const DXRect cut = Intersect(source, sourceClip);
  if (cut.Empty()) return false;
  const std::int64_t x0 = std::int64_t{x} + cut.left - source.left;
  const std::int64_t y0 = std::int64_t{y} + cut.top - source.top;
  source = cut;
  const std::int64_t w = source.Width();
  const std::int64_t h = source.Height();

  // The destination rectangle before clipping.
  std::int64_t left = x0;
  std::int64_t top = y0;
  std::int64_t right = left + w;
  std::int64_t bottom = top + h;
  plan.stretched = scale != 1.0f;
  if (plan.stretched) {
    const double e = std::isnan(scale) ? 0.0 : std::clamp(static_cast<double>(scale), 0.0, 1.0e6);
    left = static_cast<std::int64_t>(static_cast<double>(x0) + w / 2.0 - e * w / 2.0);
    top = static_cast<std::int64_t>(static_cast<double>(y0) + h / 2.0 - e * h / 2.0);
    right = left + static_cast<std::int64_t>(e * w);
    bottom = top + static_cast<std::int64_t>(e * h);
  }
  if (right <= left || bottom <= top) return false;

  plan.dest = DXRect{static_cast<int>(std::clamp<std::int64_t>(left, destClip.left, destClip.right)),
                     static_cast<int>(std::clamp<std::int64_t>(top, destClip.top, destClip.bottom)),
                     static_cast<int>(std::clamp<std::int64_t>(right, destClip.left, destClip.right)),
                     static_cast<int>(std::clamp<std::int64_t>(bottom, destClip.top, destClip.bottom))};
  if (plan.dest.Empty()) return false;

  // Source steps: exactly one pixel for plain draws; source size over destination size otherwise,
  // sampling at the centre of each destination pixel. The last sample always stays inside the
  // source because (destination size) * step never exceeds the source size.
  plan.sourceLeft = source.left;
  plan.sourceTop = source.top;
  plan.du = static_cast<std::uint32_t>((w << 16) / (right - left));
  plan.dv = static_cast<std::uint32_t>((h << 16) / (bottom - top));
  const std::int64_t halfU = plan.stretched ? plan.du / 2 : 0;
  const std::int64_t halfV = plan.stretched ? plan.dv / 2 : 0;
  plan.u0 = static_cast<std::uint32_t>((plan.dest.left - left) * plan.du + halfU);
  plan.v0 = static_cast<std::uint32_t>((plan.dest.top - top) * plan.dv + halfV);
  return true;
}

void RunBlit(const BlitPlan& plan, const BlitPixels& pixels, const BlitStyle& style) {
  const int n = plan.dest.Width();
  // Stretched rows are gathered first, then go through the same row loops as plain ones.
  static thread_local std::vector<std::uint32_t> gathered;
  if (plan.stretched && gathered.size() < static_cast<std::size_t>(n))
    gathered.resize(static_cast<std::size_t>(n));

  std::uint32_t v = plan.v0;
  for (int y = plan.dest.top; y < plan.dest.bottom; ++y, v += plan.dv) {
    const std::uint32_t* sourceRow =
        pixels.source +
        static_cast<std::ptrdiff_t>(plan.sourceTop + static_cast<int>(v >> 16)) * pixels.sourcePitch +
        plan.sourceLeft;
    std::uint32_t* d = pixels.dest + static_cast<std::ptrdiff_t>(y) * pixels.destPitch + plan.dest.left;
    const std::uint32_t* s = sourceRow + (plan.u0 >> 16);
    if (plan.stretched) {
      GatherRow(gathered.data(), sourceRow, n, plan.u0, plan.du);
      s = gathered.data();
    }
    if (style.blended) {
      if (style.keyed) {
        KeyedBlendRow(d, s, n, style.key, style.translucency);
      } else {
        BlendRow(d, s, n, style.translucency);
      }
    } else if (style.keyed) {
      KeyedRow(d, s, n, style.key);
    } else {
      CopyRow(d, s, n);
    }
  }
}

}  // namespace spellcrypt
