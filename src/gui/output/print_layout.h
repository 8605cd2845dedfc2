// Where and how large the working image lands on the printed page, and the
// texts of the Print Options dialog's boxes. Plain arithmetic: no printer,
// no Qt, so it is tested on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorq {

// rgSize's items.
enum PrintSizeMode : int { kMatchScreenSize, kSpecifySize, kStretchToFitPage, kCDCoverFront, kCDCoverBack };
// rgAlign's and rgOrient's items.
enum PrintAlign : int { kAlignTopLeft, kAlignCenter };
enum PrintOrient : int { kPortrait, kLandscape };

// The dialog's choices, the boxes as typed.
struct PrintChoices {
  int Size = kMatchScreenSize;
  int Align = kAlignTopLeft;
  int Orient = kPortrait;
  std::string Scale = "1.375", Wide = "3.5", High = "3.5";
};

// What the printer (after its orientation is set) and the screen report.
struct PrintDevice {
  double PrinterDpiX = 0, PrinterDpiY = 0;
  int64_t PageWidth = 0, PageHeight = 0;  // printable area in printer dots
  double ScreenDpiX = 0, ScreenDpiY = 0;
};

// The rectangle the image is stretched into, in printer dots from the
// printable area's top left corner, and whether the cutting frame is drawn.
struct PrintPlacement {
  int64_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool Frame = false;
};

// The printed image may be at most this many printer dots wide or high.
constexpr int64_t kMaxPrintDots = 1000000;

// The placement for an image of imageWidth x imageHeight pixels. A box that
// is no number gives its conversion message; a size that comes to less than
// one dot or more than kMaxPrintDots is refused with a message too.
std::optional<PrintPlacement> PlacePrint(const PrintChoices& choices, const PrintDevice& device, int imageWidth,
                                         int imageHeight, std::string& error);

// eScale's text for a screen this many pixels wide.
std::string ScaleForScreenWidth(int screenWidth);
// A size in inches as the boxes show it ("%f": two decimals).
std::string InchesText(double inches);

// "Maintain Ratio": leaving one size box sets the other from the image's
// aspect. fromWidth says which box was left; typed is its text. Returns the
// other box's new text, or nullopt with the conversion message in error.
std::optional<std::string> CoupledSize(const std::string& typed, bool fromWidth, int imageWidth, int imageHeight,
                                       std::string& error);

// The width and height texts of the two CD cover modes.
struct CDCoverSize {
  const char* Wide;
  const char* High;
};
constexpr CDCoverSize kCDFrontSize{"9.5", "4.75"};
constexpr CDCoverSize kCDBackSize{"5.875", "4.625"};

}  // namespace vorq
