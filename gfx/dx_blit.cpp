// Clipping and the pixel loops behind every surface draw.
#include "gfx/dx_blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace spellcrypt {

namespace {

DXRect Intersect(const DXRect& a, const DXRect& b) {
  return DXRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// The row operations: the same loops serve plain, stretched (after gathering) and clipped draws.
void CopyRow(std::uint32_t* d, const std::uint32_t* s, int n) {
  std::memmove(d, s, static_cast<std::size_t>(n) * sizeof *d);
}

void KeyedRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  for (int i = 0; i < n; ++i) d[i] = s[i] != key ? s[i] : d[i];
}

void BlendRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t t) {
  for (int i = 0; i < n; ++i) d[i] = BlendPixel(s[i], d[i], t);
}

void KeyedBlendRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key, std::uint32_t t) {
  for (int i = 0; i < n; ++i) {
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
  const DXRect cut = Intersect(source, sourceClip);
  if (cut.Empty()) return false;
  x += cut.left - source.left;
  y += cut.top - source.top;
  source = cut;
  const std::int64_t w = source.Width();
  const std::int64_t h = source.Height();

  // The destination rectangle before clipping, in 64 bits: a large scale may reach far outside.
  std::int64_t left = x;
  std::int64_t top = y;
  std::int64_t right = left + w;
  std::int64_t bottom = top + h;
  plan.stretched = scale != 1.0f;
  if (plan.stretched) {
    const double e = std::isnan(scale) ? 0.0 : std::clamp(static_cast<double>(scale), 0.0, 1.0e6);
    left = static_cast<std::int64_t>(x + w / 2.0 - e * w / 2.0);
    top = static_cast<std::int64_t>(y + h / 2.0 - e * h / 2.0);
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
