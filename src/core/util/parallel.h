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
// Whether effects may use the processor's 512-bit vectors where it has them
// (on by default; off for comparisons). The results are the same either way.
void SetWideVectors(bool on);
bool WideVectors();
// The same switch for 256-bit vectors (AVX2), where the processor has them.
bool Avx2Vectors();

}  // namespace vorq
