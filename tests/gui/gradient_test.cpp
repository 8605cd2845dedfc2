// The Gradient menu with its thumbnail, the Gradient Designer and the
// Multi-Gradient Designer through their controls.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "gui/dialogs/tf_grad_multi.h"
#include "gui/dialogs/tf_gradient.h"
#include "gui/widgets/tvorq_gradient_view.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

void PaintingTest::thumbnailAppearsOnFirstShowAndPastes() {
  QTemporaryDir dir;
  const QString start = dir.filePath("start.bmp");
  Fixture f;
  f.editor().WorkSurface.SetSize(40, 30, 24, 0);
  QVERIFY(!f.editor().SaveImage(start.toStdString()).empty());
  f.editor().WorkSurface.SetSize(256, 256, 24, 0);  // the gradient takes the size shown at first
  f.window->SetStartImage(start);
  QLabel* thumb = f.window->gradientThumb();
  auto* paste = f.window->findChild<QToolButton*>("bPasteGrad");
  auto* caption = f.window->findChild<QLabel*>("Lbl3D1");
  QVERIFY(thumb->isHidden() && !paste->isEnabled() && !caption->isEnabled());
  QCOMPARE(f.editor().WorkSurface.Width(), 256);  // the start image waits for the first show
  QVERIFY(f.ShowFirst());
  QVERIFY(thumb->isVisible() && thumb->pixmap().size() == QSize(65, 65));
  const QColor top = thumb->pixmap().toImage().pixelColor(32, 0);  // navy, blended a little with the rows below
  QVERIFY2(top.blue() > 100 && top.red() < 20, qPrintable(top.name()));
  QVERIFY(paste->isEnabled() && caption->isEnabled());
  QVERIFY(f.window->action("PasteToImage1")->isEnabled() && f.window->action("MergeWithImage1")->isEnabled());
  // The start image came after the gradient, and takes no snapshot.
  QCOMPARE(f.window->statusPanel(kPanelHeight)->text(), QString("Height: 30"));
  QCOMPARE(f.window->imageView()->size(), QSize(40, 30));
  QVERIFY(!f.window->findChild<QToolButton*>("bUndo")->isEnabled());

  // A double click pastes the 256 x 256 navy-to-aqua VertCenter gradient.
  QTest::mouseDClick(thumb, Qt::LeftButton);
  QCOMPARE(f.editor().WorkSurface.Width(), 256);
  QCOMPARE(At(f.editor().WorkSurface, 9, 128), qRgb(0, 255, 255));
  f.window->action("MergeWithImage1")->trigger();  // runs Merge Gradient, not another paste
  QVERIFY(f.editor().EffectId == int(fx::MergeGradient) && f.messages.isEmpty());
}

