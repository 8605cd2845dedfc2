// The painting tools of the tool box and the mouse gestures on the working
// image. Everything is drawn straight into WorkSurface by the raster layer;
// the view only feeds mouse positions in image pixels, repaints what a call
// reports as changed and draws the rubber band it is told to draw (the band
// is never part of the pixels).
//
// A view drives one gesture like this:
//   press:   r = tools.MouseDown(ed, x, y, button)
//   move:    r = tools.MouseMove(ed, x, y)          (every move, dragging or not)
//   release: r = tools.MouseUp(ed, x, y, button)
// After each call: repaint r.Changed, draw r.Band from (BandX0, BandY0) to
// (BandX1, BandY1) (or no band), update the Pen Color button when
// r.PenColorChanged, run the text tool when r.RunTextTool. When
// r.AskSelectionAction is set (a select drag was released), show the
// "Selection Action" dialog and pass its answer to tools.SelectionChosen;
// closing the dialog counts as Cancel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/oplog/line_shapes.h"
#include "core/raster/pen.h"
#include "core/surface/fast_dib.h"

namespace vorq {

class Editor;

// The tool numbers of the tool box's buttons.
enum class PaintTool {
  FreeHand = 0,
  Ellipse = 1,
  Rectangle = 2,
  Line = 3,
  Text = 4,
  Select = 5,
  Fill = 6,
  Eyedropper = 7,
};
constexpr int kPaintToolCount = 8;

// The image cursor of each tool ("BRUSH", "ELLIP", "RECT", "LINE", "CROP",
// "FILL", "EYEDROP"); empty for the text tool, which uses the standard cross.
const char* ToolCursorName(PaintTool tool);

enum class MouseButton { Left, Middle, Right };

enum class RubberBand { None, Line, Rectangle, Ellipse, Selection };

// The Selection Action dialog's buttons.
enum class SelectionAction { CopyToClipboard, CopyToBuffer, CropToSelection, Cancel };

// What the painting controls and the current gesture hold.
struct PaintState {
  PaintTool Tool = PaintTool::FreeHand;
  bool FillShape = true;  // the tool box's "Fill Shape"

  bool Dragging = false;
  int OriginX = 0, OriginY = 0;  // press position
  int EndX = 0, EndY = 0;        // last band position; on release the release position
  bool SelectionPending = false;  // released select drag waiting for SelectionChosen
};

struct GestureResult {
  RubberBand Band = RubberBand::None;  // the band to show now; None: show none
  int BandX0 = 0, BandY0 = 0, BandX1 = 0, BandY1 = 0;
  PixelRect Changed;                // part of WorkSurface whose pixels changed
  bool PenColorChanged = false;     // the eyedropper set ToolBox.PenColor
  bool RunTextTool = false;         // the text tool was pressed at the given position
  bool AskSelectionAction = false;  // show the Selection Action dialog, then call SelectionChosen
  bool Refused = false;             // the press was refused with a message (pen size not a number)
};

struct SelectionResult {
  bool Done = false;  // false: cancelled, or the selection was empty
  // Copy to Clipboard: the selected pixels, for the view to put on the clipboard.
  TFastDIB Clipboard;
  // Copy to Buffer: BufferSurface holds the selection; show it in the buffer
  // thumbnail, enable Paste Buffer to Image, Merge Buffer With Image and Copy
  // Buffer to Clipboard, and raise the "Buffer" label.
  bool BufferChanged = false;
  bool ImageChanged = false;  // Crop to Selection replaced WorkSurface
};

class PaintTools {
 public:
  PaintState State;

  // Tool buttons and the Pen menu. A tool change abandons a gesture in
  // progress; a pen style outside 0 .. 11 becomes 0.
  void SelectTool(PaintTool tool);
  // The pen style is the editor's (it is saved with the settings).
  void SetPenStyle(Editor& ed, int index);

  GestureResult MouseDown(Editor& ed, int x, int y, MouseButton button);
  GestureResult MouseMove(Editor& ed, int x, int y);
  GestureResult MouseUp(Editor& ed, int x, int y, MouseButton button);
  SelectionResult SelectionChosen(Editor& ed, SelectionAction action);

 private:
  GestureResult Band() const;
  // The pen of the current gesture, fixed at the press.
  Pen pen_;
  std::string penSizeText_;
  std::unique_ptr<PenStroke> stroke_;
  // Wrap Painting, fixed at the press: the free-hand stroke once more for each
  // neighbouring tile, so that it comes back at the opposite edge.
  bool wrap_ = false;
  std::vector<std::unique_ptr<PenStroke>> wrapStrokes_;
};

// Log lines of the tools (colours 0x00BBGGRR).
std::string FreeHandLogLine(const std::string& penSize, uint32_t pen, bool wrap = false);
std::string ShapeLogLine(PaintTool tool, int x0, int y0, int x1, int y1, const std::string& penSize, uint32_t pen,
                         uint32_t brush, bool filled, bool wrap = false);
std::string LineLogLine(int x0, int y0, int x1, int y1, const std::string& penSize, uint32_t pen, int penStyle,
                        bool wrap = false);
// The plain painting line of a wrapped one (", Wrap"), and whether it was;
// any other kind comes back unchanged.
LineKind UnwrappedKind(LineKind kind, bool& wrap);
// The tolerance shows in the line only when it is not 0.
std::string FloodFillLogLine(int x, int y, uint32_t brush, int tolerance = 0, bool wrap = false);
std::string EyedropperLogLine(int x, int y);
std::string SelectLogLine(int x0, int y0, int x1, int y1, SelectionAction action, bool wrap = false);

}  // namespace vorq
