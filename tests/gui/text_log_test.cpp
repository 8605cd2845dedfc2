// The text tool from the dialog to the image and the batch tool, the log
// viewer and editor, the fade control and the About box.

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "core/imageio/image_file.h"
#include "gui/dialogs/tf_about.h"
#include "gui/dialogs/tf_log.h"
#include "gui/dialogs/tf_text.h"
#include "gui/mainwin/floating_text.h"
#include "gui/text/text_render.h"
#include "gui/widgets/color_pick_button.h"
#include "gui/widgets/ttext_panel.h"
#include "gui/widgets/tvorq_fade.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

TFastDIB White(int w, int h) {
  TFastDIB s;
  s.SetSize(w, h, 24, 0);
  std::fill(s.Bits, s.Bits + s.ImageSize(), uint8_t(255));
  return s;
}

// The rightmost inked (not white) column of each run of inked rows.
std::vector<int> InkRights(const TFastDIB& s) {
  std::vector<int> rights;
  bool inside = false;
  for (int y = 0; y < s.Height(); ++y) {
    int right = -1;
    for (int x = 0; x < s.Width(); ++x)
      if (!(s.GetPixel(y, x) == MakePixel(255, 255, 255))) right = x;
    if (right >= 0 && !inside) rights.push_back(right);
    if (right >= 0) rights.back() = std::max(rights.back(), right);
    inside = right >= 0;
  }
  return rights;
}

}  // namespace

void TextLogTest::rightAlignedLinesEndTogether() {
  QVERIFY2(!InstalledFamily("liberation sans").isEmpty(), "the tests need Liberation Sans (fonts-liberation2)");
  std::string message;
  // A and BBBB: the lines end together at the box's right edge once each letter's own margin is counted.
  TextToolLine l{.Font = "Liberation Sans", .Size = 24, .Color = 0x0000C0, .Text = "A\nBBBB", .X = 10, .Y = 5,
                 .Align = TextAlign::Right};
  TFastDIB s = White(260, 90);
  QVERIFY(DrawTextToolLine(s, l, message) && message.empty());
  const std::vector<int> ink = InkRights(s);
  QCOMPARE(int(ink.size()), 2);
  const QFontMetrics fm(TextFont(l));
  QVERIFY(std::abs(ink[1] + 1 + fm.rightBearing('B') - (l.X + TextBoxSize(l).width())) <= 1);
  QVERIFY2(std::abs((ink[0] + fm.rightBearing('A')) - (ink[1] + fm.rightBearing('B'))) <= 1,
           qPrintable(QString("A ends at %1, BBBB at %2").arg(ink[0]).arg(ink[1])));
  // An unknown face draws with the default one and says so.
  l.Font = "No Such Face";
  QVERIFY(DrawTextToolLine(s, l, message));
  QVERIFY2(message.find("\"No Such Face\" is not installed") != std::string::npos, message.c_str());
  l.Font = "Liberation Sans";

  // Far outside the image, or at the ends of the integers, nothing is touched.
  for (auto [x, y] : {std::pair{-2147483647 - 1, 0}, {2147483647, 2147483647}, {0, -100000}, {260, 0}}) {
    l.X = x;
    l.Y = y;
    TFastDIB t = White(260, 90);
    QVERIFY(DrawTextToolLine(t, l, message));
    QVERIFY(InkRights(t).empty());
  }
  // Sizes beyond the tool's range, and boxes too large to draw, are refused with a reason.
  for (int size : {0, -5, 1001}) {
    l.Size = size;
    QVERIFY(!DrawTextToolLine(s, l, message));
    QVERIFY(message.find("outside") != std::string::npos);
  }
  l.Size = 1000;
  l.Text = std::string(200, 'W');
  QVERIFY(!DrawTextToolLine(s, l, message));
  QVERIFY(message.find("too large") != std::string::npos);
}

