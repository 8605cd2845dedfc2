#include "gui/mainwin/canvas_view.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "core/effects/seam_meter.h"
#include "core/oplog/log_format.h"
#include "editor/editor.h"
#include "gui/mainwin/image_view.h"

namespace vorq::gui {

QString ZoomText(int zoomLog2) {
  return zoomLog2 >= 0 ? QString("%1x").arg(1 << zoomLog2) : QString("1/%1x").arg(1 << -zoomLog2);
}

CanvasControls::CanvasControls(QMainWindow* window, ImageView* view, Editor& editor, const char* beforeMenu,
                               const char* optionsMenu)
    : QObject(window), view_(view), editor_(editor) {
  auto* menu = new QMenu(QStringLiteral("&View"), window);
  menu->setObjectName("View1");
  QMenuBar* bar = window->menuBar();
  QMenu* before = bar->findChild<QMenu*>(beforeMenu);
  if (before)
    bar->insertMenu(before->menuAction(), menu);
  else
    bar->addMenu(menu);
  auto item = [&](const char* caption, const char* name, QList<QKeySequence> keys, auto slot) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    a->setShortcuts(keys);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  item("Zoom &In", "ZoomIn1", {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")},
       [this] { view_->SetZoom(view_->ZoomLog2() + 1); });
  item("Zoom &Out", "ZoomOut1", {QKeySequence("Ctrl+-")}, [this] { view_->SetZoom(view_->ZoomLog2() - 1); });
  item("&Actual Size", "ActualSize1", {QKeySequence("Ctrl+0")}, [this] { view_->SetZoom(0); });
  item("&Fit", "Fit1", {QKeySequence("Ctrl+9")}, [this] { view_->SetZoom(view_->FitZoom()); });
  menu->addSeparator();
  QAction* tiled = item("&Tiled View", "TiledView1", {QKeySequence("Ctrl+Shift+T")},
                        [this](bool on) { view_->SetTiled(on); });
  tiled->setCheckable(true);
  QAction* dim = item("&Dim Copies", "DimCopies1", {}, [this](bool on) { view_->SetDimCopies(on); });
  dim->setCheckable(true);

  // Stored in the settings file; the menu shows what the editor holds when it opens.
  if (QMenu* options = bar->findChild<QMenu*>(optionsMenu)) {
    QAction* wrap = options->addAction(QStringLiteral("&Wrap Painting"));
    wrap->setObjectName("WrapPainting1");
    wrap->setCheckable(true);
    wrap->setStatusTip("The painting tools and flood fill continue across the edges onto the opposite side");
    connect(wrap, &QAction::triggered, this, [this](bool on) { editor_.WrapPainting = on; });
    connect(options, &QMenu::aboutToShow, this, [this, wrap] { wrap->setChecked(editor_.WrapPainting); });
  }

  QStatusBar* status = window->statusBar();
  zoom_ = new QLabel(status);
  zoom_->setObjectName("stBarZoom");
  zoom_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  zoom_->setToolTip("Zoom (Ctrl+wheel)");
  seam_ = new QLabel(status);
  seam_->setObjectName("stBarSeam");
  seam_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status->addPermanentWidget(zoom_);
  status->addPermanentWidget(seam_);
  connect(view_, &ImageView::ZoomChanged, this, &CanvasControls::ShowZoom);
  ShowZoom(view_->ZoomLog2());
  SurfaceChanged();
}

void CanvasControls::ShowZoom(int zoomLog2) { zoom_->setText("Zoom: " + ZoomText(zoomLog2)); }

QString CanvasControls::SeamText() const {
  return QString::fromStdString("Seams: " + SeamReportText(MeasureSeams(editor_.WorkSurface)));
}

// The panel is narrow: the figure for both seams, each seam in the tool tip.
void CanvasControls::SurfaceChanged() {
  if (!seam_) return;
  const SeamReport r = MeasureSeams(editor_.WorkSurface);
  seam_->setText(QString::fromStdString("Seams: " + FormatFixed2(r.Both)));
  seam_->setToolTip(SeamText() +
                    "\nThe step across the wrap edges against the steps just inside them; about 1 is seamless.");
}

}  // namespace vorq::gui
