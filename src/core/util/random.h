// The one process-wide random generator: Random(n) gives 0 <= r < n, and 0
// for n <= 0 (no draw is ever negative). Every call is one step of the
// generator whatever n is, so a run of k draws can be skipped with RandSkip
// and split into bands on both cores with identical results.
//
// It starts from a fixed seed. Randomize reseeds it from the clock and a
// count of reseeds, so two reseeds in the same instant still differ. After
// FixSeed(N) (tests, the batch tool's --seed) Randomize reseeds from N and
// that count instead: a whole recipe repeats exactly while two plasma fields
// made in it still differ.
#pragma once

#include <cstdint>

namespace vorq {

int32_t Random(int32_t n);
double RandomReal();  // 0 <= r < 1
void Randomize();
void SetRandSeed(uint32_t seed);
uint32_t RandSeed();
// Sets the state from N and makes every later Randomize deterministic.
void FixSeed(uint32_t seed);
// Back to reseeding from the clock.
void UnfixSeed();

// One step of the generator, and the draw in 0 .. n-1 that a state gives.
inline uint32_t RandStep(uint32_t s) { return s * 134775813u + 1u; }
inline int32_t RandScale(uint32_t s, int32_t n) {
  return n <= 0 ? 0 : static_cast<int32_t>((uint64_t(s) * uint32_t(n)) >> 32);
}
// The state k steps after s.
uint32_t RandSkip(uint32_t s, uint64_t k);

// The same draws as Random(), taken from a local copy of the state so that
// inner loops keep it in a register; the state goes back when done.
class RandomStream {
 public:
  RandomStream() : s_(RandSeed()) {}
  explicit RandomStream(uint32_t s) : s_(s) {}
  RandomStream(const RandomStream&) = delete;
  RandomStream& operator=(const RandomStream&) = delete;
  int32_t operator()(int32_t n) {
    s_ = RandStep(s_);
    return RandScale(s_, n);
  }
  uint32_t State() const { return s_; }
  void Commit() const { SetRandSeed(s_); }

 private:
  uint32_t s_;
};

}  // namespace vorq
