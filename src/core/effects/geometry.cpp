#include "core/effects/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/effects/resize_rows.h"
#include "core/effects/rotate_wide.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

// Products and sums below are rounded one at a time, as the single-precision
// arithmetic requires; a fused multiply-add would change results.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

namespace vorq {
namespace {

#if !defined(__SSE2__)
// Byte values as floats: a load instead of a conversion in the inner loop.
struct ByteFloats {
  float v[256];
  constexpr ByteFloats() : v() {
    for (int i = 0; i < 256; ++i) v[i] = float(i);
  }
};
constexpr ByteFloats kByteFloat;

// Nearest integer of a float, ties to even, clamped to a byte.
inline uint8_t RoundToByte(float v) {
  const int i = int(RoundHalfEven(v));
  return uint8_t(i < 0 ? 0 : (i > 255 ? 255 : i));
}
#endif

// Source index and weights of every target column (or row) of a resize.
struct Axis {
  std::vector<int> i0, i1;
  std::vector<float> w0, w1;
};

// One target column's (or row's) source index and weights; f 0 stands for
// a source of one column in mode 0 (W - 1 = 0: one column for all).
struct Tap {
  int i0, i1;
  float w0, w1;
};
inline float AxisScale(int n, int newN, int mode) {
  return mode == 0 && n == 1 ? 0.0f : float(newN) / float(mode == 0 ? n - 1 : n);
}
inline Tap AxisTap(int k, int n, float f) {
  int i = 0;
  float w1 = 0;
  if (f != 0.0f) {
    const float s = float(k) / f;
    i = int(s);  // toward zero; s is never negative
    w1 = s - float(i);
  }
  return {std::min(i, n - 1), std::min(i + 1, n - 1), 1.0f - w1, w1};
}

Axis MakeAxis(int n, int newN, int mode) {
  Axis a;
  a.i0.resize(size_t(newN));
  a.i1.resize(size_t(newN));
  a.w0.resize(size_t(newN));
  a.w1.resize(size_t(newN));
  const float f = AxisScale(n, newN, mode);
  for (int k = 0; k < newN; ++k) {
    const Tap t = AxisTap(k, n, f);
    a.i0[size_t(k)] = t.i0;
    a.i1[size_t(k)] = t.i1;
    a.w1[size_t(k)] = t.w1;
    a.w0[size_t(k)] = t.w0;
  }
  return a;
}

// One source row rearranged so that byte k of a target row finds its left
// neighbour's byte (o0) at byte k of one row and its right neighbour's (o1)
// at byte k of the other. Two target rows in a row mostly share a source
// row, so each band keeps the last two rows it rearranged.
class GatheredRows {
 public:
  GatheredRows(const int* o0, const int* o1, int newW, const resize_rows::Group* groups)
      : o0_(o0), o1_(o1), n_(newW), groups_(groups) {
    // Room for whole vectors past the last pixel (kept at zero weight).
    const size_t bytes = 3 * size_t(newW) + 128;
    for (Slot& s : slot_) {
      s.left.assign(bytes, 0);
      s.right.assign(bytes, 0);
    }
  }
  // Rows r0 and r1 (source row indices i0, i1) rearranged.
  void Get(const uint8_t* r0, int i0, const uint8_t* r1, int i1, const uint8_t** g00, const uint8_t** g10,
           const uint8_t** g01, const uint8_t** g11) {
    const Slot& a = Fill(r0, i0, i1);
    const Slot& b = Fill(r1, i1, i0);
    *g00 = a.left.data();
    *g10 = a.right.data();
    *g01 = b.left.data();
    *g11 = b.right.data();
  }

