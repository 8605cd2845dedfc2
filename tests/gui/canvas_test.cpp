// The canvas: zoom, image coordinates at any zoom, the tiled view and the seam panel.

#include <QLabel>
#include <QPaintEvent>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include <tuple>

#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

struct Canvas : Fixture {
  Canvas(int w, int h) {
    window->resize(900, 700);
    if (!ShowExposed()) qWarning("the main window was not shown");
    editor().WorkSurface.SetSize(w, h, 24, 0);
    Fill(MakePixel(255, 255, 255));
  }
  ImageView* view() { return window->imageView(); }
  QString Panel(const char* name) { return window->findChild<QLabel*>(name)->text(); }
};

}  // namespace

void PaintingTest::zoomedLineLandsInImageCoordinates() {
  Canvas f(40, 30);
  f.window->action("ZoomIn1")->trigger();
  f.window->action("ZoomIn1")->trigger();
  QCOMPARE(f.view()->size(), QSize(160, 120));
  QCOMPARE(f.Panel("stBarZoom"), QString("Zoom: 4x"));
  f.editor().ToolBox.PenColor = 0;
  f.editor().ToolBox.PenSize = "1";
  QTest::mouseClick(Child<QToolButton>(f.window->toolBox(), "bLine"), Qt::LeftButton);
  // Screen (21, 29) is image (5, 7); screen (62, 30) is image (15, 7).
  QTest::mousePress(f.view(), Qt::LeftButton, {}, {21, 29});
  QTest::mouseMove(f.view(), {62, 30});
  QTest::mouseRelease(f.view(), Qt::LeftButton, {}, {62, 30});
  const TFastDIB& s = f.editor().WorkSurface;
  // The line stops short of its end point, as lines do at 1x.
  for (int x = 5; x < 15; ++x) QCOMPARE(s.GetPixel(7, x), MakePixel(0, 0, 0));
  QCOMPARE(s.GetPixel(8, 10), MakePixel(255, 255, 255));
  QCOMPARE(s.GetPixel(7, 15), MakePixel(255, 255, 255));
  // Fit: the largest power of two at which the image fits the area.
  f.window->action("Fit1")->trigger();
  const QSize room = f.view()->parentWidget()->size();
  QVERIFY(f.view()->width() <= room.width() && f.view()->height() <= room.height());
  QVERIFY(f.view()->width() * 2 > room.width() || f.view()->height() * 2 > room.height());
  f.window->action("ActualSize1")->trigger();
  QCOMPARE(f.view()->size(), QSize(40, 30));
  QCOMPARE(f.Panel("stBarZoom"), QString("Zoom: 1x"));
  // Ctrl and the wheel turned away zoom in, towards zoom out; the wheel alone does not zoom.
  for (const auto& [dy, mods, zoom] : {std::tuple{120, Qt::ControlModifier, "Zoom: 2x"}, {120, Qt::NoModifier, "Zoom: 2x"},
                                       {-120, Qt::ControlModifier, "Zoom: 1x"}}) {
    QWheelEvent wheel(QPointF(5, 5), f.view()->mapToGlobal(QPointF(5, 5)), {}, {0, dy}, Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.view(), &wheel);
    QCOMPARE(f.Panel("stBarZoom"), QString(zoom));
  }
  // The pixel grid, a faint grey line on each image pixel's left and top edge, shows from 8x.
  for (int zoom : {2, 3}) {
    f.view()->SetZoom(zoom);
    const QImage shot = f.view()->grab().toImage();
    QCOMPARE(shot.pixelColor(16, 1), zoom == 3 ? QColor(210, 210, 210) : QColor(Qt::white));
    QCOMPARE(shot.pixelColor(17, 1), QColor(Qt::white));
  }
}

