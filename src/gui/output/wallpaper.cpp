#include "gui/output/wallpaper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <string>

#include "core/imageio/image_file.h"

namespace vorq::gui {

namespace {

const char* const kFileName = "VorqTile.bmp";
constexpr int kToolTimeoutMs = 15000;

// Runs a desktop tool and waits for it; an empty text when it succeeded,
// else what went wrong. out receives what it printed.
QString Run(const QString& program, const QStringList& args, QString* out = nullptr) {
  const QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty()) return program + " was not found";
  QProcess p;
  p.start(path, args);
  if (!p.waitForStarted(kToolTimeoutMs)) return program + " could not be started";
  if (!p.waitForFinished(kToolTimeoutMs)) {
    p.kill();
    p.waitForFinished(1000);
    return program + " did not answer";
  }
  if (out) *out = QString::fromLocal8Bit(p.readAllStandardOutput());
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    const QString said = QString::fromLocal8Bit(p.readAllStandardError()).trimmed().section('\n', 0, 0);
    return program + " failed" + (said.isEmpty() ? QString() : " (" + said + ")");
  }
  return {};
}

// "wallpaper" is the tiled placement in all three schemas.
QString ByGsettings(const char* schema, const char* key, const QString& value, bool darkToo = false) {
  QString error = Run("gsettings", {"set", schema, "picture-options", "wallpaper"});
  if (error.isEmpty()) error = Run("gsettings", {"set", schema, key, value});
  // Newer GNOME keeps a second picture for the dark style; older ones do not know the key.
  if (error.isEmpty() && darkToo) Run("gsettings", {"set", schema, "picture-uri-dark", value});
  return error;
}

QString JsString(const QString& s) {
  QString out = "'";
  for (const QChar c : s) {
    if (c == '\\' || c == '\'') out += '\\';
    out += c;
  }
  return out + "'";
}

QString ByPlasma(const QString& url) {
  // FillMode 3 is Tile. Emptying the picture first makes Plasma reload a file
  // whose name has not changed.
  const QString script =
      "var url = " + JsString(url) +
      ";\n"
      "desktops().forEach(function (d) {\n"
      "  d.wallpaperPlugin = 'org.kde.image';\n"
      "  d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];\n"
      "  d.writeConfig('Image', '');\n"
      "  d.writeConfig('Image', url);\n"
      "  d.writeConfig('FillMode', 3);\n"
      "});\n";
  for (const char* qdbus : {"qdbus6", "qdbus-qt6", "qdbus", "qdbus-qt5"})
    if (!QStandardPaths::findExecutable(qdbus).isEmpty())
      return Run(qdbus, {"org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", script});
  return Run("dbus-send", {"--session", "--dest=org.kde.plasmashell", "--type=method_call", "--print-reply",
                           "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", "string:" + script});
}

QString ByXfconf(const QString& path) {
  QString listing;
  QString error = Run("xfconf-query", {"-c", "xfce4-desktop", "-l"}, &listing);
  if (!error.isEmpty()) return error;
  // One picture per monitor and workspace; a fresh desktop may list none yet.
  QStringList images;
  for (const QString& line : listing.split('\n', Qt::SkipEmptyParts))
    if (line.trimmed().endsWith("/last-image")) images << line.trimmed();
  if (images.isEmpty()) images << "/backdrop/screen0/monitor0/workspace0/last-image";
  for (const QString& image : images) {
    const QString style = image.left(image.lastIndexOf('/')) + "/image-style";
    // Style 2 is Tiled; -n creates a property the desktop has not written yet.
    error = Run("xfconf-query", {"-c", "xfce4-desktop", "-p", style, "-n", "-t", "int", "-s", "2"});
    if (error.isEmpty())
      error = Run("xfconf-query", {"-c", "xfce4-desktop", "-p", image, "-n", "-t", "string", "-s", path});
    if (!error.isEmpty()) return error;
  }
  return {};
}

QString NotSet(const QString& path, const QString& why) {
  return "The image was saved as \"" + path + "\", but " + why +
         ". Choose that file as a tiled wallpaper in the desktop's own settings.";
}

}  // namespace

Desktop DetectDesktop(const QString& currentDesktop, const QString& session) {
  auto known = [](const QString& name) {
    const QString n = name.trimmed().toLower();
    if (n == "kde" || n == "plasma" || n == "plasmawayland" || n == "plasmax11") return Desktop::Kde;
    if (n == "xfce" || n == "xfce4" || n == "xubuntu") return Desktop::Xfce;
    if (n == "x-cinnamon" || n == "cinnamon") return Desktop::Cinnamon;
    if (n == "mate") return Desktop::Mate;
    if (n == "gnome" || n == "gnome-classic" || n == "gnome-flashback" || n == "ubuntu" || n == "unity" ||
        n == "budgie" || n == "budgie-desktop" || n == "pantheon")
      return Desktop::Gnome;
    return Desktop::Unknown;
  };
  for (const QString& name : currentDesktop.split(':', Qt::SkipEmptyParts))
    if (const Desktop d = known(name); d != Desktop::Unknown) return d;
  return known(session);
}

Desktop CurrentDesktop() {
  return DetectDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), qEnvironmentVariable("DESKTOP_SESSION"));
}

QString WallpaperPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vorqtile/" + kFileName;
}

QString SetAsWallpaper(const TFastDIB& image, Desktop desktop) {
  const QString path = WallpaperPath();
  if (!QDir().mkpath(QFileInfo(path).absolutePath()))
    return "The wallpaper could not be saved: the folder \"" + QFileInfo(path).absolutePath() +
           "\" could not be made.";
  std::string error;
  if (!SaveImageFile(QFile::encodeName(path).toStdString(), image, SaveOptions{}, error))
    return "The wallpaper could not be saved: " + QString::fromStdString(error);

  const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
  QString failed;
  switch (desktop) {
    case Desktop::Gnome: failed = ByGsettings("org.gnome.desktop.background", "picture-uri", url, true); break;
    case Desktop::Cinnamon: failed = ByGsettings("org.cinnamon.desktop.background", "picture-uri", url); break;
    case Desktop::Mate: failed = ByGsettings("org.mate.background", "picture-filename", path); break;
    case Desktop::Kde: failed = ByPlasma(url); break;
    case Desktop::Xfce: failed = ByXfconf(path); break;
    case Desktop::Unknown: return NotSet(path, "this desktop was not recognised, so it could not be made the wallpaper");
  }
  if (failed.isEmpty()) return {};
  return NotSet(path, "the desktop did not take it as the wallpaper: " + failed);
}

}  // namespace vorq::gui