void PaintingTest::designersThroughTheirControls() {
  Fixture f;
  QVERIFY(f.ShowFirst());
  f.StartLog();
  f.editor().WorkSurface.SetSize(300, 20, 24, 0);
  f.window->setColorChooser([](uint32_t& c) {
    c = c == 0x800000 ? 0x0000FF : 0x00FF00;  // From: red, To: green
    return true;
  });
  WhenModal([&](QWidget* modal) {
    auto* d = qobject_cast<TfGradient*>(modal);
    QVERIFY(d);
    QVERIFY(Child<QPushButton>(d, "bOK")->isDefault());
    auto* style = Child<QComboBox>(d, "cbStyle");
    auto fields = [d, style] {
      return QStringList({Child<QLineEdit>(d, "meWide")->text(), Child<QLineEdit>(d, "meHigh")->text(),
                          Child<QLineEdit>(d, "meAngle")->text(), style->currentText()});
    };
    QCOMPARE(fields(), QStringList({"300", "20", "0", "VertCenter"}));
    Type(Child<QLineEdit>(d, "meAngle"), "30");
    Type(Child<QLineEdit>(d, "meHigh"), "12");
    Type(Child<QLineEdit>(d, "meWide"), "301");  // rows padded to whole words
    Child<QComboBox>(d, "cbStyle")->setCurrentText("Horizontal");
    Child<QPushButton>(d, "bFromCl")->click();
    Child<QPushButton>(d, "bClTo")->click();
    QCOMPARE(d->preview()->size(), QSize(301, 12));
    Child<QToolButton>(d, "bPaste")->click();  // Paste now, the dialog stays
    QVERIFY(d->isVisible() && f.editor().WorkSurface.Height() == 12);
    const QImage shown = d->preview()->grab().toImage();
    QCOMPARE(QList<QRgb>({At(f.editor().WorkSurface, 0, 5), At(f.editor().WorkSurface, 300, 5), shown.pixel(0, 5),
                          shown.pixel(300, 5)}),
             QList<QRgb>({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)}));
    Child<QPushButton>(d, "bDefault")->click();
    QCOMPARE(d->preview()->size(), QSize(256, 256));
    QCOMPARE(fields(), QStringList({"256", "256", "0", "VertCenter"}));
    Child<QComboBox>(d, "cbStyle")->setCurrentText("Vertical");
    Type(Child<QLineEdit>(d, "meAngle"), "-45");
    Type(Child<QLineEdit>(d, "meWide"), "64");
    Child<QPushButton>(d, "bOK")->click();
  });
  const QPixmap before = f.window->gradientThumb()->pixmap();
  f.window->action("Design1")->trigger();
  QCOMPARE(f.window->gradientThumb()->toolTip(), QString("W: 64  H: 256 - Dbl Click to Paste into Image"));
  QVERIFY(f.window->gradientThumb()->pixmap().toImage() != before.toImage());
  QCOMPARE(f.LoggedLines(),
           QStringList({"Paste Gradient to Image",
                        "Design Gradient, Width 64, Height 256, Gradient Vertical, From Color R: 0 G: 0 B: 128, To "
                        "Color R: 0 G: 255 B: 255, Angle -45"}));

  // The Multi-Gradient Designer.
  f.editor().WorkSurface.SetSize(300, 40, 24, 0);
  f.window->setColorChooser([](uint32_t& c) {
    c = 0x0000FF;
    return true;
  });
  WhenModal([&](QWidget* modal) {
    auto* d = qobject_cast<TfGradMulti*>(modal);
    QVERIFY(d);
    QCOMPARE(d->preview()->size(), QSize(300, 40));
    // Drag the right marker 40 pixels to the right with the mouse.
    QWidget* right = d->rightMarker();
    QTest::mousePress(right, Qt::LeftButton, {}, QPoint(6, 9));
    QMouseEvent move(QEvent::MouseMove, QPointF(46, 9), right->mapToGlobal(QPointF(46, 9)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(right, &move);
    QTest::mouseRelease(right, Qt::LeftButton, {}, QPoint(46, 9));
    QCOMPARE(Child<QLabel>(d, "lRight")->text(), QString("210"));
    // A double click on the left marker makes it red.
    QTest::mouseDClick(d->leftMarker(), Qt::LeftButton);
    QCOMPARE(d->previewPixels().GetPixel(0, 85), MakePixel(255, 0, 0));
    QTest::mouseDClick(Child<QWidget>(d, "pSides"), Qt::LeftButton, {}, QPoint(2, 10));  // the outer edges
    QCOMPARE(d->previewPixels().GetPixel(0, 0), MakePixel(255, 0, 0));
    // Narrower than both markers: they move in, labels and markers agree.
    Type(Child<QLineEdit>(d, "eWide"), "80");
    QCOMPARE(Child<QLabel>(d, "lLeft")->text(), QString("68"));
    QCOMPARE(QPoint(d->leftMarker()->x(), d->rightMarker()->x()), QPoint(62, 68));
    Child<QPushButton>(d, "Button1")->click();
  });
  f.window->action("MultiGradient1")->trigger();
  // The image is what the preview showed, at the narrower width.
  QCOMPARE(Bytes(f.window->multiGradientDialog()->previewPixels()), f.Pixels());
  QVERIFY2(f.messages.isEmpty(), qPrintable(f.messages.join("; ")));
}

}  // namespace vorq::gui::test