void TextLogTest::dialogFieldsFollowTheRules() {
  Fixture f;
  TfText* d = f.window->textDialog();
  auto* fonts = Child<QListWidget>(d, "lbFonts");
  auto* size = Child<QLineEdit>(d, "eSize");
  TTextPanel* sample = d->Sample();
  auto* sizes = Child<QListWidget>(d, "lbSize");
  auto* memo = Child<QPlainTextEdit>(d, "Memo1");
  // Defaults: size 8, Regular, black, left-aligned "Your Text Here".
  QCOMPARE(size->text() + " " + sizes->currentItem()->text(), QString("8 8"));
  QCOMPARE(sample->Text() + "|" + memo->toPlainText(), QString("Your Text Here|Your Text Here"));
  QVERIFY(Child<QPushButton>(d, "BitBtn1")->isDefault());
  const TextToolLine first = d->Chosen();
  QVERIFY(first.Size == 8 && first.Color == 0 && first.Style == TextStyle::Normal && first.Align == TextAlign::Left);
  WhenModal([](QWidget* modal) { Child<QPushButton>(modal, "BitBtn2")->click(); });
  TextToolLine kept;
  kept.Size = 99;
  QVERIFY(!d->Edit(kept) && kept.Size == 99);  // Cancel keeps the line as it was

  // Typing a name jumps the list to the first match, whatever the case; the sample waits.
  const QFont before = sample->TextFont();
  Type(Child<QLineEdit>(d, "eFontName"), "liberation s");
  QVERIFY(fonts->currentItem()->text().startsWith("Liberation S"));
  QCOMPARE(sample->TextFont(), before);
  // A click takes the entry into the field and the sample.
  QListWidgetItem* serif = fonts->findItems("Liberation Serif", Qt::MatchExactly).value(0);
  QVERIFY(serif);
  fonts->setCurrentItem(serif);
  emit fonts->itemClicked(serif);
  QCOMPARE(d->Chosen().Font, std::string("Liberation Serif"));

  // Size 13 is not listed: the list shows its first entry, the sample uses 13.
  Type(size, "13");
  QCOMPARE(sizes->currentRow(), 0);
  QCOMPARE(sample->TextFont().pixelSize(), TextFont("Liberation Serif", 13, TextStyle::Normal).pixelSize());
  Type(size, "x1");  // ignored while typing
  QCOMPARE(d->Chosen().Size, 13);
  // ... but a list click with such a size fails with the conversion message.
  emit fonts->itemClicked(serif);
  QVERIFY(f.messages.contains("'x1' is not a valid integer value"));
  Type(size, "20");

  auto* styles = Child<QListWidget>(d, "lbStyle");
  styles->setCurrentRow(3);
  emit styles->itemClicked(styles->item(3));
  QVERIFY(sample->TextFont().bold() && sample->TextFont().italic());
  QCOMPARE(Child<QLineEdit>(d, "eStyle")->text(), QString("Bold Italic"));
  Type(size, "86");
  QCOMPARE(sizes->currentRow(), 42);
  sizes->setCurrentRow(5);
  emit sizes->itemClicked(sizes->item(5));
  QCOMPARE(size->text() + " " + QString::number(d->Chosen().Size), QString("10 10"));

  // An empty memo shows the program's name in the sample; the memo follows the alignment.
  memo->setPlainText("");
  QCOMPARE(sample->Text(), QString("Vorq'sWeft 99"));
  for (const auto& [button, align] : {std::pair{"rbCenter", Qt::AlignHCenter}, {"rbRight", Qt::AlignRight}}) {
    Child<QRadioButton>(d, button)->click();
    QCOMPARE(memo->document()->defaultTextOption().alignment(), align);
  }
}

