// Small button pictures drawn at run time, so the program carries no image files.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vorq::gui {

enum class Glyph {
  Open, Save, Copy, Paste, Tools, ColorSliders, Undo, Print, PasteGradient, CopyToBuffer, PasteBuffer, TestTiles,
  Apply, Free, Ellipse, Rect, Line, Fill, Text, Select, EyeDrop
};

QPixmap GlyphPixmap(Glyph g);  // 16 x 16
QIcon GlyphIcon(Glyph g);
// The logging indicator's 10 x 12 picture: a sheet with a pencil stroke.
QPixmap LoggingPixmap();

}  // namespace vorq::gui
