// How visible a tile's seams are. Across each wrap edge (column W-1 against
// column 0, row H-1 against row 0) the mean absolute channel difference is
// compared with the same measure between the neighbouring columns (rows) just
// inside both edges: (seam + 1/2) / (inside + 1/2). About 1 means the wrap
// looks like any other step in the picture; well above 1 is a visible seam.
// Half a level on both sides keeps a flat picture at 1 and avoids dividing by 0.
// Reads 4 columns and 4 rows only, so it costs next to nothing after each command.
#pragma once

#include <string>

#include "core/surface/fast_dib.h"

namespace vorq {

struct SeamReport {
  double LeftRight = 1;  // the vertical seam between the right and left edges
  double TopBottom = 1;  // the horizontal seam between the bottom and top edges
  double Both = 1;       // both seams together, each difference weighed alike
};

// An axis shorter than 2 pixels has no seam and counts as 1.
SeamReport MeasureSeams(const TFastDIB& s);
// "1.02 (left/right 1.01, top/bottom 1.03)", always with a "." decimal point.
std::string SeamReportText(const SeamReport& r);

}  // namespace vorq