 private:
  struct Slot {
    int row = -1;
    std::vector<uint8_t> left, right;
  };
  // The slot holding row i, filled from r if needed; never the slot of
  // `keep`, which the same target row reads.
  const Slot& Fill(const uint8_t* r, int i, int keep) {
    for (const Slot& s : slot_)
      if (s.row == i) return s;
    Slot& s = slot_[0].row == keep && keep != i ? slot_[1] : slot_[0];
    s.row = i;
    if (groups_ != nullptr) {
      resize_rows::Gather(r, groups_, o0_, o1_, n_, s.left.data(), s.right.data());
      return s;
    }
    uint8_t* l = s.left.data();
    uint8_t* g = s.right.data();
    // Four-byte copies; each overwrites the byte the previous one left
    // beyond its pixel, and surfaces are readable past every pixel.
    for (int x = 0; x < n_; ++x, l += 3, g += 3) {
      std::memcpy(l, r + o0_[x], 4);
      std::memcpy(g, r + o1_[x], 4);
    }
    return s;
  }
  const int *o0_, *o1_;
  int n_;
  const resize_rows::Group* groups_;  // null: the portable copies
  Slot slot_[2];
};

// The wide rows' read windows and permutations, 16 target pixels a group.
std::vector<resize_rows::Group> MakeGroups(const std::vector<int>& o0, const std::vector<int>& o1) {
  const size_t n = o0.size();
  std::vector<resize_rows::Group> groups((n + 15) / 16);
  for (size_t g = 0; g < groups.size(); ++g) {
    const size_t first = 16 * g, end = std::min(n, first + 16);
    const int base = o0[first], span = o1[end - 1] + 3 - base;  // offsets never fall with x
    if (span > 64) continue;  // span 0: copied one by one
    groups[g].base = base;
    groups[g].span = span;
    for (size_t x = first; x < end; ++x)
      for (int c = 0; c < 3; ++c) {
        groups[g].left[3 * (x - first) + size_t(c)] = uint8_t(o0[x] + c - base);
        groups[g].right[3 * (x - first) + size_t(c)] = uint8_t(o1[x] + c - base);
      }
  }
  return groups;
}

// One target row from its four rearranged source rows: for every byte,
// (wx0 wy0) s00 + (wx0 wy1) s01 + (wx1 wy0) s10 + (wx1 wy1) s11, each product
// and sum in single precision in that order, rounded to nearest (ties to
// even) and limited to a byte. wx0/wx1 hold each column's weights once per
// byte; n is the row's byte count.
void BlendRow(const uint8_t* s00, const uint8_t* s01, const uint8_t* s10, const uint8_t* s11, const float* wx0,
              const float* wx1, float wy0, float wy1, int n, uint8_t* d) {
  int k = 0;
#if defined(__SSE2__)
  const __m128 y0 = _mm_set1_ps(wy0), y1 = _mm_set1_ps(wy1);
  const __m128i zero = _mm_setzero_si128();
  // Sixteen bytes as four vectors of floats.
  auto floats = [&](const uint8_t* p, __m128 out[4]) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i lo = _mm_unpacklo_epi8(b, zero), hi = _mm_unpackhi_epi8(b, zero);
    out[0] = _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero));
    out[1] = _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero));
    out[2] = _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero));
    out[3] = _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero));
  };
  for (; k < n; k += 16) {
    __m128 a[4], b[4], c[4], e[4];
    floats(s00 + k, a);
    floats(s01 + k, b);
    floats(s10 + k, c);
    floats(s11 + k, e);
    __m128i q[4];
    for (int j = 0; j < 4; ++j) {
      const __m128 w0 = _mm_loadu_ps(wx0 + k + 4 * j), w1 = _mm_loadu_ps(wx1 + k + 4 * j);
      __m128 v = _mm_mul_ps(_mm_mul_ps(w0, y0), a[j]);
      v = _mm_add_ps(v, _mm_mul_ps(_mm_mul_ps(w0, y1), b[j]));
      v = _mm_add_ps(v, _mm_mul_ps(_mm_mul_ps(w1, y0), c[j]));
      v = _mm_add_ps(v, _mm_mul_ps(_mm_mul_ps(w1, y1), e[j]));
      q[j] = _mm_cvtps_epi32(v);  // nearest, an exact half to even
    }
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q[0], q[1]), _mm_packs_epi32(q[2], q[3]));
    if (k + 16 <= n) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + k), bytes);
    } else {  // the row's last bytes: the rest of the vector belongs to no pixel
      uint8_t tail[16];
      _mm_storeu_si128(reinterpret_cast<__m128i*>(tail), bytes);
      std::memcpy(d + k, tail, size_t(n - k));
    }
  }
#else
  const float* F = kByteFloat.v;
  for (; k < n; ++k) {
    float v = (wx0[k] * wy0) * F[s00[k]];
    v += (wx0[k] * wy1) * F[s01[k]];
    v += (wx1[k] * wy0) * F[s10[k]];
    v += (wx1[k] * wy1) * F[s11[k]];
    d[k] = RoundToByte(v);
  }
#endif
}

