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

// What a run of lines can ask for later, counted before any of them runs: a
// batch run keeps undo snapshots only as deep as its "UnDo" lines can reach
// (Editor::SetUndoDepth) and the reset copy only for an "Image Reset" line.
struct ReplayNeeds {
  int Undos = 0;
  bool Reset = false;
  void Add(const std::string& line);
};

}  // namespace vorq
