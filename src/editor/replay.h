// Replays log lines: each line exactly as the editor writes it. The values
// in a line are stored first, as Apply stores them; values the line lacks
// keep their stored ones.
#pragma once

#include <string>

#include "editor/editor.h"

namespace vorq {

enum class ReplayStatus { Done, Skipped, Error };

struct ReplayOutcome {
  ReplayStatus Status = ReplayStatus::Done;
  std::string Message;  // the error, or why the line was skipped (empty: nothing worth a warning)
};

ReplayOutcome ReplayLine(Editor& editor, const std::string& line);

}  // namespace vorq
