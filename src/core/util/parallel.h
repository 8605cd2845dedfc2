// Splits rows 0 .. count-1 into contiguous bands run on both cores. Use only
// where every row's result is independent of the others.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace vorq {

// fn(begin, end) is called for disjoint bands covering 0 .. count-1.
void ParallelRows(int count, const std::function<void(int, int)>& fn);
// The bands ParallelRows would use, for work that sets up each band's
// memory before it starts.
std::vector<std::pair<int, int>> RowBands(int count);
// Hands out bands of `band` rows one at a time to both cores, so uneven work
// (a disc in a square) still splits evenly. Rows must be independent.
void ParallelBands(int count, int band, const std::function<void(int, int)>& fn);
// fn(0) .. fn(n - 1) at the same time, each on a thread of its own, for
// tasks that wait on each other.
void ParallelTasks(int n, const std::function<void(int)>& fn);
// Number of threads ParallelRows uses (1 turns it off, for comparisons).
void SetWorkerCount(int n);
int WorkerCount();
// The widest vectors effects may use where the processor has them: 512
// bits (the default), 256 (AVX2) or 0, for comparisons; the results are the
// same either way. SetWideVectors(false) is SetVectorBits(0).
void SetVectorBits(int bits);
void SetWideVectors(bool on);
// Whether the 512-bit rows run; whether the 256-bit (AVX2) ones may, where
// the 512-bit ones do not.
bool WideVectors();
bool Avx2Vectors();

}  // namespace vorq
