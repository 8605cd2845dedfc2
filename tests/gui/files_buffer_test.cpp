// File ▸ Open and Save As, the Buffer menu with its thumbnail, and Edit ▸ Paste with the real clipboard:
// pictures with alpha over white, Paste Transparent's dialog, the movable selection.
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

#include "gui/mainwin/paste_selection.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

// Hands the next file dialog this answer (empty: Cancel).
void ChooseNext(Fixture& f, const QString& path) {
  f.window->setFileChooser([path](bool) { return path; });
}

bool SurfaceShows(const TFastDIB& s, const QImage& image) {
  if (s.Width() != image.width() || s.Height() != image.height()) return false;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      if (At(s, x, y) != (image.pixel(x, y) | 0xFF000000)) return false;
    }
  return true;
}

QToolButton* Button(Fixture& f, const char* name) {
  return f.window->findChild<QToolBar*>("ToolBar1")->findChild<QToolButton*>(name);
}

void DoubleClick(QWidget* w) {
  const QPointF centre(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent event(QEvent::MouseButtonDblClick, centre, w->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

QColor Swatch(QWidget* dialog) { return Child<QFrame>(dialog, "Shape1")->palette().color(QPalette::Window); }

QRgb Before(const std::vector<uint8_t>& bytes, const TFastDIB& s, int x, int y) {
  const std::size_t i = std::size_t(y) * s.BytesPerRow + std::size_t(x) * 3;
  return qRgb(bytes[i + 2], bytes[i + 1], bytes[i]);
}

}  // namespace

void FilesBufferTest::openShowsTheFileAndKeepsTheImageOnFailure() {
  QTemporaryDir dir;
  const QImage picture = Picture(30, 20);
  QVERIFY(picture.save(dir.filePath("tile.png"), "PNG"));
  QFile junk(dir.filePath("junk.jpg"));
  QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture at all") > 0);
  junk.close();

  Fixture f;
  ChooseNext(f, dir.filePath("tile.png"));
  f.window->findChild<QToolButton*>("bOpen")->click();
  QVERIFY(SurfaceShows(f.editor().WorkSurface, picture));
  QCOMPARE(f.window->defaultDirectory(), QDir(dir.path()).absolutePath());

  // A file nobody can read: a message naming it; the picture and the title stay.
  const std::vector<uint8_t> before = f.Pixels();
  ChooseNext(f, dir.filePath("junk.jpg"));
  f.window->action("Open1")->trigger();
  QVERIFY2(f.messages.size() == 1 && f.messages[0].contains("junk.jpg"), qPrintable(f.messages.join("; ")));
  QCOMPARE(f.Pixels(), before);
  QCOMPARE(f.window->windowTitle(), QString("tile.png[*] - VorqTile"));
}

void FilesBufferTest::saveAsPicksTheFormatByExtension() {
  QTemporaryDir dir;
  Fixture f;
  const QImage picture = Picture(24, 16);
  QVERIFY(picture.save(dir.filePath("source.png")));
  ChooseNext(f, dir.filePath("source.png"));
  f.window->action("Open1")->trigger();

  // The typed extension picks the format; without one (a folder's does not count), a JPEG.
  QVERIFY(QDir(dir.path()).mkdir("tiles.gif"));
  for (auto [typed, written, format] :
       {std::tuple{"out.bmp", "out.bmp", "bmp"}, {"tiles.gif/inside", "tiles.gif/inside.jpg", "jpeg"}}) {
    ChooseNext(f, dir.filePath(typed));
    QVERIFY2(f.window->SaveAs1Click(), typed);
    QImageReader reader(dir.filePath(written));
    QCOMPARE(reader.format(), QByteArray(format));
    QCOMPARE(reader.read().size(), picture.size());
  }
  QVERIFY(SurfaceShows(f.editor().WorkSurface, QImage(dir.filePath("out.bmp"))));
  QVERIFY(f.messages.isEmpty());

  // The next dialog starts where this one ended; Cancel writes nothing and keeps the folder.
  ChooseNext(f, "");
  QVERIFY(!f.window->SaveAs1Click());
  QCOMPARE(f.window->defaultDirectory(), QDir(dir.filePath("tiles.gif")).absolutePath());
}

void FilesBufferTest::bufferLoadsCopiesAndPastes() {
  QTemporaryDir dir;
  QImage red(40, 20, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  QVERIFY(red.save(dir.filePath("red.png")));
  QFile junk(dir.filePath("junk.bmp"));
  QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("BMnonsense") > 0);
  junk.close();

  Fixture f;
  const QString folder = f.window->defaultDirectory();
  QVERIFY(!Button(f, "bPasteBuf")->isEnabled());

  f.PaintPattern();
  const std::vector<uint8_t> before = f.Pixels();

  ChooseNext(f, dir.filePath("junk.bmp"));
  f.window->action("LoadBufferfromFile1")->trigger();
  QVERIFY(f.messages.size() == 1 && !f.window->action("PasteBuffertoImage1")->isEnabled());

  ChooseNext(f, dir.filePath("red.png"));
  f.window->action("LoadBufferfromFile1")->trigger();
  QVERIFY(SurfaceShows(f.editor().BufferSurface, red) && Button(f, "bPasteBuf")->isEnabled());
  // The 40 x 20 picture stretched over the whole 65 x 65 thumbnail.
  const QImage thumb = f.window->bufferThumb()->pixmap().toImage();
  QVERIFY(thumb.size() == QSize(65, 65) && thumb.pixel(64, 64) == qRgb(255, 0, 0));
  // Loading the buffer takes no snapshot and leaves the folder alone.
  QVERIFY(f.editor().Undo.Empty() && f.Pixels() == before);
  QCOMPARE(f.window->defaultDirectory(), folder);
  // Map Texture starts from the buffer in grey; Cancel leaves image and undo ring alone.
  WhenModal([](QWidget* d) {
    const QImage shown = Child<QLabel>(d, "imTexture")->pixmap().toImage();
    QVERIFY(shown.size() == QSize(105, 105) && shown.pixel(104, 104) == qRgb(76, 76, 76));
    d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  f.window->action("MapTexture1")->trigger();
  QVERIFY(f.editor().Undo.Empty() && f.Pixels() == before);

  f.StartLog();
  Button(f, "bCopyBuf")->click();

  // A smaller, different image; pasting brings back the buffer's size and pixels.
  f.editor().WorkSurface.SetSize(100, 50, 24, 0);
  f.editor().RefreshImage();
  DoubleClick(f.window->bufferThumb());
  QCOMPARE(f.Pixels(), before);
  Button(f, "bUndo")->click();
  QCOMPARE(f.editor().WorkSurface.Height(), 50);
  Button(f, "bPasteBuf")->click();
  QCOMPARE(f.Pixels(), before);

  QCOMPARE(f.LoggedLines(),
           QStringList({"Copy Image to Buffer", "Paste Buffer to Image", "UnDo", "Paste Buffer to Image"}));
  QCOMPARE(f.messages.size(), 1);  // the unreadable file's alone
}

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
  QVERIFY(!dialogShown && f.Pixels() == before && f.editor().Undo.Empty());
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
  QCOMPARE(QList<QRgb>({At(w, 0, 0), At(w, 1, 0)}), QList<QRgb>({qRgb(10, 20, 30), qRgb(255, 255, 255)}));
  const QRgb half = At(w, 2, 2);  // 50 % red over white
  QVERIFY(qRed(half) == 255 && qAbs(qGreen(half) - 127) <= 1 && qGreen(half) == qBlue(half));

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
  QVERIFY(f.Pixels() == before && f.editor().Undo.Empty());
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