void TextLogTest::placedTextIsWhatTheBatchToolDraws() {
  Fixture f;
  f.window->resize(1000, 800);  // the whole image in view, whatever the fonts of the desktop
  QVERIFY(f.ShowExposed());
  f.PaintPattern();
  QTemporaryDir dir;
  f.StartLog();
  TFastDIB start;
  CopySurface(f.editor().WorkSurface, start);
  std::string error;
  QVERIFY(SaveImageFile(QFile::encodeName(dir.filePath("start.bmp")).toStdString(), start, SaveOptions{}, error));

  QTest::mouseClick(Child<QToolButton>(f.window->toolBox(), "bText"), Qt::LeftButton);

  // The press opens the dialog; the answers are given inside it.
  WhenModal([](QWidget* modal) {
    auto* d = qobject_cast<TfText*>(modal);
    QVERIFY(d);
    auto* fonts = Child<QListWidget>(d, "lbFonts");
    QListWidgetItem* sans = fonts->findItems("Liberation Sans", Qt::MatchExactly).value(0);
    QVERIFY(sans);
    fonts->setCurrentItem(sans);
    emit fonts->itemClicked(sans);
    auto* styles = Child<QListWidget>(d, "lbStyle");
    styles->setCurrentRow(1);
    emit styles->itemClicked(styles->item(1));
    Type(Child<QLineEdit>(d, "eSize"), "20");
    // Quick pick: rows of four, the second the reds, the last the blues.
    for (auto [name, colour] : {std::pair{"quick4", QColor(128, 0, 0)}, {"quick13", QColor(0, 0, 255)}}) {
      Child<QToolButton>(d->ColorButton()->Menu(), name)->click();
      QCOMPARE(d->Sample()->FontColor(), colour);
    }
    d->ColorButton()->SetMoreColors([](uint32_t& c) {
      c = 0x0000C0;
      return true;
    });
    d->ColorButton()->Menu()->findChild<QAction*>("MoreColors")->trigger();
    QCOMPARE(d->Sample()->FontColor(), QColor(0xC0, 0, 0));
    Child<QPlainTextEdit>(d, "Memo1")->setPlainText("Tile\nSeamless");
    Child<QRadioButton>(d, "rbRight")->click();
    Child<QPushButton>(d, "BitBtn1")->click();
  });
  QTest::mouseClick(f.window->imageView(), Qt::LeftButton, {}, QPoint(20, 30));
  FloatingText* floating = f.window->floatingText();
  QTRY_VERIFY(floating->Placing());
  QCOMPARE(Bytes(f.editor().WorkSurface), Bytes(start));  // nothing drawn yet

  // The floating text follows the mouse: centred on it.
  const QPoint centre(floating->width() / 2, floating->height() / 2);
  QTest::mouseMove(floating, centre + QPoint(7, 3));
  QTRY_COMPARE(floating->pos(), QPoint(27, 33));
  QCOMPARE(f.window->statusPanel(kPanelX)->text() + " " + f.window->statusPanel(kPanelY)->text(), QString("X: 27 Y: 33"));
  const QImage picture = floating->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  QTest::mouseClick(floating, Qt::LeftButton, {}, centre);
  QVERIFY(!floating->isVisible());

  // What floated is exactly what was drawn: glyph pixels in the colour, the rest untouched.
  const TFastDIB& work = f.editor().WorkSurface;
  int glyphs = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const int ix = 27 + x, iy = 33 + y;
      if (ix >= work.Width() || iy >= work.Height()) continue;
      const bool ink = qAlpha(picture.pixel(x, y)) == 255;
      glyphs += ink;
      QCOMPARE(work.GetPixel(iy, ix), ink ? MakePixel(0xC0, 0, 0) : start.GetPixel(iy, ix));
    }
  QVERIFY(glyphs > 100);

  const QString expected =
      "Text Tool, Font Liberation Sans, Size 20, Color R: 192 G: 0 B: 0, Style Bold \"Tile\\nSeamless\" , Location "
      "X 27 Y 33, Alignment Right";
  QCOMPARE(f.LoggedLines(), QStringList{expected});

  // Replayed by the batch tool: the same pixels.
  QProcess cli;
  cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  cli.start(VORQ_CLI, {"--input", dir.filePath("start.bmp"), "--output", dir.filePath("out.bmp"), expected});
  QVERIFY(cli.waitForFinished(30000) && cli.exitCode() == 0);
  TFastDIB out;
  QVERIFY(LoadImageFile(QFile::encodeName(dir.filePath("out.bmp")).toStdString(), out, error));
  QCOMPARE(Bytes(out), Bytes(work));
}

