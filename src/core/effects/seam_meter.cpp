#include "core/effects/seam_meter.h"

#include <cstdlib>

#include "core/oplog/log_format.h"

namespace vorq {

namespace {

struct Sums {
  int64_t Seam = 0, Inside = 0, Count = 0;  // Inside sums two pairs per Count
};

inline int Diff(const uint8_t* a, const uint8_t* b) {
  return std::abs(int(a[0]) - b[0]) + std::abs(int(a[1]) - b[1]) + std::abs(int(a[2]) - b[2]);
}

double Ratio(const Sums& s) {
  if (s.Count == 0) return 1;
  const double seam = double(s.Seam) / double(s.Count);
  const double inside = double(s.Inside) / double(2 * s.Count);
  return (seam + 0.5) / (inside + 0.5);
}

}  // namespace

SeamReport MeasureSeams(const TFastDIB& s) {
  const int W = s.Width(), H = s.Height();
  Sums lr, tb;
  if (W >= 2 && H >= 1) {
    const int a = 0, b = 3, y = 3 * (W - 2), z = 3 * (W - 1);
    for (int row = 0; row < H; ++row) {
      const uint8_t* p = s.RowTable[row];
      lr.Seam += Diff(p + z, p + a);
      lr.Inside += Diff(p + a, p + b) + Diff(p + y, p + z);
    }
    lr.Count = int64_t(3) * H;
  }
  if (H >= 2 && W >= 1) {
    const uint8_t *a = s.RowTable[0], *b = s.RowTable[1], *y = s.RowTable[H - 2], *z = s.RowTable[H - 1];
    for (int x = 0; x < 3 * W; x += 3) {
      tb.Seam += Diff(z + x, a + x);
      tb.Inside += Diff(a + x, b + x) + Diff(y + x, z + x);
    }
    tb.Count = int64_t(3) * W;
  }
  SeamReport r;
  r.LeftRight = Ratio(lr);
  r.TopBottom = Ratio(tb);
  r.Both = Ratio({lr.Seam + tb.Seam, lr.Inside + tb.Inside, lr.Count + tb.Count});
  return r;
}

std::string SeamReportText(const SeamReport& r) {
  return FormatFixed2(r.Both) + " (left/right " + FormatFixed2(r.LeftRight) + ", top/bottom " +
         FormatFixed2(r.TopBottom) + ")";
}

}  // namespace vorq