// Everything about a resize's target columns: each one's two source byte
// offsets and weights (once per byte), and the wide rows' groups.
struct Columns {
  std::vector<int> off0, off1;
  std::vector<float> wx0, wx1;
  std::vector<resize_rows::Group> groups;
  bool wide = WideVectors() && resize_rows::Built();
  int n = 0;  // bytes in a target row

  Columns(int X, int W, int NewW, int Mode) : off0(size_t(NewW)), off1(size_t(NewW)), n(3 * NewW) {
    const Axis ax = MakeAxis(W, NewW, Mode);
    wx0.assign(size_t(n) + 32, 0.0f);  // zero past the row: vector tails
    wx1.assign(size_t(n) + 32, 0.0f);
    for (size_t x = 0; x < size_t(NewW); ++x) {
      off0[x] = 3 * (X + ax.i0[x]);
      off1[x] = 3 * (X + ax.i1[x]);
      for (size_t c = 0; c < 3; ++c) {
        wx0[3 * x + c] = ax.w0[x];
        wx1[3 * x + c] = ax.w1[x];
      }
    }
    if (wide) groups = MakeGroups(off0, off1);
  }
  GatheredRows Rows() const { return GatheredRows(off0.data(), off1.data(), n / 3, wide ? groups.data() : nullptr); }
  // Target row y into d, from source rows r0 = row i0 and r1 = row i1.
  void Blend(GatheredRows& rows, const uint8_t* r0, int i0, const uint8_t* r1, int i1, float wy0, float wy1,
             uint8_t* d) const {
    const uint8_t *g00, *g10, *g01, *g11;
    rows.Get(r0, i0, r1, i1, &g00, &g10, &g01, &g11);
    (wide ? resize_rows::Blend : BlendRow)(g00, g01, g10, g11, wx0.data(), wx1.data(), wy0, wy1, n, d);
  }
};

}  // namespace

bool ResizeBilinearInto(const TFastDIB& Source, TFastDIB& Target, int NewW, int NewH, int Mode) {
  if (&Source == &Target || Source.Empty() || (Mode != 0 && Mode != 1) || !SizeAllowed(NewW, NewH)) return false;
  if (!Target.Reshape(NewW, NewH)) return false;
  const Columns cols(0, Source.Width(), NewW, Mode);
  const Axis ay = MakeAxis(Source.Height(), NewH, Mode);
  ParallelRows(NewH, [&](int begin, int end) {
    GatheredRows rows = cols.Rows();
    for (size_t y = size_t(begin); y < size_t(end); ++y)
      cols.Blend(rows, Source.Row(ay.i0[y]), ay.i0[y], Source.Row(ay.i1[y]), ay.i1[y], ay.w0[y], ay.w1[y],
                 Target.Row(int(y)));
  });
  return true;
}

namespace {

// The reductions of ResizeBilinearNested as a wavefront: a stage's row is
// made as soon as the rows it reads exist, so only the last two rows of
// each stage are alive, and the image is read and written once, not once
// per stage. At 4096 wide and a size difference of 25, all stages' rows and
// tables together fit in the second-level cache.
class Nest {
 public:
  Nest(const TFastDIB& source, TFastDIB& target, int step, int stages) : src_(source), dst_(target), step_(step) {
    const int W = source.Width(), H = source.Height();
    for (int j = 1; j <= stages; ++j) {
      const int w = W - 2 * j * step, h = H - 2 * j * step;
      Stage& s = stages_.emplace_back(j * step, w, h, w + 2 * step, h + 2 * step);
      bool apart = false;
      if (wide_) {
        s.MakeLanes();
        for (const resize_rows::Lanes& l : s.lanes) apart = apart || l.span == 0;
      } else if (avx2_) {
        s.MakeEights();
        for (const resize_rows::Eights& e : s.eights) apart = apart || !e.near;
      } else {
        s.cols.emplace(0, w + 2 * step, w, 1);
        std::vector<float>().swap(s.wx1);
      }
      s.Trim(apart);
    }
  }

