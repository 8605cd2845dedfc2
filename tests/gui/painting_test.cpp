// Mouse gestures on the image view with each painting tool, and the
// Selection Action dialog.

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

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

  // The middle button starts no shape, the right one belongs to the pop-up menu.
  f.PaintPattern();
  f.Tool("bEllip");
  const auto drawn = f.Pixels();
  for (Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
    QTest::mousePress(f.view(), button, {}, {10, 10});
    QTest::mouseMove(f.view(), {40, 40});
    QCOMPARE(f.view()->Band(), RubberBand::None);
    QTest::mouseRelease(f.view(), button, {}, {40, 40});
  }
  QCOMPARE(f.Pixels(), drawn);
}

void PaintingTest::paintingToolsThroughTheView() {
  Painter f;
  f.Fill(kWhite);
  f.StartLog();
  f.editor().ToolBox.PenColor = 0x1E140A;  // red 10, green 20, blue 30
  auto* size = Child<QLineEdit>(f.box(), "ePenSize");
  size->clear();
  QTest::keyClicks(size, "3");

  f.Drag({10, 10}, {40, 10});
  QCOMPARE(f.editor().WorkSurface.GetPixel(10, 25), MakePixel(10, 20, 30));

  // The line follows the Pen menu; its band shows while dragging but never reaches the pixels.
  f.window->action("XORPen1")->trigger();
  f.Tool("bLine");
  QTest::mousePress(f.view(), Qt::LeftButton, {}, {5, 50});
  QTest::mouseMove(f.view(), {60, 50});
  QCOMPARE(f.view()->Band(), RubberBand::Line);
  QCOMPARE(f.editor().WorkSurface.GetPixel(50, 30), kWhite);
  QCOMPARE(f.view()->grab().toImage().pixelColor(30, 50), QColor(Qt::black));  // white inverted on screen
  QTest::mouseRelease(f.view(), Qt::LeftButton, {}, {60, 50});
  QCOMPARE(f.view()->Band(), RubberBand::None);
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
  const QImage swatch = Child<QPushButton>(f.box(), "bPen")->icon().pixmap(12, 12).toImage();
  QCOMPARE(swatch.pixelColor(6, 6), QColor(12, 34, 56));

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
  f.AnswerSelection("bCancel", [&](TfSelect* d) {
    looked = true;
    QCOMPARE(Captions(d), QStringList({"Cancel", "Copy to Buffer", "Copy to Clipboard", "Crop to Selection",
                                       "Selection Action"}));
    QCOMPARE(f.view()->BandRect(), QRect(QPoint(20, 20), QPoint(60, 40)));
    const TPixel24 beside = work.GetPixel(30, 23);
    QCOMPARE(f.view()->grab().toImage().pixelColor(23, 30), QColor(beside.R, beside.G, beside.B));
  });
  QTest::mouseRelease(f.view(), Qt::LeftButton, {}, {60, 40});
  QVERIFY(looked);
  QCOMPARE(f.view()->Band(), RubberBand::None);
  QCOMPARE(f.statusPanelText(kPanelEffect), QString("Idle..."));
  QCOMPARE(f.Pixels(), before);

  // Dragged up and to the left: the same rectangle.
  f.AnswerSelection("bBuffer");
  f.Drag({60, 40}, {20, 20});
  const TFastDIB& buffer = f.editor().BufferSurface;
  QCOMPARE(QSize(buffer.Width(), buffer.Height()), QSize(40, 20));
  QCOMPARE(buffer.GetPixel(19, 39), work.GetPixel(39, 59));
  QVERIFY(f.window->action("PasteBuffertoImage1")->isEnabled());

  f.AnswerSelection("bClipboard");
  f.Drag({5, 6}, {15, 9});
  const QImage clip = QGuiApplication::clipboard()->image();
  QCOMPARE(clip.size(), QSize(10, 3));
  const TPixel24 p = work.GetPixel(8, 7);
  QCOMPARE(clip.pixelColor(2, 2), QColor(p.R, p.G, p.B));

  // Down to one pixel, and the view with it; undo brings both back.
  const TPixel24 kept = work.GetPixel(6, 5);
  f.AnswerSelection("bCrop");
  f.Drag({5, 6}, {6, 7});
  QCOMPARE(f.view()->size(), QSize(1, 1));
  QCOMPARE(work.GetPixel(0, 0), kept);
  f.editor().bUndoClick();
  QCOMPARE(f.Pixels(), before);
  QCOMPARE(f.view()->size(), QSize(256, 256));
}

}  // namespace vorq::gui::test
