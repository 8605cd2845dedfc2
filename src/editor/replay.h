// Replays log lines: each line exactly as the editor writes it. The values
// in a line are stored first, as Apply stores them; values the line lacks
// keep their stored ones.
#pragma once

#include <string>
#include <vector>

#include "editor/editor.h"

namespace vorq {

enum class ReplayStatus { Done, Skipped, Error };

struct ReplayOutcome {
  ReplayStatus Status = ReplayStatus::Done;
  std::string Message;  // the error, or why the line was skipped (empty: nothing worth a warning)
};

ReplayOutcome ReplayLine(Editor& editor, const std::string& line);

// Stores the ", Label value" pairs of an effect line for effect id (parts as
// cut by SplitLogLine) without running anything.
ReplayOutcome StoreLineValues(Editor& editor, int id, const std::vector<std::string>& parts);

}  // namespace vorq
