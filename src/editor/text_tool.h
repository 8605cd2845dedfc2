// The text tool's commit and replay. Glyphs need fonts, which only the
// windowing layer has, so the drawing comes through a hook that the editor
// program and the batch tool set; without it text lines cannot be replayed.
#pragma once

#include <functional>
#include <string>

#include "core/oplog/text_line.h"
#include "core/surface/fast_dib.h"
#include "editor/replay.h"

namespace vorq {

class Editor;

// Draws line's text onto a surface. False with message set when it cannot;
// true with a warning in message when something stood in (an unknown font).
using TextRenderer = std::function<bool(TFastDIB& surface, const TextToolLine& line, std::string& message)>;
void SetTextRenderer(TextRenderer renderer);
bool HaveTextRenderer();

// The click on the floating text: draws it into WorkSurface (the press on
// the image took the undo snapshot), refreshes and writes the line. Returns
// false with message set when nothing was drawn.
bool CommitText(Editor& ed, const TextToolLine& line, std::string& message);

// A replayed "Text Tool, " line: the press's snapshot, then the commit.
ReplayOutcome ReplayTextTool(Editor& ed, const TextToolLine& text);

}  // namespace vorq
