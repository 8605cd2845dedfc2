#include "core/effects/colour.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "core/effects/colour_sliders.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

namespace vorq {
namespace {

// fn(row, width) for every row, the rows split over the worker threads.
template <typename Fn>
void ForEachRow(TFastDIB& s, Fn fn) {
  if (s.Empty()) return;
  const int w = s.Width();
  ParallelRows(s.Height(), [&](int b, int e) {
    for (int y = b; y < e; ++y) fn(s.Row(y), w);
  });
}

// Every pixel through f(b, g, r), which returns the new pixel as
// B | G << 8 | R << 16. Eight pixels are read and written as three words
// where a word's low byte comes first in memory.
template <typename F>
void MapPixels(TFastDIB& s, F f) {
  ForEachRow(s, [&](uint8_t* p, int w) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
      auto at = [](uint64_t v, int i) { return uint32_t(v >> (8 * i)) & 0xFF; };
      for (; x + 8 <= w; x += 8, p += 24) {
        uint64_t a, b, c;
        std::memcpy(&a, p, 8);
        std::memcpy(&b, p + 8, 8);
        std::memcpy(&c, p + 16, 8);
        const uint64_t q0 = f(at(a, 0), at(a, 1), at(a, 2)), q1 = f(at(a, 3), at(a, 4), at(a, 5));
        const uint64_t q2 = f(at(a, 6), at(a, 7), at(b, 0)), q3 = f(at(b, 1), at(b, 2), at(b, 3));
        const uint64_t q4 = f(at(b, 4), at(b, 5), at(b, 6)), q5 = f(at(b, 7), at(c, 0), at(c, 1));
        const uint64_t q6 = f(at(c, 2), at(c, 3), at(c, 4)), q7 = f(at(c, 5), at(c, 6), at(c, 7));
        a = q0 | q1 << 24 | q2 << 48;
        b = q2 >> 16 | q3 << 8 | q4 << 32 | q5 << 56;
        c = q5 >> 8 | q6 << 16 | q7 << 40;
        std::memcpy(p, &a, 8);
        std::memcpy(p + 8, &b, 8);
        std::memcpy(p + 16, &c, 8);
      }
    }
    for (; x < w; ++x, p += 3) {
      const uint32_t q = f(uint32_t(p[0]), uint32_t(p[1]), uint32_t(p[2]));
      p[0] = uint8_t(q);
      p[1] = uint8_t(q >> 8);
      p[2] = uint8_t(q >> 16);
    }
  });
}

// One byte table for all three channels.
void MapBytes(TFastDIB& s, const ChannelTable& t) { ApplyChannelTables(s, t, t, t); }

uint8_t Channel(uint32_t colour, int shift) { return uint8_t((colour >> shift) & 0xFF); }

}  // namespace

LightenTableT BuildLightenTable() {
  LightenTableT t{};
  for (int i = 1; i < 256; ++i) {
    const long double v = 255.0L * std::pow(static_cast<long double>(i) / 255.0L, 0.85L);
    t[size_t(i)] = static_cast<uint16_t>(std::nearbyint(v));  // ties to even
  }
  return t;  // t[0] = 0: 0^0.85 is 0
}

const LightenTableT& LightenTable() {
  static const LightenTableT table = BuildLightenTable();
  return table;
}

uint8_t BrightenChannel(uint8_t c) {
  // c * 0.05 = c / 20, rounded to nearest with an exact half going to even;
  // done in integers so that the halves (c = 10, 30, 50, ...) stay exact.
  int q = c / 20;
  const int r = c % 20;
  if (r > 10 || (r == 10 && (q & 1))) ++q;
  return ClampByte(c + q);
}

void Brighten(TFastDIB& surface) {
  ChannelTable t;
  for (int c = 0; c < 256; ++c) t[size_t(c)] = BrightenChannel(uint8_t(c));
  MapBytes(surface, t);
}

void Lighten(TFastDIB& surface) {
  const LightenTableT& lt = LightenTable();
  ChannelTable t;
  for (int c = 0; c < 256; ++c) t[size_t(c)] = uint8_t(lt[size_t(c)] & 0xFF);
  MapBytes(surface, t);
}

void Negative(TFastDIB& surface) {
  ForEachRow(surface, [](uint8_t* p, int w) {
    const int n = 3 * w;
    for (int i = 0; i < n; ++i) p[i] = uint8_t(~p[i]);
  });
}

void GrayScaleSurface(TFastDIB& surface) {
  MapPixels(surface, [](uint32_t b, uint32_t g, uint32_t r) {
    // Weights sum to 256, so the sum stays within 16 bits.
    return ((77u * r + 151u * g + 28u * b) >> 8) * 0x010101u;
  });
}

void EraseToBlack(TFastDIB& surface) {
  ForEachRow(surface, [](uint8_t* p, int w) { std::memset(p, 0, size_t(3) * size_t(w)); });
}

