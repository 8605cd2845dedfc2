// The editor: what the main window holds and does, without any widgets.
// The Qt main window and the batch tool both drive one of these.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/effects/catalogue.h"
#include "core/surface/fast_dib.h"
#include "editor/oplog_file.h"
#include "editor/toolbox_panel.h"
#include "editor/ui_port.h"
#include "editor/undo_ring.h"

namespace vorq {

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

// The gradient designer's fields as the log header names them.
struct GradientState {
  std::string Width = "256", Height = "256", Style = "VertCenter", Angle = "0";
  uint32_t BeginColor = 0x800000, EndColor = 0xFFFF00;
};

// Reals are kept within the single-precision range, whatever their type.
constexpr double kRealLimit = 3.4028234663852886e38;  // FLT_MAX
// A typed real: ParseReal, refusing values beyond kRealLimit.
std::optional<double> ParseTypedReal(std::string_view text);
// NaN to 0, beyond kRealLimit to the limit.
double ClampReal(double v);
// NaN to 0, beyond the 32-bit range to its ends.
int32_t SaturateInt32(double v);
// A real written rounded to an integer (ties to even) that reads back as one.
std::string FormatRounded(double v);

// Thrown by the text conversions of Apply; what() is the message shown.
struct ConversionError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Thrown when a command cannot have the memory it needs (its undo snapshot);
// Guarded turns it into a message.
struct CommandRefused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Status bar panels 0 .. 4 (panel 5 is the drawn logging indicator).
enum StatusPanel { kPanelWidth, kPanelHeight, kPanelX, kPanelY, kPanelEffect, kStatusPanelCount };

class Editor {
 public:
  explicit Editor(UiPort& ui);

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
  uint32_t TintColor = 0xFFFFFF;  // the colour dialog's current colour
  int JpegQuality = 90;          // changed only by confirming the quality dialog
  bool GifShowDialog = false;    // Options ▸ GIF Transparency: "Show" / "Hide Dialog During Save"
  int GifSelectedIndex = 256;    // the transparency dialog's last choice; 256 = none
  int PenStyle = 0;              // Pen menu mode, 0 "Normal" .. 11 "XORPen"
  std::string TextureSource = "Use Current Texture";

  // Pipeline.
  void BeginEffect();
  void EndEffect();
  void RefreshImage();
  void SyncToolBox();
  void LogEffect();
  // Throws CommandRefused when the snapshot cannot be had; nothing has
  // changed then.
  void PushUndo();
  void bUndoClick();

  // Runs one command. When memory runs out inside it (CommandRefused or
  // std::bad_alloc), the image it had before is put back from the snapshot
  // it took, the reason is shown and false returned.
  bool Guarded(const std::function<void()>& command);

  // The effect line of the current Effect id and EffectName (empty for Scroll).
  std::string EffectLogLine() const;
  // "Log starts  - current Gradient: ..." for a new log.
  std::string LogHeaderLine() const;
  // Appends a line when logging is on; a failing write turns logging off.
  void WriteLog(const std::string& line);

  // Commands.
  bool EffectAvailable(int id) const;
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
  // Buffer ▸ Load Buffer from File: no snapshot; logs "Load Buffer from File " + path.
  bool LoadBufferFromFile(const std::string& path);
  // Buffer ▸ Copy Image to Buffer (no snapshot) and Paste Buffer to Image
  // (snapshot; nothing while the buffer was never filled). Both log their line.
  void CopyImagetoBuffer1Click();
  void PasteBuffertoImage1Click();
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
  void ScrollImage(const std::string& direction, int amount);

  void SetStatus(int panel, const std::string& text);

  // Stores one value by its settings key ("EffectVals13", "UDPeakVal",
  // "Pen Color", ...); false for an unknown key or a malformed value.
  bool SetValueByKey(std::string_view key, std::string_view value);

  UiPort& Ui() { return ui_; }

  // A stored value by where it lives; storing rounds to the value's type.
  double ReadValue(const ValueRef& ref) const;
  void StoreValue(const ValueRef& ref, double v);

 private:
  // Runs the routine of effect id with the stored values inside the
  // pipeline; false when it refused to run.
  bool RunEffect(int id);
  // Reads the tool box's boxes for effect id into the stored values.
  void StoreToolBoxValues(int id);
  UiPort& ui_;
  uint64_t pushes_ = 0;  // snapshots taken, so Guarded knows whether its command took one
};

}  // namespace vorq
