#include "editor/undo_ring.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vorq {

UndoRing::UndoRing(int levels) : levels_(std::clamp(levels, 1, kMaxLevels)) {}

void UndoRing::Release(int slot) {
  Slot& s = slots_[size_t(slot)];
  bytes_ -= size_t(s.Width) * 3 * size_t(s.Height);
  s = Slot{};
}

bool UndoRing::Push(const TFastDIB& surface) {
  dropped_ = 0;
  const int w = surface.Width(), h = surface.Height();
  const size_t rowBytes = size_t(w) * 3, need = rowBytes * size_t(h);
  if (need > limit_) return false;
  // The new slot follows the newest (dropping only ever removes the oldest),
  // or is slot 0 when nothing is left.
  const int next = order_.empty() ? 0 : (order_.back() + 1) % levels_;
  try {
    if (size_t(next) >= slots_.size()) slots_.resize(size_t(next) + 1);
    order_.reserve(size_t(levels_));
  } catch (const std::bad_alloc&) {
    return false;
  }
  // Everything that can fail comes before anything is dropped, so a failure
  // changes nothing. A full ring's oldest snapshot, when of the same size,
  // lends its memory to the new one: never two copies' room at once.
  std::unique_ptr<uint8_t[]> copy;
  if (Slot& oldest = slots_[size_t(order_.empty() ? 0 : order_.front())];
      int(order_.size()) == levels_ && size_t(oldest.Width) * 3 * size_t(oldest.Height) == need)
    copy = std::move(oldest.Bytes);
  if (need && !copy && !(copy = std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[need]))) return false;
  for (int y = 0; y < h; ++y) std::memcpy(&copy[size_t(y) * rowBytes], surface.Row(y), rowBytes);
  if (int(order_.size()) == levels_) {
    // Full: the oldest slot becomes the newest and is overwritten.
    full_ = true;
    Release(order_.front());
    order_.erase(order_.begin());
  }
  while (!order_.empty() && bytes_ + need > limit_) {
    Release(order_.front());
    order_.erase(order_.begin());
    ++dropped_;
  }
  const int slot = order_.empty() ? 0 : next;
  order_.push_back(slot);
  Slot& s = slots_[size_t(slot)];
  s.Width = w;
  s.Height = h;
  s.Bytes = std::move(copy);
  bytes_ += need;
  return true;
}

bool UndoRing::Pop(TFastDIB& surface) {
  if (order_.empty()) return false;
  const Slot& s = slots_[size_t(order_.back())];
  const size_t rowBytes = size_t(s.Width) * 3;
  if (s.Width != surface.Width() || s.Height != surface.Height()) {
    TFastDIB restored;
    if (s.Width > 0 && !restored.SetSize(s.Width, s.Height, 24, 0)) return false;
    surface = std::move(restored);
  }
  for (int y = 0; y < s.Height; ++y) std::memcpy(surface.Row(y), &s.Bytes[size_t(y) * rowBytes], rowBytes);
  Release(order_.back());
  order_.pop_back();
  full_ = false;
  return true;
}

bool UndoRing::SetLevels(int levels) {
  if (levels < 1 || levels > kMaxLevels) return false;
  order_.clear();
  std::vector<Slot>().swap(slots_);
  bytes_ = 0;
  levels_ = levels;
  full_ = false;
  return true;
}

}  // namespace vorq
