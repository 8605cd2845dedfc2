// Size/Aspect commands, the Seamless submenu and the Set Size dialog's rules,
// without widgets. The main window's menu items call these; the dialog keeps
// its state in Editor::Sizer and calls the Sizer* functions from its events.
#pragma once

#include <cstdint>
#include <string>

#include "editor/editor.h"

namespace vorq {

// ---- Set Size dialog ----

// Selection entries of "Select Size".
enum SizerEntry { kSize640x480, kSize800x600, kSize1024x768, kSizeCustom };
// Items of the dialog's context menu.
enum SizerMenuItem { kCdFront, kCdBack, kCdFrontHalf };
// Digits the masked boxes take: width 4, height 3, each percent 3.
constexpr int kSizerWidthDigits = 4, kSizerHeightDigits = 3, kSizerPercentDigits = 3;

enum class SizerBox { Width, Height, PctWidth, PctHeight };

// Every showing (the resize commands call it before EditSize, with the
// image's size): the selection goes to "Custom..." (through the selection
// rule when it was another entry); on the first showing only the boxes and
// NewWidth/NewHeight take the current size. Idempotent.
void SizerShow(SizerState& s, int curW, int curH);
// "Width W  Height H" (two blanks before "Height") for the "Current Size:" label.
std::string SizerCurrentLabel(const SizerState& s);
// Clicking an entry of "Select Size": presets set their size, "Custom..."
// the current size; the boxes show it; "Pixels" is checked. Other indices
// are ignored.
void SizerSelect(SizerState& s, int index);
// Entering any of the four number boxes: the selection goes to "Custom...".
void SizerEnterBox(SizerState& s);
// Leaving a box (or, for a percent box, every edit while it is not empty):
// the pixel boxes set NewWidth/NewHeight to their number; the percent boxes
// set them to percent x current / 100 and show that in the pixel box. False,
// with the conversion message in error, when the text is not a number; an
// empty percent box being edited (leaving = false) is simply ignored.
bool SizerBoxChanged(SizerState& s, SizerBox box, bool leaving, std::string& error);
// The "Pixels" radio button.
void SizerPixels(SizerState& s);
// The "Percent" radio button: selection "Custom..." without unchecking
// "Percent", then both sizes from the percent boxes, width first. False with
// the message at the first percent box that is not a number.
bool SizerPercent(SizerState& s, std::string& error);
// Context menu: "CD Front 912 x 456", "CD Back 564 x 444", "CD Front 1/2" (456 x 456).
void SizerPopup(SizerState& s, int item);
// OK: both pixel boxes are read into NewWidth/NewHeight and the size is
// checked. False (the dialog stays open and shows error) for a box that is
// not a number or a size the program refuses.
bool SizerAccept(SizerState& s, std::string& error);

// "" when W x H can be made; otherwise the message to show.
std::string CheckNewSize(int64_t w, int64_t h);

// ---- Size/Aspect commands (the catalogue effects run through MenuEffect /
// Apply; these are what their routines do) ----

// ReSize Fast / ReSize Smooth to a size already chosen: snapshot, resample,
// the line "Resize Fast, Width W, Height H" (or "Resize Smooth, ...").
// Returns "" on success, otherwise the reason (nothing changed, no snapshot).
std::string ResizeFastTo(Editor& ed, int w, int h);
std::string ResizeSmoothTo(Editor& ed, int w, int h);

// ---- Image ▸ Seamless ----

// Edge Merge 1/16, 1/8, 1/4 (fraction 16, 8 or 4; others are ignored). Names
// itself "EdgeMerge16" ... (the Effect id stays) and writes "Edge Merge 1/16" ...
// It joins the seams the tool box's seam choice names; one axis only adds
// ", Axis Left/Right" or ", Axis Top/Bottom" to the line.
void EdgeMerge(Editor& ed, int fraction);
void N1161Click(Editor& ed);  // Edge Merge 1/16
void N181Click(Editor& ed);   // Edge Merge 1/8
void N141Click(Editor& ed);   // Edge Merge 1/4
// 4 Way Flip: the image doubles in both directions; writes "4 Way Flip".
// When 2W x 2H is beyond the size limit it shows a message, changes nothing
// and returns false.
bool FourWayFlip1Click(Editor& ed);

// ---- Test Tiles window ----

// The 16 "Sample Text" lines: y of line i is 36 i, drawn at x = 8 in 28 pt
// bold and at client width - text width - 12 in 12 pt, clear background.
struct SampleTextLine {
  int Y;
  uint8_t R, G, B;
};
extern const SampleTextLine kSampleTextLines[16];
constexpr const char* kSampleText = "Sample Text";
constexpr int kSampleTextBigX = 8, kSampleTextBigPt = 28, kSampleTextSmallPt = 12, kSampleTextRightMargin = 12;

}  // namespace vorq
