// The ring of snapshots behind Undo. When every slot is taken the next
// snapshot overwrites the oldest one; there is no redo.
#pragma once

#include <cstdint>
#include <vector>

#include "core/surface/fast_dib.h"

namespace vorq {

class UndoRing {
 public:
  explicit UndoRing(int levels = 15);

  int Levels() const { return levels_; }
  int Count() const { return int(order_.size()); }
  bool Empty() const { return order_.empty(); }
  bool Full() const { return full_; }
  // Slot numbers, oldest first.
  const std::vector<int>& Order() const { return order_; }

  // Snapshot of the surface's own bytes into the next slot.
  void Push(const TFastDIB& surface);
  // Puts the newest snapshot back (size included); false when empty.
  bool Pop(TFastDIB& surface);
  // Frees every snapshot and resizes the ring; levels below 1 are refused.
  bool SetLevels(int levels);

 private:
  struct Slot {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Bytes;  // rows of 3 * Width bytes, blue, green, red
  };
  int levels_;
  bool full_ = false;
  std::vector<Slot> slots_;
  std::vector<int> order_;
};

}  // namespace vorq
