// The text tool from the dialog to the image and the batch tool, the log
// viewer and editor, the fade control and the About box.

#include <QAction>
#include <QFontMetrics>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "core/imageio/image_file.h"
#include "editor/replay.h"
#include "editor/scripted_ui.h"
#include "gui/dialogs/tf_about.h"
#include "gui/dialogs/tf_log.h"
#include "gui/dialogs/tf_text.h"
#include "gui/mainwin/floating_text.h"
#include "gui/mainwin/image_view.h"
#include "gui/text/text_render.h"
#include "gui/toolbox/tf_toolbox.h"
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

// Runs of rows holding ink (anything not white), and each run's rightmost inked column.
struct InkLine {
  int Top, Bottom, Right;
};
std::vector<InkLine> InkLines(const TFastDIB& s) {
  std::vector<InkLine> lines;
  bool inside = false;
  for (int y = 0; y < s.Height(); ++y) {
    int right = -1;
    for (int x = 0; x < s.Width(); ++x)
      if (!(s.GetPixel(y, x) == MakePixel(255, 255, 255))) right = x;
    if (right >= 0 && !inside) lines.push_back({y, y, right});
    if (right >= 0) {
      lines.back().Bottom = y;
      lines.back().Right = std::max(lines.back().Right, right);
    }
    inside = right >= 0;
  }
  return lines;
}

std::vector<uint8_t> Bytes(const TFastDIB& s) { return std::vector<uint8_t>(s.Bits, s.Bits + s.ImageSize()); }

TextToolLine Sans(const std::string& text, TextAlign align, int size = 24) {
  TextToolLine l;
  l.Font = "Liberation Sans";
  l.Size = size;
  l.Text = text;
  l.X = 10;
  l.Y = 5;
  l.Align = align;
  return l;
}

}  // namespace

// ---- text tool ----

