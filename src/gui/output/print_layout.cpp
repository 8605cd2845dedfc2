#include "gui/output/print_layout.h"

#include <cmath>
#include <utility>

#include "core/oplog/log_format.h"
#include "core/util/arith.h"

namespace vorq {

namespace {

std::optional<double> Real(const std::string& text, std::string& error) {
  auto v = ParseReal(text);
  if (!v) error = NotAReal(text);
  return v;
}

// A size in dots that the printer can be asked for: at least one dot once rounded (half a dot rounds to none).
bool InRange(double dots) { return std::isfinite(dots) && dots > 0.5 && dots < double(kMaxPrintDots) + 0.5; }

}  // namespace

std::optional<PrintPlacement> PlacePrint(const PrintChoices& c, const PrintDevice& d, int imageWidth,
                                         int imageHeight, std::string& error) {
  error.clear();
  const auto parsedScale = Real(c.Scale, error);
  if (!parsedScale) return std::nullopt;
  const double scale = *parsedScale == 0 ? 0.1 : *parsedScale;

  // A quarter inch.
  const int64_t mx = Nearest(d.PrinterDpiX * 0.25);
  const int64_t my = Nearest(d.PrinterDpiY * 0.25);

  double w = 1, h = 1;
  switch (c.Size) {
    case kMatchScreenSize:
      w = d.PrinterDpiX * imageWidth / d.ScreenDpiX * scale;
      h = d.PrinterDpiY * imageHeight / d.ScreenDpiY * scale;
      break;
    case kSpecifySize:
    case kCDCoverFront:
    case kCDCoverBack: {
      const auto wide = Real(c.Wide, error);
      if (!wide) return std::nullopt;
      const auto high = Real(c.High, error);
      if (!high) return std::nullopt;
      w = *wide * d.PrinterDpiX;
      h = *high * d.PrinterDpiY;
      break;
    }
    case kStretchToFitPage:
      w = double(d.PageWidth - 2 * mx);
      h = double(d.PageHeight - 2 * my);
      break;
    default: break;
  }
  // Nothing to print, a mirrored picture or a size past any paper: refused
  // before the document begins.
  if (!InRange(w) || !InRange(h)) {
    error = "The printed image would be less than one printer dot or more than " + FormatInt(kMaxPrintDots) +
            " dots wide or high. Check the scaling factor and the size in inches.";
    return std::nullopt;
  }

  PrintPlacement p;
  p.Width = Nearest(w);
  p.Height = Nearest(h);
  if (c.Align == kAlignCenter) {
    // Centred on the whole page; the margins play no part.
    p.Left = (d.PageWidth - p.Width) / 2;
    p.Top = (d.PageHeight - p.Height) / 2;
  } else {
    p.Left = mx;
    p.Top = my;
  }
  p.Frame = c.Size == kCDCoverFront || c.Size == kCDCoverBack;
  return p;
}

std::string ScaleForScreenWidth(int screenWidth) {
  // The factor that prints a screen-sized image at its size on the screen.
  static constexpr std::pair<int, const char*> kFactors[] = {
      {640, "1.75"}, {800, "1.375"}, {1024, "1.083"}, {1152, "0.979"}};
  for (const auto& [width, factor] : kFactors)
    if (width == screenWidth) return factor;
  return "1.0";
}

std::string InchesText(double inches) { return FormatFixed2(inches); }

std::optional<std::string> CoupledSize(const std::string& typed, bool fromWidth, int imageWidth, int imageHeight,
                                       std::string& error) {
  error.clear();
  const auto v = Real(typed, error);
  if (!v) return std::nullopt;
  const double ratio = fromWidth ? double(imageHeight) / imageWidth : double(imageWidth) / imageHeight;
  return InchesText(ratio * *v);
}

}  // namespace vorq
