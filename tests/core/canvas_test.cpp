// The canvas's screen-to-image mapping and the seam meter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/effects/seam_meter.h"
#include "core/surface/view_render.h"
#include "test_util.h"

using namespace vorq;

namespace {

// Screen pixel v shows plane pixel floor(v * 2^-zoom); the plane holds the image once,
// or three times side by side with the image itself in the middle.
int RefPlane(int v, int zoom) { return int(std::floor(std::ldexp(double(v), -zoom))); }

uint32_t Expected(const TFastDIB& s, int px, int py) {
  const TPixel24 p = s.GetPixel(py % s.Height(), px % s.Width());
  return 0xff000000u | uint32_t(p.R) << 16 | uint32_t(p.G) << 8 | p.B;
}

}  // namespace

TEST(ViewRender, EveryZoomAndTilingShowsTheModularPixelDimmedCopiesAside) {
  for (auto [w, h] : {std::pair{5, 3}, {1, 7}, {7, 1}, {1, 1}}) {
    const TFastDIB s = test::Random(w, h, 11u + unsigned(w));
    for (bool tiled : {false, true})
      for (int zoom = kMinZoomLog2; zoom <= kMaxZoomLog2; ++zoom) {
        const ViewGeometry g{w, h, zoom, tiled, false};
        const int copies = tiled ? 3 : 1;
        const int ew = ViewExtent(g, w), eh = ViewExtent(g, h);
        ASSERT_EQ(ew, int(std::ceil(std::ldexp(double(copies * w), zoom))));
        ASSERT_EQ(eh, int(std::ceil(std::ldexp(double(copies * h), zoom))));
        // A window reaching one pixel past the view on every side: black there.
        std::vector<uint32_t> out(size_t(ew + 2) * size_t(eh + 2));
        ViewScratch scratch;
        RenderView(s, g, -1, -1, ew + 2, eh + 2, out.data(), ew + 2, scratch);
        for (int y = -1; y <= eh; ++y)
          for (int x = -1; x <= ew; ++x) {
            const uint32_t got = out[size_t(y + 1) * size_t(ew + 2) + size_t(x + 1)];
            const bool inside = x >= 0 && y >= 0 && x < ew && y < eh;
            const uint32_t want = inside ? Expected(s, RefPlane(x, zoom), RefPlane(y, zoom)) : 0xff000000u;
            ASSERT_EQ(got, want) << w << "x" << h << " zoom " << zoom << " tiled " << tiled << " at " << x << "," << y;
          }
        // Image coordinates: the middle copy is the image itself.
        for (int x = 0; x < ew; ++x) ASSERT_EQ(ViewToImage(g, w, x), RefPlane(x, zoom) - (tiled ? w : 0));
        for (int i = -w; i < 2 * w; ++i) {  // the first screen pixel showing i, inside the view or not
          const int v = ImageToView(g, w, i);
          ASSERT_GE(ViewToImage(g, w, v), i);
          ASSERT_LT(ViewToImage(g, w, v - 1), i);
        }
      }
  }
  const TFastDIB s = test::Uniform(4, 2, MakePixel(255, 0, 100));
  const ViewGeometry g{4, 2, 0, true, true};
  std::vector<uint32_t> out(12 * 6);
  ViewScratch scratch;
  RenderView(s, g, 0, 0, 12, 6, out.data(), 12, scratch);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool middle = x >= 4 && x < 8 && y >= 2 && y < 4;
      // Halved and lifted by 64: 255 -> 191, 0 -> 64, 100 -> 114.
      EXPECT_EQ(out[size_t(y * 12 + x)], middle ? 0xffff0064u : 0xffbf4072u) << x << "," << y;
    }
  // Without copies nothing is dimmed; zooms beyond the range act as its ends.
  RenderView(s, ViewGeometry{4, 2, 0, false, true}, 0, 0, 4, 2, out.data(), 4, scratch);
  EXPECT_EQ(std::count(out.begin(), out.begin() + 8, 0xffff0064u), 8);
  EXPECT_EQ(ViewExtent(ViewGeometry{4, 2, kMaxZoomLog2 + 2, false, false}, 4), 4 << kMaxZoomLog2);
  EXPECT_EQ(ViewToImage(ViewGeometry{4, 2, kMinZoomLog2 - 3, false, false}, 4, 1), 1 << -kMinZoomLog2);
}

TEST(SeamMeter, FlatPeriodicAndRampImages) {
  // Flat pictures, any size down to 1x1, show no seam.
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {2, 2}, {9, 4}}) {
    const SeamReport r = MeasureSeams(test::Uniform(w, h, MakePixel(255, 255, 255)));
    EXPECT_TRUE(r.Both == 1.0 && r.LeftRight == 1.0 && r.TopBottom == 1.0) << w << "x" << h;
  }
  // A triangle wave one period wide: the wrap is a step like any other.
  const uint8_t wave[8] = {0, 10, 20, 30, 40, 30, 20, 10};
  const TFastDIB tri = test::Painted(8, 3, [&](int x, int) { return test::Grey(wave[x]); });
  EXPECT_DOUBLE_EQ(MeasureSeams(tri).LeftRight, 1.0);
  // A ramp of 10 per column over 7 columns: the wrap steps 60, inside 10.
  const TFastDIB ramp = test::Painted(7, 3, [](int x, int) { return MakePixel(uint8_t(10 * x), 0, uint8_t(10 * x)); });
  // Per channel (two of three change): seam 40, inside 20/3.
  const SeamReport r = MeasureSeams(ramp);
  EXPECT_DOUBLE_EQ(r.LeftRight, (40.0 + 0.5) / (20.0 / 3 + 0.5));
  EXPECT_DOUBLE_EQ(r.TopBottom, 1.0);
  // Together: 9 left/right and 21 top/bottom channel steps, weighed alike.
  EXPECT_DOUBLE_EQ(r.Both, (40.0 * 9 / 30 + 0.5) / (20.0 / 3 * 9 / 30 + 0.5));
  EXPECT_EQ(SeamReportText(r), "5.00 (left/right 5.65, top/bottom 1.00)");
  // Grey 10 x + 40 y: two columns (rows) make the seam pair the inside pair,
  // yet both still count towards Both.
  auto grid = [](int w, int h) {
    return test::Painted(w, h, [](int x, int y) { return test::Grey(10 * x + 40 * y); });
  };
  const SeamReport narrow = MeasureSeams(grid(2, 3)), low = MeasureSeams(grid(3, 2));
  EXPECT_DOUBLE_EQ(narrow.TopBottom, 80.5 / 40.5);  // seam 80, inside (40 + 40) / 2
  EXPECT_DOUBLE_EQ(narrow.Both, (570.0 / 15 + 0.5) / (660.0 / 30 + 0.5));
  EXPECT_DOUBLE_EQ(low.Both, (480.0 / 15 + 0.5) / (840.0 / 30 + 0.5));
  // Noise is as different across the wrap as inside it.
  const SeamReport noise = MeasureSeams(test::Random(512, 512, 3));
  EXPECT_NEAR(noise.Both, 1.0, 0.05);
}
