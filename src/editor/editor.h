// The editor: what the main window holds and does, without any widgets.
// The Qt main window and the batch tool both drive one of these.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/effects/catalogue.h"
#include "core/gradients/gradient.h"
#include "core/oplog/line_shapes.h"
#include "core/surface/fast_dib.h"
#include "editor/oplog_file.h"
#include "editor/toolbox_panel.h"
#include "editor/ui_port.h"
#include "editor/undo_ring.h"

namespace vorq {

class EffectPreview;

// Texts of the Create-A-Filter dialog's boxes (e1 .. e9 laid out as the kernel, eDiv the divisor).
struct FilterBoxes {
  std::array<std::string, 9> e{"2", "1", "1", "1", "-3", "-1", "1", "-1", "-1"};
  std::string eDiv = "1";
};

// The Set Size dialog's state; it lives as long as the editor so the boxes
// keep their last contents between showings.
struct SizerState {
  bool FirstShow = true;
  int Selection = 3;  // "640 X 480", "800 X 600", "1024 X 768", "Custom..."
  bool Percent = false;
  std::string Width, Height, PctWidth = "50", PctHeight = "50";
  int NewWidth = 0, NewHeight = 0;
  int CurrentWidth = 0, CurrentHeight = 0;  // of the image, set before each showing
};

// The Gradient Designer: its fields as typed and the renderer hGrad, whose
// bitmap and colours are the program's current gradient. It lives as long
// as the editor, so the gradient survives between showings.
struct GradientState {
  GradientState();
  std::string Width = "256", Height = "256", Style = "VertCenter", Angle = "0";
  TVorqGradient hGrad;  // 256 x 256, gsVertCenter, navy to aqua
  std::string Hint = "Current Gradient (Dbl-Click to Paste into Image)";  // the thumbnail's
  bool Composite = false;  // Draw Gradient runs Design and Paste: they write no lines of their own
  bool FromLine = false;   // a replayed line filled the fields: the next Design takes them as its answer
};

// The Multi-Gradient Designer: fields, preview size, colours and the two
// marker positions (each marker's left edge + 6).
struct MultiGradientState {
  std::string Width = "256", Height = "256";
  int PreviewWidth = 256, PreviewHeight = 256;
  uint32_t Side = 0x000000, Left = 0xFF00FF, Right = 0xFFFF00;
  int LeftPos = 85, RightPos = 170;
};

// Edit ▸ Paste ▸ Transparent's options dialog; kept between showings.
struct TransparentOptions {
  enum class Source { Normal, Pen, Custom };
  Source Mode = Source::Normal;  // which colour is drawn transparent
  uint32_t CustomColor = 0;      // the dialog's colour-choice current colour
  bool ReSize = true;            // stretch the clipboard image to the image's size
  // Set before each showing: the clipboard image's lower-left pixel and the pen.
  uint32_t LowerLeft = 0, PenColor = 0;
  // The swatch: the transparent colour; the dialog keeps it in step with Mode.
  uint32_t Color = 0;
  uint32_t ColorFor(Source s) const {
    return s == Source::Normal ? LowerLeft : s == Source::Pen ? PenColor : CustomColor;
  }
};

// Thrown by the text conversions of Apply; what() is the message shown.
struct ConversionError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One command's road, always in this order: hourglass on, snapshot,
// pixels, refresh, hourglass off, After (naming the effect, the tool box),
// the log line. Every effect and every command that changes the image goes
// through Editor::Run.
struct Command {
  bool Busy = true;               // hourglass while the pixels change
  bool Snapshot = true;           // PushUndo before the pixels
  std::function<void()> Pixels{};  // may be empty
  bool Refresh = true;            // RefreshImage after the pixels
  std::function<void()> After{};  // after the refresh, before the line
  std::function<std::string()> Line{};  // the log line; empty or "" writes none
  // The pixels touch only the editor's surfaces and values (an effect's
  // routine), so the window may run them on another thread.
  bool Worker = false;
};

// Status bar panels 0 .. 4 (panel 5 is the drawn logging indicator).
enum StatusPanel { kPanelWidth, kPanelHeight, kPanelX, kPanelY, kPanelEffect, kStatusPanelCount };
// What the effect panel says while an effect runs and another command waits.
inline constexpr const char* kEffectRunning = "An effect is running: wait for it or press Esc to stop it.";

class Editor {
 public:
  explicit Editor(UiPort& ui);
  ~Editor();

  // The four long-lived surfaces.
  TFastDIB WorkSurface, ScratchSurface, BufferSurface, ResetSurface;

