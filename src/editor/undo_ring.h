// The ring of snapshots behind Undo. When every slot is taken the next
// snapshot overwrites the oldest one; there is no redo. Slots take memory
// only when first used, and the snapshots together stay under a byte limit:
// older ones are dropped first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/surface/fast_dib.h"

namespace vorq {

class UndoRing {
 public:
  static constexpr int kMaxLevels = 1000;
  static constexpr size_t kDefaultByteLimit = size_t(1) << 30;  // 1 GiB

  explicit UndoRing(int levels = 15);

  int Levels() const { return levels_; }
  int Count() const { return int(order_.size()); }
  bool Empty() const { return order_.empty(); }
  bool Full() const { return full_; }
  // Slot numbers, oldest first.
  const std::vector<int>& Order() const { return order_; }
  // Bytes the snapshots hold, and the most they may hold together.
  size_t Bytes() const { return bytes_; }
  size_t ByteLimit() const { return limit_; }
  void SetByteLimit(size_t limit) { limit_ = limit; }

  // Snapshot of the surface's pixels into the next slot, dropping the
  // oldest snapshots while the ring would hold more than ByteLimit (their
  // number is Dropped() afterwards). False, with the ring unchanged, when
  // there is no memory for the snapshot or it alone exceeds the limit.
  bool Push(const TFastDIB& surface);
  int Dropped() const { return dropped_; }
  // Puts the newest snapshot back (size included). False when the ring is
  // empty, or when there is no memory for a restored size (the snapshot is
  // then kept and the surface unchanged).
  bool Pop(TFastDIB& surface);
  // Frees every snapshot and resizes the ring; false (nothing changes)
  // below 1 and above kMaxLevels.
  bool SetLevels(int levels);

 private:
  struct Slot {
    int Width = 0, Height = 0;
    std::unique_ptr<uint8_t[]> Bytes;  // rows of 3 * Width bytes, blue, green, red
  };
  void Release(int slot);
  int levels_;
  bool full_ = false;
  int dropped_ = 0;
  size_t bytes_ = 0, limit_ = kDefaultByteLimit;
  std::vector<Slot> slots_;  // grows to the highest slot used
  std::vector<int> order_;
};

}  // namespace vorq
