// The Set Size dialog's rules on SizerState.
#include <string>

#include "core/oplog/log_format.h"
#include "core/surface/fast_dib.h"
#include "editor/commands/geometry.h"

namespace vorq {
namespace {

void ShowSize(SizerState& s, int w, int h) {
  s.NewWidth = w;
  s.NewHeight = h;
  s.Width = std::to_string(w);
  s.Height = std::to_string(h);
}

// Clicking an entry; fromPercent keeps "Percent" checked.
void SelectionRule(SizerState& s, int index, bool fromPercent) {
  static constexpr int kPresets[3][2] = {{640, 480}, {800, 600}, {1024, 768}};
  s.Selection = index;
  if (index < kSizeCustom)
    ShowSize(s, kPresets[index][0], kPresets[index][1]);
  else
    ShowSize(s, s.CurrentWidth, s.CurrentHeight);
  if (!fromPercent) s.Percent = false;
}

// Percent box text to a size in pixels of the current one; false when the
// text is not a number.
bool PercentOf(const std::string& text, int current, int& out, std::string& error) {
  auto p = ParseInt(text);
  if (!p) {
    error = NotAnInteger(text);
    return false;
  }
  out = int(int64_t(*p) * current / 100);
  return true;
}

}  // namespace

void SizerShow(SizerState& s, int curW, int curH) {
  s.CurrentWidth = curW;
  s.CurrentHeight = curH;
  if (s.Selection != kSizeCustom) SelectionRule(s, kSizeCustom, false);
  if (s.FirstShow) {
    s.Width = std::to_string(curW);
    s.Height = std::to_string(curH);
    s.NewWidth = curW;
    s.NewHeight = curH;
    s.FirstShow = false;
  }
}

std::string SizerCurrentLabel(const SizerState& s) {
  return "Width " + std::to_string(s.CurrentWidth) + "  Height " + std::to_string(s.CurrentHeight);
}

void SizerSelect(SizerState& s, int index) {
  if (index < kSize640x480 || index > kSizeCustom) return;
  SelectionRule(s, index, false);
}

void SizerEnterBox(SizerState& s) {
  if (s.Selection != kSizeCustom) SelectionRule(s, kSizeCustom, false);
}

bool SizerBoxChanged(SizerState& s, SizerBox box, bool leaving, std::string& error) {
  switch (box) {
    case SizerBox::Width:
    case SizerBox::Height: {
      if (!leaving) return true;
      const std::string& text = box == SizerBox::Width ? s.Width : s.Height;
      auto v = ParseInt(text);
      if (!v) {
        error = NotAnInteger(text);
        return false;
      }
      (box == SizerBox::Width ? s.NewWidth : s.NewHeight) = *v;
      return true;
    }
    case SizerBox::PctWidth:
    case SizerBox::PctHeight: {
      const bool width = box == SizerBox::PctWidth;
      const std::string& text = width ? s.PctWidth : s.PctHeight;
      if (!leaving && text.empty()) return true;
      int v = 0;
      if (!PercentOf(text, width ? s.CurrentWidth : s.CurrentHeight, v, error)) return false;
      (width ? s.NewWidth : s.NewHeight) = v;
      (width ? s.Width : s.Height) = std::to_string(v);
      return true;
    }
  }
  return true;
}

void SizerPixels(SizerState& s) { s.Percent = false; }

bool SizerPercent(SizerState& s, std::string& error) {
  s.Percent = true;
  if (s.Selection != kSizeCustom) SelectionRule(s, kSizeCustom, true);
  int w = 0, h = 0;
  if (!PercentOf(s.PctWidth, s.CurrentWidth, w, error)) return false;
  s.NewWidth = w;
  s.Width = std::to_string(w);
  if (!PercentOf(s.PctHeight, s.CurrentHeight, h, error)) return false;
  s.NewHeight = h;
  s.Height = std::to_string(h);
  return true;
}

void SizerPopup(SizerState& s, int item) {
  static constexpr int kSizes[3][2] = {{912, 456}, {564, 444}, {456, 456}};
  if (item < kCdFront || item > kCdFrontHalf) return;
  if (s.Selection != kSizeCustom) SelectionRule(s, kSizeCustom, false);
  s.Percent = false;
  ShowSize(s, kSizes[item][0], kSizes[item][1]);
}

std::string CheckNewSize(int64_t w, int64_t h) {
  if (w < 1 || h < 1)
    return "The new size " + std::to_string(w) + " x " + std::to_string(h) + " is not possible: both must be at least 1.";
  if (!SizeAllowed(w, h))
    return "The new size " + std::to_string(w) + " x " + std::to_string(h) + " is too large: at most " +
           std::to_string(kMaxSide) + " pixels a side and " + std::to_string(kMaxPixels) + " pixels in all.";
  return {};
}

bool SizerAccept(SizerState& s, std::string& error) {
  auto w = ParseInt(s.Width);
  if (!w) {
    error = NotAnInteger(s.Width);
    return false;
  }
  auto h = ParseInt(s.Height);
  if (!h) {
    error = NotAnInteger(s.Height);
    return false;
  }
  s.NewWidth = *w;
  s.NewHeight = *h;
  error = CheckNewSize(*w, *h);
  return error.empty();
}

}  // namespace vorq