  // Part `part` of `parts`: each stage's rows from part / parts of its
  // height to (part + 1) / parts, and what they need of the stages before.
  void RunBand(int part, int parts) {
    const int J = int(stages_.size());
    std::vector<Run> runs;
    for (const Stage& s : stages_) {
      const int from = int(int64_t(s.h) * part / parts), to = int(int64_t(s.h) * (part + 1) / parts);
      Run& r = runs.emplace_back();
      r.from = r.next = from;
      r.to = part + 1 == parts ? s.h : to;
      r.ring.resize(2 * Pitch(s.w));
      if (s.cols) r.gathered.emplace(s.cols->Rows());
    }
    // A stage starts where it writes, or earlier where the next stage's
    // first row reads it.
    for (int j = J - 2; j >= 0; --j) {
      const Run& after = runs[size_t(j) + 1];
      if (after.next < stages_[size_t(j) + 1].h)
        runs[size_t(j)].next = std::min(runs[size_t(j)].next, stages_[size_t(j) + 1].Row(after.next).i0);
    }
    // The last stage first; each earlier one then finishes what it writes.
    for (int top = J - 1; top >= 0; --top) {
      int j = top;
      while (runs[size_t(top)].next < runs[size_t(top)].to) {
        const Stage& s = stages_[size_t(j)];
        Run& r = runs[size_t(j)];
        const Tap ty = s.Row(r.next);
        const int i0 = ty.i0, i1 = ty.i1;
        if (j > 0 && runs[size_t(j) - 1].next <= i1) {
          --j;  // the rows it reads come first
          continue;
        }
        const uint8_t *r0, *r1;
        if (j == 0) {
          r0 = src_.Row(i0);
          r1 = src_.Row(i1);
        } else {
          r0 = RingRow(runs[size_t(j) - 1], stages_[size_t(j) - 1].w, i0);
          r1 = RingRow(runs[size_t(j) - 1], stages_[size_t(j) - 1].w, i1);
        }
        uint8_t* out = RingRow(r, s.w, r.next);
        if (s.cols)
          s.cols->Blend(*r.gathered, r0, i0, r1, i1, ty.w0, ty.w1, out);
        else if (!s.lanes.empty())
          resize_rows::BlendRows(r0, r1, s.lanes.data(), s.o0.data(), s.o1.data(), s.wx1.data(), ty.w0, ty.w1, s.w,
                                 out);
        else
          resize_rows::avx2::BlendRows(r0, r1, s.eights.data(), s.o0.data(), s.o1.data(), s.wx1.data(), ty.w0,
                                       ty.w1, s.w, out);
        if (r.next >= r.from && r.next < r.to) Show(j, r.next, out);
        ++r.next;
        if (j < top) ++j;
      }
    }
  }

  // About the memory the stages take when `parts` cores run them: each
  // core's two rows of every stage, and the tables.
  size_t Bytes(int parts) const {
    size_t bytes = 0;
    for (const Stage& s : stages_)
      bytes += size_t(parts) * 2 * Pitch(s.w) + s.wx1.size() * sizeof(float) +
               s.lanes.size() * sizeof(resize_rows::Lanes) + s.eights.size() * sizeof(resize_rows::Eights) +
               (s.o0.size() + s.o1.size()) * sizeof(int) + (s.cols ? 28 * size_t(s.w) : 0);
    return bytes;
  }

  // The parts of the source (stage 0) no stage covers.
  void ShowSource() {
    const int W = src_.Width(), H = src_.Height();
    for (int y = 0; y < H; ++y) Lay(dst_.Row(y), src_.Row(y), W, H, y, stages_.empty());
  }