// ---- log windows ----

void TextLogTest::logViewerFollowsAndEditorAsks() {
  Fixture f;
  f.window->show();
  QTemporaryDir dir;
  QDir(dir.path()).mkpath("logs");
  TfLog* viewer = f.window->logViewer();
  f.editor().LogPath = QFile::encodeName(f.LogPath()).toStdString();
  f.window->action("ViewLog1")->trigger();
  f.window->action("EditLog1")->trigger();
  QCOMPARE(f.messages, QStringList(2, "Log File Not Found in Current Directory"));
  QVERIFY(!viewer->isVisible());

  f.StartLog();
  f.window->CopyImagetoBuffer1Click();
  f.window->action("ViewLog1")->trigger();
  QVERIFY(!viewer->isModal() && viewer->Memo()->isReadOnly() && !f.window->toolBox()->isVisible());
  // Logging goes on, and the viewer shows each new line.
  f.window->PasteBuffertoImage1Click();
  QTRY_COMPARE(viewer->Lines().size(), 3);

  // Save As with "Save Image with Log File Name": the image save dialog is offered the log's name.
  const QString textPath = dir.filePath("logs/day1.txt");
  bool chosen = false;
  viewer->setFileChooser([&](const QString&) {
    chosen = true;
    return textPath;
  });
  QString offered;
  f.window->setFileChooser([&](bool forSave) {
    if (forSave) offered = f.window->savePreset();
    return QString();
  });
  f.window->action("SaveImagewithLogFileName1")->setChecked(true);
  viewer->bSaveAsClick();
  QCOMPARE(offered, QString("day1.jpg"));
  QCOMPARE(f.window->defaultDirectory(), dir.filePath("logs"));
  QCOMPARE(FileText(textPath), viewer->Lines().join("\r\n") + "\r\n");

  // Print: every line on a page; an empty text neither saves nor prints, and says so once.
  int printed = 0;
  viewer->setPrinterChooser([&](QPrinter& p) {
    ++printed;
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(dir.filePath("log.pdf"));
    return true;
  });
  viewer->bPrintClick();
  QVERIFY(QFileInfo(dir.filePath("log.pdf")).size() > 500);

  viewer->Memo()->clear();
  f.messages.clear();
  chosen = false;
  viewer->bSaveAsClick();
  viewer->bPrintClick();
  QCOMPARE(f.messages, QStringList{"Nothing to Save!"});
  QVERIFY(!chosen && printed == 1);

  viewer->close();
  QVERIFY(f.window->toolBox()->isVisible());

  // The editor, while logging: No leaves logging on and opens nothing.
  const QString original = FileText(f.LogPath());
  f.window->action("EditLog1")->trigger();
  QCOMPARE(f.asked, QStringList{"This will Close the Log. OK?"});
  QVERIFY(f.editor().Log.Logging());

  QStringList questions;
  QList<UiPort::Answer> answers{UiPort::Answer::Yes, UiPort::Answer::No};
  f.window->setAskHandler([&](const QString& text, bool) {
    questions << text;
    return answers.isEmpty() ? UiPort::Answer::Yes : answers.takeFirst();
  });
  TfELog* editor = f.window->logEditor();
  bool stayedOpen = false;
  WhenModal([&](QWidget* modal) {
    QCOMPARE(modal, static_cast<QWidget*>(editor));
    QVERIFY(!f.window->toolBox()->isVisible() && !editor->Memo()->isReadOnly());
    editor->Memo()->appendPlainText("Blur");
    editor->reject();  // Escape or the close box: the question, answered No
    stayedOpen = editor->isVisible();
    editor->bOKClick();
  });
  f.window->action("EditLog1")->trigger();
  QVERIFY(stayedOpen);
  QCOMPARE(questions, QStringList({"This will Close the Log. OK?", "Changes not saved.  Do you still wish to exit?"}));
  QCOMPARE(FileText(f.LogPath()), original + "Blur\r\n");

  // Cancel drops the edits without a question.
  questions.clear();
  WhenModal([&](QWidget*) {
    editor->Memo()->setPlainText("something else");
    QCOMPARE(Child<QPushButton>(editor, "bCancel")->text(), QString("Cancel"));
    Child<QPushButton>(editor, "bCancel")->click();
  });
  f.window->action("EditLog1")->trigger();
  QVERIFY(questions.isEmpty());
  QCOMPARE(FileText(f.LogPath()), original + "Blur\r\n");
}

