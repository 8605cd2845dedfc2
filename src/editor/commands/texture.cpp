// Map Texture's texture: the dialog's picture, taken from a file or the buffer.
#include "core/effects/colour.h"
#include "core/effects/textures.h"
#include "core/imageio/image_file.h"
#include "editor/editor.h"

namespace vorq {

bool Editor::LoadTexture(const std::string& path) {
  TFastDIB loaded;
  std::string error;
  if (!LoadImageFile(path, loaded, error)) {
    ui_.ShowMessage(error);
    return false;
  }
  GrayScaleSurface(loaded);
  Texture = std::move(loaded);
  TextureSource = "Use File " + path;
  return true;
}

bool Editor::UseBufferAsTexture() {
  if (!BufferFilled) return false;
  CopySurface(BufferSurface, Texture);
  GrayScaleSurface(Texture);
  TextureSource = "Use Buffer";
  return true;
}

bool Editor::SetPendingTexture(const std::string& source, std::string& error) {
  if (source == "Use Current Texture" || source == "Use Buffer") {
    PendingTextureSource = source;
    return true;
  }
  if (source.rfind("Use File ", 0) == 0) {
    // The file is read now, so that a missing texture stops the line before it runs.
    TFastDIB probe;
    if (!LoadImageFile(source.substr(9), probe, error)) return false;
    PendingTextureSource = source;
    return true;
  }
  error = "'" + source + "' is not \"Use Current Texture\", \"Use Buffer\" or \"Use File \" and a file name";
  return false;
}

}  // namespace vorq
