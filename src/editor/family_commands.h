// Each effect family runs its own Effect ids inside the pipeline. Run*
// returns false when id is not one of the family's (or it refused to run);
// Has* tells whether the family implements id.
#pragma once

namespace vorq {

class Editor;

bool HasDistortionEffect(int id);
bool RunDistortionEffect(Editor& ed, int id);

bool HasColourEffect(int id);
bool RunColourEffect(Editor& ed, int id);

bool HasGeometryEffect(int id);
bool RunGeometryEffect(Editor& ed, int id);

}  // namespace vorq