void TextToolTest::rightAlignedLinesEndTogether() {
  QVERIFY2(!InstalledFamily("liberation sans").isEmpty(), "the tests need Liberation Sans (fonts-liberation2)");
  std::string message;

  // The same last letter: the ink ends in the very same column, at the box's right edge.
  TextToolLine l = Sans("B\nBBBB", TextAlign::Right);
  TFastDIB s = White(260, 90);
  QVERIFY(DrawTextToolLine(s, l, message));
  QVERIFY(message.empty());
  std::vector<InkLine> ink = InkLines(s);
  QCOMPARE(int(ink.size()), 2);
  QCOMPARE(ink[0].Right, ink[1].Right);
  const QFontMetrics fm(TextFont(l));
  const int boxRight = l.X + TextBoxSize(l).width();
  QVERIFY(std::abs(ink[1].Right + 1 + fm.rightBearing('B') - boxRight) <= 1);

  // A and BBBB: the lines end together once each letter's own margin is counted.
  l.Text = "A\nBBBB";
  s = White(260, 90);
  QVERIFY(DrawTextToolLine(s, l, message));
  ink = InkLines(s);
  QCOMPARE(int(ink.size()), 2);
  QVERIFY2(std::abs((ink[0].Right + fm.rightBearing('A')) - (ink[1].Right + fm.rightBearing('B'))) <= 1,
           qPrintable(QString("A ends at %1, BBBB at %2").arg(ink[0].Right).arg(ink[1].Right)));

  // Left-aligned, the short line ends well before the long one.
  l.Align = TextAlign::Left;
  s = White(260, 90);
  QVERIFY(DrawTextToolLine(s, l, message));
  ink = InkLines(s);
  QVERIFY(ink[0].Right < ink[1].Right - 20);

  // Only the font colour is drawn: no blended edge pixels.
  l.Color = 0x0000C0;
  s = White(260, 90);
  QVERIFY(DrawTextToolLine(s, l, message));
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const TPixel24 p = s.GetPixel(y, x);
      QVERIFY(p == MakePixel(255, 255, 255) || p == MakePixel(0xC0, 0, 0));
    }

  // Far outside the image, or at the ends of the integers, nothing is touched.
  for (auto [x, y] : {std::pair{-2147483647 - 1, 0}, {2147483647, 2147483647}, {0, -100000}, {260, 0}}) {
    l.X = x;
    l.Y = y;
    TFastDIB t = White(260, 90);
    QVERIFY(DrawTextToolLine(t, l, message));
    QVERIFY(InkLines(t).empty());
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

void TextToolTest::dialogFieldsFollowTheRules() {
  Fixture f;
  TfText* d = f.window->textDialog();
  auto* name = Child<QLineEdit>(d, "eFontName");
  auto* fonts = Child<QListWidget>(d, "lbFonts");
  auto* size = Child<QLineEdit>(d, "eSize");
  auto* sizes = Child<QListWidget>(d, "lbSize");
  auto* memo = Child<QPlainTextEdit>(d, "Memo1");
  TTextPanel* sample = d->Sample();

  // At first: the default face, size 8, Regular, and the default text in memo and sample.
  QCOMPARE(name->text(), DefaultTextFamily());
  QCOMPARE(size->text(), QString("8"));
  QCOMPARE(sizes->currentItem()->text(), QString("8"));
  QCOMPARE(Child<QLineEdit>(d, "eStyle")->text(), QString("Regular"));
  QCOMPARE(memo->toPlainText(), QString("Your Text Here"));
  QCOMPARE(sample->Text(), QString("Your Text Here"));
  QCOMPARE(sizes->count(), TfText::kSizeCount);
  QCOMPARE(sizes->item(TfText::kSizeCount - 1)->text(), QString("220"));
  QVERIFY(Child<QRadioButton>(d, "rbLeft")->isChecked());

  // Typing a name jumps the list to the first match, whatever the case; the sample waits.
  const QFont before = sample->TextFont();
  Type(name, "liberation s");
  QVERIFY(fonts->currentItem()->text().startsWith("Liberation S"));
  QCOMPARE(sample->TextFont(), before);
  // A click takes the entry into the field and the sample.
  QListWidgetItem* serif = fonts->findItems("Liberation Serif", Qt::MatchExactly).value(0);
  QVERIFY(serif);
  fonts->setCurrentItem(serif);
  emit fonts->itemClicked(serif);
  QCOMPARE(name->text(), QString("Liberation Serif"));
  QCOMPARE(d->Chosen().Font, std::string("Liberation Serif"));

  // Size 13 is not listed: the list shows its first entry, the sample uses 13.
  Type(size, "13");
  QCOMPARE(sizes->currentRow(), 0);
  QCOMPARE(d->Chosen().Size, 13);
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
  QCOMPARE(d->Chosen().Style, TextStyle::BoldItalic);
  QVERIFY(sample->TextFont().bold() && sample->TextFont().italic());

  // Colour from the picker; the memo drives the sample, an empty one shows the program's name.
  d->ColorButton()->SetMoreColors([](uint32_t& c) {
    c = 0x00336699;
    return true;
  });
  d->ColorButton()->Menu()->findChild<QAction*>("MoreColors")->trigger();
  QCOMPARE(d->Chosen().Color, 0x00336699u);
  QCOMPARE(sample->FontColor(), QColor(0x99, 0x66, 0x33));
  memo->setPlainText("");
  QCOMPARE(sample->Text(), QString("Vorq'sWeft 99"));
  QCOMPARE(d->Chosen().Text, std::string());
  memo->setPlainText("one\ntwo");
  QCOMPARE(d->Chosen().Text, std::string("one\ntwo"));

  // Alignment: the memo itself follows.
  Child<QRadioButton>(d, "rbCenter")->click();
  QCOMPARE(d->Chosen().Align, TextAlign::Center);
  QCOMPARE(memo->document()->defaultTextOption().alignment(), Qt::AlignHCenter);
}

void TextToolTest::placedTextIsWhatTheBatchToolDraws() {
  Fixture f;
  f.window->resize(1000, 800);  // the whole image in view, whatever the fonts of the desktop
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  f.PaintPattern();
  QTemporaryDir dir;
  f.editor().LogPath = QFile::encodeName(dir.filePath("VorqLog.txt")).toStdString();
  f.window->action("LogthisSession1")->trigger();
  TFastDIB start;
  CopySurface(f.editor().WorkSurface, start);
  std::string error;
  QVERIFY(SaveImageFile(QFile::encodeName(dir.filePath("start.bmp")).toStdString(), start, SaveOptions{}, error));

  ImageView* view = f.window->imageView();
  QTest::mouseClick(Child<QToolButton>(f.window->toolBox(), "bText"), Qt::LeftButton);
  QCOMPARE(view->Painting().State.Tool, PaintTool::Text);

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
    d->ColorButton()->SetMoreColors([](uint32_t& c) {
      c = 0x0000C0;
      return true;
    });
    d->ColorButton()->Menu()->findChild<QAction*>("MoreColors")->trigger();
    Child<QPlainTextEdit>(d, "Memo1")->setPlainText("Tile\nSeamless");
    Child<QRadioButton>(d, "rbRight")->click();
    Child<QPushButton>(d, "BitBtn1")->click();
  });
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, 30));
  FloatingText* floating = f.window->floatingText();
  QTRY_VERIFY(floating->Placing());
  QCOMPARE(floating->pos(), QPoint(20, 30));
  QCOMPARE(Bytes(f.editor().WorkSurface), Bytes(start));  // nothing drawn yet
  QCOMPARE(f.editor().Undo.Count(), 1);                    // the press's snapshot

  // The floating text follows the mouse: centred on it.
  const QPoint centre(floating->width() / 2, floating->height() / 2);
  QTest::mouseMove(floating, centre + QPoint(7, 3));
  QTRY_COMPARE(floating->pos(), QPoint(27, 33));
  QCOMPARE(f.window->statusPanel(kPanelX)->text(), QString("X: 27"));
  const QImage picture = floating->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  QTest::mouseClick(floating, Qt::LeftButton, {}, centre);
  QVERIFY(!floating->Placing() && !floating->isVisible());

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
  f.window->action("CloseLog1")->trigger();
  QCOMPARE(LogLines(dir.filePath("VorqLog.txt")), QStringList{expected});

  // Replayed in this process and by the batch tool: the same pixels.
  ScriptedUi ui;
  Editor replay(ui);
  CopySurface(start, replay.WorkSurface);
  QCOMPARE(ReplayLine(replay, expected.toStdString()).Status, ReplayStatus::Done);
  QCOMPARE(Bytes(replay.WorkSurface), Bytes(work));

  QProcess cli;
  cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  cli.start(VORQ_CLI, {"--input", dir.filePath("start.bmp"), "--output", dir.filePath("out.bmp"), expected});
  QVERIFY(cli.waitForFinished(30000));
  QCOMPARE(cli.exitCode(), 0);
  TFastDIB out;
  QVERIFY(LoadImageFile(QFile::encodeName(dir.filePath("out.bmp")).toStdString(), out, error));
  QCOMPARE(Bytes(out), Bytes(work));

  // An unknown font: the default face, and a warning that names the line.
  QProcess warn;
  const QString unknown = QString(expected).replace("Liberation Sans", "No Such Face");
  warn.start(VORQ_CLI, {"--input", dir.filePath("start.bmp"), "--output", dir.filePath("out2.bmp"), unknown});
  QVERIFY(warn.waitForFinished(30000));
  QCOMPARE(warn.exitCode(), 0);
  const QString said = QString::fromUtf8(warn.readAllStandardError());
  QVERIFY2(said.contains("warning: argument line 1") && said.contains("\"No Such Face\" is not installed") &&
               said.contains(unknown),
           qPrintable(said));

  // Undo takes the text away again.
  f.window->bUndoClick();
  QCOMPARE(Bytes(f.editor().WorkSurface), Bytes(start));

  // A white text floats as white glyphs alone.
  TextToolLine white = Sans("white", TextAlign::Left);
  white.Color = 0xFFFFFF;
  const QImage w = RenderFloatingText(white);
  int opaque = 0;
  for (int y = 0; y < w.height(); ++y)
    for (int x = 0; x < w.width(); ++x) {
      const QRgb p = w.pixel(x, y);
      if (qAlpha(p) == 0) continue;
      ++opaque;
      QCOMPARE(p, qRgb(255, 255, 255));
    }
  QVERIFY(opaque > 0 && opaque < w.width() * w.height() / 2);
}