void PaintingTest::tiledViewShowsTheCopiesAndTheSeams() {
  Canvas f(24, 16);
  TFastDIB& s = f.editor().WorkSurface;
  s.SetPixel(0, 23, MakePixel(255, 0, 0));  // a red pixel at the top right corner
  f.editor().RefreshImage();
  f.window->action("TiledView1")->trigger();
  QCOMPARE(f.view()->size(), QSize(72, 48));
  QTest::mouseMove(f.view(), {5, 3});  // over the top left copy: its pixel (5, 3)
  QCOMPARE(f.window->statusPanel(kPanelX)->text() + " " + f.window->statusPanel(kPanelY)->text(), QString("X: 5 Y: 3"));
  const QImage shot = f.view()->grab().toImage();
  for (int ty = 0; ty < 3; ++ty)
    for (int tx = 0; tx < 3; ++tx) QCOMPARE(shot.pixelColor(tx * 24 + 23, ty * 16), QColor(255, 0, 0));
  QCOMPARE(shot.pixelColor(24, 16), QColor(255, 255, 255));
  // While a stroke is drawn, its pixels are repainted in all nine copies, and only there.
  struct Repaints : QObject {
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(e)->region();
      return false;
    }
  } repaints;
  QTest::mouseClick(Child<QToolButton>(f.window->toolBox(), "bFree"), Qt::LeftButton);
  QTest::mousePress(f.view(), Qt::LeftButton, {}, {24 + 5, 16 + 3});  // in the middle copy, the image itself
  QTest::qWait(20);
  f.view()->installEventFilter(&repaints);
  QTest::mouseMove(f.view(), {24 + 6, 16 + 3});
  QTRY_VERIFY(!repaints.Painted.isEmpty());
  f.view()->removeEventFilter(&repaints);
  QTest::mouseRelease(f.view(), Qt::LeftButton, {}, {24 + 6, 16 + 3});
  for (int ty = 0; ty < 3; ++ty)
    for (int tx = 0; tx < 3; ++tx) QVERIFY(repaints.Painted.contains(QPoint(tx * 24 + 6, ty * 16 + 3)));
  QVERIFY(!repaints.Painted.contains(QPoint(20, 12)));
  // The seam panel follows the image: a lone red pixel on the edge is a seam.
  QVERIFY(f.Panel("stBarSeam").startsWith("Seams: ") && f.Panel("stBarSeam") != "Seams: 1.00");

  // A view larger than the window scrolls without end: half a tile past either end jumps back a tile.
  s.SetSize(1000, 800, 24, 0);
  f.editor().RefreshImage();
  auto* area = qobject_cast<QScrollArea*>(f.view()->parentWidget()->parentWidget());
  QScrollBar* h = area->horizontalScrollBar();
  QScrollBar* v = area->verticalScrollBar();
  for (auto [bar, set, shown] : {std::tuple{h, 499, 1499}, {h, 500, 500}, {h, 1499, 1499}, {h, 1500, 500},
                                 {v, 399, 1199}, {v, 1200, 400}}) {
    bar->setValue(set);
    QCOMPARE(bar->value(), shown);
  }
  // Leaving the tiled view keeps the image where it was; zooming in keeps the area's middle.
  h->setValue(1100);
  v->setValue(850);
  f.window->action("TiledView1")->trigger();
  QCOMPARE(QPoint(h->value(), v->value()), QPoint(100, 50));
  const QPoint middle(area->viewport()->width() / 2, area->viewport()->height() / 2);
  f.window->action("ZoomIn1")->trigger();  // the image point at (100, 50) + middle + 0.5 doubles
  QCOMPARE(QPoint(h->value(), v->value()), QPoint(201, 101) + middle);
  // Ctrl + wheel keeps the image pixel under the mouse (10, 20 into the area) where it is.
  const QPoint mouse = QPoint(h->value(), v->value()) + QPoint(10, 20);
  QWheelEvent in(mouse, f.view()->mapToGlobal(QPointF(mouse)), {}, {0, 120}, Qt::NoButton, Qt::ControlModifier,
                 Qt::NoScrollPhase, false);
  QApplication::sendEvent(f.view(), &in);
  QCOMPARE(QPoint((h->value() + 10) / 4, (v->value() + 20) / 4), QPoint(mouse.x() / 2, mouse.y() / 2));
  // Pictures of the tiled view for a look by eye.
  const QByteArray dir = qgetenv("VORQ_CANVAS_SHOTS");
  if (!dir.isEmpty()) {
    s.SetSize(96, 64, 24, 0);
    f.PaintPattern();
    f.window->action("DimCopies1")->trigger();
    for (int zoom : {-2, 0, 3}) {
      f.view()->SetZoom(zoom);
      QTest::qWait(20);
      f.window->grab().save(QString("%1/tiled_%2.png").arg(QString::fromLocal8Bit(dir)).arg(zoom));
    }
  }
}

}  // namespace vorq::gui::test