 private:
  struct Stage {
    Stage(int at, int w, int h, int fromW, int fromH)
        : at(at), w(w), h(h), fromH(fromH), fy(AxisScale(fromH, h, 1)) {
      const Axis ax = MakeAxis(fromW, w, 1);
      o0.resize(size_t(w));
      o1.resize(size_t(w));
      wx1.assign(size_t(w) + 16, 0.0f);  // zero past the row: vector tails
      for (size_t x = 0; x < size_t(w); ++x) {
        o0[x] = 3 * ax.i0[x];
        o1[x] = 3 * ax.i1[x];
        wx1[x] = ax.w1[x];
      }
    }
    // The neighbours of pixels first .. end - 1 lie within `bytes` of the
    // first one's left neighbour (offsets never fall with x).
    bool Near(size_t first, size_t end, int bytes) const { return o1[end - 1] + 3 - o0[first] <= bytes; }
    void MakeLanes() {
      lanes.resize((size_t(w) + 15) / 16);
      for (size_t g = 0; g < lanes.size(); ++g) {
        const size_t first = 16 * g, end = std::min(size_t(w), first + 16);
        resize_rows::Lanes& l = lanes[g];
        const bool near = Near(first, end, 64);
        l.base = near ? o0[first] : 0;
        l.span = near ? o1[end - 1] + 3 - l.base : 0;
        for (size_t x = first; x < end; ++x) {
          l.left[x - first] = uint8_t(near ? o0[x] - l.base : 3 * int(x - first));
          l.right[x - first] = uint8_t(near ? o1[x] - l.base : 3 * int(x - first));
        }
      }
    }
    void MakeEights() {
      eights.resize((size_t(w) + 7) / 8);
      for (size_t g = 0; g < eights.size(); ++g) {
        resize_rows::Eights& e = eights[g];
        std::memset(e.left, 0x80, sizeof e.left);
        std::memset(e.right, 0x80, sizeof e.right);
        const size_t first = 8 * g, end = std::min(size_t(w), first + 8), half = std::min(end, first + 4);
        e.near = Near(first, half, 16) && (half == end || Near(half, end, 16));
        for (size_t x = first; x < end; ++x) {
          const size_t i = x - first, four = i / 4;
          const int base = e.near ? o0[first + 4 * four] : 0;
          e.base[four] = base;
          e.left[4 * i] = uint8_t(e.near ? o0[x] - base : 3 * int(i % 4));
          e.right[4 * i] = uint8_t(e.near ? o1[x] - base : 3 * int(i % 4));
        }
        if (half == end) e.base[1] = e.base[0];
      }
    }
    // Row t's source rows and weights, worked out as needed: kept for every
    // row of every stage, they would take more memory than the image.
    Tap Row(int t) const { return AxisTap(t, fromH, fy); }
    // The column offsets are needed after the tables are made only for
    // pixels too far apart; for most stages they can go.
    void Trim(bool farApart) {
      if (farApart) return;
      std::vector<int>().swap(o0);
      std::vector<int>().swap(o1);
    }
    int at, w, h;   // laid at (at, at), w x h
    int fromH;      // the previous stage's height
    float fy;       // and its scale to this one
    std::vector<int> o0, o1;  // each column's neighbours' byte offsets
    std::vector<float> wx1;
    std::vector<resize_rows::Lanes> lanes;    // the 512-bit rows' tables
    std::vector<resize_rows::Eights> eights;  // the 256-bit rows'
    std::optional<Columns> cols;              // without either: the portable rows
  };
  struct Run {
    int from = 0, next = 0, to = 0;        // rows written: from .. to - 1; next to make
    std::vector<uint8_t> ring;             // the last two rows made
    std::optional<GatheredRows> gathered;  // the portable rows' rearranged source rows
  };

  // Ring rows have room for the wide rows' whole vectors past the pixels.
  static size_t Pitch(int w) { return 3 * size_t(w) + 128; }
  static uint8_t* RingRow(Run& r, int w, int t) { return r.ring.data() + size_t(t & 1) * Pitch(w); }

  // Stage j's row t where the next stage does not cover it.
  void Show(int j, int t, const uint8_t* row) {
    const Stage& s = stages_[size_t(j)];
    Lay(dst_.Row(s.at + t) + 3 * size_t(s.at), row, s.w, s.h, t, j + 1 == int(stages_.size()));
  }

  // Row t of a w x h stage into out: whole for the last stage and for the
  // rows above and below the next one, else only the step on either side.
  void Lay(uint8_t* out, const uint8_t* row, int w, int h, int t, bool last) const {
    const int d = step_;
    if (last || t < d || t >= h - d) {
      std::memcpy(out, row, 3 * size_t(w));
    } else {
      std::memcpy(out, row, 3 * size_t(d));
      std::memcpy(out + 3 * size_t(w - d), row + 3 * size_t(w - d), 3 * size_t(d));
    }
  }

  const TFastDIB& src_;
  TFastDIB& dst_;
  int step_;
  bool wide_ = WideVectors() && resize_rows::Built();
  bool avx2_ = Avx2Vectors() && resize_rows::avx2::Built();
  std::vector<Stage> stages_;
};

}  // namespace

