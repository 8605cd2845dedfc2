// Help > Contents and Options > Print Shortcut Key List: the HTML pages the
// build writes from the effect catalogue, shown in the browser or printed.
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace vorq::gui {

// The folder holding "index.html" and "shortcuts.html": "help" beside the
// program (a build tree), "../share/vorqtile/help" from it (an install), or
// "vorqtile/help" in the XDG data folders. Empty when none has them.
QString HelpFolder();

// Opens the contents page in the default browser. Returns an empty text, or
// the message for the user when there is no help or nothing to show it.
QString OpenHelpContents();

// Prints the shortcut list on printer; false with a message when the page
// is missing or the printer cannot start.
bool PrintShortcutList(QPrinter& printer, QString& error);
// The print preview of the shortcut list, from which it is printed; a
// message when there is no list.
QString PreviewShortcutList(QWidget* parent, bool standard = false);

}  // namespace vorq::gui