// ---- log windows ----

void LogWindowsTest::viewerFollowsTheLogAndSavesUnderItsName() {
  Fixture f;
  f.window->show();
  QTemporaryDir dir;
  QDir(dir.path()).mkpath("logs");
  QDir(dir.path()).mkpath("txtlogs");
  f.editor().LogPath = QFile::encodeName(dir.filePath("VorqLog.txt")).toStdString();
  TfLog* viewer = f.window->logViewer();

  f.window->action("ViewLog1")->trigger();
  QCOMPARE(f.messages, QStringList{"Log File Not Found in Current Directory"});
  QVERIFY(!viewer->isVisible());

  f.window->action("LogthisSession1")->trigger();
  f.window->CopyImagetoBuffer1Click();
  f.window->action("ViewLog1")->trigger();
  QVERIFY(viewer->isVisible() && !viewer->isModal());
  QVERIFY(!f.window->toolBox()->isVisible());
  QCOMPARE(viewer->Lines().size(), 2);
  QCOMPARE(viewer->Lines().last(), QString("Copy Image to Buffer"));
  // Logging goes on, and the viewer shows each new line.
  f.window->PasteBuffertoImage1Click();
  QTRY_COMPARE(viewer->Lines().size(), 3);
  QVERIFY(f.editor().Log.Logging());

  // Save As with "Save Image with Log File Name": the image save dialog is offered the log's name.
  QString textPath = dir.filePath("logs/day1.txt");
  viewer->setFileChooser([&](const QString&) { return textPath; });
  QString offered = "(not asked)";
  f.window->setFileChooser([&](bool forSave) {
    if (forSave) offered = f.window->savePreset();
    return QString();
  });
  f.window->action("SaveImagewithLogFileName1")->setChecked(true);
  viewer->bSaveAsClick();
  QCOMPARE(offered, QString("day1.jpg"));
  QCOMPARE(f.window->defaultDirectory(), dir.filePath("logs"));
  QFile saved(textPath);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(QString::fromUtf8(saved.readAll()), viewer->Lines().join("\r\n") + "\r\n");

  textPath = dir.filePath("txtlogs/day1.txt");
  viewer->bSaveAsClick();
  QCOMPARE(offered, QString("day1.txt"));
  f.window->action("SaveImagewithLogFileName1")->setChecked(false);
  offered = "(not asked)";
  viewer->bSaveAsClick();
  QCOMPARE(offered, QString("(not asked)"));

  // Print: every line on a page; an empty text prints nothing and says nothing.
  int printed = 0;
  viewer->setPrinterChooser([&](QPrinter& p) {
    ++printed;
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(dir.filePath("log.pdf"));
    return true;
  });
  viewer->bPrintClick();
  QCOMPARE(printed, 1);
  QVERIFY(QFileInfo(dir.filePath("log.pdf")).size() > 500);

  viewer->Memo()->clear();
  f.messages.clear();
  textPath = "(should not be asked)";
  viewer->setFileChooser([&](const QString&) {
    textPath = "asked";
    return QString();
  });
  viewer->bSaveAsClick();
  QCOMPARE(f.messages, QStringList{"Nothing to Save!"});
  QCOMPARE(textPath, QString("(should not be asked)"));
  viewer->bPrintClick();
  QCOMPARE(printed, 1);

  viewer->close();
  QVERIFY(f.window->toolBox()->isVisible());
}

