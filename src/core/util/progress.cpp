#include "core/util/progress.h"

namespace vorq {
namespace {
thread_local ProgressSink* gSink = nullptr;
}

ProgressSink* CurrentProgress() { return gSink; }

ProgressScope::ProgressScope(ProgressSink* sink) : previous_(gSink) { gSink = sink; }
ProgressScope::~ProgressScope() { gSink = previous_; }

}  // namespace vorq
