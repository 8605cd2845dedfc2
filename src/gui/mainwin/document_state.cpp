#include "gui/mainwin/document_state.h"

#include <QFileInfo>
#include <cstring>

namespace vorq::gui {

uint64_t ImageFingerprint(const TFastDIB& image) {
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
  uint64_t h = (uint64_t(uint32_t(image.Width())) << 32 | uint32_t(image.Height())) * kMul;
  const size_t rowBytes = size_t(image.Width()) * 3;
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* row = image.Row(y);
    size_t x = 0;
    for (; x + 8 <= rowBytes; x += 8) {
      uint64_t w;
      std::memcpy(&w, row + x, 8);
      h = (h ^ w) * kMul;
      h ^= h >> 29;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, row + x, rowBytes - x);
    h = (h ^ tail ^ uint64_t(y)) * kMul;
    h ^= h >> 29;
  }
  return h;
}

void DocumentState::SetClean(const TFastDIB& image, const QString& path) {
  path_ = path;
  modified_ = false;
  cleanPrint_ = ImageFingerprint(image);
}

void DocumentState::UndoChanged(const UndoRing& ring, const TFastDIB& image) {
  const int count = ring.Count();
  const int newest = ring.Empty() ? -1 : ring.Order().back();
  // A full ring's new snapshot takes the oldest one's place; a one-level ring reuses its only slot.
  if (count > count_ || (count == count_ && count > 0 && (newest != newest_ || ring.Levels() == 1)))
    modified_ = true;
  else if (count < count_)
    modified_ = ImageFingerprint(image) != cleanPrint_;
  count_ = count;
  newest_ = newest;
}

QString DocumentState::Title() const {
  const QString name = path_.isEmpty() ? QString("Untitled") : QFileInfo(path_).fileName();
  return name + "[*] - VorqTile";
}

}  // namespace vorq::gui
