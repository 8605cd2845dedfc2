// Commands that replace the whole image or write it out.
#include "core/imageio/image_file.h"
#include "core/oplog/line_shapes.h"
#include "editor/editor.h"

namespace vorq {

namespace {
// Reads path with the one loader; shows the reason and returns false on failure.
bool Load(UiPort& ui, const std::string& path, TFastDIB& out) {
  std::string error;
  if (LoadImageFile(path, out, error)) return true;
  ui.ShowMessage(error);
  return false;
}
}  // namespace

bool Editor::LoadStartImage(const std::string& path) {
  TFastDIB loaded;
  if (!Load(ui_, path, loaded)) return false;
  WorkSurface = std::move(loaded);
  if (KeepResetCopy) CopySurface(WorkSurface, ResetSurface);
  ScratchSurface.Reshape(WorkSurface.Width(), WorkSurface.Height());
  RefreshImage();
  return true;
}

bool Editor::StartBlank(int w, int h) {
  TFastDIB blank;
  if (!SizeAllowed(w, h) || !blank.SetSize(w, h, 24, 0)) return false;
  WorkSurface = std::move(blank);
  if (KeepResetCopy) CopySurface(WorkSurface, ResetSurface);
  ScratchSurface.Reshape(w, h);
  RefreshImage();
  return true;
}

bool Editor::OpenImage(const std::string& path) {
  // The file is read before the snapshot, so a file that cannot be read
  // leaves the undo ring as it was too.
  TFastDIB loaded;
  if (!Load(ui_, path, loaded)) return false;
  return Run({.Busy = false,
              .Pixels =
                  [&] {
                    WorkSurface = std::move(loaded);
                    if (KeepResetCopy) CopySurface(WorkSurface, ResetSurface);
                    ScratchSurface.Reshape(WorkSurface.Width(), WorkSurface.Height());
                  },
              .Line = [&] { return WriteLine(LineKind::OpenFile, {Text(path)}); }});
}

bool Editor::LoadBufferFromFile(const std::string& path) {
  TFastDIB loaded;
  if (!Load(ui_, path, loaded)) return false;
  return Run({.Busy = false,
              .Snapshot = false,
              .Pixels =
                  [&] {
                    BufferSurface = std::move(loaded);
                    BufferFilled = true;
                    ui_.BufferChanged();
                  },
              .Refresh = false,
              .Line = [&] { return WriteLine(LineKind::LoadBufferFromFile, {Text(path)}); }});
}

void Editor::CopyImagetoBuffer1Click() {
  Run({.Busy = false,
       .Snapshot = false,
       .Pixels =
           [&] {
             CopySurface(WorkSurface, BufferSurface);
             BufferFilled = true;
             ui_.BufferChanged();
           },
       .Refresh = false,
       .Line = [] { return WriteLine(LineKind::CopyImageToBuffer); }});
}

void Editor::PasteBuffertoImage1Click() {
  if (!BufferFilled) return;
  Run({.Busy = false,
       .Pixels =
           [&] {
             CopySurface(BufferSurface, WorkSurface);
             ScratchSurface.Reshape(WorkSurface.Width(), WorkSurface.Height());
           },
       .Line = [] { return WriteLine(LineKind::PasteBufferToImage); }});
}

std::string Editor::SaveImage(const std::string& path) {
  EndPreview();  // the image itself, not a preview of an effect
  const std::string name = WithDefaultExtension(path);
  SaveOptions options;
  options.JpegQuality = JpegQuality;
  if (GifShowDialog)
    options.AskGifTransparency = [this](const GifPalette& palette, int& index) {
      int chosen = GifSelectedIndex;
      const int answer = ui_.AskGifTransparency(palette, chosen);
      GifSelectedIndex = chosen;
      index = chosen;
      return answer;
    };
  std::string error;
  if (!SaveImageFile(name, WorkSurface, options, error)) {
    if (!error.empty()) ui_.ShowMessage(error);
    return {};
  }
  return name;
}

}  // namespace vorq
