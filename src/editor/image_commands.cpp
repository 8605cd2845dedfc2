// Commands that replace the whole image or write it out.
#include "core/imageio/bmp.h"
#include "editor/editor.h"

namespace vorq {

bool Editor::LoadStartImage(const std::string& path) {
  TFastDIB loaded;
  std::string error;
  if (!ReadBmp(path, loaded, error)) {
    ui_.ShowMessage(error);
    return false;
  }
  WorkSurface = std::move(loaded);
  CopySurface(WorkSurface, ResetSurface);
  ScratchSurface.SetSize(WorkSurface.Width(), WorkSurface.Height(), 24, 0);
  RefreshImage();
  return true;
}

bool Editor::OpenImage(const std::string& path) {
  TFastDIB loaded;
  std::string error;
  if (!ReadBmp(path, loaded, error)) {
    ui_.ShowMessage(error);
    return false;
  }
  PushUndo();
  WorkSurface = std::move(loaded);
  CopySurface(WorkSurface, ResetSurface);
  ScratchSurface.SetSize(WorkSurface.Width(), WorkSurface.Height(), 24, 0);
  RefreshImage();
  WriteLog("Open File " + path);
  return true;
}

bool Editor::SaveImage(const std::string& path) {
  std::string error;
  if (!WriteBmp(path, WorkSurface, error)) {
    ui_.ShowMessage(error);
    return false;
  }
  return true;
}

}  // namespace vorq
