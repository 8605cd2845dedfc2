// The main window's conveniences: the standard shortcut map, the docked
// tool box, the recent files, dropped files and the tree following the
// current effect.
#include <QAction>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QTreeWidget>

#include "editor/settings.h"
#include "gui/mainwin/image_view.h"
#include "gui/mainwin/tf_vorqtile.h"
#include "gui/toolbox/tf_toolbox.h"

namespace vorq::gui {

namespace {

std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromLocal(const std::string& path) { return QFile::decodeName(path.c_str()); }

// The first local file of a drag, or empty.
QString DroppedFile(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return {};
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

}  // namespace

void TfVorqTile::CreateConveniences() {
  auto* file = findChild<QMenu*>("File1");
  auto* options = findChild<QMenu*>("Options1");

  recentMenu_ = new QMenu("Recent &Files", file);
  recentMenu_->setObjectName("RecentFiles1");
  file->insertMenu(action("SaveAs1"), recentMenu_);

  // Save to the image's own file is a key of the standard map only, so it sits on the window.
  auto* save = new QAction("Save", this);
  save->setObjectName("Save1");
  addAction(save);
  connect(save, &QAction::triggered, this, &TfVorqTile::Save1Click);

  options->addSeparator();
  QAction* standard = options->addAction("Standard Shortcuts");
  standard->setObjectName("StandardShortcuts1");
  standard->setCheckable(true);
  connect(standard, &QAction::toggled, this, &TfVorqTile::SetStandardShortcuts);
  QAction* dock = options->addAction("Dock Tool Box");
  dock->setObjectName("DockToolBox1");
  dock->setCheckable(true);
  connect(dock, &QAction::toggled, this, &TfVorqTile::SetToolBoxDocked);

  // Files dropped on the image open; on the buffer thumbnail they load the buffer.
  if (auto* pane = findChild<QScrollArea*>("pnlSine")) {
    pane->viewport()->setAcceptDrops(true);
    pane->viewport()->installEventFilter(this);
  }
  bufferThumb()->setAcceptDrops(true);
}

bool TfVorqTile::DropEvent(QObject* watched, QEvent* event) {
  auto* pane = findChild<QScrollArea*>("pnlSine");
  const bool canvas = pane && watched == pane->viewport();
  if (!canvas && watched != bufferThumb()) return false;
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (DroppedFile(drag->mimeData()).isEmpty()) return false;
    drag->acceptProposedAction();
    return true;
  }
  if (event->type() != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const QString path = DroppedFile(drop->mimeData());
  if (path.isEmpty()) return false;
  drop->acceptProposedAction();
  // The drag's source waits until the drop returns; a message box must not block it.
  QMetaObject::invokeMethod(
      this,
      [this, path, canvas] {
        if (canvas)
          OpenImageFile(path);
        else
          editor_.LoadBufferFromFile(Local(path));
      },
      Qt::QueuedConnection);
  return true;
}

bool TfVorqTile::OpenImageFile(const QString& path) {
  if (!editor_.OpenImage(Local(path))) return false;
  setDefaultDirectory(QFileInfo(path).absolutePath());
  SetDocument(path);
  AddRecent(path);
  return true;
}

void TfVorqTile::Save1Click() {
  const QString path = document().Path();
  if (path.isEmpty()) {
    SaveAs1Click();
    return;
  }
  const std::string written = editor_.SaveImage(Local(path));
  if (written.empty()) return;
  SetDocument(FromLocal(written));
  AddRecent(FromLocal(written));
}

void TfVorqTile::AddRecent(const QString& path) {
  AddRecentFile(conveniences_.RecentFiles, Local(QFileInfo(path).absoluteFilePath()));
  FillRecentMenu();
}

void TfVorqTile::FillRecentMenu() {
  recentMenu_->clear();
  int n = 0;
  for (const std::string& local : conveniences_.RecentFiles) {
    const QString path = FromLocal(local);
    ++n;
    QAction* a = recentMenu_->addAction(QString("&%1 %2").arg(n).arg(QFileInfo(path).fileName()));
    a->setToolTip(path);
    a->setStatusTip(path);
    connect(a, &QAction::triggered, this, [this, path] { OpenImageFile(path); });
  }
  recentMenu_->setEnabled(n > 0);
}

void TfVorqTile::SetStandardShortcuts(bool standard) {
  conveniences_.StandardShortcuts = standard;
  if (QAction* a = action("StandardShortcuts1"); a->isChecked() != standard) a->setChecked(standard);
  for (const EffectInfo& e : kCatalogue)
    if (QAction* a = action(e.Component)) a->setShortcut(QKeySequence(QString::fromLatin1(EffectShortcut(e, standard))));
  for (const StandardKey& k : StandardKeys()) {
    QAction* a = action(k.Action);
    if (!a) continue;
    // Undo keeps Ctrl+Z in both maps.
    const bool keep = std::string_view(k.Action) == "UnDo1";
    a->setShortcut(standard || keep ? QKeySequence(QString::fromLatin1(k.Key)) : QKeySequence());
  }
}

void TfVorqTile::SetToolBoxDocked(bool docked) {
  conveniences_.DockToolBox = docked;
  if (QAction* a = action("DockToolBox1"); a->isChecked() != docked) a->setChecked(docked);
  const bool shown = toolBox_->isVisible() || (toolDock_ && toolDock_->isVisible()) || ToolBoxShown;
  if (docked) {
    if (!toolDock_) {
      toolDock_ = new QDockWidget("Tool Box", this);
      toolDock_->setObjectName("ToolBoxDock");
      toolDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
      toolDock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
      connect(toolDock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (conveniences_.DockToolBox && isVisible()) ToolBoxShown = visible;
      });
      addDockWidget(Qt::RightDockWidgetArea, toolDock_);
    }
    toolDock_->setWidget(toolBox_);
    toolBox_->setMinimumWidth(191);
    toolBox_->show();
    toolDock_->setVisible(shown && isVisible());
  } else {
    if (toolDock_) {
      toolDock_->setWidget(nullptr);
      toolDock_->hide();
    }
    toolBox_->setParent(this, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    toolBox_->resize(191, toolBox_->ColorSlidersShown() ? 446 : 270);
    toolBox_->setVisible(shown && isVisible());
  }
}

void TfVorqTile::FollowEffectInTree() {
  if (editor_.EffectId < 0) return;
  const QString name = QString::fromStdString(editor_.EffectName);
  const QList<QTreeWidgetItem*> found = tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
  if (found.isEmpty() || found.front()->childCount() > 0 || tree()->currentItem() == found.front()) return;
  // The menu command has shown its tool box already; the tree only catches up.
  const QSignalBlocker quiet(tree());
  tree()->setCurrentItem(found.front());
  tree()->scrollToItem(found.front());
}

void TfVorqTile::LoadConveniences(const IniFile& ini) {
  conveniences_ = ReadConveniences(ini);
  FillRecentMenu();
  SetStandardShortcuts(conveniences_.StandardShortcuts);
  if (conveniences_.DockToolBox) SetToolBoxDocked(true);
  // The window fits the free area of its screen: a stored or default size
  // larger than that shrinks, and a window off every screen comes back.
  const QScreen* screen = QGuiApplication::screenAt(geometry().center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  if (free.isEmpty()) return;
  const QSize size(std::min(width(), free.width()), std::min(height(), free.height()));
  if (size != this->size()) resize(size);
  const QPoint at(std::clamp(x(), free.left(), free.right() + 1 - size.width()),
                  std::clamp(y(), free.top(), free.bottom() + 1 - size.height()));
  if (at != pos()) move(at);
}

}  // namespace vorq::gui
