#include "editor/editor.h"
#include "editor/family_commands.h"

namespace vorq {

bool HasGeometryEffect(int) { return false; }
bool RunGeometryEffect(Editor&, int) { return false; }
bool ReplayGeometryLine(Editor&, const std::string&, std::string&) { return false; }

}  // namespace vorq
