// Mouse gestures on the image view with each painting tool, the Selection Action dialog, and the
// canvas: zoom, image coordinates at any zoom, the tiled view and the seam panel.
#include <tuple>

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include "gui/dialogs/tf_select.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

const TPixel24 kWhite = MakePixel(255, 255, 255);

// A shown window with the tool box's tools at hand.
struct Painter : Fixture {
  Painter() {
    if (!ShowExposed()) qWarning("the main window was not shown");
  }
  ImageView* view() { return window->imageView(); }
  QString statusPanelText(int panel) { return window->statusPanel(panel)->text(); }

  void Tool(const char* button) { QTest::mouseClick(Child<QToolButton>(box(), button), Qt::LeftButton); }

  void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(view(), button, {}, from);
    QTest::mouseMove(view(), (from + to) / 2);
    QTest::mouseMove(view(), to);
    QTest::mouseRelease(view(), button, {}, to);
  }

  // Answers the next Selection Action dialog with one of its buttons; look
  // sees the dialog and the view while the dialog is up.
  void AnswerSelection(const char* button, std::function<void(TfSelect*)> look = {}) {
    QTimer::singleShot(0, [button, look] {
      auto* dialog = qobject_cast<TfSelect*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      if (look) look(dialog);
      Child<QPushButton>(dialog, button)->click();
    });
  }
};

// A larger window with a white image of the given size.
struct Canvas : Painter {
  Canvas(int w, int h) {
    window->resize(900, 700);
    editor().WorkSurface.SetSize(w, h, 24, 0);
    Fill(kWhite);
  }
  QString Panel(const char* name) { return window->findChild<QLabel*>(name)->text(); }
};

}  // namespace

void PaintingTest::toolButtonsSwitchToolAndCursor() {
  Painter f;

  const struct {
    const char* button;
    PaintTool tool;
    const char* cursor;
  } tools[] = {{"bEllip", PaintTool::Ellipse, "ELLIP"},   {"bRect", PaintTool::Rectangle, "RECT"},
               {"bLine", PaintTool::Line, "LINE"},        {"bFill", PaintTool::Fill, "FILL"},
               {"bSelect", PaintTool::Select, "CROP"},    {"bEyeDrop", PaintTool::Eyedropper, "EYEDROP"},
               {"bFree", PaintTool::FreeHand, "BRUSH"}};
  for (const auto& t : tools) {
    f.Tool(t.button);
    QCOMPARE(f.view()->Painting().State.Tool, t.tool);
    QCOMPARE(f.view()->CursorName(), QString(t.cursor));
    QCOMPARE(f.view()->cursor().shape(), Qt::BitmapCursor);  // drawn, not the fallback cross
  }

  auto* fill = Child<QCheckBox>(f.box(), "cFill");
  QVERIFY(fill->isChecked() && f.view()->Painting().State.FillShape);
  fill->click();
  QVERIFY(!f.view()->Painting().State.FillShape);
}

void PaintingTest::paintingToolsThroughTheView() {
  Painter f;
  f.Fill(kWhite);
  f.StartLog();
  f.editor().ToolBox.PenColor = 0x1E140A;  // red 10, green 20, blue 30
  Type(Child<QLineEdit>(f.box(), "ePenSize"), "3");

  f.Drag({10, 10}, {40, 10});
  QCOMPARE(f.editor().WorkSurface.GetPixel(10, 25), MakePixel(10, 20, 30));

  // The line follows the Pen menu; its band shows while dragging but never reaches the pixels.
  f.window->action("XORPen1")->trigger();
  f.Tool("bLine");
  QTest::mousePress(f.view(), Qt::LeftButton, {}, {5, 50});
  QTest::mouseMove(f.view(), {60, 50});
  QVERIFY(f.view()->Band() == RubberBand::Line && f.editor().WorkSurface.GetPixel(50, 30) == kWhite);
  QCOMPARE(f.view()->grab().toImage().pixelColor(30, 50), QColor(Qt::black));  // white inverted on screen
  QTest::mouseRelease(f.view(), Qt::LeftButton, {}, {60, 50});
  QVERIFY(f.view()->Band() == RubberBand::None);
  QCOMPARE(f.view()->grab().toImage().pixelColor(30, 50), QColor(245, 235, 225));

  QCOMPARE(f.LoggedLines(), QStringList({"FreeHand Drawing, Pen Size 3, Pen Color R: 10 G: 20 B: 30",
                                      "Line from X 5 Y 50 To X 60 Y 50, Pen Size 3, Pen Color R: 10 G: 20 B: 30, "
                                      "Pen XORPen"}));

  f.editor().WorkSurface.SetPixel(8, 7, MakePixel(12, 34, 56));
  f.editor().ToolBox.BrushColor = 0xFF0000;  // blue

  f.Tool("bEyeDrop");
  QTest::mouseClick(f.view(), Qt::LeftButton, {}, {7, 8});
  QCOMPARE(f.editor().ToolBox.PenColor, 0x38220Cu);
  // The pen button shows the colour taken.
  QCOMPARE(f.PenSwatch(), QColor(12, 34, 56));

  // The view repaints after a fill.
  f.Tool("bFill");
  QTest::mouseClick(f.view(), Qt::LeftButton, {}, {100, 100});
  QCOMPARE(f.view()->grab().toImage().pixelColor(200, 20), QColor(0, 0, 255));
}

