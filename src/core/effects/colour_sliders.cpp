#include "core/effects/colour_sliders.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "core/util/arith.h"
#include "core/util/parallel.h"

namespace vorq {
namespace {

uint8_t Clamp64(int64_t v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// Offset of the clamp tables indexed by W[c] + Grey[s]: that sum lies in
// -255 .. 765 for S in 0 .. 510.
constexpr int kSatOffset = 256;
constexpr int kSatRange = 1024;

// Eight bytes through the tables x, y, z, x, y, z, x, y (byte 0 first).
inline uint64_t Map8(uint64_t v, const uint8_t* x, const uint8_t* y, const uint8_t* z) {
  return uint64_t(x[v & 0xFF]) | uint64_t(y[(v >> 8) & 0xFF]) << 8 | uint64_t(z[(v >> 16) & 0xFF]) << 16 |
         uint64_t(x[(v >> 24) & 0xFF]) << 24 | uint64_t(y[(v >> 32) & 0xFF]) << 32 |
         uint64_t(z[(v >> 40) & 0xFF]) << 40 | uint64_t(x[(v >> 48) & 0xFF]) << 48 | uint64_t(y[v >> 56]) << 56;
}

// One row of w pixels from src to dst (which may be the same row): blue
// through tb, green through tg, red through tr. Eight pixels (three words)
// at a time where a word's low byte is its first byte in memory.
void MapRow(const uint8_t* src, uint8_t* dst, int w, const uint8_t* tb, const uint8_t* tg, const uint8_t* tr) {
  int x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; x + 8 <= w; x += 8, src += 24, dst += 24) {
      uint64_t a, b, c;
      std::memcpy(&a, src, 8);
      std::memcpy(&b, src + 8, 8);
      std::memcpy(&c, src + 16, 8);
      a = Map8(a, tb, tg, tr);  // bytes 0 .. 7: B G R B G R B G
      b = Map8(b, tr, tb, tg);  // bytes 8 .. 15: R B G R B G R B
      c = Map8(c, tg, tr, tb);  // bytes 16 .. 23: G R B G R B G R
      std::memcpy(dst, &a, 8);
      std::memcpy(dst + 8, &b, 8);
      std::memcpy(dst + 16, &c, 8);
    }
  }
  for (; x < w; ++x, src += 3, dst += 3) {
    const uint8_t cb = src[0], cg = src[1], cr = src[2];
    dst[0] = tb[cb];
    dst[1] = tg[cg];
    dst[2] = tr[cr];
  }
}

void MapSurface(const TFastDIB& source, TFastDIB& target, const ChannelTable& tr, const ChannelTable& tg,
                const ChannelTable& tb) {
  if (source.Empty()) return;
  const int w = source.Width();
  // Local copies keep the tables apart from the pixels for the optimiser.
  const ChannelTable r = tr, g = tg, b = tb;
  ParallelRows(source.Height(), [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) MapRow(source.Row(y), target.Row(y), w, b.data(), g.data(), r.data());
  });
}

ChannelTable Compose(const ChannelTable& first, const ChannelTable& then) {
  ChannelTable t;
  for (int i = 0; i < 256; ++i) t[size_t(i)] = then[first[size_t(i)]];
  return t;
}

ChannelTable Identity() {
  ChannelTable t;
  for (int i = 0; i < 256; ++i) t[size_t(i)] = uint8_t(i);
  return t;
}

}  // namespace

ChannelTable LightnessTable(int amount) {
  ChannelTable t;
  const int64_t a = amount;
  for (int64_t i = 0; i < 256; ++i)
    t[size_t(i)] = a >= 0 ? Clamp64(i + (((255 - i) * a) >> 8)) : Clamp64(i - ((i * -a) >> 8));
  return t;
}

ChannelTable ContrastTable(int amount) {
  ChannelTable t;
  for (int64_t i = 0; i < 256; ++i) {
    const int64_t d = std::llabs(128 - i) * int64_t(amount);
    const int64_t q = d / 256;  // C++ division truncates toward zero
    t[size_t(i)] = i <= 126 ? Clamp64(i - q) : Clamp64(i + q);
  }
  return t;
}

ChannelTable ChannelShiftTable(int amount) {
  ChannelTable t;
  const int m = int(std::min<int64_t>(std::llabs(int64_t(amount)), 255));
  for (int i = 0; i < 256; ++i) t[size_t(i)] = uint8_t(amount >= 0 ? std::min(255, i + m) : std::max(0, i - m));
  return t;
}