bool ResizeBilinearNested(const TFastDIB& Source, TFastDIB& Target, int Step, int Stages) {
  if (&Source == &Target || Source.Empty() || Step < 1 || Stages < 0) return false;
  const int W = Source.Width(), H = Source.Height();
  if (2 * int64_t(Stages) * Step >= std::min(W, H)) return false;
  if (!Target.Reshape(W, H)) return false;
  Nest nest(Source, Target, Step, Stages);
  nest.ShowSource();
  int parts = int(RowBands(H - 2 * Stages * Step).size());
  // Each core keeps two rows of every stage. With very many stages (a step
  // of 1 on a large image) one core's rows alone come near the image's size:
  // then one core works, so that the rows and tables stay within one image.
  if (parts > 1 && nest.Bytes(parts) > 3 * size_t(W) * size_t(H)) parts = 1;
  ParallelTasks(parts, [&](int part) { nest.RunBand(part, parts); });
  return true;
}

bool ResizeBilinear(TFastDIB& Surface, int NewW, int NewH, int Mode) {
  if (Surface.Empty() || (Mode != 0 && Mode != 1) || !SizeAllowed(NewW, NewH)) return false;
  if (NewW == Surface.Width() && NewH == Surface.Height()) return true;
  TFastDIB T;
  if (!ResizeBilinearInto(Surface, T, NewW, NewH, Mode)) return false;
  Surface = std::move(T);  // the temporary's pixels become the surface's
  return true;
}

void Rotate90Clockwise(TFastDIB& Surface, TFastDIB& Scratch) {
  if (Surface.Empty()) return;
  TFastDIB local;
  TFastDIB& T = &Scratch == &Surface ? local : Scratch;
  const int W = Surface.Width(), H = Surface.Height();
  if (!T.Reshape(H, W)) return;
  // Target row x holds source column x from the bottom up. Tiles of 32 x 32
  // pixels keep the 32 source rows read and the 32 target rows written
  // within a few pages; each core takes whole bands of target rows.
  // Pixels move as four-byte words, written left to right so that each
  // word's extra byte is overwritten by the next pixel; so the tiles run
  // from the bottom source rows up, and the row's last pixel (source row
  // 0), whose extra byte would fall past the row, moves as three bytes.
  constexpr int kTile = 32;
  const uint8_t* const* rows = Surface.RowTable.data();
  if (WideVectors() && rotate_rows::Built() && W >= 16 && H >= 16) {
    // Blocks of 16 x 16 pixels turned in vectors; the pixels of the last
    // H mod 16 source rows, and of the last columns of each core's band,
    // one at a time.
    const int H16 = H / 16 * 16;
    ParallelBands(W, kTile, [&](int x0, int x1) {
      auto one = [&](int x, int y) { std::memcpy(T.Row(x) + 3 * size_t(H - 1 - y), rows[y] + 3 * size_t(x), 3); };
      int x = x0;
      for (; x + 16 <= x1; x += 16) {
        uint8_t* dst[16];
        for (int y0 = 0; y0 < H16; y0 += 16) {
          for (int i = 0; i < 16; ++i) dst[i] = T.Row(x + i) + 3 * size_t(H - 16 - y0);
          rotate_rows::Block(rows + y0, 3 * size_t(x), dst);
        }
        for (int i = 0; i < 16; ++i)
          for (int y = H16; y < H; ++y) one(x + i, y);
      }
      for (; x < x1; ++x)
        for (int y = 0; y < H; ++y) one(x, y);
    });
    Surface.Swap(T);
    return;
  }
  ParallelBands(W, kTile, [&](int x0, int x1) {
    for (int y0 = (H - 1) / kTile * kTile; y0 >= 0; y0 -= kTile) {
      const int y1 = std::min(H, y0 + kTile), yEnd = std::max(y0, 1);
      for (int x = x0; x < x1; ++x) {
        uint8_t* d = T.Row(x) + 3 * size_t(H - 1);
        const size_t sx = 3 * size_t(x);
        for (int y = y1 - 1; y >= yEnd; --y) {
          uint32_t v;
          std::memcpy(&v, rows[y] + sx, 4);
          std::memcpy(d - 3 * size_t(y), &v, 4);
        }
        if (y0 == 0) std::memcpy(d, rows[0] + sx, 3);
      }
    }
  });
  Surface.Swap(T);
}

