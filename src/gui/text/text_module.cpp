// The batch tool's text drawing as a module it loads for its first text line:
// Qt's libraries cost every run tens of milliseconds to load, and most
// recipes draw no text. The core code it calls is the batch tool's own.
#include "editor/text_tool.h"
#include "gui/text/text_render.h"

extern "C" __attribute__((visibility("default"))) void VorqMakeTextRenderer(vorq::TextRenderer* renderer) {
  *renderer = vorq::gui::OffscreenTextRenderer();
}
