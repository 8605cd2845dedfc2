// Each effect family runs its own Effect ids inside the pipeline. Run*
// returns false when id is not one of the family's (or it refused to run);
// Has* tells whether the family implements id.
#pragma once

#include <string>

namespace vorq {

class Editor;

bool HasDistortionEffect(int id);
bool RunDistortionEffect(Editor& ed, int id);

bool HasColourEffect(int id);
bool RunColourEffect(Editor& ed, int id);

bool HasGeometryEffect(int id);
bool RunGeometryEffect(Editor& ed, int id);

// Lines of commands outside the catalogue ("Resize Fast, Width 10, Height 20",
// "Edge Merge 1/8", "4 Way Flip", ...). Returns false when the line is not
// one of the family's; otherwise runs it and leaves error empty on success.
bool ReplayGeometryLine(Editor& ed, const std::string& line, std::string& error);

}  // namespace vorq
