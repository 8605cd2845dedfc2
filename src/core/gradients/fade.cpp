#include "core/gradients/fade.h"

#include <algorithm>
#include <cstring>

#include "core/util/random.h"

namespace vorq {

int ClampBlendRate(int64_t rate) { return int(std::clamp<int64_t>(rate, 1, kMaxBlendRate)); }

void CheckBlendRate(int rate) {
  if (rate < 1 || rate > kMaxBlendRate) throw EVorqFade("BlendRate must be between 0 and 256");
}

int BlendAlpha(int frame, int blendRate) { return int(int64_t(32) * frame / blendRate); }

void BlendBytes(uint8_t* dst, const uint8_t* saved, const uint8_t* to, size_t count, int a) {
  const uint32_t wt = uint32_t(a), ws = 32u - wt;
  const size_t words = count / 4;
  for (size_t i = 0; i < words; ++i) {
    uint32_t s, t;
    std::memcpy(&s, saved + 4 * i, 4);
    std::memcpy(&t, to + 4 * i, 4);
    // Each lane holds at most 255 * 32 = 8160, so the sum never spills over.
    const uint32_t even = (((s & 0x00FF00FFu) * ws + (t & 0x00FF00FFu) * wt) >> 5) & 0x00FF00FFu;
    const uint32_t odd = ((((s >> 8) & 0x00FF00FFu) * ws + ((t >> 8) & 0x00FF00FFu) * wt) << 3) & 0xFF00FF00u;
    const uint32_t d = even | odd;
    std::memcpy(dst + 4 * i, &d, 4);
  }
  for (size_t i = words * 4; i < count; ++i) dst[i] = uint8_t((saved[i] * ws + to[i] * wt) >> 5);
}

void BlendSurface(TFastDIB& from, const TFastDIB& saved, const TFastDIB& to, int a) {
  if (from.Empty() || from.ImageSize() != saved.ImageSize() || from.ImageSize() != to.ImageSize() ||
      from.Width() != to.Width() || from.Width() != saved.Width())
    return;
  BlendBytes(from.Bits, saved.Bits, to.Bits, from.ImageSize(), std::clamp(a, 0, 32));
}

int ClampDisolvRate(int64_t rate, int64_t pixels) {
  return int(std::clamp<int64_t>(rate, 1, std::clamp<int64_t>(pixels, 1, INT32_MAX)));
}

DissolvePlan PlanDissolve(int64_t pixels, int disolvRate) {
  DissolvePlan p;
  if (pixels <= 0) return p;
  p.Chunk = std::max<int64_t>(pixels / ClampDisolvRate(disolvRate, pixels), 1);
  p.Frames = pixels / p.Chunk;
  p.Rest = pixels - p.Frames * p.Chunk;
  return p;
}

std::vector<uint32_t> DissolveOrder(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const int64_t n = int64_t(width) * height;
  std::vector<uint32_t> order(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) order[size_t(i)] = uint32_t(i);
  for (int64_t i = 0; i < n; ++i) std::swap(order[size_t(i)], order[size_t(Random(int32_t(n)))]);
  return order;
}

void DissolveCopy(TFastDIB& from, const TFastDIB& to, const uint32_t* order, size_t count) {
  const int w = from.Width();
  if (w <= 0 || w != to.Width() || from.Height() != to.Height()) return;
  const uint32_t n = uint32_t(int64_t(w) * from.Height());
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = order[i];
    if (p >= n) continue;
    const int y = int(p / uint32_t(w)), x = int(p % uint32_t(w));
    from.SetPixel(y, x, to.GetPixel(y, x));
  }
}

}  // namespace vorq
