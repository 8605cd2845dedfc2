// The image's mouse cursors for the painting tools, drawn at run time.
#pragma once

#include <QCursor>
#include <QString>

namespace vorq::gui {

// The cursor registered under a tool's cursor name ("BRUSH", "ELLIP",
// "RECT", "LINE", "FILL", "CROP", "EYEDROP"); any other name, the empty one
// of the text tool included, gives the standard cross.
QCursor ToolCursor(const QString& name);

}  // namespace vorq::gui