namespace {
// Index of a 16.16 position: X >> 16 when X >= 0; below 0 the position is
// counted from the far side, W - 1 - ((-X >> 16) mod W), which is the same
// as wrapping (X - 1) >> 16.
inline int64_t FixedIndex(int64_t X) { return (X - (X < 0 ? 1 : 0)) >> 16; }

// Wrapped index q mod n for every q in lo .. hi.
std::vector<int> WrapTable(int64_t lo, int64_t hi, int n) {
  std::vector<int> t(size_t(hi - lo + 1));
  int64_t r = lo % n;
  if (r < 0) r += n;
  for (size_t i = 0; i < t.size(); ++i) {
    t[i] = int(r);
    if (++r == n) r = 0;
  }
  return t;
}
}  // namespace

void RotateWrapped(const TFastDIB& Source, TFastDIB& Target, int CX, int CY, double Angle) {
  if (&Source == &Target || Source.Empty() || Target.Empty() || !std::isfinite(Angle)) return;
  const int Ws = Source.Width(), Hs = Source.Height(), Wt = Target.Width(), Ht = Target.Height();
  const double theta = -Angle * kPi / 180.0;
  const double S = std::sin(theta), C = std::cos(theta);
  const int64_t Sf = int32_t(Nearest(S * 65536.0)), Cf = int32_t(Nearest(C * 65536.0));
  const double dx = (Wt - Ws) / 2.0, dy = (Ht - Hs) / 2.0;
  // Row starts in 16.16; 64-bit so that no target size can overflow them.
  std::vector<int64_t> X0(static_cast<size_t>(Ht)), Y0(static_cast<size_t>(Ht));
  int64_t xMin = INT64_MAX, xMax = INT64_MIN, yMin = INT64_MAX, yMax = INT64_MIN;
  for (int y = 0; y < Ht; ++y) {
    const int64_t X = Nearest(((-CX) * C + CX - (y - CY) * S - dx) * 65536.0);
    const int64_t Y = Nearest(((-CX) * S + CY + (y - CY) * C - dy) * 65536.0);
    X0[size_t(y)] = X;
    Y0[size_t(y)] = Y;
    const int64_t Xe = X + int64_t(Wt - 1) * Cf, Ye = Y + int64_t(Wt - 1) * Sf;
    xMin = std::min({xMin, X, Xe});
    xMax = std::max({xMax, X, Xe});
    yMin = std::min({yMin, Y, Ye});
    yMax = std::max({yMax, Y, Ye});
  }
  // The positions move linearly along a row, so the indices met lie between
  // those of the row ends; wrapping them is a table look-up.
  const int64_t uLo = FixedIndex(xMin), uHi = FixedIndex(xMax);
  const int64_t vLo = FixedIndex(yMin), vHi = FixedIndex(yMax);
  constexpr int64_t kMaxTable = int64_t(1) << 22;
  const bool tables = uHi - uLo < kMaxTable && vHi - vLo < kMaxTable;
  const std::vector<int> uWrap = tables ? WrapTable(uLo, uHi, Ws) : std::vector<int>();
  const std::vector<int> vWrap = tables ? WrapTable(vLo, vHi, Hs) : std::vector<int>();
  const TPixel24* const* rows = reinterpret_cast<const TPixel24* const*>(Source.RowTable.data());

  // The target is walked in square tiles: a tile's source footprint stays in
  // cache whatever the angle, where whole rows would run across the source.
  constexpr int kTile = 64;
  ParallelRows(Ht, [&](int begin, int end) {
    for (int ty = begin; ty < end; ty += kTile) {
      const int ty1 = std::min(end, ty + kTile);
      for (int tx = 0; tx < Wt; tx += kTile) {
        const int tx1 = std::min(Wt, tx + kTile);
        for (int y = ty; y < ty1; ++y) {
          int64_t X = X0[size_t(y)] + int64_t(tx) * Cf, Y = Y0[size_t(y)] + int64_t(tx) * Sf;
          TPixel24* d = Target.Row24(y);
          if (tables) {
            const int* uw = uWrap.data() - uLo;
            const int* vw = vWrap.data() - vLo;
            for (int x = tx; x < tx1; ++x) {
              d[x] = rows[vw[FixedIndex(Y)]][uw[FixedIndex(X)]];
              X += Cf;
              Y += Sf;
            }
          } else {
            for (int x = tx; x < tx1; ++x) {
              int64_t u = FixedIndex(X) % Ws, v = FixedIndex(Y) % Hs;
              if (u < 0) u += Ws;
              if (v < 0) v += Hs;
              d[x] = rows[v][u];
              X += Cf;
              Y += Sf;
            }
          }
        }
      }
    }
  });
}

}  // namespace vorq