void PaintingTest::selectionDialogAnswersEachAction() {
  Painter f;
  f.PaintPattern();
  const auto before = f.Pixels();
  const TFastDIB& work = f.editor().WorkSurface;
  f.Tool("bSelect");
  f.editor().ToolBox.PenSize = "9";  // the selection's band stays one pixel wide all the same
  QTest::mousePress(f.view(), Qt::LeftButton, {}, {20, 20});
  QTest::mouseMove(f.view(), {60, 40});
  QCOMPARE(f.statusPanelText(kPanelEffect), QString("Width: 40  Height: 20"));

  bool looked = false;
  // The band stays on screen while the question is open; Cancel keeps the image.
  f.AnswerSelection("bCancel", [&](TfSelect*) {
    looked = true;
    QCOMPARE(f.view()->BandRect(), QRect(QPoint(20, 20), QPoint(60, 40)));
    QCOMPARE(f.view()->grab().toImage().pixel(23, 30), At(work, 23, 30));
  });
  QTest::mouseRelease(f.view(), Qt::LeftButton, {}, {60, 40});
  QVERIFY(looked && f.view()->Band() == RubberBand::None && f.Pixels() == before);
  QCOMPARE(f.statusPanelText(kPanelEffect), QString("Idle..."));

  // Dragged up and to the left: the same rectangle.
  f.AnswerSelection("bBuffer");
  f.Drag({60, 40}, {20, 20});
  const TFastDIB& buffer = f.editor().BufferSurface;
  QCOMPARE(QSize(buffer.Width(), buffer.Height()), QSize(40, 20));
  QVERIFY(buffer.GetPixel(19, 39) == work.GetPixel(39, 59) && f.window->action("PasteBuffertoImage1")->isEnabled());

  f.AnswerSelection("bClipboard");
  f.Drag({5, 6}, {15, 9});
  const QImage clip = QGuiApplication::clipboard()->image();
  QCOMPARE(clip.size(), QSize(10, 3));
  QCOMPARE(clip.pixel(2, 2), At(work, 7, 8));

  // Down to one pixel, and the view with it; undo brings both back.
  const TPixel24 kept = work.GetPixel(6, 5);
  f.AnswerSelection("bCrop");
  f.Drag({5, 6}, {6, 7});
  QVERIFY(f.view()->size() == QSize(1, 1) && work.GetPixel(0, 0) == kept);
  f.editor().bUndoClick();
  QVERIFY(f.Pixels() == before && f.view()->size() == QSize(256, 256));
}

void PaintingTest::zoomedLineLandsInImageCoordinates() {
  Canvas f(40, 30);
  f.window->action("ZoomIn1")->trigger();
  f.window->action("ZoomIn1")->trigger();
  QVERIFY(f.view()->size() == QSize(160, 120) && f.Panel("stBarZoom") == "Zoom: 4x");
  f.editor().ToolBox.PenColor = 0;
  f.editor().ToolBox.PenSize = "1";
  f.Tool("bLine");
  // Screen (21, 29) is image (5, 7); screen (62, 30) is image (15, 7).
  QTest::mousePress(f.view(), Qt::LeftButton, {}, {21, 29});
  QTest::mouseMove(f.view(), {62, 30});
  QTest::mouseRelease(f.view(), Qt::LeftButton, {}, {62, 30});
  const TFastDIB& s = f.editor().WorkSurface;
  // The line stops short of its end point, as lines do at 1x.
  for (int x = 5; x < 15; ++x) QCOMPARE(s.GetPixel(7, x), MakePixel(0, 0, 0));
  QCOMPARE(s.GetPixel(7, 15), MakePixel(255, 255, 255));
  // Fit: the largest power of two at which the image fits the area.
  f.window->action("Fit1")->trigger();
  const QSize room = f.view()->parentWidget()->size();
  QVERIFY(f.view()->width() <= room.width() && f.view()->height() <= room.height());
  QVERIFY(f.view()->width() * 2 > room.width() || f.view()->height() * 2 > room.height());
  f.window->action("ActualSize1")->trigger();
  QVERIFY(f.view()->size() == QSize(40, 30) && f.Panel("stBarZoom") == "Zoom: 1x");
  // Ctrl and the wheel turned away zoom in, towards zoom out; the wheel alone does not zoom.
  for (const auto& [dy, mods, zoom] : {std::tuple{120, Qt::ControlModifier, "Zoom: 2x"}, {120, Qt::NoModifier, "Zoom: 2x"},
                                       {-120, Qt::ControlModifier, "Zoom: 1x"}}) {
    QWheelEvent wheel(QPointF(5, 5), f.view()->mapToGlobal(QPointF(5, 5)), {}, {0, dy}, Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.view(), &wheel);
    QCOMPARE(f.Panel("stBarZoom"), QString(zoom));
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
  QCOMPARE(f.statusPanelText(kPanelX) + " " + f.statusPanelText(kPanelY), QString("X: 5 Y: 3"));
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
  f.Tool("bFree");
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
}

}  // namespace vorq::gui::test
