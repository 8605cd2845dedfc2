// Everything that asks a person or tells the screen something goes through
// this port: the Qt windows implement it with real dialogs, tests and the
// batch tool with scripted answers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vorq {

struct FilterBoxes;
struct GifPalette;
struct GradientState;
struct MultiGradientState;

class UiPort {
 public:
  virtual ~UiPort() = default;

  enum class Answer { Yes, No, Cancel };

  virtual void ShowMessage(const std::string& text) = 0;
  // A confirmation with Yes and No (and Cancel when withCancel).
  virtual Answer Ask(const std::string& text, bool withCancel) = 0;
  // An input box; nullopt when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& value) = 0;
  // The Create-A-Filter dialog, modal; true on OK (the boxes then hold the texts typed).
  virtual bool EditFilter(FilterBoxes& boxes) = 0;

  // The Set Size dialog, modal; true on OK (state.NewWidth/NewHeight then hold the size).
  virtual bool EditSize(struct SizerState& state) = 0;

  // The GIF transparency dialog: the colour map of the GIF being saved and
  // the selected index (256 = none, kept between showings). Returns 0 Cancel
  // (nothing is written), 1 OK with index, 2 None (no transparent colour).
  virtual int AskGifTransparency(const GifPalette& palette, int& index) = 0;

  // The Map Texture dialog (its buttons call Editor::LoadTexture and
  // UseBufferAsTexture); false when cancelled.
  virtual bool ChooseTexture() { return true; }
  // The Transparent Paste Options dialog, modal; true on OK. The editor sets
  // LowerLeft, PenColor and Color before; the dialog may change the rest.
  virtual bool EditTransparent(struct TransparentOptions& options) = 0;

  // The colour dialog; false when cancelled (colour is 0x00BBGGRR, in and out).
  virtual bool ChooseColor(uint32_t& colour) = 0;

  // The clipboard's image. ClipboardImage is false (image untouched) when the
  // clipboard holds none; pictures from elsewhere arrive as 24 bits over white.
  virtual void SetClipboardImage(const class TFastDIB& image) = 0;
  virtual bool ClipboardImage(class TFastDIB& image) = 0;

  // The Gradient Designer and the Multi-Gradient Designer, modal; true on
  // OK. Their fields change the state (and the gradient) while they show.
  virtual bool EditGradient(GradientState&) { return false; }
  virtual bool EditMultiGradient(MultiGradientState&) { return false; }
  // A passing remark for the status bar that needs no answer.
  virtual void Notice(const std::string&) {}

  // Notifications from the editor to whatever shows it.
  virtual void ImageChanged() {}     // WorkSurface was presented anew
  virtual void ToolBoxChanged() {}   // the parameter panel was reconfigured
  virtual void StatusChanged() {}    // a status bar text changed
  virtual void UndoChanged() {}      // the undo button's enabled state may have changed
  virtual void BufferChanged() {}    // the buffer image was replaced
  virtual void LoggingChanged() {}   // the logging indicator must be redrawn
  virtual void GradientChanged() {}  // a new current gradient for the thumbnail (and its hint)
  virtual void SetBusy(bool) {}      // hourglass on or off
  virtual void ProcessMessages() {}  // let pending window messages run once
  // A long effect's progress (done of total); false asks it to stop. The
  // window may let its messages run here. ProgressEnded follows every run.
  virtual bool Progress(int64_t /*done*/, int64_t /*total*/) { return true; }
  virtual void ProgressEnded() {}
  // Whether Progress can ever answer false (a window with a Cancel button).
  virtual bool CanStop() const { return false; }
  // Runs work and returns when it is done. A window runs it on another
  // thread and keeps its messages meanwhile; Progress and ToolBoxChanged are
  // then called from that thread, and no other method is.
  virtual void RunWork(const std::function<void()>& work) { work(); }
};

}  // namespace vorq
