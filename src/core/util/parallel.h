// Splits rows 0 .. count-1 into contiguous bands run on both cores. Use only
// where every row's result is independent of the others.
#pragma once

#include <functional>

namespace vorq {

// fn(begin, end) is called for disjoint bands covering 0 .. count-1.
void ParallelRows(int count, const std::function<void(int, int)>& fn);
// Number of threads ParallelRows uses (1 turns it off, for comparisons).
void SetWorkerCount(int n);
int WorkerCount();

}  // namespace vorq
