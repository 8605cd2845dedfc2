// Commands that replace the whole image or write it out.
#include "core/imageio/image_file.h"
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
  CopySurface(WorkSurface, ResetSurface);
  ScratchSurface.SetSize(WorkSurface.Width(), WorkSurface.Height(), 24, 0);
  RefreshImage();
  return true;
}

bool Editor::OpenImage(const std::string& path) {
  // The file is read before the snapshot, so a file that cannot be read
  // leaves the undo ring as it was too.
  TFastDIB loaded;
  if (!Load(ui_, path, loaded)) return false;
  PushUndo();
  WorkSurface = std::move(loaded);
  CopySurface(WorkSurface, ResetSurface);
  ScratchSurface.SetSize(WorkSurface.Width(), WorkSurface.Height(), 24, 0);
  RefreshImage();
  WriteLog("Open File " + path);
  return true;
}

bool Editor::LoadBufferFromFile(const std::string& path) {
  TFastDIB loaded;
  if (!Load(ui_, path, loaded)) return false;
  BufferSurface = std::move(loaded);
  BufferFilled = true;
  ui_.BufferChanged();
  WriteLog("Load Buffer from File " + path);
  return true;
}

void Editor::CopyImagetoBuffer1Click() {
  CopySurface(WorkSurface, BufferSurface);
  BufferFilled = true;
  ui_.BufferChanged();
  WriteLog("Copy Image to Buffer");
}

void Editor::PasteBuffertoImage1Click() {
  if (!BufferFilled) return;
  PushUndo();
  CopySurface(BufferSurface, WorkSurface);
  ScratchSurface.SetSize(WorkSurface.Width(), WorkSurface.Height(), 24, 0);
  RefreshImage();
  WriteLog("Paste Buffer to Image");
}

std::string Editor::SaveImage(const std::string& path) {
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
