// Size/Aspect effects, Seamless Edge, the Seamless submenu and their log lines.
#include <string>
#include <utility>
#include <vector>

#include "core/effects/geometry.h"
#include "core/effects/seamless.h"
#include "core/oplog/log_format.h"
#include "editor/editor.h"
#include "editor/family_commands.h"
#include "editor/geometry_commands.h"

namespace vorq {
namespace {

constexpr const char* kNotSquare = "Image must be square.  ReSize and try again.";

std::string SizeLine(const char* name, int w, int h) {
  return std::string(name) + ", Width " + std::to_string(w) + ", Height " + std::to_string(h);
}

// "" when 4 Way Flip can double a W x H image.
std::string FourWayFlipRefusal(int w, int h) {
  if (SizeAllowed(int64_t(2) * w, int64_t(2) * h)) return {};
  return "4 Way Flip would make the image " + std::to_string(int64_t(2) * w) + " x " + std::to_string(int64_t(2) * h) +
         " pixels, more than the largest image (" + std::to_string(kMaxSide) + " pixels a side and " +
         std::to_string(kMaxPixels) + " pixels in all).";
}

// ReSize Fast and ReSize Smooth from the menu or Apply: the Set Size dialog
// first; Cancel does nothing.
bool ResizeCommand(Editor& ed, bool smooth) {
  SizerShow(ed.Sizer, ed.WorkSurface.Width(), ed.WorkSurface.Height());
  if (!ed.Ui().EditSize(ed.Sizer)) return false;
  const std::string err = smooth ? ResizeSmoothTo(ed, ed.Sizer.NewWidth, ed.Sizer.NewHeight)
                                 : ResizeFastTo(ed, ed.Sizer.NewWidth, ed.Sizer.NewHeight);
  if (!err.empty()) {
    ed.Ui().ShowMessage(err);
    return false;
  }
  return true;
}

// "Resize Fast, Width W, Height H" -> (W, H); false with error when malformed.
bool ParseSizeLine(const std::string& line, int& w, int& h, std::string& error) {
  const std::vector<std::string> parts = SplitLogLine(line);
  if (parts.size() != 3 || parts[1].rfind("Width ", 0) != 0 || parts[2].rfind("Height ", 0) != 0) {
    error = "expected \"" + parts[0] + ", Width w, Height h\"";
    return false;
  }
  auto pw = ParseInt(parts[1].substr(6));
  if (!pw) {
    error = NotAnInteger(parts[1].substr(6));
    return false;
  }
  auto ph = ParseInt(parts[2].substr(7));
  if (!ph) {
    error = NotAnInteger(parts[2].substr(7));
    return false;
  }
  w = *pw;
  h = *ph;
  return true;
}

}  // namespace

std::string ResizeFastTo(Editor& ed, int w, int h) {
  if (std::string err = CheckNewSize(w, h); !err.empty()) return err;
  TFastDIB& work = ed.WorkSurface;
  if (!ed.ScratchSurface.SetSize(w, h, 24, 0)) return "Not enough memory for a " + std::to_string(w) + " x " +
                                                       std::to_string(h) + " image.";
  ed.PushUndo();
  work.StretchDraw(ed.ScratchSurface, 0, 0, w, h);
  CopySurface(ed.ScratchSurface, work);
  ed.RefreshImage();
  ed.WriteLog(SizeLine("Resize Fast", w, h));
  return {};
}

std::string ResizeSmoothTo(Editor& ed, int w, int h) {
  if (std::string err = CheckNewSize(w, h); !err.empty()) return err;
  TFastDIB& work = ed.WorkSurface;
  // Resampled before the snapshot so that a failure leaves everything as it was.
  TFastDIB resized;
  const bool same = w == work.Width() && h == work.Height();
  if (!same && !ResizeBilinearInto(work, resized, w, h, 0))
    return "Not enough memory for a " + std::to_string(w) + " x " + std::to_string(h) + " image.";
  ed.BeginEffect();
  if (!same) work = std::move(resized);
  ed.EndEffect();
  ed.WriteLog(SizeLine("Resize Smooth", w, h));
  return {};
}

void EdgeMerge(Editor& ed, int fraction) {
  if (fraction != 16 && fraction != 8 && fraction != 4) return;
  ed.BeginEffect();
  EdgeMerge(ed.WorkSurface, fraction);
  ed.EndEffect();
  ed.EffectName = "EdgeMerge" + std::to_string(fraction);
  ed.WriteLog("Edge Merge 1/" + std::to_string(fraction));
}

void N1161Click(Editor& ed) { EdgeMerge(ed, 16); }
void N181Click(Editor& ed) { EdgeMerge(ed, 8); }
void N141Click(Editor& ed) { EdgeMerge(ed, 4); }

bool FourWayFlip1Click(Editor& ed) {
  if (std::string err = FourWayFlipRefusal(ed.WorkSurface.Width(), ed.WorkSurface.Height()); !err.empty()) {
    ed.Ui().ShowMessage(err);
    return false;
  }
  ed.BeginEffect();
  FourWayFlip(ed.WorkSurface, ed.ScratchSurface);
  ed.EndEffect();
  ed.WriteLog("4 Way Flip");
  return true;
}

const SampleTextLine kSampleTextLines[16] = {
    {0, 0, 0, 0},         {36, 255, 255, 255},  {72, 0, 255, 255},    {108, 0, 0, 255},
    {144, 255, 0, 0},     {180, 255, 0, 255},   {216, 128, 0, 128},   {252, 255, 255, 0},
    {288, 0, 128, 0},     {324, 0, 0, 128},     {360, 0, 255, 0},     {396, 128, 0, 0},
    {432, 128, 128, 0},   {468, 128, 128, 128}, {504, 0, 128, 128},   {540, 192, 192, 192},
};

bool HasGeometryEffect(int id) { return (id >= 38 && id <= 44) || id == 63; }

bool RunGeometryEffect(Editor& ed, int id) {
  TFastDIB& work = ed.WorkSurface;
  switch (id) {
    case 38: return ResizeCommand(ed, false);
    case 39: return ResizeCommand(ed, true);
    case 40:
      ed.BeginEffect();
      Rotate90Clockwise(work, ed.ScratchSurface);
      ed.EndEffect();
      return true;
    case 41:
      ed.PushUndo();
      work.FlipHorizontal();
      ed.RefreshImage();
      return true;
    case 42:
      ed.PushUndo();
      work.FlipVertical();
      ed.RefreshImage();
      return true;
    case 43:
      ed.PushUndo();
      ed.ScratchSurface.SetSize(work.Width(), work.Height(), 24, 0);
      RotateWrapped(work, ed.ScratchSurface, work.Width() / 2, work.Height() / 2, ed.EffectVals[43]);
      CopySurface(ed.ScratchSurface, work);
      ed.RefreshImage();
      return true;
    case 44:
      if (work.Width() != work.Height()) {
        ed.Ui().ShowMessage(kNotSquare);
        return false;
      }
      ed.BeginEffect();
      RotateSeamless(work, ed.ScratchSurface);
      ed.EndEffect();
      return true;
    case 63:
      ed.BeginEffect();
      SeamlessEdge(work, ed.EffectVals[63]);
      ed.EndEffect();
      return true;
    default: return false;
  }
}

bool ReplayGeometryLine(Editor& ed, const std::string& line, std::string& error) {
  error.clear();
  for (const bool smooth : {false, true}) {
    const std::string prefix = smooth ? "Resize Smooth, " : "Resize Fast, ";
    if (line.rfind(prefix, 0) != 0) continue;
    int w = 0, h = 0;
    if (!ParseSizeLine(line, w, h, error)) return true;
    // The size the dialog would have answered with.
    ed.Sizer.NewWidth = w;
    ed.Sizer.NewHeight = h;
    error = smooth ? ResizeSmoothTo(ed, w, h) : ResizeFastTo(ed, w, h);
    return true;
  }
  if (line.rfind("Edge Merge", 0) == 0) {
    if (line == "Edge Merge 1/16")
      EdgeMerge(ed, 16);
    else if (line == "Edge Merge 1/8")
      EdgeMerge(ed, 8);
    else if (line == "Edge Merge 1/4")
      EdgeMerge(ed, 4);
    else
      error = "expected \"Edge Merge 1/16\", \"Edge Merge 1/8\" or \"Edge Merge 1/4\"";
    return true;
  }
  if (line == "4 Way Flip") {
    error = FourWayFlipRefusal(ed.WorkSurface.Width(), ed.WorkSurface.Height());
    if (error.empty()) FourWayFlip1Click(ed);
    return true;
  }
  return false;
}

}  // namespace vorq