void LogWindowsTest::editorAsksBeforeLosingChanges() {
  Fixture f;
  f.window->show();
  QTemporaryDir dir;
  const QString logPath = dir.filePath("VorqLog.txt");
  f.editor().LogPath = QFile::encodeName(logPath).toStdString();
  auto readLog = [&] {
    QFile file(logPath);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
  };
  f.window->action("EditLog1")->trigger();
  QCOMPARE(f.messages, QStringList{"Log File Not Found in Current Directory"});
  f.window->action("LogthisSession1")->trigger();
  f.window->CopyImagetoBuffer1Click();
  const QString original = readLog();

  // While logging: No leaves logging on and opens nothing.
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
    QVERIFY(!editor->Modified());
    QCOMPARE(editor->Lines().size(), 2);
    QVERIFY(!f.window->toolBox()->isVisible());
    editor->Memo()->appendPlainText("Blur");
    QVERIFY(editor->Modified());
    editor->reject();  // Escape or the close box: the question, answered No
    stayedOpen = editor->isVisible();
    editor->bOKClick();
  });
  f.window->action("EditLog1")->trigger();
  QVERIFY(stayedOpen);
  QCOMPARE(questions, QStringList({"This will Close the Log. OK?", "Changes not saved.  Do you still wish to exit?"}));
  QVERIFY(!f.editor().Log.Logging());
  QCOMPARE(readLog(), original + "Blur\r\n");
  QVERIFY(f.window->toolBox()->isVisible());

  // Cancel drops the edits without a question; Save As on an empty text says so.
  questions.clear();
  WhenModal([&](QWidget*) {
    editor->Memo()->clear();
    f.messages.clear();
    editor->bSaveAsClick();
    QCOMPARE(f.messages, QStringList{"Nothing to Save!"});
    editor->Memo()->setPlainText("something else");
    Child<QPushButton>(editor, "bCancel")->click();
  });
  f.window->action("EditLog1")->trigger();
  QVERIFY(questions.isEmpty());
  QCOMPARE(readLog(), original + "Blur\r\n");
}

