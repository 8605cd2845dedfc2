// How far a long effect is, and a way to stop it. Whoever runs an effect may
// put a sink in place for its thread; the band loops (parallel.h) report to it
// after each band and stop handing out bands once it asks them to. A stopped
// effect leaves its surface half done: the caller restores it.
#pragma once

#include <cstdint>

namespace vorq {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // done of total steps; false asks the effect to stop. Called on the thread
  // that installed the sink only.
  virtual bool Report(int64_t done, int64_t total) = 0;
  bool Cancelled() const { return cancelled_; }

 protected:
  bool cancelled_ = false;  // sticky: later passes of the same effect stop at once
};

// The sink of this thread (nullptr: nobody listens, nothing stops).
ProgressSink* CurrentProgress();

// Installs a sink for this thread for the scope's life.
class ProgressScope {
 public:
  explicit ProgressScope(ProgressSink* sink);
  ~ProgressScope();
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  ProgressSink* previous_;
};

// For effects with loops of their own: true to go on.
inline bool ProgressStep(int64_t done, int64_t total) {
  ProgressSink* s = CurrentProgress();
  return !s || s->Report(done, total);
}

}  // namespace vorq
