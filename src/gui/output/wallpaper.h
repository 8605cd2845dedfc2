// Image > Set As Wallpaper: the working image saved as "VorqTile.bmp" in the
// user's data folder and handed, tiled, to the desktop in use through that
// desktop's own tool.
#pragma once

#include <QString>

#include "core/surface/fast_dib.h"

namespace vorq::gui {

enum class Desktop { Unknown, Gnome, Cinnamon, Mate, Kde, Xfce };

// From $XDG_CURRENT_DESKTOP (a colon-separated list, the first known name
// wins), else from $DESKTOP_SESSION.
Desktop DetectDesktop(const QString& currentDesktop, const QString& session);
Desktop CurrentDesktop();

// "$XDG_DATA_HOME/vorqtile/VorqTile.bmp" (~/.local/share by default).
QString WallpaperPath();

// Saves the image over any earlier wallpaper file and sets it through
// gsettings (GNOME, Cinnamon, MATE), the Plasma shell's D-Bus scripting call
// (KDE, through qdbus or dbus-send) or xfconf-query (XFCE). Returns an empty
// text when done, else the message for the user, which names the file.
QString SetAsWallpaper(const TFastDIB& image, Desktop desktop = CurrentDesktop());

}  // namespace vorq::gui
