// A UI port without a person: messages are collected, questions answered
// from a queue (Yes when it is empty), dialogs accepted as they stand.
// Used by the batch tool and by tests.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/ui_port.h"

namespace vorq {

class ScriptedUi : public UiPort {
 public:
  std::vector<std::string> Messages;
  std::vector<std::string> Notices;
  std::vector<std::string> Questions;
  std::deque<Answer> Answers;
  std::deque<std::string> Inputs;  // input box answers; empty -> cancelled
  bool AcceptFilter = true;
  FilterBoxes* LastFilter = nullptr;
  int ImageChanges = 0, ToolBoxChanges = 0;

  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  void Notice(const std::string& text) override { Notices.push_back(text); }
  // An in-process clipboard: the batch tool has no desktop to share one with.
  TFastDIB Clipboard;
  void SetClipboardImage(const TFastDIB& image) override { CopySurface(image, Clipboard); }
  bool ClipboardImage(TFastDIB& image) override {
    if (Clipboard.Empty()) return false;
    CopySurface(Clipboard, image);
    return true;
  }
  Answer Ask(const std::string& text, bool) override {
    Questions.push_back(text);
    if (Answers.empty()) return Answer::Yes;
    Answer a = Answers.front();
    Answers.pop_front();
    return a;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    if (Inputs.empty()) return std::nullopt;
    std::string s = Inputs.front();
    Inputs.pop_front();
    return s;
  }
  bool EditFilter(FilterBoxes& boxes) override {
    LastFilter = &boxes;
    return AcceptFilter;
  }
  // Set Size: the next size to answer with; (0, 0) cancels.
  int SizeWidth = 0, SizeHeight = 0;
  bool EditSize(SizerState& s) override {
    if (SizeWidth <= 0 || SizeHeight <= 0) return false;
    s.NewWidth = SizeWidth;
    s.NewHeight = SizeHeight;
    return true;
  }
  // The colour dialog: accepted with NextColor, or with the colour as it
  // stands when none is queued (a replayed line has already stored it).
  // GIF transparency: OK with the index as it stands unless told otherwise.
  int GifAnswer = 1;
  int AskGifTransparency(const GifPalette&, int&) override { return GifAnswer; }
  bool AcceptColor = true;
  std::optional<uint32_t> NextColor;
  bool ChooseColor(uint32_t& colour) override {
    if (AcceptColor && NextColor) colour = *NextColor;
    return AcceptColor;
  }
  // The designers: accepted with their fields as they stand (a replayed
  // line has already put its values there).
  bool AcceptGradient = true;
  bool EditGradient(GradientState&) override { return AcceptGradient; }
  bool EditMultiGradient(MultiGradientState&) override { return AcceptGradient; }
  int GradientChanges = 0;
  void GradientChanged() override { ++GradientChanges; }
  // Transparent Paste Options: the options as they stand, or Cancel.
  bool AcceptTransparent = true;
  bool EditTransparent(TransparentOptions&) override { return AcceptTransparent; }
  void ImageChanged() override { ++ImageChanges; }
  void ToolBoxChanged() override { ++ToolBoxChanges; }
};

}  // namespace vorq
