#include "editor/editor.h"
#include "editor/family_commands.h"

namespace vorq {

bool HasDistortionEffect(int) { return false; }
bool RunDistortionEffect(Editor&, int) { return false; }

}  // namespace vorq