  int EffectId = -1;
  std::string EffectName;
  std::array<int32_t, kEffectCount> EffectVals{};
  std::array<int32_t, kEffectCount> EffectDefaults{};
  // Second parameters by SecondId; 32-bit reals are kept at single precision.
  std::array<double, kSecondCount> Second{};

  ToolBoxPanel ToolBox;
  std::array<std::string, kStatusPanelCount> Status{"Width: 256", "Height: 256", "X:", "Y:", "Idle..."};
  UndoRing Undo;
  OpLogFile Log;
  FilterBoxes Filter;
  SizerState Sizer;
  GradientState Gradient;
  MultiGradientState MultiGradient;
  uint32_t TintColor = 0xFFFFFF;  // the colour dialog's current colour
  int JpegQuality = 90;          // changed only by confirming the quality dialog
  bool GifShowDialog = false;    // Options ▸ GIF Transparency: "Show" / "Hide Dialog During Save"
  bool WrapPainting = false;     // Options ▸ Wrap Painting: the painting tools draw across the edges
  int GifSelectedIndex = 256;    // the transparency dialog's last choice; 256 = none
  int PenStyle = 0;              // Pen menu mode, 0 "Normal" .. 11 "XORPen"
  // Map Texture: the dialog's texture (grey), its source text for the log
  // line ("Use Current Texture", "Use Buffer" or "Use File " + path), and
  // whether the buffer was already taken as the texture this run.
  TFastDIB Texture;
  std::string TextureSource = "Use Current Texture";
  bool TextureFromBufferDone = false;
  // The dialog's buttons: false (with a message) when the file cannot be read,
  // or when the buffer holds no image yet.
  bool LoadTexture(const std::string& path);
  bool UseBufferAsTexture();
  // A replayed line's source, taken as the dialog's answer at the next Map
  // Texture; false with the reason when it is no source or the file cannot be read.
  bool SetPendingTexture(const std::string& source, std::string& error);
  std::string PendingTextureSource;

  // Pipeline. Run owns the order; the rest are its steps. A command started
  // while another's pixels change is refused; a run stopped through the
  // progress report puts pixels and undo ring back as they were, logs nothing.
  bool Run(const Command& c);
  bool Running() const { return running_; }
  void BeginEffect();
  void EndEffect();
  void RefreshImage();
  void SyncToolBox();
  void LogEffect();
  // False (after a message) when no snapshot could be taken.
  bool PushUndo();
  void bUndoClick();
  // For a run that can never come back further than levels steps (the batch
  // tool counts its "UnDo" lines): the ring gets that many levels, and with
  // 0 no snapshots are taken at all. Below 0 counts as 0.
  void SetUndoDepth(int levels);
  // Whether opening an image keeps a copy for Edit ▸ Reset; the batch tool
  // turns it off for recipes without an "Image Reset" line.
  bool KeepResetCopy = true;

  // Runs one command outside Run (a replayed line, say). When memory runs
  // out inside it, the image it had before comes back from the snapshot it
  // took, the reason is shown and false returned. Run does the same for the
  // pixels of each command.
  bool Guarded(const std::function<void()>& command);

  // The effect line of the current Effect id and EffectName (empty for Scroll).
  std::string EffectLogLine() const;
  // "Log starts  - current Gradient: ..." for a new log.
  std::string LogHeaderLine() const;
  // Appends a line when logging is on; a failing write turns logging off.
  void WriteLog(const std::string& line);

  // Commands.
  static bool EffectAvailable(int id);
  // A menu item (or its shortcut): runs effect id with the stored values.
  void MenuEffect(int id);
  // Apply: the values typed in the tool box, then the current effect.
  // Returns false when nothing ran (no effect, a refused conversion).
  bool bGoClick();
  // Effects tree; an empty text means no node is selected.
  void TreeView1Change(std::string_view nodeText);
  void TreeView1DblClick(std::string_view nodeText);
  void ShowEffect(int n, const std::string& name);
  void btnDefaultClick();
  void ckbxPeaksClick(bool checked);
  // The Create-A-Filter command: the dialog, then the user's kernel.
  void DesignYourOwn1Click();