// ---- fade control and About box ----

void FadeAboutTest::fadeRunsItsTransitionsInTurn() {
  TVorqFade fade;
  fade.resize(13, 7);  // odd width: row filler bytes
  fade.show();
  fade.SetMsecPerFrame(0);
  QSignalSpy ends(&fade, &TVorqFade::OnEnd), begins(&fade, &TVorqFade::OnBegin);
  const TFastDIB& shown = fade.FromBitmap();
  auto all = [&](uint8_t v) {
    for (int y = 0; y < shown.Height(); ++y)
      for (int i = 0; i < 3 * shown.Width(); ++i)
        if (shown.Row(y)[i] != v) return false;
    return shown.Width() == 13 && shown.Height() == 7;
  };
  QVERIFY(all(0));  // black from, white to

  fade.Blend();
  QVERIFY(fade.Running());
  QTRY_COMPARE(ends.count(), 1);
  QCOMPARE(begins.count(), 1);
  QVERIFY(all(255));
  // Back: a reverse blend and a dissolve end on the first picture, without OnEnd of their own.
  fade.ReverseBlend();
  QTRY_VERIFY(!fade.Running());
  QVERIFY(all(0));
  fade.SetDisolvRate(1000000);  // one pixel per frame at most
  QCOMPARE(fade.DisolvRate(), 13 * 7);
  fade.Blend();
  fade.Dissolve();  // waits for the blend
  QTRY_VERIFY(!fade.Running());
  QVERIFY(all(0));
  QCOMPARE(ends.count(), 2);

  // AutoReverse: after the pause, back again; OnEnd once, at the very end.
  fade.SetAutoReverse(true);
  fade.SetSwapDelay(0);
  fade.SetSwapOnReverse(false);
  fade.Blend();
  QTRY_COMPARE(ends.count(), 3);
  QVERIFY(all(0));
  QCOMPARE(fade.ColorFrom(), 0u);
  QCOMPARE(fade.ColorTo(), 0xFFFFFFu);

  QCOMPARE((fade.SetBlendRate(0), fade.BlendRate()), 1);
  QCOMPARE((fade.SetBlendRate(100000), fade.BlendRate()), 256);

  // Without stretching, a lone target picture gives the control its size.
  TVorqFade sized;
  sized.SetStretchToFit(false);
  QImage picture(10, 6, QImage::Format_RGB32);
  picture.fill(Qt::red);
  sized.SetPicTo(picture);
  QCOMPARE(sized.size(), QSize(10, 6));
  QCOMPARE(sized.ToBitmap().GetPixel(5, 9), MakePixel(255, 0, 0));
}

void FadeAboutTest::aboutBoxPlaysThenCloses() {
  TfAbout about;
  for (TVorqFade* f : {about.hf1, about.hf2, about.VorqFade1, about.VorqFade2}) f->SetMsecPerFrame(0);
  about.hf2->SetSwapDelay(0);
  QCOMPARE(about.hf1->size(), QSize(256, 180));
  QCOMPARE(about.VorqFade1->size(), QSize(85, 40));
  QCOMPARE(about.VorqFade2->size(), QSize(114, 41));
  QCOMPARE(Child<QLabel>(&about, "lblVersion")->text(), QString("Version " VORQ_VERSION));

  QSignalSpy info(&about, &TfAbout::InfoShown);
  about.show();
  QTRY_VERIFY(about.hf1->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(info.count() == 1, 8000);
  QVERIFY(!about.hf1->isVisible() && !about.hf2->isVisible());
  QVERIFY(about.pnlInfo->isVisible() && about.VorqFade1->isVisible());

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
  QVERIFY(!(ok->FromBitmap().GetPixel(20, 2) == ok->ToBitmap().GetPixel(20, 2)));

  QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(10, 10));
  QVERIFY(!about.isVisible());
  QVERIFY(!about.pnlInfo->isVisible());
}

}  // namespace vorq::gui::test
