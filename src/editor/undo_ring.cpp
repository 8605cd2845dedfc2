#include "editor/undo_ring.h"

#include <algorithm>
#include <cstring>

namespace vorq {

UndoRing::UndoRing(int levels) : levels_(std::max(1, levels)), slots_(size_t(levels_)) {}

void UndoRing::Push(const TFastDIB& surface) {
  int slot;
  if (int(order_.size()) == levels_) {
    // Full: the oldest slot becomes the newest and is overwritten.
    full_ = true;
    std::rotate(order_.begin(), order_.begin() + 1, order_.end());
    slot = order_.back();
  } else {
    slot = order_.empty() ? 0 : (order_.back() + 1) % levels_;
    order_.push_back(slot);
  }
  Slot& s = slots_[size_t(slot)];
  s.Width = surface.Width();
  s.Height = surface.Height();
  const size_t rowBytes = size_t(s.Width) * 3;
  s.Bytes.assign(rowBytes * size_t(s.Height), 0);
  for (int y = 0; y < s.Height; ++y) std::memcpy(&s.Bytes[size_t(y) * rowBytes], surface.Row(y), rowBytes);
}

bool UndoRing::Pop(TFastDIB& surface) {
  if (order_.empty()) return false;
  Slot& s = slots_[size_t(order_.back())];
  if (surface.SetSize(s.Width, s.Height, 24, 0) || s.Width == 0) {
    const size_t rowBytes = size_t(s.Width) * 3;
    for (int y = 0; y < s.Height; ++y) std::memcpy(surface.Row(y), &s.Bytes[size_t(y) * rowBytes], rowBytes);
  }
  s = Slot{};
  order_.pop_back();
  full_ = false;
  return true;
}

bool UndoRing::SetLevels(int levels) {
  if (levels < 1) return false;
  order_.clear();
  slots_.assign(size_t(levels), Slot{});
  levels_ = levels;
  full_ = false;
  return true;
}

}  // namespace vorq
