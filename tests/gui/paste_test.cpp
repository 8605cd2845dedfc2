// Edit ▸ Paste with the real clipboard: nothing without a picture, pictures
// with alpha over white, Paste Transparent's dialog, the movable selection.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include "gui/mainwin/paste_selection.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

QRgb At(const TFastDIB& s, int x, int y) {
  const TPixel24 p = s.GetPixel(y, x);
  return qRgb(p.R, p.G, p.B);
}

// Every pixel of a picture: its own colour, white where (x + y) % 4 == 0.
QImage Picture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, (x + y) % 4 ? qRgb(x * 9 % 256, 40, y * 5 % 256) : qRgb(255, 255, 255));
  return image;
}

QColor Swatch(QWidget* dialog) { return Child<QFrame>(dialog, "Shape1")->palette().color(QPalette::Window); }

void Grab(QWidget* w, const char* name) {
  if (const QByteArray dir = qgetenv("VORQ_GRAB_DIR"); !dir.isEmpty()) w->grab().save(QString(dir) + "/" + name);
}

}  // namespace

void PasteTest::emptyClipboardPastesNothing() {
  Fixture f;
  f.PaintPattern();
  QGuiApplication::clipboard()->clear();
  const std::vector<uint8_t> before = f.Pixels();
  bool dialogShown = false;
  // Should a dialog come up all the same, it is closed and noted.
  QTimer::singleShot(0, [&] {
    if (QWidget* m = QApplication::activeModalWidget()) {
      dialogShown = true;
      m->close();
    }
  });
  for (const char* name : {"AsSelection1", "ReplaceImage1", "Transparent1", "PasteClipboardtoBuffer1"}) {
    QVERIFY2(f.window->action(name)->isEnabled(), name);
    f.window->action(name)->trigger();
  }
  QApplication::processEvents();
  QVERIFY(!dialogShown);
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.editor().Undo.Empty());
  QVERIFY(!f.editor().BufferFilled);
  QVERIFY(!f.window->pasteSelection()->isVisible());
  QVERIFY(!f.window->findChild<QLabel*>("Lbl3D2")->isEnabled());  // inset: the buffer never had an image
  QVERIFY(f.messages.isEmpty());
}

void PasteTest::clipboardRoundTripLaysAlphaOverWhite() {
  Fixture f;
  f.PaintPattern();
  // A PNG with alpha, as another program puts it there: opaque, clear and half-clear pixels.
  QImage argb(5, 3, QImage::Format_ARGB32);
  argb.fill(qRgba(10, 20, 30, 255));
  argb.setPixel(1, 0, qRgba(0, 0, 0, 0));
  argb.setPixel(2, 2, qRgba(255, 0, 0, 128));
  QByteArray png;
  QBuffer out(&png);
  QVERIFY(out.open(QIODevice::WriteOnly) && argb.save(&out, "PNG"));
  auto* mime = new QMimeData;
  mime->setData("image/png", png);
  mime->setImageData(QImage::fromData(png, "PNG"));
  QGuiApplication::clipboard()->setMimeData(mime);

  f.window->action("ReplaceImage1")->trigger();
  const TFastDIB& w = f.editor().WorkSurface;
  QCOMPARE(w.Width(), 5);
  QCOMPARE(w.Height(), 3);
  QCOMPARE(w.BitsPerPixel(), 24);
  QCOMPARE(At(w, 0, 0), qRgb(10, 20, 30));
  QCOMPARE(At(w, 1, 0), qRgb(255, 255, 255));
  const QRgb half = At(w, 2, 2);  // 50 % red over white
  QCOMPARE(qRed(half), 255);
  QVERIFY(qAbs(qGreen(half) - 127) <= 1 && qGreen(half) == qBlue(half));
  QCOMPARE(f.window->statusPanel(kPanelWidth)->text(), QString("Width: 5"));
  QCOMPARE(f.editor().Undo.Count(), 1);

  // Copy and paste back into the buffer: the same 24-bit pixels.
  TFastDIB copied;
  CopySurface(w, copied);
  f.window->action("Copy1")->trigger();
  f.editor().New1Click();
  f.window->action("PasteClipboardtoBuffer1")->trigger();
  const TFastDIB& b = f.editor().BufferSurface;
  QVERIFY(b.Width() == 5 && b.Height() == 3 && std::equal(b.Bits, b.Bits + b.ImageSize(), copied.Bits));
  QVERIFY(f.window->findChild<QLabel*>("Lbl3D2")->isEnabled());  // raised
  QVERIFY(f.window->action("PasteBuffertoImage1")->isEnabled());
}

