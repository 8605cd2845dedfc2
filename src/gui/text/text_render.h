// Drawing the text tool's text: the one place that turns a text line into
// glyphs, for the Add Text dialog's sample, the floating text, the commit
// on the image and the batch tool's replay alike. Needs a QGuiApplication.
//
// Glyphs are drawn without anti-aliasing and with full hinting, whatever the
// desktop's font settings, so that the pixels are the font colour only and a
// replay on the same machine gives the same pixels as the editor drew.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <string>

#include "core/oplog/text_line.h"
#include "core/surface/fast_dib.h"

namespace vorq::gui {

// The face drawn when the chosen family is not installed.
QString DefaultTextFamily();
// The installed family whose name equals name without regard to case; empty when none.
QString InstalledFamily(const QString& name);
// The font of a text line: its family (or the default face), its size in
// points at 96 dots per inch, its style.
QFont TextFont(const QString& family, int size, TextStyle style);
QFont TextFont(const TextToolLine& line);
int TextFlags(TextAlign align);
// The text box: the measured size of the text (every line, breaking only at
// line breaks) widened by the font's largest character width.
QSize TextBoxSize(const TextToolLine& line);
// Largest text box the tool draws, on each side and in pixels.
constexpr int kMaxTextBoxSide = 16384;
constexpr int64_t kMaxTextBoxPixels = int64_t(1) << 24;

// Why a line cannot be drawn (size out of range, box too large); empty when it can.
std::string TextLineProblem(const TextToolLine& line, QSize* box = nullptr);
// The floating text: the glyphs in the font colour on a transparent image of the text box's size.
QImage RenderFloatingText(const TextToolLine& line);
// Draws line's text onto surface in its text box at (line.X, line.Y).
// False with message set when it cannot be drawn; true with message set to
// a warning when the font was not installed and the default face stood in.
bool DrawTextToolLine(TFastDIB& surface, const TextToolLine& line, std::string& message);

// A text renderer for a program without windows: on its first use it starts
// a QGuiApplication on the offscreen platform unless one is running.
std::function<bool(TFastDIB&, const TextToolLine&, std::string&)> OffscreenTextRenderer();

}  // namespace vorq::gui