SaturationTables BuildSaturationTables(int amount) {
  const int s = std::clamp(amount, 0, 510);
  SaturationTables t;
  for (int k = 0; k < 256; ++k) t.W[size_t(k)] = uint16_t(((k + 1) * s) >> 8);
  for (int sum = 0; sum < 768; ++sum) {
    const int a = std::min(sum / 3, 255);  // sums above 765 do not occur
    t.Grey[size_t(sum)] = a - int(t.W[size_t(a)]);
  }
  return t;
}

void ApplyChannelTables(TFastDIB& surface, const ChannelTable& red, const ChannelTable& green,
                        const ChannelTable& blue) {
  MapSurface(surface, surface, red, green, blue);
}

void ApplyLightness(TFastDIB& surface, int amountR, int amountG, int amountB) {
  ApplyChannelTables(surface, LightnessTable(amountR), LightnessTable(amountG), LightnessTable(amountB));
}

void ApplyContrast(TFastDIB& surface, int amountR, int amountG, int amountB) {
  ApplyChannelTables(surface, ContrastTable(amountR), ContrastTable(amountG), ContrastTable(amountB));
}

void ApplyChannelShift(TFastDIB& surface, int amountR, int amountG, int amountB) {
  ApplyChannelTables(surface, ChannelShiftTable(amountR), ChannelShiftTable(amountG), ChannelShiftTable(amountB));
}

void ApplySaturation(TFastDIB& surface, int amount) {
  ApplySliderChain(surface, surface, SliderAmounts{0, 0, amount, 0, 0, 0});
}

void ApplySliderChain(const TFastDIB& source, TFastDIB& target, const SliderAmounts& a) {
  if (&source != &target && !target.SetSize(source.Width(), source.Height(), 24, 0)) return;
  if (source.Empty()) return;
  const int w = source.Width();

  // Lightness, contrast and (without saturation) the shift fold into one
  // table per channel; the saturation step sits between the two halves.
  const ChannelTable lc = Compose(LightnessTable(a.Lightness), ContrastTable(a.Contrast));
  const ChannelTable sr = ChannelShiftTable(a.Red), sg = ChannelShiftTable(a.Green), sb = ChannelShiftTable(a.Blue);
  const int s = std::clamp(a.Saturation, 0, 510);

  if (s == 255) {  // W[k] = k: saturation changes nothing
    const ChannelTable tr = Compose(lc, sr), tg = Compose(lc, sg), tb = Compose(lc, sb);
    if (&source == &target && tr == Identity() && tg == tr && tb == tr) return;
    MapSurface(source, target, tr, tg, tb);
    return;
  }

  const SaturationTables sat = BuildSaturationTables(s);
  // pre[c]: low half the channel after lightness and contrast (for the sum),
  // high half W of it (offset by kSatOffset so the sum below is never negative).
  uint32_t pre[256];
  for (int c = 0; c < 256; ++c) pre[c] = uint32_t(lc[size_t(c)]) | (uint32_t(sat.W[lc[size_t(c)]]) << 16);
  int32_t grey[768];
  for (int k = 0; k < 768; ++k) grey[k] = sat.Grey[size_t(k)] + kSatOffset;
  // Clamp to a byte, then that channel's shift.
  uint8_t outR[kSatRange], outG[kSatRange], outB[kSatRange];
  for (int v = 0; v < kSatRange; ++v) {
    const uint8_t c = ClampByte(v - kSatOffset);
    outR[v] = sr[c];
    outG[v] = sg[c];
    outB[v] = sb[c];
  }
  ParallelRows(source.Height(), [&](int b, int e) {
    for (int y = b; y < e; ++y) {
      const uint8_t* p = source.Row(y);
      uint8_t* q = target.Row(y);
      for (int x = 0; x < w; ++x, p += 3, q += 3) {
        const uint32_t pb = pre[p[0]], pg = pre[p[1]], pr = pre[p[2]];
        const int32_t g = grey[(pb + pg + pr) & 0xFFFF];
        q[0] = outB[int32_t(pb >> 16) + g];
        q[1] = outG[int32_t(pg >> 16) + g];
        q[2] = outR[int32_t(pr >> 16) + g];
      }
    }
  });
}

}  // namespace vorq