// ---- About box and its fades ----

void TextLogTest::aboutBoxPlaysThenCloses() {
  TfAbout about;
  for (TVorqFade* f : {about.hf1, about.hf2, about.VorqFade1, about.VorqFade2}) f->SetMsecPerFrame(0);
  about.hf2->SetSwapDelay(0);
  QSignalSpy info(&about, &TfAbout::InfoShown);
  QElapsedTimer clock;
  clock.start();
  about.show();
  QTRY_VERIFY_WITH_TIMEOUT(info.count() == 1, 8000);
  QVERIFY(clock.elapsed() >= 2350);  // the pauses of 1.5 s and 1 s after the two pictures (timers may run 5 % early)
  QVERIFY(!about.hf1->isVisible() && !about.hf2->isVisible() && about.pnlInfo->isVisible() &&
          about.VorqFade1->isVisible());

  // The button lights up under the mouse and goes back when it leaves.
  TVorqFade* ok = about.VorqFade1;
  QSignalSpy ends(ok, &TVorqFade::OnEnd);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(ok, &enter);
  QTRY_COMPARE(ends.count(), 1);
  QCOMPARE(ok->FromBitmap().GetPixel(20, 2), ok->ToBitmap().GetPixel(20, 2));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(ok, &leave);
  QTRY_VERIFY(!ok->Running());
  QCOMPARE(ends.count(), 1);  // the way back ends without a notice of its own
  QVERIFY(!(ok->FromBitmap().GetPixel(20, 2) == ok->ToBitmap().GetPixel(20, 2)));

  QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(10, 10));
  QVERIFY(!about.isVisible() && about.pnlInfo->isHidden() && about.VorqFade1->isHidden());

  // Not stretched, the control takes the size of its only picture, or of the from picture; the rest is stretched
  // or filled with the side's colour.
  TVorqFade fade;
  QImage small(6, 4, QImage::Format_RGB32), large(9, 7, QImage::Format_RGB32);
  small.fill(QColor(10, 20, 30));
  large.fill(QColor(40, 50, 60));
  fade.SetStretchToFit(false);
  fade.SetPicTo(small);
  QCOMPARE(fade.size(), QSize(6, 4));
  QVERIFY(fade.FromBitmap().GetPixel(3, 5) == MakePixel(0, 0, 0) &&
          fade.ToBitmap().GetPixel(3, 5) == MakePixel(10, 20, 30));
  fade.SetPicTo(QImage());
  fade.SetPicFrom(small);
  QVERIFY(fade.FromBitmap().GetPixel(3, 5) == MakePixel(10, 20, 30) &&
          fade.ToBitmap().GetPixel(3, 5) == MakePixel(255, 255, 255));
  fade.SetPicTo(large);
  QVERIFY(fade.size() == QSize(6, 4) && fade.ToBitmap().GetPixel(3, 5) == MakePixel(40, 50, 60));
  fade.SetPicFrom(large);
  QCOMPARE(fade.size(), QSize(9, 7));
}

}  // namespace vorq::gui::test
