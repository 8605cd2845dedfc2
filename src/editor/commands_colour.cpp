#include "editor/editor.h"
#include "editor/family_commands.h"

namespace vorq {

bool HasColourEffect(int) { return false; }
bool RunColourEffect(Editor&, int) { return false; }

}  // namespace vorq
