// Printing the working image: the printer and screen figures that the
// placement needs, and the page itself.
#pragma once

#include <QImage>
#include <string>

#include "core/surface/fast_dib.h"
#include "gui/output/print_layout.h"

class QPrinter;

namespace vorq::gui {

// The surface's pixels as an image, without a copy; valid while the surface is unchanged.
inline QImage SurfaceImage(const TFastDIB& s) {
  if (s.Empty()) return {};
  return QImage(s.Bits, s.Width(), s.Height(), int(s.BytesPerRow), QImage::Format_BGR888);
}

// The primary screen's width in pixels and its resolution.
struct ScreenMetrics {
  int Width = 800;
  double DpiX = 96, DpiY = 96;
};
ScreenMetrics PrimaryScreenMetrics();

// Sets the printer's orientation, reads its resolution and printable area.
PrintDevice ReadPrintDevice(QPrinter& printer, int orient, const ScreenMetrics& screen);

// Prints the image as the choices say: one page with the image stretched
// into its place (plain copy, no smoothing) and, for the CD covers, a black
// frame one printer dot wide on the picture's outermost dots. A box that is
// no number or a refused size stops it before the document begins: false
// with error set. A printer that cannot start gives false with its reason.
bool PrintImage(QPrinter& printer, const TFastDIB& image, const PrintChoices& choices, const ScreenMetrics& screen,
                std::string& error);

}  // namespace vorq::gui