void PasteTest::transparentDialogAndWhiteLowerLeft() {
  QTemporaryDir logDir;
  Fixture f;
  f.editor().LogPath = QFile::encodeName(logDir.filePath("VorqLog.txt")).toStdString();
  f.window->action("LogthisSession1")->trigger();
  f.PaintPattern();
  const QImage clip = Picture(50, 40);  // lower-left (0, 39): 39 % 4 != 0, so make it white
  QImage withWhite = clip;
  withWhite.setPixel(0, 39, qRgb(255, 255, 255));
  QGuiApplication::clipboard()->setImage(withWhite);
  f.editor().ToolBox.PenColor = 0x123456;
  f.window->setColorChooser([](uint32_t& c) {
    c = 0x0000FF;  // red
    return true;
  });

  // Cancel: nothing changes, no snapshot; the dialog's texts and swatch.
  const std::vector<uint8_t> before = f.Pixels();
  WhenModal([&](QWidget* d) {
    QCOMPARE(d->windowTitle(), QString("Transparent Paste Options"));
    QCOMPARE(Child<QGroupBox>(d, "GroupBox1")->title(), QString("Transparent Color Selection"));
    QCOMPARE(Child<QRadioButton>(d, "rbNorm")->text(), QString("Normal (Lower left pixel is transparent color)"));
    QCOMPARE(Child<QRadioButton>(d, "rbPen")->text(), QString("Use Pen Color for transparent color"));
    QCOMPARE(Child<QRadioButton>(d, "rbCustom")->text(), QString("Custom Color..."));
    QCOMPARE(Child<QCheckBox>(d, "cbReSize")->text(), QString("ReSize Clipboard Image before paste"));
    QVERIFY(Child<QRadioButton>(d, "rbNorm")->isChecked() && Child<QCheckBox>(d, "cbReSize")->isChecked());
    QCOMPARE(Swatch(d), QColor(255, 255, 255));
    Child<QRadioButton>(d, "rbPen")->click();
    QCOMPARE(Swatch(d), QColor(0x56, 0x34, 0x12));
    // The swatch opens the colour dialog only while Custom is checked.
    QTest::mouseClick(Child<QFrame>(d, "Shape1"), Qt::LeftButton);
    QCOMPARE(Swatch(d), QColor(0x56, 0x34, 0x12));
    Child<QRadioButton>(d, "rbCustom")->click();
    QCOMPARE(Swatch(d), QColor(0, 0, 0));
    QTest::mouseClick(Child<QFrame>(d, "Shape1"), Qt::LeftButton);
    QCOMPARE(Swatch(d), QColor(255, 0, 0));
    Grab(d, "tf_trans.png");
    Child<QRadioButton>(d, "rbNorm")->click();
    Child<QPushButton>(d, "bCancel")->click();
  });
  f.window->action("Transparent1")->trigger();
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.editor().Undo.Empty());
  QCOMPARE(f.editor().Transparent.CustomColor, 0x0000FFu);  // the dialog keeps its choices

  // OK with Normal and ReSize: the 50 x 40 picture stretched over 256 x 256,
  // its white pixels leaving the image as it was.
  WhenModal([](QWidget* d) {
    QCOMPARE(Swatch(d), QColor(255, 255, 255));
    Child<QPushButton>(d, "bOK")->click();
  });
  f.window->action("Transparent1")->trigger();
  QCOMPARE(f.editor().Undo.Count(), 1);
  const TFastDIB& w = f.editor().WorkSurface;
  QCOMPARE(w.Width(), 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const QRgb c = withWhite.pixel(x * 50 / 256, y * 40 / 256);
      const std::size_t i = std::size_t(y) * w.BytesPerRow + std::size_t(x) * 3;
      const QRgb expected = c == qRgb(255, 255, 255) ? qRgb(before[i + 2], before[i + 1], before[i]) : c;
      if (At(w, x, y) != expected) QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
    }
  QCOMPARE(LogLines(logDir.filePath("VorqLog.txt")), QStringList({"Paste Transparent"}));
}

void PasteTest::selectionFloatsThenPlacesOnFirstMove() {
  QTemporaryDir logDir;
  Fixture f;
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  f.editor().LogPath = QFile::encodeName(logDir.filePath("VorqLog.txt")).toStdString();
  f.window->action("LogthisSession1")->trigger();
  f.PaintPattern();
  const std::vector<uint8_t> before = f.Pixels();
  const QImage clip = Picture(40, 30);
  QGuiApplication::clipboard()->setImage(clip);

  f.window->action("AsSelection1")->trigger();
  PasteSelection* sel = f.window->pasteSelection();
  QVERIFY(sel->isVisible());
  QCOMPARE(sel->geometry(), QRect(0, 0, 40, 30));
  QTRY_COMPARE_WITH_TIMEOUT(f.window->statusPanel(kPanelEffect)->text(), QString("Left: 0 Top: 0"), 1000);
  Grab(f.window.get(), "paste_selection_start.png");

  // Dragging moves it; nothing is placed while the button is down or up again.
  QTest::mousePress(sel, Qt::LeftButton, {}, {5, 5});
  QTest::mouseMove(sel, {25, 15});
  QTest::mouseMove(sel, {228, 239});  // from (20, 10) on: now at (243, 244), partly off the image
  QTest::mouseRelease(sel, Qt::LeftButton, {}, {5, 5});
  QCOMPARE(sel->pos(), QPoint(243, 244));
  QTRY_COMPARE_WITH_TIMEOUT(f.window->statusPanel(kPanelEffect)->text(), QString("Left: 243 Top: 244"), 1000);
  Grab(f.window.get(), "paste_selection.png");
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.editor().Undo.Empty());

  // The first movement afterwards places it, clipped to the image.
  QTest::mouseMove(sel, {6, 6});
  QVERIFY(!sel->isVisible());
  QVERIFY(!sel->timer()->isActive());
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Idle..."));
  QCOMPARE(f.editor().Undo.Count(), 1);
  const TFastDIB& w = f.editor().WorkSurface;
  for (int y = 240; y < 256; ++y)
    for (int x = 240; x < 256; ++x) {
      const std::size_t i = std::size_t(y) * w.BytesPerRow + std::size_t(x) * 3;
      const QRgb expected =
          x >= 243 && y >= 244 ? clip.pixel(x - 243, y - 244) : qRgb(before[i + 2], before[i + 1], before[i]);
      QCOMPARE(At(w, x, y), expected);
    }
  QCOMPARE(LogLines(logDir.filePath("VorqLog.txt")), QStringList({"Paste As Selection at Left 243, Top 244"}));
}

}  // namespace vorq::gui::test