  // Image files. Open takes a snapshot and logs "Open File " + path;
  // LoadStartImage is the start-up argument's load (no snapshot, no line).
  // Both leave everything as it was and show a message when the file cannot be read.
  bool OpenImage(const std::string& path);
  bool LoadStartImage(const std::string& path);
  // A black w x h start image (the batch tool's --new); false for a size refused.
  bool StartBlank(int w, int h);
  // Buffer ▸ Load Buffer from File: no snapshot; logs "Load Buffer from File " + path.
  bool LoadBufferFromFile(const std::string& path);
  // Buffer ▸ Copy Image to Buffer (no snapshot) and Paste Buffer to Image
  // (snapshot; nothing while the buffer was never filled). Both log their line.
  void CopyImagetoBuffer1Click();
  void PasteBuffertoImage1Click();
  // File ▸ New: the image filled with the brush colour, its size kept.
  void New1Click();
  // Edit ▸ Reset: back to the image as last opened.
  void Reset1Click();
  // The clipboard commands; a paste with an empty clipboard does nothing
  // and takes no snapshot.
  void Copy1Click();
  void ReplaceImage1Click();
  void CopyBuffertoClipboard1Click();
  void PasteClipboardtoBuffer1Click();
  // Paste As Selection, placed: the clipboard image drawn at (x, y), clipped.
  void PasteAsSelectionAt(int x, int y);
  // The same with the piece the movable selection shows.
  void PlaceSelection(const TFastDIB& piece, int x, int y);
  // Edit ▸ Paste ▸ Transparent: the options dialog, then the clipboard image
  // drawn at (0, 0) leaving the pixels of the swatch colour out.
  void Transparent1Click();
  TransparentOptions Transparent;
  uint32_t LowerLeftColor = 0;  // of the last clipboard image pasted transparently
  // Save As: the route by the name's extension (".jpg" added when it has
  // none), JPEG at JpegQuality, GIF with the transparency dialog when
  // GifShowDialog. Returns the name written, or empty when nothing was
  // (a message was shown unless the GIF dialog was cancelled).
  std::string SaveImage(const std::string& path);
  bool BufferFilled = false;  // an image was put into the buffer

  // Options ▸ Change Undo Quantity: asks for a new number of undo levels
  // and, after a confirmation, empties the ring. Below 1 is refused.
  void ChangeUndoQuantity1Click();

  // File ▸ Log: Start New Log, Append to Log, Close Log.
  std::string LogPath = "VorqLog.txt";
  void LogthisSession1Click();
  void AppendtoLog1Click();
  void CloseLog1Click();

  // The Scroll effect's bars: a new position beyond the last one scrolls the
  // image right (down) by the stored amount, a smaller one left (up).
  void sbLRScroll(int position);
  void sbUDScroll(int position);
  // One scroll step: snapshot, wrap-around shift, log line, refresh.
  enum class ScrollDirection { Right, Left, Down, Up };
  void ScrollImage(ScrollDirection direction, int amount);

  void SetStatus(int panel, const std::string& text);

  // Stores one value by its settings key ("EffectVals13", "UDPeakVal",
  // "Pen Color", ...); false for an unknown key or a malformed value.
  bool SetValueByKey(std::string_view key, std::string_view value);

  UiPort& Ui() { return ui_; }

  // The live preview of the current effect (preview.h). It puts the image
  // back before any other command; EndPreview does it now, if one shows.
  EffectPreview& Preview();
  void EndPreview();

  // A stored value by where it lives; storing rounds to the value's type.
  double ReadValue(const ValueRef& ref) const;
  void StoreValue(const ValueRef& ref, double v);
  // Numbers as Real, texts (Format::Text) as Text.
  LineArg Read(const ValueRef& ref, Format f) const;
  // False (with the message in error) for a text the value cannot take.
  bool Store(const ValueRef& ref, Format f, const LineArg& v, std::string& error);
  // Values of effect id's params after a menu command or Apply stored them:
  // the clamps that hold before every run.
  void ApplyClamps(int id);

  // Runs effect id's routine with the stored values (snapshot, pixels,
  // refresh), then After; false when it refused before the snapshot.
  bool RunEffect(int id, const std::function<void()>& after = {});

 private:
  friend class EffectPreview;
  // Reads the tool box's boxes for effect id into the stored values.
  void StoreToolBoxValues(int id);
  // The pixels of c under a progress report; false when stopped (all put
  // back). deferredSnapshot: c's snapshot is pushed only once they are done.
  bool RunPixels(const Command& c, bool deferredSnapshot);
  // PushUndo with another image than WorkSurface (a preview's original).
  bool PushUndoOf(const TFastDIB& image);
  UiPort& ui_;
  bool snapshots_ = true;  // false after SetUndoDepth(0)
  std::unique_ptr<EffectPreview> preview_;  // made at its first use
  uint64_t pushes_ = 0;  // snapshots taken, so Guarded knows whether its command took one
  bool running_ = false;
  TFastDIB stopCopy_;  // the image before a run whose snapshot waits for its end
};

}  // namespace vorq
