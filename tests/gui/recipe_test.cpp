// A session through the window's own controls, logged, then replayed by the
// batch tool: the same image and the same log come back.
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QToolButton>

#include "core/imageio/image_file.h"
#include "gui/mainwin/paste_selection.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

void TextLogTest::everyCommandReplaysInTheBatchTool() {
  QTemporaryDir dir;
  Fixture f;
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  TfToolBox* box = f.window->toolBox();
  // Each painting tool with one drag of the mouse.
  auto drag = [&](const char* tool, QPoint from, QPoint to) {
    QTest::mouseClick(Child<QToolButton>(box, tool), Qt::LeftButton);
    QTest::mousePress(f.window->imageView(), Qt::LeftButton, {}, from);
    QTest::mouseMove(f.window->imageView(), to);
    QTest::mouseRelease(f.window->imageView(), Qt::LeftButton, {}, to);
  };
  auto trigger = [&](const char* name) {
    QAction* a = f.window->action(name);
    QVERIFY2(a && a->isEnabled(), name);
    a->trigger();
  };

  f.StartLog();
  f.editor().ToolBox.BrushColor = 0x3060C0;
  trigger("New1");
  QVERIFY(LogLines(f.LogPath()).last().startsWith("New Image, Color"));
  drag("bRect", {20, 30}, {200, 150});
  drag("bEllip", {100, 10}, {250, 240});
  drag("bLine", {0, 255}, {255, 0});
  drag("bFill", {5, 5}, {5, 5});
  drag("bEyeDrop", {120, 60}, {120, 60});

  // Every effect the menus run without a dialog, with its stored values;
  // the resize commands, Design Your Own, Tint and Map Texture ask first, Circular is
  // refused on this size.
  for (const auto& e : kCatalogue) {
    const std::string c = e.Component;
    if (!Editor::EffectAvailable(e.Id) || c == "ReSizeFast1" || c == "ReSizeSmooth1" || c == "DesignYourOwn1" ||
        c == "Tint1" || c == "Circular1" || c == "Scroll1" || c == "Gradient2" || c == "MapTexture1")
      continue;
    trigger(e.Component);
  }
  // Apply with typed values, the tree, the scroll bars, Edge Merge's name.
  f.Select("Whirl/Pinch");
  Child<QLineEdit>(box, "eAmtSecond")->setText("3");
  Child<QToolButton>(box, "bGo2")->click();
  f.Select("Fisheye");
  Child<QLineEdit>(box, "eAmtMain")->setText("1,25");
  Child<QToolButton>(box, "bGo2")->click();
  trigger("N181");
  Child<QToolButton>(box, "bGo2")->click();
  trigger("N4WayFlip1");
  f.Select("Scroll");
  Child<QLineEdit>(box, "eAmtMain")->setText("-7");
  Child<QScrollBar>(box, "sbLR")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  Child<QScrollBar>(box, "sbUD")->triggerAction(QAbstractSlider::SliderSingleStepSub);
  // Buffer and clipboard.
  trigger("CopyImagetoBuffer1");
  trigger("Copy1");
  trigger("MirrorLR1");
  trigger("CopyBuffertoClipboard1");
  trigger("PasteClipboardtoBuffer1");
  trigger("ReplaceImage1");
  // Paste Transparent with the dialog's first settings; a selection dragged by (7, 4).
  WhenModal([](QWidget* d) { Child<QPushButton>(d, "bOK")->click(); });
  trigger("Transparent1");
  trigger("AsSelection1");
  QWidget* sel = f.window->pasteSelection();
  QTest::mousePress(sel, Qt::LeftButton, {}, {2, 2});
  QTest::mouseMove(sel, {9, 6});
  QTest::mouseRelease(sel, Qt::LeftButton, {}, {2, 2});
  QTest::mouseMove(sel, {3, 3});
  trigger("PasteBuffertoImage1");
  trigger("UnDo1");
  trigger("Reset1");
  trigger("UnDo1");
  // Gradients: the designers answered through their own controls.
  auto designer = [&](const char* width, const char* style, const char* angle) {
    WhenModal([=](QWidget* d) {
      Type(Child<QLineEdit>(d, "meWide"), width);
      Child<QComboBox>(d, "cbStyle")->setCurrentText(style);
      Type(Child<QLineEdit>(d, "meAngle"), angle);
      Child<QPushButton>(d, "bOK")->click();
    });
  };
  designer("200", "Radial2", "30");
  trigger("Design1");
  trigger("PasteToImage1");
  trigger("MergeWithImage1");
  designer("90", "Elliptic", "0");
  trigger("Gradient2");  // Draw Gradient: one line
  trigger("GradientBars1");
  trigger("ColorWheel1");
  trigger("Mosaic1");
  WhenModal([](QWidget* d) {
    Type(Child<QLineEdit>(d, "eWide"), "180");
    Type(Child<QLineEdit>(d, "eHigh"), "50");
    Child<QPushButton>(d, "Button1")->click();
  });
  trigger("MultiGradient1");
  trigger("Rainbow1");
  trigger("Reset1");
  f.Select("Gradient");
  designer("33", "Rectangle", "0");
  Child<QToolButton>(box, "bGo2")->click();
  const QStringList written = f.LoggedLines();
  QVERIFY2(f.messages.isEmpty(), qPrintable(f.messages.join("; ")));
  const QString image = dir.filePath("session.bmp");
  std::string error;
  QVERIFY(SaveImageFile(QFile::encodeName(image).toStdString(), f.editor().WorkSurface, SaveOptions{}, error));

  QProcess cli;
  cli.start(VORQ_CLI, {"--recipe", f.LogPath(), "--log", dir.filePath("replayed.txt"), "--output",
                       dir.filePath("replayed.bmp")});
  QVERIFY(cli.waitForFinished(60000));
  QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
  QCOMPARE(cli.readAllStandardError(), QByteArray());

  QVERIFY2(written.size() > 55, qPrintable(QString::number(written.size())));
  for (const char* start : {"Design Gradient, Width 200,", "Paste Gradient to Image", "Merge Gradient, ",
                            "Draw Gradient, Width 90,", "MultiGradient,  Width 180, Height 50,", "Color Wheel",
                            "Rainbow", "Gradient, Width 33,", "Edge Merge 1/8"})
    QVERIFY2(!written.filter(QRegularExpression("^" + QRegularExpression::escape(start))).isEmpty(), start);
  QCOMPARE(LogLines(dir.filePath("replayed.txt")), written);  // after the headers
  TFastDIB a, b;
  QVERIFY(LoadImageFile(QFile::encodeName(image).toStdString(), a, error));
  QVERIFY(LoadImageFile(QFile::encodeName(dir.filePath("replayed.bmp")).toStdString(), b, error));
  QCOMPARE(QSize(b.Width(), b.Height()), QSize(a.Width(), a.Height()));
  QCOMPARE(Bytes(b), Bytes(a));
}

}  // namespace vorq::gui::test