void ColorRotate(TFastDIB& surface, int bits) {
  if (bits <= 0) return;
  const int k = bits % 24;
  if (k == 0) return;
  // Rotation moves bits independently, so the rotated value is the OR of
  // each channel's rotated contribution. The tables give the result in
  // memory order, B | G << 8 | R << 16, the byte reverse of V.
  auto rot = [k](uint32_t v) { return ((v << k) | (v >> (24 - k))) & 0xFFFFFFu; };
  auto toMemory = [](uint32_t v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); };
  uint32_t tr[256], tg[256], tb[256];
  for (uint32_t c = 0; c < 256; ++c) {
    tr[c] = toMemory(rot(c));
    tg[c] = toMemory(rot(c << 8));
    tb[c] = toMemory(rot(c << 16));
  }
  MapPixels(surface, [&](uint32_t b, uint32_t g, uint32_t r) { return tb[b] | tg[g] | tr[r]; });
}

void ExchangeColor(TFastDIB& surface, uint32_t match, uint32_t replacement, int32_t tolerance) {
  const int t = int(uint32_t(tolerance) & 0xFFFFu);
  // Per channel 0xFF where the value is in range, else 0; a pixel matches
  // when all three are 0xFF. The select is branch-free: on a varied image a
  // branch would be mispredicted often.
  uint8_t inB[256], inG[256], inR[256];
  auto fill = [t](uint8_t (&in)[256], uint8_t m) {
    const int lo = ClampByte(m - t), hi = ClampByte(m + t);
    for (int c = 0; c < 256; ++c) in[c] = (c >= lo && c <= hi) ? 0xFF : 0;
  };
  fill(inR, Channel(match, 0));
  fill(inG, Channel(match, 8));
  fill(inB, Channel(match, 16));
  const uint64_t with = uint64_t(Channel(replacement, 16)) | uint64_t(Channel(replacement, 8)) << 8 |
                        uint64_t(Channel(replacement, 0)) << 16;  // memory order
  auto mask = [&](uint32_t b, uint32_t g, uint32_t r) { return uint64_t(inB[b] & inG[g] & inR[r]) * 0x010101u; };
  ForEachRow(surface, [&](uint8_t* p, int w) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
      // Eight pixels as three words: the match masks are laid out like the
      // pixels and the replacement is merged in under them.
      auto at = [](uint64_t v, int i) { return uint32_t(v >> (8 * i)) & 0xFF; };
      const uint64_t wa = with | with << 24 | with << 48;
      const uint64_t wb = with >> 16 | with << 8 | with << 32 | with << 56;
      const uint64_t wc = with >> 8 | with << 16 | with << 40;
      for (; x + 8 <= w; x += 8, p += 24) {
        uint64_t a, b, c;
        std::memcpy(&a, p, 8);
        std::memcpy(&b, p + 8, 8);
        std::memcpy(&c, p + 16, 8);
        const uint64_t m0 = mask(at(a, 0), at(a, 1), at(a, 2)), m1 = mask(at(a, 3), at(a, 4), at(a, 5));
        const uint64_t m2 = mask(at(a, 6), at(a, 7), at(b, 0)), m3 = mask(at(b, 1), at(b, 2), at(b, 3));
        const uint64_t m4 = mask(at(b, 4), at(b, 5), at(b, 6)), m5 = mask(at(b, 7), at(c, 0), at(c, 1));
        const uint64_t m6 = mask(at(c, 2), at(c, 3), at(c, 4)), m7 = mask(at(c, 5), at(c, 6), at(c, 7));
        const uint64_t ma = m0 | m1 << 24 | m2 << 48;
        const uint64_t mb = m2 >> 16 | m3 << 8 | m4 << 32 | m5 << 56;
        const uint64_t mc = m5 >> 8 | m6 << 16 | m7 << 40;
        a = (a & ~ma) | (wa & ma);
        b = (b & ~mb) | (wb & mb);
        c = (c & ~mc) | (wc & mc);
        std::memcpy(p, &a, 8);
        std::memcpy(p + 8, &b, 8);
        std::memcpy(p + 16, &c, 8);
      }
    }
    for (; x < w; ++x, p += 3) {
      const uint8_t m = uint8_t(mask(p[0], p[1], p[2]));
      p[0] = uint8_t((p[0] & ~m) | (uint8_t(with) & m));
      p[1] = uint8_t((p[1] & ~m) | (uint8_t(with >> 8) & m));
      p[2] = uint8_t((p[2] & ~m) | (uint8_t(with >> 16) & m));
    }
  });
}

void Tint(TFastDIB& surface, uint32_t colour) {
  // The result depends only on the brightest channel m, so each channel's
  // 256 results are worked out once in extended precision.
  uint32_t out[256];  // B | G << 8 | R << 16 for each m
  const long double cr = Channel(colour, 0), cg = Channel(colour, 8), cb = Channel(colour, 16);
  for (int m = 0; m < 256; ++m) {
    const long double f = static_cast<long double>(m) / 255.0L;
    const uint32_t r = ClampByte(int(std::nearbyint(cr * f)));
    const uint32_t g = ClampByte(int(std::nearbyint(cg * f)));
    const uint32_t b = ClampByte(int(std::nearbyint(cb * f)));
    out[m] = b | g << 8 | r << 16;
  }
  MapPixels(surface, [&](uint32_t b, uint32_t g, uint32_t r) { return out[std::max(b, std::max(g, r))]; });
}

}  // namespace vorq
