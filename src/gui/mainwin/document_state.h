// The file the working image belongs to and whether it has changed since it
// was opened or saved: the title bar's name and "*" mark, and whether closing
// has anything to ask about.
#pragma once

#include <QString>
#include <cstdint>

#include "core/surface/fast_dib.h"
#include "editor/undo_ring.h"

namespace vorq::gui {

class DocumentState {
 public:
  // The image as it is now is the file at path (empty: a new image, no file).
  void SetClean(const TFastDIB& image, const QString& path);
  // Every change of the image takes a snapshot first, and Undo gives one
  // back: a new snapshot marks the image changed; a snapshot taken back
  // compares the image with the one last opened or saved.
  void UndoChanged(const UndoRing& ring, const TFastDIB& image);

  bool Modified() const { return modified_; }
  const QString& Path() const { return path_; }
  // "name[*] - VorqTile", the [*] for the window's modified mark.
  QString Title() const;

 private:
  QString path_;
  bool modified_ = false;
  uint64_t cleanPrint_ = 0;
  int count_ = 0, newest_ = -1;  // the ring as last seen
};

// A fingerprint of the pixels and the size, padding left out.
uint64_t ImageFingerprint(const TFastDIB& image);

}  // namespace vorq::gui
