// The Gradient menu, the two gradient designers' rules and the image pop-up
// menu's colour fields, without widgets. The dialogs call the handlers as
// their fields change; a replayed line goes through the same handlers.
#pragma once

#include <string>
#include <vector>

#include "core/oplog/line_shapes.h"
#include "editor/editor.h"

namespace vorq {

// ---- Gradient Designer ----

// Width and height fields: an empty text, a size below 2 or one that would
// make the gradient larger than the largest image is ignored. Returns "" or
// the conversion message for a text that is not an integer (nothing changes).
std::string meWideChange(GradientState& g, const std::string& text);
std::string meHighChange(GradientState& g, const std::string& text);
// Any integer angle; empty ignored.
std::string meAngleChange(GradientState& g, const std::string& text);
// One of kGradientStyleItems; false (nothing changes) for another text.
bool cbStyleChange(GradientState& g, const std::string& item);
// "D": navy to aqua, VertCenter, 256 x 256, angle 0, in the fields too.
void bDefaultClick(GradientState& g);

// ---- Multi-Gradient Designer ----

constexpr int kMultiMinWidth = 75;
constexpr int kMarkerHalf = 6;  // a marker's position is its left edge + 6

// Width field: empty or below 75 ignored; height field: empty ignored,
// sizes the program cannot make ignored. "" or the conversion message.
std::string eWideChange(MultiGradientState& m, const std::string& text);
std::string eHighChange(MultiGradientState& m, const std::string& text);
// The preview's size. A width narrower than the right marker puts it at
// width - 12; the left marker then keeps 6 pixels left of the right one,
// so marker, position and label always agree. Markers left of the strip
// (after a preview narrower than 12) return to a third and two thirds of
// a width of 75 or more.
void SetMultiPreviewSize(MultiGradientState& m, int w, int h);
// A marker dropped with its left edge at markerLeft: the left one stays 6
// pixels left of the right one (no limit at the left edge); the right one
// stays 6 right of the left one and within the preview's width - 4.
void DropLeftMarker(MultiGradientState& m, int markerLeft);
void DropRightMarker(MultiGradientState& m, int markerLeft);

// ---- main window commands ----

// Start-up: the designer takes the image's size and renders once; the
// thumbnail is told. No snapshot, no line.
void DrawStartGradient(Editor& ed);
// Gradient ▸ Design...: the fields take the image's size, the dialog shows;
// on OK the thumbnail gets the new gradient and "Design Gradient, ..." is
// written (not while Draw Gradient runs it). True on OK.
bool Design1Click(Editor& ed);
// Gradient ▸ Paste To Image: the image becomes the gradient, and so does
// the image Reset returns to. Writes "Paste Gradient to Image".
void PasteToImage1Click(Editor& ed);
// The image pop-up menu. None of them is an effect.
void MultiGradient1Click(Editor& ed);
void ColorWheel1Click(Editor& ed);
void Rainbow1Click(Editor& ed);

// ---- the Gradient effect (Draw Gradient), for the effect table ----

// Its first half, before the snapshot: the designer, writing no line. False
// only when a replayed line's fields were refused (a message was shown).
bool DrawGradientDesign(Editor& ed);
// Its pixels: the paste without a line of its own.
void PasteGradientPixels(Editor& ed);

// ---- replay: the dialogs answered with a line's values ----

// "" or why the line cannot be replayed.
std::string DesignGradientFromLine(Editor& ed, const std::vector<LineArg>& args);
std::string MultiGradientFromLine(Editor& ed, const std::vector<LineArg>& args);

}  // namespace vorq
