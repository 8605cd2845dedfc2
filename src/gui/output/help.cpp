#include "gui/output/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextDocument>
#include <QUrl>
#include <string_view>

#include "editor/conveniences.h"

namespace vorq::gui {

namespace {

const char* const kContents = "index.html";
const char* const kShortcuts = "shortcuts.html";

QString Missing(const char* page) {
  return QString("The help page \"%1\" was not found beside the program or in the installed help "
                 "(share/vorqtile/help).")
      .arg(page);
}

// The page lists the classic map; the standard one adds the file commands'
// keys and moves the effects whose keys they take.
QString StandardMap(QString html) {
  for (const EffectInfo& e : kCatalogue) {
    const char* key = EffectShortcut(e, true);
    if (e.Shortcut && key != e.Shortcut)
      html.replace(QString("<kbd>%1</kbd>").arg(e.Shortcut), QString("<kbd>%1</kbd>").arg(key));
  }
  QString rows;
  for (const StandardKey& k : StandardKeys())
    if (std::string_view(k.Action) != "UnDo1")
      rows += QString("<tr><td><kbd>%1</kbd></td><td>%2</td><td>%3</td></tr>\n").arg(k.Key, k.Command, k.Menu);
  const int first = html.indexOf("<tr><td>");
  if (first >= 0) html.insert(first, rows);
  return html;
}

bool LoadShortcuts(QTextDocument& doc, QString& error, bool standard = false) {
  const QString folder = HelpFolder();
  QFile file(folder + "/" + kShortcuts);
  if (folder.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    error = Missing(kShortcuts);
    return false;
  }
  const QString html = QString::fromUtf8(file.readAll());
  doc.setHtml(standard ? StandardMap(html) : html);
  return true;
}

}  // namespace

QString HelpFolder() {
  const QString app = QCoreApplication::applicationDirPath();
  QStringList candidates{app + "/help", app + "/../share/vorqtile/help"};
  candidates << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "vorqtile/help",
                                          QStandardPaths::LocateDirectory);
  for (const QString& folder : candidates)
    if (QFileInfo::exists(folder + "/" + kContents) && QFileInfo::exists(folder + "/" + kShortcuts))
      return QDir::cleanPath(folder);
  return {};
}

QString OpenHelpContents() {
  const QString folder = HelpFolder();
  if (folder.isEmpty()) return Missing(kContents);
  const QString page = folder + "/" + kContents;
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(page))) return {};
  return "No browser could be started to show the help. It is the file \"" + page + "\".";
}

bool PrintShortcutList(QPrinter& printer, QString& error) {
  QTextDocument doc;
  if (!LoadShortcuts(doc, error)) return false;
  doc.print(&printer);
  if (printer.printerState() == QPrinter::Error) {
    error = "The shortcut list could not be printed.";
    return false;
  }
  return true;
}

QString PreviewShortcutList(QWidget* parent, bool standard) {
  QTextDocument doc;
  QString error;
  if (!LoadShortcuts(doc, error, standard)) return error;
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setObjectName("ShortcutPreview");
  preview.setWindowTitle("Shortcut Key List");
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&doc](QPrinter* target) { doc.print(target); });
  preview.exec();
  return {};
}

}  // namespace vorq::gui
