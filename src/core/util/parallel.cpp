#include "core/util/parallel.h"
#include "core/util/progress.h"

#include <algorithm>
#include <cstdint>
#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace vorq {
namespace {
int gWorkers = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
int gVectorBits = 512;

bool HasWideVectors() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
                          __builtin_cpu_supports("avx512vbmi");
  return has;
#else
  return false;
#endif
}
}

void SetWorkerCount(int n) { gWorkers = std::max(1, n); }
int WorkerCount() { return gWorkers; }
void SetVectorBits(int bits) { gVectorBits = bits; }
void SetWideVectors(bool on) { gVectorBits = on ? 512 : 0; }
bool WideVectors() { return gVectorBits >= 512 && HasWideVectors(); }
bool Avx2Vectors() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  static const bool has = __builtin_cpu_supports("avx2");
  return gVectorBits >= 256 && has;
#else
  return false;
#endif
}

std::vector<std::pair<int, int>> RowBands(int count) {
  std::vector<std::pair<int, int>> bands;
  const int workers = std::min(gWorkers, count / 16);  // tiny jobs are not worth a thread
  if (workers <= 1) {
    if (count > 0) bands.emplace_back(0, count);
    return bands;
  }
  const int band = (count + workers - 1) / workers;
  for (int i = 0; i < workers; ++i) {
    const int b = i * band, e = std::min(count, b + band);
    if (b < e) bands.emplace_back(b, e);
  }
  return bands;
}

void ParallelRows(int count, const std::function<void(int, int)>& fn) {
  const std::vector<std::pair<int, int>> bands = RowBands(count);
  std::vector<std::thread> threads;
  threads.reserve(bands.size());
  for (size_t i = 1; i < bands.size(); ++i) threads.emplace_back(fn, bands[i].first, bands[i].second);
  if (!bands.empty()) fn(bands[0].first, bands[0].second);
  for (auto& t : threads) t.join();
}

void ParallelTasks(int n, const std::function<void(int)>& fn) {
  std::vector<std::thread> threads;
  for (int i = 1; i < n; ++i) threads.emplace_back(fn, i);
  if (n > 0) fn(0);
  for (auto& t : threads) t.join();
}

void ParallelBands(int count, int band, const std::function<void(int, int)>& fn) {
  if (count <= 0 || band <= 0) return;
  const int bands = (count + band - 1) / band;
  // Progress goes to this thread's sink, from this thread only; a stop ends
  // the handing out of bands on both.
  ProgressSink* const sink = CurrentProgress();
  if (sink && sink->Cancelled()) return;
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<int> next{0}, finished{0};
  std::atomic<bool> stop{false};
  ParallelRows(std::min(bands, WorkerCount()) * 16, [&](int, int) {
    for (int i; !stop.load(std::memory_order_relaxed) && (i = next.fetch_add(1)) < bands;) {
      fn(i * band, std::min(count, (i + 1) * band));
      const int done = finished.fetch_add(1) + 1;
      if (sink && std::this_thread::get_id() == caller && !sink->Report(done, bands)) stop = true;
    }
  });
}

}  // namespace vorq
