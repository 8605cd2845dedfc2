// Edit ▸ Paste with the real clipboard: nothing without a picture, pictures
// with alpha over white, Paste Transparent's dialog, the movable selection.
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

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

QRgb Before(const std::vector<uint8_t>& bytes, const TFastDIB& s, int x, int y) {
  const std::size_t i = std::size_t(y) * s.BytesPerRow + std::size_t(x) * 3;
  return qRgb(bytes[i + 2], bytes[i + 1], bytes[i]);
}

}  // namespace

void FilesBufferTest::clipboardEmptyOrWithAlpha() {
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
  QVERIFY(!f.window->pasteSelection()->isVisible());
  QVERIFY(!f.window->findChild<QLabel*>("Lbl3D2")->isEnabled());  // inset: the buffer never had an image
  QVERIFY(f.messages.isEmpty());

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

  Child<QToolButton>(f.window.get(), "bPaste")->click();
  const TFastDIB& w = f.editor().WorkSurface;
  QCOMPARE(QSize(w.Width(), w.Height()), QSize(5, 3));
  QCOMPARE(At(w, 0, 0), qRgb(10, 20, 30));
  QCOMPARE(At(w, 1, 0), qRgb(255, 255, 255));
  const QRgb half = At(w, 2, 2);  // 50 % red over white
  QCOMPARE(qRed(half), 255);
  QVERIFY(qAbs(qGreen(half) - 127) <= 1 && qGreen(half) == qBlue(half));

  // Copy and paste back into the buffer: the same pixels, and the buffer's label raised.
  f.window->action("Copy1")->trigger();
  f.window->action("PasteClipboardtoBuffer1")->trigger();
  QVERIFY(Bytes(f.editor().BufferSurface) == f.Pixels());
  QVERIFY(f.window->findChild<QLabel*>("Lbl3D2")->isEnabled());
  for (const char* name : {"PasteBuffertoImage1", "MergeBufferWithImage1", "CopyBuffertoClipboard1"})
    QVERIFY2(f.window->action(name)->isEnabled(), name);
}

void FilesBufferTest::transparentDialogAndWhiteLowerLeft() {
  Fixture f;
  f.PaintPattern();
  QImage withWhite = Picture(50, 40);  // lower-left (0, 39): 39 % 4 != 0, so make it white
  withWhite.setPixel(0, 39, qRgb(255, 255, 255));
  QGuiApplication::clipboard()->setImage(withWhite);
  f.editor().ToolBox.PenColor = 0x123456;
  f.window->setColorChooser([](uint32_t& c) {
    c = 0x0000FF;  // red
    return true;
  });

  // Cancel: nothing changes, no snapshot; the swatch follows the choice.
  const std::vector<uint8_t> before = f.Pixels();
  WhenModal([&](QWidget* d) {
    QCOMPARE(Captions(d), QStringList({"Cancel", "Custom Color...", "Normal (Lower left pixel is transparent color)",
                                       "OK", "ReSize Clipboard Image before paste", "Transparent Color",
                                       "Transparent Color Selection", "Transparent Paste Options",
                                       "Use Pen Color for transparent color"}));
    QVERIFY(Child<QCheckBox>(d, "cbReSize")->isChecked());
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
    Child<QCheckBox>(d, "cbReSize")->click();
    Child<QPushButton>(d, "bCancel")->click();
  });
  f.window->action("Transparent1")->trigger();
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.editor().Undo.Empty());
  QCOMPARE(f.editor().Transparent.CustomColor, 0x0000FFu);  // the dialog keeps its choices

  // OK with Normal and ReSize: the 50 x 40 picture stretched over 256 x 256,
  // its white pixels leaving the image as it was.
  WhenModal([](QWidget* d) {
    QVERIFY(Child<QRadioButton>(d, "rbCustom")->isChecked() && !Child<QCheckBox>(d, "cbReSize")->isChecked());
    Child<QRadioButton>(d, "rbNorm")->click();
    Child<QCheckBox>(d, "cbReSize")->click();
    QCOMPARE(Swatch(d), QColor(255, 255, 255));
    Child<QPushButton>(d, "bOK")->click();
  });
  f.window->action("Transparent1")->trigger();
  const TFastDIB& w = f.editor().WorkSurface;
  QCOMPARE(At(w, 0, 255), Before(before, w, 0, 255));  // the lower-left colour
  QCOMPARE(At(w, 6, 0), withWhite.pixel(1, 0));        // 6 * 50 / 256 = 1
}

void FilesBufferTest::selectionFloatsThenPlacesOnFirstMove() {
  Fixture f;
  QVERIFY(f.ShowExposed());
  f.PaintPattern();
  const std::vector<uint8_t> before = f.Pixels();
  const QImage clip = Picture(40, 30);
  QGuiApplication::clipboard()->setImage(clip);

  f.window->action("AsSelection1")->trigger();
  PasteSelection* sel = f.window->pasteSelection();
  QCOMPARE(sel->geometry(), QRect(0, 0, 40, 30));
  QCOMPARE(Child<QTimer>(sel, "Timer1")->interval(), 100);

  // Dragging moves it; nothing is placed while the button is down or up again.
  QTest::mousePress(sel, Qt::LeftButton, {}, {5, 5});
  QTest::mouseMove(sel, {25, 15});
  QTest::mouseMove(sel, {228, 239});  // from (20, 10) on: now at (243, 244), partly off the image
  QTest::mouseRelease(sel, Qt::LeftButton, {}, {5, 5});
  QCOMPARE(sel->pos(), QPoint(243, 244));
  QTRY_COMPARE_WITH_TIMEOUT(f.window->statusPanel(kPanelEffect)->text(), QString("Left: 243 Top: 244"), 1000);
  QCOMPARE(f.Pixels(), before);

  // The first movement afterwards places it, clipped to the image.
  QTest::mouseMove(sel, {6, 6});
  QVERIFY(!sel->isVisible());
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Idle..."));
  const TFastDIB& w = f.editor().WorkSurface;
  QCOMPARE(At(w, 255, 255), clip.pixel(12, 11));
  QCOMPARE(At(w, 242, 255), Before(before, w, 242, 255));
}

}  // namespace vorq::gui::test
